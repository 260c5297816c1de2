#include "components/TreeRows.h"

#include <QTreeWidget>

int TreeRows::Selected(const QTreeWidget* list)
{
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    return selected.size() == 1 ? list->indexOfTopLevelItem(selected.first()) : -1;
}

bool TreeRows::RemoveSelected(QTreeWidget* list)
{
    const int row = Selected(list);
    if (row < 0)
        return false;
    delete list->takeTopLevelItem(row);
    return true;
}

bool TreeRows::MoveSelected(QTreeWidget* list, int step)
{
    const int row = Selected(list);
    const int target = row + step;
    if (row < 0 || target < 0 || target >= list->topLevelItemCount())
        return false;
    // One repaint for the take and the insert.
    list->setUpdatesEnabled(false);
    QTreeWidgetItem* item = list->takeTopLevelItem(row);
    list->insertTopLevelItem(target, item);
    list->clearSelection();
    list->setCurrentItem(item);
    item->setSelected(true);
    list->setUpdatesEnabled(true);
    return true;
}

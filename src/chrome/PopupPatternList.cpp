#include "chrome/PopupPatternList.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

PopupPatternList::PopupPatternList(const QString& newItemText, QWidget* parent)
    : QWidget(parent), m_newItemText(newItemText)
{
    lvPopupVostel = new QTreeWidget(this);
    lvPopupVostel->setObjectName(QStringLiteral("lvPopupVostel"));
    lvPopupVostel->setRootIsDecorated(false);
    lvPopupVostel->setHeaderLabels({QStringLiteral("__PopupVostelColumn")});
    lvPopupVostel->header()->setSectionsClickable(false);
    lvPopupVostel->setSortingEnabled(true);
    lvPopupVostel->sortByColumn(0, Qt::AscendingOrder);
    lvPopupVostel->setSelectionMode(QAbstractItemView::SingleSelection);
    // Editing starts only by the commands below, never by a stray click.
    lvPopupVostel->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvPopupVostel->installEventFilter(this);
    connect(lvPopupVostel->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [this] { m_editing = false; });

    btnInsert = new QPushButton(QStringLiteral("~~Insert"), this);
    btnInsert->setObjectName(QStringLiteral("btnInsert"));
    btnEdit = new QPushButton(QStringLiteral("~~Update"), this);
    btnEdit->setObjectName(QStringLiteral("btnEdit"));
    btnDelete = new QPushButton(QStringLiteral("~~Delete"), this);
    btnDelete->setObjectName(QStringLiteral("btnDelete"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnInsert);
    buttons->addWidget(btnEdit);
    buttons->addWidget(btnDelete);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lvPopupVostel);
    layout->addLayout(buttons);

    connect(btnInsert, &QPushButton::clicked, this, &PopupPatternList::btnInsertClick);
    connect(btnEdit, &QPushButton::clicked, this, &PopupPatternList::btnEditClick);
    connect(btnDelete, &QPushButton::clicked, this, &PopupPatternList::btnDeleteClick);
    connect(lvPopupVostel, &QTreeWidget::itemDoubleClicked, this, &PopupPatternList::btnEditClick);
    connect(lvPopupVostel, &QTreeWidget::currentItemChanged, this, &PopupPatternList::ShowCommands);
    ShowCommands();
}

void PopupPatternList::SetPatterns(const QStringList& patterns)
{
    lvPopupVostel->clear();
    for (const QString& pattern : patterns)
        AddItem(pattern);
    ShowCommands();
}

QStringList PopupPatternList::Patterns() const
{
    QStringList patterns;
    for (int i = 0; i < lvPopupVostel->topLevelItemCount(); ++i)
        patterns << lvPopupVostel->topLevelItem(i)->text(0);
    return patterns;
}

QTreeWidgetItem* PopupPatternList::AddItem(const QString& text)
{
    auto* item = new QTreeWidgetItem(lvPopupVostel, {text});
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    return item;
}

void PopupPatternList::btnInsertClick()
{
    QTreeWidgetItem* item = AddItem(m_newItemText);
    lvPopupVostel->setCurrentItem(item);
    EditItem(item);
}

void PopupPatternList::btnEditClick()
{
    if (QTreeWidgetItem* item = lvPopupVostel->currentItem())
        EditItem(item);
}

void PopupPatternList::EditItem(QTreeWidgetItem* item)
{
    if (m_editing)
        return;
    m_editing = true;
    lvPopupVostel->setFocus();
    lvPopupVostel->editItem(item);
}

void PopupPatternList::btnDeleteClick()
{
    delete lvPopupVostel->currentItem();
    ShowCommands();
}

bool PopupPatternList::eventFilter(QObject* watched, QEvent* event)
{
    // Keys the in-place editor leaves (its Enter, after committing) come up
    // here too; they must not start another edit.
    if (watched != lvPopupVostel || event->type() != QEvent::KeyPress || m_editing)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
        lvPopupVostel->currentItem())
    {
        btnEditClick();
        return true;
    }
    return false;
}

void PopupPatternList::ShowCommands()
{
    const bool selected = lvPopupVostel->currentItem() != nullptr;
    btnEdit->setEnabled(selected);
    btnDelete->setEnabled(selected);
}

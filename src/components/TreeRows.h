#pragma once

class QTreeWidget;

// The rows of a flat list shown in a tree widget, as the list editors (the
// group editor, the search-engine list) select, remove and move them.
class TreeRows
{
public:
    // The one selected row, or -1 when none or several are.
    static int Selected(const QTreeWidget* list);
    // Removes the selected row; false when there was none.
    static bool RemoveSelected(QTreeWidget* list);
    // Moves the selected row by step and keeps it selected and current;
    // false when there is no row or it would leave the list.
    static bool MoveSelected(QTreeWidget* list, int step);
};

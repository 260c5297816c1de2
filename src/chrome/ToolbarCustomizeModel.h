#pragma once

#include "chrome/ToolbarLayout.h"

#include <QList>

// The customize dialog's two lists as numbers (-1 a separator): the buttons
// the toolbar shows, in order, and those it keeps hidden. The available
// list always begins with a separator that can be added any number of
// times. Selections are row numbers, -1 for none.
class ToolbarCustomizeModel
{
public:
    explicit ToolbarCustomizeModel(const QList<ToolbarEntry>& entries);
    // entries and, hidden at the end, every button they leave out: a layout
    // file written by hand may lack some, which would otherwise be lost
    // until the default is restored.
    static QList<ToolbarEntry> WithEveryButton(QList<ToolbarEntry> entries);

    const QList<int>& Current() const { return m_current; }
    const QList<int>& Available() const { return m_available; }
    int CurrentSelection() const { return m_currentSelection; }
    int AvailableSelection() const { return m_availableSelection; }
    // A row outside the list selects nothing.
    void SelectCurrent(int row);
    void SelectAvailable(int row);

    bool CanAdd() const { return m_availableSelection >= 0; }
    bool CanRemove() const;
    bool CanMoveUp() const { return m_currentSelection > 0; }
    bool CanMoveDown() const;

    // Each does nothing and returns false when it cannot apply.
    // The selected available item goes after the selected current one (at
    // the end without a selection) and is selected there; it leaves the
    // available list unless it is the separator.
    bool Add();
    // The selected current item goes after the selected available one (at
    // the end without a selection) and is selected there; a separator just
    // disappears.
    bool Remove();
    bool MoveUp();
    bool MoveDown();

    // What OK makes of the toolbar: the current list shown, then the
    // available buttons hidden, without the leading separator.
    QList<ToolbarEntry> Result() const;

private:
    static int Valid(int row, const QList<int>& list) { return row < list.size() ? row : -1; }

    QList<int> m_current;
    QList<int> m_available;
    int m_currentSelection = -1;
    int m_availableSelection = -1;
};

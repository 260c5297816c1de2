#include "chrome/ToolbarCustomizeModel.h"

#include "chrome/ToolbarButtonTable.h"

namespace
{
constexpr int Separator = -1;
}

ToolbarCustomizeModel::ToolbarCustomizeModel(const QList<ToolbarEntry>& entries)
{
    m_available.append(Separator);
    for (const ToolbarEntry& entry : entries)
        (entry.shown ? m_current : m_available).append(entry.number);
}

QList<ToolbarEntry> ToolbarCustomizeModel::WithEveryButton(QList<ToolbarEntry> entries)
{
    QList<bool> present(ToolbarButtonTable::Count, false);
    for (const ToolbarEntry& entry : entries)
        if (ToolbarButtonTable::IsButtonNumber(entry.number))
            present[entry.number] = true;
    for (int number = 0; number < ToolbarButtonTable::Count; ++number)
        if (!present.at(number))
            entries.append({number, false});
    return entries;
}

void ToolbarCustomizeModel::SelectCurrent(int row)
{
    m_currentSelection = row >= 0 ? Valid(row, m_current) : -1;
}

void ToolbarCustomizeModel::SelectAvailable(int row)
{
    m_availableSelection = row >= 0 ? Valid(row, m_available) : -1;
}

bool ToolbarCustomizeModel::CanRemove() const
{
    return m_currentSelection >= 0;
}

bool ToolbarCustomizeModel::CanMoveDown() const
{
    return m_currentSelection >= 0 && m_currentSelection < m_current.size() - 1;
}

bool ToolbarCustomizeModel::Add()
{
    if (!CanAdd())
        return false;
    const int row = m_availableSelection;
    const int number = m_available.at(row);
    const int at = m_currentSelection >= 0 ? m_currentSelection + 1 : int(m_current.size());
    m_current.insert(at, number);
    m_currentSelection = at;
    if (number == Separator)
    {
        // The separator stays on offer; the selection still moves on.
        if (row + 1 < m_available.size())
            m_availableSelection = row + 1;
        return true;
    }
    m_available.removeAt(row);
    m_availableSelection = Valid(row, m_available);
    return true;
}

bool ToolbarCustomizeModel::Remove()
{
    if (!CanRemove())
        return false;
    const int row = m_currentSelection;
    const int number = m_current.at(row);
    if (number != Separator)
    {
        const int at =
            m_availableSelection >= 0 ? m_availableSelection + 1 : int(m_available.size());
        m_available.insert(at, number);
        m_availableSelection = at;
    }
    m_current.removeAt(row);
    m_currentSelection = Valid(row, m_current);
    return true;
}

bool ToolbarCustomizeModel::MoveUp()
{
    if (!CanMoveUp())
        return false;
    m_current.swapItemsAt(m_currentSelection, m_currentSelection - 1);
    --m_currentSelection;
    return true;
}

bool ToolbarCustomizeModel::MoveDown()
{
    if (!CanMoveDown())
        return false;
    m_current.swapItemsAt(m_currentSelection, m_currentSelection + 1);
    ++m_currentSelection;
    return true;
}

QList<ToolbarEntry> ToolbarCustomizeModel::Result() const
{
    QList<ToolbarEntry> entries;
    for (int number : m_current)
        entries.append({number, true});
    for (int i = 1; i < m_available.size(); ++i)
        entries.append({m_available.at(i), false});
    return entries;
}

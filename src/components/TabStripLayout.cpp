#include "components/TabStripLayout.h"

#include <algorithm>

QList<int> TabStripLayout::FitRow(const QList<int>& natural, int available, int minWidth,
                                  bool* scrolling)
{
    *scrolling = false;
    QList<int> widths = natural;
    const int n = int(widths.size());
    int total = 0;
    for (const int w : widths)
        total += w;
    if (total <= available)
        return widths;
    if (n * minWidth > available)
    {
        *scrolling = true;
        widths.fill(minWidth);
        return widths;
    }
    // Shrink the widest tabs first: find the largest cap that fits.
    QList<int> sorted = widths;
    std::sort(sorted.begin(), sorted.end());
    int remaining = available;
    int cap = sorted.last();
    for (int i = 0; i < n; ++i)
    {
        const int share = remaining / (n - i);
        if (sorted[i] > share)
        {
            cap = std::max(share, minWidth);
            break;
        }
        remaining -= sorted[i];
    }
    for (int& w : widths)
        w = std::min(w, cap);
    return widths;
}

int TabStripLayout::FirstShown(int firstShown, int current, int shown, int count, bool reveal)
{
    if (reveal && current >= 0)
    {
        if (current < firstShown)
            firstShown = current;
        else if (current >= firstShown + shown)
            firstShown = current - shown + 1;
    }
    return std::clamp(firstShown, 0, std::max(0, count - shown));
}

TabStripLayout::Rows TabStripLayout::WrapRows(const QList<int>& natural, int width)
{
    Rows rows;
    int row = 0;
    int x = 0;
    for (const int naturalWidth : natural)
    {
        const int w = std::min(naturalWidth, width);
        if (x > 0 && x + w > width)
        {
            ++row;
            x = 0;
        }
        rows.row << row;
        rows.x << x;
        rows.width << w;
        x += w;
    }
    rows.count = row + 1;
    return rows;
}

int TabStripLayout::DistanceFromPages(int row, int selectedRow, int rows)
{
    return (row - selectedRow + rows) % rows;
}

int TabStripLayout::IndexAfterMove(int index, int from, int to)
{
    if (index == from)
        return to;
    if (from < index && index <= to)
        return index - 1;
    if (to <= index && index < from)
        return index + 1;
    return index;
}

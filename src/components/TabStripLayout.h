#pragma once

#include <QList>

// Where the tabs of a strip go, from each tab's natural width alone: the
// arithmetic of the tab strip, apart from its widget.
class TabStripLayout
{
public:
    // One row in available pixels: every tab at its natural width when all
    // fit; else the widest shrink first, down to minWidth; else every tab
    // is minWidth wide and the row scrolls (scrolling set).
    static QList<int> FitRow(const QList<int>& natural, int available, int minWidth,
                             bool* scrolling);
    // The first tab shown of a scrolling row that shows `shown` tabs: kept
    // in range, and moved just enough to show current when reveal is set.
    static int FirstShown(int firstShown, int current, int shown, int count, bool reveal);

    // Several rows in width pixels: each tab's row and left edge, filled
    // left to right; a tab wider than a row gets the whole row.
    struct Rows
    {
        QList<int> row;
        QList<int> x;
        QList<int> width;
        int count = 1;
    };
    static Rows WrapRows(const QList<int>& natural, int width);
    // The row's place counted from the pages: the selected tab's row sits
    // next to them and the others follow in turn.
    static int DistanceFromPages(int row, int selectedRow, int rows);

    // Where an index ends up when the tab at from is moved to to.
    static int IndexAfterMove(int index, int from, int to);
};

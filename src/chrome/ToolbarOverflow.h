#pragma once

#include <QList>

// Which of a bar's shown places are cut off, and whether the chevron that
// offers them is needed. Places are given left to right by their right
// edge (left plus width) in the bar.
class ToolbarOverflow
{
public:
    struct Place
    {
        int right = 0;
        bool separator = false;
    };

    // The chevron is needed when the last button (separators do not count:
    // a cut-off separator hides nothing) ends beyond width.
    static bool ChevronNeeded(const QList<Place>& places, int width);
    // The width left for the places: all of width without the chevron, else
    // width less the chevron's.
    static int MainWidth(const QList<Place>& places, int width, int chevronWidth);
    // Indexes of the places that go into the chevron's menu: every button
    // ending beyond mainWidth, and a separator only where it stands between
    // two of them (never first, last or twice in a row).
    static QList<int> CutOff(const QList<Place>& places, int mainWidth);
};

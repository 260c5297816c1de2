#pragma once

#include <array>

// The five text sizes of the font menus and the page magnification each
// stands for. Level 0 is the smallest, 4 the largest; the menus list them
// from the largest down, so a menu's item index is 4 minus the level.
class ZoomLevels
{
public:
    static constexpr int Count = 5;
    static constexpr int Medium = 2;
    static constexpr std::array<double, Count> Factors = {0.7, 0.85, 1.0, 1.2, 1.45};

    // The factor of level; a level outside 0..4 gives the medium size.
    static double FactorOf(int level);
    // The level whose factor this is, or -1 for any other magnification
    // (the page was zoomed some other way, as with Ctrl and the wheel).
    static int LevelOf(double factor);
    // The menu item that carries the check mark for level; -1 for none.
    static int CheckedIndex(int level);
    // The level a menu item stands for; -1 for an index that is no item.
    static int LevelOfIndex(int index);
};

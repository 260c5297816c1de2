#include "core/window/ZoomLevels.h"

#include <cmath>

namespace
{
// The engine keeps its factor as a float-derived level: what it answers
// back is close to what it was given, not equal.
constexpr double Tolerance = 0.005;

bool validLevel(int level)
{
    return level >= 0 && level < ZoomLevels::Count;
}
} // namespace

double ZoomLevels::FactorOf(int level)
{
    return Factors[validLevel(level) ? level : Medium];
}

int ZoomLevels::LevelOf(double factor)
{
    for (int level = 0; level < Count; ++level)
        if (std::abs(Factors[level] - factor) < Tolerance)
            return level;
    return -1;
}

int ZoomLevels::CheckedIndex(int level)
{
    return validLevel(level) ? Count - 1 - level : -1;
}

int ZoomLevels::LevelOfIndex(int index)
{
    return validLevel(index) ? Count - 1 - index : -1;
}

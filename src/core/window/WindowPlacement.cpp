#include "core/window/WindowPlacement.h"

namespace
{
// How much of the window must be on a screen for the user to grab it.
constexpr int MinimumVisible = 64;
} // namespace

QRect WindowPlacement::visibleRect(const QRect& stored, const QList<QRect>& screens)
{
    if (screens.isEmpty() || stored.isEmpty())
        return stored;
    for (const QRect& screen : screens)
    {
        const QRect shown = screen.intersected(stored);
        if (shown.width() >= MinimumVisible && shown.height() >= MinimumVisible)
            return stored;
    }
    const QRect& first = screens.first();
    QRect placed(first.topLeft() + QPoint(10, 10), stored.size());
    placed.setWidth(qMin(placed.width(), first.width() - 20));
    placed.setHeight(qMin(placed.height(), first.height() - 20));
    return placed;
}

#pragma once

#include <QList>
#include <QRect>

// Rules for the stored window position.
class WindowPlacement
{
public:
    // Values that became negative (a window dragged past the top or left
    // edge) are stored as 0.
    static int storedCoordinate(int value) { return value < 0 ? 0 : value; }

    // A stored rectangle that no longer shows on any screen (a monitor was
    // unplugged) is brought back onto the first screen, shrunk to fit, so
    // the window never starts out of reach.
    static QRect visibleRect(const QRect& stored, const QList<QRect>& screens);
};

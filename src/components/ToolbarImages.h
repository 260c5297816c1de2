#pragma once

#include <QIcon>
#include <QImage>

// The two looks of a bar's pictures. Grey: a button shows its picture
// without colour and in colour while the mouse is over it (an auto-raise
// tool button draws the Active mode then). Colour: always in colour.
class ToolbarImages
{
public:
    // The icon a bar's button shows for the colour picture colour.
    static QIcon ForBar(const QIcon& colour, bool showColor);
    // colour's grey form: Normal (and Selected) pictures without colour,
    // Active ones in colour, Disabled ones without colour and faded.
    static QIcon Grey(const QIcon& colour);
    // The image without colour, its transparency kept (times opacity).
    static QImage Desaturated(const QImage& image, qreal opacity = 1.0);
};

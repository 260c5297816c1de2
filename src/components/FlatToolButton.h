#pragma once

#include <QIcon>
#include <QString>

class QToolButton;
class QWidget;

// A flat tool button of a side-bar page or pane. hint is "short|long": the
// short form is the tool tip, the long one the status-bar text. A language
// placeholder ("__Key") is split the same way when the window is translated.
// The picture follows the bars' look: grey with colour under the mouse, or
// colour always.
QToolButton* FlatToolButton(QWidget* parent, const QString& name, const QIcon& icon,
                            const QString& hint);

// Gives every flat tool button under root, and every one made from now on,
// the grey or the colour look.
void ShowFlatButtonColours(QWidget* root, bool showColor);

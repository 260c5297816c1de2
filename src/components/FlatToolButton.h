#pragma once

#include <QIcon>
#include <QString>

class QToolButton;
class QWidget;

// A flat tool button of a side-bar page or pane. hint is "short|long": the
// short form is the tool tip, the long one the status-bar text. A language
// placeholder ("__Key") is split the same way when the window is translated.
QToolButton* FlatToolButton(QWidget* parent, const QString& name, const QIcon& icon,
                            const QString& hint);

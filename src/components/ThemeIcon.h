#pragma once

#include <QIcon>
#include <QString>
#include <QStyle>

// An icon of the desktop's theme by its freedesktop name, or the style's own
// picture where the theme has none (a bare window manager has no theme).
QIcon ThemeIcon(const QString& name, QStyle::StandardPixmap fallback);

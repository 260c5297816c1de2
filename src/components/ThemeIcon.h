#pragma once

#include <QIcon>
#include <QString>
#include <QStyle>

// An icon of the desktop's theme by its freedesktop name, or the style's own
// picture where the theme has none (a bare window manager has no theme).
QIcon ThemeIcon(const QString& name, QStyle::StandardPixmap fallback);

// Run once before the first window. Without a desktop (a bare window
// manager, Xvfb) Qt has no theme, or only "hicolor", which holds none of the
// program's pictures; Adwaita then stands in wherever the theme has none.
void SetUpIconTheme();

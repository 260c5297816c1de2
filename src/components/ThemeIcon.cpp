#include "components/ThemeIcon.h"

#include <QApplication>

QIcon ThemeIcon(const QString& name, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(name, QApplication::style()->standardIcon(fallback));
}

void SetUpIconTheme()
{
    // A fallback theme only fills the desktop theme's gaps, so the user's own
    // theme keeps every picture it has.
    const QString standIn = QStringLiteral("Adwaita");
    QIcon::setFallbackThemeName(standIn);
    // Some Qt versions do not consult the fallback for a theme named
    // "hicolor" or none at all: then the stand-in becomes the theme.
    if (!QIcon::hasThemeIcon(QStringLiteral("go-previous")))
        QIcon::setThemeName(standIn);
}

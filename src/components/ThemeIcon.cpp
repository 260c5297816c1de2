#include "components/ThemeIcon.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QIcon ThemeIcon(const QString& name, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(name, QApplication::style()->standardIcon(fallback));
}

void SetUpIconTheme()
{
    // Without a platform theme (the offscreen platform) Qt looks only in its
    // resources; the freedesktop folders are where themes are installed.
    QStringList searchPaths = QIcon::themeSearchPaths();
    for (const QString& folder :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
    {
        const QString icons = QDir(folder).filePath(QStringLiteral("icons"));
        if (!searchPaths.contains(icons) && QFileInfo(icons).isDir())
            searchPaths.append(icons);
    }
    QIcon::setThemeSearchPaths(searchPaths);
    // A fallback theme only fills the desktop theme's gaps, so the user's own
    // theme keeps every picture it has.
    const QString standIn = QStringLiteral("Adwaita");
    QIcon::setFallbackThemeName(standIn);
    // No theme, or only "hicolor", never reaches the fallback: then the
    // stand-in becomes the theme.
    if (!QIcon::hasThemeIcon(QStringLiteral("go-previous")))
        QIcon::setThemeName(standIn);
}

#include "groups/FavoritesFolders.h"

#include "core/store/ProgramPaths.h"

#include <QDir>
#include <QFileInfo>

QString FavoritesFolders::favoritesFolder(RegistryStore& /*store*/)
{
    const QString folder = ProgramPaths::programFolder() + QStringLiteral("/Favorites");
    QDir().mkpath(folder);
    return folder;
}

QString FavoritesFolders::linksFolder(RegistryStore& store)
{
    const QString folder = favoritesFolder(store) + QStringLiteral("/Links");
    return QFileInfo(folder).isDir() ? folder : QString();
}

#pragma once

#include <QString>

class RegistryStore;

// Where the user's Favorites and Links folders are. The store may move the
// Favorites folder elsewhere ("Favorites" under the user shell folders, then
// under the resolved shell folders); without a usable value it is the
// program folder's "Favorites", made when missing.
class FavoritesFolders
{
public:
    static constexpr const char* DefaultLinksName = "Links";

    // The Favorites folder, absolute, without a trailing slash.
    static QString favoritesFolder(RegistryStore& store);
    // The Links folder inside it, named by "LinksFolderName" (default
    // "Links"); empty when that folder does not exist.
    static QString linksFolder(RegistryStore& store);

    // Expands %NAME%, $NAME and ${NAME} from the environment and a leading
    // "~"; names that are not set are left as written.
    static QString expandEnvironment(const QString& text);
};

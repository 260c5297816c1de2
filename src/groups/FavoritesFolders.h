#pragma once

#include <QString>

class RegistryStore;

// Where the user's Favorites and their Links sub-folder are.
class FavoritesFolders
{
public:
    // The Favorites folder in the program folder, made when missing.
    static QString favoritesFolder(RegistryStore& store);
    // The Links sub-folder of the Favorites; empty when it does not exist.
    static QString linksFolder(RegistryStore& store);
};

#pragma once

#include <QString>

class QWidget;
class WindowServices;

// The Import and Export commands: the user picks the bookmark file, the
// transfer runs, and the outcome is told in the window's language.
class TFavoritesTransfer
{
public:
    static const QString Section;

    // Asks for a bookmark file and imports it into a new sub-folder.
    static void ImportBookmarks(QWidget* window, const QString& favoritesFolder,
                                WindowServices* services);
    // Asks where to save and writes the whole Favorites tree there.
    static void ExportFavorites(QWidget* window, const QString& favoritesFolder,
                                WindowServices* services);

    // The work behind the commands once the file is known; true on success.
    static bool ImportFile(const QString& file, const QString& favoritesFolder,
                           WindowServices* services);
    static bool ExportFile(const QString& favoritesFolder, const QString& file,
                           WindowServices* services);
};

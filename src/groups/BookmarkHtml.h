#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The bookmark file other browsers import and export: an HTML page whose
// "<DT><H3>" lines are folders, "<DT><A HREF=...>" lines are links and
// nested "<DL><p>" lists hold a folder's contents. Imported links become
// Internet shortcuts in a new sub-folder of Favorites; an export writes the
// whole Favorites tree.
//
// The reader takes any text: unclosed tags, stray brackets, junk and
// absurd nesting end up as fewer bookmarks, never as a crash or a hang. It
// reads in one pass, so its time grows with the file's size only.
class BookmarkHtml
{
public:
    enum class Error
    {
        None,
        CannotRead,  // detail: the system's reason
        TooLarge,    // beyond MaximumFileSize
        NoBookmarks, // nothing in the file is a bookmark or folder
        CannotWrite  // detail: the system's reason
    };

    struct ImportResult
    {
        int count = 0;  // shortcuts written
        QString folder; // the sub-folder made, empty on failure
        Error error = Error::None;
        QString detail;
        bool ok() const { return error == Error::None; }
    };

    struct ExportResult
    {
        int count = 0; // links written
        Error error = Error::None;
        QString detail;
        bool ok() const { return error == Error::None; }
    };

    static constexpr qint64 MaximumFileSize = 64 * 1024 * 1024;
    // Folders nested deeper than this are flattened into the deepest one:
    // longer paths would pass what the file system takes.
    static constexpr int MaximumDepth = 24;

    // Reads file into a new sub-folder of favoritesFolder named after the
    // file ("bookmarks.html" gives "bookmarks", with a number added when
    // that name is taken). The sub-folder appears whole or not at all.
    static ImportResult import(const QString& file, const QString& favoritesFolder);
    static ImportResult importData(const QByteArray& data, const QString& folderName,
                                   const QString& favoritesFolder);

    // Writes every folder and Internet shortcut below favoritesFolder to
    // file, replacing it whole or leaving it as it was.
    static ExportResult exportTo(const QString& favoritesFolder, const QString& file);
    static QByteArray exportData(const QString& favoritesFolder, int* count = nullptr);

    // "&amp;", "&lt;", "&#39;", "&#x27;" and the like; unknown or broken
    // references are left as written.
    static QString decodeEntities(QStringView text);
    static QString encodeEntities(const QString& text);
};

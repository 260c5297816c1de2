// Bookmark files other browsers export, imported into Favorites.
#include "FuzzSupport.h"

#include "groups/BookmarkHtml.h"
#include "groups/InternetShortcut.h"

#include <QDir>
#include <QDirIterator>
#include <QMap>

namespace
{
// Every shortcut below folder: its path relative to folder -> its address.
QMap<QString, QString> shortcuts(const QString& folder)
{
    QMap<QString, QString> found;
    const QDir base(folder);
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
    {
        const QString path = it.next();
        FUZZ_CHECK(InternetShortcut::isShortcutFile(path));
        found.insert(base.relativeFilePath(path), InternetShortcut::readUrl(path));
    }
    return found;
}

QString freshFolder(const QString& name)
{
    FuzzSupport::remove(name);
    const QString path = FuzzSupport::folder() + QLatin1Char('/') + name;
    QDir().mkpath(path);
    return path;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QString favorites = freshFolder(QStringLiteral("favorites"));
    const BookmarkHtml::ImportResult imported =
        BookmarkHtml::importData(fuzzInput(bytes, size), QStringLiteral("bookmarks"), favorites);
    const QStringList made =
        QDir(favorites).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (!imported.ok())
    {
        // Whole or not at all: a failed import leaves nothing behind.
        FUZZ_CHECK(imported.error == BookmarkHtml::Error::NoBookmarks);
        FUZZ_CHECK(made.isEmpty());
        return 0;
    }
    FUZZ_CHECK(made == QStringList{QStringLiteral("bookmarks")});
    FUZZ_CHECK(imported.folder == favorites + QStringLiteral("/bookmarks"));
    const QMap<QString, QString> links = shortcuts(favorites);
    FUZZ_CHECK(links.size() == imported.count);
    for (const QString& url : links)
        FUZZ_CHECK(!url.isEmpty());

    // The imported tree, exported and imported again, is the same tree.
    int exportedCount = 0;
    const QByteArray exported = BookmarkHtml::exportData(favorites, &exportedCount);
    FUZZ_CHECK(exportedCount == imported.count);
    const QString again = freshFolder(QStringLiteral("again"));
    const BookmarkHtml::ImportResult reimported =
        BookmarkHtml::importData(exported, QStringLiteral("copy"), again);
    FUZZ_CHECK(reimported.ok() && reimported.count == imported.count);
    const QMap<QString, QString> copied = shortcuts(reimported.folder);
    // Folders nested beyond what an export writes give their links to the
    // deepest one: the same links, maybe at other places.
    if (copied != links)
    {
        QStringList before = links.values();
        QStringList after = copied.values();
        before.sort();
        after.sort();
        FUZZ_CHECK(before == after);
    }
    return 0;
}

#include "groups/FolderListing.h"

#include "groups/InternetShortcut.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace
{
constexpr int LongName = 46;
constexpr int KeptEachSide = 21;

void sortByCaption(QList<FolderEntry>& entries)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Names equal but for case keep one order.
    std::sort(entries.begin(), entries.end(),
              [&collator](const FolderEntry& a, const FolderEntry& b)
              {
                  const int order = collator.compare(a.caption, b.caption);
                  return order != 0 ? order < 0 : a.name < b.name;
              });
}

// The name less its extension. A name whose only dot is its first character
// keeps it, as does a name without any.
QString withoutExtension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}
} // namespace

QList<FolderEntry> FolderListing::list(const QString& folder)
{
    // An empty path would list the working folder.
    if (folder.isEmpty())
        return {};
    QList<FolderEntry> folders;
    QList<FolderEntry> files;
    const QFileInfoList infos =
        QDir(folder).entryInfoList(QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo& info : infos)
    {
        const QString name = info.fileName();
        if (name.startsWith(QLatin1Char('.')))
            continue;
        if (info.isDir())
            folders.append({name, name, info.filePath(), true});
        else if (info.isFile())
            files.append({name, withoutExtension(name), info.filePath(), false});
    }
    sortByCaption(folders);
    sortByCaption(files);
    return folders + files;
}

QString FolderListing::target(const FolderEntry& entry)
{
    if (entry.isFolder)
        return {};
    return InternetShortcut::isShortcutFile(entry.path) ? InternetShortcut::readUrl(entry.path)
                                                        : entry.path;
}

QString FolderListing::shortened(const QString& name)
{
    if (name.size() < LongName)
        return name;
    return name.left(KeptEachSide) + QStringLiteral("...") + name.right(KeptEachSide);
}

QString FolderListing::menuCaption(QString text)
{
    text.replace(QLatin1Char('&'), QLatin1String("&&"));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}

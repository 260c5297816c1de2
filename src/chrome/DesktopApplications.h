#pragma once

#include "chrome/DesktopEntry.h"

#include <QHash>
#include <QList>
#include <QStringList>

// The desktop's applications by the types they open: the desktop entries of
// the XDG data folders' "applications" folders, ordered by the users' and
// the system's mimeapps.list files (their defaults first, associations they
// removed left out).
class DesktopApplications
{
public:
    // applicationFolders: in priority order (the first holding an id wins).
    // mimeappsFiles: in priority order as well.
    DesktopApplications(const QStringList& applicationFolders, const QStringList& mimeappsFiles);
    // The folders and files of the XDG base directories of this session.
    static DesktopApplications standard();

    // Every application that opens mimeType (a MIME type or
    // "x-scheme-handler/…"): the defaults first, then the added
    // associations, then the rest in id order. Entries marked not to be
    // shown stay in the list only when they are a default.
    QList<DesktopEntry> handlers(const QString& mimeType) const;
    // The application that opens mimeType when the user asks for "the" one:
    // the first of handlers(). None when nothing opens it.
    std::optional<DesktopEntry> preferred(const QString& mimeType) const;

private:
    void scanFolder(const QString& root, const QString& folder, const QString& prefix);
    void readMimeapps(const QString& path);

    QHash<QString, DesktopEntry> m_entries; // by id
    QStringList m_ids;                      // sorted
    // Per type: the ids as the mimeapps files name them, in priority order.
    QHash<QString, QStringList> m_defaults;
    QHash<QString, QStringList> m_added;
    QHash<QString, QStringList> m_removed;
};

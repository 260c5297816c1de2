#pragma once

#include <QList>
#include <QString>

// One entry of a folder as the folder menus (Favorites, Links, groups) show it.
struct FolderEntry
{
    QString name;    // the file-system name
    QString caption; // the name, a file's without its extension; not shortened
    QString path;    // full path
    bool isFolder = false;
};

// Reads one level of a folder: the rules the Favorites menu, the links bar
// and the groups menu list by.
class FolderListing
{
public:
    // Sub-folders, then files, each sorted by caption without regard to
    // case. Hidden entries and those whose names begin with "." are left
    // out; a missing or unreadable folder gives nothing.
    static QList<FolderEntry> list(const QString& folder);
    // What a favorite opens: a shortcut's address (empty when it has none),
    // or the path of any other file.
    static QString target(const FolderEntry& entry);
    // A name of 46 characters or more: its first 21, "..." and its last 21.
    static QString shortened(const QString& name);
    // Text that a menu shows as it stands: "&" marks no accelerator and a
    // tab does not start the shortcut column.
    static QString menuCaption(QString text);
};

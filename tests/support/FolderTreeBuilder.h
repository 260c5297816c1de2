#pragma once

#include <QString>
#include <QStringList>

// Lays out a folder tree for a test from one short line per entry, relative
// to root: "a/b/" a folder, "a/x.vgp" a file (folders on the way are made),
// "link->a" a symbolic link named link pointing at root/a. Files hold an
// empty group section. False (with a warning naming it) when any entry
// could not be made.
namespace FolderTreeBuilder
{
bool make(const QString& root, const QStringList& entries);
// Writes one file whole, making the folders on the way.
bool writeFile(const QString& path, const QByteArray& content = "[VostelGroup]\n");
} // namespace FolderTreeBuilder

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The files and store lists the program writes, each written through the
// program's own writer in numbered versions and read back through its own
// reader. A version is recognisable from any part of what was written, so a
// reader can tell a whole version from a mix of two or a cut one.
//
// Every subject lives in a folder of its own: files in it, the store as
// "settings.sqlite" in it, the desktop's data folder is the folder itself.
namespace StressSubjects
{
QStringList kinds();

// Writes version k of kind in folder through the program's writer; false
// when the writer reported a failure.
bool write(const QString& kind, const QString& folder, int k);

// The newest version found, -1 when nothing was written yet; nothing, with
// the reason in *why, when what is there is not whole or an earlier version
// that must have stayed readable is lost. committed is the last version
// the writer finished.
std::optional<int> check(const QString& kind, const QString& folder, int committed, QString* why);

QString storePath(const QString& folder);
} // namespace StressSubjects

#pragma once

#include <QString>

// A settings database that cannot be used is kept for inspection beside a
// fresh one, never deleted: the user's settings may still be read from it.
class CorruptDatabase
{
public:
    // An SQLite result that says the file is damaged or not a database
    // (rather than busy, locked or unreadable).
    static bool isCorruption(int rc);
    // Renames the database at path, with its journal files, to a free
    // "<path>.corrupt-<time>" name given in keptAs; false when it cannot.
    static bool moveAside(const QString& path, QString* keptAs);
};

#pragma once

#include <QString>

// An Internet shortcut file: an INI file whose [InternetShortcut] section
// holds the address as URL=.
class InternetShortcut
{
public:
    // By the name alone: ".url" in any letter case.
    static bool isShortcutFile(const QString& path);
    // The shortcut's address; empty when the file has none or cannot be read.
    static QString readUrl(const QString& path);
};

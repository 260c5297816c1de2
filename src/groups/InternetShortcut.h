#pragma once

#include <QByteArray>
#include <QString>

// An Internet shortcut: a small settings file whose "URL" value of section
// "InternetShortcut" is the address it stands for. Files from elsewhere carry
// more sections and keys, in UTF-8 or Latin-1, with either line end; only
// that one value is used.
class InternetShortcut
{
public:
    // The longest file name the usual Linux file systems take, in bytes.
    static constexpr int MaximumNameBytes = 255;

    // ".url" in any case.
    static bool isShortcutFile(const QString& path);
    // The shortcut's address; empty when the file has none or cannot be read.
    static QString readUrl(const QString& path);

    // Writes folder/<safe name>.url, with a number added to the name when a
    // file of that name exists; the file is written whole or not at all.
    // Returns the path written, empty on failure (no usable name, folder
    // missing or not writable).
    static QString write(const QString& folder, const QString& name, const QString& url);

    // The file contents for url: "[InternetShortcut]" and "URL=" lines ending
    // in CR LF, as other programs write them.
    static QByteArray contents(const QString& url);

    // name made usable as a file name (without extension): no "/", no
    // control characters, no leading dot (that would hide it) or colon (Qt
    // would take the path for a built-in resource), blanks
    // trimmed, and short enough that the name with ".url" and a number fits
    // in MaximumNameBytes. Empty when nothing usable is left.
    static QString safeFileName(const QString& name);
    // base with " (n)" added for n > 1 and the extension, cut so that the
    // whole fits in MaximumNameBytes.
    static QString numberedName(const QString& base, int n, const QString& extension);
};

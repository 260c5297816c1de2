#pragma once

#include <QString>

class QUrl;

// Whether an address names a local special file: something that exists but
// is neither a regular file nor a folder (a named pipe, a socket, a device).
// Reading one may wait for a writer for ever, which would hold up the
// engine and, at exit, the whole process; such addresses are refused before
// anything reads them. Only the file's status is asked, which never waits.
class SpecialFileAddress
{
public:
    // The local path when url is a file address of a special file, else empty.
    static QString specialFilePath(const QUrl& url);
    // The same for an address as typed or handed over (a path, "file:...").
    static QString specialFilePath(const QString& address);
    // For a local path: exists, and is neither a regular file nor a folder.
    static bool isSpecialFile(const QString& path);
};

#pragma once

#include <QString>
#include <QStringList>

// Where the program's folders are on this machine. The design keeps data
// beside the executable; an installed copy cannot write there, so the
// program folder falls back to the per-user data folder.
class ProgramPaths
{
public:
    // $QUILLWAVE_HOME; else the executable's folder when it holds
    // Languages/ and is writable; else the per-user data folder (created).
    static QString programFolder();
    // Where language files are looked for, the user's own first: the
    // program folder's Languages/, then the one beside the executable and
    // the installed read-only copy (those that differ from the first).
    static QStringList languageFolders();
    static QString vostelGroupsFolder();
    // Installed help pages, or the program folder's copy.
    static QString helpFolder();
    // The contents page of the help, in helpFolder().
    static QString helpIndexFile();
    // Folder of the settings database: $QUILLWAVE_HOME or the per-user config folder.
    static QString configFolder();

    // Sets organisation and application names so QStandardPaths agrees in
    // every process, even before an application object exists.
    static void initialiseNames();
};

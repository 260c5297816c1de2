#pragma once

#include <QString>

// Where the program's folders are on this machine. The design keeps data
// beside the executable; an installed copy cannot write there, so the
// program folder falls back to the per-user data folder.
class ProgramPaths
{
public:
    // $QUILLWAVE_HOME; else the executable's folder when it holds
    // Languages/ and is writable; else the per-user data folder (created).
    static QString programFolder();
    // Program folder's Languages/ when it holds language files, else the
    // installed read-only copy, else the program folder's (possibly empty) one.
    static QString languagesFolder();
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

#pragma once

#include <QString>
#include <QStringList>

// Where the two programs are in relation to each other: the launcher users
// start ("quillwave") and the browser it becomes ("quillwave-browser"). In
// a build tree both sit in one folder; installed, the launcher is in the
// binaries folder and the browser in the program's own folder of internal
// executables. Nothing here needs an application object.
class LauncherPaths
{
public:
    static inline const QString LauncherProgramName = QStringLiteral("quillwave");
    static inline const QString BrowserProgramName = QStringLiteral("quillwave-browser");

    // The folder of the running executable, from /proc/self/exe; when that
    // cannot be read, from argv0 (a path, or a name looked up in PATH).
    // Empty when neither tells.
    static QString executableFolder(const char* argv0 = nullptr);

    // Where the browser may be for a launcher in launcherFolder, in the
    // order they are tried: beside it, then the installed place.
    static QStringList browserCandidates(const QString& launcherFolder);
    // The first candidate that is an executable file; empty when none is.
    static QString findBrowser(const QString& launcherFolder);

    // The launcher that belongs to a browser in browserFolder, in the same
    // way: beside it, then the installed binaries folder. This is what the
    // desktop should start. Empty when none is there.
    static QStringList launcherCandidates(const QString& browserFolder);
    static QString findLauncher(const QString& browserFolder);
};

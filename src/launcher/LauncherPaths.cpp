#include "launcher/LauncherPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <climits>
#include <unistd.h>

namespace
{
QString firstExecutable(const QStringList& candidates)
{
    for (const QString& candidate : candidates)
    {
        const QFileInfo file(candidate);
        if (file.isFile() && file.isExecutable())
            return candidate;
    }
    return {};
}

QStringList candidatesIn(const QString& folder, const QString& relativeFolder, const QString& name)
{
    if (folder.isEmpty())
        return {};
    return {QDir::cleanPath(folder + QLatin1Char('/') + name),
            QDir::cleanPath(folder + QLatin1Char('/') + relativeFolder + QLatin1Char('/') + name)};
}
} // namespace

QString LauncherPaths::executableFolder(const char* argv0)
{
    char target[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", target, sizeof target - 1);
    if (length > 0)
        return QFileInfo(QFile::decodeName(QByteArray(target, length))).absolutePath();

    const QString called = argv0 ? QFile::decodeName(argv0) : QString();
    if (called.isEmpty())
        return {};
    // A shell runs a name with a slash as a path, any other name from PATH.
    const QString program =
        called.contains(QLatin1Char('/')) ? called : QStandardPaths::findExecutable(called);
    const QString resolved = program.isEmpty() ? QString() : QFileInfo(program).canonicalFilePath();
    return resolved.isEmpty() ? QString() : QFileInfo(resolved).absolutePath();
}

QStringList LauncherPaths::browserCandidates(const QString& launcherFolder)
{
    return candidatesIn(launcherFolder, QStringLiteral(QW_BIN_TO_BROWSER_DIR), BrowserProgramName);
}

QString LauncherPaths::findBrowser(const QString& launcherFolder)
{
    return firstExecutable(browserCandidates(launcherFolder));
}

QStringList LauncherPaths::launcherCandidates(const QString& browserFolder)
{
    return candidatesIn(browserFolder, QStringLiteral(QW_BROWSER_TO_BIN_DIR), LauncherProgramName);
}

QString LauncherPaths::findLauncher(const QString& browserFolder)
{
    return firstExecutable(launcherCandidates(browserFolder));
}

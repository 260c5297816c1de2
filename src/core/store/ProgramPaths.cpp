#include "core/store/ProgramPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace
{
QString homeOverride()
{
    const QString home = qEnvironmentVariable("QUILLWAVE_HOME");
    if (home.isEmpty())
        return {};
    QDir().mkpath(home);
    return QDir(home).absolutePath();
}

QString executableFolder()
{
    // applicationDirPath needs an application object; /proc works without one.
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
}
} // namespace

void ProgramPaths::initialiseNames()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quillwave"));
    QCoreApplication::setApplicationName(QStringLiteral("quillwave"));
}

QString ProgramPaths::programFolder()
{
    const QString home = homeOverride();
    if (!home.isEmpty())
        return home;
    const QString exeDir = executableFolder();
    const QFileInfo exeInfo(exeDir);
    if (QFileInfo(exeDir + QStringLiteral("/Languages")).isDir() && exeInfo.isWritable())
        return exeDir;
    initialiseNames();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}

QStringList ProgramPaths::languageFolders()
{
    return {programFolder() + QStringLiteral("/Languages"),
            executableFolder() + QStringLiteral("/Languages"),
            QStringLiteral(QW_DATA_INSTALL_DIR "/Languages")};
}

QString ProgramPaths::vostelGroupsFolder()
{
    const QString folder = programFolder() + QStringLiteral("/VostelGroups");
    QDir().mkpath(folder);
    return folder;
}

QString ProgramPaths::helpFolder()
{
    for (const QString& candidate :
         {programFolder() + QStringLiteral("/help"), executableFolder() + QStringLiteral("/help"),
          QStringLiteral(QW_DATA_INSTALL_DIR "/help")})
    {
        if (QFileInfo::exists(candidate + QStringLiteral("/index.html")))
            return candidate;
    }
    return programFolder() + QStringLiteral("/help");
}

QString ProgramPaths::helpIndexFile()
{
    return helpFolder() + QStringLiteral("/index.html");
}

QString ProgramPaths::configFolder()
{
    const QString home = homeOverride();
    if (!home.isEmpty())
        return home;
    initialiseNames();
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return config;
}

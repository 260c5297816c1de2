#include "chrome/TDefaultBrowser.h"

#include "chrome/MimeAppsList.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "core/settings/TQWOptions.h"
#include "launcher/LauncherPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSaveFile>

namespace
{
const QString ExecReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");

// The class's default verb as the design shows it: the first handler of the
// type by its desktop id without ".desktop", ours as the program's verb.
QString defaultVerb(const QStringList& ids)
{
    const QString suffix = QStringLiteral(".desktop");
    for (const QString& id : ids)
    {
        // Desktop readers skip what cannot name a desktop file.
        if (!id.endsWith(suffix) || id.size() == suffix.size())
            continue;
        if (id == TDefaultBrowser::DesktopEntryId)
            return TDefaultBrowser::VerbName;
        const QString verb = id.chopped(suffix.size());
        // Another entry that would read like ours keeps its full id, so that
        // it never passes for this program's registration.
        return verb == TDefaultBrowser::VerbName ? id : verb;
    }
    return QString();
}
} // namespace

const QStringList& TDefaultBrowser::ClassNames()
{
    static const QStringList names{QStringLiteral("htmlfile"), QStringLiteral("http"),
                                   QStringLiteral("https"), QStringLiteral("file"),
                                   QStringLiteral("InternetShortcut")};
    return names;
}

QString TDefaultBrowser::MimeTypeForClass(const QString& className)
{
    static const QStringList types{
        QStringLiteral("text/html"), QStringLiteral("x-scheme-handler/http"),
        QStringLiteral("x-scheme-handler/https"), QStringLiteral("x-scheme-handler/file"),
        QStringLiteral("application/x-mswinurl")};
    const qsizetype row = ClassNames().indexOf(className);
    return row < 0 ? QString() : types.at(row);
}

QString TDefaultBrowser::DesktopEntryPath()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir(base).filePath(QStringLiteral("applications/") + DesktopEntryId);
}

QString TDefaultBrowser::ExecArgument(const QString& programPath)
{
    QString argument;
    bool needsQuotes = false;
    for (const QChar c : programPath)
    {
        if (ExecReserved.contains(c))
            needsQuotes = true;
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            argument += QLatin1Char('\\');
        argument += c;
        // A lone % would start a field code.
        if (c == QLatin1Char('%'))
            argument += QLatin1Char('%');
    }
    // Every character that needs a backslash is itself reserved, so an
    // unquoted argument never carries one.
    if (needsQuotes)
        argument = QLatin1Char('"') + argument + QLatin1Char('"');

    // The value is also a desktop-entry string, whose own escapes apply first
    // when it is read.
    QString value;
    for (const QChar c : argument)
    {
        switch (c.unicode())
        {
        case '\\':
            value += QStringLiteral("\\\\");
            break;
        case '\n':
            value += QStringLiteral("\\n");
            break;
        case '\t':
            value += QStringLiteral("\\t");
            break;
        case '\r':
            value += QStringLiteral("\\r");
            break;
        default:
            value += c;
        }
    }
    return value;
}

QByteArray TDefaultBrowser::DesktopEntryText(const QString& programPath)
{
    QStringList mimeTypes;
    for (const QString& className : ClassNames())
        mimeTypes.append(MimeTypeForClass(className));
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Quillwave\n"
                                        "Exec=%1 %u\n"
                                        "Icon=quillwave\n"
                                        "Categories=Network;WebBrowser;\n"
                                        "MimeType=%2;\n")
                             .arg(ExecArgument(programPath), mimeTypes.join(QLatin1Char(';')));
    return text.toUtf8();
}

bool TDefaultBrowser::EnsureDesktopEntry(const QString& programPath)
{
    QString program = programPath;
    // The desktop starts the small launcher, which hands a link to a running
    // copy without loading the browser; the browser itself only if alone.
    if (program.isEmpty() && QCoreApplication::instance())
        program = LauncherPaths::findLauncher(QCoreApplication::applicationDirPath());
    if (program.isEmpty() && QCoreApplication::instance())
        program = QCoreApplication::applicationFilePath();
    if (program.isEmpty())
        return false;
    const QString path = DesktopEntryPath();
    const QByteArray wanted = DesktopEntryText(program);
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == wanted)
        return true;
    existing.close();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(wanted) != wanted.size())
        return false;
    return file.commit();
}

TClassInfo TDefaultBrowser::ReadClassInfo(const QString& className)
{
    TClassInfo info;
    info.Name = className;
    const QString mimeType = MimeTypeForClass(className);
    if (mimeType.isEmpty())
        return info;
    MimeAppsList list;
    if (list.load())
    {
        info.DefaultVerb =
            defaultVerb(list.desktopIds(MimeAppsList::DefaultApplications, mimeType));
    }
    const QMimeType type = QMimeDatabase().mimeTypeForName(mimeType);
    if (type.isValid())
        info.Description = type.comment();
    return info;
}

bool TDefaultBrowser::IsRegistered(const QString& className)
{
    return ReadClassInfo(className).DefaultVerb == VerbName;
}

void TDefaultBrowser::SetClassRegistered(const QString& className, bool registered,
                                         const QString& programPath)
{
    const QString mimeType = MimeTypeForClass(className);
    if (mimeType.isEmpty() || IsRegistered(className) == registered)
        return;

    // The desktop entry is written first and on its own: a default that
    // names it is still set when it cannot be written (an installed copy
    // provides one of the same name).
    if (registered)
        EnsureDesktopEntry(programPath);

    MimeAppsList list;
    if (!list.load())
        return; // an unreadable file must not be replaced by a partial one
    QStringList ids = list.desktopIds(MimeAppsList::DefaultApplications, mimeType);
    ids.removeAll(DesktopEntryId);
    if (registered)
    {
        ids.prepend(DesktopEntryId);
        QStringList added = list.desktopIds(MimeAppsList::AddedAssociations, mimeType);
        if (!added.contains(DesktopEntryId))
        {
            added.prepend(DesktopEntryId);
            list.setDesktopIds(MimeAppsList::AddedAssociations, mimeType, added);
        }
    }
    list.setDesktopIds(MimeAppsList::DefaultApplications, mimeType, ids);
    if (list.isModified())
        list.save();
}

void TDefaultBrowser::RegisterAll(bool registered, const QString& programPath)
{
    for (const QString& className : ClassNames())
        SetClassRegistered(className, registered, programPath);
}

void TDefaultBrowser::UnregisterAll()
{
    RegisterAll(false);
}

bool TDefaultBrowser::IsDefaultBrowser()
{
    for (const QString& className : ClassNames())
        if (!IsRegistered(className))
            return false;
    return true;
}

void TDefaultBrowser::AskDefaultBrowserPrompt(const ConfirmFn& confirm, const LangTextFn& langText,
                                              const QString& programPath)
{
    TQWOptions options;
    if (!options.AskDefaultBrowser() || IsDefaultBrowser() || !confirm)
        return;
    const auto text = [&langText](const char* section, const char* key)
    {
        const QString s = QString::fromLatin1(section);
        const QString k = QString::fromLatin1(key);
        return langText ? langText(s, k) : QStringLiteral("UNDEFINED: ") + s + " > " + k;
    };
    const PromptAnswer answer =
        confirm(VerbName, true, text("Default", "NotCurrent"), text("Default", "AskDefault"),
                text("GLOBAL", "Yes"), text("GLOBAL", "No"), text("Default", "AlwaysAsk"));
    if (answer.ok)
        RegisterAll(true, programPath);
    if (!answer.checked)
        options.SetAskDefaultBrowser(false);
}

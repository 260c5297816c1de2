#include "core/instance/TEntryRoutine.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace
{
const QString SwitchUndef = QStringLiteral("--undef");
const QString SwitchUninstall = QStringLiteral("--uninstall");
const QString SwitchNew = QStringLiteral("--new");
const QString GroupExtension = QStringLiteral(".vgp");
} // namespace

bool TEntryRoutine::isUnregisterSwitch(const QStringList& arguments)
{
    return arguments.size() == 1 &&
           (arguments.first() == SwitchUndef || arguments.first() == SwitchUninstall);
}

TEntryRoutine::Decision TEntryRoutine::decide(const QStringList& arguments, bool isFirstInstance,
                                              const std::function<bool()>& allowMultiInstance)
{
    Decision decision;
    // Switches count only as the one and only argument, spelled exactly.
    const bool single = arguments.size() == 1;
    if (isUnregisterSwitch(arguments))
    {
        decision.action = Action::Unregister;
        return decision;
    }
    if (single && arguments.first() == SwitchNew)
        decision.runAsNewInstance = true;
    if (!decision.runAsNewInstance && allowMultiInstance)
        decision.runAsNewInstance = allowMultiInstance();

    if (!isFirstInstance && !decision.runAsNewInstance)
    {
        decision.action = Action::Forward;
        decision.forwardArgument = arguments.value(0);
        return decision;
    }

    decision.action = Action::Run;
    if (single && arguments.first() != SwitchNew)
        decision.commandLine = arguments.first();
    return decision;
}

QString TEntryRoutine::resolveArgument(const QString& argument, const QString& workingFolder)
{
    if (argument.isEmpty() || QDir::isAbsolutePath(argument))
        return argument;
    // "host:8080/x" or "about:blank" are addresses even when a file of that
    // name happens to exist here.
    const QUrl url(argument);
    if (url.isValid() && !url.scheme().isEmpty())
        return argument;
    const QFileInfo file(QDir(workingFolder), argument);
    if (!file.isFile())
        return argument;
    return QDir::cleanPath(file.absoluteFilePath());
}

TEntryRoutine::ForwardedAction TEntryRoutine::forwardedAction(const QString& text)
{
    if (text.isEmpty())
        return ForwardedAction::Nothing;
    if (extensionOf(text) == GroupExtension && QFileInfo(text).isFile())
        return ForwardedAction::OpenGroup;
    return ForwardedAction::OpenTab;
}

bool TEntryRoutine::isStartupGroupArgument(const QString& argument)
{
    return extensionOf(argument).compare(GroupExtension, Qt::CaseInsensitive) == 0;
}

QString TEntryRoutine::extensionOf(const QString& text)
{
    const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : text.mid(dot);
}

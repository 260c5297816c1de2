#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The decisions of the program's entry routine and of the running copy's
// reaction to a forwarded argument, as plain functions: the entry point
// and the main window only carry them out.
class TEntryRoutine
{
public:
    enum class Action
    {
        Unregister, // undo the default-browser registration and end
        Forward,    // hand the argument to the running copy and end
        Run         // run this copy's own window
    };

    struct Decision
    {
        Action action = Action::Run;
        // Set by "--new" or by the AllowMultiInstance setting.
        bool runAsNewInstance = false;
        // Forward: the first argument, or empty when there is none.
        QString forwardArgument;
        // Run: what to leave in the CommandLine setting for the main window;
        // only a single argument other than "--new" is handed over.
        std::optional<QString> commandLine;
    };

    // "--undef" or "--uninstall" as the only argument: the un-registration
    // runs without looking for a running copy.
    static bool isUnregisterSwitch(const QStringList& arguments);

    // arguments: the command line without the program name. The setting is
    // read only when neither switch decides the matter on its own.
    static Decision decide(const QStringList& arguments, bool isFirstInstance,
                           const std::function<bool()>& allowMultiInstance);

    // A relative path of an existing file, as typed in the caller's working
    // folder, made absolute: the main window (and, for a forwarded argument,
    // the running copy with a working folder of its own) would otherwise
    // take "page.html" for a host name. Anything else (addresses, absolute
    // paths, names of no file) is left as it is.
    static QString resolveArgument(const QString& argument, const QString& workingFolder);

    enum class ForwardedAction
    {
        Nothing,   // empty text: the window has come to the front, that is all
        OpenGroup, // an existing file with the exact extension ".vgp"
        OpenTab    // anything else is an address for a new tab
    };
    static ForwardedAction forwardedAction(const QString& text);

    // At start-up a command-line argument is a group file when its extension
    // is ".vgp" in any case; whether the file exists is left to the opener.
    static bool isStartupGroupArgument(const QString& argument);

    // The part of text from its last "." ("" when it has none).
    static QString extensionOf(const QString& text);
};

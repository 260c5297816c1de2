#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class RegistryStore;

// The program users start. When a copy is already running it does what the
// browser's entry routine does in that case, deciding as the routine does
// and in its order: hands the argument over and ends with 0. In every other case
// (the first copy, the switches, a copy allowed beside others, a running
// copy that cannot be reached, a setting it cannot read as the browser
// would) it becomes the browser: execve with the same arguments and
// environment, so the process keeps its id and the browser decides with its
// whole routine. It links Qt Core, Network and the settings store only, so
// that a forwarding start costs little more than a bare Qt Core program,
// where the browser would first have to load its window and engine
// libraries.
//
// Two launchers that both find no running copy both become browsers; the
// browsers' own routines leave one of them running and forward the other.
class BrowserLauncher
{
public:
    enum class Step
    {
        RunBrowser,
        Forward
    };
    struct Plan
    {
        Step step = Step::RunBrowser;
        // Forward: the argument to hand over (the routine's choice).
        QString argument;
    };

    // Exit codes when the browser cannot be started, as a shell has them.
    static constexpr int BrowserNotFound = 127;
    static constexpr int BrowserNotStartable = 126;

    // arguments: the command line without the program name. isFirstInstance
    // and allowMultiInstance are asked only when the routine asks, and in its
    // order; allowMultiInstance gives nothing for a setting that the browser
    // could not read either.
    static Plan plan(const QStringList& arguments, const std::function<bool()>& isFirstInstance,
                     const std::function<std::optional<bool>()>& allowMultiInstance);

    // AllowMultiInstance as the settings object reads it (missing or not a
    // number: its default); nothing when it is stored with a type the
    // settings object refuses.
    static std::optional<bool> storedAllowMultiInstance(const RegistryStore& store);

    // The whole launcher. Returns only when it did not become the browser:
    // 0 after handing the argument over, else one of the codes above.
    static int run(int argc, char* argv[], char* envp[]);

    // Replaces this process by the browser that belongs to a launcher in
    // launcherFolder. Returns only when that fails, having said why on the
    // standard error.
    static int becomeBrowser(const QString& launcherFolder, char* const argv[], char* const envp[]);
};

#include "launcher/BrowserLauncher.h"

#include "core/store/ProgramPaths.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "core/instance/StartupTimeline.h"
#include "core/instance/TEntryRoutine.h"
#include "core/instance/TInstanceChannel.h"
#include "core/settings/TQWOptions.h"
#include "launcher/LauncherPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace
{
// The settings table is the one place that names the setting and its
// default. Its entries are only read as text here: the settings object
// itself needs Qt Gui, which the launcher must not load.
struct OptionText
{
    std::string_view name;
    std::string_view kind;
    std::string_view defaultValue;
};
#define QW_LAUNCHER_OPTION_TEXT(name, kind, defaultValue, access)                                  \
    OptionText{#name, #kind, #defaultValue},
constexpr OptionText OptionTexts[] = {QW_OPTION_TABLE(QW_LAUNCHER_OPTION_TEXT)};
#undef QW_LAUNCHER_OPTION_TEXT

constexpr OptionText optionText(std::string_view name)
{
    for (const OptionText& option : OptionTexts)
    {
        if (option.name == name)
            return option;
    }
    return {};
}

constexpr OptionText AllowMultiInstance = optionText("AllowMultiInstance");
static_assert(AllowMultiInstance.kind == "Boolean");
static_assert(AllowMultiInstance.defaultValue == "false" ||
              AllowMultiInstance.defaultValue == "true");
constexpr bool AllowMultiInstanceDefault = AllowMultiInstance.defaultValue == "true";

void say(const QString& text)
{
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(LauncherPaths::LauncherProgramName),
                 qUtf8Printable(text));
}
} // namespace

BrowserLauncher::Plan
BrowserLauncher::plan(const QStringList& arguments, const std::function<bool()>& isFirstInstance,
                      const std::function<std::optional<bool>()>& allowMultiInstance)
{
    Plan plan;
    // The un-registration never looks for a running copy.
    if (TEntryRoutine::isUnregisterSwitch(arguments) || isFirstInstance())
        return plan;
    // A setting that makes the browser's settings object fail is the
    // browser's to report, so it counts as letting this copy run.
    const TEntryRoutine::Decision decision = TEntryRoutine::decide(
        arguments, false, [&] { return allowMultiInstance().value_or(true); });
    if (decision.action == TEntryRoutine::Action::Forward)
    {
        plan.step = Step::Forward;
        plan.argument = decision.forwardArgument;
    }
    return plan;
}

std::optional<bool> BrowserLauncher::storedAllowMultiInstance(const RegistryStore& store)
{
    const std::optional<RegValue> value = store.value(
        RegistryKeys::ValueKey, QString::fromLatin1(AllowMultiInstance.name.data(),
                                                    qsizetype(AllowMultiInstance.name.size())));
    if (!value)
        return AllowMultiInstanceDefault;
    if (value->type != RegValue::String)
        return std::nullopt;
    // Read as the settings object reads a Boolean: a decimal number, not 0.
    bool ok = false;
    const int number = value->text.toInt(&ok, 10);
    return ok ? number != 0 : AllowMultiInstanceDefault;
}

int BrowserLauncher::run(int argc, char* argv[], char* envp[])
{
    StartupTimeline::mark("launcher started");
    // Taken before Qt sees them: the browser gets what this process got.
    std::vector<char*> browserArguments(argv, argv + argc);
    browserArguments.push_back(nullptr);
    std::vector<char*> browserEnvironment;
    for (char** entry = envp; entry && *entry; ++entry)
        browserEnvironment.push_back(*entry);
    browserEnvironment.push_back(nullptr);

    ProgramPaths::initialiseNames();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    const Plan plan = BrowserLauncher::plan(
        arguments,
        // Asked without taking the lock: a copy that is starting at this
        // moment never finds it held by a launcher, and a launcher that
        // becomes the browser has nothing to give back first.
        [] { return !TInstanceChannel().isHeldByLiveCopy(); },
        []
        {
            const RegistryStore store;
            return storedAllowMultiInstance(store);
        });

    if (plan.step == Step::Forward)
    {
        TInstanceChannel::ForwardResult result;
        {
            int applicationArgc = argc;
            const QCoreApplication application(applicationArgc, argv);
            StartupTimeline::mark("application created");
            result = TInstanceChannel::forwardWithResult(
                TEntryRoutine::resolveArgument(plan.argument, QDir::currentPath()));
        }
        // A record that went out may have been acted on and must not be
        // sent twice; one that nobody took is the browser's to try again
        // (the running copy may have ended in the meantime).
        StartupTimeline::mark("forwarded");
        if (result != TInstanceChannel::ForwardResult::NotDelivered)
        {
            // Everything this copy had to do is done and nothing is left
            // to write; tearing down the libraries' statics would only
            // keep the caller waiting.
            std::fflush(nullptr);
            ::_exit(0);
        }
    }
    return becomeBrowser(LauncherPaths::executableFolder(browserArguments.front()),
                         browserArguments.data(), browserEnvironment.data());
}

int BrowserLauncher::becomeBrowser(const QString& launcherFolder, char* const argv[],
                                   char* const envp[])
{
    if (launcherFolder.isEmpty())
    {
        say(QStringLiteral("cannot tell which folder it was started from, so the browser program "
                           "%1 cannot be found")
                .arg(LauncherPaths::BrowserProgramName));
        return BrowserNotFound;
    }
    const QString browser = LauncherPaths::findBrowser(launcherFolder);
    if (browser.isEmpty())
    {
        say(QStringLiteral("the browser program %1 is missing (looked for %2)")
                .arg(LauncherPaths::BrowserProgramName,
                     LauncherPaths::browserCandidates(launcherFolder).join(QStringLiteral(", "))));
        return BrowserNotFound;
    }
    StartupTimeline::mark("launcher becomes the browser");
    ::execve(QFile::encodeName(browser).constData(), argv, envp);
    say(QStringLiteral("cannot start the browser program %1: %2")
            .arg(browser, QString::fromLocal8Bit(std::strerror(errno))));
    return BrowserNotStartable;
}

#include "chrome/TDefaultBrowser.h"
#include "components/ThemeIcon.h"
#include "core/engine/TEngineProfile.h"
#include "core/engine/TVostelBrowser.h"
#include "core/instance/StartupTimeline.h"
#include "core/instance/TEntryRoutine.h"
#include "core/instance/TInstanceChannel.h"
#include "core/instance/TSignalWatcher.h"
#include "core/settings/TQWOptions.h"
#include "core/store/ProgramPaths.h"
#include "core/store/RegistryTypeError.h"
#include "core/window/RepaintPacer.h"
#include "core/window/TApplication.h"
#include "core/window/TfrmMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QSessionManager>

int main(int argc, char* argv[])
{
    StartupTimeline::mark("browser started");
    ProgramPaths::initialiseNames();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    // Holding the channel's lock for the whole run is what makes this the
    // first copy, so the channel lives until main returns.
    TInstanceChannel channel;
    const bool isFirstInstance =
        TEntryRoutine::isUnregisterSwitch(arguments) ? false : channel.acquireFirstInstance();
    const TEntryRoutine::Decision decision =
        TEntryRoutine::decide(arguments, isFirstInstance,
                              []
                              {
                                  // A value of the wrong type must not end the program before it
                                  // has a window to say so in: it counts as not set.
                                  try
                                  {
                                      return TQWOptions().AllowMultiInstance();
                                  }
                                  catch (const RegistryTypeError&)
                                  {
                                      return false;
                                  }
                              });

    switch (decision.action)
    {
    case TEntryRoutine::Action::Unregister:
        TDefaultBrowser::UnregisterAll();
        return 0;
    case TEntryRoutine::Action::Forward:
    {
        // Core and Network only: a forwarding copy starts neither a GUI nor the engine.
        QCoreApplication app(argc, argv);
        TInstanceChannel::forward(
            TEntryRoutine::resolveArgument(decision.forwardArgument, QDir::currentPath()));
        return 0;
    }
    case TEntryRoutine::Action::Run:
        break;
    }
    if (decision.commandLine)
        TQWOptions().SetCommandLine(
            TEntryRoutine::resolveArgument(*decision.commandLine, QDir::currentPath()));

    // The program's own scheme must be known to the engine before it starts.
    TEngineProfile::registerSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TApplication app(argc, argv);
    StartupTimeline::mark("application created");
    SetUpIconTheme();
    channel.listen();

    // Termination may arrive while a question is open during the window's
    // creation; it is remembered and carried out as soon as the window exists.
    TSignalWatcher signalWatcher;
    QPointer<TfrmMain> mainWindow;
    bool terminationPending = false;
    const auto terminate = [&]
    {
        if (mainWindow)
            mainWindow->CloseWithoutQuestions();
        else
        {
            terminationPending = true;
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        }
    };
    QObject::connect(&signalWatcher, &TSignalWatcher::terminationRequested, &app, terminate);
    // The desktop session ending must not wait for an answer either.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                     [&](QSessionManager&) { terminate(); });

    int exitCode = 0;
    try
    {
        TfrmMain frmMain;
        StartupTimeline::mark("window built");
        // Pages load on the same thread the window is composed on.
        new RepaintPacer(&frmMain);
        mainWindow = &frmMain;
        if (!terminationPending) // else frmMain's destruction writes the settings back
        {
            TVostelBrowser::PrepareDrawingIn(&frmMain);
            frmMain.show();
            StartupTimeline::mark("shown");
            // Without a window manager nothing activates the window, and
            // keyboard shortcuts need an active window.
            frmMain.activateWindow();
            exitCode = app.exec();
        }
        mainWindow = nullptr;
    }
    catch (const std::exception& error)
    {
        TApplication::showException(error);
        exitCode = 1;
    }
    // Closed tabs are deleted later; their pages must go before the profile.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    TEngineProfile::release();
    return exitCode;
}

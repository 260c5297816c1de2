#pragma once

#include <QFileInfo>
#include <QImage>
#include <QPoint>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QuillwaveProcess;

// A private X display for tests that press real keys: an Xvfb server on a
// free display number, by default without a window manager, and xdotool to
// find windows, give them the keyboard focus and send key strokes and clicks
// through the XTEST extension, so that the program receives them exactly as
// it receives a person's typing (events sent to one window with XSendEvent
// are marked as synthetic, and Qt's keyboard handling does not rely on
// them). The server ends when the object goes away.
//
// Without a window manager nothing gives a window the focus; focusWindow()
// does what a window manager does on a click into a window: it sets the
// X input focus, and Qt then activates that window. Tests of what only a
// window manager does (minimising) ask for openbox, which draws its frames
// with client-side fonts and so needs no X core fonts on the machine.
class XSession
{
public:
    enum class WindowManager
    {
        None,
        Openbox
    };

    explicit XSession(WindowManager windowManager = WindowManager::None);
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // The programs a session with windowManager needs that cannot be found,
    // separated by blanks; empty when all are there.
    static QString missingTools(WindowManager windowManager = WindowManager::None);

    // Starts the server, and the window manager when one was asked for, and
    // waits until that manages the screen; false (with error set) when
    // either did not come up.
    bool start(QString* error = nullptr);
    bool isRunning() const;
    // ":N"
    QString display() const { return m_display; }
    // The test's own environment with DISPLAY pointing at this server.
    QProcessEnvironment environment() const;

    // Runs xdotool; its standard output, or a null string when it failed.
    // A failure caused by a window that went away while xdotool looked at
    // the tree is asked again a few times.
    QString xdotool(const QStringList& arguments) const;
    // Runs another X tool the same way.
    QString run(const QString& program, const QStringList& arguments) const;

    // The top-level window of process pid titled exactly title that a
    // window manager would manage (not override-redirect) and that is
    // shown; empty when there is none.
    QString findWindow(qint64 pid, const QString& title) const;
    // Waits until findWindow() gives the same window twice in a row over a
    // short interval: a Qt window may be created anew just after it is
    // shown (the engine's view asks for an OpenGL surface). Empty when no
    // window settled within timeoutMs.
    QString waitForSettledWindow(qint64 pid, const QString& title, int timeoutMs) const;
    // The windows of process pid that are shown (its main window and any
    // open menu, list or dialog).
    QStringList visibleWindows(qint64 pid) const;

    // "IsViewable", "IsUnMapped" or "IsUnviewable"; empty when xwininfo failed.
    QString mapState(const QString& window) const;
    // Whether the window manager has taken window on and shows it as a
    // normal (not minimised) window: the state it sets on the window says so.
    bool isManagedNormal(const QString& window) const;
    // Asks the window manager to minimise window.
    bool minimize(const QString& window) const;
    // The root window's tree, every window of process pid with its state,
    // and how the window manager runs: for failure messages.
    QString describeWindows(qint64 pid) const;

    // Gives window the X input focus and waits until the server reports it.
    bool focusWindow(const QString& window, int timeoutMs) const;
    // The window that has the X input focus; empty when none or unknown.
    QString focusedWindow() const;

    // Left click at pos, in window's coordinates; the pointer is parked
    // afterwards.
    bool click(const QString& window, const QPoint& pos) const;
    // Moves the pointer to the screen's corner, outside every window the
    // program places, so that no tool tip opens under it.
    bool parkPointer() const;
    // Types text into whatever has the focus.
    bool type(const QString& text) const;
    // Key strokes in xdotool's notation ("ctrl+Return", "F5", "alt+d"),
    // one after the other.
    bool key(const QStringList& strokes) const;
    bool key(const QString& stroke) const { return key(QStringList{stroke}); }
    // Presses or releases a key (a modifier held over other strokes).
    bool keyDown(const QString& name) const;
    bool keyUp(const QString& name) const;

    // The window's picture as the server shows it; null when it failed.
    QImage grabWindow(const QString& window) const;
    // Writes a picture of the whole screen to path (PNG).
    bool screenshot(const QString& path) const;

    // Whether the tests run under continuous integration (CI set), where a
    // missing tool is a broken machine and fails the test instead of
    // skipping it.
    static bool underCi();

private:
    bool startWindowManager(QString* error);

    WindowManager m_windowManagerKind;
    // Declared before the processes: the window manager's home outlives it.
    QTemporaryDir m_windowManagerHome;
    std::unique_ptr<QuillwaveProcess> m_server;
    // Declared after the server: it ends first.
    std::unique_ptr<QuillwaveProcess> m_windowManager;
    QString m_display;
};

// Fails the current test under CI, skips it elsewhere, when the tools for a
// private X display with windowManager are missing.
#define QW_REQUIRE_X_TOOLS(windowManager)                                                          \
    do                                                                                             \
    {                                                                                              \
        const QString qwMissingXTools = XSession::missingTools(windowManager);                     \
        if (!qwMissingXTools.isEmpty())                                                            \
        {                                                                                          \
            const QString qwWhy = QStringLiteral("needs ") + qwMissingXTools +                     \
                                  QStringLiteral(" (scripts/install-deps.sh installs them)");      \
            if (XSession::underCi())                                                               \
                QFAIL(qPrintable(qwWhy));                                                          \
            QSKIP(qPrintable(qwWhy));                                                              \
        }                                                                                          \
    } while (false)

// Starts session (a std::unique_ptr<XSession>) for a test program that
// drives the real program, optionally with a window manager (the last
// argument, an XSession::WindowManager): fails when the program was not
// built, and when the X tools are missing as QW_REQUIRE_X_TOOLS says.
#define QW_START_X_SESSION(session, programPath, ...)                                              \
    do                                                                                             \
    {                                                                                              \
        const XSession::WindowManager qwWindowManager{__VA_ARGS__};                                \
        QVERIFY2(QFileInfo(programPath).isExecutable(), qPrintable(programPath));                  \
        QW_REQUIRE_X_TOOLS(qwWindowManager);                                                       \
        session = std::make_unique<XSession>(qwWindowManager);                                     \
        QString qwStartError;                                                                      \
        QVERIFY2(session->start(&qwStartError), qPrintable(qwStartError));                         \
    } while (false)

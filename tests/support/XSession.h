#pragma once

#include <QFileInfo>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <memory>

class QuillwaveProcess;

// A private X display for tests that press real keys: an Xvfb server on a
// free display number, without a window manager, and xdotool to
// find windows, give them the keyboard focus and send key strokes through
// the XTEST extension, so that the program receives them exactly as it
// receives a person's typing (events sent to one window with XSendEvent are
// marked as synthetic, and Qt's keyboard handling does not rely on them).
// The server ends when the object goes away.
//
// Without a window manager nothing gives a window the focus; focusWindow()
// does what a window manager does on a click into a window.
class XSession
{
public:
    XSession() = default;
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // Which programs a session needs that cannot be found, and where to get
    // them; empty when all are there.
    static QString missingTools();
    // Under continuous integration (CI set) a missing tool is a broken
    // machine and fails the test instead of skipping it.
    static bool underCi() { return !qEnvironmentVariableIsEmpty("CI"); }

    // Starts the server; false (with error set) when it did not come up.
    bool start(QString* error);
    // ":N"
    QString display() const { return m_display; }

    // Waits until the top-level window of process pid titled exactly title
    // that a window manager would manage (not override-redirect) and that
    // is shown is the same window twice in a row over a short interval: a
    // Qt window may be created anew just after it is shown (the engine's
    // view asks for an OpenGL surface). Empty when no window settled in time.
    QString waitForSettledWindow(qint64 pid, const QString& title) const;

    // How many windows of process pid are shown, pop-up menus included.
    int shownWindowCount(qint64 pid) const;

    // Gives window the X input focus and waits until the server reports it.
    bool focusWindow(const QString& window) const;
    // Moves the pointer to the screen's corner, outside every window the
    // program places, so that no tool tip opens under it.
    bool parkPointer() const { return !run("xdotool", {"mousemove", "1279", "1023"}).isNull(); }
    // Types text into whatever has the focus.
    bool type(const QString& text) const
    {
        return !run("xdotool", {"type", "--delay", "20", "--", text}, 1).isNull();
    }
    // Key strokes in xdotool's notation ("ctrl+Return", "F5", "alt+d"),
    // one after the other.
    bool key(const QString& stroke) const
    {
        return !run("xdotool", {"key", "--delay", "50", "--", stroke}, 1).isNull();
    }
    // Presses (down) or releases a key: a modifier held over other strokes.
    bool press(const QString& name, bool down) const
    {
        return !run("xdotool", {down ? "keydown" : "keyup", name}, 1).isNull();
    }

private:
    // Runs an X tool on this display: its standard output, or a null string
    // when it failed. A failure caused by a window that went away while the
    // tool looked at the tree is asked again a few times, but a key stroke
    // is sent once only: a repeated stroke would be typed twice.
    QString run(const QString& program, const QStringList& arguments, int attempts = 3) const;
    QString findWindow(qint64 pid, const QString& title) const;

    std::unique_ptr<QuillwaveProcess> m_server;
    QString m_display;
    // The test's own, with DISPLAY naming this server.
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
};

// Starts session (a std::unique_ptr<XSession>) for a test program that
// drives the real program: fails when the program was not built; when the
// X tools are missing, fails under CI and skips elsewhere.
#define QW_START_X_SESSION(session, programPath)                                                   \
    do                                                                                             \
    {                                                                                              \
        QVERIFY2(QFileInfo(programPath).isExecutable(), qPrintable(programPath));                  \
        const QString qwMissing = XSession::missingTools();                                        \
        if (!qwMissing.isEmpty() && XSession::underCi())                                           \
            QFAIL(qPrintable(qwMissing));                                                          \
        if (!qwMissing.isEmpty())                                                                  \
            QSKIP(qPrintable(qwMissing));                                                          \
        session = std::make_unique<XSession>();                                                    \
        QString qwStartError;                                                                      \
        QVERIFY2(session->start(&qwStartError), qPrintable(qwStartError));                         \
    } while (false)

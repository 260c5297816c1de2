#pragma once

#include <QFileInfo>
#include <QImage>
#include <QPoint>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <memory>

class QuillwaveProcess;

// A private X display for tests that press real keys: an Xvfb server on a
// free display number, without a window manager, and xdotool to find
// windows, give them the keyboard focus and send key strokes and clicks
// through the XTEST extension, so that the program receives them exactly as
// it receives a person's typing (events sent to one window with XSendEvent
// are marked as synthetic, and Qt's keyboard handling does not rely on
// them). The server ends when the object goes away.
//
// Without a window manager nothing gives a window the focus; focusWindow()
// does what a window manager does on a click into a window: it sets the
// X input focus, and Qt then activates that window.
class XSession
{
public:
    XSession();
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // The programs the session needs that cannot be found, separated by
    // blanks; empty when all are there.
    static QString missingTools();

    // Starts the server; false (with error set) when it did not come up.
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

private:
    std::unique_ptr<QuillwaveProcess> m_server;
    QString m_display;
};

// Skips the current test when the tools for a private X display are missing.
#define QW_SKIP_WITHOUT_X_TOOLS()                                                                  \
    do                                                                                             \
    {                                                                                              \
        const QString qwMissingXTools = XSession::missingTools();                                  \
        if (!qwMissingXTools.isEmpty())                                                            \
            QSKIP(qPrintable(QStringLiteral("needs ") + qwMissingXTools));                         \
    } while (false)

// Starts session (a std::unique_ptr<XSession>) for a test program that
// drives the real program: fails when the program was not built, skips when
// the X tools are missing.
#define QW_START_X_SESSION(session, programPath)                                                   \
    do                                                                                             \
    {                                                                                              \
        QVERIFY2(QFileInfo(programPath).isExecutable(), qPrintable(programPath));                  \
        QW_SKIP_WITHOUT_X_TOOLS();                                                                 \
        session = std::make_unique<XSession>();                                                    \
        QString qwStartError;                                                                      \
        QVERIFY2(session->start(&qwStartError), qPrintable(qwStartError));                         \
    } while (false)

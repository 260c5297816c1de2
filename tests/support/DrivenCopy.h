#pragma once

#include <QDateTime>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QuillwaveHome;
class QuillwaveProcess;
class XSession;

// One copy of the real program on a private X display, driven by real key
// strokes and clicks as a person drives it. It is started from a test home
// (its store, its folders), found on the display and given the keyboard
// focus; what it did is then read from what it leaves behind (the store)
// and from what the test's server was asked.
//
// Should the test fail while the copy runs, a picture of the screen is
// written beside the home's temporary folder (screenshotPath()) before the
// copy is ended, and the path is reported.
class DrivenCopy
{
public:
    // How long anything may take on a loaded machine before it counts as hung.
    static constexpr int PatienceMs = 20000;

    // session and home must outlive the copy.
    DrivenCopy(XSession& session, QuillwaveHome& home);
    ~DrivenCopy();
    DrivenCopy(const DrivenCopy&) = delete;
    DrivenCopy& operator=(const DrivenCopy&) = delete;

    // From the next start on, every host name the engine looks up (and every
    // address) goes to 127.0.0.1:port, so that "http://www.word.com/" reaches
    // a test server on that port, which sees the Host "www.word.com".
    void mapHostsTo(quint16 port);

    // Starts the program with arguments, waits until it is up, its main
    // window is shown and settled, and gives that window the keyboard focus.
    // False (the reason in describe()) when any of it did not happen.
    bool start(const QStringList& arguments = {});
    QuillwaveProcess* process() const { return m_process.get(); }
    bool isRunning() const;
    QString window() const { return m_window; }

    // Gives the main window the X input focus again.
    bool focusWindow();
    // Clicks into the address box and selects all its text, so that what
    // is typed next replaces it.
    bool focusAddressBox();
    // focusAddressBox(), then text, then the submitting stroke.
    bool submitAddress(const QString& text, const QString& stroke = QStringLiteral("Return"));

    bool type(const QString& text) const;
    bool key(const QString& stroke) const;
    bool key(const QStringList& strokes) const;
    bool keyDown(const QString& name) const;
    bool keyUp(const QString& name) const;
    // Presses stroke while holding modifiers ("ctrl", "shift") down until
    // done() holds or the patience runs out, then lets them go; done()'s
    // last answer. The program may read the state of the Shift key when it
    // acts on a stroke rather than when it receives it, as a hand still
    // holds the key then.
    bool strokeHolding(const QStringList& modifiers, const QString& stroke,
                       const std::function<bool()>& done) const;

    // The program's shown windows besides the main window: open menus,
    // drop-down lists, dialogs.
    QStringList popups() const;

    // A second copy hands address over to this one and ends with 0.
    bool forward(const QString& address);
    // Ends the copy as a termination signal does; true when it ended cleanly.
    bool endCleanly();

    // Waits until the page at url has completed in a tab (the program puts
    // a completed page into its history, just after it has shown the page's
    // final address in the box) at since or later. A page is done with the
    // address box only then: text typed into the box sooner may still be
    // replaced by the page's address.
    bool waitForCompletedVisit(const QString& url, const QDateTime& since);

    // The remembered tabs ("Last Open Sites") and the typed addresses, as
    // the store holds them now, in the order of their value numbers.
    QStringList lastOpenSites() const;
    QStringList typedUrls() const;

    // Where the picture of a failure goes.
    QString screenshotPath() const;
    // How the copy ended or runs, what it said, and where the picture goes.
    QString describe();

private:
    std::optional<QPoint> findAddressBox();
    QStringList numberedValues(const QString& key) const;

    XSession& m_x;
    QuillwaveHome& m_home;
    quint16 m_hostPort = 0;
    std::unique_ptr<QuillwaveProcess> m_process;
    QString m_window;
    std::optional<QPoint> m_addressBox;
    QString m_problem;
};

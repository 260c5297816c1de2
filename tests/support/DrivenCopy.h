#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

class QuillwaveHome;
class QuillwaveProcess;
class TestHttpServer;
class XSession;

// One copy of the real program on a private X display, driven by real key
// strokes as a person drives it. It is started from a test home (its store,
// its folders), found on the display and given the keyboard focus; what it
// did is then read from what it leaves behind (the store) and from what the
// test's server was asked.
//
// Helpers say why they failed as a warning.
class DrivenCopy
{
public:
    // session and home must outlive the copy.
    DrivenCopy(XSession& session, QuillwaveHome& home) : m_x(session), m_home(home) {}

    // Starts the program with arguments, waits until it is up, its main
    // window is shown and settled, and gives that window the keyboard focus.
    // False when any of it did not happen.
    bool start(const QStringList& arguments = {});
    QuillwaveProcess* process() const { return m_process; }

    // Alt+D: the address box takes the keyboard with all its text selected,
    // so that what is typed next replaces it; then text and stroke (either
    // may be empty) once the page in front, a reporting page of server, has
    // let the keyboard go: the window carries Alt+D out after the strokes
    // already on their way, which still reach the page.
    bool submitAddress(const TestHttpServer& server, const QString& text,
                       const QString& stroke = QStringLiteral("Return"));
    // Presses stroke while holding modifier ("ctrl", "shift") down until
    // done() holds or the patience runs out, then lets it go; done()'s
    // last answer. The program may read the state of the Shift key when it
    // acts on a stroke rather than when it receives it, as a hand still
    // holds the key then.
    bool strokeHolding(const QString& modifier, const QString& stroke,
                       const std::function<bool()>& done) const;
    // Waits until the page at url has completed in a tab (the program puts
    // a completed page into its history, just after it has shown the page's
    // final address in the box) at since or later. A page is done with the
    // address box only then: text typed into the box sooner may still be
    // replaced by the page's address.
    bool waitForCompletedVisit(const QString& url, const QDateTime& since);

private:
    XSession& m_x;
    QuillwaveHome& m_home;
    QuillwaveProcess* m_process = nullptr;
};

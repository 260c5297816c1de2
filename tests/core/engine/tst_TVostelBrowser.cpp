// The browser control against the real engine and a loopback server.

#include "EngineTestHelpers.h"
#include "TestHttpServer.h"

#include "core/engine/IBrowserControl.h"
#include "core/engine/TEngineProfile.h"
#include "core/engine/TVostelBrowser.h"
#include "core/engine/TVostelPage.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace EngineTestHelpers;

namespace
{
constexpr int Timeout = 20000;

// Records every event as "type frame text" and answers BeforeNavigate and
// NewWindow as told.
class RecordingEvents : public IBrowserEvents
{
public:
    QStringList events;
    QList<NavigationRequest> requests;
    std::function<bool(const NavigationRequest&)> decide;
    std::function<IBrowserControl*()> newWindow;

    bool BeforeNavigate(const NavigationRequest& request) override
    {
        requests << request;
        add("BN", request.url, request.frame);
        return !decide || decide(request);
    }
    IBrowserControl* NewWindow(const QString& url, bool) override
    {
        add("NewWindow", url);
        return newWindow ? newWindow() : nullptr;
    }
    void NavigateComplete(FrameId frame, const QString& url) override { add("NC", url, frame); }
    void DocumentComplete(FrameId frame, const QString& url) override { add("DC", url, frame); }
    void TitleChange(const QString& title) override { add("Title", title); }
    void StatusTextChange(const QString&) override {}
    void ProgressChange(int at, int of) override
    {
        add("Progress", QString("%1/%2").arg(at).arg(of));
    }
    void CommandStateChange(int command, bool on) override
    {
        add("Command", QString("%1 %2").arg(command).arg(on));
    }
    void WindowClosing() override { add("Close"); }
    void IconChange(const QIcon&) override {}
    void InsecureContent() override { add("Insecure"); }
    void PageCrashed() override { add("Crashed"); }
    void PrintRequested() override { add("Print"); }

    void add(const QString& type, const QString& text = {}, FrameId frame = TopFrame)
    {
        events << QString("%1 %2 %3").arg(type).arg(frame).arg(text);
    }
    qsizetype indexOf(const QString& type, const QString& text, FrameId frame = TopFrame) const
    {
        return events.indexOf(QString("%1 %2 %3").arg(type).arg(frame).arg(text));
    }
    bool has(const QString& type, const QString& text, FrameId frame = TopFrame) const
    {
        return indexOf(type, text, frame) >= 0;
    }
    // "BN url", "NC url", "DC url" of the top frame, in order.
    QStringList topSequence() const
    {
        QStringList out;
        for (const QString& e : events.filter(QRegularExpression("^(BN|NC|DC) 0 ")))
            out << e.section(' ', 0, 0) + ' ' + e.section(' ', 2);
        return out;
    }
    QStringList ofType(const QString& type) const
    {
        QStringList out;
        for (const QString& e : events.filter(QRegularExpression('^' + type + ' ')))
            out << e.section(' ', 2);
        return out;
    }
    // The last state a command was given: "1", "0", or empty when never.
    QString lastState(int command) const
    {
        const QStringList states =
            ofType("Command").filter(QRegularExpression(QString("^%1 ").arg(command)));
        return states.isEmpty() ? QString() : states.last().section(' ', 1);
    }
};

// A second browser, for the windows a page opens.
struct Second
{
    TVostelBrowser browser;
    RecordingEvents events;
    explicit Second(RecordingEvents& opener)
    {
        browser.setEvents(&events);
        opener.newWindow = [this] { return &browser; };
    }
};

QByteArray html(const QString& title, const QString& body)
{
    return QStringLiteral(
               "<!DOCTYPE html><html><head><title>%1</title></head><body>%2</body></html>")
        .arg(title, body)
        .toUtf8();
}
} // namespace

class tst_TVostelBrowser : public QObject
{
    Q_OBJECT

private:
    TestHttpServer server;
    std::unique_ptr<TVostelBrowser> browser;
    RecordingEvents events;

    QString url(const QString& path) const { return server.url(path); }
    // Navigates and waits for the top frame's DocumentComplete.
    bool navigateAndWait(const QString& address)
    {
        browser->Navigate(address);
        return waitFor([&] { return events.has("DC", address); });
    }
    bool completes(RecordingEvents& e, const QString& address)
    {
        return waitFor([&] { return e.has("DC", address); });
    }
    QVariant js(const QString& script) { return runJavaScriptSync(browser->page(), script); }
    bool showsCrashPage()
    {
        return runJavaScriptSync(browser->page(), "!!document.getElementById('crashed')",
                                 QWebEngineScript::ApplicationWorld)
            .toBool();
    }
    void restart()
    {
        cleanup();
        init();
    }
    void setSearchEngines(const QStringList& lines)
    {
        TQWOptions().WriteListSection(RegistryKeys::SearchEngines, lines);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(server.listen());
        // clang-format off
        const QList<QStringList> pages{
            {"/simple.html", "Simple", "<a id='next' href='/next.html'>Next page</a><a id='frag' href='#part'>part</a><p id='part'>x</p>"},
            {"/next.html", "Next", "next"},
            {"/frames.html", "Frames", "<iframe src='/child.html'></iframe><iframe src='/child2.html'></iframe>"},
            {"/child.html", "Child", "child"},
            {"/child2.html", "Child 2", "child 2"},
            {"/forbidden.html", "Forbidden", "must not be requested"},
            {"/opener.html", "Opener", "<script>window.open('/popup-target.html')</script>"},
            {"/open-empty.html", "Opener", "<script>var w = window.open(''); setTimeout(function () { w.location.href = '/popup-target.html'; }, 100);</script>"},
            {"/open-closing.html", "Opener", "<script>window.open('/closing.html')</script>"},
            {"/popup-target.html", "Popup", "popup"},
            {"/print.html", "Print", "<script>onload = function () { window.print(); };</script>"},
            {"/closing.html", "Closing", "<script>onload = function () { setTimeout(function () { window.close(); }, 50); };</script>"},
            {"/links.html", "Links", "<a href='/prev.html'>Previous</a> <a href='/next.html?chapter'>the next chapter</a>"},
            {"/search", "Results", "results"},
            {"/form.html", "Form", "<form method='post' action='/post'><input name='note' value='kept &amp; more'><button id='send'>Send</button></form>"},
            {"/to-quillwave.html", "Away", "<script>location.href = 'quillwave:search?f=qs&kw=from+web';</script>"}};
        // clang-format on
        for (const QStringList& page : pages)
            server.routeHtml(page[0], html(page[1], page[2]));
        server.routeHtml("/notitle.html", "<html><body>untitled</body></html>");
        server.routeHtml("/slow.html", html("Slow", "slow"), 4000);
        server.route("/nocontent", TestHttpServer::Response{204, {}, {}, {}, 0});
        server.routeRedirect("/post", "/next.html", 303);
    }

    void init()
    {
        events = RecordingEvents();
        browser = std::make_unique<TVostelBrowser>();
        browser->resize(800, 600);
        browser->setEvents(&events);
        server.clearRequests();
    }

    void cleanup() { browser.reset(); }

    void pageRaisesTheEventsInOrder()
    {
        // An empty title: a stand-in made of the address.
        for (const auto& [path, title] :
             {std::pair{"/simple.html", "Simple"}, {"/notitle.html", ""}})
        {
            restart();
            const QString address = url(path);
            QVERIFY(navigateAndWait(address));
            QCOMPARE(events.topSequence(),
                     QStringList({"BN " + address, "NC " + address, "DC " + address}));
            QCOMPARE(events.requests.first().kind, NavigationRequest::Program);
            QVERIFY(events.requests.first().userInitiated);
            QVERIFY(!browser->Busy());
            QCOMPARE(browser->ReadyState(), 4);
            QCOMPARE(browser->LocationURL(), address);
            // One title reaches the tab, before the document completes: the
            // engine's address-like name that comes first never does.
            const QStringList titles = events.ofType("Title");
            QCOMPARE(titles.size(), 1);
            if (!*title)
                QVERIFY(TVostelBrowser::isPlaceholderTitle(titles.first(), QUrl(address)));
            else
                QCOMPARE(titles.first(), QString(title));
            QVERIFY(events.indexOf("Title", titles.first()) < events.indexOf("DC", address));
            QVERIFY(events.has("Progress", "100/100"));
            QVERIFY(!events.lastState(CommandRefreshIndicators).isNull());
        }
        restart();
        browser->LoadBlank("<html><body><p id='b'>Quillwave blank</p></body></html>");
        QVERIFY(completes(events, "about:blank"));
        QCOMPARE(events.topSequence(),
                 QStringList({"BN about:blank", "NC about:blank", "DC about:blank"}));
        QCOMPARE(bodyText(browser->page()), QStringLiteral("Quillwave blank"));
    }

    // A refused frame is never requested; the others complete, each with
    // its own number, before the top frame does.
    void subFramesCompleteBeforeTheTopFrame()
    {
        events.decide = [](const NavigationRequest& r) { return !r.url.endsWith("child2.html"); };
        const QString address = url("/frames.html");
        QVERIFY(navigateAndWait(address));
        const QString child = url("/child.html");
        FrameId id = UnknownFrame;
        for (const NavigationRequest& request : events.requests)
            id = request.url == child ? request.frame : id;
        QVERIFY(id != TopFrame && id != UnknownFrame);
        QVERIFY(events.indexOf("BN", child, id) < events.indexOf("NC", child, id));
        QVERIFY(events.indexOf("NC", child, id) < events.indexOf("DC", child, id));
        QVERIFY(events.indexOf("DC", child, id) < events.indexOf("DC", address));
        QVERIFY(!server.wasRequested("/child2.html"));
        QCOMPARE(events.ofType("NC").filter("child2").size(), 0);
    }

    // Refused, and another load started at once, as the search pane does
    // with its "DEF:" addresses.
    void refusedTopNavigationNeverReachesTheServer()
    {
        const QString forbidden = url("/forbidden.html");
        const QString next = url("/next.html");
        events.decide = [&](const NavigationRequest& r)
        {
            if (!r.url.contains("forbidden"))
                return true;
            QTimer::singleShot(0, browser.get(), [&] { browser->Navigate(next); });
            return false;
        };
        browser->Navigate(forbidden);
        QVERIFY(completes(events, next));
        QCOMPARE(events.topSequence(),
                 QStringList({"BN " + forbidden, "BN " + next, "NC " + next, "DC " + next}));
        QVERIFY(!server.wasRequested("/forbidden.html"));
        QVERIFY(!browser->Busy());
    }

    // What a locked tab keeps in place: the form's own post and the
    // redirect that answers it.
    void formSubmissionAndItsRedirectAreReportedAsSuch()
    {
        QVERIFY(navigateAndWait(url("/form.html")));
        js("document.getElementById('send').click()");
        QVERIFY(completes(events, url("/next.html")));
        QCOMPARE(server.lastRequest("/post").method, QByteArray("POST"));
        QCOMPARE(server.lastRequest("/post").body, QByteArray("note=kept+%26+more"));
        QCOMPARE(events.requests.at(1).url, url("/post"));
        QCOMPARE(events.requests.at(1).kind, NavigationRequest::FormSubmitted);
        QCOMPARE(events.requests.at(2).kind, NavigationRequest::Redirect);
    }

    // An answer without a document still completes, at the old address; a
    // fragment link announces its address without asking.
    void loadWithoutDocumentCompletesWithTheOldAddress()
    {
        QVERIFY(navigateAndWait(url("/simple.html")));
        events.events.clear();
        browser->Navigate(url("/nocontent"));
        QTRY_COMPARE_WITH_TIMEOUT(events.ofType("DC").size(), 1, Timeout);
        QCOMPARE(events.topSequence(),
                 QStringList({"BN " + url("/nocontent"), "DC " + url("/simple.html")}));
        QVERIFY(!browser->Busy());
        js("document.getElementById('frag').click()");
        QTRY_VERIFY_WITH_TIMEOUT(events.has("NC", url("/simple.html#part")), Timeout);
        QVERIFY(!events.has("BN", url("/simple.html#part")));

        // A navigation while another is on its way: each completes once.
        restart();
        browser->Navigate(url("/slow.html"));
        QTRY_VERIFY_WITH_TIMEOUT(browser->Busy(), Timeout);
        QVERIFY(navigateAndWait(url("/next.html")));
        QCOMPARE(events.topSequence().filter(QRegularExpression("^BN ")).size(), 2);
        QCOMPARE(events.topSequence().filter(QRegularExpression("^DC ")).size(), 2);
        QCOMPARE(events.topSequence().last(), "DC " + url("/next.html"));
        QVERIFY(!browser->Busy());
    }

    // Back, forward and reload; a closed tab reopens with its history, and
    // bytes changed on disk never reach the engine.
    void historyMovesAndMovesToAnotherBrowserUnchangedOnly()
    {
        QVERIFY(navigateAndWait(url("/simple.html")));
        QVERIFY(navigateAndWait(url("/next.html")));
        QTRY_COMPARE_WITH_TIMEOUT(events.lastState(CommandBack), QString("1"), Timeout);
        const QByteArray state = browser->SaveHistory();
        QVERIFY(!state.isEmpty());
        events.events.clear();
        browser->GoBack();
        QVERIFY(completes(events, url("/simple.html")));
        QCOMPARE(events.requests.last().kind, NavigationRequest::BackForward);
        QTRY_COMPARE_WITH_TIMEOUT(events.lastState(CommandForward), QString("1"), Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(events.lastState(CommandBack), QString("0"), Timeout);
        events.events.clear();
        server.clearRequests();
        browser->Refresh(true);
        QVERIFY(completes(events, url("/simple.html")));
        QVERIFY(server.wasRequested("/simple.html"));
        QCOMPARE(events.requests.last().kind, NavigationRequest::Reload);

        RecordingEvents otherEvents;
        TVostelBrowser other;
        other.setEvents(&otherEvents);
        QByteArray damaged = state;
        damaged[damaged.size() / 2] = char(damaged.at(damaged.size() / 2) ^ 0x20);
        QVERIFY(!other.RestoreHistory(damaged));
        QVERIFY(!other.RestoreHistory(state.left(state.size() - 1)));
        QVERIFY(other.RestoreHistory(state));
        QVERIFY(completes(otherEvents, url("/next.html")));
        QTRY_COMPARE_WITH_TIMEOUT(otherEvents.lastState(CommandBack), QString("1"), Timeout);
        other.GoBack();
        QVERIFY(completes(otherEvents, url("/simple.html")));
    }

    // A window the page opens goes to the browser the tab returns; an
    // empty one is decided on the address it is then sent to. A script
    // closing its window, or printing its page, asks only its own tab.
    void newWindowOpensInTheReturnedBrowser()
    {
        for (const char* opener : {"/opener.html", "/open-empty.html"})
        {
            restart();
            Second second(events);
            const QString target = url("/popup-target.html");
            QVERIFY(navigateAndWait(url(opener)));
            QVERIFY(completes(second.events, target));
            QCOMPARE(events.ofType("NewWindow").size(), 1);
            QVERIFY(!second.events.has("NC", QString()));
            // Before the real address the window shows nothing but the blank page.
            const QStringList asked = second.events.ofType("BN");
            for (const QString& address : asked.mid(0, asked.indexOf(target)))
                QCOMPARE(address, QStringLiteral("about:blank"));
            QCOMPARE(second.browser.LocationName(), QStringLiteral("Popup"));
        }
        restart();
        Second closing(events);
        QVERIFY(navigateAndWait(url("/open-closing.html")));
        QTRY_VERIFY_WITH_TIMEOUT(!closing.events.ofType("Close").isEmpty(), Timeout);
        QVERIFY(events.ofType("Close").isEmpty());
        QVERIFY(navigateAndWait(url("/print.html")));
        QTRY_COMPARE_WITH_TIMEOUT(events.ofType("Print").size(), 1, Timeout);
    }

    // Refused by the tab (no browser for it) or by the new browser.
    void refusedNewWindowNeverReachesTheServer()
    {
        for (const bool browserGiven : {false, true})
        {
            restart();
            Second second(events);
            second.events.decide = [](const NavigationRequest& r)
            { return !r.url.contains("popup"); };
            if (!browserGiven)
                events.newWindow = {};
            QVERIFY(navigateAndWait(url("/opener.html")));
            QTRY_VERIFY_WITH_TIMEOUT(!events.ofType("NewWindow").isEmpty(), Timeout);
            if (browserGiven)
                QVERIFY(
                    waitFor([&] { return second.events.has("BN", url("/popup-target.html")); }));
            QVERIFY(navigateAndWait(url("/next.html")));
            QVERIFY(!server.wasRequested("/popup-target.html"));
        }
    }

    void followNextLinkTakesTheFirstNextLink()
    {
        int result = -1;
        const auto follow = [&] { browser->FollowNextLink([&](bool found) { result = found; }); };
        QVERIFY(navigateAndWait(url("/links.html")));
        follow();
        QVERIFY(completes(events, url("/next.html?chapter")));
        QCOMPARE(result, 1);
        result = -1;
        follow();
        QTRY_COMPARE_WITH_TIMEOUT(result, 0, Timeout);
    }

    // The start page needs nothing from anywhere; its search goes to the
    // first template by a redirect. A web page asking for a search and a
    // bad template both reach nothing.
    void programPagesAndTheirSearches()
    {
        setSearchEngines({"Site=" + url("/plain"), "Test=" + url("/search?q=%s")});
        QVERIFY(navigateAndWait("quillwave:start?f=home"));
        QVERIFY(bodyText(browser->page()).contains("Quillwave"));
        QCOMPARE(js("performance.getEntriesByType('resource').length").toInt(), 0);
        QVERIFY(server.requests().isEmpty());
        js("document.querySelector('input[name=kw]').value = 'two words';"
           "document.querySelector('form').submit();");
        QVERIFY(completes(events, url("/search?q=two%20words")));
        QCOMPARE(events.requests.last().kind, NavigationRequest::Redirect);
        QVERIFY(navigateAndWait("quillwave:no-such-page"));
        QVERIFY(bodyText(browser->page()).contains("quillwave:no-such-page"));

        server.clearRequests();
        setSearchEngines({"Test=" + url("/search?q=%s")});
        browser->Navigate(url("/to-quillwave.html"));
        QVERIFY(completes(events, "quillwave:search?f=qs&kw=from+web"));
        setSearchEngines({"Bad=" + url("/search?q=%s&n=%d")});
        QVERIFY(navigateAndWait(QStringLiteral("quillwave:search?f=qs&kw=x")));
        QVERIFY(bodyText(browser->page()).contains("cannot be started"));
        QVERIFY(!server.wasRequested("/search"));
    }

    void browserHelperObjectsAreInjected()
    {
        const QDir folder(TEngineProfile::browserHelperObjectFolder());
        QVERIFY(folder.mkpath("."));
        const QString key = RegistryKeys::ValueKey + "\\" + RegistryKeys::BrowserHelperObjects;
        {
            RegistryStore store;
            TQWOptions(&store).SetLoadBHOs(true);
            // By name in the folder or by full path; a missing one is passed over.
            for (const auto& [name, script] :
                 {std::pair{QString("helper.js"), "window.quillwaveHelper = 'loaded';"},
                  {folder.filePath("absolute-helper.js"), "window.quillwaveSecondHelper = 2;"},
                  {QString("missing-helper.js"), ""}})
            {
                QFile file(folder.filePath(name));
                QVERIFY(!*script || (file.open(QIODevice::WriteOnly) && file.write(script) > 0));
                QVERIFY(store.createKey(key + "\\" + name));
            }
        }
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("missing-helper\\.js.*skipped"));
        TEngineProfile::applySettings();
        QVERIFY(navigateAndWait(url("/simple.html?bho")));
        QTRY_COMPARE_WITH_TIMEOUT(js("window.quillwaveHelper").toString(), QString("loaded"),
                                  Timeout);
        QCOMPARE(js("window.quillwaveSecondHelper").toInt(), 2);

        TQWOptions().SetLoadBHOs(false);
        TEngineProfile::applySettings();
        QVERIFY(navigateAndWait(url("/simple.html?nobho")));
        QCOMPARE(js("typeof window.quillwaveHelper").toString(), QStringLiteral("undefined"));
    }

    void deadRendererShowsTheCrashPageAndCanReload()
    {
        const QString address = url("/simple.html?crash");
        QVERIFY(navigateAndWait(address));
        events.events.clear();
        browser->Navigate("chrome://kill");
        // A dead page answers no script: ask only once the crash page is in.
        QVERIFY(completes(events, address));
        QTRY_VERIFY_WITH_TIMEOUT(showsCrashPage(), Timeout);
        QCOMPARE(browser->LocationURL(), address);
        // The page is still known by its title; the crash is told once, and
        // no reload happens by itself.
        QCOMPARE(browser->LocationName(), QStringLiteral("Simple"));
        QCOMPARE(events.ofType("Crashed").size(), 1);
        QVERIFY(!events.has("BN", address));
        server.clearRequests();
        js("document.querySelector('a').click()");
        QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested("/simple.html"), Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(!showsCrashPage(), Timeout);
        QCOMPARE(browser->LocationName(), QStringLiteral("Simple"));
    }

    // Only the engine's warning marks the page, not a page's own log line;
    // a page cannot pose as the frame probe without its secret.
    void pageCannotPoseAsTheEngine()
    {
        QVERIFY(navigateAndWait(url("/simple.html")));
        js("console.log('Mixed Content: only information');");
        QVERIFY(events.ofType("Insecure").isEmpty());
        js("console.warn('Mixed Content: the page at x');");
        QTRY_COMPARE_WITH_TIMEOUT(events.ofType("Insecure").size(), 1, Timeout);

        const QString secret = "qw-frame:secret ";
        const QString load = R"({"e":"load","id":"a1","top":true,"url":"x"})";
        TVostelPage::FrameMessage parsed;
        QVERIFY(!TVostelPage::parseFrameMessage("qw-frame:guess " + load, secret, parsed));
        QVERIFY(!TVostelPage::parseFrameMessage(secret + "load a1", secret, parsed));
        QVERIFY(TVostelPage::parseFrameMessage(secret + load, secret, parsed));
        QCOMPARE(parsed.event, QStringLiteral("load"));
    }
};

int main(int argc, char* argv[])
{
    return EngineTestHelpers::engineTestMain<tst_TVostelBrowser>(argc, argv);
}

#include "tst_TVostelBrowser.moc"

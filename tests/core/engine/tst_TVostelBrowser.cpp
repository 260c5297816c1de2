// The browser control against the real engine and a loopback server.

#include "EngineTestHelpers.h"
#include "TestHttpServer.h"

#include "chrome/TUserAgentToken.h"
#include "core/engine/IBrowserControl.h"
#include "core/engine/TEngineProfile.h"
#include "core/engine/THistoryIndex.h"
#include "core/engine/THistoryIndexReader.h"
#include "core/engine/TVostelBrowser.h"
#include "core/engine/TVostelPage.h"
#include "core/settings/TQWOptions.h"
#include "core/store/ProgramPaths.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineProfile>

#include <memory>

using namespace EngineTestHelpers;

namespace
{
constexpr int Timeout = 20000;

struct Recorded
{
    // BN, NC, DC, Title, Progress, Command, Close, Icon, Status, Insecure, NewWindow, Crashed
    QString type;
    FrameId frame = TopFrame;
    QString text;
    int number = 0;
    bool flag = false;
};

// Records every event and answers BeforeNavigate and NewWindow as told.
class RecordingEvents : public IBrowserEvents
{
public:
    QList<Recorded> events;
    std::function<bool(const NavigationRequest&)> decide;
    std::function<IBrowserControl*(const QString&, bool)> newWindow;
    QList<NavigationRequest> requests;

    bool BeforeNavigate(const NavigationRequest& request) override
    {
        requests << request;
        events << Recorded{"BN", request.frame, request.url, request.kind, request.userInitiated};
        return decide ? decide(request) : true;
    }
    IBrowserControl* NewWindow(const QString& url, bool userInitiated) override
    {
        events << Recorded{"NewWindow", TopFrame, url, 0, userInitiated};
        return newWindow ? newWindow(url, userInitiated) : nullptr;
    }
    void NavigateComplete(FrameId frame, const QString& url) override
    {
        events << Recorded{"NC", frame, url};
    }
    void DocumentComplete(FrameId frame, const QString& url) override
    {
        events << Recorded{"DC", frame, url};
    }
    void TitleChange(const QString& title) override { events << Recorded{"Title", 0, title}; }
    void StatusTextChange(const QString& text) override { events << Recorded{"Status", 0, text}; }
    void ProgressChange(int progress, int maximum) override
    {
        events << Recorded{"Progress", 0, QString::number(maximum), progress};
    }
    void CommandStateChange(int command, bool enabled) override
    {
        events << Recorded{"Command", 0, {}, command, enabled};
    }
    void WindowClosing() override { events << Recorded{"Close"}; }
    void IconChange(const QIcon&) override { events << Recorded{"Icon"}; }
    void InsecureContent() override { events << Recorded{"Insecure"}; }
    void PageCrashed() override { events << Recorded{"Crashed"}; }

    bool has(const QString& type, const QString& text, FrameId frame = TopFrame) const
    {
        return indexOf(type, text, frame) >= 0;
    }
    qsizetype indexOf(const QString& type, const QString& text, FrameId frame = TopFrame) const
    {
        for (qsizetype i = 0; i < events.size(); ++i)
            if (events[i].type == type && events[i].text == text && events[i].frame == frame)
                return i;
        return -1;
    }
    // "BN url", "NC url", "DC url" of the top frame, in order.
    QStringList topSequence() const
    {
        QStringList out;
        for (const Recorded& e : events)
            if ((e.type == "BN" || e.type == "NC" || e.type == "DC") && e.frame == TopFrame)
                out << e.type + ' ' + e.text;
        return out;
    }
    QStringList ofType(const QString& type) const
    {
        QStringList out;
        for (const Recorded& e : events)
            if (e.type == type)
                out << e.text;
        return out;
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
    bool navigateAndWait(const QString& address, const QString& completeUrl = QString())
    {
        browser->Navigate(address);
        const QString expected = completeUrl.isEmpty() ? address : completeUrl;
        return QTest::qWaitFor([&] { return events.has("DC", expected); }, Timeout);
    }
    void setSearchEngines(const QStringList& lines)
    {
        TQWOptions().WriteListSection(RegistryKeys::SearchEngines, lines);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(server.listen());
        server.routeHtml("/simple.html",
                         html("Simple", "<a id='next' href='/next.html'>Next page</a>"
                                        "<a id='frag' href='#part'>part</a><p id='part'>x</p>"));
        server.routeHtml("/next.html", html("Next", "next"));
        server.routeHtml("/prev.html", html("Prev", "prev"));
        server.routeHtml("/notitle.html", "<html><body>untitled</body></html>");
        server.routeHtml("/frames.html", html("Frames", "<iframe src='/child.html'></iframe>"
                                                        "<iframe src='/child2.html'></iframe>"));
        server.routeHtml("/child.html", html("Child", "child"));
        server.routeHtml("/child2.html", html("Child 2", "child 2"));
        server.routeHtml("/forbidden.html", html("Forbidden", "must not be requested"));
        server.routeHtml("/opener.html",
                         html("Opener", "<script>window.open('/popup-target.html')</script>"));
        server.routeHtml("/popup-target.html", html("Popup", "popup"));
        server.routeHtml("/closing.html",
                         html("Closing", "<script>onload = function () { setTimeout(function () "
                                         "{ window.close(); }, 50); };</script>"));
        server.routeHtml("/slow.html", html("Slow", "slow"), 4000);
        server.routeRedirect("/redir", "/simple.html?redirected");
        TestHttpServer::Response noContent;
        noContent.status = 204;
        server.route("/nocontent", noContent);
        server.routeHtml("/links.html",
                         html("Links", "<a href='/prev.html'>Previous</a> "
                                       "<a href='/next.html?chapter'>the next chapter</a>"));
        server.routeHtml("/nolinks.html", html("No links", "<a href='/prev.html'>Previous</a>"));
        server.routeHtml("/search", html("Results", "results"));
        server.routeHtml("/form.html", html("Form", "<form method='post' action='/post'>"
                                                    "<input name='note' value='kept &amp; more'>"
                                                    "<button id='send'>Send</button></form>"));
        server.routeRedirect("/post", "/next.html", 303);
        server.routeHtml("/plain", html("Plain", "plain"));
        server.routeHtml("/to-quillwave.html",
                         html("Away", "<script>location.href = "
                                      "'quillwave:search?f=qs&kw=from+web';</script>"));
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

    void preparedDrawingLoadsNothing()
    {
        // The window a view is in gets the view's drawing widget before it is
        // first shown, and nothing is loaded or announced for it.
        RecordingEvents viewEvents;
        QWidget window;
        auto* view = new TVostelBrowser(&window);
        view->setEvents(&viewEvents);
        QVERIFY(view->findChildren<QWidget*>().isEmpty());
        const QString location = view->LocationURL();
        const QString name = view->LocationName();

        TVostelBrowser::PrepareDrawingIn(&window);
        QVERIFY(!view->findChildren<QWidget*>().isEmpty());
        QVERIFY(!QTest::qWaitFor([&] { return !viewEvents.events.isEmpty(); }, 500));
        QCOMPARE(view->ReadyState(), 0);
        QVERIFY(!view->Busy());
        QCOMPARE(view->LocationURL(), location);
        QCOMPARE(view->LocationName(), name);

        // It navigates as any other view does.
        const QString address = url("/simple.html");
        view->Navigate(address);
        QVERIFY(QTest::qWaitFor([&] { return viewEvents.has("DC", address); }, Timeout));
        QCOMPARE(viewEvents.topSequence(),
                 QStringList({"BN " + address, "NC " + address, "DC " + address}));
    }

    void simplePageRaisesTheEventsInOrder()
    {
        const QString address = url("/simple.html");
        QCOMPARE(browser->ReadyState(), 0);
        QVERIFY(navigateAndWait(address));
        QCOMPARE(events.topSequence(),
                 QStringList({"BN " + address, "NC " + address, "DC " + address}));
        QCOMPARE(events.requests.first().kind, NavigationRequest::Program);
        QVERIFY(events.requests.first().userInitiated);
        QVERIFY(!browser->Busy());
        QCOMPARE(browser->ReadyState(), 4);
        QCOMPARE(browser->LocationURL(), address);
        QCOMPARE(browser->LocationName(), QStringLiteral("Simple"));
        // The engine's address-like name that comes first never reaches the tab.
        QCOMPARE(events.ofType("Title"), QStringList({"Simple"}));
        QVERIFY(events.indexOf("Title", "Simple") < events.indexOf("DC", address));
        bool sawComplete = false;
        for (const Recorded& e : events.events)
            if (e.type == "Progress" && e.number == 100 && e.text == "100")
                sawComplete = true;
        QVERIFY(sawComplete);
        bool refreshIndicators = false;
        for (const Recorded& e : events.events)
            if (e.type == "Command" && e.number == CommandRefreshIndicators)
                refreshIndicators = true;
        QVERIFY(refreshIndicators);
    }

    void untitledPageGetsItsAddressAsTitleBeforeDocumentComplete()
    {
        const QString address = url("/notitle.html");
        QVERIFY(navigateAndWait(address));
        const QStringList titles = events.ofType("Title");
        QCOMPARE(titles.size(), 1);
        QVERIFY(TVostelBrowser::isPlaceholderTitle(titles.first(), QUrl(address)));
        QVERIFY(events.indexOf("Title", titles.first()) < events.indexOf("DC", address));
    }

    void subFramesCompleteBeforeTheTopFrame()
    {
        const QString address = url("/frames.html");
        QVERIFY(navigateAndWait(address));
        const QString child = url("/child.html");
        const QString child2 = url("/child2.html");
        QTRY_VERIFY_WITH_TIMEOUT(events.ofType("DC").size() == 3, Timeout);
        FrameId childId = UnknownFrame;
        for (const NavigationRequest& request : events.requests)
            if (request.url == child)
                childId = request.frame;
        QVERIFY(childId != TopFrame && childId != UnknownFrame);
        QVERIFY(events.has("NC", child, childId));
        QVERIFY(events.has("DC", child, childId));
        QVERIFY(events.indexOf("BN", child, childId) < events.indexOf("NC", child, childId));
        QVERIFY(events.indexOf("NC", child, childId) < events.indexOf("DC", child, childId));
        const qsizetype topComplete = events.indexOf("DC", address);
        QVERIFY(events.indexOf("DC", child, childId) < topComplete);
        FrameId child2Id = UnknownFrame;
        for (const NavigationRequest& request : events.requests)
            if (request.url == child2)
                child2Id = request.frame;
        QVERIFY(child2Id != childId && child2Id > 0);
        QVERIFY(events.indexOf("DC", child2, child2Id) < topComplete);
    }

    void refusedTopNavigationNeverReachesTheServer()
    {
        // Refused, and another load started at once, as the search pane
        // does with its "DEF:" addresses.
        const QString forbidden = url("/forbidden.html");
        const QString next = url("/next.html");
        events.decide = [&](const NavigationRequest& r)
        {
            if (!r.url.contains("forbidden"))
                return true;
            QTimer::singleShot(0, browser.get(), [&] { browser->Navigate(next); });
            return false;
        };
        QVERIFY(navigateAndWait(url("/simple.html")));
        events.events.clear();
        browser->Navigate(forbidden);
        QTRY_VERIFY_WITH_TIMEOUT(events.has("DC", next), Timeout);
        QCOMPARE(events.topSequence(),
                 QStringList({"BN " + forbidden, "BN " + next, "NC " + next, "DC " + next}));
        QVERIFY(!server.wasRequested("/forbidden.html"));
        QVERIFY(!browser->Busy());
        QCOMPARE(browser->LocationURL(), next);
    }

    void refusedSubFrameNeverReachesTheServer()
    {
        events.decide = [](const NavigationRequest& r) { return !r.url.endsWith("child2.html"); };
        QVERIFY(navigateAndWait(url("/frames.html")));
        QVERIFY(server.wasRequested("/child.html"));
        QVERIFY(!server.wasRequested("/child2.html"));
        QVERIFY(!events.has("NC", url("/child2.html")));
    }

    void redirectIsAnnouncedAndCompletesAtItsTarget()
    {
        const QString target = url("/simple.html?redirected");
        QVERIFY(navigateAndWait(url("/redir"), target));
        QCOMPARE(events.topSequence(), QStringList({"BN " + url("/redir"), "BN " + target,
                                                    "NC " + target, "DC " + target}));
        QCOMPARE(events.requests.at(1).kind, NavigationRequest::Redirect);
    }

    // What a locked tab keeps in place: the form's own post and the
    // redirect that answers it.
    void formSubmissionAndItsRedirectAreReportedAsSuch()
    {
        QVERIFY(navigateAndWait(url("/form.html")));
        runJavaScriptSync(browser->page(), "document.getElementById('send').click()");
        QTRY_VERIFY_WITH_TIMEOUT(events.has("DC", url("/next.html")), Timeout);
        QCOMPARE(server.lastRequest("/post").method, QByteArray("POST"));
        QCOMPARE(server.lastRequest("/post").body, QByteArray("note=kept+%26+more"));
        QCOMPARE(events.requests.at(1).url, url("/post"));
        QCOMPARE(events.requests.at(1).kind, NavigationRequest::FormSubmitted);
        QCOMPARE(events.requests.at(2).kind, NavigationRequest::Redirect);
    }

    void loadWithoutDocumentCompletesWithTheOldAddress()
    {
        QVERIFY(navigateAndWait(url("/simple.html")));
        events.events.clear();
        browser->Navigate(url("/nocontent"));
        QTRY_VERIFY_WITH_TIMEOUT(events.ofType("DC").size() == 1, Timeout);
        QCOMPARE(events.topSequence(),
                 QStringList({"BN " + url("/nocontent"), "DC " + url("/simple.html")}));
        QVERIFY(!browser->Busy());
    }

    void navigatingWhileBusyCompletesEachNavigationOnce()
    {
        browser->Navigate(url("/slow.html"));
        QTRY_VERIFY_WITH_TIMEOUT(browser->Busy(), Timeout);
        QVERIFY(navigateAndWait(url("/next.html")));
        const QStringList sequence = events.topSequence();
        QCOMPARE(sequence.filter(QRegularExpression("^BN ")).size(), 2);
        QCOMPARE(sequence.filter(QRegularExpression("^DC ")).size(), 2);
        QCOMPARE(sequence.last(), "DC " + url("/next.html"));
        QVERIFY(!browser->Busy());
    }

    void fragmentNavigationReportsTheNewAddress()
    {
        QVERIFY(navigateAndWait(url("/simple.html")));
        runJavaScriptSync(browser->page(), "document.getElementById('frag').click()");
        QTRY_VERIFY_WITH_TIMEOUT(events.has("NC", url("/simple.html#part")), Timeout);
        QVERIFY(!events.has("BN", url("/simple.html#part")));
    }

    void backAndForwardCommandStates()
    {
        QVERIFY(navigateAndWait(url("/simple.html")));
        QVERIFY(navigateAndWait(url("/next.html")));
        const auto lastState = [&](int command)
        {
            for (qsizetype i = events.events.size() - 1; i >= 0; --i)
                if (events.events[i].type == "Command" && events.events[i].number == command)
                    return events.events[i].flag ? 1 : 0;
            return -1;
        };
        QTRY_COMPARE_WITH_TIMEOUT(lastState(CommandBack), 1, Timeout);
        events.events.clear();
        browser->GoBack();
        QTRY_VERIFY_WITH_TIMEOUT(events.has("DC", url("/simple.html")), Timeout);
        QCOMPARE(events.requests.last().kind, NavigationRequest::BackForward);
        QTRY_COMPARE_WITH_TIMEOUT(lastState(CommandForward), 1, Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(lastState(CommandBack), 0, Timeout);
    }

    void refreshCompleteRequestsThePageAgain()
    {
        QVERIFY(navigateAndWait(url("/simple.html")));
        events.events.clear();
        server.clearRequests();
        browser->Refresh(true);
        QTRY_VERIFY_WITH_TIMEOUT(events.has("DC", url("/simple.html")), Timeout);
        QVERIFY(server.wasRequested("/simple.html"));
        QCOMPARE(events.requests.last().kind, NavigationRequest::Reload);
    }

    void newWindowOpensInTheReturnedBrowser()
    {
        TVostelBrowser second;
        RecordingEvents secondEvents;
        second.setEvents(&secondEvents);
        events.newWindow = [&](const QString&, bool) { return &second; };
        QVERIFY(navigateAndWait(url("/opener.html")));
        QTRY_VERIFY_WITH_TIMEOUT(secondEvents.has("DC", url("/popup-target.html")), Timeout);
        QCOMPARE(events.ofType("NewWindow"), QStringList({url("/popup-target.html")}));
        QCOMPARE(secondEvents.topSequence().first(), "BN " + url("/popup-target.html"));
        QCOMPARE(second.LocationName(), QStringLiteral("Popup"));
    }

    void refusedNewWindowAddressNeverReachesTheServer()
    {
        TVostelBrowser second;
        RecordingEvents secondEvents;
        secondEvents.decide = [](const NavigationRequest& r) { return !r.url.contains("popup"); };
        second.setEvents(&secondEvents);
        events.newWindow = [&](const QString&, bool) { return &second; };
        QVERIFY(navigateAndWait(url("/opener.html")));
        QTRY_VERIFY_WITH_TIMEOUT(secondEvents.has("BN", url("/popup-target.html")), Timeout);
        QVERIFY(navigateAndWait(url("/next.html")));
        QVERIFY(!server.wasRequested("/popup-target.html"));
        QVERIFY(!secondEvents.has("NC", url("/popup-target.html")));
    }

    void emptyWindowIsDecidedOnItsRealAddress()
    {
        TVostelBrowser second;
        RecordingEvents secondEvents;
        second.setEvents(&secondEvents);
        server.routeHtml("/open-empty.html",
                         html("Opener", "<script>var w = window.open(''); setTimeout(function () "
                                        "{ w.location.href = '/popup-target.html'; }, 100);"
                                        "</script>"));
        events.newWindow = [&](const QString&, bool) { return &second; };
        QVERIFY(navigateAndWait(url("/open-empty.html")));
        QTRY_VERIFY_WITH_TIMEOUT(secondEvents.has("DC", url("/popup-target.html")), Timeout);
        QVERIFY(!secondEvents.has("NC", QString()));
        // Before the real address the window shows nothing but the blank page.
        const QStringList before = secondEvents.ofType("BN").mid(
            0, secondEvents.ofType("BN").indexOf(url("/popup-target.html")));
        for (const QString& address : before)
            QCOMPARE(address, QStringLiteral("about:blank"));
        QVERIFY(secondEvents.ofType("BN").contains(url("/popup-target.html")));
    }

    void newWindowWithoutBrowserIsRefused()
    {
        events.newWindow = [](const QString&, bool) { return nullptr; };
        QVERIFY(navigateAndWait(url("/opener.html")));
        QTRY_VERIFY_WITH_TIMEOUT(!events.ofType("NewWindow").isEmpty(), Timeout);
        QVERIFY(navigateAndWait(url("/next.html")));
        QVERIFY(!server.wasRequested("/popup-target.html"));
    }

    void scriptClosingItsWindowRaisesWindowClosing()
    {
        TVostelBrowser second;
        RecordingEvents secondEvents;
        second.setEvents(&secondEvents);
        server.routeHtml("/open-closing.html",
                         html("Opener", "<script>window.open('/closing.html')</script>"));
        events.newWindow = [&](const QString&, bool) { return &second; };
        QVERIFY(navigateAndWait(url("/open-closing.html")));
        QTRY_VERIFY_WITH_TIMEOUT(!secondEvents.ofType("Close").isEmpty(), Timeout);
        QVERIFY(events.ofType("Close").isEmpty());
    }

    void loadBlankShowsTheGivenDocumentAsAboutBlank()
    {
        browser->LoadBlank("<html><body><p id='b'>Quillwave blank</p></body></html>");
        QTRY_VERIFY_WITH_TIMEOUT(events.has("DC", "about:blank"), Timeout);
        QCOMPARE(events.topSequence(),
                 QStringList({"BN about:blank", "NC about:blank", "DC about:blank"}));
        QCOMPARE(events.requests.first().kind, NavigationRequest::Program);
        QCOMPARE(browser->LocationURL(), QStringLiteral("about:blank"));
        QCOMPARE(bodyText(browser->page()), QStringLiteral("Quillwave blank"));
    }

    void followNextLinkTakesTheFirstNextLink()
    {
        QVERIFY(navigateAndWait(url("/links.html")));
        int result = -1;
        browser->FollowNextLink([&](bool found) { result = found ? 1 : 0; });
        QTRY_COMPARE_WITH_TIMEOUT(result, 1, Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(events.has("DC", url("/next.html?chapter")), Timeout);

        QVERIFY(navigateAndWait(url("/nolinks.html")));
        result = -1;
        browser->FollowNextLink([&](bool found) { result = found ? 1 : 0; });
        QTRY_COMPARE_WITH_TIMEOUT(result, 0, Timeout);
    }

    void startPageIsServedOfflineAndSearches()
    {
        setSearchEngines({"Test=" + url("/search?q=%s")});
        QVERIFY(navigateAndWait("quillwave:start?f=home"));
        QVERIFY(bodyText(browser->page()).contains("Quillwave"));
        // Nothing of it comes from anywhere else.
        QCOMPARE(
            runJavaScriptSync(browser->page(), "performance.getEntriesByType('resource').length")
                .toInt(),
            0);
        QVERIFY(server.requests().isEmpty());
        runJavaScriptSync(browser->page(), "document.querySelector('input[name=kw]').value = "
                                           "'two words'; document.querySelector('form').submit();");
        QTRY_VERIFY_WITH_TIMEOUT(events.has("DC", url("/search?q=two%20words")), Timeout);
        QVERIFY(navigateAndWait("quillwave:no-such-page"));
        QVERIFY(bodyText(browser->page()).contains("quillwave:no-such-page"));
    }

    void quickSearchRedirectsToTheFirstTemplate()
    {
        setSearchEngines({"Plain=" + url("/plain"), "Test=" + url("/search?q=%s&src=qw")});
        const QString target = url("/search?q=a%20b%26c&src=qw");
        QVERIFY(navigateAndWait("quillwave:search?f=qs&kw=a+b%26c", target));
        QCOMPARE(server.requestedPaths().filter("/search"),
                 QStringList({"/search?q=a%20b%26c&src=qw"}));
        QVERIFY(!server.wasRequested("/plain"));
        QCOMPARE(events.requests.last().kind, NavigationRequest::Redirect);
    }

    void malformedTemplateShowsAnErrorAndRequestsNothing()
    {
        setSearchEngines({"Bad=" + url("/search?q=%s&n=%d")});
        const QString address = QStringLiteral("quillwave:search?f=qs&kw=%3Cb%3Ex%3C%2Fb%3E");
        QVERIFY(navigateAndWait(address));
        QVERIFY(!server.wasRequested("/search"));
        const QString text = bodyText(browser->page());
        QVERIFY2(text.contains("cannot be started"), qPrintable(text));
        // The words come back as text, never as markup.
        QVERIFY(text.contains("<b>x</b>"));
        QCOMPARE(
            runJavaScriptSync(browser->page(), "document.querySelector('b') === null").toBool(),
            true);
    }

    void webPagesCannotUseTheProgramPages()
    {
        setSearchEngines({"Test=" + url("/search?q=%s")});
        browser->Navigate(url("/to-quillwave.html"));
        const QString redirect = QStringLiteral("quillwave:search?f=qs&kw=from+web");
        QTRY_VERIFY_WITH_TIMEOUT(events.has("DC", redirect), Timeout);
        QVERIFY(server.wasRequested("/to-quillwave.html"));
        QVERIFY(!server.wasRequested("/search"));
        QVERIFY(!bodyText(browser->page()).contains("results"));
    }

    void userAgentCarriesTheStoreTokens()
    {
        {
            RegistryStore store;
            TUserAgentToken::UpdateUserAgentToken(store, true);
        }
        TEngineProfile::applySettings();
        QVERIFY(navigateAndWait(url("/simple.html?ua")));
        const QString sent =
            QString::fromUtf8(server.lastRequest("/simple.html").headers.value("user-agent"));
        const QRegularExpressionMatch platform = QRegularExpression("\\(([^)]*)\\)").match(sent);
        QVERIFY2(platform.hasMatch(), qPrintable(sent));
        QVERIFY2(platform.captured(1).endsWith("; Quillwave " QW_VERSION), qPrintable(sent));
        QCOMPARE(runJavaScriptSync(browser->page(), "navigator.userAgent").toString(), sent);

        {
            RegistryStore store;
            TUserAgentToken::UpdateUserAgentToken(store, false);
        }
        TEngineProfile::applySettings();
        QCOMPARE(TEngineProfile::profile()->httpUserAgent(), TEngineProfile::baseUserAgent());
    }

    void browserHelperObjectsAreInjected()
    {
        const QString folder = TEngineProfile::browserHelperObjectFolder();
        QVERIFY(QDir().mkpath(folder));
        QFile good(QDir(folder).filePath("helper.js"));
        QVERIFY(good.open(QIODevice::WriteOnly));
        good.write("window.quillwaveHelper = 'loaded';");
        good.close();
        QFile absolute(QDir(folder).filePath("absolute-helper.js"));
        QVERIFY(absolute.open(QIODevice::WriteOnly));
        absolute.write("window.quillwaveSecondHelper = 2;");
        absolute.close();
        {
            RegistryStore store;
            TQWOptions options(&store);
            options.SetLoadBHOs(true);
            const QString key = RegistryKeys::ValueKey + "\\" + RegistryKeys::BrowserHelperObjects;
            QVERIFY(store.createKey(key + "\\helper.js"));
            QVERIFY(store.createKey(key + "\\missing-helper.js"));
            QVERIFY(store.createKey(key + "\\" + QDir(folder).filePath("absolute-helper.js")));
        }
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("missing-helper\\.js.*skipped"));
        TEngineProfile::applySettings();
        QVERIFY(navigateAndWait(url("/simple.html?bho")));
        QTRY_COMPARE_WITH_TIMEOUT(
            runJavaScriptSync(browser->page(), "window.quillwaveHelper").toString(),
            QStringLiteral("loaded"), Timeout);
        QCOMPARE(runJavaScriptSync(browser->page(), "window.quillwaveSecondHelper").toInt(), 2);

        TQWOptions().SetLoadBHOs(false);
        TEngineProfile::applySettings();
        QVERIFY(navigateAndWait(url("/simple.html?nobho")));
        QCOMPARE(runJavaScriptSync(browser->page(), "typeof window.quillwaveHelper").toString(),
                 QStringLiteral("undefined"));
    }

    void completedVisitsGoToTheHistoryIndex()
    {
        QVERIFY(navigateAndWait(url("/simple.html?history")));
        QVERIFY(navigateAndWait("quillwave:start?f=home"));
        QStringList recorded;
        for (const THistoryIndexReader::Entry& entry :
             THistoryIndexReader::allEntries(THistoryIndex::defaultRoot()))
            recorded << entry.url;
        QVERIFY2(recorded.contains(url("/simple.html?history")), qPrintable(recorded.join(' ')));
        QVERIFY(recorded.filter("quillwave:").isEmpty());
    }

    void deadRendererShowsTheCrashPageAndCanReload()
    {
        const QString address = url("/simple.html?crash");
        QVERIFY(navigateAndWait(address));
        events.events.clear();
        browser->Navigate("chrome://kill");
        // A dead page answers no script: ask only once the crash page is in.
        QTRY_VERIFY_WITH_TIMEOUT(events.has("DC", address), Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(bodyText(browser->page()).contains("stopped working"), Timeout);
        QCOMPARE(browser->LocationURL(), address);
        // The page is still known by its title; the crash is told once.
        QCOMPARE(browser->LocationName(), QStringLiteral("Simple"));
        QVERIFY(!events.ofType("Title").contains("Quillwave"));
        QCOMPARE(events.ofType("Crashed").size(), 1);
        // No reload happens by itself.
        QVERIFY(!events.has("BN", address));
        server.clearRequests();
        runJavaScriptSync(browser->page(), "document.querySelector('a').click()");
        QTRY_VERIFY_WITH_TIMEOUT(events.has("BN", address), Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested("/simple.html"), Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(!bodyText(browser->page()).contains("stopped working"), Timeout);
        QCOMPARE(browser->LocationName(), QStringLiteral("Simple"));
    }

    void mixedContentWarningMarksThePageInsecure()
    {
        QVERIFY(navigateAndWait(url("/simple.html")));
        runJavaScriptSync(browser->page(), "console.log('Mixed Content: only information');");
        QVERIFY(navigateAndWait(url("/next.html")));
        QVERIFY(events.ofType("Insecure").isEmpty());
        runJavaScriptSync(browser->page(), "console.warn('Mixed Content: the page at x');");
        QTRY_COMPARE_WITH_TIMEOUT(events.ofType("Insecure").size(), 1, Timeout);
    }

    void hoveringALinkShowsItsAddress()
    {
        browser->show();
        QVERIFY(navigateAndWait(url("/simple.html")));
        const QVariantList box =
            runJavaScriptSync(browser->page(),
                              "var r = document.getElementById('next').getBoundingClientRect();"
                              "[r.left + r.width / 2, r.top + r.height / 2]")
                .toList();
        QCOMPARE(box.size(), 2);
        QWidget* surface = browser->focusProxy();
        QVERIFY(surface);
        const QPoint onLink(box[0].toInt(), box[1].toInt());
        QTRY_VERIFY_WITH_TIMEOUT(
            [&]
            {
                QTest::mouseMove(surface, onLink);
                return events.ofType("Status").contains(url("/next.html"));
            }(),
            Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(
            [&]
            {
                QTest::mouseMove(surface, QPoint(400, 500));
                return events.ofType("Status").last().isEmpty();
            }(),
            Timeout);
    }

    void placeholderTitles_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("placeholder");
        // clang-format off
        QTest::newRow("host and path") << "127.0.0.1:8080/a.html" << "http://127.0.0.1:8080/a.html" << true;
        QTest::newRow("host of root") << "example.test" << "https://example.test/" << true;
        QTest::newRow("whole address") << "quillwave:start?f=home" << "quillwave:start?f=home" << true;
        QTest::newRow("blank") << "about:blank" << "about:blank" << true;
        QTest::newRow("empty") << "" << "http://example.test/" << true;
        QTest::newRow("real title") << "Example" << "http://example.test/" << false;
        QTest::newRow("other page's address") << "example.test/b" << "http://example.test/a" << false;
        // clang-format on
    }
    void placeholderTitles()
    {
        QFETCH(QString, title);
        QFETCH(QString, url);
        QFETCH(bool, placeholder);
        QCOMPARE(TVostelBrowser::isPlaceholderTitle(title, QUrl(url)), placeholder);
    }

    void frameMessages_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("event");
        const QString p = "qw-frame:secret ";
        // clang-format off
        QTest::newRow("created") << p + R"({"e":"created","id":"a1","top":false,"url":"x"})" << true << "created";
        QTest::newRow("load") << p + R"({"e":"load","id":"a1","top":true,"url":"x"})" << true << "load";
        QTest::newRow("other secret") << R"(qw-frame:guess {"e":"load","id":"a1","top":true,"url":"x"})" << false << "";
        QTest::newRow("no prefix") << R"({"e":"load","id":"a1","top":true})" << false << "";
        QTest::newRow("unknown event") << p + R"({"e":"unload","id":"a1","top":true})" << false << "";
        QTest::newRow("no id") << p + R"({"e":"load","top":true})" << false << "";
        QTest::newRow("not json") << p + "load a1" << false << "";
        // clang-format on
    }
    void frameMessages()
    {
        QFETCH(QString, message);
        QFETCH(bool, valid);
        QFETCH(QString, event);
        TVostelPage::FrameMessage parsed;
        QCOMPARE(TVostelPage::parseFrameMessage(message, "qw-frame:secret ", parsed), valid);
        if (valid)
            QCOMPARE(parsed.event, event);
    }
};

int main(int argc, char* argv[])
{
    return EngineTestHelpers::engineTestMain<tst_TVostelBrowser>(argc, argv);
}

#include "tst_TVostelBrowser.moc"

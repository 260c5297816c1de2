// Working offline: which requests stay on the machine, and the real engine
// keeping its pages off a loopback server while offline.

#include "EngineTestHelpers.h"
#include "TestHttpServer.h"

#include "chrome/TLanguage.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/TEngineProfile.h"
#include "core/engine/TOfflineInterceptor.h"
#include "core/engine/TVostelBrowser.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>

#include <memory>
#include <optional>

using namespace EngineTestHelpers;

namespace
{
constexpr int Timeout = 20000;

std::optional<bool> loadResult(QWebEngineView* view, const QUrl& url)
{
    return loadStartedBy(view, [&] { view->load(url); });
}
} // namespace

class tst_TOfflineInterceptor : public QObject
{
    Q_OBJECT

private:
    TestHttpServer server;
    std::unique_ptr<TVostelBrowser> browser;
    QTemporaryDir files;

    // The program's page about working offline is shown, not the page.
    bool showsOfflinePage()
    {
        return runJavaScriptSync(browser->page(), "document.getElementById('offline') !== null",
                                 QWebEngineScript::ApplicationWorld)
            .toBool();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(files.isValid());
        QVERIFY(server.listen());
        server.routeHtml("/page.html",
                         "<!DOCTYPE html><title>Online</title><p id='text'>from the server</p>");
        server.route("/picture.png", TestHttpServer::Response{200, "image/png", "png", {}, 0});
        server.routeHtml("/script.js", "var loaded = true;");
        server.routeHtml("/data", "data");
    }

    void cleanup()
    {
        browser.reset();
        TEngineProfile::setWorkOffline(false);
    }

    void offlineBeforeTheEngineStartsKeepsTheFirstPageAway()
    {
        // The first browser of the run: the engine starts with it.
        TEngineProfile::setWorkOffline(true);
        QVERIFY(TEngineProfile::workOffline());
        browser = std::make_unique<TVostelBrowser>();
        server.clearRequests();
        QCOMPARE(loadResult(browser.get(), QUrl(server.url("/page.html"))), true);
        QVERIFY(showsOfflinePage());
        QCOMPARE(server.requestedPaths(), QStringList());
    }

    void blockedAddressShowsTheProgramsOfflinePage()
    {
        TLanguage english;
        QVERIFY(english.Load(QStringLiteral(QW_SOURCE_DIR "/data/Languages/qweng.ini")));
        browser = std::make_unique<TVostelBrowser>();
        // The browser is a window of its own here; its texts are its own.
        new WindowServices(&english, browser.get());
        TEngineProfile::setWorkOffline(true);
        server.clearRequests();
        // The program's own pages and local files load as ever.
        QCOMPARE(loadResult(browser.get(), QUrl("quillwave:start?f=home")), true);
        QFile local(files.filePath("local.html"));
        QVERIFY(local.open(QIODevice::WriteOnly) && local.write("<p>on this machine</p>") > 0);
        local.close();
        QCOMPARE(loadResult(browser.get(), QUrl::fromLocalFile(local.fileName())), true);
        QCOMPARE(bodyText(browser->page()), QStringLiteral("on this machine"));

        // What the page says is the scheme handler's; it stands where the
        // page would be, in the window's language.
        const QString address = server.url("/page.html");
        browser->Navigate(address);
        QTRY_VERIFY_WITH_TIMEOUT(showsOfflinePage(), Timeout);
        QCOMPARE(browser->LocationURL(), address);
        QCOMPARE(browser->LocationName(), english.GetGlobalText("OfflineTitle"));
        QCOMPARE(server.requestedPaths(), QStringList());

        // Back online, reloading brings the page itself.
        TEngineProfile::setWorkOffline(false);
        browser->Refresh(false);
        QTRY_COMPARE_WITH_TIMEOUT(bodyText(browser->page()), QStringLiteral("from the server"),
                                  Timeout);
        QVERIFY(server.wasRequested("/page.html"));
    }

    void nothingOfAPageReachesTheNetwork()
    {
        // A document written by the program with a web address as its base:
        // every load it starts is a request to the server, as from the site.
        for (const bool offline : {false, true})
        {
            browser = std::make_unique<TVostelBrowser>();
            TEngineProfile::setWorkOffline(offline);
            server.clearRequests();
            const QString html =
                QStringLiteral("<!DOCTYPE html><title>Parts</title><script>var settled = 0;"
                               "function done() { settled++; }</script>"
                               "<img src='/picture.png' onload='done()' onerror='done()'>"
                               "<script src='/script.js' onload='done()' onerror='done()'></script>"
                               "<iframe src='/page.html' onload='done()'></iframe>"
                               "<script>fetch('/data').then(done, done);"
                               "var socket = new WebSocket('ws://127.0.0.1:%1/socket');"
                               "socket.onclose = done;</script><p>shell</p>")
                    .arg(server.port());
            QCOMPARE(loadStartedBy(browser.get(),
                                   [&] { browser->page()->setHtml(html, QUrl(server.url("/"))); }),
                     true);
            QTRY_COMPARE_WITH_TIMEOUT(runJavaScriptSync(browser->page(), "settled").toInt(), 5,
                                      Timeout);
            const QStringList expected =
                offline
                    ? QStringList()
                    : QStringList{"/data", "/page.html", "/picture.png", "/script.js", "/socket"};
            QStringList requested = server.requestedPaths();
            requested.removeAll(QStringLiteral("/favicon.ico"));
            requested.sort();
            QCOMPARE(requested, expected);
        }
    }
};

int main(int argc, char* argv[])
{
    return EngineTestHelpers::engineTestMain<tst_TOfflineInterceptor>(argc, argv);
}

#include "tst_TOfflineInterceptor.moc"

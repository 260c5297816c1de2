// A site put in the restricted zone runs no script on the real engine, however
// its page is reached, and runs scripts again once it is taken out.

#include "EngineTestHelpers.h"
#include "TestHttpServer.h"

#include "chrome/TIEZoneMgr.h"
#include "core/engine/TVostelBrowser.h"
#include "core/engine/TZoneEnforcer.h"
#include "core/store/RegistryStore.h"

#include <QTest>

#include <memory>

using namespace EngineTestHelpers;

class tst_ZoneEnforcementE2E : public QObject
{
    Q_OBJECT

private:
    TestHttpServer server;
    std::unique_ptr<TVostelBrowser> browser;

    // The page's script asks for /ran while the page loads, so a page that
    // finished loading without that request ran no script.
    QString scripted() const
    {
        return QStringLiteral("http://site.test:%1/scripted.html").arg(server.port());
    }
    bool loads(const QString& url)
    {
        return loadStartedBy(browser.get(), [&] { browser->Navigate(url); }) == true;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(server.listen());
        server.routeHtml("/scripted.html", "<!DOCTYPE html><title>s</title><script>"
                                           "document.write('<img src=\"/ran\">');</script>");
        server.route("/ran", TestHttpServer::Response{200, "image/png", "png", {}, 0});
        server.routeHtml("/start.html", "<!DOCTYPE html><title>start</title>");
        browser = std::make_unique<TVostelBrowser>();
    }

    void restrictedSiteRunsNoScriptUntilRemoved()
    {
        RegistryStore store;
        TIEZoneMgr zones(&store);
        QCOMPARE(zones.AddSite(scripted(), ZoneRules::Restricted), 0);

        server.clearRequests();
        QVERIFY(loads(scripted()));
        QVERIFY(server.wasRequested("/scripted.html"));
        QVERIFY(!server.wasRequested("/ran"));

        // Reached from a page of another zone that may run scripts.
        QVERIFY(loads(QStringLiteral("http://intra:%1/start.html").arg(server.port())));
        server.clearRequests();
        QCOMPARE(loadStartedBy(browser.get(),
                               [&]
                               {
                                   browser->page()->runJavaScript(
                                       QStringLiteral("location.href = '%1'").arg(scripted()),
                                       QWebEngineScript::ApplicationWorld);
                               }),
                 true);
        QVERIFY(server.wasRequested("/scripted.html"));
        QVERIFY(!server.wasRequested("/ran"));

        QCOMPARE(zones.RemoveSite(scripted(), ZoneRules::Restricted), 0);
        server.clearRequests();
        QVERIFY(loads(scripted()));
        QVERIFY(server.wasRequested("/ran"));
    }

    void cleanupTestCase() { browser.reset(); }
};

int main(int argc, char* argv[])
{
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    flags += " --host-resolver-rules=\"MAP site.test 127.0.0.1, MAP intra 127.0.0.1\"";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
    return EngineTestHelpers::engineTestMain<tst_ZoneEnforcementE2E>(argc, argv);
}

#include "tst_ZoneEnforcementE2E.moc"

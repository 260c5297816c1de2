// A site put in the restricted zone runs no script on the real engine, however
// its page is reached, and runs scripts again once it is taken out. With
// cookies on "prompt", each site is asked about once in a run, its answer
// holds, and clearing cookies and answers starts it over.

#include "EngineTestHelpers.h"
#include "ScriptedServices.h"
#include "TestHttpServer.h"

#include "chrome/EngineSettingsValues.h"
#include "core/engine/TBrowsingDataCleaner.h"

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
        server.route("/cookie",
                     TestHttpServer::Response{200,
                                              "text/html",
                                              "<title>c</title>",
                                              {{"Set-Cookie", "kept=1; Max-Age=3600; Path=/"}},
                                              0});
        browser = std::make_unique<TVostelBrowser>();
    }

    void restrictedSiteRunsNoScriptUntilRemoved()
    {
        RegistryStore store;
        TIEZoneMgr zones(&store);
        QCOMPARE(zones.AddSite(scripted(), ZoneRules::Restricted), 0);

        server.clearRequests();
        QVERIFY(loads(scripted()));
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

    void cookiePromptAsksOncePerSite()
    {
        RegistryStore store;
        TIEZoneMgr zones(&store);
        zones.SetPolicy(ZoneRules::Cookies, ZoneRules::Prompt);
        zones.SetPolicy(ZoneRules::SessionCookies, ZoneRules::Disallow);
        // The questions go to the services of a window, as the program's do.
        QWidget window;
        auto* services = new ScriptedServices(nullptr, &window);
        services->texts["MAIN>SecurityPromptCookies"] = "Cookies of %1?";
        services->answerFn = [](const ScriptedServices::ConfirmCall& call) {
            return ConfirmResult{call.prompt.contains("site.test"), false};
        };
        window.show();
        const auto cookieSent = [&](const QString& host)
        {
            const QString page = QStringLiteral("http://%1:%2/cookie").arg(host).arg(server.port());
            return loads(page) && server.lastRequest("/cookie").headers.contains("cookie");
        };
        const auto asked = [&](int count)
        { return waitFor([&] { return services->confirmCalls.size() >= count; }); };

        QVERIFY(!cookieSent("site.test"));
        QVERIFY(asked(1));
        // Accepted once answered: sent from a later load on.
        QVERIFY(waitFor([&] { return cookieSent("site.test"); }));
        QVERIFY(!cookieSent("other.test"));
        QVERIFY(asked(2));
        QVERIFY(!cookieSent("other.test"));
        QVERIFY(cookieSent("site.test"));
        QCOMPARE(services->confirmCalls.size(), 2);

        const int clear =
            EngineSettingsValues::ClearCookies | EngineSettingsValues::ClearPermissions;
        QCOMPARE(TBrowsingDataCleaner::Clear(clear, {browser->page()->profile(), {}, {}}), 0);
        QVERIFY(waitFor([&] { return !cookieSent("site.test"); }));
        QVERIFY(asked(3));
        zones.SetPolicy(ZoneRules::Cookies, ZoneRules::Allow);
        zones.SetPolicy(ZoneRules::SessionCookies, ZoneRules::Allow);
    }

    void cleanupTestCase() { browser.reset(); }
};

int main(int argc, char* argv[])
{
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    flags += " --host-resolver-rules=\"MAP site.test 127.0.0.1, MAP intra 127.0.0.1, MAP "
             "other.test 127.0.0.1\"";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
    return EngineTestHelpers::engineTestMain<tst_ZoneEnforcementE2E>(argc, argv);
}

#include "tst_ZoneEnforcementE2E.moc"

// A browser tab with the real engine and a loopback server: what the user
// sees of the tab when the page does something only a real page can.

#include "EngineTestHelpers.h"
#include "FakeTabHost.h"
#include "TestHttpServer.h"

#include "core/engine/TVostelBrowser.h"
#include "core/tabs/TBrowserTab.h"

#include <QTest>

#include <memory>

using namespace EngineTestHelpers;

namespace
{
constexpr int Timeout = 20000;

QByteArray html(const QString& title, const QString& body)
{
    return QStringLiteral(
               "<!DOCTYPE html><html><head><title>%1</title></head><body>%2</body></html>")
        .arg(title, body)
        .toUtf8();
}
} // namespace

class tst_TBrowserTabOnEngine : public QObject
{
    Q_OBJECT

private:
    TestHttpServer server;
    // The host goes after the tab: the tab calls it while it closes.
    std::unique_ptr<FakeTabHost> host;
    std::unique_ptr<TBrowserTab> tab;
    TVostelBrowser* browser = nullptr;

    // Loads address in the tab and waits until the page is complete.
    bool open(const QString& address, const QString& title)
    {
        tab->Navigate(address);
        return QTest::qWaitFor([&] { return browser->LocationName() == title && !tab->Busy; },
                               Timeout);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(server.listen());
        server.routeHtml("/form.html",
                         html("Form", "<form method='post' action='/post'>"
                                      "<input name='note' value='kept data &amp; more'>"
                                      "<button id='send'>Send</button></form>"));
        server.routeRedirect("/post", "/thanks.html", 303);
        server.routeHtml("/thanks.html", html("Thanks", "thanks"));
    }

    void init()
    {
        host = std::make_unique<FakeTabHost>();
        browser = new TVostelBrowser;
        tab = std::make_unique<TBrowserTab>(host.get(), &host->services, browser, false);
        tab->resize(800, 600);
        host->activeTab = tab.get();
        server.clearRequests();
    }

    void cleanup()
    {
        tab.reset();
        host.reset();
    }

    void lockedTabSubmitsItsFormInPlace()
    {
        QVERIFY(open(server.url("/form.html"), "Form"));
        tab->SetLocked(true);
        runJavaScriptSync(browser->page(), "document.getElementById('send').click()");
        QTRY_COMPARE_WITH_TIMEOUT(browser->LocationName(), QStringLiteral("Thanks"), Timeout);
        const TestHttpServer::Request post = server.lastRequest("/post");
        QCOMPARE(post.method, QByteArray("POST"));
        QCOMPARE(post.body, QByteArray("note=kept+data+%26+more"));
        QVERIFY(host->perPreferenceTabs.isEmpty());
        QCOMPARE(browser->LocationURL(), server.url("/thanks.html"));
        QCOMPARE(tab->State(), int(TBrowserTab::StateLocked));
    }

    void crashedTabKeepsItsTitle()
    {
        QVERIFY(open(server.url("/thanks.html"), "Thanks"));
        QCOMPARE(tab->Caption(), QStringLiteral("Thanks"));
        browser->Navigate("chrome://kill");
        QTRY_VERIFY_WITH_TIMEOUT(bodyText(browser->page()).contains("stopped working"), Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(!tab->Busy, Timeout);
        QCOMPARE(tab->Caption(), QStringLiteral("Thanks"));
        QCOMPARE(tab->ImageIndex(), int(TBrowserTab::CrashedImage));
        QCOMPARE(browser->LocationURL(), server.url("/thanks.html"));

        // Loading the page again brings it back, and its icon.
        tab->Refresh();
        QTRY_VERIFY_WITH_TIMEOUT(bodyText(browser->page()).contains("thanks"), Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(!tab->Busy, Timeout);
        QVERIFY(!tab->Crashed());
        QCOMPARE(tab->Caption(), QStringLiteral("Thanks"));
    }
};

int main(int argc, char* argv[])
{
    return EngineTestHelpers::engineTestMain<tst_TBrowserTabOnEngine>(argc, argv);
}

#include "tst_TBrowserTabOnEngine.moc"

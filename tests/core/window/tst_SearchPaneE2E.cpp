#include "EngineTestHelpers.h"
#include "MainWindowHome.h"
#include "TestHttpServer.h"
#include "core/engine/TVostelBrowser.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainSearchPane.h"
#include "core/window/TfrmMain.h"

#include <QtTest>

#include <memory>

using namespace EngineTestHelpers;

// The search pane with the real engine: links clicked in it either open
// among the tabs or stay in the pane, as their targets say.
class tst_SearchPaneE2E : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowHome> m_home;
    std::unique_ptr<TestHttpServer> m_server;
    std::unique_ptr<TfrmMain> m_window;
    MainSearchPane* m_pane = nullptr;

    TVostelBrowser* paneBrowser() const
    {
        return dynamic_cast<TVostelBrowser*>(m_pane->SearchBrowser());
    }
    bool paneShows(const QString& path) const
    {
        return waitFor(
            [&] {
                return paneBrowser()->LocationURL() == m_server->url(path) &&
                       !paneBrowser()->Busy();
            });
    }
    void click(const QString& id) const
    {
        runJavaScriptSync(paneBrowser()->page(),
                          QStringLiteral("document.getElementById('%1').click()").arg(id));
    }

private slots:
    void initTestCase()
    {
        m_home = std::make_unique<MainWindowHome>();
        QVERIFY(m_home->isValid());
        m_server = std::make_unique<TestHttpServer>();
        QVERIFY(m_server->listen());
        const QByteArray def = "DEF:" + m_server->url("/forced").toUtf8();
        m_server->routeHtml("/pane", "<html><body>"
                                     "<a id='main' href='/routed' target='_main'>main</a>"
                                     "<a id='upper' href='/upper' target='_MAIN'>upper</a>"
                                     "<a id='def' href='" +
                                         def +
                                         "' target='_main'>def</a>"
                                         "<form action='/form'><input name='q' value='x'>"
                                         "<button id='go'>Go</button></form></body></html>");
        for (const char* path : {"/routed", "/upper", "/forced", "/form", "/find"})
            m_server->routeHtml(QString::fromLatin1(path), "<html><body>result</body></html>");
        QVERIFY(m_home->seed("SearchBar", m_server->url("/pane")));
        QVERIFY(m_home->seed("StartupMode", "Blank"));
        // Routed links then open in the tab in front; a window would add one.
        QVERIFY(m_home->seed("SearchNewWin", "0"));
        TQWOptions().WriteListSection(RegistryKeys::SearchEngines,
                                      {"Test=" + m_server->url("/find?q=%s")});

        m_window = std::make_unique<TfrmMain>();
        m_window->show();
        m_window->RunCommand(MainCommand::SideBarSearch);
        m_pane = m_window->SearchPane();
        QVERIFY(m_pane->SearchPaneCreated);
        QVERIFY(paneShows("/pane"));
    }
    void cleanupTestCase() { m_window.reset(); }
    void init()
    {
        m_pane->tbNewSearchClick();
        QVERIFY(paneShows("/pane"));
    }

    void mainTargetOpensInATab()
    {
        const int tabs = m_window->TabSet()->Count();
        click("main");
        QVERIFY(waitFor(
            [&]
            { return m_window->GetActivePage()->GetLocationURL() == m_server->url("/routed"); }));
        QCOMPARE(m_window->TabSet()->Count(), tabs);
        QCOMPARE(paneBrowser()->LocationURL(), m_server->url("/pane"));
    }
    void otherSpellingStaysInThePane()
    {
        const int tabs = m_window->TabSet()->Count();
        click("upper");
        QVERIFY(paneShows("/upper"));
        QCOMPARE(m_window->TabSet()->Count(), tabs);
    }
    void defForcesThePane()
    {
        const int tabs = m_window->TabSet()->Count();
        click("def");
        QVERIFY(paneShows("/forced"));
        QCOMPARE(m_window->TabSet()->Count(), tabs);
        for (int i = 0; i < m_window->TabSet()->Count(); ++i)
            QVERIFY(m_window->TabSet()->Tab(i)->GetLocationURL() != m_server->url("/forced"));
    }
    void formStaysInThePane()
    {
        const int tabs = m_window->TabSet()->Count();
        click("go");
        QVERIFY(paneShows("/form?q=x"));
        QCOMPARE(m_window->TabSet()->Count(), tabs);
    }
    void programsSearchPageOpensResultsInATab()
    {
        const int tabs = m_window->TabSet()->Count();
        const QString searchBar = TQWOptions::DefaultText(TQWOptions::Option::SearchBar);
        m_pane->tbChooseSearchBarClick();
        QVERIFY(waitFor(
            [&] { return paneBrowser()->LocationURL() == searchBar && !paneBrowser()->Busy(); }));
        runJavaScriptSync(paneBrowser()->page(),
                          "var f = document.querySelector('form.search');"
                          "f.elements.kw.value = 'two words'; f.requestSubmit();");
        QVERIFY(waitFor([&] { return m_server->wasRequested("/find"); }));
        QCOMPARE(m_server->lastRequest("/find").path, QStringLiteral("/find?q=two%20words"));
        QCOMPARE(m_window->TabSet()->Count(), tabs);
        QCOMPARE(paneBrowser()->LocationURL(), searchBar);
    }
};

int main(int argc, char* argv[])
{
    return engineTestMain<tst_SearchPaneE2E>(argc, argv);
}
#include "tst_SearchPaneE2E.moc"

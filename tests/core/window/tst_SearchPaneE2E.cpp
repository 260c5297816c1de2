#include "EngineTestHelpers.h"
#include "EngineWindow.h"
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

    std::unique_ptr<EngineWindow> m_e;
    MainSearchPane* m_pane = nullptr;

    TVostelBrowser* paneBrowser() const
    {
        return dynamic_cast<TVostelBrowser*>(m_pane->SearchBrowser());
    }
    bool paneShows(const QString& path) const
    {
        return waitFor(
            [&]
            { return paneBrowser()->LocationURL() == m_e->url(path) && !paneBrowser()->Busy(); });
    }
    void click(const QString& id) const
    {
        runJavaScriptSync(paneBrowser()->page(),
                          QStringLiteral("document.getElementById('%1').click()").arg(id));
    }

private slots:
    void initTestCase()
    {
        m_e = std::make_unique<EngineWindow>();
        QVERIFY(m_e->isValid());
        const QByteArray def = "DEF:" + m_e->url("/forced").toUtf8();
        m_e->server.routeHtml("/pane", "<html><body>"
                                       "<a id='main' href='/routed' target='_main'>main</a>"
                                       "<a id='upper' href='/upper' target='_MAIN'>upper</a>"
                                       "<a id='def' href='" +
                                           def +
                                           "' target='_main'>def</a>"
                                           "<form action='/form'><input name='q' value='x'>"
                                           "<button id='go'>Go</button></form></body></html>");
        for (const char* path : {"/routed", "/upper", "/forced", "/form", "/find"})
            m_e->server.routeHtml(QString::fromLatin1(path), "<html><body>result</body></html>");
        TQWOptions().WriteListSection(RegistryKeys::SearchEngines,
                                      {"Test=" + m_e->url("/find?q=%s")});

        // Routed links then open in the tab in front; a window would add one.
        QVERIFY(m_e->open({{"SearchBar", m_e->url("/pane")}, {"SearchNewWin", "0"}}));
        m_e->window->RunCommand(MainCommand::SideBarSearch);
        m_pane = m_e->window->SearchPane();
        QVERIFY(m_pane->SearchPaneCreated);
        QVERIFY(paneShows("/pane"));
    }
    void cleanupTestCase() { m_e.reset(); }
    void init()
    {
        m_pane->tbNewSearchClick();
        QVERIFY(paneShows("/pane"));
    }

    // Only the exact "_main" target opens among the tabs (in the tab in
    // front); another spelling, a DEF: address and a form stay in the pane.
    void linksOpenWhereTheirTargetsSay_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("inTab"); // empty: stays in the pane
        QTest::addColumn<QString>("inPane");
        QTest::newRow("_main") << "main" << "/routed" << "/pane";
        QTest::newRow("_MAIN") << "upper" << "" << "/upper";
        QTest::newRow("DEF: forces the pane") << "def" << "" << "/forced";
        QTest::newRow("form") << "go" << "" << "/form?q=x";
    }
    void linksOpenWhereTheirTargetsSay()
    {
        QFETCH(QString, id);
        QFETCH(QString, inTab);
        QFETCH(QString, inPane);
        TTabSet* tabs = m_e->window->TabSet();
        const int count = tabs->Count();
        click(id);
        if (!inTab.isEmpty())
            QVERIFY(waitFor(
                [&] { return m_e->window->GetActivePage()->GetLocationURL() == m_e->url(inTab); }));
        QVERIFY(paneShows(inPane));
        QCOMPARE(tabs->Count(), count);
        for (int i = 0; inTab.isEmpty() && i < count; ++i)
            QVERIFY(tabs->Tab(i)->GetLocationURL() != m_e->url(inPane));
    }
    void programsSearchPageOpensResultsInATab()
    {
        const int tabs = m_e->window->TabSet()->Count();
        const QString searchBar = TQWOptions::DefaultText(TQWOptions::Option::SearchBar);
        m_pane->tbChooseSearchBarClick();
        QVERIFY(waitFor(
            [&] { return paneBrowser()->LocationURL() == searchBar && !paneBrowser()->Busy(); }));
        runJavaScriptSync(paneBrowser()->page(),
                          "var f = document.querySelector('form.search');"
                          "f.elements.kw.value = 'two words'; f.requestSubmit();");
        QVERIFY(waitFor([&] { return m_e->server.wasRequested("/find"); }));
        QCOMPARE(m_e->server.lastRequest("/find").path, QStringLiteral("/find?q=two%20words"));
        QCOMPARE(m_e->window->TabSet()->Count(), tabs);
        QCOMPARE(paneBrowser()->LocationURL(), searchBar);
    }
};

int main(int argc, char* argv[])
{
    return engineTestMain<tst_SearchPaneE2E>(argc, argv);
}
#include "tst_SearchPaneE2E.moc"

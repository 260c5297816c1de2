#include "EngineTestHelpers.h"
#include "EngineWindow.h"
#include "chrome/TFindBar.h"
#include "components/TQWPageControl.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/TVostelBrowser.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainDragDrop.h"
#include "core/window/MainFavorites.h"
#include "core/window/MainPageCommands.h"
#include "core/window/MainSearchPane.h"
#include "core/window/TfrmMain.h"
#include "groups/FolderListing.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QtTest>

#include <memory>

using namespace EngineTestHelpers;

// What only the real engine shows, in one real window: the find bar counts
// and steps through a word's matches; View Source opens a tab of its own;
// the page link leaves the window as a shortcut file that, dropped on a
// background tab's header, sends that tab to its address; and links clicked
// in the search pane open among the tabs or stay in the pane as their
// targets say.
class tst_PageCommandsE2E : public QObject
{
    Q_OBJECT

    std::unique_ptr<EngineWindow> m_e;
    MainSearchPane* m_pane = nullptr;

    TfrmMain* window() const { return m_e->window.get(); }
    TTabSet* tabs() const { return window()->TabSet(); }
    TBrowserTab* tab() const { return window()->GetActivePage(); }
    bool navigate(TBrowserTab* tab, const QString& path) const
    {
        tab->Navigate(m_e->url(path));
        return EngineWindow::shows(tab, m_e->url(path));
    }
    TFindBar* bar() const { return window()->PageCommands()->FindBar(); }
    bool shows(int active, int count) const
    {
        return bar()->lblFindCount->text() ==
               window()->Services()->GetLangText("MAIN", "FindBarCount").arg(active).arg(count);
    }
    TVostelBrowser* paneBrowser() const
    {
        return dynamic_cast<TVostelBrowser*>(m_pane->SearchBrowser());
    }
    bool paneShows(const QString& url) const
    {
        return waitFor([&]
                       { return paneBrowser()->LocationURL() == url && !paneBrowser()->Busy(); });
    }

private slots:
    void initTestCase()
    {
        m_e = std::make_unique<EngineWindow>();
        QVERIFY(m_e->isValid());
        m_e->server.routeHtml("/words", "<html><body><p>plum Plum</p><p>a plum, the plum</p>"
                                        "</body></html>");
        m_e->server.routeHtml("/cartoon", "<html><head><title>Tom &amp; Jerry</title></head>"
                                          "<body>cartoon</body></html>");
        const QByteArray def = "DEF:" + m_e->url("/forced").toUtf8();
        m_e->server.routeHtml("/pane", "<html><body>"
                                       "<a id='main' href='/routed' target='_main'>main</a>"
                                       "<a id='def' href='" +
                                           def +
                                           "' target='_main'>def</a>"
                                           "<form action='/form'><input name='q' value='x'>"
                                           "<button id='go'>Go</button></form></body></html>");
        for (const char* path : {"/other", "/routed", "/forced", "/form", "/find"})
            m_e->server.routeHtml(QString::fromLatin1(path), "<html><body>result</body></html>");
        TQWOptions().WriteListSection(RegistryKeys::SearchEngines,
                                      {"Test=" + m_e->url("/find?q=%s")});
        // Routed links then open in the tab in front; a window would add one.
        QVERIFY(m_e->open({{"SearchBar", m_e->url("/pane")}, {"SearchNewWin", "0"}}));
        window()->RunCommand(MainCommand::SideBarSearch);
        m_pane = window()->SearchPane();
        QVERIFY(m_pane->SearchPaneCreated);
        QVERIFY(paneShows(m_e->url("/pane")));
    }
    void cleanupTestCase() { m_e.reset(); }

    void findCountsAndStepsThroughMatches()
    {
        QVERIFY(navigate(tab(), "/words"));
        window()->RunCommand(MainCommand::Find);
        QVERIFY(bar()->isVisible());
        QTest::keyClicks(bar()->edtFind, "plum");
        QVERIFY2(waitFor([&] { return shows(1, 4); }), qPrintable(bar()->lblFindCount->text()));
        // The case rule leaves one match out; the search goes on from the
        // match shown, wherever the engine puts it.
        bar()->chkMatchCase->setChecked(true);
        int active = 0;
        waitFor(
            [&]
            {
                for (active = 3; active > 0 && !shows(active, 3); --active)
                {
                }
                return active > 0;
            });
        QVERIFY2(active, qPrintable(bar()->lblFindCount->text()));
        QTest::keyClick(bar()->edtFind, Qt::Key_Return);
        QVERIFY2(waitFor([&] { return shows(active % 3 + 1, 3); }),
                 qPrintable(bar()->lblFindCount->text()));
        QTest::keyClick(bar()->edtFind, Qt::Key_Return, Qt::ShiftModifier);
        QVERIFY2(waitFor([&] { return shows(active, 3); }),
                 qPrintable(bar()->lblFindCount->text()));
        QTest::keyClick(bar()->edtFind, Qt::Key_Escape);
        QVERIFY(bar()->isHidden());
    }

    void viewSourceOpensATab()
    {
        QVERIFY(navigate(tab(), "/words"));
        const QString source = "view-source:" + m_e->url("/words");
        const int count = tabs()->Count();
        window()->RunCommand(MainCommand::ViewSource);
        QCOMPARE(tabs()->Count(), count + 1);
        QVERIFY(waitFor(
            [&]
            {
                for (int i = 0; i < tabs()->Count(); ++i)
                    if (tabs()->Tab(i)->GetLocationURL() == source && !tabs()->Tab(i)->Busy)
                        return true;
                return false;
            }));
    }

    void pageLinkBecomesAFavoriteAndOpensInABackgroundTab()
    {
        TBrowserTab* front = tab();
        const QString cartoon = m_e->url("/cartoon");
        QVERIFY(navigate(front, "/cartoon"));
        QVERIFY(waitFor([&] { return front->GetLocationName() == "Tom & Jerry"; }));
        std::unique_ptr<QMimeData> link(window()->findChild<MainDragDrop*>()->PageLinkData());
        QVERIFY(link && link->urls().size() == 1 && link->urls()[0].isLocalFile());
        QCOMPARE(link->text(), cartoon);

        // The file manager's part: a copy of the dragged file in the folder.
        const QString source = link->urls()[0].toLocalFile();
        const QString favorites = window()->Favorites()->FavoritesFolder();
        const QString copy = favorites + '/' + QFileInfo(source).fileName();
        QVERIFY(QFile::copy(source, copy));
        bool read = false;
        for (const FolderEntry& entry : FolderListing::list(favorites))
            read |= entry.path == copy && FolderListing::target(entry) == cartoon &&
                    entry.caption.startsWith("Tom");
        QVERIFY2(read, qPrintable(copy));

        TBrowserTab* back = tabs()->AddTab();
        QVERIFY(navigate(back, "/other"));
        tabs()->ActivateTab(front);
        QCOMPARE(tab(), front);
        TQWPageControl* pages = window()->PageControl();
        int visible = 0;
        while (visible < pages->visibleCount() && pages->visiblePage(visible) != back)
            ++visible;
        QVERIFY(visible < pages->visibleCount());
        const QPoint header = pages->tabStrip()->mapFrom(pages, pages->tabRect(visible).center());
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(copy)});
        // The application hands a drop only to the widget that took the
        // drag's entry.
        QDragEnterEvent enter(header, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pages->tabStrip(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(header, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        const int count = tabs()->Count();
        QApplication::sendEvent(pages->tabStrip(), &drop);
        QVERIFY(drop.isAccepted());
        QVERIFY(EngineWindow::shows(back, cartoon));
        QCOMPARE(tabs()->Count(), count);
        QCOMPARE(tab(), front);
        QCOMPARE(front->GetLocationURL(), cartoon);
    }

    // A "_main" target opens among the tabs (in the tab in front); a DEF:
    // address and a form stay in the pane. Other spellings are the routing
    // rule's.
    void searchPaneLinksOpenWhereTheirTargetsSay_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("inTab"); // empty: stays in the pane
        QTest::addColumn<QString>("inPane");
        // clang-format off
        QTest::newRow("_main") << "main" << "/routed" << "/pane";
        QTest::newRow("DEF: forces the pane") << "def" << "" << "/forced";
        QTest::newRow("form") << "go" << "" << "/form?q=x";
        // clang-format on
    }
    void searchPaneLinksOpenWhereTheirTargetsSay()
    {
        QFETCH(QString, id);
        QFETCH(QString, inTab);
        QFETCH(QString, inPane);
        m_pane->tbNewSearchClick();
        QVERIFY(paneShows(m_e->url("/pane")));
        const int count = tabs()->Count();
        runJavaScriptSync(paneBrowser()->page(),
                          QStringLiteral("document.getElementById('%1').click()").arg(id));
        if (!inTab.isEmpty())
            QVERIFY(waitFor([&] { return tab()->GetLocationURL() == m_e->url(inTab); }));
        QVERIFY(paneShows(m_e->url(inPane)));
        QCOMPARE(tabs()->Count(), count);
        for (int i = 0; inTab.isEmpty() && i < count; ++i)
            QVERIFY(tabs()->Tab(i)->GetLocationURL() != m_e->url(inPane));
    }

    void programsSearchPageOpensResultsInATab()
    {
        const int count = tabs()->Count();
        const QString searchBar = TQWOptions::DefaultText(TQWOptions::Option::SearchBar);
        m_pane->tbChooseSearchBarClick();
        QVERIFY(paneShows(searchBar));
        runJavaScriptSync(paneBrowser()->page(),
                          "var f = document.querySelector('form.search');"
                          "f.elements.kw.value = 'two words'; f.requestSubmit();");
        QVERIFY(waitFor([&] { return m_e->server.wasRequested("/find"); }));
        QCOMPARE(m_e->server.lastRequest("/find").path, QStringLiteral("/find?q=two%20words"));
        QCOMPARE(tabs()->Count(), count);
        QCOMPARE(paneBrowser()->LocationURL(), searchBar);
    }
};

int main(int argc, char* argv[])
{
    return engineTestMain<tst_PageCommandsE2E>(argc, argv);
}
#include "tst_PageCommandsE2E.moc"

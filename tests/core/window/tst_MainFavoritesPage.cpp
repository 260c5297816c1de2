// The side bar and its pages in a window of fake pages: its width, the
// Favorites key, tree and pane, and the History page.

#include "MainWindowFixture.h"
#include "components/TFindPanel.h"
#include "core/engine/THistoryIndex.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainFavorites.h"
#include "core/window/MainFavoritesPage.h"
#include "core/window/TMainMenu.h"
#include "core/window/TfrmMain.h"
#include "groups/HistoryTreeModel.h"
#include "groups/InternetShortcut.h"
#include "groups/TFavoritesPage.h"
#include "groups/TFavoritesTree.h"
#include "groups/THistoryPage.h"
#include "groups/TKoncoBar.h"
#include "groups/TLinksBar.h"
#include "groups/TfrmFavorites.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QToolButton>

namespace
{
// The side bar's Favorites tree, shown, once node path has been read.
TFavoritesTree* treeShowing(TfrmMain* window, const QString& path)
{
    window->RunCommand(MainCommand::SideBarFavorites);
    TFavoritesTree* tree = window->Favorites()->Page()->Page()->shFavorites;
    if (!QTest::qWaitFor([&] { return !tree->visualRect(tree->nodeOf(path)).isEmpty(); }))
        return nullptr;
    return tree;
}

TfrmFavorites* showPane(TfrmMain* window)
{
    window->RunCommand(MainCommand::FavoritesPane);
    return window->Favorites()->Page()->FavoritesPane();
}

// The first page of the tree, newest first, as "period/site/page"; the
// grouping itself is the model's.
QString newest(const HistoryTreeModel& model)
{
    const QModelIndex period = model.index(0, 0), site = model.index(0, 0, period);
    return period.data().toString() + u'/' + site.data().toString() + u'/' +
           model.index(0, 0, site).data().toString();
}

bool visit(const char* url, const char* title, int secondsAgo)
{
    return THistoryIndex::recordVisit(QString::fromLatin1(url), QString::fromLatin1(title),
                                      QDateTime::currentDateTime().addSecs(-secondsAgo),
                                      THistoryIndex::defaultRoot());
}
} // namespace

class tst_MainFavoritesPage : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_f = std::make_unique<MainWindowFixture>(); }
    void cleanup() { QW_FINISH_MAIN_WINDOW(m_f); }

    void clickingAShortcutOpensItsAddress_data()
    {
        QTest::addColumn<bool>("newWin");
        QTest::newRow("in the tab in front") << false;
        QTest::newRow("in a tab of its own") << true;
    }

    void clickingAShortcutOpensItsAddress()
    {
        QFETCH(bool, newWin);
        QVERIFY(m_f->seed(QStringLiteral("FavoritesNewWin"), newWin ? "1" : "0"));
        TfrmMain* window = m_f->createActive();
        const QString path = InternetShortcut::write(window->Favorites()->FavoritesFolder(), "Page",
                                                     "http://fav.test/");
        TFavoritesTree* tree = treeShowing(window, path);
        QVERIFY(tree);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualRect(tree->nodeOf(path)).center());
        QCOMPARE(window->TabSet()->Count(), newWin ? 2 : 1);
        QCOMPARE(m_f->made.last()->navigations.last(), QStringLiteral("http://fav.test/"));
    }

    // A Links folder made or removed while the program runs is followed.
    void linksBarFollowsItsFolder()
    {
        TfrmMain* window = m_f->createActive();
        TLinksBar* bar = window->Favorites()->LinksBar();
        const QString links = QDir(window->Favorites()->FavoritesFolder()).filePath("Links");
        QVERIFY(bar->Folder().isEmpty());
        QVERIFY(QDir().mkpath(links));
        QVERIFY(!InternetShortcut::write(links, "News", "http://news.test/").isEmpty());
        QTRY_COMPARE(bar->Buttons().size(), 1);
        QVERIFY(!InternetShortcut::write(links, "Mail", "http://mail.test/").isEmpty());
        QTRY_COMPARE(bar->Buttons().size(), 2);
        QVERIFY(QDir(links).removeRecursively());
        QTRY_VERIFY(bar->Buttons().isEmpty());
    }

    void favoritesKeyTogglesThePage()
    {
        TfrmMain* window = m_f->createActive();
        TKoncoBar* bar = window->KoncoBar();
        // hidden → shown on Favorites → hidden; on another page → Favorites
        for (const bool shown : {true, false})
        {
            emit window->appCommand(TAppCommandFilter::Favorites);
            QCOMPARE(bar->isVisible(), shown);
        }
        window->RunCommand(MainCommand::SideBarVostelGroups);
        emit window->appCommand(TAppCommandFilter::Favorites);
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->activePage(), TKoncoBar::Favorites);
        QVERIFY(window->Favorites()->Page()->Page()->FavoritesTreeLoaded);
    }

    void f2WhileRenamingStaysInTheTree()
    {
        TfrmMain* window = m_f->createActive(2);
        const TBrowserTab* front = window->GetActivePage();
        const QString folder = QDir(window->Favorites()->FavoritesFolder()).filePath("Old");
        QVERIFY(QDir().mkpath(folder));
        TFavoritesTree* tree = treeShowing(window, folder);
        QVERIFY(tree);
        QVERIFY(tree->startRename(tree->nodeOf(folder)));
        auto* editor = tree->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_F2);
        // The window runs a command once the key has been dealt with.
        QCoreApplication::processEvents();
        QCOMPARE(window->GetActivePage(), front);
        QVERIFY(tree->renaming());
        // Anywhere else F2 is the previous tab.
        front->Browser()->widget()->setFocus();
        QTest::keyClick(front->Browser()->widget(), Qt::Key_F2);
        QTRY_VERIFY(window->GetActivePage() != front);
    }

    void paneStaysShownUntilEsc()
    {
        TfrmMain* window = m_f->createActive();
        TfrmFavorites* pane = showPane(window);
        QVERIFY(pane && pane->isVisible());
        QVERIFY(showPane(window)->isVisible());
        // A tool window counts as active with its parent; the keys follow
        // the window the system made active.
        QTRY_COMPARE(QApplication::activeWindow(), pane);
        QTest::keyClick(pane->shFavorites, Qt::Key_Escape);
        QVERIFY(pane->isHidden());
    }

    void paneSizeSurvivesARestart()
    {
        TfrmMain* window = m_f->createActive();
        showPane(window)->resize(333, 222);
        m_f->closeWindow();
        QCOMPARE(m_f->stored(QStringLiteral("FavoritesWidth")), QStringLiteral("333"));
        QCOMPARE(m_f->stored(QStringLiteral("FavoritesHeight")), QStringLiteral("222"));
        window = m_f->createActive();
        QCOMPARE(showPane(window)->size(), QSize(333, 222));
    }

    void widthAndVisibilityAreWrittenBack()
    {
        QVERIFY(m_f->seed(QStringLiteral("ViewVostelBar"), QStringLiteral("1")));
        QVERIFY(m_f->seed(QStringLiteral("VostelBarWidth"), QStringLiteral("150")));
        TfrmMain* window = m_f->createActive();
        TKoncoBar* bar = window->KoncoBar();
        QCOMPARE(bar->width(), 150);
        // The user drags the splitter 40 pixels to the right.
        QWidget* handle = window->findChild<QSplitter*>(QStringLiteral("splSideBar"))->handle(1);
        const QPoint grip = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, grip + QPoint(40, 0));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(40, 0));
        QCOMPARE(bar->width(), 190);
        // Hidden, the bar keeps the width it will come back with.
        window->RunCommand(MainCommand::ToggleSideBar);
        QVERIFY(bar->isHidden() && !window->MainMenu()->SideBarItem()->isChecked());
        m_f->closeWindow();
        QCOMPARE(m_f->stored(QStringLiteral("VostelBarWidth")), QStringLiteral("190"));
        QCOMPARE(m_f->stored(QStringLiteral("ViewVostelBar")), QStringLiteral("0"));
    }

    void historyVisitsFindAndClear()
    {
        QVERIFY(visit("http://news.test/today", "Daily Quokka News", 2));
        QVERIFY(visit("http://shop.test/", "Shop", 1));
        TfrmMain* window = m_f->createActive();
        auto* page = window->findChild<THistoryPage*>();
        QCOMPARE(page->model()->rowCount(), 0); // read on its first showing only
        window->RunCommand(MainCommand::SideBarHistory);
        QTRY_VERIFY(page->isVisible());
        QCOMPARE(newest(*page->model()), QStringLiteral("Today/shop.test/Shop"));
        // A visit recorded while the page is in front shows up by itself.
        QVERIFY(visit("http://shop.test/cart", "Cart", 0));
        QTRY_COMPARE(newest(*page->model()), QStringLiteral("Today/shop.test/Cart"));

        // Find mode: a word of a title finds its page; choosing it opens it.
        page->tbFindHistory->click();
        QVERIFY(page->shHistory->isHidden());
        TFindPanel* find = page->pnlFindHistory;
        find->edtFind->setText(QStringLiteral("quokka"));
        find->spdFind->click();
        QCOMPARE(find->results()->count(), 1);
        const qsizetype before = m_f->made.size();
        find->chooseRow(0);
        QTRY_COMPARE(m_f->made.size(), before + 1); // HistoryNewWin: a new tab
        QCOMPARE(m_f->made.last()->navigations, QStringList{"http://news.test/today"});

        m_f->expectDialogs();
        ModalDialogAnswerer yes([](QWidget* dialog)
                                { dialog->findChild<QPushButton*>("cmdOK")->click(); });
        page->spdClearHistory->click();
        QCOMPARE(yes.count(), 1);
        QCOMPARE(page->model()->rowCount(), 0);
        find->spdFind->click();
        QCOMPARE(find->results()->count(), 1);
        QVERIFY(find->results()->row(0).address.isEmpty());
    }

private:
    std::unique_ptr<MainWindowFixture> m_f;
};

QTEST_MAIN(tst_MainFavoritesPage)
#include "tst_MainFavoritesPage.moc"

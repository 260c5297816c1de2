#include "MainWindowFixture.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainFavorites.h"
#include "core/window/MainFavoritesPage.h"
#include "core/window/TfrmMain.h"
#include "groups/InternetShortcut.h"
#include "groups/TFavoritesPage.h"
#include "groups/TFavoritesTree.h"
#include "groups/TKoncoBar.h"
#include "groups/TfrmFavorites.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>

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
        QVERIFY(window);
        const QString path = InternetShortcut::write(window->Favorites()->FavoritesFolder(), "Page",
                                                     "http://fav.test/");
        TFavoritesTree* tree = treeShowing(window, path);
        QVERIFY(tree);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualRect(tree->nodeOf(path)).center());
        QCOMPARE(window->TabSet()->Count(), newWin ? 2 : 1);
        QCOMPARE(m_f->made.last()->navigations.last(), QStringLiteral("http://fav.test/"));
    }

    void favoritesKeyTogglesThePage()
    {
        TfrmMain* window = m_f->createActive();
        QVERIFY(window);
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
        QVERIFY(window);
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
        QVERIFY(window);
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
        QVERIFY(window);
        showPane(window)->resize(333, 222);
        m_f->closeWindow();
        QCOMPARE(m_f->stored(QStringLiteral("FavoritesWidth")), QStringLiteral("333"));
        QCOMPARE(m_f->stored(QStringLiteral("FavoritesHeight")), QStringLiteral("222"));
        window = m_f->createActive();
        QVERIFY(window);
        QCOMPARE(showPane(window)->size(), QSize(333, 222));
    }

private:
    std::unique_ptr<MainWindowFixture> m_f;
};

QTEST_MAIN(tst_MainFavoritesPage)
#include "tst_MainFavoritesPage.moc"

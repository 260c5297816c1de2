#include "FakeBrowserControl.h"
#include "TabSetHost.h"
#include "TestStore.h"
#include "components/TQWPageControl.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabReopener.h"
#include "core/tabs/TTabSet.h"

#include <QFile>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>

class tst_TTabReopener : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestStore> store;
    std::unique_ptr<TabSetHost> host;
    std::unique_ptr<TQWPageControl> pc;
    std::unique_ptr<TTabSet> set;
    std::unique_ptr<TTabReopener> reopener;
    // How the controls made from here on behave.
    bool runNavigations = true;
    bool restoresHistory = true;

    QString storePath() const { return store->dir.filePath("closedtabs.json"); }
    void makeReopener()
    {
        reopener = std::make_unique<TTabReopener>(set.get(), store->options.get(), &host->services,
                                                  storePath());
    }
    // A visible tab that has loaded http://name.test/, titled name.
    TBrowserTab* add(const QString& name)
    {
        TBrowserTab* tab = set->AddTab();
        FakeTabHost::controlOf(tab)->simulateNavigation(
            QStringLiteral("http://%1.test/").arg(name));
        tab->SetTitle(name);
        return tab;
    }
    TBrowserTab* byTitle(const QString& title) const
    {
        for (int i = 0; i < set->Count(); ++i)
            if (set->Tab(i)->Hint() == title)
                return set->Tab(i);
        return nullptr;
    }
    // What the visible tabs stand for, in order: their addresses' names.
    QStringList order() const
    {
        QStringList names;
        for (int i = 0; i < pc->visibleCount(); ++i)
        {
            const auto* tab = qobject_cast<TBrowserTab*>(pc->visiblePage(i));
            names << QUrl(tab->RememberedAddress()).host().section('.', 0, 0);
        }
        return names;
    }
    void closeByTitle(const QString& title) { set->CloseTab(byTitle(title)); }

private slots:
    void init()
    {
        store = std::make_unique<TestStore>();
        host = std::make_unique<TabSetHost>();
        pc = std::make_unique<TQWPageControl>();
        runNavigations = true;
        restoresHistory = true;
        const BrowserControlFactory factory = [this](QWidget* parent)
        {
            auto* control = new FakeBrowserControl(parent);
            control->runNavigations = runNavigations;
            control->restoresHistory = restoresHistory;
            return control;
        };
        set = std::make_unique<TTabSet>(pc.get(), host.get(), &host->services, factory,
                                        store->options.get());
        host->tabSet = set.get();
        makeReopener();
    }
    void cleanup()
    {
        reopener.reset();
        set.reset();
        pc.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        host.reset();
        store.reset();
    }

    void threeClosedComeBackInReverseOrderAtTheirPlaces()
    {
        for (const QString& name : {"a", "b", "c", "d", "e"})
            add(name);
        for (const QString& name : {"b", "d", "a"})
        {
            set->ActivateTab(byTitle(name));
            set->actCloseExecute(); // Ctrl+W
        }
        QCOMPARE(order(), (QStringList{"c", "e"}));
        QStringList reopened;
        for (int i = 0; i < 3; ++i)
        {
            TBrowserTab* tab = reopener->ReopenClosedTab();
            QCOMPARE(set->GetActivePage(), tab);
            reopened << QUrl(tab->RememberedAddress()).host();
        }
        QCOMPARE(reopened, (QStringList{"a.test", "d.test", "b.test"}));
        QCOMPARE(order(), (QStringList{"a", "b", "c", "d", "e"}));
        QCOMPARE(reopener->ReopenClosedTab(), nullptr);
    }

    void closeAllComesBackWhole()
    {
        for (const QString& name : {"a", "b", "c"})
            add(name);
        set->CloseAll(true);
        QCOMPARE(set->Count(), 1);
        for (int i = 0; i < 3; ++i)
            reopener->ReopenClosedTab();
        // The blank tab close-all left is taken over, not kept beside them.
        QCOMPARE(order(), (QStringList{"a", "b", "c"}));
        QCOMPARE(set->Count(), 3);
    }

    void nameLockAndHistoryComeBack_data()
    {
        QTest::addColumn<bool>("engineRestores");
        QTest::addColumn<QStringList>("log"); // what the new tab's control was asked

        // clang-format off
        QTest::newRow("engine restores the history") << true << QStringList{"RestoreHistory"};
        QTest::newRow("engine cannot: the page is loaded") << false << QStringList{"RestoreHistory", "Navigate http://b.test/"};
        // clang-format on
    }
    void nameLockAndHistoryComeBack()
    {
        QFETCH(bool, engineRestores);
        QFETCH(QStringList, log);
        add("a");
        TBrowserTab* b = add("b");
        b->SetStickyName("Mine");
        b->SetLocked(true);
        FakeTabHost::controlOf(b)->history = "back-forward of b";
        set->CloseTab(b);

        runNavigations = false;
        restoresHistory = engineRestores;
        TBrowserTab* tab = reopener->ReopenClosedTab();
        FakeBrowserControl* control = FakeTabHost::controlOf(tab);
        const QStringList loads =
            control->log.filter(QRegularExpression("^(RestoreHistory|Navigate|LoadBlank)"));
        QCOMPARE(loads, log);
        QCOMPARE(control->history, engineRestores ? QByteArray("back-forward of b") : QByteArray());
        QCOMPARE(tab->StickyName(), QStringLiteral("Mine"));
        QCOMPARE(pc->pageCaption(tab), QStringLiteral("Mine"));
        // Locked once its page is there, so that the page itself loads.
        QVERIFY(!tab->Locked());
        control->simulateNavigation("http://b.test/", NavigationRequest::BackForward);
        QVERIFY(tab->Locked());
        QCOMPARE(order(), (QStringList{"a", "b"}));
    }

    void whatIsNotKept()
    {
        add("a");
        // A page without an address.
        set->AddTab();
        set->CloseTab(set->GetActivePage());
        // A pop-up not shown yet, and a captured one.
        TBrowserTab* hidden = set->AddHiddenTab();
        FakeTabHost::controlOf(hidden)->locationUrl = "http://popup.test/";
        set->CloseTab(hidden);
        TBrowserTab* killed = set->AddHiddenTab();
        killed->Killed = true;
        set->CloseKilledTabs();
        QVERIFY(reopener->ClosedTabs().IsEmpty());
        // Reset as the last tab, its page is lost to it: kept.
        set->CloseTab(set->GetActivePage());
        QCOMPARE(reopener->ClosedTabs().Count(), 1);
    }

    void placeBeyondTheTabsIsTheEnd()
    {
        for (const QString& name : {"a", "b", "c", "d"})
            add(name);
        closeByTitle("d");
        closeByTitle("c");
        closeByTitle("b");
        reopener->Reopen(2); // d, at 3 of a tab set of one
        QCOMPARE(order(), (QStringList{"a", "d"}));
    }

    void survivesARestartOnlyInLastMode_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("afterRestart");

        // clang-format off
        QTest::newRow("Last") << "Last" << QStringList{"http://b.test/", "http://a.test/"};
        QTest::newRow("Home") << "Home" << QStringList{};
        // clang-format on
    }
    void survivesARestartOnlyInLastMode()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, afterRestart);
        store->options->SetStartupMode(mode);
        for (const QString& name : {"a", "b", "c"})
            add(name);
        closeByTitle("a");
        closeByTitle("b");
        reopener.reset(); // the program ends before the write is due
        makeReopener();
        QStringList kept;
        for (const TClosedTabs::Entry& entry : reopener->ClosedTabs().Entries())
            kept << entry.address;
        QCOMPARE(kept, afterRestart);
        QCoreApplication::processEvents();
        QCOMPARE(QFile::exists(storePath()), !afterRestart.isEmpty());
    }

    void recentlyClosedMenu()
    {
        host->services.setGlobalText("RecentlyClosed", "Recently closed");
        QMenu tabsMenu;
        reopener->AttachTabsMenu(&tabsMenu);
        emit tabsMenu.aboutToShow();
        QAction* submenu = tabsMenu.actions().constLast();
        QCOMPARE(submenu->text(), QStringLiteral("Recently closed"));
        QVERIFY(!submenu->isEnabled());

        add("a");
        TBrowserTab* b = add("b");
        b->SetTitle(QString(60, 'x') + " & more");
        add("c");
        closeByTitle("a");
        set->CloseTab(b);
        tabsMenu.clear();
        emit tabsMenu.aboutToShow();
        QVERIFY(tabsMenu.actions().constLast()->isEnabled());
        reopener->FillRecentlyClosedMenu();
        const QList<QAction*> items = reopener->RecentlyClosedMenu()->actions();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items.at(0)->text(), QString(21, 'x') + "..." + QString(14, 'x') + " && more");
        QCOMPARE(items.at(1)->text(), QStringLiteral("a"));
        items.at(1)->trigger();
        QCOMPARE(order(), (QStringList{"a", "c"}));
        QCOMPARE(reopener->ClosedTabs().Count(), 1);
    }
};

QTEST_MAIN(tst_TTabReopener)
#include "tst_TTabReopener.moc"

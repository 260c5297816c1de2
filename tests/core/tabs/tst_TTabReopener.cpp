#include "FakeBrowserControl.h"
#include "TabSetHost.h"
#include "TestStore.h"
#include "components/TQWPageControl.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabReopener.h"
#include "core/tabs/TTabSet.h"

#include <QMenu>
#include <QRegularExpression>
#include <QTest>

class tst_TTabReopener : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestStore> store;
    std::unique_ptr<TabSetHost> host;
    std::unique_ptr<TQWPageControl> pc;
    std::unique_ptr<TTabSet> set;
    std::unique_ptr<TTabReopener> reopener;
    bool restoresHistory = true; // of the controls made from here on

    void makeReopener()
    {
        reopener = std::make_unique<TTabReopener>(set.get(), store->options.get(), &host->services,
                                                  store->dir.filePath("closed.json"));
    }
    // Visible tabs http://name.test/ for each name.
    void add(const QStringList& names)
    {
        for (const QString& name : names)
            FakeTabHost::controlOf(set->AddTab())->simulateNavigation("http://" + name + ".test/");
    }
    TBrowserTab* visible(int i) const { return qobject_cast<TBrowserTab*>(pc->visiblePage(i)); }
    void close(const QString& name)
    {
        for (int i = 0; i < pc->visibleCount(); ++i)
            if (visible(i)->GetLocationURL().contains("//" + name + "."))
                return set->CloseTab(visible(i));
    }
    QString order() const
    {
        QString names;
        for (int i = 0; i < pc->visibleCount(); ++i)
            names += QUrl(visible(i)->RememberedAddress()).host().left(1);
        return names;
    }

private slots:
    void init()
    {
        store = std::make_unique<TestStore>();
        host = std::make_unique<TabSetHost>();
        pc = std::make_unique<TQWPageControl>();
        restoresHistory = true;
        set = std::make_unique<TTabSet>(
            pc.get(), host.get(), &host->services,
            [this](QWidget* parent)
            {
                auto* control = new FakeBrowserControl(parent);
                control->runNavigations = true;
                control->restoresHistory = restoresHistory;
                return control;
            },
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
    }

    void threeClosedComeBackInReverseOrderAtTheirPlaces()
    {
        add({"a", "b", "c", "d", "e"});
        for (const QString& name : {"b", "d", "a"})
            close(name);
        QCOMPARE(order(), "ce");
        for (const QString& expected : {"ace", "acde", "abcde"})
        {
            TBrowserTab* tab = reopener->ReopenClosedTab();
            QCOMPARE(order(), expected);
            QCOMPARE(set->GetActivePage(), tab);
        }
        QCOMPARE(reopener->ReopenClosedTab(), nullptr);
        // Close all too: the first tab comes back into the blank tab it left.
        set->CloseAll(true);
        reopener->ReopenClosedTab();
        QCOMPARE(order(), "a");
        reopener->Reopen(3); // e, whose place is beyond the tabs: at the end
        QCOMPARE(order(), "ae");
    }

    void nameLockAndHistoryComeBack_data()
    {
        QTest::addColumn<bool>("engineRestores");
        QTest::addColumn<QStringList>("loads"); // what the new tab's control was asked
        QTest::newRow("history restored") << true << QStringList{"RestoreHistory"};
        QTest::newRow("engine cannot") << false << QStringList{"RestoreHistory", "Navigate http://b.test/"};
    }
    void nameLockAndHistoryComeBack()
    {
        QFETCH(bool, engineRestores);
        add({"a", "b"});
        TBrowserTab* b = visible(1);
        b->SetStickyName("Mine");
        b->SetLocked(true);
        FakeTabHost::controlOf(b)->history = "b's history";
        set->CloseTab(b);

        restoresHistory = engineRestores;
        TBrowserTab* tab = reopener->ReopenClosedTab();
        FakeBrowserControl* control = FakeTabHost::controlOf(tab);
        QTEST(control->log.filter(QRegularExpression("^(Restore|Navigate|LoadBlank)")), "loads");
        QCOMPARE(control->history, engineRestores ? "b's history" : QByteArray());
        QCOMPARE(pc->pageCaption(tab), "Mine");
        // Locked once its page is there, so that the page itself loads.
        QCOMPARE(tab->Locked(), !engineRestores);
        control->simulateNavigation("http://b.test/", NavigationRequest::BackForward);
        QVERIFY(tab->Locked());
    }

    void popupsAndEmptyTabsAreNotKept()
    {
        add({"a"});
        set->CloseTab(set->AddTab()); // no address
        TBrowserTab* hidden = set->AddHiddenTab();
        FakeTabHost::controlOf(hidden)->locationUrl = "http://popup.test/";
        set->CloseTab(hidden);
        set->AddHiddenTab()->Killed = true;
        set->CloseKilledTabs();
        QVERIFY(reopener->ClosedTabs().IsEmpty());
        set->CloseTab(visible(0)); // reset as the last tab: its page is gone
        QCOMPARE(reopener->ClosedTabs().Count(), 1);
    }

    void survivesARestartOnlyInLastMode_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("kept");
        QTest::newRow("Last") << "Last" << 2;
        QTest::newRow("Home") << "Home" << 0;
    }
    void survivesARestartOnlyInLastMode()
    {
        QFETCH(QString, mode);
        store->options->SetStartupMode(mode);
        add({"a", "b", "c"});
        close("a");
        close("b");
        reopener.reset(); // before its write was due
        makeReopener();
        QTEST(reopener->ClosedTabs().Count(), "kept");
        QCOMPARE(reopener->ClosedTabs().Entries().value(0).address,
                 mode == "Last" ? "http://b.test/" : QString());
    }

    void recentlyClosedMenu()
    {
        QMenu tabsMenu;
        reopener->AttachTabsMenu(&tabsMenu);
        emit tabsMenu.aboutToShow();
        QVERIFY(!tabsMenu.actions().constLast()->isEnabled());
        add({"a", "b", "c"});
        visible(1)->SetTitle(QString(60, 'x') + " & b");
        close("a");
        close("b");
        tabsMenu.clear();
        emit tabsMenu.aboutToShow();
        QVERIFY(tabsMenu.actions().constLast()->isEnabled());
        emit reopener->RecentlyClosedMenu()->aboutToShow();
        const QList<QAction*> items = reopener->RecentlyClosedMenu()->actions();
        QCOMPARE(items.value(0)->text(), QString(21, 'x') + "..." + QString(17, 'x') + " && b");
        items.value(1)->trigger();
        QCOMPARE(order(), "ac");
    }
};

QTEST_MAIN(tst_TTabReopener)
#include "tst_TTabReopener.moc"

#include "FakeBrowserControl.h"
#include "TabSetHost.h"
#include "TestStore.h"
#include "components/TQWPageControl.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabReopener.h"

#include <QMenu>
#include <QRegularExpression>
#include <QTest>

namespace
{
// A tab set of fake pages with its reopener, as the window has them. A tab
// named x shows http://x.test/ (its title is its address).
struct Tabs
{
    TestStore store;
    TabSetHost host;
    TQWPageControl pc;
    TTabSet set{&pc, &host, &host.services,
                [](QWidget* parent)
                {
                    auto* control = new FakeBrowserControl(parent);
                    control->runNavigations = true; // reopened tabs arrive at once
                    return control;
                },
                store.options.get()};
    std::unique_ptr<TTabReopener> reopener;

    Tabs()
    {
        host.tabSet = &set;
        restart();
    }
    ~Tabs() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    void restart()
    {
        reopener.reset(); // first: what it has not written yet is written now
        reopener = std::make_unique<TTabReopener>(&set, store.options.get(), &host.services,
                                                  store.dir.filePath("closed.json"));
    }
    TBrowserTab* tab(int i) { return qobject_cast<TBrowserTab*>(pc.visiblePage(i)); }
    void add(const QString& names)
    {
        for (const QChar name : names)
        {
            TBrowserTab* tab = set.AddTab();
            FakeTabHost::controlOf(tab)->locationUrl = QStringLiteral("http://%1.test/").arg(name);
            tab->SetTitle(tab->GetLocationURL());
        }
    }
    void close(const QString& names)
    {
        for (const QChar name : names)
            set.CloseTab(tab(order().indexOf(name)));
    }
    QString order()
    {
        QString names;
        for (int i = 0; i < pc.visibleCount(); ++i)
            names += QUrl(tab(i)->Hint()).host().left(1);
        return names;
    }
};
} // namespace

class tst_TTabReopener : public QObject
{
    Q_OBJECT

private slots:
    void threeClosedComeBackInReverseOrderAtTheirPlaces()
    {
        Tabs t;
        t.add("abcde");
        t.close("bda");
        for (const QString& expected : {"ace", "acde", "abcde"})
        {
            TBrowserTab* reopened = t.reopener->ReopenClosedTab();
            QCOMPARE(t.set.GetActivePage(), reopened);
            QCOMPARE(t.order(), expected);
        }
        QCOMPARE(t.reopener->ReopenClosedTab(), nullptr);
        // Close all too: the first tab comes back into the blank tab it left.
        t.set.CloseAll(true);
        t.reopener->ReopenClosedTab();
        t.reopener->Reopen(3); // e, whose place is beyond the tabs: at the end
        QCOMPARE(t.order(), QStringLiteral("ae"));
    }

    void nameLockAndHistoryComeBack()
    {
        Tabs t;
        t.add("ab");
        t.tab(1)->SetStickyName("Mine");
        t.tab(1)->SetLocked(true);
        FakeTabHost::controlOf(t.tab(1))->history = "b's";
        t.close("b");
        TBrowserTab* tab = t.reopener->ReopenClosedTab();
        FakeBrowserControl* control = FakeTabHost::controlOf(tab);
        QCOMPARE(control->log.filter(QRegularExpression("^(Restore|Navigate|LoadBlank)")),
                 QStringList{"RestoreHistory"});
        QCOMPARE(control->history, "b's");
        QCOMPARE(t.pc.pageCaption(tab), QStringLiteral("Mine"));
        // Locked once its page is there, so that the page itself loads.
        QVERIFY(!tab->Locked());
        control->simulateNavigation("http://b.test/", NavigationRequest::BackForward);
        QVERIFY(tab->Locked());
    }

    // Only closed pages are kept, and only "Last" keeps them over a restart.
    void whatIsKept()
    {
        for (const auto& [mode, afterRestart] : {std::pair{"Last", 1}, std::pair{"Home", 0}})
        {
            Tabs t;
            t.store.options->SetStartupMode(mode);
            t.add("a");
            t.set.CloseTab(t.set.AddTab());         // no address
            for (const bool killed : {false, true}) // a pop-up not shown yet, a captured one
            {
                TBrowserTab* popup = t.set.AddHiddenTab();
                FakeTabHost::controlOf(popup)->locationUrl = "http://popup.test/";
                popup->Hidden = !killed; // a captured pop-up was shown its address
                popup->Killed = killed;
                t.set.CloseTab(popup);
            }
            t.close("a"); // reset as the last tab: its page is gone all the same
            QCOMPARE(t.reopener->ClosedTabs().Count(), 1);
            t.restart();
            QCOMPARE(t.reopener->ClosedTabs().Count(), afterRestart);
        }
    }

    void recentlyClosedMenu()
    {
        Tabs t;
        QMenu tabsMenu;
        t.reopener->AttachTabsMenu(&tabsMenu);
        emit tabsMenu.aboutToShow();
        QVERIFY(!tabsMenu.actions().constLast()->isEnabled()); // nothing closed yet
        t.add("abc");
        t.close("ab");
        t.tab(0)->SetTitle(QString(60, 'x') + " & c");
        t.set.CloseTab(t.tab(0));
        emit t.reopener->RecentlyClosedMenu()->aboutToShow();
        const QList<QAction*> items = t.reopener->RecentlyClosedMenu()->actions();
        QCOMPARE(items.value(0)->text(), QString(21, 'x') + "..." + QString(17, 'x') + " && c");
        items.value(2)->trigger();
        QCOMPARE(t.order(), QStringLiteral("a"));
    }
};

QTEST_MAIN(tst_TTabReopener)
#include "tst_TTabReopener.moc"

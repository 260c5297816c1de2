#include "FakeBrowserControl.h"
#include "FakeTabHost.h"
#include "ScriptedServices.h"
#include "TabSetHost.h"
#include "TestStore.h"
#include "chrome/TLanguage.h"
#include "components/TQWPageControl.h"
#include "core/dialogs/TfrmCloseAll.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"

#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace
{
const QString BlankText = QStringLiteral("(Blank page)");

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

class tst_TTabSet : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestStore> store;
    TQWOptions* options = nullptr;
    std::unique_ptr<TabSetHost> host;
    std::unique_ptr<TQWPageControl> pc;
    std::unique_ptr<TTabSet> set;
    QList<FakeBrowserControl*> made;

    // A visible tab titled name at address http://name.test/.
    TBrowserTab* add(const QString& name)
    {
        TBrowserTab* tab = set->AddTab();
        named(tab, name);
        return tab;
    }
    static TBrowserTab* named(TBrowserTab* tab, const QString& name)
    {
        FakeTabHost::controlOf(tab)->locationUrl = QStringLiteral("http://%1.test/").arg(name);
        tab->SetTitle(name);
        return tab;
    }
    QList<TBrowserTab*> tabs() const
    {
        QList<TBrowserTab*> list;
        for (int i = 0; i < set->Count(); ++i)
            list << set->Tab(i);
        return list;
    }
    // Tab titles in tab order; hidden tabs in brackets.
    QStringList order() const
    {
        QStringList titles;
        for (const TBrowserTab* tab : tabs())
            titles << (pc->isPageVisible(tab) ? tab->Hint() : '[' + tab->Hint() + ']');
        return titles;
    }
    QString active() const
    {
        const TBrowserTab* tab = set->GetActivePage();
        return tab ? tab->Hint() : QString();
    }
    TBrowserTab* byTitle(const QString& title) const
    {
        for (TBrowserTab* tab : tabs())
            if (tab->Hint() == title)
                return tab;
        return nullptr;
    }
    // Gives tab everything that closing the last tab takes from it.
    static void decorate(TBrowserTab* tab)
    {
        tab->SetLocked(true);
        tab->LockAfterLoad = true;
        tab->SetStickyName("Name");
        tab->TabHome = "http://home.test/";
    }
    // The tab was made blank in place instead of a new one being made.
    void verifyReset(TBrowserTab* tab, int controlsMade)
    {
        QCOMPARE(tabs(), QList<TBrowserTab*>{tab});
        QCOMPARE(set->GetActivePage(), tab);
        QCOMPARE(pc->pageCaption(tab), BlankText);
        QVERIFY(!tab->Locked() && !tab->LockAfterLoad && tab->StickyName().isEmpty());
        QCOMPARE(FakeTabHost::controlOf(tab)->blankPages.size(), 1);
        QCOMPARE(made.size(), controlsMade);
    }
    void addTabs(const QStringList& names)
    {
        for (const QString& name : names)
            add(name);
    }

private slots:
    void init()
    {
        store = std::make_unique<TestStore>();
        options = store->options.get();
        host = std::make_unique<TabSetHost>();
        pc = std::make_unique<TQWPageControl>();
        made.clear();
        host->services.textFn = [](const QString& section, const QString& key)
        { return QStringLiteral("%1>%2").arg(section, key); };
        set = std::make_unique<TTabSet>(pc.get(), host.get(), &host->services,
                                        FakeBrowserControl::factory(&made), options);
        host->tabSet = set.get();
    }
    void cleanup()
    {
        set.reset();
        pc.reset();
        flushDeletes();
        host.reset();
        store.reset();
    }

    void placement()
    {
        const QStringList after = {"A", "B", "N", "C"};
        const QStringList hidden = {"A", "B", "[N]", "C"};
        for (const bool foreground : {false, true})
        {
            const QList<std::tuple<QString, bool, QStringList, QString>> rows = {
                // operation, at the end, order, active
                {"AddTab", false, after, "N"},
                {"AddTab", true, {"A", "B", "C", "N"}, "N"},
                {"AddTabPerPreference", false, after, foreground ? "N" : "B"},
                {"AddHiddenTab", false, hidden, "B"},
            };
            for (const auto& [operation, atEnd, expectedOrder, expectedActive] : rows)
            {
                cleanup();
                init();
                set->OpenNewAtEnd = false;
                addTabs({"A", "B", "C"});
                pc->setActivePage(byTitle("B"));
                set->OpenNewAtEnd = atEnd;
                set->OpenNewInForeground = foreground;
                TBrowserTab* tab = operation == "AddTab"                ? set->AddTab()
                                   : operation == "AddTabPerPreference" ? set->AddTabPerPreference()
                                                                        : set->AddHiddenTab();
                named(tab, "N");
                QCOMPARE(order(), expectedOrder);
                QCOMPARE(active(), expectedActive);
                QCOMPARE(tab->Hidden, operation == "AddHiddenTab");
            }
        }
    }

    void closingTheOnlyTabResetsIt()
    {
        TBrowserTab* tab = add("0123456789");
        // What the tab shows reaches its page of the strip.
        tab->SetLocked(true);
        QCOMPARE(pc->pageImageIndex(tab), int(TBrowserTab::StateLocked) - 1);
        set->SetTitleLimit(4);
        QCOMPARE(pc->pageCaption(tab), QStringLiteral("0123..."));
        QCOMPARE(pc->pageHint(tab), QStringLiteral("0123456789"));
        set->SetTitleLimit(-3);
        QCOMPARE(pc->pageCaption(tab), QStringLiteral("0123456789"));
        decorate(tab);
        tab->HideFromCloseAll = true;
        set->CloseTab(tab);
        flushDeletes();
        verifyReset(tab, 1);
        QVERIFY(tab->TabHome.isEmpty());
        QVERIFY(!tab->HideFromCloseAll);
    }

    void pageClosingItsWindowClosesOnlyItsTab()
    {
        addTabs({"A", "B"});
        QPointer<TBrowserTab> b = byTitle("B");
        // The close arrives from inside the tab's own event handler.
        FakeTabHost::controlOf(b)->fireWindowClosing();
        QCOMPARE(order(), QStringList({"A"}));
        flushDeletes();
        QVERIFY(!b);
    }

    void closingHiddenTabsLeavesTheVisibleOneAlone()
    {
        TBrowserTab* visible = add("A");
        named(set->AddHiddenTab(), "H1")->Killed = true;
        named(set->AddHiddenTab(), "H2")->Killed = true;
        QPointer<TBrowserTab> h3 = named(set->AddHiddenTab(), "H3");
        set->CloseKilledTabs();
        QCOMPARE(order(), QStringList({"A", "[H3]"}));
        set->CloseTab(h3);
        flushDeletes();
        QVERIFY(!h3);
        QCOMPARE(order(), QStringList({"A"}));
        QVERIFY(FakeTabHost::controlOf(visible)->blankPages.isEmpty());
    }

    void closeAllKeepsMarkedTabs()
    {
        set->OpenNewAtEnd = true;
        addTabs({"A", "B", "C", "D", "E"});
        byTitle("B")->HideFromCloseAll = true;
        byTitle("D")->HideFromCloseAll = true;
        named(set->AddHiddenTab(), "H");
        // "No", with "don't ask again": nothing closes, and the next time
        // nothing is asked.
        host->services.confirmAnswer = {false, true};
        set->CloseAll(false);
        QCOMPARE(set->Count(), 6);
        QVERIFY(!options->ConfirmCloseAll());
        set->CloseAll(false);
        flushDeletes();
        QCOMPARE(host->services.confirmCalls.size(), 1);
        QCOMPARE(order(), QStringList({"B", "D"}));
        QCOMPARE(active(), QStringLiteral("B"));

        // Without marks the first tab is made blank in place.
        TBrowserTab* first = byTitle("B");
        byTitle("D")->HideFromCloseAll = false;
        first->HideFromCloseAll = false;
        decorate(first);
        pc->setActivePage(byTitle("D"));
        set->CloseAll(false);
        flushDeletes();
        verifyReset(first, 6);
        // Its own start address stays.
        QCOMPARE(first->TabHome, QStringLiteral("http://home.test/"));
    }

    void closeAllRefusedWhileGroupOpening()
    {
        addTabs({"A", "B"});
        set->GroupOpening = true;
        set->CloseAll(false);
        set->CloseAll(true);
        set->actCloseExecute();
        set->PopupTabIndex = 0;
        set->pmTabCloseClick();
        set->pmCloseAllKeepCurrentClick();
        flushDeletes();
        QCOMPARE(order(), QStringList({"A", "B"}));
        QVERIFY(host->services.confirmCalls.isEmpty());
        set->GroupOpening = false;
        set->actCloseExecute();
        QCOMPARE(order(), QStringList({"A"}));
    }

    void closeAllButOne()
    {
        const QList<std::tuple<QString, bool, QStringList>> rows = {
            // The tab under the mouse (empty: the active tab's command), the
            // answer, the tabs left.
            {"", true, {"B", "D"}},
            {"A", true, {"A", "D"}},
            {"", false, {"A", "B", "C", "D"}},
        };
        for (const auto& [underMouse, answerYes, left] : rows)
        {
            cleanup();
            init();
            set->OpenNewAtEnd = true;
            addTabs({"A", "B", "C", "D"});
            byTitle("D")->HideFromCloseAll = true;
            pc->setActivePage(byTitle("B"));
            host->services.confirmAnswer = {answerYes, false};
            if (underMouse.isEmpty())
                set->pmCloseAllKeepCurrentClick();
            else
            {
                set->PopupTabIndex = pc->visibleIndexOf(byTitle(underMouse));
                set->pmTabCloseAllKeepCurrentClick();
            }
            flushDeletes();
            QCOMPARE(order(), left);
            QCOMPARE(active(), answerYes ? left.first() : QStringLiteral("B"));
            // The kept tab is not marked for good.
            QVERIFY(!byTitle(left.first())->HideFromCloseAll);
            QVERIFY(byTitle("D")->HideFromCloseAll);
        }
    }

    void tabsMenu()
    {
        set->OpenNewAtEnd = true;
        add("Page & more")->SetStickyName("Sticky");
        add("Plain & simple");
        add("B")->SetTitle("about:blank");
        set->AddHiddenTab()->SetTitle("Not yet shown");
        set->AddHiddenTab()->Killed = true;
        for (int i = 5; i <= 11; ++i)
            add(QStringLiteral("T%1").arg(i));
        QMenu menu;
        menu.addAction("stale item");
        set->FillTabsMenu(&menu);

        QStringList texts;
        for (const QAction* item : menu.actions())
            texts << item->text();
        // Accelerators for the first nine, then blanks in their place.
        QCOMPARE(texts.mid(0, 4), QStringList({"&1    Sticky", "&2    Plain && simple",
                                               "&3    " + BlankText, "&4    Not yet shown"}));
        QCOMPARE(texts.mid(8), QStringList({"&9    T9", "      T10", "      T11"}));
        QCOMPARE(menu.actions().at(4)->statusTip(), QStringLiteral("http://T5.test/"));
        // Choosing the tab that is not shown yet does nothing.
        menu.actions().at(3)->trigger();
        QCOMPARE(active(), QStringLiteral("T11"));
        menu.actions().at(9)->trigger();
        QCOMPARE(active(), QStringLiteral("T10"));
        QCOMPARE(host->shownAddresses.last(), QStringLiteral("http://T10.test/"));
        // Tabs go while the menu is open: an item still means its own tab.
        set->CloseKilledTabs();
        menu.actions().at(4)->trigger();
        QCOMPARE(active(), QStringLiteral("T5"));
        set->MakeMeActiveTab(42);
        QCOMPARE(active(), QStringLiteral("T5"));
    }

    void tabMenu()
    {
        set->OpenNewAtEnd = true;
        addTabs({"A", "B"});
        TBrowserTab* b = byTitle("B");
        set->PopupTabIndex = 1;
        const auto state = [this] { return set->pmTabPopupPopup(); };
        QVERIFY(state().hasTab && !state().locked && !state().tabHomeEnabled);
        QCOMPARE(state().stickyNameCaption, "GLOBAL>StickyNameSet");
        set->pmTabLockedClick(true);
        set->pmHideFromCloseAllClick(true);
        QVERIFY(b->Locked() && b->HideFromCloseAll && !byTitle("A")->Locked());
        QVERIFY(state().locked && state().hideFromCloseAll);
        set->pmTabLockedClick(false);
        set->pmHideFromCloseAllClick(false);
        QVERIFY(!b->Locked() && !b->HideFromCloseAll);

        set->pmTabHomeClick(); // no start address: nothing
        QVERIFY(FakeTabHost::controlOf(b)->navigations.isEmpty());
        b->TabHome = "http://home.test/";
        QVERIFY(state().tabHomeEnabled);
        set->pmTabHomeClick();
        QCOMPARE(FakeTabHost::controlOf(b)->navigations, QStringList({"http://home.test/"}));
    }

    void newCommands()
    {
        const QString home = TBrowserTab::HomeUrl();
        const QString a = "http://A.test/";
        const QList<std::tuple<QString, int, QStringList, QString>> rows = {
            // command, new action, navigations, tab home
            {"blank", 0, {}, ""},
            {"blank", 1, {a}, ""}, // the current page
            {"current", 0, {a}, a},
            {"home", 0, {home}, ""},
        };
        for (const auto& [command, newAction, navigations, tabHome] : rows)
        {
            cleanup();
            init();
            add("A");
            set->SetNewAction(newAction);
            QSignalSpy focus(set.get(), &TTabSet::addressBoxFocusRequested);
            if (command == "blank")
                set->actNewBlankExecute();
            else if (command == "current")
                set->actNewCurrentExecute();
            else
                set->actNewHomeExecute();
            QCOMPARE(set->Count(), 2);
            FakeBrowserControl* control = FakeTabHost::controlOf(set->GetActivePage());
            QCOMPARE(control, made.last());
            QCOMPARE(control->navigations, navigations);
            QCOMPARE(control->blankPages.size(), navigations.isEmpty() ? 1 : 0);
            if (!tabHome.isEmpty())
                QCOMPARE(set->GetActivePage()->TabHome, tabHome);
            if (command == "blank")
                QCOMPARE(focus.size(), 1);
        }
    }

    void closeAllList()
    {
        set->OpenNewAtEnd = true;
        addTabs({"A", "B", "C"});
        byTitle("B")->SetStickyName("Named");
        set->AddHiddenTab()->Killed = true;

        TLanguage language;
        language.LoadFromData("[CLOSE_ALL_LIST]\nCaption=Close Tabs\n");
        TfrmCloseAll dialog(set.get(), &language);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Close Tabs"));
        QListWidget* list = dialog.CheckListBox1;
        const auto checks = [list]
        {
            QList<Qt::CheckState> states;
            for (int i = 0; i < list->count(); ++i)
                states << list->item(i)->checkState();
            return states;
        };
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(1)->text(), QStringLiteral("Named"));
        QCOMPARE(checks(), QList<Qt::CheckState>(3, Qt::Checked));
        dialog.cmdDeselectAll->click();
        QCOMPARE(checks(), QList<Qt::CheckState>(3, Qt::Unchecked));
        dialog.cmdSelectAll->click();
        list->item(1)->setCheckState(Qt::Unchecked);
        dialog.cmdClose->click();
        flushDeletes();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(order(), QStringList({"B"}));
        QCOMPARE(active(), QStringLiteral("B"));

        // Every line checked leaves one blank tab.
        TfrmCloseAll all(set.get(), nullptr);
        all.cmdClose->click();
        flushDeletes();
        QCOMPARE(set->Count(), 1);
        QCOMPARE(set->Tab(0)->Caption(), BlankText);
    }
};

QTEST_MAIN(tst_TTabSet)
#include "tst_TTabSet.moc"

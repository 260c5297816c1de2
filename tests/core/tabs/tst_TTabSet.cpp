#include "FakeBrowserControl.h"
#include "FakeTabHost.h"
#include "ScriptedServices.h"
#include "TabSetHost.h"
#include "TestStore.h"
#include "components/TQWPageControl.h"
#include "core/dialogs/TfrmCloseAll.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TClosedTabs.h"
#include "core/tabs/TTabReopener.h"
#include "core/tabs/TTabSet.h"

#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace
{
const QString BlankText = QStringLiteral("(Blank page)");

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Address and history of each entry of a closed-tabs list, most recent first.
QStringList kept(const TClosedTabs& list)
{
    QStringList result;
    for (const TClosedTabs::Entry& entry : list.Entries())
        result << entry.address + entry.history;
    return result;
}
} // namespace

class tst_TTabSet : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestStore> store;
    std::unique_ptr<TabSetHost> host;
    std::unique_ptr<TQWPageControl> pc;
    std::unique_ptr<TTabSet> set;
    QList<FakeBrowserControl*> made;
    // Whether new tabs load whatever they are sent to at once.
    bool pagesLoad = false;
    std::unique_ptr<TTabReopener> reopener;

    // Visible tabs titled name at http://name.test/; returns the last.
    TBrowserTab* add(const QStringList& names)
    {
        TBrowserTab* tab = nullptr;
        for (const QString& name : names)
            tab = named(set->AddTab(), name);
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
        return set->GetActivePage() ? set->GetActivePage()->Hint() : QString();
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
    void restart()
    {
        cleanup();
        init();
    }
    // The reopener as the window has it, with reopened tabs arriving at once.
    void startReopener()
    {
        pagesLoad = true;
        reopener.reset(); // first: what it has not written yet is written now
        reopener = std::make_unique<TTabReopener>(set.get(), store->options.get(), &host->services,
                                                  store->dir.filePath("closed.json"));
    }
    TBrowserTab* visible(int i) const { return qobject_cast<TBrowserTab*>(pc->visiblePage(i)); }
    // The visible tabs by the first letter of their hosts.
    QString letters() const
    {
        QString names;
        for (int i = 0; i < pc->visibleCount(); ++i)
            names += QUrl(visible(i)->GetLocationURL()).host().left(1);
        return names;
    }
    void close(const QString& names)
    {
        for (const QChar name : names)
            set->CloseTab(visible(letters().indexOf(name)));
    }

private slots:
    void init()
    {
        store = std::make_unique<TestStore>();
        host = std::make_unique<TabSetHost>();
        pc = std::make_unique<TQWPageControl>();
        made.clear();
        pagesLoad = false;
        host->services.textFn = [](const QString& section, const QString& key)
        { return QStringLiteral("%1>%2").arg(section, key); };
        set = std::make_unique<TTabSet>(
            pc.get(), host.get(), &host->services,
            [this](QWidget* parent)
            {
                auto* control = new FakeBrowserControl(parent);
                control->runNavigations = pagesLoad;
                made << control;
                return control;
            },
            store->options.get());
        host->tabSet = set.get();
    }
    void cleanup()
    {
        reopener.reset();
        set.reset();
        pc.reset();
        flushDeletes();
        host.reset();
        store.reset();
    }

    void placement()
    {
        const QStringList after = {"A", "B", "N", "C"};
        for (const bool foreground : {false, true})
        {
            const QList<std::tuple<QString, bool, QStringList, QString>> rows = {
                // operation, at the end, order, active
                {"AddTab", false, after, "N"},
                {"AddTab", true, {"A", "B", "C", "N"}, "N"},
                {"AddTabPerPreference", false, after, foreground ? "N" : "B"},
                {"AddHiddenTab", false, {"A", "B", "[N]", "C"}, "B"},
            };
            for (const auto& [operation, atEnd, expectedOrder, expectedActive] : rows)
            {
                restart();
                add({"A", "B", "C"});
                pc->setActivePage(byTitle("B"));
                set->OpenNewAtEnd = atEnd;
                set->OpenNewInForeground = foreground;
                TBrowserTab* tab =
                    named(operation == "AddTab"                ? set->AddTab()
                          : operation == "AddTabPerPreference" ? set->AddTabPerPreference()
                                                               : set->AddHiddenTab(),
                          "N");
                QCOMPARE(order(), expectedOrder);
                QCOMPARE(active(), expectedActive);
                QCOMPARE(tab->Hidden, operation == "AddHiddenTab");
            }
        }
    }

    void closingTheOnlyTabResetsIt()
    {
        TBrowserTab* tab = add({"0123456789"});
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
        QVERIFY(tab->TabHome.isEmpty() && !tab->HideFromCloseAll);
    }

    void closingOtherTabs()
    {
        TBrowserTab* visible = add({"A"});
        QPointer<TBrowserTab> b = add({"B"});
        // The close arrives from inside the tab's own event handler.
        FakeTabHost::controlOf(b)->fireWindowClosing();
        named(set->AddHiddenTab(), "H1")->Killed = true;
        named(set->AddHiddenTab(), "H2")->Killed = true;
        QPointer<TBrowserTab> h3 = named(set->AddHiddenTab(), "H3");
        set->CloseKilledTabs();
        QCOMPARE(order(), QStringList({"A", "[H3]"}));
        set->CloseTab(h3);
        flushDeletes();
        QVERIFY(!b && !h3);
        QCOMPARE(order(), QStringList({"A"}));
        QVERIFY(FakeTabHost::controlOf(visible)->blankPages.isEmpty());
    }

    void closeAllKeepsMarkedTabs()
    {
        set->OpenNewAtEnd = true;
        add({"A", "B", "C", "D", "E"});
        byTitle("B")->HideFromCloseAll = true;
        byTitle("D")->HideFromCloseAll = true;
        named(set->AddHiddenTab(), "H");
        // "No", with "don't ask again": nothing closes, and the next time
        // nothing is asked.
        host->services.confirmAnswer = {false, true};
        set->CloseAll(false);
        QCOMPARE(set->Count(), 6);
        QVERIFY(!store->options->ConfirmCloseAll());
        set->CloseAll(false);
        flushDeletes();
        QCOMPARE(host->services.confirmCalls.size(), 1);
        QCOMPARE(order(), QStringList({"B", "D"}));
        QCOMPARE(active(), QStringLiteral("B"));

        // Without marks the first tab is made blank in place, keeping its own
        // start address.
        TBrowserTab* first = byTitle("B");
        byTitle("D")->HideFromCloseAll = first->HideFromCloseAll = false;
        decorate(first);
        pc->setActivePage(byTitle("D"));
        set->CloseAll(false);
        flushDeletes();
        verifyReset(first, 6);
        QCOMPARE(first->TabHome, QStringLiteral("http://home.test/"));
    }

    void closeAllRefusedWhileGroupOpening()
    {
        add({"A", "B"});
        set->GroupOpening = true;
        set->PopupTabIndex = 0;
        set->CloseAll(false);
        set->CloseAll(true);
        set->actCloseExecute();
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
            restart();
            set->OpenNewAtEnd = true;
            add({"A", "B", "C", "D"})->HideFromCloseAll = true;
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
        add({"Page & more"})->SetStickyName("Sticky");
        add({"Plain & simple", "B"})->SetTitle("about:blank");
        set->AddHiddenTab()->SetTitle("Not yet shown");
        set->AddHiddenTab()->Killed = true;
        add({"T5", "T6", "T7", "T8", "T9", "T10", "T11"});
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
        TBrowserTab* b = add({"A", "B"});
        set->PopupTabIndex = 1;
        QVERIFY(!set->pmTabPopupPopup().tabHomeEnabled);
        QCOMPARE(set->pmTabPopupPopup().stickyNameCaption, "GLOBAL>StickyNameSet");
        set->pmTabLockedClick(true);
        set->pmHideFromCloseAllClick(true);
        QVERIFY(b->Locked() && b->HideFromCloseAll && !byTitle("A")->Locked());
        QVERIFY(set->pmTabPopupPopup().locked && set->pmTabPopupPopup().hideFromCloseAll);
        set->pmTabLockedClick(false);

        set->pmTabHomeClick(); // no start address: nothing
        QVERIFY(FakeTabHost::controlOf(b)->navigations.isEmpty());
        b->TabHome = "http://home.test/";
        QVERIFY(set->pmTabPopupPopup().tabHomeEnabled);
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
            restart();
            add({"A"});
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
            QCOMPARE(set->GetActivePage()->TabHome, tabHome);
            if (command == "blank")
                QCOMPARE(focus.size(), 1);
        }
    }

    void closeAllList()
    {
        set->OpenNewAtEnd = true;
        add({"A", "B", "C"});
        byTitle("B")->SetStickyName("Named");
        set->AddHiddenTab()->Killed = true;

        TfrmCloseAll dialog(set.get(), nullptr);
        QListWidget* list = dialog.CheckListBox1;
        const auto checks = [list]
        {
            QList<Qt::CheckState> states;
            for (int i = 0; i < list->count(); ++i)
                states << list->item(i)->checkState();
            return states;
        };
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
    }

    void threeClosedComeBackInReverseOrderAtTheirPlaces()
    {
        startReopener();
        add({"a", "b", "c", "d", "e"});
        close("bda");
        for (const QString& expected : {"ace", "acde", "abcde"})
        {
            TBrowserTab* reopened = reopener->ReopenClosedTab();
            QCOMPARE(set->GetActivePage(), reopened);
            QCOMPARE(letters(), expected);
        }
        QCOMPARE(reopener->ReopenClosedTab(), nullptr);
        // Close all too: the first tab comes back into the blank tab it left.
        set->CloseAll(true);
        reopener->ReopenClosedTab();
        reopener->Reopen(3); // e, whose place is beyond the tabs: at the end
        QCOMPARE(letters(), QStringLiteral("ae"));
    }

    void nameLockAndHistoryComeBack()
    {
        startReopener();
        add({"a", "b"});
        visible(1)->SetStickyName("Mine");
        visible(1)->SetLocked(true);
        FakeTabHost::controlOf(visible(1))->history = "b's";
        close("b");
        TBrowserTab* tab = reopener->ReopenClosedTab();
        FakeBrowserControl* control = FakeTabHost::controlOf(tab);
        QCOMPARE(control->log.filter(QRegularExpression("^(Restore|Navigate|LoadBlank)")),
                 QStringList{"RestoreHistory"});
        QCOMPARE(control->history, "b's");
        QCOMPARE(pc->pageCaption(tab), QStringLiteral("Mine"));
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
            startReopener();
            store->options->SetStartupMode(mode);
            add({"a"});
            set->CloseTab(set->AddTab());           // no address
            for (const bool killed : {false, true}) // a pop-up not shown yet, a captured one
            {
                TBrowserTab* popup = set->AddHiddenTab();
                FakeTabHost::controlOf(popup)->locationUrl = "http://popup.test/";
                popup->Hidden = !killed; // a captured pop-up was shown its address
                popup->Killed = killed;
                set->CloseTab(popup);
            }
            close("a"); // reset as the last tab: its page is gone all the same
            QCOMPARE(reopener->ClosedTabs().Count(), 1);
            startReopener();
            QCOMPARE(reopener->ClosedTabs().Count(), afterRestart);
        }
    }

    void recentlyClosedMenu()
    {
        startReopener();
        QMenu tabsMenu;
        reopener->AttachTabsMenu(&tabsMenu);
        emit tabsMenu.aboutToShow();
        QVERIFY(!tabsMenu.actions().constLast()->isEnabled()); // nothing closed yet
        add({"a", "b", "c"});
        close("ab");
        visible(0)->SetTitle(QString(60, 'x') + " & c");
        set->CloseTab(visible(0));
        emit reopener->RecentlyClosedMenu()->aboutToShow();
        const QList<QAction*> items = reopener->RecentlyClosedMenu()->actions();
        QCOMPARE(items.value(0)->text(), QString(21, 'x') + "..." + QString(17, 'x') + " && c");
        items.value(2)->trigger();
        QCOMPARE(letters(), QStringLiteral("a"));
    }

    void closedListRecord()
    {
        const QList<std::pair<QStringList, QStringList>> rows = {
            // closed oldest first, kept
            {{"a", "b", "c"}, {"c", "b", "a"}},
            {QStringList{"old"} + QStringList(20, "a"),
             QStringList(20, "a")},                  // the 21st drops the oldest
            {{"", "about:blank", "  ", "a"}, {"a"}}, // no address, blank page: not kept
        };
        for (const auto& [closed, expected] : rows)
        {
            TClosedTabs list;
            for (const QString& address : closed)
                list.Record({address, {}, {}, false, 0, {}});
            QCOMPARE(kept(list), expected);
        }
    }

    void closedListFileRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("closed.json");
        TClosedTabs list;
        list.Record({"http://a.test/ä?q=1&r", "Ä & B", "Name", true, 3, QByteArray("\0\xffh", 3)});
        list.Record({"file:///x.html", {}, {}, false, 0, {}});
        QVERIFY(list.Save(path));
        QCOMPARE(TClosedTabs::Load(path).Entries(), list.Entries());
        QVERIFY(TClosedTabs().Save(path) && !QFile::exists(path)); // empty: no file
    }

    void closedListBadData()
    {
        const QByteArray v1 = "{\"version\":1,\"tabs\":[";
        const QList<std::pair<QByteArray, QStringList>> rows = {
            // clang-format off
            {QByteArray(), {}}, // no file
            {QByteArray("\x89PNG\r\n{{{"), {}},
            {v1 + "{\"address\":\"a\"", {}}, // cut short
            {QByteArray("{\"version\":2,\"tabs\":[{\"address\":\"a\"}]}"), {}},
            {QByteArray("{\"version\":1,\"tabs\":{\"address\":\"a\"}}"), {}}, // tabs not a list
            {v1 + "7,{\"address\":3},{\"address\":\"about:blank\"},{},{\"address\":\"b\"}]}", {"b"}},
            // A damaged history leaves the address.
            {v1 + "{\"address\":\"a\",\"history\":\"*!\"},{\"address\":\"b\",\"history\":\"aGk=\"}]}", {"a", "bhi"}},
            {v1 + QByteArray("{\"address\":\"a\"},").repeated(25).chopped(1) + "]}", QStringList(20, "a")},
            // clang-format on
        };
        for (const auto& [json, expected] : rows)
        {
            QTemporaryDir dir;
            QFile file(dir.filePath("closed.json"));
            QVERIFY(json.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(json)));
            file.close();
            QCOMPARE(kept(TClosedTabs::Load(file.fileName())), expected);
        }
    }
};

QTEST_MAIN(tst_TTabSet)
#include "tst_TTabSet.moc"

#include "EngineTestHelpers.h"
#include "FakeBrowserControl.h"
#include "FakeTabHost.h"
#include "ScriptedServices.h"
#include "TabSetHost.h"
#include "TestStore.h"
#include "components/TQWPageControl.h"
#include "core/store/RegistryKeys.h"
#include "core/tabs/SessionRunState.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TSessionKeeper.h"
#include "core/tabs/TStartupLoader.h"
#include "core/tabs/TTabSet.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace
{
QString site(const QString& name)
{
    return QStringLiteral("http://%1.test/").arg(name);
}

using ConfirmCall = ScriptedServices::ConfirmCall;

// One run of the program: a window's tab set with its first tab, and the
// keeper. Dropping it without EndRun() is a crash.
struct Run
{
    TabSetHost host;
    TQWPageControl pc;
    // Whether new tabs load whatever they are sent to at once.
    bool pagesLoad = true;
    TTabSet set;
    TSessionKeeper keeper;
    QSignalSpy written;

    Run(TQWOptions* options, ScriptedServices* services, const TSessionKeeper::Timings& timings)
        : set(&pc, &host, services, factory(&pagesLoad), options), keeper(&set, options, services),
          written(&keeper, &TSessionKeeper::sitesWritten)
    {
        host.tabSet = &set;
        keeper.SetTimings(timings);
        set.AddTab();
    }
    ~Run() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    static BrowserControlFactory factory(const bool* pagesLoad)
    {
        return [pagesLoad](QWidget* parent) -> IBrowserControl*
        {
            auto* control = new FakeBrowserControl(parent);
            control->runNavigations = *pagesLoad;
            return control;
        };
    }

    // The start-up work of "Last" mode, asking the keeper.
    void startUp(TQWOptions* options)
    {
        keeper.BeginRun();
        TStartupLoader(&set, options, {}, [this] { return keeper.ShouldRestore(); }).Run();
        keeper.RestoreFinished();
    }
    bool restoreCompletes()
    {
        return EngineTestHelpers::waitFor([this] { return keeper.IsRestoreComplete(); });
    }

    TBrowserTab* tab(int index) const { return set.Tab(index); }
    void navigate(TBrowserTab* tab, const QString& name)
    {
        FakeTabHost::controlOf(tab)->simulateNavigation(site(name));
    }
    TBrowserTab* open(const QString& name)
    {
        TBrowserTab* tab = set.AddTab();
        navigate(tab, name);
        return tab;
    }
    QStringList addresses() const
    {
        QStringList list;
        for (int i = 0; i < set.Count(); ++i)
            list << set.Tab(i)->GetLocationURL();
        return list;
    }
};
} // namespace

class tst_TSessionKeeper : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestStore> store;
    TQWOptions* options = nullptr;
    TSessionKeeper::Timings timings;
    ScriptedServices services;
    QList<ConfirmCall>& confirmCalls = services.confirmCalls;

    std::unique_ptr<Run> newRun() { return std::make_unique<Run>(options, &services, timings); }
    // A run whose restore is complete, with the first tab on first.
    std::unique_ptr<Run> runningWith(const QString& first)
    {
        auto run = newRun();
        run->keeper.BeginRun();
        run->navigate(run->tab(0), first);
        run->keeper.RestoreFinished();
        if (!run->restoreCompletes())
            return nullptr;
        run->written.clear();
        return run;
    }
    QStringList stored() const { return options->ReadListSection(RegistryKeys::LastOpenSites); }
    void store5()
    {
        options->WriteListSection(RegistryKeys::LastOpenSites,
                                  {"url5=" + site("e"), "url4=" + site("d"), "url3=" + site("c"),
                                   "url2=" + site("b"), "url1=" + site("a")});
    }
    QString marker() const { return options->ReadString(SessionRunState::ValueName()); }
    // A fresh store for the next row of a table.
    void restart()
    {
        cleanup();
        init();
    }

private slots:
    void init()
    {
        store = std::make_unique<TestStore>();
        options = store->options.get();
        options->SetStartupMode("Last");
        services.textFn = [](const QString& section, const QString& key)
        { return section + QLatin1Char('>') + key; };
        // Write delay, address poll, settle grace, settle limit, settle poll.
        timings = {50, 3600000, 20, 60000, 5};
        confirmCalls.clear();
        services.confirmAnswer = {true, false};
    }
    void cleanup() { store.reset(); }

    void burstOfChangesGivesOneWrite()
    {
        auto run = runningWith("a");
        QVERIFY(run);
        // The first tab's own page was there before the restore completed.
        QCOMPARE(stored(), QStringList{"url1=" + site("a")});

        run->open("b");
        run->open("c");
        run->navigate(run->tab(0), "a2");
        QVERIFY(run->keeper.WritePending());
        QTRY_COMPARE(run->written.count(), 1);
        QVERIFY(!run->keeper.WritePending());
        const QStringList expected = {"url3=" + site("c"), "url2=" + site("b"),
                                      "url1=" + site("a2")};
        QCOMPARE(stored(), expected);
        QCOMPARE(run->written.at(0).at(0).toStringList(), expected);
    }

    void everyKindOfChangeIsWritten()
    {
        const QList<std::pair<QString, QStringList>> rows = {
            {"close", {"url1=" + site("a")}},
            {"navigate", {"url2=" + site("x"), "url1=" + site("a")}},
            {"move", {"url2=" + site("a"), "url1=" + site("b")}},
        };
        for (const auto& [change, expected] : rows)
        {
            restart();
            auto run = runningWith("a");
            QVERIFY(run);
            run->open("b");
            QTRY_COMPARE(stored(), (QStringList{"url2=" + site("b"), "url1=" + site("a")}));
            run->written.clear();
            if (change == "close")
                run->set.CloseTab(run->tab(1));
            else if (change == "navigate")
                run->navigate(run->tab(1), "x");
            else
            {
                // As a drag on the tab strip does it.
                run->pc.movePage(1, 0);
                emit run->pc.pageMoved(1, 0);
            }
            QTRY_COMPARE(run->written.count(), 1);
            QCOMPARE(stored(), expected);
        }
    }

    void addressChangedWithoutTabEventIsCaught()
    {
        timings.addressPollMs = 30;
        auto run = runningWith("a");
        QVERIFY(run);
        // A page's script changes the address in place: no tab event.
        FakeTabHost::controlOf(run->tab(0))->locationUrl = site("a#part");
        QTRY_COMPARE(stored(), QStringList{"url1=" + site("a#part")});
    }

    void nothingToWrite()
    {
        // The same tabs again; the mode's name in another case.
        for (const QString mode : {"Last", "last"})
        {
            restart();
            options->SetStartupMode(mode);
            auto run = runningWith("a");
            QVERIFY(run);
            // Behind the keeper's back: any write would show.
            options->WriteListSection(RegistryKeys::LastOpenSites, {"url1=" + site("other")});
            run->tab(0)->SetTitle("A new title");
            if (mode == "last")
                run->open("b");
            else
                run->navigate(run->tab(0), "a");
            QVERIFY(run->keeper.WritePending());
            QTRY_VERIFY(!run->keeper.WritePending());
            QCOMPARE(run->written.count(), 0);
            QCOMPARE(stored(), QStringList{"url1=" + site("other")});
        }
    }

    // What the keeper writes, the next start restores in the same order.
    void writtenListRestoresTheSameTabs()
    {
        QStringList open;
        {
            auto run = runningWith("a");
            QVERIFY(run);
            run->open("b");
            run->open("c");
            run->set.MakeMeActiveTab(0);
            run->open("a2"); // placed after the active tab
            open = run->addresses();
            QTRY_VERIFY(!run->keeper.WritePending());
            QCOMPARE(run->written.count(), 1);
        } // killed
        QCOMPARE(open, (QStringList{site("a"), site("a2"), site("b"), site("c")}));

        auto next = newRun();
        next->startUp(options);
        QCOMPARE(next->addresses(), open);
        QCOMPARE(confirmCalls.size(), 0);
        // Restored as they were, the tabs are not written again.
        QVERIFY(next->restoreCompletes());
        QCOMPARE(next->written.count(), 0);
    }

    void startUpKilledHalfWayKeepsTheList()
    {
        store5();
        {
            auto run = newRun();
            run->keeper.BeginRun();
            // The start-up work got as far as two of the five tabs.
            const QStringList lines = stored();
            for (int i = 0; i < 2; ++i)
            {
                TBrowserTab* tab = i == 0 ? run->tab(0) : run->set.AddTab();
                tab->Restoring = true;
                tab->NavigateTo(lines.at(lines.size() - 1 - i).section('=', 1));
            }
            run->open("typed");
            QCOMPARE(run->set.Count(), 3);
            QVERIFY(!run->keeper.WritePending());
            QCOMPARE(marker(), "restoring");
        } // killed
        QCOMPARE(stored().size(), 5);

        // The next start restores all five, and asks nothing: the run
        // before the killed one ended cleanly.
        auto next = newRun();
        next->startUp(options);
        QCOMPARE(next->addresses(),
                 (QStringList{site("a"), site("b"), site("c"), site("d"), site("e")}));
        QCOMPARE(confirmCalls.size(), 0);
    }

    void restoreIsCompleteOnlyWhenRestoredPagesHaveLoaded()
    {
        store5();
        auto run = newRun();
        run->pagesLoad = false;
        QSignalSpy complete(&run->keeper, &TSessionKeeper::restoreComplete);
        run->startUp(options);
        QCOMPARE(run->set.Count(), 5);
        for (int i = 0; i < 4; ++i)
            FakeTabHost::controlOf(run->tab(i))
                ->simulateNavigation(site(QString(QChar('a' + i))), NavigationRequest::Program);
        // The fifth page is still on its way: tabs closed now would be lost.
        run->set.CloseTab(run->tab(0));
        QVERIFY(!complete.wait(10 * timings.settleGraceMs));
        QCOMPARE(marker(), "restoring");
        QCOMPARE(stored().size(), 5);

        FakeTabHost::controlOf(run->tab(3))
            ->simulateNavigation(site("e"), NavigationRequest::Program);
        QTRY_COMPARE(complete.count(), 1);
        QCOMPARE(marker(), "running");
        QCOMPARE(stored(), (QStringList{"url4=" + site("e"), "url3=" + site("d"),
                                        "url2=" + site("c"), "url1=" + site("b")}));
    }

    void questionAndItsAnswers()
    {
        // Nothing remembered: no question.
        options->WriteString(SessionRunState::ValueName(), "restoring-after-crash");
        {
            auto run = newRun();
            run->startUp(options);
            QCOMPARE(confirmCalls.size(), 0);
            QCOMPARE(run->set.Count(), 1);
        }

        for (const bool yes : {true, false})
        {
            restart();
            store5();
            options->WriteString(SessionRunState::ValueName(), "restoring-after-crash");
            services.confirmAnswer = {yes, false};
            auto run = newRun();
            run->startUp(options);
            QCOMPARE(confirmCalls.size(), 1);
            QCOMPARE(run->keeper.ShouldRestore(), yes);
            QCOMPARE(confirmCalls.size(), 1);
            // Whatever the answer, a crash now would ask again.
            QCOMPARE(marker(), "restoring-after-crash");
            QCOMPARE(run->set.Count(), yes ? 5 : 1);
            // Nothing lost until this run's tabs are settled.
            QCOMPARE(stored().size(), 5);
            QVERIFY(run->restoreCompletes());
            if (yes)
                continue;
            run->navigate(run->tab(0), "mine");
            QTRY_COMPARE(stored(), QStringList{"url1=" + site("mine")});
        }
    }

    void endRunMarksCleanAndStopsWriting()
    {
        auto run = runningWith("a");
        QVERIFY(run);
        run->open("b");
        // The window's exit write, then the end of the run.
        QList<TBrowserTab*> tabs;
        for (int i = 0; i < run->set.Count(); ++i)
            tabs << run->tab(i);
        TStartupLoader::WriteRememberedSites(*options, tabs);
        run->keeper.EndRun();
        QCOMPARE(marker(), "clean");
        QVERIFY(!run->keeper.WritePending());

        // What the window does after that must not reach the list.
        run->set.CloseTab(run->tab(1));
        run->navigate(run->tab(0), "late");
        QVERIFY(!run->keeper.WritePending());
        QCOMPARE(stored(), (QStringList{"url2=" + site("b"), "url1=" + site("a")}));
    }
};

QTEST_MAIN(tst_TSessionKeeper)
#include "tst_TSessionKeeper.moc"

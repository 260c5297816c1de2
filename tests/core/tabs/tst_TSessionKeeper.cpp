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

const QStringList ThreeSites{"url3=http://c.test/", "url2=http://b.test/", "url1=http://a.test/"};

// One run of the program: a window's tab set with its first tab, and the
// keeper. Dropping it without EndRun() is a crash.
struct Run
{
    TabSetHost host;
    TQWPageControl pc;
    // Whether new tabs load whatever they are sent to at once; else they
    // show shownMeanwhile until it arrives.
    bool pagesLoad;
    QString shownMeanwhile;
    QList<FakeBrowserControl*> controls;
    TTabSet set;
    TSessionKeeper keeper;
    QSignalSpy written;

    Run(TQWOptions* options, ScriptedServices* services, const TSessionKeeper::Timings& timings,
        bool loads, const QString& shown)
        : pagesLoad(loads), shownMeanwhile(shown),
          set(
              &pc, &host, services,
              [this](QWidget* parent) -> IBrowserControl*
              {
                  auto* control = new FakeBrowserControl(parent);
                  control->runNavigations = pagesLoad;
                  control->locationUrl = shownMeanwhile;
                  controls << control;
                  return control;
              },
              options),
          keeper(&set, options, services), written(&keeper, &TSessionKeeper::sitesWritten)
    {
        host.tabSet = &set;
        keeper.SetTimings(timings);
        set.AddTab();
    }
    ~Run() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

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
    QList<TBrowserTab*> tabs() const
    {
        QList<TBrowserTab*> list;
        for (int i = 0; i < set.Count(); ++i)
            list << set.Tab(i);
        return list;
    }
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
        for (const TBrowserTab* tab : tabs())
            list << tab->GetLocationURL();
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

    std::unique_ptr<Run> newRun(bool loads = true, const QString& shownMeanwhile = {})
    {
        return std::make_unique<Run>(options, &services, timings, loads, shownMeanwhile);
    }
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

    // A burst of changes gives one write; every kind of change is written,
    // also an address a page's script changes in place (no tab event).
    void changesAreWritten()
    {
        timings.addressPollMs = 30;
        auto run = runningWith("a");
        QVERIFY(run);
        // The first tab's own page was there before the restore completed.
        QCOMPARE(stored(), QStringList{"url1=" + site("a")});
        run->open("b");
        run->open("c");
        run->navigate(run->tab(0), "a2");
        QTRY_COMPARE(run->written.count(), 1);
        const QStringList expected = {"url3=" + site("c"), "url2=" + site("b"),
                                      "url1=" + site("a2")};
        QCOMPARE(stored(), expected);
        QCOMPARE(run->written.at(0).at(0).toStringList(), expected);

        run->set.CloseTab(run->tab(2));
        QTRY_COMPARE(stored(), (QStringList{"url2=" + site("b"), "url1=" + site("a2")}));
        // As a drag on the tab strip does it.
        run->pc.movePage(1, 0);
        emit run->pc.pageMoved(1, 0);
        QTRY_COMPARE(stored(), (QStringList{"url2=" + site("a2"), "url1=" + site("b")}));
        FakeTabHost::controlOf(run->tab(0))->locationUrl = site("b#part");
        QTRY_COMPARE(stored(), (QStringList{"url2=" + site("a2"), "url1=" + site("b#part")}));
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

        // The next start restores all five in order, and asks nothing: the
        // run before the killed one ended cleanly.
        auto next = newRun();
        next->startUp(options);
        QCOMPARE(next->addresses(),
                 (QStringList{site("a"), site("b"), site("c"), site("d"), site("e")}));
        QCOMPARE(confirmCalls.size(), 0);
        // Restored as they were, the tabs are not written again.
        QVERIFY(next->restoreCompletes());
        QCOMPARE(next->written.count(), 0);
    }

    void restoreIsCompleteOnlyWhenRestoredPagesHaveLoaded()
    {
        store5();
        auto run = newRun();
        run->pagesLoad = false;
        QSignalSpy complete(&run->keeper, &TSessionKeeper::restoreComplete);
        run->startUp(options);
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
        // -1: nothing remembered, so no question; else asked once (1: Yes,
        // 0: No), and whatever the answer, a crash now would ask again.
        for (const int answer : {-1, 1, 0})
        {
            restart();
            if (answer >= 0)
                store5();
            options->WriteString(SessionRunState::ValueName(), "restoring-after-crash");
            services.confirmAnswer = {answer == 1, false};
            auto run = newRun();
            run->startUp(options);
            QCOMPARE(confirmCalls.size(), answer >= 0 ? 1 : 0);
            QCOMPARE(run->set.Count(), answer == 1 ? 5 : 1);
            if (answer < 0)
                continue;
            QCOMPARE(run->keeper.ShouldRestore(), answer == 1);
            QCOMPARE(confirmCalls.size(), 1);
            QCOMPARE(marker(), "restoring-after-crash");
            // Nothing lost until this run's tabs are settled.
            QCOMPARE(stored().size(), 5);
            QVERIFY(run->restoreCompletes());
            if (answer == 0)
            {
                run->navigate(run->tab(0), "mine");
                QTRY_COMPARE(stored(), QStringList{"url1=" + site("mine")});
            }
        }
    }

    void endRunMarksCleanAndStopsWriting()
    {
        auto run = runningWith("a");
        QVERIFY(run);
        run->open("b");
        // The window's exit write, then the end of the run.
        TStartupLoader::WriteRememberedSites(*options, run->tabs());
        run->keeper.EndRun();
        QCOMPARE(marker(), "clean");
        QVERIFY(!run->keeper.WritePending());

        // What the window does after that must not reach the list.
        run->set.CloseTab(run->tab(1));
        run->navigate(run->tab(0), "late");
        QVERIFY(!run->keeper.WritePending());
        QCOMPARE(stored(), (QStringList{"url2=" + site("b"), "url1=" + site("a")}));
    }

    void startupModes()
    {
        const QString home = TBrowserTab::HomeUrl();
        const struct
        {
            QString mode, startupPage, commandLine;
            QStringList stored, addresses; // stored: the remembered tabs, last first
            int active;
        } rows[] = {
            // clang-format off
            {"Home", "", "http://given.test/", {}, {home, "http://given.test/"}, 1},
            {"Blank", "http://once.test/", "", {}, {"http://once.test/", "about:blank"}, 1},
            {"Last", "", "", ThreeSites, {site("a"), site("b"), site("c")}, 2},
            {"Last", "", "", {}, {""}, 0},
            {"VostelGroup", "", "http://only.test/", {}, {"http://only.test/"}, 0}, // no group
            // clang-format on
        };
        for (const auto& r : rows)
        {
            options->SetStartupMode(r.mode);
            options->SetStartupPage(r.startupPage);
            options->SetCommandLine(r.commandLine);
            options->WriteListSection(RegistryKeys::LastOpenSites, r.stored);
            {
                auto run = newRun();
                TStartupLoader(&run->set, options).Run();
                QCOMPARE(run->addresses(), r.addresses);
                QCOMPARE(run->pc.indexOf(run->set.GetActivePage()), r.active);
                // Each tab started its own page at most once.
                for (const FakeBrowserControl* control : run->controls)
                    QVERIFY(control->navigations.size() + control->blankPages.size() <= 1);
            }
            // The start page and the command line are used once.
            QCOMPARE(options->StartupPage(), QString());
            QCOMPARE(options->CommandLine(), QString());
        }
    }

    void rememberedSitesOrderAndSkips()
    {
        auto run = newRun();
        run->tab(0)->Navigate("http://one.test/");
        run->set.AddTab(); // never navigated: not remembered
        run->set.AddTab()->Navigate("http://three.test/");
        TBrowserTab* killed = run->set.AddTab();
        killed->Navigate("http://killed.test/");
        killed->Killed = true;

        const QStringList expected{"url3=http://three.test/", "url1=http://one.test/"};
        QCOMPARE(TStartupLoader::RememberedSites(run->tabs()), expected);
        TStartupLoader::WriteRememberedSites(*options, run->tabs());
        QCOMPARE(stored(), expected);
        // Other modes keep no list.
        options->SetStartupMode("Home");
        TStartupLoader::WriteRememberedSites(*options, run->tabs());
        QVERIFY(
            !store->store->keyExists(RegistryKeys::ValueKey + '\\' + RegistryKeys::LastOpenSites));
    }

    void restoredTabsKeepAddressesNotYetReached()
    {
        // Nothing shown yet, or the engine's blank document.
        for (const QString& shownMeanwhile : {QString(), QStringLiteral("about:blank")})
        {
            options->WriteListSection(RegistryKeys::LastOpenSites, ThreeSites);
            auto run = newRun(false, shownMeanwhile);
            TStartupLoader(&run->set, options).Run();
            // The program ends before any page has arrived.
            TStartupLoader::WriteRememberedSites(*options, run->tabs());
            QCOMPARE(stored(), ThreeSites);
        }
    }
};

QTEST_MAIN(tst_TSessionKeeper)
#include "tst_TSessionKeeper.moc"

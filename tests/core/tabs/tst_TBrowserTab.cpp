#include "FakeBrowserControl.h"
#include "FakeTabHost.h"
#include "core/tabs/LockedTabRule.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TabAddressRule.h"
#include "core/tabs/TabSecurityRule.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace
{
QString letters(int count)
{
    return u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"_s.repeated(2).left(
        count);
}

// One host with one tab of its own; the tab is active unless a test says
// otherwise.
struct Window
{
    FakeTabHost host;
    TBrowserTab* tab;
    FakeBrowserControl* control;

    explicit Window(bool active = true, bool hidden = false)
        : tab(host.makeTab(hidden)), control(FakeTabHost::controlOf(tab))
    {
        if (active)
            host.activeTab = tab;
    }
    int state() const { return tab->State(); }
};
} // namespace

class tst_TBrowserTab : public QObject
{
    Q_OBJECT

private slots:
    void shortenTitleAndProgressText()
    {
        const QString blank = u"(Blank page)"_s;
        const QList<std::tuple<QString, int, QString, QString>> rows = {
            // clang-format off
            {letters(40), 35, blank, letters(35) + u"..."_s},
            {letters(60), 0, blank, letters(50) + u"..."_s}, // 0: cut at 50
            {u"ab&cdef"_s, 3, blank, u"ab&&..."_s}, // an ampersand at the cut
            {u"about:blank"_s, 0, u"Blank & empty"_s, u"Blank && empty"_s},
            {u"about:blank"_s, 5, blank, u"about..."_s}, // a cut blank address is no blank
            {u"a\U0001F600bc"_s, 2, blank, u"a..."_s}, // a character pair is not split
            // clang-format on
        };
        for (const auto& [title, limit, blankText, caption] : rows)
            QCOMPARE(TBrowserTab::ShortenTitle(title, limit, blankText), caption);
        QCOMPARE(TBrowserTab::ProgressText(150, 100), u"100%"_s);
        QCOMPARE(TBrowserTab::ProgressText(1, 8), u"12%"_s); // 12.5 to even
        QCOMPARE(TBrowserTab::ProgressText(1073741823, 2147483647), u"50%"_s);
    }

    void promptStickyName()
    {
        Window w;
        w.control->locationUrl = u"http://a.test/"_s;
        const QList<std::tuple<QString, bool, QString, QString>> rows = {
            // title, accepted, typed, name after
            {u"http://a.test/"_s, false, u"Mine"_s, {}}, // the address is never proposed
            {u"Page"_s, false, u"Mine"_s, u"Page"_s},    // a cancel takes the proposal
            {u"Page"_s, true, u"Mine"_s, u"Mine"_s},
            {u"Page"_s, true, u""_s, u"Mine"_s}, // an emptied box changes nothing
        };
        for (const auto& [title, accepted, typed, name] : rows)
        {
            w.control->fireTitle(title);
            w.host.services.inputAccepted = accepted;
            w.host.services.inputAnswer = typed;
            w.tab->PromptStickyName();
            QCOMPARE(w.tab->StickyName(), name);
        }
        QCOMPARE(w.host.services.inputQueries.at(0).proposed, QString());
    }

    void stateFollowsTheLoad()
    {
        Window w;
        const QString url = u"http://a.test/"_s;
        w.control->fireIcon(QIcon(QPixmap(16, 16)));
        QVERIFY(w.control->fireBeforeNavigate(url));
        QCOMPARE(w.state(), int(TBrowserTab::StateBusy));
        QVERIFY(w.tab->PageIcon().isNull());
        w.control->fireProgress(50, 100);
        // The end of a load clears the panel instead of leaving the last figure.
        w.control->fireProgress(100, 100);
        QCOMPARE(w.host.progressTexts, (QStringList{u"50%"_s, QString()}));
        w.control->fireNavigateComplete(url);
        QCOMPARE(w.state(), int(TBrowserTab::StateArrived));
        w.control->fireDocumentComplete(url);
        QCOMPARE(w.state(), int(TBrowserTab::StateIdle));
        QVERIFY(!w.tab->Busy && w.tab->Seen && !w.tab->PageIcon().isNull());
        QCOMPARE(w.host.indicatorRefreshes, 3); // began, arrived, finished

        // In the background a load stays unseen until the tab is looked at, and
        // reaches no panel; the active tab is never shown as unseen.
        Window back(false);
        QVERIFY(back.control->simulateNavigation(url));
        back.control->fireProgress(70, 100);
        back.control->fireStatusText(u"Done"_s);
        QVERIFY(back.host.progressTexts.isEmpty() && back.host.statusTexts.isEmpty());
        QCOMPARE(back.state(), int(TBrowserTab::StateUnseen));
        back.host.activeTab = back.tab;
        back.tab->MarkSeen(true);
        back.tab->MarkSeen(false);
        QCOMPARE(back.state(), int(TBrowserTab::StateIdle));

        // A restored page arrives as seen.
        Window restored(false);
        restored.tab->Restoring = true;
        restored.control->fireBeforeNavigate(url);
        restored.control->fireNavigateComplete(url);
        QCOMPARE(restored.state(), int(TBrowserTab::StateIdle));
        QVERIFY(!restored.tab->Restoring);

        // Locked after its first load, it keeps that page from then on.
        Window later;
        later.tab->LockAfterLoad = true;
        QVERIFY(later.control->simulateNavigation(url));
        QCOMPARE(later.state(), int(TBrowserTab::StateLocked));
        QVERIFY(!later.control->fireBeforeNavigate(u"http://b.test/"_s));
    }

    void crashedTabKeepsItsTitleAndShowsTheCrash()
    {
        Window w;
        w.control->simulateNavigation(u"http://a.test/"_s);
        w.control->fireTitle(u"My page"_s);
        w.control->firePageCrashed();
        QVERIFY(w.tab->Crashed());
        QCOMPARE(w.tab->ImageIndex(), int(TBrowserTab::CrashedImage));
        QCOMPARE(w.tab->Caption(), u"My page"_s);
        // It stays for the next start, at the address it had.
        QCOMPARE(w.tab->RememberedAddress(), u"http://a.test/"_s);

        // The crash page arrives without a navigation of the tab's own and
        // leaves both alone; the crash shows over the lock as well.
        w.control->fireNavigateComplete(u"http://a.test/"_s);
        w.control->fireDocumentComplete(u"http://a.test/"_s);
        w.tab->SetLocked(true);
        QCOMPARE(w.tab->ImageIndex(), int(TBrowserTab::CrashedImage));
        w.tab->SetLocked(false);

        // Loading the page again ends it.
        QVERIFY(w.control->fireBeforeNavigate(u"http://a.test/"_s, TopFrame,
                                              NavigationRequest::Program));
        QVERIFY(!w.tab->Crashed());
    }

    void hiddenTabDecidesOnItsFirstRealAddress()
    {
        for (const bool match : {true, false}) // captured, shown
        {
            Window w(false, true);
            w.host.popupMatchAnswer = match;
            QSignalSpy shown(w.tab, &TBrowserTab::shown);
            QVERIFY(w.control->simulateNavigation(u"about:blank"_s));
            QVERIFY(w.control->fireBeforeNavigate(u"javascript:void(0)"_s));

            const QString url = u"http://ads.test/pop?x=1"_s;
            QCOMPARE(w.control->fireBeforeNavigate(url), !match);
            QCOMPARE(w.host.popupQueries, QStringList{url});
            QCOMPARE(w.tab->PopupOriginalUrl, url);
            QCOMPARE(w.tab->Killed, match);
            QCOMPARE(w.host.closeHiddenTimerStarts, match ? 1 : 0);
            QCOMPARE(shown.count(), match ? 0 : 1);

            // Decided once: later navigations are not examined again, and a
            // captured pop-up loads and opens nothing more.
            QCOMPARE(w.control->fireBeforeNavigate(u"javascript:open('x')"_s), !match);
            QCOMPARE(w.control->fireNewWindow(u"http://ads.test/more"_s) == nullptr, match);
            QCOMPARE(w.host.popupQueries.size(), 1);
        }
    }

    void specialFilesAreRefused()
    {
        QTemporaryDir dir;
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(u"pipe"_s)).constData(), 0600), 0);
        QVERIFY(QFile::link(dir.filePath(u"pipe"_s), dir.filePath(u"link"_s)));
        QFile page(dir.filePath(u"page.html"_s));
        QVERIFY(page.open(QIODevice::WriteOnly));
        const QList<std::tuple<QString, bool, bool>> rows = {
            // name, as a file address, refused
            {u"pipe"_s, false, true},
            {u"link"_s, true, true}, // a link to the pipe
            {u"page.html"_s, false, false},
            {u"none.html"_s, true, false},
        };
        for (const auto& [name, asFileAddress, refused] : rows)
        {
            const QString path = dir.filePath(name);
            // Handed to the tab (command line, forwarded, restored, typed).
            Window w;
            w.tab->Restoring = true;
            w.tab->NavigateTo(asFileAddress ? QUrl::fromLocalFile(path).toString() : path);
            QCOMPARE(w.control->navigations.isEmpty(), refused);
            QCOMPARE(w.host.statusTexts.contains(u"Not opened: "_s + path), refused);
            // A refused tab does not stand for the address at the next start.
            QCOMPARE(w.tab->RememberedAddress().isEmpty(), refused);
            // Reached from a page (a link, a redirect, a frame).
            QCOMPARE(
                w.control->fireBeforeNavigate(QUrl::fromLocalFile(path).toString(), FrameId(7)),
                !refused);
        }
    }

    void lockedTabSendsNavigationsToANewTab()
    {
        Window w;
        w.control->runNavigations = true;
        w.tab->Navigate(u"http://kept.test/"_s);
        w.control->fireTitle(u"Kept page"_s);
        w.tab->SetLocked(true);
        const QStringList typedBefore = w.host.typedAddresses;

        const QString url = u"http://elsewhere.test/"_s;
        QVERIFY(!w.control->fireBeforeNavigate(url));
        QCOMPARE(w.host.perPreferenceTabs.size(), 1);
        TBrowserTab* added = w.host.perPreferenceTabs.at(0);
        QVERIFY(added->OpenedAsNewWindow);
        QCOMPARE(FakeTabHost::controlOf(added)->navigations, QStringList{url});

        // Operations on the locked tab take the same way and leave it alone.
        w.tab->Navigate(u"http://third.test/"_s);
        QCOMPARE(w.host.perPreferenceTabs.size(), 2);
        QCOMPARE(FakeTabHost::controlOf(w.host.perPreferenceTabs.at(1))->navigations,
                 QStringList{u"http://third.test/"_s});
        QCOMPARE(w.tab->Caption(), u"Kept page"_s);
        QCOMPARE(w.control->locationUrl, u"http://kept.test/"_s);
        QCOMPARE(w.host.typedAddresses, typedBefore);
    }

    void newWindow()
    {
        Window w;
        IBrowserControl* given = w.control->fireNewWindow(u"http://pop.test/"_s);
        QCOMPARE(w.host.hiddenTabs.size(), 1);
        TBrowserTab* popup = w.host.hiddenTabs.at(0);
        QCOMPARE(given, popup->Browser());
        QVERIFY(popup->Hidden && popup->OpenedAsNewWindow);

        // Without a browser for it the new window is refused, and the useless
        // hidden tab goes with the next close of captured pop-ups.
        w.host.newTabsHaveBrowser = false;
        QCOMPARE(w.control->fireNewWindow(u"http://pop.test/"_s), nullptr);
        QVERIFY(w.host.hiddenTabs.at(1)->Killed);
        QCOMPARE(w.host.closeHiddenTimerStarts, 1);
        w.host.failNewTabs = true;
        QCOMPARE(w.control->fireNewWindow(u"http://pop.test/"_s), nullptr);

        // The page closing its window closes this tab only.
        w.control->fireWindowClosing();
        QCOMPARE(w.host.closeRequests, QList<TBrowserTab*>{w.tab});
    }

    void framesTrackingAndSecure()
    {
        // A plain frame that arrives before the top-level page.
        Window w;
        const QString top = u"https://a.test/"_s;
        w.control->fireBeforeNavigate(top);
        w.control->fireBeforeNavigate(u"http://frame.test/"_s, 1, NavigationRequest::Other);
        w.control->fireNavigateComplete(u"http://frame.test/"_s, 1);
        w.control->fireNavigateComplete(top);
        w.control->fireDocumentComplete(u"http://frame.test/"_s, 1);
        w.control->fireDocumentComplete(top);
        QVERIFY(!w.tab->Secure && !w.tab->Busy);
        // Mixed content (or an accepted bad certificate) reported after the
        // page was judged secure.
        QVERIFY(w.control->simulateNavigation(u"https://c.test/"_s));
        QVERIFY(w.tab->Secure);
        static_cast<IBrowserEvents*>(w.tab)->InsecureContent();
        QVERIFY(!w.tab->Secure);

        // Stopped by the user, the engine's own report of the stop changes
        // nothing more.
        Window stopped(false);
        stopped.control->fireBeforeNavigate(u"http://slow.test/"_s);
        stopped.tab->Stop();
        QCOMPARE(stopped.control->stops, 1);
        QVERIFY(!stopped.tab->Busy);
        stopped.control->fireDocumentComplete(u"http://slow.test/"_s);
        QCOMPARE(stopped.state(), int(TBrowserTab::StateUnseen));

        // A frame starts loading, then the user leaves the page before it
        // ends; a frame load whose end never comes ends with the top document.
        Window left;
        QVERIFY(left.control->simulateNavigation(u"https://a.test/"_s));
        left.control->fireBeforeNavigate(u"http://ad.test/"_s, 4, NavigationRequest::Other);
        QCOMPARE(left.tab->TrackedDispatch(), 4);
        QVERIFY(left.control->simulateNavigation(u"https://b.test/"_s));
        QVERIFY(left.tab->Secure);
        QCOMPARE(left.state(), int(TBrowserTab::StateIdle));
        left.control->fireBeforeNavigate(u"http://frame.test/"_s, 2, NavigationRequest::Other);
        left.control->fireDocumentComplete(u"http://c.test/"_s, TopFrame);
        QVERIFY(!left.tab->Busy);
        QCOMPARE(left.state(), int(TBrowserTab::StateIdle));
    }

    void navigationCommands()
    {
        Window w;
        const QString url = u"http://a.test/path?q=1&r=2"_s;
        w.tab->Navigate(url);
        // The address shows until the title comes.
        QCOMPARE(w.tab->Caption(), u"http://a.test/path?q=1&&r=2"_s);
        // An address handed to the tab (not one it navigates to) is its start.
        w.tab->GoTabHome(); // none yet
        w.tab->NavigateTo(u"http://start.test/"_s);
        w.tab->GoHome();
        w.tab->GoTabHome();
        QCOMPARE(w.control->navigations,
                 (QStringList{url, u"http://start.test/"_s, TBrowserTab::HomeUrl(),
                              u"http://start.test/"_s}));

        // The address box follows the top frame, not its frames.
        w.control->simulateFramedNavigation(u"http://b.test/"_s, {u"http://frame.test/"_s});
        QCOMPARE(w.host.typedAddresses.last(), u"http://b.test/"_s);
        QCOMPARE(w.host.shownAddresses.last(), u"http://b.test/"_s);

        // Back and forward follow the engine's command states.
        w.control->fireCommandState(CommandForward, true);
        w.tab->GoBack();
        w.tab->GoForward();
        QCOMPARE(w.control->backs, 0);
        QCOMPARE(w.control->forwards, 1);
        w.control->fireCommandState(CommandBack, true);
        w.tab->GoBack();
        QCOMPARE(w.control->backs, 1);
        // A busy page is stopped before it is loaded again.
        w.tab->Refresh(true);
        w.control->busy = true;
        w.tab->Refresh(false);
        QCOMPARE(w.control->log.mid(w.control->log.size() - 3),
                 (QStringList{u"Refresh complete"_s, u"Stop"_s, u"Refresh normal"_s}));
    }

    void tabWithoutBrowserIgnoresEverything()
    {
        FakeTabHost host;
        TBrowserTab* tab = host.makeTab(false, false);
        host.activeTab = tab;
        tab->NavigateTo(u"http://a.test/"_s);
        tab->GoHome();
        tab->GoBlank();
        tab->Refresh(true);
        tab->Stop();
        tab->SetLocked(true);
        tab->SetStickyName(u"Name"_s);
        tab->PromptStickyName();
        tab->SetTitle(u"Title"_s);
        tab->MarkSeen(false);
        tab->FocusPage();
        std::optional<bool> found;
        tab->FollowNextLink([&found](bool f) { found = f; });
        QCOMPARE(found, std::optional<bool>(false));
        QVERIFY(!tab->Locked());
        QVERIFY(tab->Caption().isEmpty());
        QVERIFY(host.calls.isEmpty());
    }
    // A tab that waits to be shown: what it shows and reports before its
    // page is loaded, that it has no control until then, and what it loads.
    void unloadedTab()
    {
        const QString a = u"http://a.test/x"_s;
        const struct
        {
            QString url, title, stickyName, operation, caption;
            QStringList log;
        } rows[] = {
            // clang-format off
            {a, u"Alpha & Co"_s, {}, u"show"_s, u"Alpha && Co"_s, {u"Navigate "_s + a}},
            {a, {}, {}, u"refresh"_s, u"a.test"_s, {u"Navigate "_s + a}}, // no title: the host
            {a, u"Title"_s, u"Mine"_s, u"go"_s, u"Mine"_s, {u"Navigate http://x.test/"_s}},
            {a, letters(60), {}, u"lock"_s, letters(50) + u"..."_s, {u"Navigate "_s + a}},
            {u"about:blank"_s, {}, {}, u"stop"_s, u"(Blank page)"_s, {}}, // no host: the address
            // clang-format on
        };
        for (const auto& r : rows)
        {
            FakeTabHost host;
            TBrowserTab* tab = host.makeTab(false, false);
            tab->LoadOnShow(r.url, r.title, [] { return new FakeBrowserControl; });
            if (!r.stickyName.isEmpty())
                tab->SetStickyName(r.stickyName);
            QVERIFY(tab->Unloaded() && !tab->Browser());
            QCOMPARE(tab->Caption(), r.caption);
            QCOMPARE(tab->ImageIndex(), TBrowserTab::UnloadedImage);
            QCOMPARE(tab->RememberedAddress(), r.url);
            QCOMPARE(tab->GetLocationName(), r.title);

            const bool lock = r.operation == u"lock"_s;
            if (lock)
                tab->SetLocked(true);
            if (r.operation == u"refresh"_s)
                tab->Refresh();
            else if (r.operation == u"go"_s)
                tab->Navigate(u"http://x.test/"_s);
            else if (r.operation == u"stop"_s)
                tab->Stop();
            else
                tab->LoadNow();
            FakeBrowserControl* control = FakeTabHost::controlOf(tab);
            QCOMPARE(control ? control->log : QStringList(), r.log);
            QCOMPARE(tab->Unloaded(), r.log.isEmpty());
            // Until its page arrives the tab still stands for it.
            if (r.operation != u"go"_s)
                QCOMPARE(tab->RememberedAddress(), r.url);
            if (control)
                control->fireNavigateComplete(r.url);
            QCOMPARE(tab->Locked(), lock);
        }
    }

    void lockedTabRule()
    {
        const QString kept = "http://kept.test/";
        const QString other = "http://other.test/";
        const struct
        {
            QString url;
            FrameId frame;
            NavigationRequest::Kind kind;
            bool userInitiated, diverted;
        } rows[] = {
            // clang-format off
            {other, TopFrame, NavigationRequest::LinkClicked, true, true},
            {other, TopFrame, NavigationRequest::Program, true, true}, // typed address
            {kept, TopFrame, NavigationRequest::Reload, true, false},
            {kept, TopFrame, NavigationRequest::Program, true, false}, // same page again
            {kept, TopFrame, NavigationRequest::LinkClicked, true, true}, // same page by link
            {other, TopFrame, NavigationRequest::FormSubmitted, true, false},
            {other, TopFrame, NavigationRequest::Redirect, false, false},
            {other, 3, NavigationRequest::Other, false, false}, // frame loads in place
            {other, 3, NavigationRequest::LinkClicked, false, true},
            {other, 3, NavigationRequest::Other, true, true}, // frame user navigation
            {other, UnknownFrame, NavigationRequest::Other, false, true}, // counts as the page
            // clang-format on
        };
        for (const auto& r : rows)
            QCOMPARE(
                LockedTabRule::divertsToNewTab({r.url, r.frame, r.kind, r.userInitiated}, kept),
                r.diverted);
    }

    void rememberedAddressRule()
    {
        const QString a = "http://a.test/", b = "http://b.test/", c = "http://c.test/";
        const QString blank = "about:blank";
        const struct
        {
            QString shown;
            bool busy;
            QString pending;
            bool restoring;
            QString tabHome, remembered;
        } rows[] = {
            {a, true, b, true, c, a},            // the shown page
            {blank, true, b, false, "", b},      // first page on its way
            {"", true, b, false, "", b},         // not yet asked for
            {blank, false, "", true, c, c},      // restored, not reached
            {blank, false, "", false, c, blank}, // blank tab
            {blank, false, b, false, "", blank}, // idle keeps no pending
        };
        for (const auto& r : rows)
            QCOMPARE(TabAddressRule::remembered(r.shown, r.busy, r.pending, r.restoring, r.tabHome),
                     r.remembered);
    }

    void securityRule()
    {
        const QList<std::tuple<FrameId, const char*, bool>> rows = {
            {TopFrame, "https://a.test/", false}, {TopFrame, "http://a.test/", true},
            {TopFrame, "about:blank", true},      {2, "about:blank", false},
            {2, "about:srcdoc", false},           {2, "http://ads.test/", true},
        };
        for (const auto& [frame, url, insecure] : rows)
            QCOMPARE(TabSecurityRule::insecureArrival(frame, url), insecure);
        // A secure frame cannot make an insecure page secure again.
        QVERIFY(!TabSecurityRule::secureAfter(2, false, false));
        QVERIFY(TabSecurityRule::secureAfter(TopFrame, false, false));
        QVERIFY(!TabSecurityRule::secureAfter(2, true, true));
    }
};

QTEST_MAIN(tst_TBrowserTab)
#include "tst_TBrowserTab.moc"

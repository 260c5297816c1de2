#include "FakeBrowserControl.h"
#include "FakeTabHost.h"
#include "core/tabs/TBrowserTab.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QUrl>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace
{
const QString Letters = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"_s;

QString letters(int count)
{
    return Letters.repeated(2).left(count);
}

QIcon favicon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    return QIcon(pixmap);
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
};
} // namespace

class tst_TBrowserTab : public QObject
{
    Q_OBJECT

private slots:
    void shortenTitle_data();
    void shortenTitle();
    void setTitleKeepsTheFullTitleAsHint();
    void stickyNameWinsOverTitles();
    void promptStickyName_data();
    void promptStickyName();
    void progressText_data();
    void progressText();
    void progressReachesOnlyTheActiveTabsPanel();
    void iconFollowsAnActiveLoad();
    void backgroundLoadStaysUnseenUntilMarkedSeen();
    void lockedTabKeepsItsIconThroughLoads();
    void faviconShowsOnlyWhileIdle();
    void crashedTabKeepsItsTitleAndShowsTheCrash();
    void hiddenTabDecidesOnItsFirstRealAddress_data();
    void hiddenTabDecidesOnItsFirstRealAddress();
    void killedTabLoadsNothing();
    void specialFilesAreRefused_data();
    void specialFilesAreRefused();
    void lockedTabSendsNavigationsToANewTab();
    void lockedTabKeepsItsOwnReloadsAndFrames_data();
    void lockedTabKeepsItsOwnReloadsAndFrames();
    void lockedTabOpensBlankPagesElsewhere();
    void lockAfterLoad();
    void secureState_data();
    void secureState();
    void framesAndMixedContentClearSecure();
    void newWindowGetsAHiddenTabsControl();
    void newWindowWithoutABrowserIsRefused_data();
    void newWindowWithoutABrowserIsRefused();
    void windowClosingClosesThisTabOnly();
    void backAndForwardFollowCommandStates();
    void refreshStopsABusyPageFirst_data();
    void refreshStopsABusyPageFirst();
    void stopEndsTheTrackedNavigation();
    void newTopLevelNavigationTakesOverTracking();
    void topDocumentCompleteEndsALostFrameLoad();
    void navigateShowsTheAddressUntilTheTitleComes();
    void homeAddresses();
    void addressBoxOnlyForTheActiveTabsTopFrame();
    void newWindowPageTakesTheFocusWhenItArrives_data();
    void newWindowPageTakesTheFocusWhenItArrives();
    void blankPageLayout();
    void tabWithoutBrowserIgnoresEverything();
    void tabOwnsItsControl();
};

void tst_TBrowserTab::shortenTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("blankText");
    QTest::addColumn<QString>("caption");

    const QString blank = u"(Blank page)"_s;
    // clang-format off
    QTest::newRow("35: 40 characters cut") << letters(40) << 35 << blank << letters(35) + u"..."_s;
    QTest::newRow("35: exactly 35 whole") << letters(35) << 35 << blank << letters(35);
    QTest::newRow("0: 60 characters cut at 50") << letters(60) << 0 << blank << letters(50) + u"..."_s;
    QTest::newRow("0: exactly 50 whole") << letters(50) << 0 << blank << letters(50);
    QTest::newRow("100: 80 characters whole") << letters(80) << 100 << blank << letters(80);
    QTest::newRow("negative limit as default") << letters(60) << -7 << blank << letters(50) + u"..."_s;
    QTest::newRow("ampersand doubled") << u"Tom & Jerry"_s << 0 << blank << u"Tom && Jerry"_s;
    QTest::newRow("ampersand at the cut") << u"ab&cdef"_s << 3 << blank << u"ab&&..."_s;
    QTest::newRow("blank address") << u"about:blank"_s << 0 << blank << blank;
    QTest::newRow("blank text ampersand") << u"about:blank"_s << 0 << u"Blank & empty"_s << u"Blank && empty"_s;
    QTest::newRow("cut blank address is no blank") << u"about:blank"_s << 5 << blank << u"about..."_s;
    QTest::newRow("character pair not split") << u"a\U0001F600bc"_s << 2 << blank << u"a..."_s;
    QTest::newRow("empty") << QString() << 0 << blank << QString();
    // clang-format on
}

void tst_TBrowserTab::shortenTitle()
{
    QFETCH(QString, title);
    QFETCH(int, limit);
    QFETCH(QString, blankText);
    QFETCH(QString, caption);
    QCOMPARE(TBrowserTab::ShortenTitle(title, limit, blankText), caption);
}

void tst_TBrowserTab::setTitleKeepsTheFullTitleAsHint()
{
    Window w;
    w.host.titleLimit = 35;
    QSignalSpy changed(w.tab, &TBrowserTab::appearanceChanged);
    w.control->fireTitle(letters(40) + u" & more"_s);
    QCOMPARE(w.tab->Caption(), letters(35) + u"..."_s);
    QCOMPARE(w.tab->Hint(), letters(40) + u" & more"_s);
    QCOMPARE(changed.count(), 1);

    w.control->fireTitle(u"about:blank"_s);
    QCOMPARE(w.tab->Caption(), w.host.services.GetGlobalText(u"Blank"_s));
}

void tst_TBrowserTab::stickyNameWinsOverTitles()
{
    Window w;
    w.control->fireTitle(u"Page one"_s);
    w.tab->SetStickyName(u"Mail & News"_s);
    QCOMPARE(w.tab->Caption(), u"Mail && News"_s);

    w.control->fireTitle(u"Page two"_s);
    QCOMPARE(w.tab->Caption(), u"Mail && News"_s);
    QCOMPARE(w.tab->Hint(), u"Page two"_s);
    w.tab->Navigate(u"http://b.test/"_s);
    QCOMPARE(w.tab->Caption(), u"Mail && News"_s);

    w.control->locationName = u"Page two"_s;
    w.tab->SetStickyName(QString());
    QCOMPARE(w.tab->StickyName(), QString());
    QCOMPARE(w.tab->Caption(), u"Page two"_s);
}

void tst_TBrowserTab::promptStickyName_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("typed"); // null: left as proposed
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QString>("stickyName");

    const QString url = u"http://a.test/"_s;
    // clang-format off
    QTest::newRow("typed and confirmed") << u"Page"_s << true << u"Mine"_s << u"Page"_s << u"Mine"_s;
    QTest::newRow("proposal confirmed") << u"Page"_s << true << QString() << u"Page"_s << u"Page"_s;
    QTest::newRow("cancelled takes the proposal") << u"Page"_s << false << u"Mine"_s << u"Page"_s << u"Page"_s;
    QTest::newRow("title is the address: nothing proposed") << url << true << QString() << QString() << QString();
    QTest::newRow("title is the address, cancelled") << url << false << u"Mine"_s << QString() << QString();
    QTest::newRow("emptied and confirmed") << u"Page"_s << true << u""_s << u"Page"_s << QString();
    // clang-format on
}

void tst_TBrowserTab::promptStickyName()
{
    QFETCH(QString, title);
    QFETCH(bool, accepted);
    QFETCH(QString, typed);
    QFETCH(QString, proposed);
    QFETCH(QString, stickyName);

    Window w;
    w.control->locationUrl = u"http://a.test/"_s;
    w.control->fireTitle(title);
    w.host.services.inputAccepted = accepted;
    if (!typed.isNull())
        w.host.services.inputAnswer = typed;
    w.tab->PromptStickyName();

    QCOMPARE(w.host.services.inputQueries.size(), 1);
    QCOMPARE(w.host.services.inputQueries.at(0).caption,
             w.host.services.GetGlobalText(u"StickyNameTitle"_s));
    QCOMPARE(w.host.services.inputQueries.at(0).prompt,
             w.host.services.GetGlobalText(u"StickyNamePrompt"_s));
    QCOMPARE(w.host.services.inputQueries.at(0).proposed, proposed);
    QCOMPARE(w.tab->StickyName(), stickyName);
    if (!stickyName.isEmpty())
        QCOMPARE(w.tab->Caption(), stickyName);
}

void tst_TBrowserTab::progressText_data()
{
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("text");

    QTest::newRow("0 of 100") << 0 << 100 << QString();
    QTest::newRow("negative") << -1 << 100 << QString();
    QTest::newRow("no maximum") << 5 << 0 << QString();
    QTest::newRow("150 of 100 capped") << 150 << 100 << u"100%"_s;
    QTest::newRow("1 of 3") << 1 << 3 << u"33%"_s;
    QTest::newRow("2 of 3") << 2 << 3 << u"67%"_s;
    QTest::newRow("1 of 8 = 12.5 to even") << 1 << 8 << u"12%"_s;
    QTest::newRow("3 of 8 = 37.5 to even") << 3 << 8 << u"38%"_s;
    QTest::newRow("1 of 200 = 0.5 to even") << 1 << 200 << u"0%"_s;
    QTest::newRow("3 of 200 = 1.5 to even") << 3 << 200 << u"2%"_s;
    QTest::newRow("199 of 200 = 99.5 to even") << 199 << 200 << u"100%"_s;
    QTest::newRow("large numbers") << 1073741823 << 2147483647 << u"50%"_s;
    QTest::newRow("largest equal") << 2147483647 << 2147483647 << u"100%"_s;
}

void tst_TBrowserTab::progressText()
{
    QFETCH(int, progress);
    QFETCH(int, maximum);
    QFETCH(QString, text);
    QCOMPARE(TBrowserTab::ProgressText(progress, maximum), text);
}

void tst_TBrowserTab::progressReachesOnlyTheActiveTabsPanel()
{
    Window w;
    w.control->fireProgress(50, 100);
    w.control->fireProgress(0, 100);
    // The end of a load clears the panel instead of leaving the last figure.
    w.control->fireProgress(100, 100);
    QCOMPARE(w.host.progressTexts, (QStringList{u"50%"_s, QString(), QString()}));

    w.host.activeTab = nullptr;
    w.control->fireProgress(70, 100);
    w.control->fireStatusText(u"Done"_s);
    QCOMPARE(w.host.progressTexts.size(), 3);
    QVERIFY(w.host.statusTexts.isEmpty());
    w.host.activeTab = w.tab;
    w.control->fireStatusText(u"Done"_s);
    QCOMPARE(w.host.statusTexts, QStringList{u"Done"_s});
}

void tst_TBrowserTab::iconFollowsAnActiveLoad()
{
    Window w;
    const QString url = u"http://a.test/"_s;
    QVERIFY(w.control->fireBeforeNavigate(url));
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateBusy));
    // Still on its way, the page is what the tab stands for at the next start.
    QCOMPARE(w.tab->RememberedAddress(), url);
    QCOMPARE(w.tab->ImageIndex(), 0);
    QVERIFY(w.tab->Busy);
    QCOMPARE(w.tab->TrackedDispatch(), TopFrame);

    w.control->fireNavigateComplete(url);
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateArrived));
    QVERIFY(w.tab->Busy);

    w.control->fireDocumentComplete(url);
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateIdle));
    QCOMPARE(w.tab->ImageIndex(), -1);
    QVERIFY(!w.tab->Busy);
    QVERIFY(w.tab->Seen);
    QCOMPARE(w.host.indicatorRefreshes, 3); // began, arrived, finished
}

void tst_TBrowserTab::backgroundLoadStaysUnseenUntilMarkedSeen()
{
    Window w(false);
    QVERIFY(w.control->simulateNavigation(u"http://a.test/"_s));
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateUnseen));
    QVERIFY(!w.tab->Seen);
    QCOMPARE(w.host.indicatorRefreshes, 0);

    w.host.activeTab = w.tab;
    w.tab->MarkSeen(true);
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateIdle));
    QVERIFY(w.tab->Seen);

    // The active tab is never shown as unseen.
    w.tab->MarkSeen(false);
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateIdle));

    // A restored page arrives as seen.
    Window restored(false);
    restored.tab->Restoring = true;
    restored.control->fireBeforeNavigate(u"http://a.test/"_s);
    restored.control->fireNavigateComplete(u"http://a.test/"_s);
    QCOMPARE(restored.tab->State(), int(TBrowserTab::StateIdle));
    QVERIFY(!restored.tab->Restoring);
}

void tst_TBrowserTab::lockedTabKeepsItsIconThroughLoads()
{
    Window w(false);
    w.control->locationUrl = u"http://a.test/"_s;
    w.tab->SetLocked(true);
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateLocked));
    QCOMPARE(w.tab->ImageIndex(), 3);

    // Its own reload runs in place; the icon stays.
    QVERIFY(w.control->simulateNavigation(u"http://a.test/"_s, NavigationRequest::Reload));
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateLocked));
    QVERIFY(!w.tab->Busy);
    w.tab->MarkSeen(true);
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateLocked));

    w.tab->SetLocked(false);
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateIdle));
}

void tst_TBrowserTab::faviconShowsOnlyWhileIdle()
{
    Window w;
    QSignalSpy changed(w.tab, &TBrowserTab::appearanceChanged);
    w.control->fireIcon(favicon());
    QCOMPARE(changed.count(), 1);
    QVERIFY(!w.tab->PageIcon().isNull());
    w.control->fireBeforeNavigate(u"http://a.test/"_s);
    QVERIFY(w.tab->PageIcon().isNull());
    w.control->fireDocumentComplete(u"http://a.test/"_s);
    QVERIFY(!w.tab->PageIcon().isNull());
}

void tst_TBrowserTab::crashedTabKeepsItsTitleAndShowsTheCrash()
{
    Window w;
    w.control->simulateNavigation(u"http://a.test/"_s);
    w.control->fireTitle(u"My page"_s);
    QSignalSpy changed(w.tab, &TBrowserTab::appearanceChanged);
    w.control->firePageCrashed();
    QCOMPARE(changed.count(), 1);
    QVERIFY(w.tab->Crashed());
    QCOMPARE(w.tab->ImageIndex(), int(TBrowserTab::CrashedImage));
    QCOMPARE(w.tab->Caption(), u"My page"_s);
    QCOMPARE(w.tab->Hint(), u"My page"_s);
    // It stays for the next start, at the address it had.
    QCOMPARE(w.tab->RememberedAddress(), u"http://a.test/"_s);

    // The crash page arrives without a navigation of the tab's own and
    // leaves both alone; the crash shows over the lock as well.
    w.control->fireNavigateComplete(u"http://a.test/"_s);
    w.control->fireTitle(u"My page"_s);
    w.control->fireDocumentComplete(u"http://a.test/"_s);
    w.tab->SetLocked(true);
    QCOMPARE(w.tab->ImageIndex(), int(TBrowserTab::CrashedImage));
    QCOMPARE(w.tab->Caption(), u"My page"_s);
    w.tab->SetLocked(false);

    // Loading the page again ends it.
    QVERIFY(
        w.control->fireBeforeNavigate(u"http://a.test/"_s, TopFrame, NavigationRequest::Program));
    QVERIFY(!w.tab->Crashed());
    QCOMPARE(w.tab->ImageIndex(), int(TBrowserTab::StateBusy) - 1);
}

void tst_TBrowserTab::hiddenTabDecidesOnItsFirstRealAddress_data()
{
    QTest::addColumn<bool>("match");
    QTest::newRow("captured") << true;
    QTest::newRow("shown") << false;
}

void tst_TBrowserTab::hiddenTabDecidesOnItsFirstRealAddress()
{
    QFETCH(bool, match);
    Window w(false, true);
    w.host.popupMatchAnswer = match;
    QSignalSpy shown(w.tab, &TBrowserTab::shown);

    QVERIFY(w.control->simulateNavigation(u"about:blank"_s));
    QVERIFY(w.control->fireBeforeNavigate(u"javascript:void(0)"_s));
    QVERIFY(w.tab->Hidden);
    QVERIFY(w.host.popupQueries.isEmpty());

    const QString url = u"http://ads.test/pop?x=1"_s;
    QCOMPARE(w.control->fireBeforeNavigate(url), !match);
    QCOMPARE(w.host.popupQueries, QStringList{url});
    QCOMPARE(w.tab->PopupOriginalUrl, url);
    QVERIFY(!w.tab->Hidden);
    QCOMPARE(w.tab->Killed, match);
    QCOMPARE(w.host.closeHiddenTimerStarts, match ? 1 : 0);
    QCOMPARE(shown.count(), match ? 0 : 1);
    if (!match)
    {
        QCOMPARE(w.tab->Caption(), w.host.services.GetGlobalText(u"Loading"_s));
        QCOMPARE(w.tab->State(), int(TBrowserTab::StateBusy));
    }

    // Decided once: later navigations are not examined again.
    w.control->fireBeforeNavigate(u"http://ads.test/next"_s);
    QCOMPARE(w.host.popupQueries.size(), 1);
    QCOMPARE(shown.count(), match ? 0 : 1);
}

void tst_TBrowserTab::killedTabLoadsNothing()
{
    Window w(false, true);
    w.host.popupMatchAnswer = true;
    QVERIFY(!w.control->fireBeforeNavigate(u"http://ads.test/"_s));
    QVERIFY(!w.control->fireBeforeNavigate(u"http://ads.test/retry"_s));
    QVERIFY(!w.control->fireBeforeNavigate(u"javascript:open('x')"_s));
    QCOMPARE(w.control->fireNewWindow(u"http://ads.test/more"_s), nullptr);
    QVERIFY(w.host.hiddenTabs.isEmpty());
    QVERIFY(!w.tab->Busy);
}

void tst_TBrowserTab::specialFilesAreRefused_data()
{
    QTest::addColumn<QString>(
        "name"); // in a folder holding "pipe" (a FIFO), "link" (to it), "page.html", "sub/"
    QTest::addColumn<bool>("asFileAddress");
    QTest::addColumn<bool>("refused");
    // clang-format off
    QTest::newRow("pipe as a path")           << "pipe"      << false << true;
    QTest::newRow("pipe as a file address")   << "pipe"      << true  << true;
    QTest::newRow("link to a pipe")           << "link"      << false << true;
    QTest::newRow("regular file")             << "page.html" << false << false;
    QTest::newRow("regular file address")     << "page.html" << true  << false;
    QTest::newRow("folder")                   << "sub"       << false << false;
    QTest::newRow("missing file")             << "none.html" << true  << false;
    // clang-format on
}

void tst_TBrowserTab::specialFilesAreRefused()
{
    QFETCH(QString, name);
    QFETCH(bool, asFileAddress);
    QFETCH(bool, refused);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(u"pipe"_s)).constData(), 0600), 0);
    QVERIFY(QFile::link(dir.filePath(u"pipe"_s), dir.filePath(u"link"_s)));
    QFile page(dir.filePath(u"page.html"_s));
    QVERIFY(page.open(QIODevice::WriteOnly));
    QVERIFY(QDir(dir.path()).mkdir(u"sub"_s));
    const QString path = dir.filePath(name);
    const QString address = asFileAddress ? QUrl::fromLocalFile(path).toString() : path;

    // Handed to the tab (command line, forwarded, restored, typed).
    Window w;
    w.tab->Restoring = true;
    w.tab->NavigateTo(address);
    QCOMPARE(w.control->navigations.isEmpty(), refused);
    QCOMPARE(w.host.statusTexts.contains(u"Not opened: "_s + path), refused);
    // A refused tab does not stand for the address at the next start.
    QCOMPARE(w.tab->RememberedAddress().isEmpty(), refused);

    // Reached from a page (a link, a redirect, a frame).
    Window linked;
    QCOMPARE(linked.control->fireBeforeNavigate(QUrl::fromLocalFile(path).toString()), !refused);
    QCOMPARE(linked.control->fireBeforeNavigate(QUrl::fromLocalFile(path).toString(), FrameId(7)),
             !refused);
}

void tst_TBrowserTab::lockedTabSendsNavigationsToANewTab()
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
    QCOMPARE(added->Hint(), url);

    // Operations on the locked tab take the same way and leave it alone.
    w.tab->Navigate(u"http://third.test/"_s);
    QCOMPARE(w.host.perPreferenceTabs.size(), 2);
    QCOMPARE(FakeTabHost::controlOf(w.host.perPreferenceTabs.at(1))->navigations,
             QStringList{u"http://third.test/"_s});
    QCOMPARE(w.tab->Caption(), u"Kept page"_s);
    QCOMPARE(w.control->locationUrl, u"http://kept.test/"_s);
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateLocked));
    QCOMPARE(w.host.typedAddresses, typedBefore);
}

void tst_TBrowserTab::lockedTabKeepsItsOwnReloadsAndFrames_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("user");
    QTest::addColumn<bool>("inPlace");

    const QString kept = u"http://kept.test/"_s;
    const QString other = u"http://other.test/"_s;
    using R = NavigationRequest;
    // clang-format off
    QTest::newRow("reload") << kept << 0 << int(R::Reload) << false << true;
    QTest::newRow("program reload") << kept << 0 << int(R::Program) << false << true;
    QTest::newRow("link to the same page") << kept << 0 << int(R::LinkClicked) << true << false;
    QTest::newRow("program elsewhere") << other << 0 << int(R::Program) << false << false;
    QTest::newRow("back") << other << 0 << int(R::BackForward) << true << false;
    QTest::newRow("frame of the page") << other << 1 << int(R::Other) << false << true;
    QTest::newRow("link in a frame") << other << 2 << int(R::LinkClicked) << true << false;
    QTest::newRow("form in a frame") << other << 2 << int(R::FormSubmitted) << true << true;
    QTest::newRow("form") << other << 0 << int(R::FormSubmitted) << true << true;
    QTest::newRow("form to the same page") << kept << 0 << int(R::FormSubmitted) << true << true;
    QTest::newRow("redirect of a submitted form") << other << 0 << int(R::Redirect) << false << true;
    QTest::newRow("unknown frame") << other << -1 << int(R::Other) << false << false;
    QTest::newRow("script") << u"javascript:doSomething()"_s << 0 << int(R::LinkClicked) << true << true;
    QTest::newRow("\"Javascript\" is no script to the exact-case test") << u"Javascript:x()"_s << 0 << int(R::LinkClicked) << true << false;
    // clang-format on
}

void tst_TBrowserTab::lockedTabKeepsItsOwnReloadsAndFrames()
{
    QFETCH(QString, url);
    QFETCH(int, frame);
    QFETCH(int, kind);
    QFETCH(bool, user);
    QFETCH(bool, inPlace);

    Window w;
    w.control->locationUrl = u"http://kept.test/"_s;
    w.tab->SetLocked(true);
    NavigationRequest request;
    request.url = url;
    request.frame = frame;
    request.kind = NavigationRequest::Kind(kind);
    request.userInitiated = user;
    QCOMPARE(w.control->fireBeforeNavigate(request), inPlace);
    QCOMPARE(w.host.perPreferenceTabs.size(), inPlace ? 0 : 1);
}

void tst_TBrowserTab::lockedTabOpensBlankPagesElsewhere()
{
    Window w;
    w.tab->SetLocked(true);
    w.tab->Navigate(u"about:blank"_s);
    QVERIFY(w.control->blankPages.isEmpty());
    QCOMPARE(w.host.perPreferenceTabs.size(), 1);
    FakeBrowserControl* added = FakeTabHost::controlOf(w.host.perPreferenceTabs.at(0));
    QCOMPARE(added->blankPages.size(), 1);
    QVERIFY(added->navigations.isEmpty());
}

void tst_TBrowserTab::lockAfterLoad()
{
    Window w;
    w.tab->LockAfterLoad = true;
    const QString url = u"http://a.test/"_s;
    QVERIFY(w.control->fireBeforeNavigate(url));
    QVERIFY(!w.tab->Locked());
    w.control->fireNavigateComplete(url);
    QVERIFY(w.tab->Locked());
    w.control->fireDocumentComplete(url);
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateLocked));
    QVERIFY(!w.tab->Busy);
    // From now on it keeps that page.
    QVERIFY(!w.control->fireBeforeNavigate(u"http://b.test/"_s));
}

void tst_TBrowserTab::secureState_data()
{
    QTest::addColumn<QString>("top");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<bool>("secure");

    // clang-format off
    QTest::newRow("https alone") << u"https://a.test/"_s << QStringList() << true;
    QTest::newRow("http alone") << u"http://a.test/"_s << QStringList() << false;
    QTest::newRow("https in upper case is not https") << u"HTTPS://a.test/"_s << QStringList() << false;
    QTest::newRow("https with https frame") << u"https://a.test/"_s << QStringList{u"https://b.test/"_s} << true;
    QTest::newRow("https with http frame after it") << u"https://a.test/"_s << QStringList{u"https://b.test/"_s, u"http://c.test/"_s} << false;
    QTest::newRow("https with empty frame") << u"https://a.test/"_s << QStringList{u"about:blank"_s} << true;
    QTest::newRow("http with https frame") << u"http://a.test/"_s << QStringList{u"https://b.test/"_s} << false;
    // clang-format on
}

void tst_TBrowserTab::secureState()
{
    QFETCH(QString, top);
    QFETCH(QStringList, frames);
    QFETCH(bool, secure);

    Window w;
    QVERIFY(w.control->simulateFramedNavigation(top, frames));
    QCOMPARE(w.tab->Secure, secure);
    QVERIFY(!w.tab->Busy);

    // The next page is judged on its own.
    QVERIFY(w.control->simulateNavigation(u"https://next.test/"_s));
    QVERIFY(w.tab->Secure);
}

void tst_TBrowserTab::framesAndMixedContentClearSecure()
{
    Window w;
    // A plain frame that arrives before the top-level page.
    const QString top = u"https://a.test/"_s;
    w.control->fireBeforeNavigate(top);
    w.control->fireBeforeNavigate(u"http://frame.test/"_s, 1, NavigationRequest::Other);
    w.control->fireNavigateComplete(u"http://frame.test/"_s, 1);
    w.control->fireNavigateComplete(top);
    w.control->fireDocumentComplete(u"http://frame.test/"_s, 1);
    w.control->fireDocumentComplete(top);
    QVERIFY(!w.tab->Secure);
    QVERIFY(!w.tab->Busy);

    // A frame navigating on its own later is tracked by itself and never
    // makes a plain page secure.
    QVERIFY(w.control->simulateNavigation(u"http://b.test/"_s));
    QVERIFY(w.control->fireBeforeNavigate(u"https://frame.test/"_s, 3, NavigationRequest::Other));
    QCOMPARE(w.tab->TrackedDispatch(), 3);
    w.control->fireNavigateComplete(u"https://frame.test/"_s, 3);
    w.control->fireDocumentComplete(u"https://frame.test/"_s, 3);
    QVERIFY(!w.tab->Secure);
    QVERIFY(!w.tab->Busy);

    // Mixed content (or an accepted bad certificate) reported after the
    // page was judged secure.
    QVERIFY(w.control->simulateNavigation(u"https://c.test/"_s));
    QVERIFY(w.tab->Secure);
    static_cast<IBrowserEvents*>(w.tab)->InsecureContent();
    QVERIFY(!w.tab->Secure);
}

void tst_TBrowserTab::newWindowGetsAHiddenTabsControl()
{
    Window w;
    IBrowserControl* given = w.control->fireNewWindow(u"http://pop.test/"_s);
    QCOMPARE(w.host.hiddenTabs.size(), 1);
    TBrowserTab* popup = w.host.hiddenTabs.at(0);
    QVERIFY(given);
    QCOMPARE(given, popup->Browser());
    QVERIFY(popup->Hidden);
    QVERIFY(popup->OpenedAsNewWindow);
    QVERIFY(!w.tab->OpenedAsNewWindow);
}

void tst_TBrowserTab::newWindowWithoutABrowserIsRefused_data()
{
    QTest::addColumn<bool>("noTab");
    QTest::newRow("tab without browser") << false;
    QTest::newRow("no tab") << true;
}

void tst_TBrowserTab::newWindowWithoutABrowserIsRefused()
{
    QFETCH(bool, noTab);
    Window w;
    w.host.newTabsHaveBrowser = false;
    w.host.failNewTabs = noTab;
    QCOMPARE(w.control->fireNewWindow(u"http://pop.test/"_s), nullptr);
    if (noTab)
        return;
    // The useless hidden tab goes with the next close of captured pop-ups.
    QVERIFY(w.host.hiddenTabs.at(0)->Killed);
    QCOMPARE(w.host.closeHiddenTimerStarts, 1);
}

void tst_TBrowserTab::windowClosingClosesThisTabOnly()
{
    Window w;
    TBrowserTab* other = w.host.makeTab();
    w.control->fireWindowClosing();
    QCOMPARE(w.host.closeRequests, QList<TBrowserTab*>{w.tab});
    QVERIFY(!w.host.closeRequests.contains(other));
}

void tst_TBrowserTab::backAndForwardFollowCommandStates()
{
    Window w;
    w.tab->GoBack();
    w.tab->GoForward();
    QCOMPARE(w.control->backs + w.control->forwards, 0);

    w.control->fireCommandState(CommandBack, true);
    w.tab->GoBack();
    w.tab->GoForward();
    QCOMPARE(w.control->backs, 1);
    QCOMPARE(w.control->forwards, 0);

    w.control->fireCommandState(CommandForward, true);
    w.control->fireCommandState(CommandBack, false);
    w.tab->GoBack();
    w.tab->GoForward();
    QCOMPARE(w.control->backs, 1);
    QCOMPARE(w.control->forwards, 1);

    w.control->fireCommandState(CommandRefreshIndicators, true);
    w.control->fireCommandState(42, true);
    QCOMPARE(w.host.backForwardRefreshes, 4);
    QCOMPARE(w.host.indicatorRefreshes, 1);
}

void tst_TBrowserTab::refreshStopsABusyPageFirst_data()
{
    QTest::addColumn<bool>("busy");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QStringList>("log");

    // clang-format off
    QTest::newRow("idle") << false << false << QStringList{u"Refresh normal"_s};
    QTest::newRow("idle, complete") << false << true << QStringList{u"Refresh complete"_s};
    QTest::newRow("busy") << true << false << QStringList{u"Stop"_s, u"Refresh normal"_s};
    QTest::newRow("busy, complete") << true << true << QStringList{u"Stop"_s, u"Refresh complete"_s};
    // clang-format on
}

void tst_TBrowserTab::refreshStopsABusyPageFirst()
{
    QFETCH(bool, busy);
    QFETCH(bool, complete);
    QFETCH(QStringList, log);
    Window w;
    w.control->busy = busy;
    w.tab->Refresh(complete);
    QCOMPARE(w.control->log, log);
}

void tst_TBrowserTab::stopEndsTheTrackedNavigation()
{
    Window w(false);
    w.control->fireBeforeNavigate(u"http://slow.test/"_s);
    QVERIFY(w.tab->Busy);
    w.tab->Stop();
    QCOMPARE(w.control->stops, 1);
    QVERIFY(!w.tab->Busy);
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateUnseen));
    // The engine's own report of the stop changes nothing more.
    w.control->fireDocumentComplete(u"http://slow.test/"_s);
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateUnseen));
}

void tst_TBrowserTab::newTopLevelNavigationTakesOverTracking()
{
    Window w;
    QVERIFY(w.control->simulateNavigation(u"https://a.test/"_s));
    // A frame starts loading, then the user leaves the page before it ends.
    w.control->fireBeforeNavigate(u"http://ad.test/"_s, 4, NavigationRequest::Other);
    QCOMPARE(w.tab->TrackedDispatch(), 4);
    w.control->fireBeforeNavigate(u"https://b.test/"_s);
    QCOMPARE(w.tab->TrackedDispatch(), TopFrame);
    w.control->fireNavigateComplete(u"https://b.test/"_s);
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateArrived));
    QVERIFY(w.tab->Secure);
    w.control->fireDocumentComplete(u"https://b.test/"_s);
    QVERIFY(!w.tab->Busy);
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateIdle));
}

void tst_TBrowserTab::topDocumentCompleteEndsALostFrameLoad()
{
    Window w;
    w.control->fireBeforeNavigate(u"http://frame.test/"_s, 2, NavigationRequest::Other);
    QCOMPARE(w.tab->TrackedDispatch(), 2);
    w.control->fireDocumentComplete(u"http://a.test/"_s, TopFrame);
    QVERIFY(!w.tab->Busy);
    QCOMPARE(w.tab->State(), int(TBrowserTab::StateIdle));
}

void tst_TBrowserTab::navigateShowsTheAddressUntilTheTitleComes()
{
    Window w;
    QSignalSpy changed(w.tab, &TBrowserTab::appearanceChanged);
    const QString url = u"http://a.test/path?q=1&r=2"_s;
    w.tab->Navigate(url);
    QCOMPARE(w.control->navigations, QStringList{url});
    QCOMPARE(w.tab->Hint(), url);
    QCOMPARE(w.tab->Caption(), u"http://a.test/path?q=1&&r=2"_s);
    QCOMPARE(changed.count(), 1);

    w.tab->Navigate(u"about:blank"_s);
    QCOMPARE(w.control->navigations.size(), 1);
    QCOMPARE(w.control->blankPages.size(), 1);
    QCOMPARE(w.tab->Caption(), w.host.services.GetGlobalText(u"Blank"_s));
}

void tst_TBrowserTab::homeAddresses()
{
    Window w;
    w.tab->GoTabHome();
    QVERIFY(w.control->navigations.isEmpty());
    w.tab->NavigateTo(u"http://start.test/"_s);
    QCOMPARE(w.tab->TabHome, u"http://start.test/"_s);
    w.tab->GoHome();
    w.tab->GoTabHome();
    QCOMPARE(w.control->navigations, (QStringList{u"http://start.test/"_s, TBrowserTab::HomeUrl(),
                                                  u"http://start.test/"_s}));
    QVERIFY(TBrowserTab::HomeUrl().contains(u"f=home"_s));
}

void tst_TBrowserTab::addressBoxOnlyForTheActiveTabsTopFrame()
{
    Window w;
    w.control->simulateFramedNavigation(u"http://a.test/"_s, {u"http://frame.test/"_s});
    QCOMPARE(w.host.typedAddresses, QStringList{u"http://a.test/"_s});
    QCOMPARE(w.host.shownAddresses, (QStringList{u"http://a.test/"_s, u"http://a.test/"_s}));

    w.host.activeTab = nullptr;
    w.control->simulateNavigation(u"http://b.test/"_s);
    QCOMPARE(w.host.typedAddresses.size(), 1);
    QCOMPARE(w.host.shownAddresses.size(), 2);
}

void tst_TBrowserTab::newWindowPageTakesTheFocusWhenItArrives_data()
{
    QTest::addColumn<bool>("windowActive");
    QTest::addColumn<int>("focus");
    QTest::newRow("window active") << true << 1;
    QTest::newRow("window in the background") << false << 0;
}

void tst_TBrowserTab::newWindowPageTakesTheFocusWhenItArrives()
{
    QFETCH(bool, windowActive);
    QFETCH(int, focus);
    Window w;
    w.host.windowActive = windowActive;
    w.tab->OpenedAsNewWindow = true;
    w.control->simulateFramedNavigation(u"http://a.test/"_s, {u"http://frame.test/"_s});
    w.control->simulateNavigation(u"http://b.test/"_s);
    QCOMPARE(w.control->focusRequests, focus);
    QVERIFY(!w.tab->OpenedAsNewWindow);
}

void tst_TBrowserTab::blankPageLayout()
{
    Window w;
    w.tab->GoBlank();
    QCOMPARE(w.control->blankPages, QStringList{TBrowserTab::BlankPageHtml()});
    QTextDocument document;
    document.setHtml(w.control->blankPages.at(0));
    QVERIFY(document.toPlainText().contains(QStringLiteral("Quillwave " QW_VERSION)));
}

void tst_TBrowserTab::tabWithoutBrowserIgnoresEverything()
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
    QVERIFY(tab->TabHome.isEmpty());
    QVERIFY(!tab->Locked());
    QVERIFY(tab->Caption().isEmpty());
    QVERIFY(tab->GetLocationURL().isEmpty());
    QVERIFY(host.calls.isEmpty());
}

void tst_TBrowserTab::tabOwnsItsControl()
{
    FakeTabHost host;
    auto* control = new FakeBrowserControl;
    QPointer<QWidget> view = control->widget();
    {
        TBrowserTab tab(&host, &host.services, control, false);
        QCOMPARE(control->events(), static_cast<IBrowserEvents*>(&tab));
        QCOMPARE(view->parentWidget(), &tab);
        bool found = false;
        control->nextLinkUrl = u"http://a.test/page2"_s;
        tab.FollowNextLink([&found](bool f) { found = f; });
        QVERIFY(found);
        QCOMPARE(control->navigations, QStringList{u"http://a.test/page2"_s});
    }
    QVERIFY(view.isNull());
}

QTEST_MAIN(tst_TBrowserTab)
#include "tst_TBrowserTab.moc"

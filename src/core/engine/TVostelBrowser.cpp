#include "core/engine/TVostelBrowser.h"

#include "core/dialogs/TPageDialogs.h"
#include "core/engine/EngineTerms.h"
#include "core/engine/TContentSwitches.h"
#include "core/engine/PagePropertiesReader.h"
#include "core/engine/PageScriptQueries.h"
#include "core/engine/TEngineProfile.h"
#include "core/engine/THistoryIndex.h"
#include "core/engine/TOfflineInterceptor.h"
#include "core/engine/TVostelPage.h"
#include "core/engine/TZoneEnforcer.h"
#include "core/instance/StartupTimeline.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineScript>

#include <memory>

namespace
{
constexpr qsizetype MaxRefusedUrls = 8;
} // namespace

TVostelBrowser::TVostelBrowser(QWidget* parent) : QWebEngineView(parent)
{
    m_page = new TVostelPage(TEngineProfile::profile(), this);
    setPage(m_page);
    TContentSwitches::attachToProfileOf(m_page);
    connectPage();
    StartupTimeline::mark("first view created");
}

TVostelBrowser::~TVostelBrowser()
{
    // The view unbinds the page and the page goes with the view's children;
    // nothing it reports on the way out may reach this object or the listener.
    m_events = nullptr;
    m_page->disconnect(this);
    m_page->detachBrowser();
}

void TVostelBrowser::PrepareDrawingIn(QWidget* window)
{
    if (!window)
        return;
    for (TVostelBrowser* view : window->findChildren<TVostelBrowser*>())
    {
        // Any action makes the engine create the page's render view, and
        // with it the view's drawing widget; stopping loads nothing.
        view->m_page->triggerAction(QWebEnginePage::Stop);
    }
    StartupTimeline::mark("drawing prepared");
}

void TVostelBrowser::connectPage()
{
    connect(m_page, &QWebEnginePage::loadingChanged, this, &TVostelBrowser::onLoadingChanged);
    connect(m_page, &QWebEnginePage::urlChanged, this, &TVostelBrowser::onUrlChanged);
    connect(m_page, &QWebEnginePage::titleChanged, this, &TVostelBrowser::onTitleChanged);
    connect(m_page, &QWebEnginePage::newWindowRequested, this,
            &TVostelBrowser::onNewWindowRequested);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int)
            { onRenderProcessTerminated(status); });
    connect(m_page, &QWebEnginePage::loadProgress, this,
            [this](int progress)
            {
                if (!m_loadSuppressed)
                    raise([&](IBrowserEvents* e) { e->ProgressChange(progress, 100); });
            });
    connect(m_page, &QWebEnginePage::linkHovered, this,
            [this](const QString& url)
            { raise([&](IBrowserEvents* e) { e->StatusTextChange(url); }); });
    connect(m_page, &QWebEnginePage::iconChanged, this,
            [this](const QIcon& icon) { raise([&](IBrowserEvents* e) { e->IconChange(icon); }); });
    connect(m_page, &QWebEnginePage::printRequested, this,
            [this] { raise([](IBrowserEvents* e) { e->PrintRequested(); }); });
    connect(m_page, &QWebEnginePage::windowCloseRequested, this,
            [this] { raise([](IBrowserEvents* e) { e->WindowClosing(); }); });
    connect(m_page->action(QWebEnginePage::Back), &QAction::enabledChanged, this,
            [this](bool enabled)
            { raise([&](IBrowserEvents* e) { e->CommandStateChange(CommandBack, enabled); }); });
    connect(m_page->action(QWebEnginePage::Forward), &QAction::enabledChanged, this,
            [this](bool enabled)
            { raise([&](IBrowserEvents* e) { e->CommandStateChange(CommandForward, enabled); }); });
}

template <typename Fn> bool TVostelBrowser::raise(Fn fn)
{
    if (!m_events)
        return true;
    QPointer<TVostelBrowser> self(this);
    fn(m_events);
    return !self.isNull();
}

void TVostelBrowser::setEvents(IBrowserEvents* events)
{
    m_events = events;
}

// ---- operations

void TVostelBrowser::Navigate(const QString& url)
{
    const QUrl target = QUrl::fromUserInput(url.trimmed());
    if (!target.isValid())
        return;
    if (Busy())
        Stop();
    m_blankPending = false;
    m_internalPending = false;
    m_offlinePending.clear();
    StartupTimeline::mark("navigation started");
    TZoneEnforcer::applyBefore(m_page, target);
    load(target);
}

void TVostelBrowser::Stop()
{
    m_page->triggerAction(QWebEnginePage::Stop);
}

void TVostelBrowser::Refresh(bool complete)
{
    if (Busy())
        Stop();
    // Reloading a stand-in page would only show it again.
    if (m_showingStandIn && !m_standInFor.isEmpty())
    {
        Navigate(m_standInFor);
        return;
    }
    m_page->triggerAction(complete ? QWebEnginePage::ReloadAndBypassCache : QWebEnginePage::Reload);
}

void TVostelBrowser::GoBack()
{
    m_page->triggerAction(QWebEnginePage::Back);
}

void TVostelBrowser::GoForward()
{
    m_page->triggerAction(QWebEnginePage::Forward);
}

bool TVostelBrowser::Busy() const
{
    return m_loadActive;
}

int TVostelBrowser::ReadyState() const
{
    return m_readyState;
}

QString TVostelBrowser::LocationURL() const
{
    // A window the engine opened empty has no address yet; it shows the blank page.
    const QUrl url = m_page->url();
    return url.isEmpty() ? QStringLiteral("about:blank") : EngineTerms::addressText(url);
}

QString TVostelBrowser::LocationName() const
{
    return m_page->title();
}

QIcon TVostelBrowser::Icon() const
{
    return m_page->icon();
}

void TVostelBrowser::LoadBlank(const QString& html)
{
    if (Busy())
        Stop();
    m_internalPending = false;
    m_offlinePending.clear();
    m_blankPending = true;
    m_page->setHtml(html, QUrl(QStringLiteral("about:blank")));
}

void TVostelBrowser::WriteDocument(const QString& html)
{
    // The texts go in as script strings; JSON writes them.
    const QByteArray array =
        QJsonDocument(QJsonArray{html, m_page->url().toString(QUrl::FullyEncoded)})
            .toJson(QJsonDocument::Compact);
    // A document that arrived in the meantime is not the one to replace. In
    // a world of the program's own: it works with the page's scripts off.
    m_page->runJavaScript(
        QStringLiteral("(function (a) { if (a[1] && location.href !== a[1]) return;"
                       " document.open(); document.write(a[0]); document.close(); })(%1);")
            .arg(QString::fromUtf8(array)),
        QWebEngineScript::ApplicationWorld);
}

void TVostelBrowser::FollowNextLink(const std::function<void(bool found)>& done)
{
    const std::weak_ptr<bool> alive = m_lifetime;
    PageScriptQueries::nextLink(m_page,
                                [this, alive, done](const QString& href)
                                {
                                    const bool found = !alive.expired() && !href.isEmpty();
                                    if (found)
                                    {
                                        Stop();
                                        Navigate(href);
                                    }
                                    if (done)
                                        done(found);
                                });
}

void TVostelBrowser::FocusPage()
{
    setFocus(Qt::OtherFocusReason);
}

void TVostelBrowser::ExecEdit(EditCommand command)
{
    // The engine runs these on the focused element of the focused frame.
    FocusPage();
    m_page->triggerAction(EngineTerms::actionOf(command));
}

void TVostelBrowser::QueryPageProperties(const std::function<void(const PageProperties&)>& done)
{
    PageScriptQueries::properties(
        m_page, this, m_lifetime,
        [this](const QVariant& result)
        { return PagePropertiesReader::fromScriptResult(LocationName(), LocationURL(), result); },
        done, PropertiesTimeoutMs);
}

double TVostelBrowser::ZoomFactor() const
{
    return m_page->zoomFactor();
}

void TVostelBrowser::SetZoomFactor(double factor)
{
    m_page->setZoomFactor(factor);
}

// ---- navigation

bool TVostelBrowser::raiseBeforeNavigate(const NavigationRequest& request, bool& destroyed)
{
    bool accepted = true;
    destroyed = !raise([&](IBrowserEvents* e) { accepted = e->BeforeNavigate(request); });
    return accepted && !destroyed;
}

bool TVostelBrowser::navigationRequested(const QUrl& url, QWebEnginePage::NavigationType type,
                                         bool isMainFrame, const ActivatedElement& element)
{
    const bool redirect = type == QWebEnginePage::NavigationTypeRedirect;
    bool destroyed = false;
    if (!isMainFrame)
    {
        const FrameId id = m_subFrames.requestId(redirect);
        const NavigationRequest request{EngineTerms::addressText(url), id,
                                        EngineTerms::kindOf(type), false, element};
        if (!raiseBeforeNavigate(request, destroyed))
            return false;
        m_subFrames.requestAccepted(url, id);
        return true;
    }

    const bool isData = url.scheme() == QLatin1String("data");
    if (m_internalPending && isData)
    {
        m_internalPending = false;
        beginNavigation(url, NavigationKind::Internal);
        return true;
    }
    const bool blank = m_blankPending && isData;
    m_blankPending = false;
    NavigationRequest request{
        blank ? QStringLiteral("about:blank") : EngineTerms::addressText(url), TopFrame,
        blank ? NavigationRequest::Program : EngineTerms::kindOf(type), false, element};
    request.userInitiated = request.kind == NavigationRequest::Program ||
                            (m_firstNavigationUserInitiated && !m_hasDocument);
    m_firstNavigationUserInitiated = false;
    const bool accepted = raiseBeforeNavigate(request, destroyed);
    const bool offline = accepted && !blank && blockedOffline(url);
    if (!accepted || offline)
    {
        if (!destroyed && !redirect)
        {
            m_refusedUrls.append(url);
            if (m_refusedUrls.size() > MaxRefusedUrls)
                m_refusedUrls.removeFirst();
        }
        if (offline)
        {
            m_offlinePending = url;
            // Replacing the document from within the engine's question is not safe.
            QTimer::singleShot(0, this, [this, url] { showOfflinePage(url); });
        }
        return false;
    }
    TZoneEnforcer::applyBefore(m_page, url);
    if (redirect && (m_loadActive || m_announced))
        m_navigationUrls.append(url);
    else
    {
        beginNavigation(url, blank ? NavigationKind::Blank : NavigationKind::Web);
        // While the engine is still busy with a refused navigation it
        // reports no new start: this load is under way from here.
        if (!m_loadActive && (m_loadSuppressed || m_page->isLoading()))
            startLoad();
    }
    return true;
}

void TVostelBrowser::beginNavigation(const QUrl& url, NavigationKind kind)
{
    m_navigationKind = kind;
    m_navigationUrls = {url};
    m_commitPending = true;
    if (kind != NavigationKind::Internal)
        m_showingStandIn = false;
    if (!m_loadActive)
        m_announced = true;
}

void TVostelBrowser::onLoadingChanged(const QWebEngineLoadingInfo& info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
        loadStarted(info);
    else
        loadEnded(info);
}

void TVostelBrowser::loadStarted(const QWebEngineLoadingInfo& info)
{
    if (m_refusedUrls.removeOne(info.url()))
    {
        // The engine starts and aborts what the listener refused; none of it
        // is a navigation of the tab's.
        suppressLoad(info.url());
        return;
    }
    if (m_loadActive && m_navigationUrls.contains(info.url()))
        return; // already under way (see navigationRequested)
    m_loadSuppressed = false;
    if (!m_announced)
    {
        // A load the engine began without asking (about:blank, the first
        // document of an empty window): announced here, so that every load
        // the listener sees begins with BeforeNavigate.
        beginNavigation(info.url(), NavigationKind::Web);
        bool destroyed = false;
        // The engine marks the empty document of a window it opened as
        // "about:blank#blocked"; for the listener it is the blank page.
        QUrl shown = info.url();
        if (EngineTerms::isAbout(shown))
            shown.setFragment(QString());
        const NavigationRequest request{
            EngineTerms::addressText(shown), TopFrame, NavigationRequest::Other, false, {}};
        if (!raiseBeforeNavigate(request, destroyed))
        {
            if (destroyed)
                return;
            m_announced = false;
            m_commitPending = false;
            suppressLoad(info.url());
            Stop();
            return;
        }
    }
    startLoad();
}

void TVostelBrowser::startLoad()
{
    m_loadSuppressed = false;
    m_announced = false;
    m_loadActive = true;
    m_readyState = 1;
    raise([](IBrowserEvents* e) { e->CommandStateChange(CommandRefreshIndicators, true); });
}

void TVostelBrowser::suppressLoad(const QUrl& url)
{
    m_loadSuppressed = true;
    m_suppressedLoads.append(url);
    if (m_suppressedLoads.size() > MaxRefusedUrls)
        m_suppressedLoads.removeFirst();
}

void TVostelBrowser::loadEnded(const QWebEngineLoadingInfo& info)
{
    // The end of a suppressed load may come after the next load began.
    if (m_suppressedLoads.removeOne(info.url()))
    {
        m_loadSuppressed = !m_suppressedLoads.isEmpty() && !m_loadActive;
        return;
    }
    if (!m_loadActive || m_refusedUrls.removeOne(info.url()))
        return;
    const bool succeeded = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus;
    const bool arrived = info.status() != QWebEngineLoadingInfo::LoadStoppedStatus;
    // A failed load still shows a document (the engine's error page).
    if (m_commitPending && arrived && !commit())
        return;
    m_commitPending = false;
    m_loadActive = false;
    m_readyState = 4;
    // The engine reports one end for everything it was loading.
    m_refusedUrls.clear();
    m_suppressedLoads.clear();
    m_loadSuppressed = false;

    const QString title = m_page->title();
    if (m_titles.take(title) && !raise([&](IBrowserEvents* e) { e->TitleChange(title); }))
        return;
    const QString url = LocationURL();
    const NavigationKind kind = m_navigationKind;
    StartupTimeline::mark("first page loaded");
    if (!raise([&](IBrowserEvents* e) { e->DocumentComplete(TopFrame, url); }))
        return;
    if (succeeded && kind == NavigationKind::Web && EngineTerms::isRecordable(QUrl(url)) &&
        THistoryIndex::isRecordable(url))
        THistoryIndex::recordVisit(url, title);
    raise([](IBrowserEvents* e) { e->CommandStateChange(CommandRefreshIndicators, true); });
}

bool TVostelBrowser::commit()
{
    m_commitPending = false;
    m_hasDocument = true;
    m_readyState = 3;
    m_titles.documentArrived();
    m_subFrames.clear();
    const QUrl current = m_page->url();
    if (m_navigationKind == NavigationKind::Web && EngineTerms::isReloadable(current))
        m_lastGoodUrl = EngineTerms::addressText(current);
    const QString url = LocationURL();
    return raise([&](IBrowserEvents* e) { e->NavigateComplete(TopFrame, url); });
}

void TVostelBrowser::onUrlChanged(const QUrl& url)
{
    if (m_loadActive)
    {
        // The engine also shows a requested address before it arrives; only
        // the address of the navigation in progress (or, for documents
        // given as text, any) marks its arrival.
        if (m_commitPending &&
            (m_navigationKind != NavigationKind::Web || m_navigationUrls.contains(url)))
            commit();
        return;
    }
    if (m_hasDocument && !m_announced && !url.isEmpty())
    {
        // Same document, new address (a fragment, history.pushState).
        if (EngineTerms::isReloadable(url) && !m_showingStandIn)
            m_lastGoodUrl = EngineTerms::addressText(url);
        const QString text = EngineTerms::addressText(url);
        raise([&](IBrowserEvents* e) { e->NavigateComplete(TopFrame, text); });
    }
}

void TVostelBrowser::onTitleChanged(const QString& title)
{
    // While a load is in progress the engine first names the document after
    // its address; the real title (or, without one, that name) is raised
    // when the document has one or is complete.
    if (m_loadActive && isPlaceholderTitle(title, m_page->url()))
        return;
    if (m_titles.take(title))
        raise([&](IBrowserEvents* e) { e->TitleChange(title); });
}

bool TVostelBrowser::isPlaceholderTitle(const QString& title, const QUrl& url)
{
    return PageTitleReport::isPlaceholder(title, url);
}

// ---- frames

void TVostelBrowser::frameReported(const QString& event, const QString& token, bool top,
                                   const QString& url)
{
    if (top)
    {
        if (!m_loadActive)
            return;
        if (event == QLatin1String("created") && m_commitPending)
            commit();
        else if (event == QLatin1String("DOMContentLoaded") && !m_commitPending)
            m_readyState = 3;
        return;
    }

    if (event == QLatin1String("created"))
    {
        if (const auto id = m_subFrames.documentCreated(token, QUrl(url)))
            raise([&](IBrowserEvents* e) { e->NavigateComplete(*id, url); });
    }
    else if (event == QLatin1String("load"))
    {
        if (const auto id = m_subFrames.documentLoaded(token))
            raise([&](IBrowserEvents* e) { e->DocumentComplete(*id, url); });
    }
}

void TVostelBrowser::insecureContentSeen()
{
    raise([](IBrowserEvents* e) { e->InsecureContent(); });
}

// ---- windows and crashes

void TVostelBrowser::onNewWindowRequested(QWebEngineNewWindowRequest& request)
{
    IBrowserControl* control = nullptr;
    const bool userInitiated = request.isUserInitiated();
    const NavigationRequest asked{EngineTerms::addressText(request.requestedUrl()), TopFrame,
                                  NavigationRequest::LinkClicked, userInitiated,
                                  m_page->takeClickFor(request.requestedUrl())};
    if (!raise([&](IBrowserEvents* e) { control = e->NewWindowFor(asked); }))
        return;
    auto* browser = dynamic_cast<TVostelBrowser*>(control);
    if (!browser)
        return; // refused: the page gets no window
    browser->m_firstNavigationUserInitiated = userInitiated;
    request.openIn(browser->page());
}

void TVostelBrowser::onRenderProcessTerminated(
    QWebEnginePage::RenderProcessTerminationStatus status)
{
    if (status == QWebEnginePage::NormalTerminationStatus)
        return;
    // The crash page itself dying is not answered with another one.
    if (m_internalPending || (m_loadActive && m_navigationKind == NavigationKind::Internal))
        return;
    m_internalPending = true;
    m_offlinePending.clear();
    if (!raise([](IBrowserEvents* e) { e->PageCrashed(); }))
        return;
    // Replacing the document from within the engine's report is not safe.
    QTimer::singleShot(0, this, &TVostelBrowser::showCrashPage);
}

void TVostelBrowser::showCrashPage()
{
    const QString lastUrl = m_lastGoodUrl;
    const QUrl last(lastUrl);
    showStandIn(TQuillwaveSchemeHandler::CrashPageHtml(lastUrl, m_titles.last(), languageTexts()),
                EngineTerms::isReloadable(last) ? last : QUrl(QStringLiteral("about:blank")));
}

bool TVostelBrowser::blockedOffline(const QUrl& url) const
{
    return TEngineProfile::workOffline() && TOfflineInterceptor::isBlockedOffline(url);
}

void TVostelBrowser::showOfflinePage(const QUrl& url)
{
    // Another navigation or a crash came first: it has the tab now.
    if (m_offlinePending != url)
        return;
    m_offlinePending.clear();
    showStandIn(TQuillwaveSchemeHandler::OfflinePageHtml(EngineTerms::addressText(url),
                                                         languageTexts()),
                url);
}

TQuillwaveSchemeHandler::TextLookup TVostelBrowser::languageTexts() const
{
    return [this](const QString& section, const QString& key)
    { return TPageDialogs::textFor(this, section, key); };
}

void TVostelBrowser::showStandIn(const QString& html, const QUrl& address)
{
    m_standInFor =
        address.scheme() == QLatin1String("about") ? QString() : EngineTerms::addressText(address);
    m_showingStandIn = true;
    m_blankPending = false;
    m_internalPending = true;
    m_page->setHtml(html, address);
}

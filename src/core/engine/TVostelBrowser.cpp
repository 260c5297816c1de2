#include "core/engine/TVostelBrowser.h"

#include "core/dialogs/TPageDialogs.h"
#include "core/engine/PagePropertiesReader.h"
#include "core/engine/TEngineProfile.h"
#include "core/engine/THistoryIndex.h"
#include "core/engine/TOfflineInterceptor.h"
#include "core/engine/TQuillwaveSchemeHandler.h"
#include "core/engine/TVostelPage.h"
#include "core/instance/StartupTimeline.h"

#include <QAction>
#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineScript>

#include <algorithm>
#include <memory>

namespace
{
// Addresses go to the listener as the server sees them: encoded, never with
// blanks or other text that would change meaning when typed again.
QString addressText(const QUrl& url)
{
    return url.toString(QUrl::FullyEncoded);
}

bool isAboutUrl(const QUrl& url)
{
    return url.scheme() == QLatin1String("about");
}

bool isRecordableScheme(const QUrl& url)
{
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("file");
}

// Addresses the crash page can stand in for and its Reload link can lead back to.
bool isReloadableScheme(const QUrl& url)
{
    return isRecordableScheme(url) || url.scheme() == QLatin1String("quillwave");
}

constexpr qsizetype MaxRefusedUrls = 8;
} // namespace

TVostelBrowser::TVostelBrowser(QWidget* parent) : QWebEngineView(parent)
{
    m_page = new TVostelPage(TEngineProfile::profile(), this);
    setPage(m_page);
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
    return url.isEmpty() ? QStringLiteral("about:blank") : addressText(url);
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

void TVostelBrowser::FollowNextLink(const std::function<void(bool found)>& done)
{
    const std::weak_ptr<bool> alive = m_lifetime;
    m_page->runJavaScript(nextLinkScript(), QWebEngineScript::ApplicationWorld,
                          [this, alive, done](const QVariant& result)
                          {
                              const QString href = result.toString();
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
    QWebEnginePage::WebAction action = QWebEnginePage::Copy;
    switch (command)
    {
    case EditCut:
        action = QWebEnginePage::Cut;
        break;
    case EditCopy:
        action = QWebEnginePage::Copy;
        break;
    case EditPaste:
        action = QWebEnginePage::Paste;
        break;
    case EditSelectAll:
        action = QWebEnginePage::SelectAll;
        break;
    }
    // The engine runs these on the focused element of the focused frame.
    FocusPage();
    m_page->triggerAction(action);
}

void TVostelBrowser::QueryPageProperties(const std::function<void(const PageProperties&)>& done)
{
    struct Query
    {
        std::function<void(const PageProperties&)> done;
        bool finished = false;
        QMetaObject::Connection browserGone;
    };
    auto query = std::make_shared<Query>();
    query->done = done;
    const auto finish = [query](const PageProperties& properties)
    {
        if (query->finished)
            return;
        query->finished = true;
        QObject::disconnect(query->browserGone);
        if (query->done)
            query->done(properties);
    };
    const PageProperties known =
        PagePropertiesReader::fromScriptResult(LocationName(), LocationURL(), QVariant());
    // Answering from inside the browser's destructor would hand the caller
    // a half-destroyed object to look at: the answer comes afterwards.
    const auto finishLater = [finish, known]
    { QTimer::singleShot(0, QCoreApplication::instance(), [finish, known] { finish(known); }); };
    query->browserGone = connect(this, &QObject::destroyed, QCoreApplication::instance(),
                                 [finishLater] { finishLater(); });

    const std::weak_ptr<bool> alive = m_lifetime;
    m_page->runJavaScript(
        PagePropertiesReader::script(), QWebEngineScript::ApplicationWorld,
        [this, alive, finish, finishLater](const QVariant& result)
        {
            if (alive.expired())
            {
                finishLater();
                return;
            }
            finish(PagePropertiesReader::fromScriptResult(LocationName(), LocationURL(), result));
        });
    QTimer::singleShot(PropertiesTimeoutMs, this, [finish, known] { finish(known); });
}

// ---- navigation

NavigationRequest::Kind TVostelBrowser::kindOf(QWebEnginePage::NavigationType type)
{
    switch (type)
    {
    case QWebEnginePage::NavigationTypeTyped:
        return NavigationRequest::Program;
    case QWebEnginePage::NavigationTypeLinkClicked:
        return NavigationRequest::LinkClicked;
    case QWebEnginePage::NavigationTypeFormSubmitted:
        return NavigationRequest::FormSubmitted;
    case QWebEnginePage::NavigationTypeBackForward:
        return NavigationRequest::BackForward;
    case QWebEnginePage::NavigationTypeReload:
        return NavigationRequest::Reload;
    case QWebEnginePage::NavigationTypeRedirect:
        return NavigationRequest::Redirect;
    case QWebEnginePage::NavigationTypeOther:
        break;
    }
    return NavigationRequest::Other;
}

bool TVostelBrowser::raiseBeforeNavigate(const NavigationRequest& request, bool& destroyed)
{
    bool accepted = true;
    destroyed = !raise([&](IBrowserEvents* e) { accepted = e->BeforeNavigate(request); });
    return accepted && !destroyed;
}

bool TVostelBrowser::navigationRequested(const QUrl& url, QWebEnginePage::NavigationType type,
                                         bool isMainFrame)
{
    const bool redirect = type == QWebEnginePage::NavigationTypeRedirect;
    bool destroyed = false;
    if (!isMainFrame)
    {
        // A redirect continues the frame's navigation when only one can be meant.
        FrameId id = 0;
        if (redirect && m_pendingFrames.size() == 1)
            id = m_pendingFrames.takeFirst().id;
        else
            id = m_nextFrameId++;
        const NavigationRequest request{addressText(url), id, kindOf(type), false};
        if (!raiseBeforeNavigate(request, destroyed))
            return false;
        m_pendingFrames.append({url, id});
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
    NavigationRequest request{blank ? QStringLiteral("about:blank") : addressText(url), TopFrame,
                              blank ? NavigationRequest::Program : kindOf(type), false};
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
        if (isAboutUrl(shown))
            shown.setFragment(QString());
        const NavigationRequest request{addressText(shown), TopFrame, NavigationRequest::Other,
                                        false};
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
    if (!m_titleRaised || title != m_lastTitle)
    {
        m_titleRaised = true;
        m_lastTitle = title;
        if (!raise([&](IBrowserEvents* e) { e->TitleChange(title); }))
            return;
    }
    const QString url = LocationURL();
    const NavigationKind kind = m_navigationKind;
    StartupTimeline::mark("first page loaded");
    if (!raise([&](IBrowserEvents* e) { e->DocumentComplete(TopFrame, url); }))
        return;
    if (succeeded && kind == NavigationKind::Web && isRecordableScheme(QUrl(url)) &&
        THistoryIndex::isRecordable(url))
        THistoryIndex::recordVisit(url, title);
    raise([](IBrowserEvents* e) { e->CommandStateChange(CommandRefreshIndicators, true); });
}

bool TVostelBrowser::commit()
{
    m_commitPending = false;
    m_hasDocument = true;
    m_readyState = 3;
    m_titleRaised = false;
    m_pendingFrames.clear();
    m_frameTokens.clear();
    const QUrl current = m_page->url();
    if (m_navigationKind == NavigationKind::Web && isReloadableScheme(current))
        m_lastGoodUrl = addressText(current);
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
        if (isReloadableScheme(url) && !m_showingStandIn)
            m_lastGoodUrl = addressText(url);
        const QString text = addressText(url);
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
    if (m_titleRaised && title == m_lastTitle)
        return;
    m_titleRaised = true;
    m_lastTitle = title;
    raise([&](IBrowserEvents* e) { e->TitleChange(title); });
}

bool TVostelBrowser::isPlaceholderTitle(const QString& title, const QUrl& url)
{
    if (title.isEmpty())
        return true;
    if (url.isEmpty())
        return false;
    const auto bare = [](QString name)
    {
        if (name.startsWith(QLatin1String("//")))
            name.remove(0, 2);
        while (name.endsWith(QLatin1Char('/')))
            name.chop(1);
        return name;
    };
    const QUrl::FormattingOptions hostAndPath = QUrl::RemoveScheme | QUrl::RemoveUserInfo;
    const QStringList names = {url.toString(), url.toDisplayString(),
                               bare(url.toString(hostAndPath)),
                               bare(url.toDisplayString(hostAndPath)), bare(url.toString())};
    return names.contains(title);
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

    const QUrl address(url);
    if (event == QLatin1String("created"))
    {
        // Documents that never went to a server (the empty document every
        // frame starts with, srcdoc) have no navigation to complete.
        if (isAboutUrl(address) || m_frameTokens.contains(token))
            return;
        FrameId id = 0;
        const auto pending =
            std::find_if(m_pendingFrames.begin(), m_pendingFrames.end(),
                         [&](const PendingFrame& frame) { return frame.url == address; });
        if (pending != m_pendingFrames.end())
        {
            id = pending->id;
            m_pendingFrames.erase(pending);
        }
        else
            id = m_nextFrameId++;
        m_frameTokens.insert(token, id);
        raise([&](IBrowserEvents* e) { e->NavigateComplete(id, url); });
    }
    else if (event == QLatin1String("load"))
    {
        const auto known = m_frameTokens.constFind(token);
        if (known == m_frameTokens.constEnd())
            return;
        const FrameId id = known.value();
        m_frameTokens.erase(known);
        raise([&](IBrowserEvents* e) { e->DocumentComplete(id, url); });
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
    const QString url = addressText(request.requestedUrl());
    const bool userInitiated = request.isUserInitiated();
    if (!raise([&](IBrowserEvents* e) { control = e->NewWindow(url, userInitiated); }))
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
    showStandIn(TQuillwaveSchemeHandler::CrashPageHtml(lastUrl, m_lastTitle),
                isReloadableScheme(last) ? last : QUrl(QStringLiteral("about:blank")));
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
    showStandIn(TQuillwaveSchemeHandler::OfflinePageHtml(
                    addressText(url), [this](const QString& section, const QString& key)
                    { return TPageDialogs::textFor(this, section, key); }),
                url);
}

void TVostelBrowser::showStandIn(const QString& html, const QUrl& address)
{
    m_standInFor = address.scheme() == QLatin1String("about") ? QString() : addressText(address);
    m_showingStandIn = true;
    m_blankPending = false;
    m_internalPending = true;
    m_page->setHtml(html, address);
}

QString TVostelBrowser::nextLinkScript()
{
    return QStringLiteral(R"((function () {
  var links = document.links;
  for (var i = 0; i < links.length; ++i) {
    var text = links[i].innerText || links[i].textContent || '';
    if (String(text).toUpperCase().indexOf('NEXT') >= 0)
      return links[i].href || null;
  }
  return null;
})())");
}

#include "core/tabs/TBrowserTab.h"

#include "chrome/TLanguage.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/SpecialFileAddress.h"
#include "core/tabs/ITabHost.h"
#include "core/tabs/LockedTabRule.h"
#include "core/tabs/TabAddressRule.h"
#include "core/tabs/TabSecurityRule.h"

#include <QPointer>
#include <QUrl>

using namespace Qt::StringLiterals;

// What the engine reports about the tab's page: navigations asked for and
// done, new windows, titles, progress, commands, icons and crashes.

bool TBrowserTab::BeforeNavigate(const NavigationRequest& request)
{
    // A captured pop-up waits to be closed; nothing of it may load or run.
    if (Killed)
        return false;
    const QString& url = request.url;
    if (RefusedSpecialFile(SpecialFileAddress::specialFilePath(QUrl(url))))
        return false;
    if (url.left(10) == u"javascript"_s)
        return true;

    if (Hidden)
    {
        if (url == BlankAddress)
            return true;
        PopupOriginalUrl = url;
        Hidden = false;
        QPointer<TBrowserTab> self(this);
        const bool captured = m_host->PopupMatch(url);
        if (!self)
            return false;
        if (captured)
        {
            Killed = true;
            m_host->StartCloseHiddenTimer();
            return false;
        }
        emit shown(this);
        SetCaption(m_services->GetGlobalText(u"Loading"_s));
    }
    else if (m_locked && LockedTabRule::divertsToNewTab(request, m_browser->LocationURL()))
    {
        OpenInNewTab(url);
        return false;
    }

    if (request.frame == TopFrame && IsActive())
        m_host->RecordTypedAddress(url);
    if (request.frame == TopFrame && m_crashed)
    {
        // A new page gets a new process.
        m_crashed = false;
        emit appearanceChanged(this);
    }

    // A new top-level navigation replaces whatever was being tracked: the
    // old document and its frames are gone and will not complete.
    if (!Busy || request.frame == TopFrame)
        StartTracking(request.frame);
    if (request.frame == TopFrame)
        m_pendingUrl = request.url;
    return true;
}

IBrowserControl* TBrowserTab::NewWindow(const QString& requestedUrl, bool userInitiated)
{
    Q_UNUSED(requestedUrl);
    Q_UNUSED(userInitiated);
    if (Killed)
        return nullptr;
    // Adding a tab processes pending events, which may close this one.
    QPointer<TBrowserTab> self(this);
    ITabHost* host = m_host;
    TBrowserTab* tab = host->AddHiddenTab();
    if (!tab)
        return nullptr;
    if (!self || !tab->Browser())
    {
        // A hidden tab that will never load would stay for ever, unseen:
        // let the close-hidden timer take it with the captured pop-ups.
        tab->Killed = true;
        host->StartCloseHiddenTimer();
        return nullptr;
    }
    tab->OpenedAsNewWindow = true;
    return tab->Browser();
}

void TBrowserTab::NavigateComplete(FrameId frame, const QString& url)
{
    if (LockAfterLoad && !m_locked)
        SetLocked(true);

    const bool insecure = TabSecurityRule::insecureArrival(frame, url);
    if (insecure)
        InsecureSeen = true;

    const bool active = IsActive();
    if (active && frame == TopFrame)
    {
        m_host->ShowAddress(url);
        if (OpenedAsNewWindow)
        {
            OpenedAsNewWindow = false;
            if (m_host->WindowActive())
                FocusPage();
        }
    }

    if (Busy && frame == m_tracked)
    {
        if (Restoring)
        {
            ApplyPhase(2);
            Restoring = false;
        }
        else
        {
            ApplyPhase(3);
        }
        Secure = TabSecurityRule::secureAfter(frame, Secure, InsecureSeen);
        if (active)
            m_host->RefreshIndicators();
        InsecureSeen = false;
    }
    else if (insecure && Secure)
    {
        // A plain frame that arrives after its https page was judged.
        Secure = false;
        if (active)
            m_host->RefreshIndicators();
    }
}

void TBrowserTab::DocumentComplete(FrameId frame, const QString& url)
{
    if (frame == TopFrame && IsActive())
        m_host->ShowAddress(url);
    // The top-level document completes last: whatever frame was tracked is
    // done with it, even one whose own completion was lost.
    if (Busy && (frame == m_tracked || frame == TopFrame))
        FinishTracking();
    if (frame == TopFrame)
    {
        m_pendingUrl.clear();
        m_loadingFromWait = false;
    }
}

bool TBrowserTab::RefusedSpecialFile(const QString& path)
{
    if (path.isEmpty())
        return false;
    // The tab no longer stands for the address: it must not come back at the next start.
    Restoring = m_loadingFromWait = false;
    m_host->SetStatusText(
        TLanguage::FormatText(m_services->GetGlobalText(u"SpecialFileRefused"_s), path));
    return true;
}

QString TBrowserTab::RememberedAddress() const
{
    return TabAddressRule::remembered(GetLocationURL(), Busy, m_pendingUrl,
                                      Restoring || m_loadingFromWait, TabHome);
}

void TBrowserTab::TitleChange(const QString& title)
{
    m_lastTitle = title;
    SetTitle(title);
}

void TBrowserTab::StatusTextChange(const QString& text)
{
    if (IsActive())
        m_host->SetStatusText(text);
}

void TBrowserTab::ProgressChange(int progress, int maximum)
{
    if (!IsActive())
        return;
    // The engine ends a load with progress equal to its maximum; the panel
    // is cleared then instead of keeping the last figure below it.
    m_host->SetProgressText(progress == maximum ? QString() : ProgressText(progress, maximum));
}

void TBrowserTab::CommandStateChange(int command, bool enabled)
{
    switch (command)
    {
    case CommandForward:
        CanGoForward = enabled;
        break;
    case CommandBack:
        CanGoBack = enabled;
        break;
    case CommandRefreshIndicators:
        m_host->RefreshIndicators();
        break;
    default:
        return;
    }
    m_host->RefreshBackForward();
}

void TBrowserTab::WindowClosing()
{
    m_host->CloseTabRequested(this);
}

void TBrowserTab::IconChange(const QIcon& icon)
{
    m_icon = icon;
    if (m_state == StateIdle)
        emit appearanceChanged(this);
}

void TBrowserTab::InsecureContent()
{
    // Mixed content, or a certificate the user let through: the page is no
    // longer what its https address promises.
    InsecureSeen = true;
    if (!Secure)
        return;
    Secure = false;
    if (IsActive())
        m_host->RefreshIndicators();
}

void TBrowserTab::PageCrashed()
{
    // The caption keeps the page's title: the user still knows which page
    // it was, and the icon says what became of it.
    if (m_crashed)
        return;
    m_crashed = true;
    emit appearanceChanged(this);
}

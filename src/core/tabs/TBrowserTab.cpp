#include "core/tabs/TBrowserTab.h"

#include "chrome/TLanguage.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/SpecialFileAddress.h"
#include "core/tabs/ITabHost.h"
#include "core/tabs/TabTitleRules.h"

#include <QPointer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TBrowserTab::TBrowserTab(ITabHost* host, WindowServices* services, IBrowserControl* control,
                         bool hidden, QWidget* parent)
    : QWidget(parent), m_host(host), m_services(services), m_browser(control)
{
    Q_ASSERT(m_host && m_services);
    Hidden = hidden;

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    AttachBrowser(control);
}

void TBrowserTab::AttachBrowser(IBrowserControl* control)
{
    m_browser = control;
    if (!m_browser)
        return;
    if (QWidget* view = m_browser->widget())
    {
        view->setFocusPolicy(Qt::FocusPolicy(view->focusPolicy() | Qt::TabFocus));
        layout()->addWidget(view);
    }
    m_browser->setEvents(this);
}

TBrowserTab::~TBrowserTab()
{
    if (!m_browser)
        return;
    // The control goes before the widget tree so that nothing it raises
    // while shutting down reaches a half-destroyed tab.
    IBrowserControl* browser = m_browser;
    m_browser = nullptr;
    browser->setEvents(nullptr);
    delete browser;
}

void TBrowserTab::Navigate(const QString& url)
{
    if (!EnsureBrowser() || RefusedSpecialFile(SpecialFileAddress::specialFilePath(url)))
        return;
    if (!m_locked)
        SetTitle(url);
    if (url == BlankAddress)
        GoBlank();
    else
        m_browser->Navigate(url);
}

void TBrowserTab::NavigateTo(const QString& url)
{
    if (!HasPage())
        return;
    TabHome = url;
    Navigate(url);
}

void TBrowserTab::GoTabHome()
{
    if (HasPage() && !TabHome.isEmpty())
        Navigate(TabHome);
}

void TBrowserTab::GoHome()
{
    if (HasPage())
        Navigate(HomeUrl());
}

void TBrowserTab::GoBack()
{
    if (m_browser && CanGoBack)
        m_browser->GoBack();
}

void TBrowserTab::GoForward()
{
    if (m_browser && CanGoForward)
        m_browser->GoForward();
}

void TBrowserTab::Stop()
{
    if (!m_browser)
        return;
    m_browser->Stop();
    // A stopped load may never report its document as complete; the tab
    // must not keep its busy icon for ever.
    if (Busy)
        FinishTracking();
}

void TBrowserTab::Refresh(bool complete)
{
    if (Unloaded())
    {
        LoadNow();
        return;
    }
    if (!m_browser)
        return;
    if (m_browser->Busy())
        Stop();
    m_browser->Refresh(complete);
}

void TBrowserTab::GoBlank()
{
    if (!EnsureBrowser())
        return;
    // Replacing the document of a locked tab would lose the page it keeps.
    if (m_locked)
    {
        OpenInNewTab(BlankAddress);
        return;
    }
    m_browser->LoadBlank(BlankPageHtml());
}

QString TBrowserTab::GetLocationURL() const
{
    if (Unloaded())
        return m_unloadedUrl;
    return m_browser ? m_browser->LocationURL() : QString();
}

QString TBrowserTab::GetLocationName() const
{
    if (Unloaded())
        return m_unloadedTitle;
    return m_browser ? m_browser->LocationName() : QString();
}

void TBrowserTab::SetTitle(const QString& title)
{
    if (!HasPage())
        return;
    // Until its page is loaded the tab has no title but the one known for
    // the page; the hint then says where the tab will go.
    const QString shown =
        Unloaded() ? TabTitleRules::unloadedTitle(m_unloadedUrl, m_unloadedTitle) : title;
    const QString hint = !Unloaded() ? title : m_unloadedTitle.isEmpty() ? m_unloadedUrl : shown;
    const QString caption =
        m_stickyName.isEmpty()
            ? ShortenTitle(shown, m_host->TitleLimit(), m_services->GetGlobalText(u"Blank"_s))
            : TabTitleRules::literalAmpersands(m_stickyName);
    SetAppearance(caption, hint);
}

void TBrowserTab::SetStickyName(const QString& name)
{
    if (!HasPage())
        return;
    m_stickyName = name;
    if (name.isEmpty())
        SetTitle(GetLocationName());
    else
        SetCaption(TabTitleRules::literalAmpersands(name));
}

void TBrowserTab::PromptStickyName()
{
    if (!HasPage())
        return;
    const QString title = GetLocationName();
    const QString proposed = title == GetLocationURL() ? QString() : title;
    QString text = proposed;
    QPointer<TBrowserTab> self(this);
    const bool accepted =
        m_services->inputQuery(m_services->GetGlobalText(u"StickyNameTitle"_s),
                               m_services->GetGlobalText(u"StickyNamePrompt"_s), text);
    if (!self)
        return;
    if (!accepted)
        text = proposed;
    if (!text.isEmpty())
        SetStickyName(text);
}

void TBrowserTab::SetLocked(bool locked)
{
    if (!HasPage())
        return;
    m_locked = locked;
    SetState(locked ? StateLocked : StateIdle);
}

void TBrowserTab::MarkSeen(bool seen)
{
    if (!HasPage())
        return;
    Seen = seen;
    if (m_locked)
        return;
    SetState(!seen && !IsActive() ? StateUnseen : StateIdle);
}

bool TBrowserTab::IsActive() const
{
    return m_host->IsActiveTab(this);
}

void TBrowserTab::FocusPage()
{
    if (m_browser)
        m_browser->FocusPage();
}

void TBrowserTab::FollowNextLink(const std::function<void(bool)>& done)
{
    if (!m_browser)
    {
        // Whoever waits for the answer gets one.
        if (done)
            done(false);
        return;
    }
    m_browser->FollowNextLink(done ? done : [](bool) {});
}

void TBrowserTab::LoadOnShow(const QString& url, const QString& knownTitle,
                             std::function<IBrowserControl*()> makeBrowser)
{
    if (url.isEmpty() || (!m_browser && !makeBrowser))
        return;
    m_unloadedUrl = url;
    m_unloadedTitle = knownTitle;
    m_makeBrowser = std::move(makeBrowser);
    TabHome = url;
    SetTitle(url);
    // The image changes even where the caption does not.
    emit appearanceChanged(this);
}

void TBrowserTab::LoadNow()
{
    if (!Unloaded())
        return;
    const QString url = m_unloadedUrl;
    // Until the page arrives the tab still stands for it, as a restoring
    // tab does: it may never get there, or the engine may take its time.
    m_loadingFromWait = EnsureBrowser();
    if (m_loadingFromWait)
        Navigate(url);
    emit appearanceChanged(this);
}

bool TBrowserTab::EnsureBrowser()
{
    if (!Unloaded())
        return m_browser != nullptr;
    m_unloadedUrl.clear();
    m_unloadedTitle.clear();
    // A locked tab sends every navigation but its page's own elsewhere, and
    // it has no page yet: the lock waits for the first one.
    if (std::exchange(m_locked, false))
        LockAfterLoad = true;
    if (!m_browser && m_makeBrowser)
        AttachBrowser(m_makeBrowser());
    m_makeBrowser = nullptr;
    return m_browser != nullptr;
}

QString TBrowserTab::BlankPageHtml()
{
    return u"<html><head><title>about:blank</title></head>"
           "<body bgcolor=\"#FFFFFF\">"
           "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
           "<td valign=\"top\"><span style=\"font-family: Verdana, Geneva, Arial; "
           "font-size: 11px; color: #000033\">&nbsp;</span></td>"
           "<td valign=\"top\" align=\"right\"><span style=\"font-family: Verdana; "
           "font-size: 11px; color: #999999\">Quillwave " QW_VERSION "<br></span></td>"
           "</tr></table></body></html>"_s;
}

QIcon TBrowserTab::PageIcon() const
{
    return m_state == StateIdle ? m_icon : QIcon();
}

void TBrowserTab::SetState(int state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit appearanceChanged(this);
}

void TBrowserTab::SetCaption(const QString& caption)
{
    SetAppearance(caption, m_hint);
}

void TBrowserTab::SetAppearance(const QString& caption, const QString& hint)
{
    if (m_caption == caption && m_hint == hint)
        return;
    m_caption = caption;
    m_hint = hint;
    emit appearanceChanged(this);
}

void TBrowserTab::ApplyPhase(int phase)
{
    if (m_locked)
        return;
    switch (phase)
    {
    case 1:
        SetState(StateBusy);
        break;
    case 2:
        SetState(Seen ? StateIdle : StateUnseen);
        break;
    case 3:
        SetState(StateArrived);
        break;
    default:
        break;
    }
}

void TBrowserTab::StartTracking(FrameId frame)
{
    InsecureSeen = false;
    Busy = true;
    m_tracked = frame;
    ApplyPhase(1);
    if (IsActive())
        m_host->RefreshIndicators();
}

void TBrowserTab::FinishTracking()
{
    const bool active = IsActive();
    MarkSeen(active);
    Busy = false;
    m_tracked = UnknownFrame;
    if (active)
    {
        ApplyPhase(2);
        m_host->RefreshIndicators();
    }
}

void TBrowserTab::OpenInNewTab(const QString& url)
{
    TBrowserTab* tab = m_host->AddTabPerPreference();
    if (!tab)
        return;
    tab->OpenedAsNewWindow = true;
    tab->Navigate(url);
}

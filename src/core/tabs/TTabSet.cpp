#include "core/tabs/TTabSet.h"

#include "components/TQWPageControl.h"
#include "core/dialogs/WindowServices.h"
#include "core/settings/TQWOptions.h"
#include "core/tabs/CloseAllTabs.h"
#include "core/tabs/ITabHost.h"
#include "core/tabs/StripUpdateGuard.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TabsMenu.h"

#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <QTimer>

namespace
{
const QString BlankAddress = QStringLiteral("about:blank");
} // namespace

const QList<int>& TTabSet::AutoRefreshIntervals()
{
    static const QList<int> intervals = {0, 15000, 30000, 60000, 120000, 300000};
    return intervals;
}

int TTabSet::AutoRefreshItemFor(int interval)
{
    return AutoRefreshIntervals().contains(interval) ? interval : 0;
}

TTabSet::TTabSet(TQWPageControl* pcPage, ITabHost* host, WindowServices* services,
                 BrowserControlFactory factory, TQWOptions* options, QObject* parent)
    : QObject(parent), pcPage(pcPage), m_host(host), m_services(services),
      m_factory(std::move(factory)), m_options(options)
{
    if (m_options)
    {
        OpenNewAtEnd = m_options->OpenNewAtEnd();
        OpenNewInForeground = m_options->OpenNewInForeground();
        SetNewAction(m_options->NewAction());
        m_titleLimit = qMax(0, m_options->LimitTitleLength());
    }
    tmrRefresh = new QTimer(this);
    tmrRefresh->setObjectName(QStringLiteral("tmrRefresh"));
    connect(tmrRefresh, &QTimer::timeout, this, &TTabSet::RefreshAll);

    connect(pcPage, &TQWPageControl::pageChanged, this, &TTabSet::pcPageChange);
    connect(pcPage, &TQWPageControl::tabMouseDown, this,
            [this](Qt::MouseButton button, int visibleIndex, const QPoint&)
            { pcPageMouseDown(button, visibleIndex); });
    connect(pcPage, &TQWPageControl::pageMoved, this, &TTabSet::tabsChanged);
}

TTabSet::~TTabSet() = default;

int TTabSet::Count() const
{
    return pcPage->count();
}

TBrowserTab* TTabSet::Tab(int index) const
{
    if (index < 0 || index >= pcPage->count())
        return nullptr;
    return qobject_cast<TBrowserTab*>(pcPage->page(index));
}

QList<TBrowserTab*> TTabSet::Tabs() const
{
    QList<TBrowserTab*> tabs;
    for (int i = 0; i < pcPage->count(); ++i)
    {
        if (TBrowserTab* tab = Tab(i))
            tabs.append(tab);
    }
    return tabs;
}

bool TTabSet::Contains(const TBrowserTab* tab) const
{
    return tab && pcPage->indexOf(tab) >= 0;
}

void TTabSet::SetNewAction(int action)
{
    m_newAction = qBound(0, action, 2);
}

void TTabSet::SetImages(const QList<QIcon>& images)
{
    m_images = images;
    pcPage->setImages(images);
}

QIcon TTabSet::TabIcon(const TBrowserTab* tab) const
{
    if (!tab)
        return {};
    const int index = tab->ImageIndex();
    if (index >= 0 && index < m_images.size())
        return m_images.at(index);
    return tab->PageIcon();
}

TBrowserTab* TTabSet::GetActivePage() const
{
    return qobject_cast<TBrowserTab*>(pcPage->activePage());
}

TBrowserTab* TTabSet::CreateTab(bool hidden)
{
    TBrowserTab* tab = CreateTabAfter(hidden, GetActivePage());
    if (!hidden)
        pcPage->setActivePage(tab);
    return tab;
}

TBrowserTab* TTabSet::CreateTabAfter(bool hidden, TBrowserTab* previous, bool withControl)
{
    int index = 0; // at the front when no tab was active
    if (OpenNewAtEnd)
        index = pcPage->count();
    else if (previous)
        index = pcPage->indexOf(previous) + 1;
    return CreateTabAt(hidden, index, withControl);
}

TBrowserTab* TTabSet::CreateTabAt(bool hidden, int index, bool withControl)
{
    IBrowserControl* control = m_factory && withControl ? m_factory(pcPage) : nullptr;
    auto* tab = new TBrowserTab(m_host, m_services, control, hidden);
    pcPage->insertPage(index, tab, !hidden);
    AttachTab(tab);
    return tab;
}

TBrowserTab* TTabSet::AddTabAt(int visibleIndex)
{
    const QWidget* next = visibleIndex >= 0 && visibleIndex < pcPage->visibleCount()
                              ? pcPage->visiblePage(visibleIndex)
                              : nullptr;
    TBrowserTab* tab = CreateTabAt(false, next ? pcPage->indexOf(next) : pcPage->count());
    pcPage->setActivePage(tab);
    pcPageChange();
    return tab;
}

TBrowserTab* TTabSet::AddBackgroundTab(TBrowserTab* after)
{
    return CreateTabAfter(false, after && Contains(after) ? after : GetActivePage());
}

bool TTabSet::LoadTabsOnShow() const
{
    return m_options && m_options->LoadTabsOnShow();
}

TBrowserTab* TTabSet::AddUnloadedTab(TBrowserTab* after, const QString& url)
{
    // The engine's page of a tab costs memory and a process before anything
    // is loaded into it: a tab that waits gets none.
    TBrowserTab* tab =
        CreateTabAfter(false, after && Contains(after) ? after : GetActivePage(), url.isEmpty());
    if (url.isEmpty())
        return tab;
    LoadWhenShown(tab, url);
    return tab;
}

void TTabSet::LoadWhenShown(TBrowserTab* tab, const QString& url)
{
    if (!Contains(tab) || (tab->Unloaded() && tab->GetLocationURL() == url))
        return;
    const QString title = m_knownTitle ? m_knownTitle(url) : QString();
    TQWPageControl* pages = pcPage;
    BrowserControlFactory factory = m_factory;
    tab->LoadOnShow(url, title,
                    [pages, factory]() -> IBrowserControl*
                    { return factory ? factory(pages) : nullptr; });
}

void TTabSet::SetKnownTitles(std::function<QString(const QString&)> knownTitle)
{
    m_knownTitle = std::move(knownTitle);
}

void TTabSet::LoadActiveTab()
{
    TBrowserTab* tab = GetActivePage();
    if (tab && tab->Unloaded())
        pcPageChange();
}

void TTabSet::AttachTab(TBrowserTab* tab)
{
    connect(tab, &TBrowserTab::appearanceChanged, this, &TTabSet::SyncAppearance);
    connect(tab, &TBrowserTab::printRequested, this, &TTabSet::printRequested);
    connect(tab, &TBrowserTab::shown, this, &TTabSet::TabShown);
    connect(tab, &QObject::destroyed, this, [this, tab] { m_foregroundWhenShown.remove(tab); });
    SyncAppearance(tab);
}

void TTabSet::SyncAppearance(TBrowserTab* tab)
{
    if (!Contains(tab))
        return;
    pcPage->setPageCaption(tab, tab->Caption());
    pcPage->setPageHint(tab, tab->Hint());
    pcPage->setPageIcon(tab, tab->PageIcon());
    pcPage->setPageImageIndex(tab, tab->ImageIndex());
    // A tab's look changes when it is added and when a navigation starts
    // and arrives.
    emit tabsChanged();
}

void TTabSet::TabShown(TBrowserTab* tab)
{
    if (!Contains(tab))
        return;
    pcPage->setPageVisible(tab, true);
    SyncAppearance(tab);
    if (m_foregroundWhenShown.remove(tab))
        ActivateTab(tab);
}

TBrowserTab* TTabSet::AddTab()
{
    TBrowserTab* tab = CreateTab(false);
    pcPageChange();
    return tab;
}

TBrowserTab* TTabSet::AddTabPerPreference()
{
    TBrowserTab* previous = GetActivePage();
    TBrowserTab* tab;
    {
        const StripUpdateGuard guard(pcPage);
        tab = CreateTab(false);
        if (!OpenNewInForeground && previous)
            pcPage->setActivePage(previous);
    }
    if (GetActivePage() != previous)
        pcPageChange();
    return tab;
}

TBrowserTab* TTabSet::AddHiddenTab()
{
    TBrowserTab* tab;
    {
        const StripUpdateGuard guard(pcPage);
        tab = CreateTab(true);
    }
    // A hidden tab cannot be the active one yet; it comes to the front when
    // pop-up capture lets it be shown.
    if (OpenNewInForeground)
        m_foregroundWhenShown.insert(tab);
    return tab;
}

void TTabSet::ResetTab(TBrowserTab* tab, bool clearTabHome)
{
    // Unlocked first: a locked tab would send the blank page into a new tab.
    // A pending lock-after-load would lock the tab again when it arrives.
    tab->LockAfterLoad = false;
    tab->SetLocked(false);
    tab->GoBlank();
    if (clearTabHome)
        tab->TabHome.clear();
    tab->SetStickyName(QString());
    // The title rule shows "about:blank" as the Blank text.
    tab->SetTitle(BlankAddress);
    tab->HideFromCloseAll = false;
}

void TTabSet::CloseTab(TBrowserTab* tab)
{
    if (!Contains(tab))
        return;
    emit tabClosing(tab);
    if (pcPage->isPageVisible(tab) && pcPage->visibleCount() == 1)
    {
        ResetTab(tab, true);
        return;
    }
    bool activeChanged = false;
    if (tab == GetActivePage())
    {
        const int at = pcPage->visibleIndexOf(tab);
        pcPage->setActivePage(pcPage->visiblePage(at == 0 ? 1 : at - 1));
        activeChanged = true;
    }
    m_foregroundWhenShown.remove(tab);
    tab->Stop();
    pcPage->removePage(tab);
    tab->hide();
    emit tabsChanged();
    // The close may come from the tab's own event handler (a page closing
    // its window), which is still running: the tab goes when it returns.
    tab->deleteLater();
    if (activeChanged)
        pcPageChange();
}

void TTabSet::CloseKilledTabs()
{
    for (int i = Count() - 1; i >= 0; --i)
    {
        TBrowserTab* tab = Tab(i);
        if (tab && tab->Killed)
            CloseTab(tab);
    }
}

void TTabSet::CloseAll(bool silent)
{
    CloseAllTabs::closeAll(*this, silent);
}

TBrowserTab* TTabSet::GetPopupTab()
{
    CloseKilledTabs();
    if (PopupTabIndex < 0 || PopupTabIndex >= pcPage->visibleCount())
        return nullptr;
    return qobject_cast<TBrowserTab*>(pcPage->visiblePage(PopupTabIndex));
}

void TTabSet::StopAll()
{
    const QList<TBrowserTab*> tabs = Tabs();
    QList<QPointer<TBrowserTab>> guarded(tabs.cbegin(), tabs.cend());
    for (const QPointer<TBrowserTab>& tab : guarded)
    {
        if (Contains(tab))
            tab->Stop();
    }
}

void TTabSet::RefreshAll()
{
    // A refresh may add tabs (a locked tab opens it in a new one): walk the
    // tabs that were there when it began.
    const QList<TBrowserTab*> tabs = Tabs();
    QList<QPointer<TBrowserTab>> guarded(tabs.cbegin(), tabs.cend());
    const bool complete = CompleteRefresh();
    for (const QPointer<TBrowserTab>& tab : guarded)
    {
        // A captured pop-up waiting to be closed must not load its page.
        if (Contains(tab) && !tab->Killed)
            tab->Refresh(complete);
    }
}

void TTabSet::SetAutoRefresh(int interval)
{
    m_autoRefreshInterval = qMax(0, interval);
    if (m_options)
        m_options->SetAutoRefresh(m_autoRefreshInterval);
    tmrRefresh->setInterval(m_autoRefreshInterval);
    // A running timer with interval 0 would refresh without pause.
    if (m_autoRefreshInterval != 0)
        tmrRefresh->start();
    else
        tmrRefresh->stop();
}

void TTabSet::SetTitleLimit(int limit)
{
    m_titleLimit = qMax(0, limit);
    CloseKilledTabs();
    for (TBrowserTab* tab : Tabs())
    {
        // The hint holds the full title; a tab without one has none to apply.
        if (!tab->Hint().isEmpty())
            tab->SetTitle(tab->Hint());
    }
}

bool TTabSet::CompleteRefresh()
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

void TTabSet::MakeMeActiveTab(int index)
{
    ActivateTab(Tab(index));
}

void TTabSet::pcPageChange()
{
    TBrowserTab* tab = GetActivePage();
    if (!tab)
        return;
    // A tab that waited for its page loads it now that it is shown; the
    // box shows the address it loads, not the empty one of its new control.
    const QString address = tab->GetLocationURL();
    tab->LoadNow();
    if (m_host && m_host->WindowActive())
        tab->FocusPage();
    if (!tab->Busy)
        tab->MarkSeen(true);
    if (!m_host)
        return;
    m_host->RefreshIndicators();
    m_host->ShowAddress(address);
    m_host->SetProgressText(QString());
    m_host->SetStatusText(QString());
}

void TTabSet::pcPageMouseDown(Qt::MouseButton button, int visibleIndex)
{
    if (button == Qt::RightButton)
        PopupTabIndex = visibleIndex;
}

QString TTabSet::GetGlobalText(const QString& key) const
{
    return GetLangText(QStringLiteral("GLOBAL"), key);
}

QString TTabSet::GetLangText(const QString& section, const QString& key) const
{
    return m_services->GetLangText(section, key);
}

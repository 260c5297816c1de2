#include "core/tabs/TTabReopener.h"

#include "components/TQWPageControl.h"
#include "core/dialogs/WindowServices.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryTypeError.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TStartupLoader.h"
#include "core/tabs/TTabSet.h"
#include "groups/FolderListing.h"

#include <QMenu>
#include <QTimer>

TTabReopener::TTabReopener(TTabSet* tabs, TQWOptions* options, WindowServices* services,
                           const QString& storePath, QObject* parent)
    : QObject(parent), m_tabs(tabs), m_options(options), m_services(services),
      m_storePath(storePath), m_saveTimer(new QTimer(this))
{
    Q_ASSERT(m_tabs && m_options && m_services);
    // The tabs of one close-all go into one write.
    m_saveTimer->setSingleShot(true);
    m_saveTimer->setInterval(0);
    connect(m_saveTimer, &QTimer::timeout, this, &TTabReopener::Flush);
    connect(m_tabs, &TTabSet::tabClosing, this, &TTabReopener::Remember);

    m_keepOnSave = InLastMode();
    if (m_keepOnSave)
        m_closed = TClosedTabs::Load(m_storePath);
    else
        ScheduleSave(); // what an earlier run in "Last" mode left goes
}

TTabReopener::~TTabReopener()
{
    // The settings may be gone by now; what to write was decided before.
    if (m_saveTimer->isActive())
        Flush();
}

void TTabReopener::Remember(TBrowserTab* tab)
{
    if (!tab || tab->Hidden || tab->Killed)
        return;
    TClosedTabs::Entry entry;
    entry.address = tab->RememberedAddress();
    if (!TClosedTabs::IsWorthKeeping(entry.address))
        return;
    entry.title = tab->Hint();
    entry.stickyName = tab->StickyName();
    entry.locked = tab->Locked() || tab->LockAfterLoad;
    entry.index = qMax(0, m_tabs->PageControl()->visibleIndexOf(tab));
    if (IBrowserControl* browser = tab->Browser())
        entry.history = browser->SaveHistory();
    if (m_closed.Record(entry))
        ScheduleSave();
}

TBrowserTab* TTabReopener::Reopen(int i)
{
    if (i < 0 || i >= m_closed.Count())
        return nullptr;
    const TClosedTabs::Entry entry = m_closed.Take(i);
    ScheduleSave();
    TBrowserTab* tab = ReusableTab();
    if (tab)
        m_tabs->ActivateTab(tab);
    else
        tab = m_tabs->AddTabAt(entry.index);
    if (!entry.stickyName.isEmpty())
        tab->SetStickyName(entry.stickyName);
    // Locked only once the page is there: a locked tab would send its own
    // page into a new tab.
    tab->LockAfterLoad = entry.locked;
    IBrowserControl* browser = tab->Browser();
    if (browser && !entry.history.isEmpty() && browser->RestoreHistory(entry.history))
        tab->SetTitle(entry.address);
    else
        tab->Navigate(entry.address);
    return tab;
}

TBrowserTab* TTabReopener::ReusableTab() const
{
    if (m_tabs->PageControl()->visibleCount() != 1)
        return nullptr;
    TBrowserTab* tab = m_tabs->GetActivePage();
    // The title too: a tab that was just given its page may not have
    // started loading it yet.
    if (!tab || tab->Hidden || tab->Busy || tab->Locked() || tab->LockAfterLoad ||
        !tab->StickyName().isEmpty() || TClosedTabs::IsWorthKeeping(tab->RememberedAddress()) ||
        TClosedTabs::IsWorthKeeping(tab->Hint()))
        return nullptr;
    return tab;
}

void TTabReopener::AttachTabsMenu(QMenu* tabsMenu)
{
    m_tabsMenu = tabsMenu;
    // A child of the Tabs menu: clearing that menu leaves it alone.
    pmRecentlyClosed = new QMenu(tabsMenu);
    pmRecentlyClosed->setObjectName(QStringLiteral("pmRecentlyClosed"));
    connect(pmRecentlyClosed, &QMenu::aboutToShow, this, &TTabReopener::FillRecentlyClosedMenu);
    connect(tabsMenu, &QMenu::aboutToShow, this,
            [this]
            {
                if (!m_tabsMenu || !pmRecentlyClosed)
                    return;
                m_tabsMenu->addSeparator();
                pmRecentlyClosed->setTitle(
                    m_services->GetGlobalText(QStringLiteral("RecentlyClosed")));
                QAction* item = m_tabsMenu->addMenu(pmRecentlyClosed);
                item->setEnabled(!m_closed.IsEmpty());
            });
}

QMenu* TTabReopener::RecentlyClosedMenu() const
{
    return pmRecentlyClosed;
}

void TTabReopener::FillRecentlyClosedMenu()
{
    if (!pmRecentlyClosed)
        return;
    pmRecentlyClosed->clear();
    for (const TClosedTabs::Entry& entry : m_closed.Entries())
    {
        const QString& text = entry.stickyName.isEmpty()
                                  ? (entry.title.isEmpty() ? entry.address : entry.title)
                                  : entry.stickyName;
        QAction* item =
            pmRecentlyClosed->addAction(FolderListing::menuCaption(FolderListing::shortened(text)));
        item->setToolTip(entry.address);
        item->setStatusTip(entry.address);
        if (pmRecentlyClosed->actions().size() == 1)
        {
            // Shown beside what the key brings back; the key filter has the
            // key elsewhere, so it never runs twice.
            item->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
            item->setShortcutContext(Qt::WidgetShortcut);
        }
        // The list may change while the menu is open: the item stands for
        // its entry, not for a position.
        connect(item, &QAction::triggered, this,
                [this, entry]
                {
                    const qsizetype at = m_closed.Entries().indexOf(entry);
                    if (at >= 0)
                        Reopen(static_cast<int>(at));
                });
    }
}

bool TTabReopener::InLastMode() const
{
    try
    {
        return TStartupLoader::IsLastMode(m_options->StartupMode());
    }
    catch (const RegistryTypeError&)
    {
        return false;
    }
}

void TTabReopener::ScheduleSave()
{
    m_keepOnSave = InLastMode();
    m_saveTimer->start();
}

void TTabReopener::Flush()
{
    m_saveTimer->stop();
    if (m_storePath.isEmpty())
        return;
    if (m_keepOnSave)
        m_closed.Save(m_storePath);
    else
        TClosedTabs().Save(m_storePath);
}

#include "core/window/MainHistory.h"

#include "core/engine/TEngineProfile.h"
#include "core/engine/THistoryIndex.h"
#include "core/settings/TQWOptions.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/TfrmMain.h"
#include "groups/THistoryPage.h"
#include "groups/TKoncoBar.h"
#include "navigation/TAddressController.h"

MainHistory::MainHistory(TfrmMain* window)
    : QObject(window), m_window(window), m_page(new THistoryPage(window->Services()))
{
    TKoncoBar* bar = window->KoncoBar();
    bar->setPageContent(TKoncoBar::History, m_page);
    connect(bar, &TKoncoBar::pageShown, this,
            [this](TKoncoBar::Page page)
            {
                if (page == TKoncoBar::History)
                    PageShown();
            });
    connect(m_page, &THistoryPage::openRequested, this,
            [this](const QString& address)
            {
                if (m_window->Options())
                    m_window->Address()->OpenAddress(address, m_window->Options()->HistoryNewWin());
            });
    // Always a new tab, whatever HistoryNewWin says.
    connect(m_page, &THistoryPage::openInNewWindowRequested, this,
            [this](const QString& address)
            {
                if (TBrowserTab* tab = m_window->TabSet()->AddTab())
                    tab->NavigateTo(address);
            });
    connect(m_page, &THistoryPage::historyCleared, this, &TEngineProfile::clearVisitedLinks);
}

void MainHistory::PageShown()
{
    if (HistoryLoaded)
        return;
    HistoryLoaded = true;
    m_page->setRoot(THistoryIndex::defaultRoot());
}

void MainHistory::EngineSettingsShown()
{
    if (!HistoryLoaded)
        return;
    TKoncoBar* bar = m_window->KoncoBar();
    if (bar->isVisible() && bar->activePage() == TKoncoBar::History)
        m_page->refresh();
    else
        HistoryLoaded = false;
}

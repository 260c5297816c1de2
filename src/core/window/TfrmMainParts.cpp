#include "core/window/TfrmMain.h"

#include "core/engine/HistoryTitles.h"
#include "core/engine/IBrowserControl.h"
#include "core/engine/THistoryIndex.h"
#include "core/engine/TQuillwaveSchemeHandler.h"
#include "core/store/ProgramPaths.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TPopupCapture.h"
#include "core/tabs/TTabReopener.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainBars.h"
#include "core/window/MainCommands.h"
#include "core/window/MainContentSwitches.h"
#include "core/window/MainEngineSettings.h"
#include "core/window/MainFullScreen.h"
#include "core/window/MainOptions.h"
#include "core/window/MainPageCommands.h"
#include "core/window/MainShell.h"
#include "core/window/MainTextSize.h"
#include "core/window/MainTray.h"
#include "core/window/MainViewSettings.h"
#include "core/window/TMainMenu.h"

#include <QDir>

#include <memory>

// The window parts that build on the bars, tabs and menus once those exist.

void TfrmMain::CreateViewParts()
{
    m_fullScreen = new MainFullScreen(this, m_options.get(), m_viewSettings.get(), m_bars);
    m_textSize = new MainTextSize(this,
                                  [this]() -> IBrowserControl*
                                  {
                                      const TBrowserTab* tab = GetActivePage();
                                      return tab ? tab->Browser() : nullptr;
                                  });
    m_menu->InsertFontSizeMenu(m_textSize->FontSizeMenu());
    m_bars->SetFontMenu(m_textSize->FontMenu());
    m_bars->Wire(m_fullScreen);
    m_contentSwitches = new MainContentSwitches(this);
    m_tray = new MainTray(this, m_services,
                          [this]
                          {
                              const TBrowserTab* tab = GetActivePage();
                              return tab ? tab->GetLocationName() : QString();
                          });
    m_tray->SetActive(m_viewSettings->MinToTray());
}

void TfrmMain::CreateCommandParts()
{
    m_optionsHost = new MainOptions(this);
    m_pageCommands = new MainPageCommands(this);
    m_shell = new MainShell(this);
    m_engineSettings = new MainEngineSettings(this);

    m_reopener = new TTabReopener(
        m_tabSet, m_options.get(), m_services,
        QDir(ProgramPaths::programFolder()).filePath(QStringLiteral("closedtabs.json")), this);
    m_reopener->AttachTabsMenu(m_menu->TabsMenu());
    m_commands->add(MainCommand::ReopenClosedTab, [this] { m_reopener->ReopenClosedTab(); });
    // A blocked pop-up the user lets through opens as a plain tab, which
    // pop-up capture never looks at.
    connect(m_popupCapture, &TPopupCapture::openOnceRequested, m_tabSet,
            [this](const QString& url) { m_tabSet->AddTab()->Navigate(url); });
    // A page's own Print button prints as File > Print does; a page the
    // user is not looking at gets no dialog.
    connect(m_tabSet, &TTabSet::printRequested, this,
            [this](TBrowserTab* tab)
            {
                if (tab == m_tabSet->GetActivePage() && !tab->Hidden)
                    m_commands->run(MainCommand::Print);
            });
    // Tabs that wait to load show the title of the page's last visit; the
    // program's own pages never enter the history but have known titles.
    auto titles = std::make_shared<HistoryTitles>(THistoryIndex::defaultRoot());
    m_tabSet->SetKnownTitles(
        [titles](const QString& url)
        {
            const QString own = TQuillwaveSchemeHandler::PageTitle(QUrl(url));
            return own.isEmpty() ? titles->titleOf(url) : own;
        });
}

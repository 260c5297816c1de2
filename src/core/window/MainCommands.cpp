#include "core/window/MainCommands.h"

#include "core/dialogs/TfrmCloseAll.h"
#include "core/dialogs/TfrmProperties.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/TDownloadManager.h"
#include "core/engine/TEngineProfile.h"
#include "core/engine/TPageFullScreen.h"
#include "core/store/ProgramPaths.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TPopupCapture.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainContentSwitches.h"
#include "core/window/MainEngineSettings.h"
#include "core/window/MainFavorites.h"
#include "core/window/MainFavoritesPage.h"
#include "core/window/MainFullScreen.h"
#include "core/window/MainGroups.h"
#include "core/window/MainOptions.h"
#include "core/window/MainPageCommands.h"
#include "core/window/MainShell.h"
#include "core/window/MainTextSize.h"
#include "core/window/MainViewSettings.h"
#include "core/window/TKeyFilter.h"
#include "core/window/TMainMenu.h"
#include "core/window/TfrmMain.h"
#include "navigation/TAddressBand.h"
#include "navigation/TAddressController.h"
#include "navigation/TQWComboBox.h"
#include "navigation/TSearchLists.h"
#include "navigation/TfrmSearchEngine.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

MainCommands::MainCommands(TfrmMain* window) : m_window(window)
{
    addTabCommands();
    addActiveTabCommands();
    addWindowCommands();
}

void MainCommands::add(MainCommand command, std::function<void()> run)
{
    m_commands.insert(command, std::move(run));
}

void MainCommands::run(MainCommand command)
{
    if (const auto run = m_commands.constFind(command); run != m_commands.constEnd())
        (*run)();
}

void MainCommands::runAppCommand(TAppCommandFilter::AppCommand command)
{
    switch (command)
    {
    case TAppCommandFilter::Back:
        run(MainCommand::Back);
        break;
    case TAppCommandFilter::Forward:
        run(MainCommand::Forward);
        break;
    case TAppCommandFilter::Refresh:
        run(MainCommand::Refresh);
        break;
    case TAppCommandFilter::Home:
        run(MainCommand::Home);
        break;
    case TAppCommandFilter::Search:
        run(MainCommand::ToggleSideBarSearch);
        break;
    case TAppCommandFilter::Favorites:
        run(MainCommand::ToggleSideBarFavorites);
        break;
    default:
        break;
    }
}

TKeyDecision::WindowState MainCommands::keyState() const
{
    TKeyDecision::WindowState state;
    state.mainWindowInFront = QApplication::activeWindow() == m_window &&
                              !QApplication::activePopupWidget() &&
                              !QApplication::activeModalWidget();
    state.altShortcutsDisabled = m_window->ViewSettings()->DisableALTShortcuts();
    state.hasActiveTab = m_window->GetActivePage() != nullptr;
    state.textBoxFocused = TKeyFilter::IsTextBox(QApplication::focusWidget());
    state.pageFullScreen = TPageFullScreen::isActive(m_window);
    state.findBarFocused = m_window->PageCommands() && m_window->PageCommands()->FindBarHasFocus();
    state.favoritesTreeRenaming =
        m_window->Favorites() && m_window->Favorites()->Page()->TreeHasFocus();
    state.available = [this](MainCommand command) { return available(command); };
    return state;
}

void MainCommands::addTabCommands()
{
    // The parts are looked up when a command runs: the table is made before
    // the menus that ask it, and so before the tab set.
    const auto onTabSet = [this](MainCommand command, void (TTabSet::*operation)())
    { add(command, [this, operation] { (m_window->TabSet()->*operation)(); }); };
    onTabSet(MainCommand::NewTab, &TTabSet::actNewBlankExecute);
    onTabSet(MainCommand::NewHomeTab, &TTabSet::actNewHomeExecute);
    onTabSet(MainCommand::NewCurrentTab, &TTabSet::actNewCurrentExecute);
    onTabSet(MainCommand::CloseTab, &TTabSet::actCloseExecute);
    onTabSet(MainCommand::CloseAll, &TTabSet::actCloseAllExecute);
    onTabSet(MainCommand::CloseAllKeepCurrent, &TTabSet::pmCloseAllKeepCurrentClick);
    onTabSet(MainCommand::NextTab, &TTabSet::actNextBrowserTabExecute);
    onTabSet(MainCommand::PreviousTab, &TTabSet::actPreviousBrowserTabExecute);
    onTabSet(MainCommand::RefreshAll, &TTabSet::RefreshAll);
    add(MainCommand::StopAll,
        [this]
        {
            m_window->TabSet()->StopAll();
            m_window->RefreshIndicators();
        });
    add(MainCommand::NewClipboardTab, [this] { newTabFromClipboard(); });
    add(MainCommand::CloseAllShowList, [this] { showCloseAllList(); });
    // For this run only: the stored setting stays what the user chose.
    add(MainCommand::FlipOpenInForeground,
        [this]
        {
            TTabSet* tabs = m_window->TabSet();
            tabs->OpenNewInForeground = !tabs->OpenNewInForeground;
        });
}

void MainCommands::addActiveTabCommands()
{
    const auto onTab = [this](MainCommand command, std::function<void(TBrowserTab*)> operation)
    {
        add(command,
            [this, operation]
            {
                if (TBrowserTab* tab = m_window->GetActivePage())
                    operation(tab);
            });
    };
    // A command that changes what the tab is doing shows it at once.
    const auto andRefresh = [this](std::function<void(TBrowserTab*)> operation)
    {
        return [this, operation](TBrowserTab* tab)
        {
            operation(tab);
            m_window->RefreshIndicators();
        };
    };
    onTab(MainCommand::Back,
          [](TBrowserTab* tab)
          {
              if (tab->CanGoBack)
                  tab->GoBack();
          });
    onTab(MainCommand::Forward,
          [](TBrowserTab* tab)
          {
              if (tab->CanGoForward)
                  tab->GoForward();
          });
    onTab(MainCommand::Home, [](TBrowserTab* tab) { tab->GoHome(); });
    onTab(MainCommand::Stop, andRefresh([](TBrowserTab* tab) { tab->Stop(); }));
    onTab(MainCommand::Refresh, andRefresh([](TBrowserTab* tab) { tab->Refresh(false); }));
    onTab(MainCommand::RefreshBypassCache,
          andRefresh([](TBrowserTab* tab) { tab->Refresh(true); }));
    onTab(MainCommand::FollowNextLink, [](TBrowserTab* tab) { tab->FollowNextLink(); });
    onTab(MainCommand::StickyTitle,
          [](TBrowserTab* tab)
          {
              if (tab->StickyName().isEmpty())
                  tab->PromptStickyName();
              else
                  tab->SetStickyName(QString());
          });
    onTab(MainCommand::ToggleLock, [](TBrowserTab* tab) { tab->SetLocked(!tab->Locked()); });
    onTab(MainCommand::AddToPopupList,
          [this](TBrowserTab* tab)
          {
              m_window->PopupCapture()->AddToPopupList(tab);
              m_window->PopupCapture()->LoadPopupList();
          });
    onTab(MainCommand::Properties,
          [this](TBrowserTab* tab)
          {
              if (tab->Browser())
                  TfrmProperties::ShowForControl(tab->Browser(), m_window->Language(), m_window);
          });
    MainPageCommands::AddCommands(*this, m_window);
}

void MainCommands::addWindowCommands()
{
    add(MainCommand::FocusAddressBox, [this] { focusAddressBox(); });
    add(MainCommand::WorkOffline, [this] { toggleWorkOffline(); });
    add(MainCommand::About, [this] { showAbout(); });
    add(MainCommand::Exit, [this] { m_window->close(); });
    // Support is a section of the help shipped with the program: there is
    // no site to send anyone to.
    if (QFileInfo::exists(ProgramPaths::helpIndexFile()))
    {
        add(MainCommand::HelpTopics, [this] { openHelp(QStringLiteral("index.html")); });
        add(MainCommand::HelpSupport,
            [this] { openHelp(QStringLiteral("getting-started.html#support")); });
    }
    add(MainCommand::OrganizeSearchEngines,
        [this] { organizeSearchList(TSearchLists::ModeSearchEngines); });
    add(MainCommand::OrganizeSearchBar,
        [this] { organizeSearchList(TSearchLists::ModeSearchBar); });
    add(MainCommand::Downloads, [this] { TDownloadManager::instance()->showWindow(m_window); });
    add(MainCommand::AddToFavorites,
        [this] { m_window->Favorites()->AddFavorite(m_window->GetActivePage()); });
    add(MainCommand::OrganizeFavorites, [this] { m_window->Favorites()->OrganizeFavorites(); });
    add(MainCommand::ImportBookmarks, [this] { m_window->Favorites()->ImportBookmarks(); });
    add(MainCommand::ExportFavorites, [this] { m_window->Favorites()->ExportFavorites(); });
    add(MainCommand::FavoritesPane, [this] { m_window->Favorites()->Page()->tbFavoritesClick(); });
    add(MainCommand::FullScreen, [this] { m_window->FullScreen()->Toggle(); });
    for (const auto& [command, which] :
         {std::pair{MainCommand::ToggleLoadImages, MainContentSwitches::Images},
          std::pair{MainCommand::ToggleLoadVideos, MainContentSwitches::Videos},
          std::pair{MainCommand::ToggleLoadSounds, MainContentSwitches::Sounds},
          std::pair{MainCommand::ToggleLoadAnimations, MainContentSwitches::Animations}})
        add(command, [this, which] { m_window->ContentSwitches()->Toggle(which); });
    add(MainCommand::InternetOptions,
        [this] { m_window->EngineSettings()->actInternetOptionsExecute(); });
    add(MainCommand::MediumFont, [this] { m_window->TextSize()->actSetMediumFontExecute(); });
    add(MainCommand::AddToVostelGroup, [this] { m_window->Groups()->pmAddToVostelGroupClick(); });
    add(MainCommand::SaveTabsAsVostelGroup,
        [this] { m_window->Groups()->actSaveAsVostelGroupExecute(); });
    add(MainCommand::OrganizeVostelGroups,
        [this] { m_window->Groups()->actOrganizeVostelGroupsExecute(); });
    add(MainCommand::Options, [this] { m_window->OptionsHost()->Execute(); });
    const auto onShell = [this](MainCommand command, void (MainShell::*handler)())
    { add(command, [this, handler] { (m_window->Shell()->*handler)(); }); };
    onShell(MainCommand::OpenDialog, &MainShell::actOpenExecute);
    onShell(MainCommand::ReadMail, &MainShell::actReadMailExecute);
    onShell(MainCommand::ReadNews, &MainShell::pmMailNewsReadNewsClick);
    onShell(MainCommand::NewMailMessage, &MainShell::pmMailNewsNewMessageClick);
    onShell(MainCommand::SendLink, &MainShell::pmMailNewsSendALinkClick);
    onShell(MainCommand::SendPage, &MainShell::pmMailSendFileClick);
}

void MainCommands::addMenuDrops()
{
    TMainMenu* menu = m_window->MainMenu();
    // A menu can be dropped from the keyboard once its button is on the bar.
    for (const MainCommand command :
         {MainCommand::DropFileMenu, MainCommand::DropEditMenu, MainCommand::DropViewMenu,
          MainCommand::DropFavoritesMenu, MainCommand::DropVostelGroupsMenu,
          MainCommand::DropToolsMenu, MainCommand::DropSecurityMenu, MainCommand::DropHelpMenu,
          MainCommand::DropTabsMenu})
    {
        if (!menu->MenuButton(command))
            continue;
        add(command,
            [menu, command]
            {
                // The check mark follows the engine, whoever changed it last.
                if (command == MainCommand::DropFileMenu)
                    menu->WorkOfflineItem()->setChecked(TEngineProfile::workOffline());
                menu->DropMenu(command);
            });
    }
}

void MainCommands::focusAddressBox()
{
    TAddressBand* band = m_window->Address()->Band();
    if (band->isHidden())
        return;
    QComboBox* box = band->cboAddress;
    box->setFocus(Qt::ShortcutFocusReason);
    if (QLineEdit* edit = box->lineEdit())
        edit->selectAll();
}

void MainCommands::newTabFromClipboard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!TMainMenu::HoldsText(data))
        return;
    const QString text = data->text().trimmed();
    // Text on the clipboard comes from anywhere: a script address in it
    // would run in the new tab's page.
    if (TAddressController::IsScriptAddress(text))
    {
        m_window->ShowMessage(
            m_window->Services()->GetGlobalText(QStringLiteral("ScriptAddressRefused")));
        return;
    }
    m_window->Address()->OpenAddress(text, true);
}

void MainCommands::showCloseAllList()
{
    TfrmCloseAll dialog(m_window->TabSet(), m_window->Language(), m_window);
    dialog.exec();
}

void MainCommands::toggleWorkOffline()
{
    TEngineProfile::setWorkOffline(m_window->MainMenu()->WorkOfflineItem()->isChecked());
}

void MainCommands::openHelp(const QString& page)
{
    const QString index = ProgramPaths::helpIndexFile();
    if (!QFileInfo::exists(index))
        return;
    const qsizetype hash = page.indexOf(u'#');
    QUrl address = QUrl::fromLocalFile(
        QFileInfo(index).dir().filePath(page.left(hash < 0 ? page.size() : hash)));
    if (hash >= 0)
        address.setFragment(page.mid(hash + 1));
    if (TBrowserTab* tab = m_window->TabSet()->AddTab())
        tab->Navigate(address.toString());
}

void MainCommands::organizeSearchList(int mode)
{
    TfrmSearchEngine::Organize(m_window, mode, m_window->Options(), m_window->Language());
}

void MainCommands::showAbout()
{
    WindowServices* services = m_window->Services();
    const QStringList lines = {QStringLiteral("Quillwave " QW_VERSION),
                               QStringLiteral("Copyright \u00A9 2026 the Quillwave developers."),
                               QString(),
                               services->GetGlobalText(QStringLiteral("IEVersion")) +
                                   QStringLiteral(": ") + TEngineProfile::engineVersionText()};
    services->notify(QStringLiteral("Quillwave"), lines.join(QLatin1Char('\n')));
}

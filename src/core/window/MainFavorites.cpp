#include "core/window/MainFavorites.h"
#include "core/window/MainShell.h"

#include "components/TFolderMonitor.h"
#include "core/settings/TQWOptions.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainBars.h"
#include "core/window/MainFavoritesPage.h"
#include "core/window/MainViewSettings.h"
#include "core/window/TMainMenu.h"
#include "core/window/TfrmMain.h"
#include "groups/FavoritesFolders.h"
#include "groups/TFavoritesMenu.h"
#include "groups/TFavoritesTransfer.h"
#include "groups/TLinksBar.h"
#include "groups/TfrmAddFavorite.h"
#include "groups/TfrmOrganizeFavorites.h"
#include "navigation/TAddressController.h"

#include <QDesktopServices>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <memory>

MainFavorites::MainFavorites(TfrmMain* window) : QObject(window), m_window(window)
{
    TQWOptions* options = window->Options();
    m_menu = new TFavoritesMenu(window->MainMenu()->FavoritesMenu(), window->Services(), this);
    const QString folder = FavoritesFolders::favoritesFolder(*options->Store());
    m_folder = folder;
    m_menu->SetFolder(folder);
    connect(m_menu, &TFavoritesMenu::addFavoriteRequested, this,
            [this] { AddFavorite(m_window->GetActivePage()); });
    connect(m_menu, &TFavoritesMenu::organizeFavoritesRequested, this,
            &MainFavorites::OrganizeFavorites);
    connect(window->MainMenu(), &TMainMenu::tabAddToFavoritesChosen, this,
            [this] { AddFavorite(m_window->TabSet()->GetPopupTab()); });
    connect(m_menu, &TFavoritesMenu::favoriteChosen, this, &MainFavorites::OpenFavorite);
    connect(m_menu, &TFavoritesMenu::openAllChosen, this,
            [this](const QStringList& targets) { Launcher().openAll(targets); });

    // The rebuild only reads the tree, which the monitor does not report,
    // so it stays on: a change made while a rebuild is under way is heard.
    m_favoritesMonitor = new TFolderMonitor(folder, this);
    connect(m_favoritesMonitor, &TFolderMonitor::changed, this, &MainFavorites::MarkNotCurrent);
    m_favoritesMonitor->setActive(true);

    m_idleRebuild = new QTimer(this);
    m_idleRebuild->setInterval(0);
    connect(m_idleRebuild, &QTimer::timeout, this, &MainFavorites::RebuildSlice);
    // Read once here and again when the options change, not at every change of the folder.
    ReadMenuSettings();
    MarkNotCurrent();
    // Opened before the idle moments were through, the menu is rebuilt at
    // once; the items it replaced go at the next ones.
    connect(m_menu->Popup(), &QMenu::aboutToShow, this,
            [this]
            {
                if (m_menu->HasIdleWork())
                    m_idleRebuild->start();
            });

    CreateLinksBar();
    m_page = new MainFavoritesPage(window, this);
}

MainFavorites::~MainFavorites() = default;

void MainFavorites::AddFavorite(const TBrowserTab* tab)
{
    const QString address = tab ? tab->RememberedAddress() : QString();
    if (address.isEmpty())
        return;
    // The menu follows through the folder monitor.
    TfrmAddFavorite::Add(m_window, m_folder, tab->GetLocationName(), address, m_window->Services());
}

void MainFavorites::OrganizeFavorites()
{
    TfrmOrganizeFavorites::Organize(m_window, m_folder, m_window->Services());
}

void MainFavorites::ImportBookmarks()
{
    TFavoritesTransfer::ImportBookmarks(m_window, m_folder, m_window->Services());
}

void MainFavorites::ExportFavorites()
{
    TFavoritesTransfer::ExportFavorites(m_window, m_folder, m_window->Services());
}

void MainFavorites::MarkNotCurrent()
{
    m_menu->MarkNotCurrent();
    m_idleRebuild->start();
    emit favoritesChanged();
}

void MainFavorites::OpenFavorite(const QString& target)
{
    if (m_window->Options())
        Launcher().open(target, m_window->Options()->FavoritesNewWin());
}

void MainFavorites::OptionsChanged()
{
    ReadMenuSettings();
    MarkNotCurrent();
    const TQWOptions* options = m_window->Options();
    m_linksBar->ShowOpenAllFavorites = options->ShowOpenAllFavorites();
    if (m_linksBar->ShowIcons() != options->UseCustomIcons())
        m_linksBar->SetShowIcons(options->UseCustomIcons());
    else
        m_linksBar->Reload();
}

int MainFavorites::RowsPerColumn(int screenHeight, int itemHeight)
{
    return std::max(1, screenHeight / std::max(1, itemHeight) - 6);
}

void MainFavorites::ReadMenuSettings()
{
    const TQWOptions* options = m_window->Options();
    if (!options)
        return;
    FavoritesMenuSettings& settings = m_menu->Settings;
    settings.ShowOpenAllFavorites = options->ShowOpenAllFavorites();
    settings.BreakFavorites = options->BreakFavorites();
    settings.UseCustomIcons = options->UseCustomIcons();
    QMenu sample;
    QAction* row = sample.addAction(QStringLiteral("X"));
    const QScreen* screen = m_menu->Popup()->screen();
    settings.RowsPerColumn = RowsPerColumn(screen ? screen->geometry().height() : 0,
                                           sample.actionGeometry(row).height());
}

void MainFavorites::RebuildSlice()
{
    if (m_menu->RebuildSlice(SliceMs))
        m_idleRebuild->stop();
}

void MainFavorites::CreateLinksBar()
{
    TQWOptions* options = m_window->Options();
    m_linksBar = new TLinksBar(m_window, options->UseCustomIcons(), m_window->Services());
    m_linksBar->ShowOpenAllFavorites = options->ShowOpenAllFavorites();
    const QString folder = FavoritesFolders::linksFolder(*options->Store());
    m_linksBar->SetFolder(folder);
    m_linksBar->Reload();
    m_window->Bars()->AddLinksBand(m_linksBar);
    connect(m_linksBar, &TLinksBar::OnLinkClick, this,
            [this](const QString& target)
            {
                if (m_window->Options())
                    Launcher().open(target, m_window->Options()->LinksNewWin());
            });
    connect(m_linksBar, &TLinksBar::openAllChosen, this,
            [this](const QStringList& targets) { Launcher().openAll(targets); });
    connect(m_linksBar, &TLinksBar::OnCustomize, this, &MainFavorites::OrganizeLinks);
    WatchLinksFolder(folder);
    // The Links folder lives inside Favorites, so a Links folder made,
    // removed or renamed while the program runs is a change of that tree.
    connect(m_favoritesMonitor, &TFolderMonitor::changed, this, &MainFavorites::FollowLinksFolder);
}

void MainFavorites::WatchLinksFolder(const QString& folder)
{
    delete m_linksMonitor;
    if (folder.isEmpty())
        return;
    m_linksMonitor = new TFolderMonitor(folder, this);
    connect(m_linksMonitor, &TFolderMonitor::changed, this, &MainFavorites::LinksFolderChanged);
    m_linksMonitor->setActive(true);
}

void MainFavorites::FollowLinksFolder()
{
    const QString folder = FavoritesFolders::linksFolder(*m_window->Options()->Store());
    if (folder == m_linksBar->Folder())
        return;
    m_linksBar->SetFolder(folder);
    m_linksBar->Reload();
    WatchLinksFolder(folder);
}

void MainFavorites::LinksFolderChanged()
{
    m_linksBar->Reload();
}

void MainFavorites::OrganizeLinks()
{
    MainShell::ExploreFolder(m_linksBar->Folder());
}

FavoriteLauncher MainFavorites::Launcher()
{
    TfrmMain* window = m_window;
    TTabSet* tabs = window->TabSet();
    // With tabs that load when shown, open all leaves every page waiting
    // in tabs placed as New would place them, and brings the last to the
    // front, which alone loads.
    const bool wait = tabs->LoadTabsOnShow();
    auto last = std::make_shared<QPointer<TBrowserTab>>();
    return FavoriteLauncher({
        [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); },
        [window](const QString& address, bool newTab)
        { window->Address()->OpenAddress(address, newTab); },
        [window]
        {
            const TBrowserTab* tab = window->GetActivePage();
            return tab && tab->GetLocationURL() == QStringLiteral("about:blank") && !tab->Busy;
        },
        [window, tabs, wait, last](const QString& address)
        {
            TBrowserTab* tab = window->GetActivePage();
            if (!tab)
                return;
            if (!wait)
            {
                tab->NavigateTo(address);
                return;
            }
            *last = tab;
            tabs->LoadWhenShown(tab, address);
        },
        [tabs, wait, last](const QString& address)
        {
            if (wait)
                *last = tabs->AddUnloadedTab(*last ? last->data() : tabs->GetActivePage(), address);
            else if (TBrowserTab* tab = tabs->AddTab())
                tab->NavigateTo(address);
        },
        [tabs, last]
        {
            if (*last)
                tabs->ActivateTab(*last);
            tabs->LoadActiveTab();
        },
    });
}

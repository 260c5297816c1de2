#include "core/window/TMainMenu.h"

#include "chrome/MenuPlaceholders.h"
#include "components/TMenuBand.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TPopupCapture.h"
#include "core/tabs/TTabSet.h"

#include <QActionGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>

#include <QMimeData>
#include <QToolButton>
#include <QWidget>
#include <utility>

namespace
{
// Drops a separator that would stand first, last or next to another one:
// items left out of the tree must not leave empty groups behind.
void tidySeparators(QMenu* menu)
{
    QAction* previous = nullptr;
    for (QAction* action : menu->actions())
    {
        if (action->isSeparator() && (!previous || previous->isSeparator()))
        {
            menu->removeAction(action);
            delete action;
            continue;
        }
        previous = action;
    }
    if (previous && previous->isSeparator())
    {
        menu->removeAction(previous);
        delete previous;
    }
}
} // namespace

TMainMenu::TMainMenu(QWidget* window, std::function<bool(MainCommand)> available)
    : QObject(window), m_window(window), m_available(std::move(available))
{
    tbMenu = new TMenuBand(window);
    tbMenu->setObjectName(QStringLiteral("tbMenu"));

    BuildFile();
    BuildEdit();
    BuildView();
    pmFavorites = NewMenu(QStringLiteral("pmFavorites"));
    BuildVostelGroups();
    BuildTools();
    pmTabs = NewMenu(QStringLiteral("pmTabs"));
    pmSecurity = NewMenu(QStringLiteral("pmSecurity"));
    BuildHelp();

    struct Button
    {
        const char* name;
        const char* caption;
        QMenu* menu;
        MainCommand drop;
        bool lends;
    };
    const Button buttons[] = {
        {"tbMenuFile", "__MenuFile", pmFile, MainCommand::DropFileMenu, true},
        {"tbMenuEdit", "__MenuEdit", pmEdit, MainCommand::DropEditMenu, true},
        {"tbMenuView", "__MenuView", pmView, MainCommand::DropViewMenu, true},
        {"tbMenuFavorites", "__MenuFavorites", pmFavorites, MainCommand::DropFavoritesMenu, true},
        {"tbMenuVostelGroups", "__MenuVostelGroups", pmVostelGroupsPopup,
         MainCommand::DropVostelGroupsMenu, true},
        {"tbMenuTools", "__MenuTools", pmTools, MainCommand::DropToolsMenu, true},
        {"tbMenuTabs", "__MenuTabs", pmTabs, MainCommand::DropTabsMenu, false},
        {"tbMenuSecurity", "__MenuSecurity", pmSecurity, MainCommand::DropSecurityMenu, true},
        {"tbMenuHelp", "__MenuHelp", pmHelp, MainCommand::DropHelpMenu, true},
    };
    for (const Button& b : buttons)
    {
        // The tab list and the Favorites are filled when they open, the
        // Security menu by the window's zones.
        if (b.menu->isEmpty() && b.menu != pmTabs && b.menu != pmFavorites && b.menu != pmSecurity)
            continue;
        QToolButton* button = tbMenu->AddMenuButton(
            QString::fromLatin1(b.name), QString::fromLatin1(b.caption), b.menu, b.lends);
        m_dropButtons.insert(b.drop, button);
    }

    BuildCloseAllMenu();
    BuildTabMenu();
}

bool TMainMenu::Available(MainCommand command) const
{
    return !m_available || m_available(command);
}

QMenu* TMainMenu::NewMenu(const QString& name)
{
    auto* menu = new QMenu(m_window);
    menu->setObjectName(name);
    return menu;
}

QAction* TMainMenu::AddPlain(QMenu* menu, const QString& name, const QString& captionKey,
                             const QKeySequence& shortcut)
{
    auto* action = new QAction(menu);
    action->setObjectName(name);
    SetItemPlaceholders(action, captionKey);
    if (!shortcut.isEmpty())
    {
        action->setShortcut(shortcut);
        // Shown here and live while the menu is open; elsewhere the key
        // filter has the keys, so a key never runs two commands.
        action->setShortcutContext(Qt::WidgetShortcut);
    }
    menu->addAction(action);
    return action;
}

QAction* TMainMenu::AddItem(QMenu* menu, const QString& name, const QString& captionKey,
                            MainCommand command, const QKeySequence& shortcut)
{
    if (!Available(command))
        return nullptr;
    QAction* action = AddPlain(menu, name, captionKey, shortcut);
    connect(action, &QAction::triggered, this, [this, command] { emit this->command(command); });
    return action;
}

QMenu* TMainMenu::AddSubmenu(QMenu* menu, const QString& name, const QString& captionKey)
{
    QMenu* submenu = NewMenu(name + QStringLiteral("Menu"));
    submenu->setParent(menu, submenu->windowFlags());
    QAction* entry = menu->addMenu(submenu);
    entry->setObjectName(name);
    SetItemPlaceholders(entry, captionKey);
    return submenu;
}

bool TMainMenu::HoldsText(const QMimeData* data)
{
    return data && data->hasText() && !data->text().trimmed().isEmpty();
}

void TMainMenu::BuildFile()
{
    pmFile = NewMenu(QStringLiteral("pmFile"));
    QMenu* pmFileNew =
        AddSubmenu(pmFile, QStringLiteral("pmFileNew"), QStringLiteral("__MenuFileNew"));
    AddNewItems(pmFileNew, QStringLiteral("pmFileNew"));
    // The tool bar's New button drops the same four items.
    pmNew = NewMenu(QStringLiteral("pmNew"));
    AddNewItems(pmNew, QStringLiteral("pmNew"));
    AddItem(pmFile, QStringLiteral("pmFileOpen"), QStringLiteral("__MenuFileOpen"),
            MainCommand::OpenDialog, QKeySequence(Qt::CTRL | Qt::Key_O));
    AddItem(pmFile, QStringLiteral("pmFileClose"), QStringLiteral("__MenuFileClose"),
            MainCommand::CloseTab, QKeySequence(Qt::CTRL | Qt::Key_W));
    QMenu* closeAll =
        AddSubmenu(pmFile, QStringLiteral("pmFileCloseAll"), QStringLiteral("__MenuFileCloseAll"));
    QAction* all = AddItem(closeAll, QStringLiteral("pmFileCloseAllCloseAll"),
                           QStringLiteral("__MenuFileCloseAllCloseAll"), MainCommand::CloseAll,
                           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W));
    closeAll->setDefaultAction(all);
    AddItem(closeAll, QStringLiteral("pmFileCloseAllKeepCurrent"),
            QStringLiteral("__MenuFileCloseAllKeepCurrent"), MainCommand::CloseAllKeepCurrent, {});
    AddItem(closeAll, QStringLiteral("pmFileCloseAllShowList"),
            QStringLiteral("__MenuFileCloseAllShowList"), MainCommand::CloseAllShowList, {});
    AddItem(pmFile, QStringLiteral("pmFileSaveAs"), QStringLiteral("__MenuFileSaveAs"),
            MainCommand::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    pmFile->addSeparator();
    AddItem(pmFile, QStringLiteral("pmFilePageSetup"), QStringLiteral("__MenuFilePageSetup"),
            MainCommand::PageSetup, {});
    AddItem(pmFile, QStringLiteral("pmFilePrint"), QStringLiteral("__MenuFilePrint"),
            MainCommand::Print, {});
    AddItem(pmFile, QStringLiteral("pmFilePrintPreview"), QStringLiteral("__MenuFilePrintPreview"),
            MainCommand::PrintPreview, {});
    pmFile->addSeparator();
    AddItem(pmFile, QStringLiteral("mnuFileSendLink"), QStringLiteral("__MenuFileSendLink"),
            MainCommand::SendLink, {});
    AddItem(pmFile, QStringLiteral("mnuFileSendPage"), QStringLiteral("__MenuFileSendPage"),
            MainCommand::SendPage, {});
    pmFile->addSeparator();
    AddItem(pmFile, QStringLiteral("mnuProperties"), QStringLiteral("__MenuFileProperties"),
            MainCommand::Properties, {});
    pmWorkOffline = AddItem(pmFile, QStringLiteral("pmWorkOffline"),
                            QStringLiteral("__MenuFileWorkOffline"), MainCommand::WorkOffline, {});
    if (pmWorkOffline)
        pmWorkOffline->setCheckable(true);
    AddItem(pmFile, QStringLiteral("mnuExit"), QStringLiteral("__MenuFileExit"), MainCommand::Exit,
            {});
    tidySeparators(pmFile);
}

void TMainMenu::AddNewItems(QMenu* menu, const QString& prefix)
{
    AddItem(menu, prefix + QStringLiteral("Current"), QStringLiteral("__MenuFileNewCurrent"),
            MainCommand::NewCurrentTab, {});
    AddItem(menu, prefix + QStringLiteral("Home"), QStringLiteral("__MenuFileNewHome"),
            MainCommand::NewHomeTab, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H));
    AddItem(menu, prefix + QStringLiteral("Blank"), QStringLiteral("__MenuFileNewBlank"),
            MainCommand::NewTab, {});
    QAction* clipboard =
        AddItem(menu, prefix + QStringLiteral("Clipboard"),
                QStringLiteral("__MenuFileNewClipboard"), MainCommand::NewClipboardTab, {});
    if (!clipboard)
        return;
    connect(menu, &QMenu::aboutToShow, this,
            [clipboard]
            { clipboard->setEnabled(HoldsText(QGuiApplication::clipboard()->mimeData())); });
}

void TMainMenu::BuildEdit()
{
    pmEdit = NewMenu(QStringLiteral("pmEdit"));
    AddItem(pmEdit, QStringLiteral("pmEditCut"), QStringLiteral("__MenuEditCut"), MainCommand::Cut,
            QKeySequence(Qt::CTRL | Qt::Key_X));
    AddItem(pmEdit, QStringLiteral("pmEditCopy"), QStringLiteral("__MenuEditCopy"),
            MainCommand::Copy, QKeySequence(Qt::CTRL | Qt::Key_C));
    AddItem(pmEdit, QStringLiteral("pmEditPaste"), QStringLiteral("__MenuEditPaste"),
            MainCommand::Paste, QKeySequence(Qt::CTRL | Qt::Key_V));
    pmEdit->addSeparator();
    AddItem(pmEdit, QStringLiteral("pmEditSelectAll"), QStringLiteral("__MenuEditSelectAll"),
            MainCommand::SelectAll, QKeySequence(Qt::CTRL | Qt::Key_A));
    pmEdit->addSeparator();
    AddItem(pmEdit, QStringLiteral("pmEditFind"), QStringLiteral("__MenuEditFind"),
            MainCommand::Find, QKeySequence(Qt::CTRL | Qt::Key_F));
    tidySeparators(pmEdit);
}

void TMainMenu::BuildView()
{
    pmView = NewMenu(QStringLiteral("pmView"));
    pmViewVostelBar =
        AddItem(pmView, QStringLiteral("pmViewVostelBar"), QStringLiteral("__MenuViewVostelBar"),
                MainCommand::ToggleSideBar, QKeySequence(Qt::Key_F4));
    // The bars' items show and hide what is there now.
    pmViewStatusBar = AddPlain(pmView, QStringLiteral("pmViewStatusBar"),
                               QStringLiteral("__MenuViewStatusBar"), {});
    pmViewStatusBar->setCheckable(true);
    pmViewAddressBar = AddPlain(pmView, QStringLiteral("pmViewAddressBar"),
                                QStringLiteral("__MenuViewAddressBar"), {});
    pmViewAddressBar->setCheckable(true);
    pmViewToolbar =
        AddPlain(pmView, QStringLiteral("pmViewToolbar"), QStringLiteral("__MenuViewToolbar"), {});
    pmViewToolbar->setCheckable(true);
    // Offered only in full screen, where the menu band may be hidden.
    pmViewMenuBar =
        AddPlain(pmView, QStringLiteral("pmViewMenuBar"), QStringLiteral("__MenuViewMenuBar"), {});
    pmViewMenuBar->setCheckable(true);
    pmViewMenuBar->setChecked(true);
    pmViewMenuBar->setVisible(false);
    pmViewLinksBar = AddPlain(pmView, QStringLiteral("pmViewLinksBar"),
                              QStringLiteral("__MenuViewLinksBar"), {});
    pmViewLinksBar->setCheckable(true);
    pmView->addSeparator();

    QMenu* go = AddSubmenu(pmView, QStringLiteral("pmMenuGo"), QStringLiteral("__MenuGo"));
    AddItem(go, QStringLiteral("pmMenuGoBack"), QStringLiteral("__MenuGoBack"), MainCommand::Back,
            QKeySequence(Qt::ALT | Qt::Key_Left));
    AddItem(go, QStringLiteral("pmMenuGoForward"), QStringLiteral("__MenuGoForward"),
            MainCommand::Forward, QKeySequence(Qt::ALT | Qt::Key_Right));
    go->addSeparator();
    AddItem(go, QStringLiteral("pmMenuGoHome"), QStringLiteral("__MenuGoHome"), MainCommand::Home,
            QKeySequence(Qt::ALT | Qt::Key_Home));
    AddItem(go, QStringLiteral("pmMenuGoSearch"), QStringLiteral("__MenuGoSearch"),
            MainCommand::SideBarSearch, {});
    go->addSeparator();
    AddItem(go, QStringLiteral("pmMenuGoPrevious"), QStringLiteral("__MenuGoPrevious"),
            MainCommand::PreviousTab, QKeySequence(Qt::Key_F2));
    AddItem(go, QStringLiteral("pmMenuGoNext"), QStringLiteral("__MenuGoNext"),
            MainCommand::NextTab, QKeySequence(Qt::Key_F3));
    tidySeparators(go);

    AddItem(pmView, QStringLiteral("pmViewStop"), QStringLiteral("__MenuViewStop"),
            MainCommand::Stop, QKeySequence(Qt::Key_Escape));
    AddItem(pmView, QStringLiteral("pmStopAll"), QStringLiteral("__MenuViewStopAll"),
            MainCommand::StopAll, QKeySequence(Qt::SHIFT | Qt::Key_Escape));
    AddItem(pmView, QStringLiteral("pmViewRefresh"), QStringLiteral("__MenuViewRefresh"),
            MainCommand::Refresh, QKeySequence(Qt::Key_F5));
    AddItem(pmView, QStringLiteral("pmRefreshAll"), QStringLiteral("__MenuViewRefreshAll"),
            MainCommand::RefreshAll, QKeySequence(Qt::SHIFT | Qt::Key_F5));

    QMenu* autoRefresh = AddSubmenu(pmView, QStringLiteral("pmAutoRefresh"),
                                    QStringLiteral("__MenuViewAutoRefresh"));
    m_autoRefreshGroup = new QActionGroup(autoRefresh);
    m_autoRefreshGroup->setExclusive(true);
    const QStringList suffixes = {QStringLiteral("None"), QStringLiteral("15"),
                                  QStringLiteral("30"),   QStringLiteral("60"),
                                  QStringLiteral("120"),  QStringLiteral("300")};
    const QStringList names = {QStringLiteral("pmARefNo"),  QStringLiteral("pmARef15"),
                               QStringLiteral("pmARef30"),  QStringLiteral("pmARef60"),
                               QStringLiteral("pmARef120"), QStringLiteral("pmARef300")};
    const QList<int>& intervals = TTabSet::AutoRefreshIntervals();
    for (int i = 0; i < intervals.size() && i < names.size(); ++i)
    {
        QAction* item = AddPlain(autoRefresh, names.at(i),
                                 QStringLiteral("__MenuViewAutoRefresh") + suffixes.at(i), {});
        item->setCheckable(true);
        item->setData(intervals.at(i));
        item->setActionGroup(m_autoRefreshGroup);
        const int interval = intervals.at(i);
        connect(item, &QAction::triggered, this,
                [this, interval] { emit autoRefreshChosen(interval); });
        m_autoRefreshItems.append(item);
    }
    CheckAutoRefresh(0);
    pmView->addSeparator();

    pmMenuViewLanguages = AddSubmenu(pmView, QStringLiteral("pmMenuViewLanguagesItem"),
                                     QStringLiteral("__MenuViewLanguages"));
    pmMenuViewLanguages->setObjectName(QStringLiteral("pmMenuViewLanguages"));
    pmView->addSeparator();
    AddItem(pmView, QStringLiteral("pmViewSource"), QStringLiteral("__MenuViewSource"),
            MainCommand::ViewSource, {});
    pmView->addSeparator();
    pmFullScreen =
        AddItem(pmView, QStringLiteral("pmFullScreen"), QStringLiteral("__MenuViewFullscreen"),
                MainCommand::FullScreen, QKeySequence(Qt::Key_F11));
    if (pmFullScreen)
        pmFullScreen->setCheckable(true);
    tidySeparators(pmView);
}

void TMainMenu::InsertFontSizeMenu(QMenu* fontSize)
{
    // Between auto refresh and the languages, in a group of its own.
    QAction* languages = pmMenuViewLanguages->menuAction();
    pmView->insertMenu(languages, fontSize);
    pmView->insertSeparator(languages);
}

void TMainMenu::BuildTools()
{
    pmTools = NewMenu(QStringLiteral("pmTools"));
    AddItem(pmTools, QStringLiteral("mnuToolsExportFavorites"),
            QStringLiteral("__MenuToolsExportFavorites"), MainCommand::ExportFavorites, {});
    AddItem(pmTools, QStringLiteral("mnuToolsImportBookmarks"),
            QStringLiteral("__MenuToolsImportBookmarks"), MainCommand::ImportBookmarks, {});
    pmTools->addSeparator();
    AddItem(pmTools, QStringLiteral("MailRead1"), QStringLiteral("__MenuToolsReadMail"),
            MainCommand::ReadMail, {});
    AddItem(pmTools, QStringLiteral("MailReadNews1"), QStringLiteral("__MenuToolsReadNews"),
            MainCommand::ReadNews, {});
    pmTools->addSeparator();
    for (const auto& [name, command] :
         {std::pair{"LoadImages", MainCommand::ToggleLoadImages},
          std::pair{"LoadVideos", MainCommand::ToggleLoadVideos},
          std::pair{"LoadSounds", MainCommand::ToggleLoadSounds},
          std::pair{"LoadAnimations", MainCommand::ToggleLoadAnimations}})
    {
        QAction* item = AddItem(pmTools, QStringLiteral("pmOptions") + QLatin1String(name),
                                QStringLiteral("__MenuOptions") + QLatin1String(name), command, {});
        if (item)
            item->setCheckable(true);
        m_contentSwitchItems.append(item);
    }
    pmTools->addSeparator();
    mnuToolsClearAddressHistory = AddPlain(pmTools, QStringLiteral("mnuToolsClearAddressHistory"),
                                           QStringLiteral("__MenuToolsClearAddresses"), {});
    pmOptionsQuickSearch = AddPlain(pmTools, QStringLiteral("pmOptionsQuickSearch"),
                                    QStringLiteral("__MenuOptionsQuickSearch"), {});
    AddItem(pmTools, QStringLiteral("mnuToolsOrganizeSearchEngines"),
            QStringLiteral("__MenuToolsOrganizeSearchEngines"), MainCommand::OrganizeSearchEngines,
            {});
    AddItem(pmTools, QStringLiteral("mnuToolsOrganizeSearchBar"),
            QStringLiteral("__MenuToolsOrganizeSearchBar"), MainCommand::OrganizeSearchBar, {});
    pmTools->addSeparator();
    AddItem(pmTools, QStringLiteral("pmOptionsQuillwave"), QStringLiteral("__MenuOptionsQuillwave"),
            MainCommand::Options, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_O));
    pmTools->addSeparator();
    AddItem(pmTools, QStringLiteral("mnuToolsDownloads"), QStringLiteral("__MenuToolsDownloads"),
            MainCommand::Downloads, QKeySequence(Qt::CTRL | Qt::Key_J));
    pmTools->addSeparator();
    AddItem(pmTools, QStringLiteral("pmOptionsEngine"), QStringLiteral("__MenuOptionsEngine"),
            MainCommand::InternetOptions, {});
    tidySeparators(pmTools);
}

void TMainMenu::BuildVostelGroups()
{
    pmVostelGroupsPopup = NewMenu(QStringLiteral("pmVostelGroupsPopup"));
    AddItem(pmVostelGroupsPopup, QStringLiteral("pmAddToVostelGroup"),
            QStringLiteral("__MenuVostelGroupsAdd"), MainCommand::AddToVostelGroup,
            QKeySequence(Qt::Key_F6));
    AddItem(pmVostelGroupsPopup, QStringLiteral("pmKoncoGroupSaveAs2"),
            QStringLiteral("__MenuVostelGroupsSaveAs"), MainCommand::SaveTabsAsVostelGroup,
            QKeySequence(Qt::Key_F7));
    AddItem(pmVostelGroupsPopup, QStringLiteral("pmKoncoGroupsOrganize2"),
            QStringLiteral("__MenuVostelGroupsOrganize"), MainCommand::OrganizeVostelGroups, {});
    pmVostelGroupsPopup->addSeparator();
}

void TMainMenu::BuildHelp()
{
    pmHelp = NewMenu(QStringLiteral("pmHelp"));
    AddItem(pmHelp, QStringLiteral("pmHelpTopics"), QStringLiteral("__MenuHelpTopics"),
            MainCommand::HelpTopics, QKeySequence(Qt::Key_F1));
    AddItem(pmHelp, QStringLiteral("pmHelpSupport"), QStringLiteral("__MenuHelpSupport"),
            MainCommand::HelpSupport, {});
    pmHelp->addSeparator();
    AddItem(pmHelp, QStringLiteral("pmHelpAbout"), QStringLiteral("__MenuHelpAbout"),
            MainCommand::About, {});
    tidySeparators(pmHelp);
}

void TMainMenu::BuildCloseAllMenu()
{
    pmCloseAll = NewMenu(QStringLiteral("pmCloseAll"));
    // The default item closes the tab in front only, as the close button's
    // plain click on its neighbour does; the whole set is one item further.
    QAction* current = AddItem(pmCloseAll, QStringLiteral("pmCloseAllCloseAll"),
                               QStringLiteral("__TabCloseAll"), MainCommand::CloseTab, {});
    pmCloseAll->setDefaultAction(current);
    AddItem(pmCloseAll, QStringLiteral("pmCloseAllKeepCurrent"),
            QStringLiteral("__TabCloseAllKeepCurrent"), MainCommand::CloseAllKeepCurrent, {});
    AddItem(pmCloseAll, QStringLiteral("pmCloseAllShowList"),
            QStringLiteral("__TabCloseAllShowList"), MainCommand::CloseAllShowList, {});
}

void TMainMenu::BuildTabMenu()
{
    pmTab = NewMenu(QStringLiteral("pmTab"));
    pmTabLocked = AddPlain(pmTab, QStringLiteral("pmTabLocked"), QStringLiteral("__MenuTabLocked"),
                           QKeySequence(Qt::Key_F12));
    pmTabLocked->setCheckable(true);
    connect(pmTabLocked, &QAction::triggered, this,
            [this](bool checked)
            {
                if (m_tabSet)
                    m_tabSet->pmTabLockedClick(checked);
            });
    pmStickyTitle = AddPlain(pmTab, QStringLiteral("pmStickyTitle"),
                             QStringLiteral("__MenuTabStickyTitle"), QKeySequence(Qt::Key_F9));
    connect(pmStickyTitle, &QAction::triggered, this,
            [this]
            {
                if (m_tabSet)
                    m_tabSet->pmTabStickyNameClick();
            });
    pmTab->addSeparator();
    QMenu* addTo =
        AddSubmenu(pmTab, QStringLiteral("pmTabAddTo"), QStringLiteral("__MenuTabAddTo"));
    QAction* toFavorites = AddPlain(addTo, QStringLiteral("pmTabAddToFavorites"),
                                    QStringLiteral("__MenuTabAddToFavorites"), {});
    connect(toFavorites, &QAction::triggered, this, &TMainMenu::tabAddToFavoritesChosen);
    QAction* toGroup = AddPlain(addTo, QStringLiteral("pmTabAddToVostelGroup"),
                                QStringLiteral("__MenuTabAddToVostelGroup"), {});
    connect(toGroup, &QAction::triggered, this, &TMainMenu::tabAddToVostelGroupChosen);
    QAction* popup =
        AddPlain(addTo, QStringLiteral("pmAddToPopupVostel"),
                 QStringLiteral("__MenuTabAddToPopupVostel"), QKeySequence(Qt::Key_F8));
    connect(popup, &QAction::triggered, this,
            [this]
            {
                if (m_tabSet && m_popupCapture)
                    m_popupCapture->AddToPopupList(m_tabSet->GetPopupTab());
            });
    pmTab->addSeparator();
    QAction* stop = AddPlain(pmTab, QStringLiteral("pmTabStop"), QStringLiteral("__MenuTabStop"),
                             QKeySequence(Qt::Key_Escape));
    connect(stop, &QAction::triggered, this,
            [this]
            {
                if (m_tabSet)
                    m_tabSet->pmTabStopClick();
            });
    QAction* refresh = AddPlain(pmTab, QStringLiteral("pmTabRefresh"),
                                QStringLiteral("__MenuTabRefresh"), QKeySequence(Qt::Key_F5));
    connect(refresh, &QAction::triggered, this,
            [this]
            {
                if (m_tabSet)
                    m_tabSet->pmTabRefreshClick();
            });
    pmTabHome = AddPlain(pmTab, QStringLiteral("pmTabHome"), QStringLiteral("__MenuTabHome"),
                         QKeySequence(Qt::SHIFT | Qt::Key_Home));
    connect(pmTabHome, &QAction::triggered, this,
            [this]
            {
                if (m_tabSet)
                    m_tabSet->pmTabHomeClick();
            });
    pmTab->addSeparator();
    pmHideFromCloseAll = AddPlain(pmTab, QStringLiteral("pmHideFromCloseAll"),
                                  QStringLiteral("__MenuTabHideFromCloseAll"), {});
    pmHideFromCloseAll->setCheckable(true);
    connect(pmHideFromCloseAll, &QAction::triggered, this,
            [this](bool checked)
            {
                if (m_tabSet)
                    m_tabSet->pmHideFromCloseAllClick(checked);
            });
    QMenu* closeAll =
        AddSubmenu(pmTab, QStringLiteral("pmTabCloseAll"), QStringLiteral("__MenuTabCloseAll"));
    QAction* all = AddItem(closeAll, QStringLiteral("pmTabCloseAllDefault"),
                           QStringLiteral("__MenuTabCloseAllDefault"), MainCommand::CloseAll, {});
    closeAll->setDefaultAction(all);
    // Like every item of this menu it acts on the tab under the mouse.
    QAction* allButThis = AddPlain(closeAll, QStringLiteral("pmTabCloseAllKeepCurrent"),
                                   QStringLiteral("__MenuTabCloseAllKeepCurrent"), QKeySequence());
    connect(allButThis, &QAction::triggered, this,
            [this]
            {
                if (m_tabSet)
                    m_tabSet->pmTabCloseAllKeepCurrentClick();
            });
    AddItem(closeAll, QStringLiteral("pmTabCloseAllShowList"),
            QStringLiteral("__MenuTabCloseAllShowList"), MainCommand::CloseAllShowList, {});
    QAction* close = AddPlain(pmTab, QStringLiteral("pmTabClose"), QStringLiteral("__MenuTabClose"),
                              QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(close, &QAction::triggered, this,
            [this]
            {
                if (m_tabSet)
                    m_tabSet->pmTabCloseClick();
            });
    connect(pmTab, &QMenu::aboutToShow, this, &TMainMenu::UpdateTabMenu);
}

void TMainMenu::UpdateTabMenu()
{
    if (!m_tabSet)
        return;
    const TTabSet::TabMenuState state = m_tabSet->pmTabPopupPopup();
    for (QAction* action : pmTab->actions())
        action->setEnabled(state.hasTab);
    pmTabLocked->setChecked(state.locked);
    pmHideFromCloseAll->setChecked(state.hideFromCloseAll);
    pmStickyTitle->setText(state.stickyNameCaption);
    pmTabHome->setEnabled(state.hasTab && state.tabHomeEnabled);
}

void TMainMenu::AttachTabSet(TTabSet* tabSet, TPopupCapture* popupCapture)
{
    m_tabSet = tabSet;
    m_popupCapture = popupCapture;
    connect(pmTabs, &QMenu::aboutToShow, this,
            [this]
            {
                if (m_tabSet)
                    m_tabSet->FillTabsMenu(pmTabs);
            });
}

void TMainMenu::CheckAutoRefresh(int interval)
{
    const int item = TTabSet::AutoRefreshItemFor(interval);
    for (QAction* action : m_autoRefreshItems)
        action->setChecked(action->data().toInt() == item);
}

QToolButton* TMainMenu::MenuButton(MainCommand dropCommand) const
{
    return m_dropButtons.value(dropCommand, nullptr);
}

bool TMainMenu::DropMenu(MainCommand command)
{
    QToolButton* button = MenuButton(command);
    if (!button)
        return false;
    tbMenu->DropMenu(button);
    return true;
}

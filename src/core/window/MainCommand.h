#pragma once

#include <QHashFunctions>
#include <QMetaType>

// The commands the main window carries out for its menus, its context menus
// and the keyboard. Menu items and key strokes name a command; the window
// alone knows how to run it, so the two can never disagree.
enum class MainCommand
{
    None,
    // Tabs
    NewTab, // what New opens per the NewAction setting
    NewHomeTab,
    NewCurrentTab,
    NewClipboardTab,
    CloseTab,
    CloseAll,
    CloseAllKeepCurrent,
    CloseAllShowList,
    NextTab,
    PreviousTab,
    ShowTabsMenu,
    // The active tab
    Back,
    Forward,
    Home,
    Stop,
    StopAll,
    Refresh,
    RefreshBypassCache,
    RefreshAll,
    FollowNextLink,
    StickyTitle,
    ToggleLock,
    AddToPopupList,
    Properties,
    // The page's edit commands
    Cut,
    Copy,
    Paste,
    SelectAll,
    // The window
    FocusAddressBox,
    FlipOpenInForeground,
    WorkOffline,
    HelpTopics,
    HelpSupport,
    OrganizeSearchEngines,
    OrganizeSearchBar,
    Downloads,
    About,
    Exit,
    // Menus of the menu bar dropped from the keyboard
    DropFileMenu,
    DropEditMenu,
    DropViewMenu,
    DropFavoritesMenu,
    DropVostelGroupsMenu,
    DropToolsMenu,
    DropSecurityMenu,
    DropHelpMenu,
    DropTabsMenu,
    // Commands whose owners come with other parts of the window; the key
    // table already knows their keys.
    OrganizeFavorites,
    AddToFavorites,
    ImportBookmarks,
    ExportFavorites,
    FavoritesPane,
    SideBarSearch,
    SideBarVostelGroups,
    SideBarHistory,
    SideBarFavorites,
    ToggleSideBar,
    // The keyboard's Search and Favorites keys: the side bar on that page,
    // or away when it already shows it.
    ToggleSideBarSearch,
    ToggleSideBarFavorites,
    Find,
    ViewSource,
    OpenDialog,
    Print,
    SaveAs,
    AddToVostelGroup,
    SaveTabsAsVostelGroup,
    OrganizeVostelGroups,
    FullScreen,
    PartnerLink,
    // Commands of the toolbar's buttons.
    ReadMail,
    MediumFont,
    ToggleLoadImages,
    // The Tools menu's other content switches.
    ToggleLoadVideos,
    ToggleLoadSounds,
    ToggleLoadAnimations,
    // The options dialog.
    Options,
    // The page's print commands beside Print (which shows the print dialog).
    PrintWithoutDialog,
    PrintPreview,
    PageSetup,
    // The mail commands of the Mail button's menu, the File and Tools menus.
    ReadNews,
    NewMailMessage,
    SendLink,
    SendPage,
    // Tools > Browser Engine Settings.
    InternetOptions,
    // The most recently closed tab comes back.
    ReopenClosedTab
};

inline size_t qHash(MainCommand command, size_t seed = 0) noexcept
{
    return qHash(int(command), seed);
}

Q_DECLARE_METATYPE(MainCommand)

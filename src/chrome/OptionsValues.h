#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// Everything the options dialog shows and edits, as one value: read from the
// store and the running window when the dialog opens, handed back on OK. The
// dialog never touches the store itself, so it can be driven by a fake host.
struct OptionsValues
{
    // One row of the default-browser list: the class's display text and
    // whether the program is its registered handler.
    struct DefaultBrowserRow
    {
        QString ClassName;
        QString Text;
        bool Checked = false;
        bool operator==(const DefaultBrowserRow&) const = default;
    };

    enum NewTabSource
    {
        NewFromFavorites,
        NewFromHistory,
        NewFromSearch,
        NewFromLinks,
        NewFromAddress,
        NewFromQuickSearch,
        NewTabSourceCount
    };

    // General
    bool AllowMultiInstance = false;
    bool MinToTray = false;
    // Without a tray on the desktop the minimize-to-tray box is shown disabled.
    bool TrayAvailable = true;
    bool VBAutoExpand = false;
    bool DisableALTShortcuts = false;
    bool ToolbarShowColor = false;
    bool VersionCheck = true;
    bool LoadBHOs = false;

    // Browser tabs
    bool MultipleLines = false;
    bool TabsDown = false;
    bool OpenNewInForeground = false;
    bool VGCloseFirst = false;
    int LimitTitleLength = 0; // 0 = no limit, else 1..100
    bool OpenNewAtEnd = false;
    bool LoadTabsOnShow = false;

    // Tab colours: "std", "rev" or "custom"; the colours are the stored ones
    // whatever the scheme.
    QString TabColorScheme = QStringLiteral("rev");
    QColor InactiveTabColor = QColor(0xAA, 0xAA, 0xAA);
    QColor InactiveFontColor;

    // New tabs
    int NewAction = 0;
    std::array<bool, NewTabSourceCount> NewTabs{};

    // Start-up
    QString StartupMode = QStringLiteral("Home");
    QString StartupVostelGroup;

    // Address completion
    QString CtrlPre, CtrlPost, ShiftPre, ShiftPost, CtrlShiftPre, CtrlShiftPost;

    // Pop-up capture
    bool UsePopupVostel = false;
    QStringList PopupPatterns;

    // Address bar
    bool ShowGo = true;
    int AutoCompleteStyle = 2;

    // Confirmations
    bool ConfirmCloseAll = true;
    bool ConfirmShutdown = true;
    bool PopupVostelNotify = true;

    // Favorites
    bool BreakFavoritesShown = true;
    bool BreakFavorites = false;
    bool UseCustomIcons = false;
    bool ShowOpenAllFavorites = false;

    // Default browser
    bool AskDefaultBrowser = true;
    QList<DefaultBrowserRow> DefaultBrowserRows;

    bool operator==(const OptionsValues&) const = default;
};

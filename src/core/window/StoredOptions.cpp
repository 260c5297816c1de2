#include "core/window/StoredOptions.h"

#include "core/settings/TQWOptions.h"

namespace
{
template <typename Value, typename Param> struct Setting
{
    Value OptionsValues::*field;
    Value (TQWOptions::*get)() const;
    void (TQWOptions::*set)(Param);
};
using BooleanSetting = Setting<bool, bool>;
using StringSetting = Setting<QString, const QString&>;

#define QW_SETTING(name)                                                                           \
    {                                                                                              \
        &OptionsValues::name, &TQWOptions::name, &TQWOptions::Set##name                            \
    }

// The values that pass between the store and the dialog unchanged.
const BooleanSetting Booleans[] = {
    QW_SETTING(AllowMultiInstance),
    QW_SETTING(MinToTray),
    QW_SETTING(VBAutoExpand),
    QW_SETTING(DisableALTShortcuts),
    QW_SETTING(ToolbarShowColor),
    QW_SETTING(LoadBHOs),
    QW_SETTING(MultipleLines),
    QW_SETTING(TabsDown),
    QW_SETTING(OpenNewInForeground),
    QW_SETTING(VGCloseFirst),
    QW_SETTING(OpenNewAtEnd),
    QW_SETTING(LoadTabsOnShow),
    QW_SETTING(UsePopupVostel),
    QW_SETTING(ShowGo),
    QW_SETTING(ConfirmCloseAll),
    QW_SETTING(ConfirmShutdown),
    QW_SETTING(PopupVostelNotify),
    QW_SETTING(UseCustomIcons),
    QW_SETTING(ShowOpenAllFavorites),
    QW_SETTING(AskDefaultBrowser),
};

const StringSetting Strings[] = {
    QW_SETTING(TabColorScheme), QW_SETTING(StartupMode),  QW_SETTING(StartupVostelGroup),
    QW_SETTING(CtrlPre),        QW_SETTING(CtrlPost),     QW_SETTING(ShiftPre),
    QW_SETTING(ShiftPost),      QW_SETTING(CtrlShiftPre), QW_SETTING(CtrlShiftPost),
};

#undef QW_SETTING

// The settings behind the rows of the new-tab list, in row order.
struct NewTabSetting
{
    bool (TQWOptions::*get)() const;
    void (TQWOptions::*set)(bool);
};
const NewTabSetting NewTabSettings[OptionsValues::NewTabSourceCount] = {
    {&TQWOptions::FavoritesNewWin, &TQWOptions::SetFavoritesNewWin},
    {&TQWOptions::HistoryNewWin, &TQWOptions::SetHistoryNewWin},
    {&TQWOptions::SearchNewWin, &TQWOptions::SetSearchNewWin},
    {&TQWOptions::LinksNewWin, &TQWOptions::SetLinksNewWin},
    {&TQWOptions::AddressNewWin, &TQWOptions::SetAddressNewWin},
    {&TQWOptions::QuickSearchNewWin, &TQWOptions::SetQuickSearchNewWin},
};
} // namespace

OptionsValues StoredOptions::Read(const TQWOptions& options)
{
    OptionsValues values;
    for (const BooleanSetting& setting : Booleans)
        values.*setting.field = (options.*setting.get)();
    for (const StringSetting& setting : Strings)
        values.*setting.field = (options.*setting.get)();
    for (int row = 0; row < OptionsValues::NewTabSourceCount; ++row)
        values.NewTabs[row] = (options.*NewTabSettings[row].get)();

    values.VersionCheck = options.VersionCheck() != 0;
    values.LimitTitleLength = options.LimitTitleLength();
    values.InactiveTabColor = ColorFromStored(options.InactiveTabColor());
    values.InactiveFontColor = ColorFromStored(options.InactiveFontColor());
    values.NewAction = options.NewAction();
    values.PopupPatterns = options.ReadPopupVostel();
    values.AutoCompleteStyle = options.AutoCompleteStyle();
    values.BreakFavorites = options.BreakFavorites();
    return values;
}

void StoredOptions::Write(TQWOptions& options, const OptionsValues& after)
{
    for (const BooleanSetting& setting : Booleans)
        (options.*setting.set)(after.*setting.field);
    for (const StringSetting& setting : Strings)
        (options.*setting.set)(after.*setting.field);
    for (int row = 0; row < OptionsValues::NewTabSourceCount; ++row)
        (options.*NewTabSettings[row].set)(after.NewTabs[row]);

    options.SetVersionCheck(after.VersionCheck ? 1 : 0);
    options.SetLimitTitleLength(qBound(0, after.LimitTitleLength, MaxTitleLength));
    if (after.TabColorScheme == QLatin1String("custom"))
    {
        options.SetInactiveTabColor(StoredFromColor(after.InactiveTabColor));
        options.SetInactiveFontColor(StoredFromColor(after.InactiveFontColor));
    }
    options.SetNewAction(after.NewAction);
    options.WritePopupVostel(after.PopupPatterns);
    options.SetAutoCompleteStyle(after.AutoCompleteStyle);
    if (after.BreakFavoritesShown && after.BreakFavorites != options.BreakFavorites())
        options.SetBreakFavorites(after.BreakFavorites);
}

QColor StoredOptions::ColorFromStored(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int StoredOptions::StoredFromColor(const QColor& color)
{
    // A colour never chosen is the store's default, black.
    if (!color.isValid())
        return 0;
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

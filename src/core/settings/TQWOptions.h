#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class RegistryStore;

// Every single value of the program's value key, written once: the value's
// name (also the getter's name), how it is stored, its default, and which
// accessors exist. Kinds: Boolean ("0"/"1"), Integer (decimal text), String.
// Accessors: Plain (getter and setter), GetterOnly, CustomSetter (setter
// with a rule of its own), Custom (both by hand, below). Defaults named
// ScreenWidthLess40 / ScreenHeightLess40 depend on the primary screen.
#define QW_OPTION_TABLE(X)                                                                         \
    X(AllowMultiInstance, Boolean, false, Plain)                                                   \
    X(CommandLine, String, "", Plain)                                                              \
    X(StartupMode, String, "Home", Plain)                                                          \
    X(StartupVostelGroup, String, "", Plain)                                                       \
    X(StartupPage, String, "", Plain)                                                              \
    X(OpenNewAtEnd, Boolean, false, Plain)                                                         \
    X(OpenNewInForeground, Boolean, false, Plain)                                                  \
    X(NewAction, Integer, 2, CustomSetter)                                                         \
    X(MultipleLines, Boolean, false, Plain)                                                        \
    X(TabsDown, Boolean, true, Plain)                                                              \
    X(TabColorScheme, String, "custom", Plain)                                                     \
    X(InactiveTabColor, Integer, 0xAAAAAA, Plain)                                                  \
    X(InactiveFontColor, Integer, 0, Plain)                                                        \
    X(ConfirmCloseAll, Boolean, true, Plain)                                                       \
    X(ConfirmShutdown, Boolean, true, Plain)                                                       \
    X(AutoRefresh, Integer, 0, Plain)                                                              \
    X(SponsorCaption, String, "", GetterOnly)                                                      \
    X(Maximized, Boolean, false, Plain)                                                            \
    X(Left, Integer, 10, Plain)                                                                    \
    X(Top, Integer, 10, Plain)                                                                     \
    X(Width, Integer, ScreenWidthLess40, Plain)                                                    \
    X(Height, Integer, ScreenHeightLess40, Plain)                                                  \
    X(LimitTitleLength, Integer, 35, Plain)                                                        \
    X(LoadBHOs, Boolean, false, Plain)                                                             \
    X(UsePopupVostel, Boolean, true, Plain)                                                        \
    X(PopupVostelNotify, Boolean, true, Plain)                                                     \
    X(DisableALTShortcuts, Boolean, false, Plain)                                                  \
    X(AddressNewWin, Boolean, false, Plain)                                                        \
    X(ShowGo, Boolean, false, Plain)                                                               \
    X(AutoCompleteStyle, String, "IE5", Custom)                                                    \
    X(CtrlPre, String, "http://www.", Plain)                                                       \
    X(CtrlPost, String, ".com", Plain)                                                             \
    X(ShiftPre, String, "http://www.", Plain)                                                      \
    X(ShiftPost, String, ".net", Plain)                                                            \
    X(CtrlShiftPre, String, "http://www.", Plain)                                                  \
    X(CtrlShiftPost, String, ".org", Plain)                                                        \
    X(QuickSearchNewWin, Boolean, true, Plain)                                                     \
    X(SearchBar, String, "quillwave:searchbar", Plain)                                             \
    X(SearchNewWin, Boolean, true, Plain)                                                          \
    X(VGCloseFirst, Boolean, false, Plain)                                                         \
    X(FavoritesNewWin, Boolean, true, Plain)                                                       \
    X(LinksNewWin, Boolean, true, Plain)                                                           \
    X(BreakFavorites, Boolean, false, Plain)                                                       \
    X(ShowOpenAllFavorites, Boolean, true, Plain)                                                  \
    X(HistoryNewWin, Boolean, true, Plain)                                                         \
    X(FavoritesWidth, Integer, 250, Plain)                                                         \
    X(FavoritesHeight, Integer, 400, Plain)                                                        \
    X(ViewVostelBar, Boolean, false, Plain)                                                        \
    X(VostelBarWidth, Integer, 234, CustomSetter)                                                  \
    X(VBAutoExpand, Boolean, true, Plain)                                                          \
    X(LanguageFile, String, "qweng.ini", Plain)                                                    \
    X(ViewToolbar, Boolean, true, Plain)                                                           \
    X(ViewAddressBar, Boolean, true, Plain)                                                        \
    X(ViewLinksBar, Boolean, true, Plain)                                                          \
    X(ViewStatusBar, Boolean, true, Plain)                                                         \
    X(ToolbarShowColor, Boolean, false, Plain)                                                     \
    X(UseCustomIcons, Boolean, true, Plain)                                                        \
    X(MinToTray, Boolean, false, Plain)                                                            \
    X(FullScreen, Boolean, false, Plain)                                                           \
    X(FullscreenMenuBar, Boolean, false, Plain)                                                    \
    X(FullscreenStatusBar, Boolean, false, Plain)                                                  \
    X(AskDefaultBrowser, Boolean, true, Plain)                                                     \
    X(VersionCheck, Integer, 1, Plain)                                                             \
    X(VersionServer, String, "https://version.quillwave.invalid", Plain)                           \
    X(CheckedVersion, Integer, 145, Plain)                                                         \
    X(LastPong, Integer, 0, Plain)                                                                 \
    X(New, Boolean, false, Plain)                                                                  \
    X(LoadTabsOnShow, Boolean, false, Plain)

#define QW_OPTION_TYPE_Boolean bool
#define QW_OPTION_TYPE_Integer int
#define QW_OPTION_TYPE_String QString
#define QW_OPTION_PARAM_Boolean bool
#define QW_OPTION_PARAM_Integer int
#define QW_OPTION_PARAM_String const QString&
#define QW_OPTION_GETTER(name, kind) QW_OPTION_TYPE_##kind name() const;
#define QW_OPTION_SETTER(name, kind) void Set##name(QW_OPTION_PARAM_##kind value);
#define QW_OPTION_ACCESSORS_Plain(name, kind)                                                      \
    QW_OPTION_GETTER(name, kind) QW_OPTION_SETTER(name, kind)
#define QW_OPTION_ACCESSORS_GetterOnly(name, kind) QW_OPTION_GETTER(name, kind)
#define QW_OPTION_ACCESSORS_CustomSetter(name, kind) QW_OPTION_GETTER(name, kind)
#define QW_OPTION_ACCESSORS_Custom(name, kind)
#define QW_OPTION_DECLARE(name, kind, defaultValue, access) QW_OPTION_ACCESSORS_##access(name, kind)
#define QW_OPTION_ENUM(name, kind, defaultValue, access) name,

// The program's settings: a typed front over the value key of the settings
// store. Nothing is cached: every getter reads the store when it is called
// and every setter writes at once, so all instances (and other running
// copies) see the same values. A value stored with a non-string type makes
// its getter throw RegistryTypeError.
class TQWOptions
{
public:
    enum class Kind
    {
        Boolean,
        Integer,
        String
    };
    enum class Option
    {
        QW_OPTION_TABLE(QW_OPTION_ENUM) Count
    };

    // Uses store, or when null opens its own on the default database (for
    // short-lived instances). Creates the base key.
    explicit TQWOptions(RegistryStore* store = nullptr);
    ~TQWOptions();
    TQWOptions(const TQWOptions&) = delete;
    TQWOptions& operator=(const TQWOptions&) = delete;

    RegistryStore* Store() const { return store; }

    // Why values set in this run could not be saved (the store's words),
    // empty while every write has succeeded. Such values hold for the rest
    // of the run all the same.
    QString UnsavedReason() const;

    static QString Name(Option option);
    static Kind KindOf(Option option);
    // The default in its stored text form ("1", "35", "Home").
    static QString DefaultText(Option option);

    QW_OPTION_TABLE(QW_OPTION_DECLARE)

    // Stored as "IE4", "IE5" or "none"; read as 1, 2 or 0.
    int AutoCompleteStyle() const;
    void SetAutoCompleteStyle(int style);
    // Clamped to 0..2 when stored (the getter does not clamp).
    void SetNewAction(int action);
    // A negative width stores the default instead.
    void SetVostelBarWidth(int width);

    // Removes the value "QWID", which nothing writes any more.
    void DeleteQWID();

    // Any string value of the value key; missing reads as defaultValue.
    QString ReadString(const QString& name, const QString& defaultValue = QString()) const;
    void WriteString(const QString& name, const QString& value);

    // "name=data" lines of a sub-key of the value key in the store's order;
    // values with empty data give no line; a missing sub-key gives none.
    QStringList ReadListSection(const QString& subKey) const;
    // Replaces the sub-key by the given "name=data" lines in one transaction.
    // When names repeat, the first line of a name decides its data; lines
    // without "=" are skipped; no lines leave no sub-key.
    void WriteListSection(const QString& subKey, const QStringList& lines);

    // The pop-up pattern list: sorted and without duplicates (both without
    // regard to case), with "name=address" data cleaned to the address.
    QStringList ReadPopupVostel() const;
    void WritePopupVostel(const QStringList& entries);

    // Sub-key names of "Browser Helper Objects"; the key is not created.
    QStringList ReadBrowserHelperObjects() const;

private:
    bool readBoolean(Option option) const;
    int readInteger(Option option) const;
    QString readString(Option option) const;
    void writeBoolean(Option option, bool value);
    void writeInteger(Option option, int value);
    void writeString(Option option, const QString& value);
    std::optional<QString> storedText(const QString& key, const QString& name) const;
    QString listKey(const QString& subKey) const;

    std::unique_ptr<RegistryStore> ownStore;
    RegistryStore* store;
};

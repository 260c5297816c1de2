#pragma once

#include "core/engine/IBrowserControl.h"
#include "core/tabs/ITabHost.h"
#include "core/window/MainCommand.h"
#include "core/window/TAppCommandFilter.h"
#include "core/window/TKeyDecision.h"
#include "navigation/IAddressHost.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <optional>

class MainBars;
class MainCloseQuery;
class MainCommands;
class MainContentSwitches;
class MainEngineSettings;
class MainFavorites;
class MainFullScreen;
class MainOptions;
class MainGroups;
class MainPageCommands;
class MainSearchPane;
class MainShell;
class MainSideBar;
class MainStartup;
class MainTextSize;
class MainTray;
class MainViewSettings;
class MainZones;
class QMenu;
class QTimer;
class TAddressBand;
class TAddressController;
class TKeyFilter;
class TKoncoBar;
class TLanguage;
class TLanguageMenu;
class TLogoPanel;
class TMainMenu;
class TPopupCapture;
class TQWOptions;
class TQWPageControl;
class TQWStatusBar;
class TSessionKeeper;
class TStWMDataCopy;
class TTabReopener;
class TTabSet;
class WindowServices;

// The program's main window: the frame that owns the parts (settings,
// language and window services, bands, menus, tab set, pop-up capture,
// address box, session keeping, command table, view settings) and wires
// them. Its tabs and its address box talk to it through the host
// interfaces, which it answers from its parts.
class TfrmMain : public QMainWindow, public ITabHost, public IAddressHost
{
    Q_OBJECT
public:
    // factory makes each tab's browser control; empty means the real engine.
    explicit TfrmMain(BrowserControlFactory factory = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    TQWOptions* Options() const { return m_options.get(); }
    TLanguage* Language() const { return m_language.get(); }
    WindowServices* Services() const { return m_services; }
    MainViewSettings* ViewSettings() const { return m_viewSettings.get(); }
    TKoncoBar* KoncoBar() const;
    TTabSet* TabSet() const { return m_tabSet; }
    TQWPageControl* PageControl() const { return pcPage; }
    TPopupCapture* PopupCapture() const { return m_popupCapture; }
    TTabReopener* TabReopener() const { return m_reopener; }
    TAddressController* Address() const { return m_address; }
    TMainMenu* MainMenu() const { return m_menu; }
    MainFavorites* Favorites() const { return m_favorites; }
    MainBars* Bars() const { return m_bars; }
    MainFullScreen* FullScreen() const { return m_fullScreen; }
    MainTextSize* TextSize() const { return m_textSize; }
    MainContentSwitches* ContentSwitches() const { return m_contentSwitches; }
    MainTray* Tray() const { return m_tray; }
    MainZones* Zones() const { return m_zones; }
    MainOptions* OptionsHost() const { return m_optionsHost; }
    MainPageCommands* PageCommands() const { return m_pageCommands; }
    MainEngineSettings* EngineSettings() const { return m_engineSettings; }
    TQWStatusBar* StatusBar() const { return sbStatus; }
    TLogoPanel* LogoPanel() const { return pnlLogo; }
    QMenu* LanguagesMenu() const;
    TStWMDataCopy* DataCopy() const { return wmCopyData; }
    TSessionKeeper* SessionKeeper() const { return m_sessionKeeper; }
    MainGroups* Groups() const { return m_groups; }
    MainSearchPane* SearchPane() const { return m_searchPane; }
    MainShell* Shell() const { return m_shell; }
    // Makes the browser controls of the window's pages.
    const BrowserControlFactory& ControlFactory() const { return m_factory; }
    // What the address box shows.
    QString AddressText() const;

    // Runs a command of the menus or the keyboard.
    void RunCommand(MainCommand command);
    // Whether this window can carry out command at all.
    bool CommandAvailable(MainCommand command) const;
    // What the key filter needs to know of the window for a stroke.
    TKeyDecision::WindowState KeyState() const;

    // The forwarded argument of a second copy.
    void wmCopyDataDataReceived(const QString& text);
    // Shows the window in front, out of the task bar if it was minimised.
    void RestoreAndRaise();
    // Closes as the Exit command does but asks nothing: for the desktop
    // session ending or a termination signal.
    void CloseWithoutQuestions();

    // A message of the program's own in the status bar; it stays until the
    // next one, whatever hints pass over it.
    void ShowMessage(const QString& text);

    // The busy animation follows the active tab's busy state.
    void SetBusy(bool busy);

    // IAddressHost and ITabHost
    TBrowserTab* GetActivePage() const override;
    bool ShiftDown() const override;
    int TitleLimit() const override;
    bool WindowActive() const override { return m_windowActive; }
    bool IsActiveTab(const TBrowserTab* tab) const override;
    void ShowAddress(const QString& url) override;
    void RecordTypedAddress(const QString& url) override;
    void SetStatusText(const QString& text) override;
    void SetProgressText(const QString& text) override;
    void RefreshIndicators() override;
    void RefreshBackForward() override;
    TBrowserTab* AddTabPerPreference() override;
    TBrowserTab* AddHiddenTab() override;
    bool PopupMatch(const QString& url) override;
    void StartCloseHiddenTimer() override;
    void CloseTabRequested(TBrowserTab* tab) override;

signals:
    void appCommand(TAppCommandFilter::AppCommand command);

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    void LoadLanguage();
    void BuildBands();
    void BuildMenus();
    void CreateAddressBand();
    void CreateTabSet();
    void WireMenus();
    void CreateViewParts();
    void CreateCommandParts();
    void InstallFilters();
    void WriteBackSettings(bool usePopupVostel);
    void tmrLoadCoolbarTimer();
    void FirstActivation();
    void LanguageSwitch(const QString& path);

    // The settings object comes first and goes last.
    std::unique_ptr<TQWOptions> m_options;
    std::unique_ptr<TLanguage> m_language;
    std::unique_ptr<MainViewSettings> m_viewSettings;
    std::unique_ptr<MainCloseQuery> m_closeQuery;
    std::unique_ptr<MainCommands> m_commands;
    std::unique_ptr<MainStartup> m_startup;
    std::unique_ptr<MainSideBar> m_sideBar;
    WindowServices* m_services = nullptr;
    BrowserControlFactory m_factory;
    bool m_realEngine = false;
    bool m_windowActive = false;
    bool m_destroyed = false;
    bool m_activatedOnce = false;
    // Where the frame is to be, until a window manager's frame is known.
    std::optional<QPoint> m_framePosition;

    MainBars* m_bars = nullptr;
    MainFullScreen* m_fullScreen = nullptr;
    MainTextSize* m_textSize = nullptr;
    MainContentSwitches* m_contentSwitches = nullptr;
    MainTray* m_tray = nullptr;
    MainZones* m_zones = nullptr;
    MainOptions* m_optionsHost = nullptr;
    MainPageCommands* m_pageCommands = nullptr;
    MainEngineSettings* m_engineSettings = nullptr;
    TMainMenu* m_menu = nullptr;
    MainFavorites* m_favorites = nullptr;
    TLanguageMenu* m_languageMenu = nullptr;
    TLogoPanel* pnlLogo = nullptr;
    TAddressBand* pnlAddress = nullptr;
    TQWPageControl* pcPage = nullptr;
    TQWStatusBar* sbStatus = nullptr;
    TTabSet* m_tabSet = nullptr;
    TPopupCapture* m_popupCapture = nullptr;
    TTabReopener* m_reopener = nullptr;
    TSessionKeeper* m_sessionKeeper = nullptr;
    MainGroups* m_groups = nullptr;
    MainSearchPane* m_searchPane = nullptr;
    MainShell* m_shell = nullptr;
    TAddressController* m_address = nullptr;
    TStWMDataCopy* wmCopyData = nullptr;
    QPointer<TKeyFilter> m_keyFilter;
    QPointer<TAppCommandFilter> m_appCommandFilter;
    QTimer* tmrLoadCoolbar = nullptr;
};

#pragma once

#include "core/engine/IBrowserControl.h"
#include "core/tabs/ITabHost.h"
#include "core/window/MainCommand.h"
#include "core/window/TAppCommandFilter.h"
#include "core/window/TKeyDecision.h"
#include "navigation/IAddressHost.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QMenu;
class QTimer;
class QToolBar;
class QToolButton;
class TAddressBand;
class TAddressController;
class TLanguage;
class TLanguageMenu;
class TKeyFilter;
class TMainMenu;
class TMenuBand;
class TLogoPanel;
class TPopupCapture;
class TQWPageControl;
class TTabSet;
class TQWOptions;
class TQWStatusBar;
class TSessionKeeper;
class TStWMDataCopy;

// Settings the window reads while it is created and writes back while it is
// destroyed. Those whose owners do not exist yet travel through unchanged.
struct MainWindowSettings
{
    bool DisableALTShortcuts = false;
    bool MinToTray = false;
    bool VBAutoExpand = true;
    int VostelBarWidth = 234;
    QString SearchBar;
    bool FullScreen = false;
    bool ViewVostelBar = false;
    bool ViewToolbar = true;
    bool ViewAddressBar = true;
    bool ViewLinksBar = true;
    bool VGCloseFirst = false;
};

// The program's main window: owns the settings object, the language file,
// the bands, the status bar, the tab set and pop-up capture, and wires
// them. It is the host its tabs talk to.
class TfrmMain : public QMainWindow, public ITabHost, public IAddressHost
{
    Q_OBJECT
public:
    // factory makes each tab's browser control; empty means the real engine.
    explicit TfrmMain(BrowserControlFactory factory = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    TTabSet* TabSet() const { return m_tabSet; }
    TQWPageControl* PageControl() const { return pcPage; }
    TPopupCapture* PopupCapture() const { return m_popupCapture; }
    // What the address box shows.
    QString AddressText() const;
    TAddressController* Address() const { return m_address; }

    // IAddressHost
    TBrowserTab* GetActivePage() const override;
    bool ShiftDown() const override;
    ConfirmResult Confirm(const QString& caption, bool checked, const QString& title,
                          const QString& prompt, const QString& okText, const QString& cancelText,
                          const QString& checkText) override;
    void ShowError(const QString& text) override;

    // ITabHost
    QString GetGlobalText(const QString& key) const override;
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
    bool InputQuery(const QString& caption, const QString& prompt, QString& text) override;

    TQWOptions* Options() const { return m_options.get(); }
    TLanguage* Language() const { return m_language.get(); }
    QString GetLangText(const QString& section, const QString& key) const override;

    const MainWindowSettings& Settings() const { return m_settings; }
    TQWStatusBar* StatusBar() const { return sbStatus; }
    TLogoPanel* LogoPanel() const { return pnlLogo; }
    QMenu* LanguagesMenu() const { return pmMenuViewLanguages; }
    TMainMenu* MainMenu() const { return m_menu; }

    // Runs a command of the menus or the keyboard; commands on the active
    // tab do nothing when there is none.
    void RunCommand(MainCommand command);
    // Whether this window can carry out command at all.
    bool CommandAvailable(MainCommand command) const;
    // What the key filter needs to know of the window for a stroke.
    TKeyDecision::WindowState KeyState() const;

    // The forwarded argument of a second copy.
    void wmCopyDataDataReceived(const QString& text);
    TStWMDataCopy* DataCopy() const { return wmCopyData; }

    // Closes as the Exit command does but asks nothing: for the desktop
    // session ending or a termination signal.
    void CloseWithoutQuestions();

    // The busy animation follows the active tab's busy state.
    void SetBusy(bool busy);

signals:
    void appCommand(TAppCommandFilter::AppCommand command);

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormDestroy();
    bool FormCloseQuery();
    void LoadLanguage();
    void BuildMenus();
    void ReadViewSettings();
    void PlaceWindow();
    void WriteBackSettings(bool usePopupVostel);
    void RestoreAndRaise();
    void LanguageSwitch(const QString& path);
    void CreateTabSet();
    void ApplyTabColors();
    void tmrLoadCoolbarTimer();
    void FirstActivation();
    void RunAppCommand(TAppCommandFilter::AppCommand command);
    void CreateAddressBand();
    // An address handed in from outside the address box.
    void OpenOutsideAddress(const QString& text);
    void WireMenus();
    void BuildCommandTable();
    void AddMenuDropCommands();
    void ShowAbout();
    void OpenHelp();
    void ShowCloseAllList();
    void NewTabFromClipboard();
    void ToggleWorkOffline();
    void FocusAddressBox();

    std::unique_ptr<TQWOptions> m_options;
    std::unique_ptr<TLanguage> m_language;
    MainWindowSettings m_settings;
    bool m_windowActive = false;
    bool m_closeWithoutQuestions = false;
    bool m_destroyed = false;
    bool m_activatedOnce = false;
    BrowserControlFactory m_factory;
    bool m_realEngine = false;

    QWidget* pnlBands = nullptr;
    TMainMenu* m_menu = nullptr;
    TMenuBand* tbMenu = nullptr;
    QMenu* pmMenuViewLanguages = nullptr;
    QPointer<TKeyFilter> m_keyFilter;
    QHash<MainCommand, std::function<void()>> m_commands;
    TLanguageMenu* m_languageMenu = nullptr;
    TLogoPanel* pnlLogo = nullptr;
    TQWStatusBar* sbStatus = nullptr;
    TStWMDataCopy* wmCopyData = nullptr;
    QPointer<TAppCommandFilter> m_appCommandFilter;
    TQWPageControl* pcPage = nullptr;
    TTabSet* m_tabSet = nullptr;
    TPopupCapture* m_popupCapture = nullptr;
    TSessionKeeper* m_sessionKeeper = nullptr;
    TAddressBand* pnlAddress = nullptr;
    TAddressController* m_address = nullptr;
    QTimer* tmrLoadCoolbar = nullptr;
};

#pragma once

#include "core/TAppCommandFilter.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QMenu;
class QToolBar;
class QToolButton;
class TLanguage;
class TLanguageMenu;
class TLogoPanel;
class TQWOptions;
class TQWStatusBar;
class TStWMDataCopy;

// Settings the window reads while it is created and writes back while it is
// destroyed. Those whose owners do not exist yet travel through unchanged.
struct MainWindowSettings
{
    bool DisableALTShortcuts = false;
    bool OpenNewInForeground = false;
    bool AddressNewWin = false;
    bool QuickSearchNewWin = true;
    int AutoCompleteStyle = 2;
    bool MinToTray = false;
    bool ShowGo = false;
    bool VBAutoExpand = true;
    bool OpenNewAtEnd = false;
    int VostelBarWidth = 234;
    int LimitTitleLength = 35;
    QString SearchBar;
    bool FullScreen = false;
    bool UsePopupVostel = true;
    bool ViewVostelBar = false;
    bool ViewToolbar = true;
    bool ViewAddressBar = true;
    bool ViewLinksBar = true;
    bool VGCloseFirst = false;
    bool MultipleLines = false;
    bool FavoritesNewWin = true;
    bool HistoryNewWin = true;
    bool SearchNewWin = true;
    bool LinksNewWin = true;
    int NewAction = 2;
    bool PopupVostelNotify = true;
};

// The program's main window: owns the settings object, the language file,
// the bands, the status bar and (later) the tab set, and wires them.
class TfrmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    TQWOptions* Options() const { return m_options.get(); }
    TLanguage* Language() const { return m_language.get(); }
    QString GetLangText(const QString& section, const QString& key) const;
    QString GetGlobalText(const QString& key) const;

    bool WindowActive() const { return m_windowActive; }
    const MainWindowSettings& Settings() const { return m_settings; }
    TQWStatusBar* StatusBar() const { return sbStatus; }
    TLogoPanel* LogoPanel() const { return pnlLogo; }
    QMenu* LanguagesMenu() const { return pmMenuViewLanguages; }

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
    void WriteBackSettings();
    void RestoreAndRaise();
    void LanguageSwitch(const QString& path);
    void FormResize();

    std::unique_ptr<TQWOptions> m_options;
    std::unique_ptr<TLanguage> m_language;
    MainWindowSettings m_settings;
    bool m_windowActive = false;
    bool m_closeWithoutQuestions = false;
    bool m_destroyed = false;

    QWidget* pnlBands = nullptr;
    QToolBar* tbMenu = nullptr;
    QMenu* pmFile = nullptr;
    QMenu* pmView = nullptr;
    QMenu* pmMenuViewLanguages = nullptr;
    TLanguageMenu* m_languageMenu = nullptr;
    TLogoPanel* pnlLogo = nullptr;
    TQWStatusBar* sbStatus = nullptr;
    TStWMDataCopy* wmCopyData = nullptr;
    QPointer<TAppCommandFilter> m_appCommandFilter;
};

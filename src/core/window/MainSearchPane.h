#pragma once

#include "core/engine/IBrowserControl.h"

#include <QObject>
#include <QPointer>
#include <QString>

class MainCommands;
class QAction;
class QMenu;
class QToolBar;
class QToolButton;
class TfrmMain;

// The side bar's search page: a browser of its own that keeps the user's
// searching while the results open among the tabs (see SearchPaneRouting),
// its tool bar (new search with the search start page's menu, the search
// page favourites, the program's search page). The edit commands reach it
// while it has the focus (EditCommandTarget). The browser is made when the page is first shown.
class MainSearchPane : public QObject, private IBrowserEvents
{
    Q_OBJECT
public:
    // The page written into the pane while a search page loads.
    static const QString LoadingHtml;

    // The window's settings, services, address box, tab set and side bar
    // must exist. engineVersion4: the engine has no pane: the page stays
    // hidden and the commands do nothing.
    MainSearchPane(TfrmMain* window, MainCommands& commands, bool engineVersion4 = false);
    ~MainSearchPane() override;

    IBrowserControl* SearchBrowser() const { return m_browser; }
    bool SearchPaneCreated = false;
    // The pane's home; written to the setting SearchBar when the window ends.
    QString SearchHome() const { return m_searchHome; }
    // The next navigation of the pane is the program's and is not routed.
    bool SearchNavigationPending = false;
    bool SearchNewWin = true;
    const bool EngineVersion4;

    QWidget* tsSearchContent = nullptr;
    QToolBar* tbarSearch = nullptr;
    QToolButton* tbNewSearch = nullptr;
    QToolButton* tbSearchFavs = nullptr;
    QToolButton* tbSearchBar = nullptr;
    QMenu* pmSearchHome = nullptr;
    QAction* pmSearchHomeSet = nullptr;
    QAction* pmSearchHomeOpen = nullptr;
    QMenu* pmSearchFavs = nullptr;
    QAction* pmSearchFavsAdd = nullptr;
    QAction* pmSearchFavsOrg = nullptr;
    QWidget* pnlSearchBrowser = nullptr;

    void CreateSearchPane();
    void ShowSearchLoading();
    void tbNewSearchClick();
    void tbChooseSearchBarClick();
    void pmSearchHomeSetClick();
    void tbOpenSearchClick();
    void pmSearchFavsAddClick();
    void pmSBFavsOrganizeClick();
    void SearchFavoriteClick(const QString& address);
    void BuildSearchBarMenu();
    // Whether the keyboard focus is in the pane.
    bool HasFocus() const;

    bool SearchBrowserBeforeNavigate2(const NavigationRequest& request);
    IBrowserControl* SearchBrowserNewWindow2(const NavigationRequest& request);

private:
    void BuildPage();
    void BuildMenus();
    void TakeOverCommands(MainCommands& commands);
    // Stops the pane and loads address there as the program's navigation.
    void LoadInPane(const QString& address);
    QString Text(const QString& key) const;

    // IBrowserEvents: the pane shows no title, icon or progress of its own.
    bool BeforeNavigate(const NavigationRequest& request) override;
    IBrowserControl* NewWindow(const QString& requestedUrl, bool userInitiated) override;
    IBrowserControl* NewWindowFor(const NavigationRequest& request) override;
    void NavigateComplete(FrameId, const QString&) override {}
    void DocumentComplete(FrameId, const QString&) override {}
    void TitleChange(const QString&) override {}
    void StatusTextChange(const QString& text) override;
    void ProgressChange(int, int) override {}
    void CommandStateChange(int, bool) override {}
    // The pane is the window's: a page in it cannot close it.
    void WindowClosing() override {}
    void IconChange(const QIcon&) override {}

    TfrmMain* m_window;
    QString m_searchHome;
    IBrowserControl* m_browser = nullptr;
    // The control's widget; gone first when the window's widgets go.
    QPointer<QWidget> m_browserWidget;
    bool m_browserIsWidget = false;
};

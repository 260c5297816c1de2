#include "core/window/MainSearchPane.h"

#include "chrome/TLanguage.h"
#include "components/FlatToolButton.h"
#include "components/ThemeIcon.h"
#include "core/dialogs/WindowServices.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainCommands.h"
#include "core/window/MainViewSettings.h"
#include "core/window/TfrmMain.h"
#include "groups/TKoncoBar.h"
#include "navigation/SearchPaneRouting.h"
#include "navigation/TAddressController.h"
#include "navigation/TSearchLists.h"
#include "navigation/TAddressBand.h"
#include "navigation/TQWComboBox.h"
#include "navigation/TSearchMenus.h"
#include "navigation/TfrmOpen.h"
#include "navigation/TfrmSearchEngine.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{
const QString Section = QStringLiteral("MAIN");
const QString ProductName = QStringLiteral("Quillwave");

// The program's own search page, where the user has not chosen another.
QString vendorSearchBar()
{
    return TQWOptions::DefaultText(TQWOptions::Option::SearchBar);
}
} // namespace

const QString MainSearchPane::LoadingHtml = QStringLiteral(
    "<html><body bgcolor=\"666699\"><font face=\"Tahoma,Arial,Helvetica\" size=\"-1\" "
    "color=\"ffffff\">Loading Search Engine...</body></html>");

MainSearchPane::MainSearchPane(TfrmMain* window, MainCommands& commands, bool engineVersion4)
    : QObject(window), EngineVersion4(engineVersion4), m_window(window)
{
    SearchNewWin = window->Options()->SearchNewWin();
    if (EngineVersion4)
        return;
    const QString stored = window->ViewSettings()->SearchBar();
    m_searchHome = stored.isEmpty() ? vendorSearchBar() : stored;
    BuildPage();
    BuildMenus();
    TakeOverCommands(commands);
    TKoncoBar* bar = window->KoncoBar();
    connect(bar, &TKoncoBar::pageShown, this,
            [this](TKoncoBar::Page page)
            {
                if (page == TKoncoBar::Search && !SearchPaneCreated)
                    CreateSearchPane();
            });
    bar->setPageContent(TKoncoBar::Search, tsSearchContent);
}

MainSearchPane::~MainSearchPane()
{
    if (!m_browser)
        return;
    if (m_browserWidget)
    {
        m_browser->setEvents(nullptr);
        delete m_browser;
    }
    else if (!m_browserIsWidget)
    {
        delete m_browser; // its widget went with the window's
    }
}

QString MainSearchPane::Text(const QString& key) const
{
    return m_window->Services()->GetLangText(Section, key);
}

void MainSearchPane::BuildPage()
{
    tsSearchContent = new QWidget;
    tsSearchContent->setObjectName(QStringLiteral("pnlSearch"));
    auto* layout = new QVBoxLayout(tsSearchContent);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    tbarSearch = new QToolBar(tsSearchContent);
    tbarSearch->setObjectName(QStringLiteral("tbarSearch"));
    tbarSearch->setIconSize(QSize(16, 16));
    const auto button = [this](const char* name, const char* key, const QIcon& icon)
    {
        QToolButton* tb = FlatToolButton(tbarSearch, QString::fromLatin1(name), icon,
                                         Text(QLatin1String(key) + QStringLiteral("Hint")));
        tb->setText(Text(QLatin1String(key)));
        tbarSearch->addWidget(tb);
        return tb;
    };
    tbNewSearch = button("tbNewSearch", "SearchNew", ThemeIcon("edit-find", QStyle::SP_FileIcon));
    tbSearchFavs =
        button("tbSearchFavs", "SearchFavorites", ThemeIcon("bookmarks", QStyle::SP_DirHomeIcon));
    tbSearchBar = button("tbSearchBar", "SearchChoose",
                         ThemeIcon("go-home", QStyle::SP_FileDialogContentsView));
    connect(tbNewSearch, &QToolButton::clicked, this, &MainSearchPane::tbNewSearchClick);
    connect(tbSearchBar, &QToolButton::clicked, this, &MainSearchPane::tbChooseSearchBarClick);
    layout->addWidget(tbarSearch);

    pnlSearchBrowser = new QWidget(tsSearchContent);
    pnlSearchBrowser->setObjectName(QStringLiteral("pnlSearchBrowser"));
    auto* browserLayout = new QVBoxLayout(pnlSearchBrowser);
    browserLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pnlSearchBrowser, 1);
}

void MainSearchPane::BuildMenus()
{
    const auto item = [this](QMenu* menu, const char* name, const char* key)
    {
        QAction* action = menu->addAction(Text(QLatin1String(key)));
        action->setObjectName(QString::fromLatin1(name));
        action->setStatusTip(
            TLanguage::LongHint(Text(QLatin1String(key) + QStringLiteral("Hint"))));
        return action;
    };
    pmSearchHome = new QMenu(tbNewSearch);
    pmSearchHome->setObjectName(QStringLiteral("pmSearchHome"));
    pmSearchHomeSet = item(pmSearchHome, "pmSearchHomeSet", "MenuSearchHomeSet");
    pmSearchHomeOpen = item(pmSearchHome, "pmSearchHomeOpen", "MenuSearchHomeOpen");
    connect(pmSearchHomeSet, &QAction::triggered, this, &MainSearchPane::pmSearchHomeSetClick);
    connect(pmSearchHomeOpen, &QAction::triggered, this, &MainSearchPane::tbOpenSearchClick);
    tbNewSearch->setMenu(pmSearchHome);
    tbNewSearch->setPopupMode(QToolButton::MenuButtonPopup);

    pmSearchFavs = new QMenu(tbSearchFavs);
    pmSearchFavs->setObjectName(QStringLiteral("pmSearchFavs"));
    pmSearchFavsAdd = item(pmSearchFavs, "pmSearchFavsAdd", "MenuSearchFavsAdd");
    pmSearchFavsOrg = item(pmSearchFavs, "pmSearchFavsOrg", "MenuSearchFavsOrganize");
    pmSearchFavs->addSeparator();
    connect(pmSearchFavsAdd, &QAction::triggered, this, &MainSearchPane::pmSearchFavsAddClick);
    connect(pmSearchFavsOrg, &QAction::triggered, this, &MainSearchPane::pmSBFavsOrganizeClick);
    tbSearchFavs->setMenu(pmSearchFavs);
    tbSearchFavs->setPopupMode(QToolButton::InstantPopup);
    BuildSearchBarMenu();
}

void MainSearchPane::TakeOverCommands(MainCommands& commands)
{
    // The Tools menu's organize item edits the same list as the pane's.
    commands.add(MainCommand::OrganizeSearchBar, [this] { pmSBFavsOrganizeClick(); });
}

bool MainSearchPane::HasFocus() const
{
    const QWidget* focus = QApplication::focusWidget();
    return m_browserWidget && focus &&
           (focus == m_browserWidget || m_browserWidget->isAncestorOf(focus));
}

void MainSearchPane::CreateSearchPane()
{
    if (SearchPaneCreated || EngineVersion4)
        return;
    const BrowserControlFactory& factory = m_window->ControlFactory();
    m_browser = factory ? factory(pnlSearchBrowser) : nullptr;
    if (!m_browser)
        return;
    QWidget* view = m_browser->widget();
    m_browserWidget = view;
    m_browserIsWidget = dynamic_cast<QWidget*>(m_browser) == view;
    pnlSearchBrowser->layout()->addWidget(view);
    view->show();
    m_browser->Navigate(QStringLiteral("about:blank"));
    m_browser->setEvents(this);
    ShowSearchLoading();
    // Not marked as the program's: the blank page has no link to route it.
    m_browser->Navigate(m_searchHome);
    SearchPaneCreated = true;
}

void MainSearchPane::ShowSearchLoading()
{
    if (m_browser)
        m_browser->WriteDocument(LoadingHtml);
}

void MainSearchPane::tbNewSearchClick()
{
    if (!m_browser)
        return;
    m_browser->Stop();
    SearchNavigationPending = true;
    m_browser->Navigate(m_searchHome);
}

void MainSearchPane::tbChooseSearchBarClick()
{
    if (!m_browser)
        return;
    m_browser->Stop();
    ShowSearchLoading();
    SearchNavigationPending = true;
    m_browser->Navigate(vendorSearchBar());
}

void MainSearchPane::pmSearchHomeSetClick()
{
    if (!m_browser)
        return;
    m_searchHome = m_browser->LocationURL();
    m_window->ViewSettings()->RememberSearchBar(m_searchHome);
}

void MainSearchPane::tbOpenSearchClick()
{
    // The open dialog, without its new-tab choice: the page opens here.
    TfrmOpen dialog(m_window->Address()->Band()->cboAddress->Items(), m_window->Services(),
                    m_window->Language(), m_window);
    dialog.chkNewTab->hide();
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString address = dialog.Address().trimmed();
    if (address.isEmpty() || !m_browser)
        return;
    m_browser->Stop();
    ShowSearchLoading();
    SearchNavigationPending = true;
    m_browser->Navigate(address);
}

void MainSearchPane::SearchFavoriteClick(const QString& address)
{
    if (!m_browser)
        return;
    // Not the program's navigation: a "DEF:" address is taken apart.
    m_browser->Stop();
    m_browser->Navigate(address);
}

void MainSearchPane::BuildSearchBarMenu()
{
    TSearchMenus::BuildSearchBarMenu(pmSearchFavs, *m_window->Options(),
                                     [this](const QString& address)
                                     { SearchFavoriteClick(address); });
}

void MainSearchPane::pmSearchFavsAddClick()
{
    if (!m_browser)
        return;
    QString title = m_browser->LocationName();
    if (!m_window->Services()->inputQuery(ProductName, Text(QStringLiteral("SideSearchFavsPrompt")),
                                          title))
        return;
    if (!title.isEmpty())
        m_window->Options()->Store()->setString(RegistryKeys::ValueKey + QLatin1Char('\\') +
                                                    RegistryKeys::SearchBar,
                                                title, m_browser->LocationURL());
    BuildSearchBarMenu();
}

void MainSearchPane::pmSBFavsOrganizeClick()
{
    if (TfrmSearchEngine::Organize(m_window, TSearchLists::ModeSearchBar, m_window->Options(),
                                   m_window->Language()))
        BuildSearchBarMenu();
}

void MainSearchPane::LoadInPane(const QString& address)
{
    // The engine is still deciding on the navigation this one replaces.
    QTimer::singleShot(0, this,
                       [this, address]
                       {
                           if (!m_browser)
                               return;
                           m_browser->Stop();
                           SearchNavigationPending = true;
                           m_browser->Navigate(address);
                       });
}

bool MainSearchPane::SearchBrowserBeforeNavigate2(const NavigationRequest& request)
{
    SearchPaneRouting::Input input;
    input.pending = SearchNavigationPending;
    input.address = request.url;
    input.element = request.element;
    input.shift = m_window->ShiftDown();
    input.searchNewWin = SearchNewWin;
    const SearchPaneRouting::Outcome outcome = SearchPaneRouting::Decide(input);
    if (outcome.pendingConsumed)
        SearchNavigationPending = false;
    switch (outcome.action)
    {
    case SearchPaneRouting::Outcome::Proceed:
        return true;
    case SearchPaneRouting::Outcome::Route:
        m_window->Address()->OpenAddressIn(outcome.address, outcome.newTab);
        break;
    case SearchPaneRouting::Outcome::LoadInPane:
        LoadInPane(outcome.address);
        break;
    case SearchPaneRouting::Outcome::Refuse:
        break;
    }
    return false;
}

IBrowserControl* MainSearchPane::SearchBrowserNewWindow2(const NavigationRequest& request)
{
    SearchPaneRouting::Input input;
    input.address = request.url;
    input.element = request.element;
    input.newWindow = true;
    input.shift = m_window->ShiftDown();
    input.searchNewWin = SearchNewWin;
    const SearchPaneRouting::Outcome outcome = SearchPaneRouting::Decide(input);
    if (outcome.action == SearchPaneRouting::Outcome::Route)
        m_window->Address()->OpenAddressIn(outcome.address, outcome.newTab);
    else if (outcome.action == SearchPaneRouting::Outcome::LoadInPane)
        LoadInPane(outcome.address);
    if (outcome.action != SearchPaneRouting::Outcome::Proceed)
        return nullptr;

    // A window the pane's page asks for is a tab's page-requested window
    // that comes to the front whatever the setting says.
    TTabSet* tabs = m_window->TabSet();
    const bool foreground = tabs->OpenNewInForeground;
    tabs->OpenNewInForeground = true;
    TBrowserTab* tab = tabs->AddHiddenTab();
    tabs->OpenNewInForeground = foreground;
    if (!tab)
        return nullptr;
    if (!tab->Browser())
    {
        tab->Killed = true;
        m_window->StartCloseHiddenTimer();
        return nullptr;
    }
    tab->OpenedAsNewWindow = true;
    return tab->Browser();
}

bool MainSearchPane::BeforeNavigate(const NavigationRequest& request)
{
    return SearchBrowserBeforeNavigate2(request);
}

IBrowserControl* MainSearchPane::NewWindow(const QString& requestedUrl, bool userInitiated)
{
    return SearchBrowserNewWindow2(NavigationRequest{
        requestedUrl, TopFrame, NavigationRequest::LinkClicked, userInitiated, {}});
}

IBrowserControl* MainSearchPane::NewWindowFor(const NavigationRequest& request)
{
    return SearchBrowserNewWindow2(request);
}

void MainSearchPane::StatusTextChange(const QString& text)
{
    // The link under the pointer, as a tab's page shows it.
    m_window->SetStatusText(text);
}

#include "core/window/TfrmMain.h"

#include "chrome/LanguageFolders.h"
#include "chrome/TLanguage.h"
#include "chrome/TLanguageMenu.h"
#include "chrome/TUserAgentToken.h"
#include "components/TMenuBand.h"
#include "components/TQWAnimate.h"
#include "components/TQWPageControl.h"
#include "components/TQWStatusBar.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/TDownloadManager.h"
#include "core/engine/TEngineProfile.h"
#include "core/engine/THistoryIndex.h"
#include "core/engine/TVostelBrowser.h"
#include "core/instance/TStWMDataCopy.h"
#include "core/settings/TQWOptions.h"
#include "core/store/ProgramPaths.h"
#include "core/store/RegistryTypeError.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TPopupCapture.h"
#include "core/tabs/TSessionKeeper.h"
#include "core/tabs/TStartupLoader.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainBars.h"
#include "core/window/MainCloseQuery.h"
#include "core/window/MainCommands.h"
#include "core/window/MainFavorites.h"
#include "core/window/MainFullScreen.h"
#include "core/window/MainGroups.h"
#include "core/window/MainHistory.h"
#include "core/window/MainSearchPane.h"
#include "core/window/MainSideBar.h"
#include "core/window/MainStartup.h"
#include "core/window/MainVersionCheck.h"
#include "core/window/MainViewSettings.h"
#include "core/window/MainWindowPlacement.h"
#include "core/window/MainZones.h"
#include "core/window/TKeyFilter.h"
#include "core/window/TLogoPanel.h"
#include "core/window/TMainMenu.h"
#include "navigation/TAddressBand.h"
#include "navigation/TAddressController.h"
#include "navigation/TQWComboBox.h"
#include "navigation/TSearchLists.h"
#include "navigation/TfrmSearchEngine.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolButton>

#include <utility>

namespace
{
const QString ProductName = QStringLiteral("Quillwave");

// A value of the wrong type in the store must not end the program halfway
// through its exit and lose what the rest of the exit stores.
template <typename Work> void survivingBadValues(Work&& work)
{
    try
    {
        work();
    }
    catch (const RegistryTypeError& error)
    {
        qWarning("%s", error.what());
    }
}
} // namespace

TfrmMain::TfrmMain(BrowserControlFactory factory, QWidget* parent)
    : QMainWindow(parent), m_factory(std::move(factory))
{
    m_realEngine = !m_factory;
    if (m_realEngine)
        m_factory = [](QWidget* parent) -> IBrowserControl* { return new TVostelBrowser(parent); };
    setObjectName(QStringLiteral("frmMain"));
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    FormDestroy();
}

void TfrmMain::FormCreate()
{
    m_options = std::make_unique<TQWOptions>();
    m_options->DeleteQWID();

    LoadLanguage();
    m_services = new WindowServices(m_language.get(), this);
    m_viewSettings = std::make_unique<MainViewSettings>(m_options.get());

    BuildBands();
    BuildMenus();
    setFont(QApplication::font());

    TUserAgentToken::UpdateUserAgentToken(*m_options->Store(), true);
    if (m_realEngine)
        TEngineProfile::applySettings();

    const QString sponsor = m_options->SponsorCaption();
    setWindowTitle(sponsor.isEmpty() ? ProductName : sponsor + QStringLiteral(" - ") + ProductName);

    m_popupCapture = new TPopupCapture(m_options.get(), m_services, this);
    m_popupCapture->LoadPopupList();

    m_closeQuery = std::make_unique<MainCloseQuery>(m_options.get(), m_services);
    m_startup = std::make_unique<MainStartup>(this);
    CreateAddressBand();
    CreateTabSet();
    WireMenus();
    m_favorites = new MainFavorites(this);
    m_groups = new MainGroups(this);
    new MainHistory(this);
    m_searchPane = new MainSearchPane(this, *m_commands);
    CreateViewParts();
    m_zones = new MainZones(this);
    CreateCommandParts();

    // The remembered tabs are kept current while the program runs.
    m_sessionKeeper = new TSessionKeeper(m_tabSet, m_options.get(), m_services, this);
    m_sessionKeeper->BeginRun();

    m_language->TranslateComponent(this, QStringLiteral("MAIN"));

    // Listening starts before the first question: what later copies send
    // while it is open waits for the start-up pages.
    wmCopyData = new TStWMDataCopy(this);
    connect(wmCopyData, &TStWMDataCopy::OnDataReceived, this, &TfrmMain::wmCopyDataDataReceived);

    m_startup->AskDefaultBrowser();

    sbStatus->setVisible(m_options->ViewStatusBar());
    MainWindowPlacement::apply(this, *m_options, false);
    if (!isMaximized())
        m_framePosition = pos();
    if (m_viewSettings->FullScreen())
        m_fullScreen->SetFullScreen(true);
    InstallFilters();

    // The start-up pages open once the message loop runs, so that the
    // window is shown before any page loads.
    tmrLoadCoolbar = new QTimer(this);
    tmrLoadCoolbar->setObjectName(QStringLiteral("tmrLoadCoolbar"));
    tmrLoadCoolbar->setSingleShot(true);
    tmrLoadCoolbar->setInterval(1);
    connect(tmrLoadCoolbar, &QTimer::timeout, this, &TfrmMain::tmrLoadCoolbarTimer);
    tmrLoadCoolbar->start();
}

void TfrmMain::LoadLanguage()
{
    const QString configured = m_options->LanguageFile();
    m_language = std::make_unique<TLanguage>();
    const QString fileName = m_language->LoadChosen(LanguageFolders::standard(), configured);
    if (fileName != configured)
        m_options->SetLanguageFile(fileName);
}

void TfrmMain::BuildBands()
{
    // The menus leave out what the command table does not offer.
    m_commands = std::make_unique<MainCommands>(this);
    pcPage = new TQWPageControl(this);
    pcPage->setObjectName(QStringLiteral("pcPage"));
    m_sideBar = std::make_unique<MainSideBar>(this, pcPage, *m_commands);
    m_menu = new TMainMenu(this, [this](MainCommand command) { return CommandAvailable(command); });
    m_sideBar->attachMenu(m_menu);
    m_commands->addMenuDrops();
    pnlLogo = new TLogoPanel(this);
    pnlAddress = new TAddressBand(THistoryIndex::defaultRoot(), this);
    pnlAddress->setObjectName(QStringLiteral("pnlAddress"));
    m_bars = new MainBars(this, m_menu->Band(), pnlAddress, pnlLogo);
    setMenuWidget(m_bars->Top());

    sbStatus = new TQWStatusBar(this);
    setStatusBar(sbStatus);
}

void TfrmMain::BuildMenus()
{
    connect(m_menu, &TMainMenu::command, this, &TfrmMain::RunCommand);
    m_languageMenu = new TLanguageMenu(this);
    QMenu* languages = LanguagesMenu();
    const auto rebuild = [this, languages]
    {
        m_languageMenu->RebuildLanguageMenu(languages, LanguageFolders::standard(),
                                            m_options->LanguageFile());
    };
    connect(languages, &QMenu::aboutToShow, this, rebuild);
    connect(m_languageMenu, &TLanguageMenu::languageChosen, this, &TfrmMain::LanguageSwitch);
    // The submenu is filled each time it opens; until then it must still open.
    rebuild();
}

TKoncoBar* TfrmMain::KoncoBar() const
{
    return m_sideBar->bar();
}

QMenu* TfrmMain::LanguagesMenu() const
{
    return m_menu->LanguagesMenu();
}

void TfrmMain::CreateAddressBand()
{
    m_address = new TAddressController(pnlAddress, this, m_services, m_options->Store(), this);
    m_address->LoadTypedUrls();
    m_address->LoadAddressCompletion(*m_options);
    m_address->SetAutoCompleteStyle(m_options->AutoCompleteStyle());
    m_address->ApplyShowGo(m_options->ShowGo());
    m_address->AddressNewWin = m_options->AddressNewWin();
    m_address->QuickSearchNewWin = m_options->QuickSearchNewWin();
    m_address->ReadQuickSearchList(*m_options);
}

void TfrmMain::CreateTabSet()
{
    m_tabSet = new TTabSet(pcPage, this, m_services, m_factory, m_options.get(), this);
    m_tabSet->SetImages(TQWPageControl::defaultTabImages());
    connect(m_popupCapture, &TPopupCapture::closeKilledTabsRequested, m_tabSet,
            &TTabSet::CloseKilledTabs);
    connect(m_popupCapture, &TPopupCapture::closeTabRequested, m_tabSet, &TTabSet::CloseTab);
    connect(m_tabSet, &TTabSet::addressBoxFocusRequested, this,
            [this] { RunCommand(MainCommand::FocusAddressBox); });

    m_tabSet->AddTab();
    pcPage->SetMultipleLines(m_options->MultipleLines());
    pcPage->ApplyColorScheme(m_options->TabColorScheme(), m_options->InactiveTabColor(),
                             m_options->InactiveFontColor());
    pcPage->SetTabsAtBottom(m_options->TabsDown());

    connect(pnlLogo->spdClose, &QToolButton::clicked, m_tabSet, &TTabSet::actCloseExecute);
    connect(pnlLogo->spdCloseAll, &QToolButton::clicked, m_tabSet, &TTabSet::actCloseAllExecute);
    connect(pnlLogo->aniLogo, &TQWAnimate::clicked, this,
            [this]
            {
                if (TBrowserTab* tab = m_tabSet->AddTab())
                    tab->Navigate(TBrowserTab::HomeUrl());
            });
}

void TfrmMain::WireMenus()
{
    m_menu->AttachTabSet(m_tabSet, m_popupCapture);
    connect(m_menu, &TMainMenu::autoRefreshChosen, m_tabSet, &TTabSet::SetAutoRefresh);
    connect(m_menu->ClearAddressesItem(), &QAction::triggered, this,
            [this] { m_address->mnuToolsFavsClick(); });
    connect(m_menu->QuickSearchItem(), &QAction::triggered, this,
            [this]
            {
                if (TfrmSearchEngine::Organize(this, TSearchLists::ModeQuickSearch, m_options.get(),
                                               m_language.get()))
                    m_address->ReadQuickSearchList(*m_options);
            });

    // The tab strip's and the close-all button's context menus.
    connect(pcPage, &TQWPageControl::tabMouseDown, this,
            [this](Qt::MouseButton button, int visibleIndex, const QPoint& globalPos)
            {
                if (button == Qt::RightButton && visibleIndex >= 0)
                    m_menu->TabMenu()->popup(globalPos);
            });
    pnlLogo->spdCloseAll->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pnlLogo->spdCloseAll, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at)
            { m_menu->CloseAllMenu()->popup(pnlLogo->spdCloseAll->mapToGlobal(at)); });
}

void TfrmMain::InstallFilters()
{
    // Application-command keys, seen wherever the focus is.
    m_appCommandFilter = new TAppCommandFilter(this);
    connect(m_appCommandFilter, &TAppCommandFilter::command, this, &TfrmMain::appCommand);
    qApp->installEventFilter(m_appCommandFilter);
    connect(this, &TfrmMain::appCommand, this,
            [this](TAppCommandFilter::AppCommand command)
            {
                if (!m_destroyed && m_tabSet)
                    m_commands->runAppCommand(command);
            });

    // Keys reach the window's commands before a page can take them.
    m_keyFilter = new TKeyFilter([this] { return KeyState(); }, this);
    connect(m_keyFilter, &TKeyFilter::command, this, &TfrmMain::RunCommand);
    qApp->installEventFilter(m_keyFilter);
}

void TfrmMain::tmrLoadCoolbarTimer()
{
    m_bars->LoadBandLayout();
    m_startup->OpenStartupPages();
}

void TfrmMain::FirstActivation()
{
    m_activatedOnce = true;
    m_address->FirstActivation();
    m_tabSet->SetAutoRefresh(m_options->AutoRefresh());
    m_menu->CheckAutoRefresh(m_tabSet->AutoRefreshInterval());
    new MainVersionCheck(this);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (m_closeQuery->canClose())
        event->accept();
    else
        event->ignore();
}

void TfrmMain::CloseWithoutQuestions()
{
    m_closeQuery->closeWithoutQuestions(this);
}

void TfrmMain::FormDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    // The application-wide filters go first: no key may reach a window that
    // is half gone.
    if (m_appCommandFilter)
        qApp->removeEventFilter(m_appCommandFilter);
    if (m_keyFilter)
        qApp->removeEventFilter(m_keyFilter);

    // Auto refresh is applied at the first activation; a window that never
    // got there has nothing of its own to store.
    if (m_activatedOnce)
        m_options->SetAutoRefresh(m_tabSet->AutoRefreshInterval());
    m_tabSet->RefreshTimer()->stop();
    // The capture writes its list back as it goes.
    const bool usePopupVostel = m_popupCapture->UsePopupVostel();
    delete m_popupCapture;
    m_popupCapture = nullptr;
    survivingBadValues([this]
                       { TUserAgentToken::UpdateUserAgentToken(*m_options->Store(), false); });
    m_tabSet->CloseKilledTabs();

    m_address->SaveTypedUrls();
    m_bars->SaveToolbarLayout();
    survivingBadValues([this] { m_bars->SaveBandLayout(); });

    survivingBadValues(
        [this]
        {
            QList<TBrowserTab*> tabs;
            for (int i = 0; i < m_tabSet->Count(); ++i)
                tabs << m_tabSet->Tab(i);
            TStartupLoader::WriteRememberedSites(*m_options, tabs);
        });
    // The exit write has the last word on the list; the run ended normally.
    survivingBadValues([this] { m_sessionKeeper->EndRun(); });

    survivingBadValues([this, usePopupVostel] { WriteBackSettings(usePopupVostel); });

    // Nothing may write after the settings object is gone.
    m_language.reset();
    m_options.reset();
}

void TfrmMain::WriteBackSettings(bool usePopupVostel)
{
    TQWOptions& o = *m_options;
    m_sideBar->writeBack(*m_viewSettings);
    m_viewSettings->writeBack();
    o.SetAddressNewWin(m_address->AddressNewWin);
    o.SetQuickSearchNewWin(m_address->QuickSearchNewWin);
    o.SetAutoCompleteStyle(m_address->AutoCompleteStyle());
    o.SetShowGo(pnlAddress->ShowGo());
    o.SetOpenNewAtEnd(m_tabSet->OpenNewAtEnd);
    o.SetLimitTitleLength(m_tabSet->TitleLimit());
    m_fullScreen->StoreWindowState(o);
    o.SetUsePopupVostel(usePopupVostel);
}

bool TfrmMain::event(QEvent* event)
{
    if (m_framePosition && event->type() == QEvent::Move && frameGeometry() != geometry())
    {
        // The stored place is the frame's. Before a window manager has put
        // its frame around the window, the frame's size is unknown and the
        // frame would start above the place (the title bar off the screen);
        // once it is known, the window goes where it belongs.
        const QPoint place = *std::exchange(m_framePosition, std::nullopt);
        if (pos() != place)
            move(place);
    }
    if (event->type() == QEvent::StatusTip)
    {
        // The application hint: the first panel shows the hint's long part.
        const auto* tip = static_cast<QStatusTipEvent*>(event);
        sbStatus->showHint(TQWStatusBar::statusTextForHint(tip->tip()));
        return true;
    }
    if (event->type() == QEvent::WinIdChange && isVisible() && !QApplication::activeWindow())
    {
        // The first page view makes Qt replace the window's native window,
        // and a focus request made for the old one is lost with it; without
        // a window manager nothing else would make the window active.
        activateWindow();
    }
    return QMainWindow::event(event);
}

void TfrmMain::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange)
    {
        m_windowActive = isActiveWindow();
        if (m_windowActive && !m_activatedOnce)
            FirstActivation();
        if (m_windowActive)
            if (TBrowserTab* tab = m_tabSet->GetActivePage())
                tab->FocusPage();
    }
    QMainWindow::changeEvent(event);
}

void TfrmMain::RestoreAndRaise()
{
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void TfrmMain::wmCopyDataDataReceived(const QString& text)
{
    m_startup->Forwarded(text);
}

void TfrmMain::LanguageSwitch(const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile())
        return;
    m_options->SetLanguageFile(file.fileName());
    m_services->notify(ProductName, m_services->GetGlobalText(QStringLiteral("ChangeRestart")));
}

void TfrmMain::SetBusy(bool busy)
{
    pnlLogo->aniLogo->setActive(busy);
}

// Commands and keys

bool TfrmMain::CommandAvailable(MainCommand command) const
{
    return m_commands && m_commands->available(command);
}

void TfrmMain::RunCommand(MainCommand command)
{
    // Keys may arrive while the window is still being built or torn down.
    if (m_destroyed || !m_commands || !m_tabSet)
        return;
    m_commands->run(command);
}

TKeyDecision::WindowState TfrmMain::KeyState() const
{
    return m_commands->keyState();
}

// What the tabs and the address box ask of the window.

TBrowserTab* TfrmMain::GetActivePage() const
{
    return m_tabSet ? m_tabSet->GetActivePage() : nullptr;
}

bool TfrmMain::ShiftDown() const
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

int TfrmMain::TitleLimit() const
{
    return m_tabSet ? m_tabSet->TitleLimit() : 0;
}

bool TfrmMain::IsActiveTab(const TBrowserTab* tab) const
{
    return m_tabSet && tab && m_tabSet->GetActivePage() == tab;
}

void TfrmMain::ShowAddress(const QString& url)
{
    m_address->ShowAddress(url);
}

void TfrmMain::RecordTypedAddress(const QString& url)
{
    m_address->RecordTypedAddress(url);
}

QString TfrmMain::AddressText() const
{
    return pnlAddress->cboAddress->currentText();
}

void TfrmMain::SetStatusText(const QString& text)
{
    // What the page says (a link under the pointer) passes like a hint.
    sbStatus->showHint(text);
}

void TfrmMain::ShowMessage(const QString& text)
{
    sbStatus->setPanelText(0, text);
}

void TfrmMain::SetProgressText(const QString& text)
{
    sbStatus->setPanelText(2, text);
}

void TfrmMain::RefreshIndicators()
{
    const TBrowserTab* tab = GetActivePage();
    SetBusy(tab && tab->Busy);
    sbStatus->setPanelIcon(
        1, tab && tab->Secure ? QIcon(QStringLiteral(":/quillwave/tab-locked.svg")) : QIcon());
    MainZones::RefreshIn(m_zones);
    RefreshBackForward();
}

void TfrmMain::RefreshBackForward()
{
    if (m_bars)
        m_bars->RefreshBackForward(GetActivePage());
}

TBrowserTab* TfrmMain::AddTabPerPreference()
{
    return m_tabSet->AddTabPerPreference();
}

TBrowserTab* TfrmMain::AddHiddenTab()
{
    return m_tabSet->AddHiddenTab();
}

bool TfrmMain::PopupMatch(const QString& url)
{
    return m_popupCapture->PopupMatch(url);
}

void TfrmMain::StartCloseHiddenTimer()
{
    m_popupCapture->StartCloseHiddenTimer();
}

void TfrmMain::CloseTabRequested(TBrowserTab* tab)
{
    m_tabSet->CloseTab(tab);
}

#include "core/window/TfrmMain.h"

#include "chrome/LanguageFolders.h"
#include "chrome/TDefaultBrowser.h"
#include "chrome/TLanguage.h"
#include "chrome/TLanguageMenu.h"
#include "chrome/TUserAgentToken.h"
#include "components/TMenuBand.h"
#include "components/TQWAnimate.h"
#include "components/TQWPageControl.h"
#include "components/TQWStatusBar.h"
#include "core/store/ProgramPaths.h"
#include "core/tabs/TBrowserTab.h"
#include "core/engine/TDownloadManager.h"
#include "core/engine/TEngineProfile.h"
#include "core/instance/TEntryRoutine.h"
#include "core/engine/THistoryIndex.h"
#include "core/window/TKeyFilter.h"
#include "core/window/TLogoPanel.h"
#include "core/window/TMainMenu.h"
#include "core/dialogs/TPageDialogs.h"
#include "core/engine/TPageFullScreen.h"
#include "core/tabs/TPopupCapture.h"
#include "core/settings/TQWOptions.h"
#include "core/tabs/TSessionKeeper.h"
#include "core/instance/TStWMDataCopy.h"
#include "core/tabs/TStartupLoader.h"
#include "core/tabs/TTabSet.h"
#include "core/engine/TVostelBrowser.h"
#include "core/dialogs/TfrmCloseAll.h"
#include "core/dialogs/TfrmConfirm.h"
#include "core/dialogs/TfrmProperties.h"
#include "core/window/WindowPlacement.h"
#include "navigation/TAddressBand.h"
#include "navigation/TAddressController.h"
#include "navigation/TQWComboBox.h"
#include "navigation/TSearchLists.h"
#include "navigation/TfrmSearchEngine.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHash>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace
{
const QString ProductName = QStringLiteral("Quillwave");

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

QString TfrmMain::GetLangText(const QString& section, const QString& key) const
{
    return m_language->GetLangText(section, key);
}

QString TfrmMain::GetGlobalText(const QString& key) const
{
    return m_language->GetGlobalText(key);
}

void TfrmMain::FormCreate()
{
    // 1. The settings object comes first and goes last.
    m_options = std::make_unique<TQWOptions>();
    m_options->DeleteQWID();

    // 2. Language file, falling back to the default one.
    LoadLanguage();
    const auto langText = [this](const QString& section, const QString& key)
    { return GetLangText(section, key); };
    TPageDialogs::setTextLookup(langText);
    TDownloadManager::setTextLookup(langText);

    // 3. The hint handler is this window's status-tip handling (event()).
    BuildMenus();

    // 7. The system's message font.
    setFont(QApplication::font());

    // 9. Our token in the engine's user-agent string.
    TUserAgentToken::UpdateUserAgentToken(*m_options->Store(), true);
    if (m_realEngine)
        TEngineProfile::applySettings();

    // 10. Caption.
    const QString sponsor = m_options->SponsorCaption();
    setWindowTitle(sponsor.isEmpty() ? ProductName : sponsor + QStringLiteral(" - ") + ProductName);

    // 9. The pop-up capture list.
    m_popupCapture = new TPopupCapture(
        m_options.get(), [this](const QString& key) { return GetGlobalText(key); },
        [this](auto&&... args) { return Confirm(args...); },
        [this](const QString& caption, const QString& prompt, QString& text)
        { return InputQuery(caption, prompt, text); },
        this);
    m_popupCapture->LoadPopupList();

    // 11.-15., 20. Values whose owners read them here.
    ReadViewSettings();
    CreateAddressBand();

    // 12.-16., 19. The tab set and its first tab.
    CreateTabSet();
    WireMenus();

    // The remembered tabs are kept current while the program runs.
    m_sessionKeeper = new TSessionKeeper(
        m_tabSet, m_options.get(),
        [this](const QString& section, const QString& key) { return GetLangText(section, key); },
        [this](auto&&... args) { return Confirm(args...); }, this);
    m_sessionKeeper->BeginRun();

    m_language->TranslateComponent(this, QStringLiteral("MAIN"));

    // 18. The default-browser question.
    if (m_options->AskDefaultBrowser())
    {
        TDefaultBrowser::AskDefaultBrowserPrompt(
            [this](const QString& caption, bool checked, const QString& title,
                   const QString& prompt, const QString& okText, const QString& cancelText,
                   const QString& checkText)
            {
                const ConfirmResult r = ShowConfirm(this, font(), caption, checked, title, prompt,
                                                    okText, cancelText, checkText);
                return TDefaultBrowser::PromptAnswer{r.ok, r.checked};
            },
            [this](const QString& section, const QString& key)
            { return GetLangText(section, key); });
    }

    // 21. View settings that have a component now.
    sbStatus->setVisible(m_options->ViewStatusBar() || m_settings.FullScreen);

    // 22. Placement.
    PlaceWindow();

    // 25. Application-command keys, seen wherever the focus is.
    m_appCommandFilter = new TAppCommandFilter(this);
    connect(m_appCommandFilter, &TAppCommandFilter::command, this, &TfrmMain::appCommand);
    qApp->installEventFilter(m_appCommandFilter);

    connect(this, &TfrmMain::appCommand, this, &TfrmMain::RunAppCommand);

    // Keys reach the window's commands before a page can take them.
    m_keyFilter = new TKeyFilter([this] { return KeyState(); }, this);
    connect(m_keyFilter, &TKeyFilter::command, this, &TfrmMain::RunCommand);
    qApp->installEventFilter(m_keyFilter);

    wmCopyData = new TStWMDataCopy(this);
    connect(wmCopyData, &TStWMDataCopy::OnDataReceived, this, &TfrmMain::wmCopyDataDataReceived);

    // 24. The start-up pages open once the message loop runs.
    tmrLoadCoolbar = new QTimer(this);
    tmrLoadCoolbar->setObjectName(QStringLiteral("tmrLoadCoolbar"));
    tmrLoadCoolbar->setSingleShot(true);
    tmrLoadCoolbar->setInterval(1);
    connect(tmrLoadCoolbar, &QTimer::timeout, this, &TfrmMain::tmrLoadCoolbarTimer);
    tmrLoadCoolbar->start();
}

void TfrmMain::CreateTabSet()
{
    m_tabSet = new TTabSet(
        pcPage, this, m_factory, m_options.get(),
        [this](const QString& section, const QString& key) { return GetLangText(section, key); },
        [this](auto&&... args) { return Confirm(args...); }, this);
    m_tabSet->SetImages(TQWPageControl::defaultTabImages());
    connect(m_popupCapture, &TPopupCapture::closeKilledTabsRequested, m_tabSet,
            &TTabSet::CloseKilledTabs);
    connect(m_popupCapture, &TPopupCapture::closeTabRequested, m_tabSet, &TTabSet::CloseTab);

    // 14. The first tab.
    m_tabSet->AddTab();

    // 15. Several rows of tabs cannot be shifted.
    pcPage->SetMultipleLines(m_options->MultipleLines());
    // 16.
    ApplyTabColors();
    // 19.
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

void TfrmMain::ApplyTabColors()
{
    const QString scheme = m_options->TabColorScheme();
    const QPalette palette = pcPage->palette();
    if (scheme == QLatin1String("std"))
    {
        pcPage->SetInactiveTabColor(palette.color(QPalette::Button));
        pcPage->SetInactiveFontColor(palette.color(QPalette::WindowText));
    }
    else if (scheme == QLatin1String("rev"))
    {
        pcPage->SetInactiveTabColor(palette.color(QPalette::Inactive, QPalette::Highlight));
        pcPage->SetInactiveFontColor(palette.color(QPalette::HighlightedText));
    }
    else
    {
        // Stored as 0xBBGGRR.
        const auto fromStored = [](int value)
        { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); };
        pcPage->SetInactiveTabColor(fromStored(m_options->InactiveTabColor()));
        pcPage->SetInactiveFontColor(fromStored(m_options->InactiveFontColor()));
    }
}

void TfrmMain::tmrLoadCoolbarTimer()
{
    // A script address on the command line comes from another program.
    if (TAddressController::IsScriptAddress(m_options->CommandLine()))
    {
        m_options->SetCommandLine(QString());
        SetStatusText(GetGlobalText(QStringLiteral("ScriptAddressRefused")));
    }
    TStartupLoader(m_tabSet, m_options.get(), {},
                   [this] { return m_sessionKeeper->ShouldRestore(); })
        .Run();
    m_sessionKeeper->RestoreFinished();
    if (const QString reason = m_options->UnsavedReason(); !reason.isEmpty())
        SetStatusText(TLanguage::FormatText(GetGlobalText(QStringLiteral("SettingsNotSaved")), reason));
}

void TfrmMain::FirstActivation()
{
    m_activatedOnce = true;
    m_address->FirstActivation();
    m_tabSet->SetAutoRefresh(m_options->AutoRefresh());
    m_menu->CheckAutoRefresh(m_tabSet->AutoRefreshInterval());
}

void TfrmMain::LoadLanguage()
{
    const QString configured = m_options->LanguageFile();
    m_language = std::make_unique<TLanguage>();
    const QString fileName = m_language->LoadChosen(LanguageFolders::standard(), configured);
    if (fileName != configured)
        m_options->SetLanguageFile(fileName);
}

void TfrmMain::BuildMenus()
{
    pnlBands = new QWidget(this);
    pnlBands->setObjectName(QStringLiteral("pnlBands"));
    auto* bandsLayout = new QHBoxLayout(pnlBands);
    bandsLayout->setContentsMargins(0, 0, 0, 0);
    bandsLayout->setSpacing(0);

    BuildCommandTable();
    m_menu = new TMainMenu(this, [this](MainCommand command) { return CommandAvailable(command); });
    tbMenu = m_menu->Band();
    tbMenu->setParent(pnlBands);
    connect(m_menu, &TMainMenu::command, this, &TfrmMain::RunCommand);
    AddMenuDropCommands();
    pmMenuViewLanguages = m_menu->LanguagesMenu();
    m_languageMenu = new TLanguageMenu(this);
    connect(pmMenuViewLanguages, &QMenu::aboutToShow, this,
            [this]
            {
                m_languageMenu->RebuildLanguageMenu(pmMenuViewLanguages,
                                                    LanguageFolders::standard(),
                                                    m_options->LanguageFile());
            });
    connect(m_languageMenu, &TLanguageMenu::languageChosen, this, &TfrmMain::LanguageSwitch);
    // The submenu is filled each time it opens; until then it must still open.
    m_languageMenu->RebuildLanguageMenu(pmMenuViewLanguages, LanguageFolders::standard(),
                                        m_options->LanguageFile());

    pnlLogo = new TLogoPanel(pnlBands);
    auto* rows = new QVBoxLayout;
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    rows->addWidget(tbMenu);
    pnlAddress = new TAddressBand(THistoryIndex::defaultRoot(), pnlBands);
    pnlAddress->setObjectName(QStringLiteral("pnlAddress"));
    rows->addWidget(pnlAddress);
    bandsLayout->addLayout(rows, 1);
    bandsLayout->addWidget(pnlLogo);
    setMenuWidget(pnlBands);

    pcPage = new TQWPageControl(this);
    pcPage->setObjectName(QStringLiteral("pcPage"));
    setCentralWidget(pcPage);

    sbStatus = new TQWStatusBar(this);
    setStatusBar(sbStatus);
}

void TfrmMain::ReadViewSettings()
{
    TQWOptions& o = *m_options;
    MainWindowSettings& s = m_settings;
    s.DisableALTShortcuts = o.DisableALTShortcuts();
    s.VGCloseFirst = o.VGCloseFirst();
    s.SearchBar = o.SearchBar();
    s.MinToTray = o.MinToTray();
    s.VostelBarWidth = o.VostelBarWidth();
    s.VBAutoExpand = o.VBAutoExpand();
    s.ViewToolbar = o.ViewToolbar();
    s.ViewAddressBar = o.ViewAddressBar();
    s.ViewLinksBar = o.ViewLinksBar();
    s.FullScreen = o.FullScreen();
    s.ViewVostelBar = o.ViewVostelBar();
}

void TfrmMain::PlaceWindow()
{
    if (m_options->Maximized())
    {
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    if (m_settings.FullScreen)
        return;
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    const QRect stored(m_options->Left(), m_options->Top(), m_options->Width(),
                       m_options->Height());
    const QRect placed = WindowPlacement::visibleRect(stored, screens);
    move(placed.topLeft());
    resize(placed.size());
}

bool TfrmMain::FormCloseQuery()
{
    if (m_closeWithoutQuestions || !m_options->ConfirmShutdown())
        return true;
    const ConfirmResult answer = ShowConfirm(
        this, font(), GetLangText(QStringLiteral("CONFIRM"), QStringLiteral("ShutDown")), false,
        GetLangText(QStringLiteral("CONFIRM"), QStringLiteral("ShutDownPrompt")),
        GetLangText(QStringLiteral("CONFIRM"), QStringLiteral("Proceed")),
        GetGlobalText(QStringLiteral("Yes")), GetGlobalText(QStringLiteral("No")),
        GetLangText(QStringLiteral("CONFIRM"), QStringLiteral("DontAsk")));
    if (answer.checked)
        m_options->SetConfirmShutdown(false);
    // A termination that arrived while the question was open closed it; the
    // window is already closing, so Qt ignores the close() that came with it.
    return answer.ok || m_closeWithoutQuestions;
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

void TfrmMain::CloseWithoutQuestions()
{
    m_closeWithoutQuestions = true;
    // A modal question left open would keep its own loop running.
    if (QWidget* modal = QApplication::activeModalWidget())
        modal->close();
    close();
}

void TfrmMain::FormDestroy()
{
    if (m_destroyed)
        return;
    m_destroyed = true;
    // 1. The application-wide filters go first.
    if (m_appCommandFilter)
        qApp->removeEventFilter(m_appCommandFilter);
    if (m_keyFilter)
        qApp->removeEventFilter(m_keyFilter);

    // 2. Auto refresh, the pop-up list, our user-agent token, captured tabs.
    m_options->SetAutoRefresh(m_tabSet->AutoRefreshInterval());
    m_tabSet->RefreshTimer()->stop();
    // The capture writes its list back as it goes.
    const bool usePopupVostel = m_popupCapture->UsePopupVostel();
    delete m_popupCapture;
    m_popupCapture = nullptr;
    TUserAgentToken::UpdateUserAgentToken(*m_options->Store(), false);
    m_tabSet->CloseKilledTabs();

    m_address->SaveTypedUrls();

    // 3. Remembered tabs ("Last" mode), or none.
    QList<TBrowserTab*> tabs;
    for (int i = 0; i < m_tabSet->Count(); ++i)
        tabs << m_tabSet->Tab(i);
    TStartupLoader::WriteRememberedSites(*m_options, tabs);
    // The exit write has the last word on the list; the run ended normally.
    m_sessionKeeper->EndRun();

    // 4. View settings.
    WriteBackSettings(usePopupVostel);

    // 5. The settings object is freed last, after everything that may write.
    m_language.reset();
    m_options.reset();
}

void TfrmMain::WriteBackSettings(bool usePopupVostel)
{
    TQWOptions& o = *m_options;
    const MainWindowSettings& s = m_settings;
    o.SetDisableALTShortcuts(s.DisableALTShortcuts);
    o.SetOpenNewInForeground(m_tabSet->OpenNewInForeground);
    o.SetAddressNewWin(m_address->AddressNewWin);
    o.SetQuickSearchNewWin(m_address->QuickSearchNewWin);
    o.SetAutoCompleteStyle(m_address->AutoCompleteStyle());
    o.SetMinToTray(s.MinToTray);
    o.SetShowGo(pnlAddress->ShowGo());
    o.SetVBAutoExpand(s.VBAutoExpand);
    o.SetOpenNewAtEnd(m_tabSet->OpenNewAtEnd);
    o.SetVostelBarWidth(s.VostelBarWidth);
    o.SetLimitTitleLength(m_tabSet->TitleLimit());
    o.SetSearchBar(s.SearchBar);
    o.SetFullScreen(s.FullScreen);
    const bool maximized = !s.FullScreen && isMaximized();
    o.SetMaximized(maximized);
    if (!isMaximized() && !s.FullScreen)
    {
        const QRect frame = normalGeometry().isValid() ? normalGeometry() : geometry();
        o.SetTop(WindowPlacement::storedCoordinate(pos().y()));
        o.SetHeight(WindowPlacement::storedCoordinate(frame.height()));
        o.SetLeft(WindowPlacement::storedCoordinate(pos().x()));
        o.SetWidth(WindowPlacement::storedCoordinate(frame.width()));
    }
    o.SetUsePopupVostel(usePopupVostel);
    o.SetViewVostelBar(s.ViewVostelBar);
    o.SetViewToolbar(s.ViewToolbar);
    o.SetViewAddressBar(s.ViewAddressBar);
    o.SetViewLinksBar(s.ViewLinksBar);
    if (!s.FullScreen)
        o.SetViewStatusBar(!sbStatus->isHidden());
    o.SetVGCloseFirst(s.VGCloseFirst);
}

bool TfrmMain::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip)
    {
        // The application hint: the first panel shows the hint's long part.
        const auto* tip = static_cast<QStatusTipEvent*>(event);
        sbStatus->setPanelText(0, TQWStatusBar::statusTextForHint(tip->tip()));
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
    // A forwarded argument always brings the window to the front.
    RestoreAndRaise();
    switch (TEntryRoutine::forwardedAction(text))
    {
    case TEntryRoutine::ForwardedAction::Nothing:
    case TEntryRoutine::ForwardedAction::OpenGroup: // groups open once the group store exists
        break;
    case TEntryRoutine::ForwardedAction::OpenTab:
        OpenOutsideAddress(text);
        break;
    }
}

void TfrmMain::SetBusy(bool busy)
{
    pnlLogo->aniLogo->setActive(busy);
}

void TfrmMain::LanguageSwitch(const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile())
        return;
    m_options->SetLanguageFile(file.fileName());
    ShowConfirm(this, font(), ProductName, false, QString(),
                GetGlobalText(QStringLiteral("ChangeRestart")), GetGlobalText(QStringLiteral("OK")),
                QString(), QString());
}

// ITabHost: the window's side of what its tabs report.

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
    sbStatus->setPanelText(0, text);
}

void TfrmMain::SetProgressText(const QString& text)
{
    sbStatus->setPanelText(2, text);
}

void TfrmMain::RefreshIndicators()
{
    const TBrowserTab* tab = m_tabSet ? m_tabSet->GetActivePage() : nullptr;
    SetBusy(tab && tab->Busy);
    sbStatus->setPanelIcon(
        1, tab && tab->Secure ? QIcon(QStringLiteral(":/quillwave/tab-locked.svg")) : QIcon());
    RefreshBackForward();
}

void TfrmMain::RefreshBackForward()
{
    // The back and forward buttons live on the tool bar; the application
    // commands read the tab's own state when they run.
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

bool TfrmMain::InputQuery(const QString& caption, const QString& prompt, QString& text)
{
    bool ok = false;
    const QString answer =
        QInputDialog::getText(this, caption, prompt, QLineEdit::Normal, text, &ok);
    if (ok)
        text = answer;
    return ok;
}

void TfrmMain::RunAppCommand(TAppCommandFilter::AppCommand command)
{
    TBrowserTab* tab = m_tabSet->GetActivePage();
    if (!tab)
        return;
    switch (command)
    {
    case TAppCommandFilter::Back:
        tab->GoBack();
        break;
    case TAppCommandFilter::Forward:
        tab->GoForward();
        break;
    case TAppCommandFilter::Refresh:
        tab->Refresh();
        break;
    case TAppCommandFilter::Home:
        tab->GoHome();
        break;
    default: // the side bar's pages come with the side bar
        break;
    }
}

void TfrmMain::CreateAddressBand()
{
    m_address = new TAddressController(pnlAddress, this, m_options->Store(), this);
    m_address->LoadTypedUrls();
    m_address->LoadAddressCompletion(*m_options);
    m_address->SetAutoCompleteStyle(m_options->AutoCompleteStyle());
    m_address->ApplyShowGo(m_options->ShowGo());
    m_address->AddressNewWin = m_options->AddressNewWin();
    m_address->QuickSearchNewWin = m_options->QuickSearchNewWin();
    m_address->ReadQuickSearchList(*m_options);
}

void TfrmMain::OpenOutsideAddress(const QString& text)
{
    // A script address from another program would run in whatever page the
    // tab shows; only the user's own typing may do that.
    if (TAddressController::IsScriptAddress(text))
    {
        SetStatusText(GetGlobalText(QStringLiteral("ScriptAddressRefused")));
        return;
    }
    if (TBrowserTab* tab = m_tabSet->AddTab())
        tab->Navigate(text);
}

// IAddressHost

TBrowserTab* TfrmMain::GetActivePage() const
{
    return m_tabSet ? m_tabSet->GetActivePage() : nullptr;
}

bool TfrmMain::ShiftDown() const
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

ConfirmResult TfrmMain::Confirm(const QString& caption, bool checked, const QString& title,
                                const QString& prompt, const QString& okText,
                                const QString& cancelText, const QString& checkText)
{
    return ShowConfirm(this, font(), caption, checked, title, prompt, okText, cancelText,
                       checkText);
}

void TfrmMain::ShowError(const QString& text)
{
    QMessageBox::critical(this, QStringLiteral("Quillwave"), text);
}

// Menus and keys

bool TfrmMain::CommandAvailable(MainCommand command) const
{
    return m_commands.contains(command);
}

void TfrmMain::BuildCommandTable()
{
    // Every command this window carries out, once: the menus leave out the
    // items of the others and the key filter leaves their keys to the page.
    const auto onTabSet = [this](MainCommand command, void (TTabSet::*operation)())
    { m_commands.insert(command, [this, operation] { (m_tabSet->*operation)(); }); };
    onTabSet(MainCommand::NewTab, &TTabSet::actNewBlankExecute);
    onTabSet(MainCommand::NewHomeTab, &TTabSet::actNewHomeExecute);
    onTabSet(MainCommand::NewCurrentTab, &TTabSet::actNewCurrentExecute);
    onTabSet(MainCommand::CloseTab, &TTabSet::actCloseExecute);
    onTabSet(MainCommand::CloseAll, &TTabSet::actCloseAllExecute);
    onTabSet(MainCommand::CloseAllKeepCurrent, &TTabSet::pmCloseAllKeepCurrentClick);
    onTabSet(MainCommand::NextTab, &TTabSet::actNextBrowserTabExecute);
    onTabSet(MainCommand::PreviousTab, &TTabSet::actPreviousBrowserTabExecute);
    onTabSet(MainCommand::RefreshAll, &TTabSet::RefreshAll);
    m_commands.insert(MainCommand::StopAll,
                      [this]
                      {
                          m_tabSet->StopAll();
                          RefreshIndicators();
                      });
    m_commands.insert(MainCommand::NewClipboardTab, [this] { NewTabFromClipboard(); });
    m_commands.insert(MainCommand::CloseAllShowList, [this] { ShowCloseAllList(); });
    // For this run only: the stored setting stays what the user chose.
    m_commands.insert(MainCommand::FlipOpenInForeground,
                      [this] { m_tabSet->OpenNewInForeground = !m_tabSet->OpenNewInForeground; });
    m_commands.insert(MainCommand::FocusAddressBox, [this] { FocusAddressBox(); });
    m_commands.insert(MainCommand::WorkOffline, [this] { ToggleWorkOffline(); });
    m_commands.insert(MainCommand::About, [this] { ShowAbout(); });
    m_commands.insert(MainCommand::Exit, [this] { close(); });
    if (QFileInfo::exists(ProgramPaths::helpIndexFile()))
        m_commands.insert(MainCommand::HelpTopics, [this] { OpenHelp(); });

    // Commands on the active tab do nothing without one.
    const auto onTab = [this](MainCommand command, std::function<void(TBrowserTab*)> operation)
    {
        m_commands.insert(command,
                          [this, operation]
                          {
                              if (TBrowserTab* tab = GetActivePage())
                                  operation(tab);
                          });
    };
    onTab(MainCommand::Back,
          [](TBrowserTab* tab)
          {
              if (tab->CanGoBack)
                  tab->GoBack();
          });
    onTab(MainCommand::Forward,
          [](TBrowserTab* tab)
          {
              if (tab->CanGoForward)
                  tab->GoForward();
          });
    onTab(MainCommand::Home, [](TBrowserTab* tab) { tab->GoHome(); });
    onTab(MainCommand::Stop,
          [this](TBrowserTab* tab)
          {
              tab->Stop();
              RefreshIndicators();
          });
    onTab(MainCommand::Refresh,
          [this](TBrowserTab* tab)
          {
              tab->Refresh(false);
              RefreshIndicators();
          });
    onTab(MainCommand::RefreshBypassCache,
          [this](TBrowserTab* tab)
          {
              tab->Refresh(true);
              RefreshIndicators();
          });
    onTab(MainCommand::FollowNextLink, [](TBrowserTab* tab) { tab->FollowNextLink(); });
    onTab(MainCommand::StickyTitle,
          [](TBrowserTab* tab)
          {
              if (tab->StickyName().isEmpty())
                  tab->PromptStickyName();
              else
                  tab->SetStickyName(QString());
          });
    onTab(MainCommand::ToggleLock, [](TBrowserTab* tab) { tab->SetLocked(!tab->Locked()); });
    onTab(MainCommand::AddToPopupList,
          [this](TBrowserTab* tab)
          {
              m_popupCapture->AddToPopupList(tab);
              m_popupCapture->LoadPopupList();
          });
    onTab(MainCommand::Properties,
          [this](TBrowserTab* tab)
          {
              if (tab->Browser())
                  TfrmProperties::ShowForControl(tab->Browser(), m_language.get(), this);
          });
    const auto onPageEdit = [&onTab](MainCommand command, EditCommand edit)
    {
        onTab(command,
              [command, edit](TBrowserTab* tab)
              {
                  if (!tab->Browser())
                      return;
                  // The page takes the command where its focus is; a paste
                  // first brings the page forward.
                  if (command == MainCommand::Paste)
                      tab->FocusPage();
                  tab->Browser()->ExecEdit(edit);
              });
    };
    onPageEdit(MainCommand::Cut, EditCut);
    onPageEdit(MainCommand::Copy, EditCopy);
    onPageEdit(MainCommand::Paste, EditPaste);
    onPageEdit(MainCommand::SelectAll, EditSelectAll);
}

void TfrmMain::AddMenuDropCommands()
{
    // A menu can be dropped from the keyboard once its button is on the bar.
    for (const MainCommand command :
         {MainCommand::DropFileMenu, MainCommand::DropEditMenu, MainCommand::DropViewMenu,
          MainCommand::DropFavoritesMenu, MainCommand::DropVostelGroupsMenu,
          MainCommand::DropToolsMenu, MainCommand::DropSecurityMenu, MainCommand::DropHelpMenu,
          MainCommand::DropTabsMenu})
    {
        if (!m_menu->MenuButton(command))
            continue;
        m_commands.insert(command,
                          [this, command]
                          {
                              // The check mark follows the engine, whoever
                              // changed it last.
                              if (command == MainCommand::DropFileMenu)
                                  m_menu->WorkOfflineItem()->setChecked(
                                      TEngineProfile::workOffline());
                              m_menu->DropMenu(command);
                          });
    }
}

TKeyDecision::WindowState TfrmMain::KeyState() const
{
    TKeyDecision::WindowState state;
    state.mainWindowInFront = QApplication::activeWindow() == this &&
                              !QApplication::activePopupWidget() &&
                              !QApplication::activeModalWidget();
    state.altShortcutsDisabled = m_settings.DisableALTShortcuts;
    state.hasActiveTab = GetActivePage() != nullptr;
    const QWidget* focus = QApplication::focusWidget();
    const auto* combo = qobject_cast<const QComboBox*>(focus);
    state.textBoxFocused =
        (combo && combo->isEditable()) || qobject_cast<const QLineEdit*>(focus) ||
        qobject_cast<const QTextEdit*>(focus) || qobject_cast<const QPlainTextEdit*>(focus) ||
        qobject_cast<const QAbstractSpinBox*>(focus);
    state.pageFullScreen = TPageFullScreen::isActive(this);
    state.available = [this](MainCommand command) { return CommandAvailable(command); };
    return state;
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

    QAction* statusBar = m_menu->StatusBarItem();
    QAction* addressBar = m_menu->AddressBarItem();
    connect(statusBar, &QAction::triggered, this, [this](bool on) { sbStatus->setVisible(on); });
    connect(addressBar, &QAction::triggered, this,
            [this](bool on)
            {
                m_settings.ViewAddressBar = on;
                pnlAddress->setVisible(on);
            });
    connect(m_menu->ViewMenu(), &QMenu::aboutToShow, this,
            [this, statusBar, addressBar]
            {
                statusBar->setChecked(!sbStatus->isHidden());
                addressBar->setChecked(!pnlAddress->isHidden());
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

void TfrmMain::RunCommand(MainCommand command)
{
    if (m_destroyed || !m_tabSet)
        return;
    if (const auto run = m_commands.find(command); run != m_commands.end())
        (*run)();
}

void TfrmMain::FocusAddressBox()
{
    if (pnlAddress->isHidden())
        return;
    QComboBox* box = pnlAddress->cboAddress;
    box->setFocus(Qt::ShortcutFocusReason);
    if (QLineEdit* edit = box->lineEdit())
        edit->selectAll();
}

void TfrmMain::NewTabFromClipboard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!TMainMenu::HoldsText(data))
        return;
    const QString text = data->text().trimmed();
    // Text on the clipboard comes from anywhere: a script address in it
    // would run in the new tab's page.
    if (TAddressController::IsScriptAddress(text))
    {
        SetStatusText(GetGlobalText(QStringLiteral("ScriptAddressRefused")));
        return;
    }
    m_address->OpenAddress(text, true);
}

void TfrmMain::ShowCloseAllList()
{
    TfrmCloseAll dialog(m_tabSet, m_language.get(), this);
    dialog.exec();
}

void TfrmMain::ToggleWorkOffline()
{
    QAction* item = m_menu->WorkOfflineItem();
    TEngineProfile::setWorkOffline(item->isChecked());
}

void TfrmMain::OpenHelp()
{
    const QString index = ProgramPaths::helpIndexFile();
    if (!QFileInfo::exists(index))
        return;
    if (TBrowserTab* tab = m_tabSet->AddTab())
        tab->Navigate(QUrl::fromLocalFile(index).toString());
}

void TfrmMain::ShowAbout()
{
    const QStringList lines = {QStringLiteral("Quillwave 6.2.0"),
                               QStringLiteral("Copyright \u00A9 2026 the Quillwave developers."),
                               QString(),
                               GetGlobalText(QStringLiteral("IEVersion")) + QStringLiteral(": ") +
                                   TEngineProfile::engineVersionText()};
    ShowConfirm(this, font(), ProductName, false, QString(), lines.join(QLatin1Char('\n')),
                GetGlobalText(QStringLiteral("OK")), QString(), QString());
}

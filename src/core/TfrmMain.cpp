#include "core/TfrmMain.h"

#include "chrome/TDefaultBrowser.h"
#include "chrome/TLanguage.h"
#include "chrome/TLanguageMenu.h"
#include "chrome/TUserAgentToken.h"
#include "components/TQWAnimate.h"
#include "components/TQWStatusBar.h"
#include "core/ProgramPaths.h"
#include "core/TLogoPanel.h"
#include "core/TQWOptions.h"
#include "core/TStWMDataCopy.h"
#include "core/TfrmConfirm.h"
#include "core/WindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QScreen>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>

namespace
{
const QString ProductName = QStringLiteral("Quillwave");

QToolButton* addMenuButton(QToolBar* bar, const QString& name, const QString& captionKey,
                           QMenu* menu)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setText(captionKey);
    button->setToolTip(captionKey + QStringLiteral("Hint"));
    button->setStatusTip(captionKey + QStringLiteral("Hint"));
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    button->setMenu(menu);
    bar->addWidget(button);
    return button;
}

QAction* addMenuItem(QMenu* menu, const QString& name, const QString& captionKey)
{
    auto* action = menu->addAction(captionKey);
    action->setObjectName(name);
    action->setToolTip(captionKey + QStringLiteral("Hint"));
    action->setStatusTip(captionKey + QStringLiteral("Hint"));
    return action;
}
} // namespace

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent)
{
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

    // 3. The hint handler is this window's status-tip handling (event()).
    BuildMenus();

    // 7. The system's message font.
    setFont(QApplication::font());

    // 9. Our token in the engine's user-agent string.
    TUserAgentToken::UpdateUserAgentToken(*m_options->Store(), true);

    // 10. Caption.
    const QString sponsor = m_options->SponsorCaption();
    setWindowTitle(sponsor.isEmpty() ? ProductName : sponsor + QStringLiteral(" - ") + ProductName);

    // 11.-15., 20. Values whose owners read them here.
    ReadViewSettings();

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

    wmCopyData = new TStWMDataCopy(this);
    connect(wmCopyData, &TStWMDataCopy::OnDataReceived, this, &TfrmMain::wmCopyDataDataReceived);
}

void TfrmMain::LoadLanguage()
{
    const QString folder = ProgramPaths::languagesFolder();
    const QString configured = m_options->LanguageFile();
    const QString fileName = TLanguage::ResolveFileName(folder, configured);
    if (fileName != configured)
        m_options->SetLanguageFile(fileName);
    m_language = std::make_unique<TLanguage>();
    m_language->Load(QDir(folder).filePath(fileName));
}

void TfrmMain::BuildMenus()
{
    pnlBands = new QWidget(this);
    pnlBands->setObjectName(QStringLiteral("pnlBands"));
    auto* bandsLayout = new QHBoxLayout(pnlBands);
    bandsLayout->setContentsMargins(0, 0, 0, 0);
    bandsLayout->setSpacing(0);

    tbMenu = new QToolBar(pnlBands);
    tbMenu->setObjectName(QStringLiteral("tbMenu"));
    tbMenu->setMovable(false);
    tbMenu->setFloatable(false);
    tbMenu->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tbMenu->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0; }"));

    pmFile = new QMenu(this);
    pmFile->setObjectName(QStringLiteral("pmFile"));
    QAction* mnuExit =
        addMenuItem(pmFile, QStringLiteral("mnuExit"), QStringLiteral("__MenuFileExit"));
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);

    pmView = new QMenu(this);
    pmView->setObjectName(QStringLiteral("pmView"));
    pmMenuViewLanguages = new QMenu(pmView);
    pmMenuViewLanguages->setObjectName(QStringLiteral("pmMenuViewLanguages"));
    QAction* languages = pmView->addMenu(pmMenuViewLanguages);
    languages->setObjectName(QStringLiteral("pmMenuViewLanguagesItem"));
    languages->setText(QStringLiteral("__MenuViewLanguages"));
    languages->setToolTip(QStringLiteral("__MenuViewLanguagesHint"));
    languages->setStatusTip(QStringLiteral("__MenuViewLanguagesHint"));
    m_languageMenu = new TLanguageMenu(this);
    connect(pmMenuViewLanguages, &QMenu::aboutToShow, this,
            [this]
            {
                m_languageMenu->RebuildLanguageMenu(pmMenuViewLanguages,
                                                    ProgramPaths::languagesFolder(),
                                                    m_options->LanguageFile());
            });
    connect(m_languageMenu, &TLanguageMenu::languageChosen, this, &TfrmMain::LanguageSwitch);
    // The submenu is filled each time it opens; until then it must still open.
    m_languageMenu->RebuildLanguageMenu(pmMenuViewLanguages, ProgramPaths::languagesFolder(),
                                        m_options->LanguageFile());

    addMenuButton(tbMenu, QStringLiteral("tbMenuFile"), QStringLiteral("__MenuFile"), pmFile);
    addMenuButton(tbMenu, QStringLiteral("tbMenuView"), QStringLiteral("__MenuView"), pmView);

    pnlLogo = new TLogoPanel(pnlBands);
    // The close buttons act on tabs; until the tab set is wired they stay off.
    pnlLogo->spdClose->setEnabled(false);
    pnlLogo->spdCloseAll->setEnabled(false);
    bandsLayout->addWidget(tbMenu, 1);
    bandsLayout->addWidget(pnlLogo);
    setMenuWidget(pnlBands);

    auto* pnlPage = new QWidget(this);
    pnlPage->setObjectName(QStringLiteral("pnlPage"));
    setCentralWidget(pnlPage);

    sbStatus = new TQWStatusBar(this);
    setStatusBar(sbStatus);
}

void TfrmMain::ReadViewSettings()
{
    TQWOptions& o = *m_options;
    MainWindowSettings& s = m_settings;
    s.ShowGo = o.ShowGo();
    s.DisableALTShortcuts = o.DisableALTShortcuts();
    s.AutoCompleteStyle = o.AutoCompleteStyle();
    s.AddressNewWin = o.AddressNewWin();
    s.QuickSearchNewWin = o.QuickSearchNewWin();
    s.OpenNewAtEnd = o.OpenNewAtEnd();
    s.VGCloseFirst = o.VGCloseFirst();
    s.SearchBar = o.SearchBar();
    s.MinToTray = o.MinToTray();
    s.VostelBarWidth = o.VostelBarWidth();
    s.UsePopupVostel = o.UsePopupVostel();
    s.LimitTitleLength = o.LimitTitleLength();
    s.MultipleLines = o.MultipleLines();
    s.FavoritesNewWin = o.FavoritesNewWin();
    s.HistoryNewWin = o.HistoryNewWin();
    s.SearchNewWin = o.SearchNewWin();
    s.LinksNewWin = o.LinksNewWin();
    s.NewAction = qBound(0, o.NewAction(), 2);
    s.PopupVostelNotify = o.PopupVostelNotify();
    s.VBAutoExpand = o.VBAutoExpand();
    s.OpenNewInForeground = o.OpenNewInForeground();
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
    return answer.ok;
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

    // 2. Our user-agent token lives only while we run.
    TUserAgentToken::UpdateUserAgentToken(*m_options->Store(), false);

    // 4. View settings.
    WriteBackSettings();

    // 5. The settings object is freed last, after everything that may write.
    m_language.reset();
    m_options.reset();
}

void TfrmMain::WriteBackSettings()
{
    TQWOptions& o = *m_options;
    const MainWindowSettings& s = m_settings;
    o.SetDisableALTShortcuts(s.DisableALTShortcuts);
    o.SetOpenNewInForeground(s.OpenNewInForeground);
    o.SetAddressNewWin(s.AddressNewWin);
    o.SetQuickSearchNewWin(s.QuickSearchNewWin);
    o.SetAutoCompleteStyle(s.AutoCompleteStyle);
    o.SetMinToTray(s.MinToTray);
    o.SetShowGo(s.ShowGo);
    o.SetVBAutoExpand(s.VBAutoExpand);
    o.SetOpenNewAtEnd(s.OpenNewAtEnd);
    o.SetVostelBarWidth(s.VostelBarWidth);
    o.SetLimitTitleLength(s.LimitTitleLength);
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
    o.SetUsePopupVostel(s.UsePopupVostel);
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
    return QMainWindow::event(event);
}

void TfrmMain::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange)
        m_windowActive = isActiveWindow();
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
    // A forwarded argument always brings the window to the front; opening it
    // as a page or a group needs the tab set and the group store.
    RestoreAndRaise();
    Q_UNUSED(text);
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

#include "core/window/MainBars.h"

#include "chrome/CoolBarBands.h"
#include "chrome/MenuPlaceholders.h"
#include "chrome/TLanguage.h"
#include "chrome/TQWToolBar.h"
#include "chrome/TfrmCustomizeToolbar.h"
#include "chrome/ToolbarButtonTable.h"
#include "chrome/ToolbarLayout.h"
#include "components/FlatToolButton.h"
#include "components/TCoolBar.h"
#include "components/TMenuBand.h"
#include "core/dialogs/WindowServices.h"
#include "core/settings/TQWOptions.h"
#include "core/store/ProgramPaths.h"
#include "core/store/RegistryStore.h"
#include "core/tabs/TBrowserTab.h"
#include "core/window/MainFavorites.h"
#include "core/window/MainFullScreen.h"
#include "core/window/MainViewSettings.h"
#include "core/window/TLogoPanel.h"
#include "core/window/TMainMenu.h"
#include "core/window/TfrmMain.h"
#include "groups/TKoncoBar.h"
#include "navigation/TAddressBand.h"
#include "navigation/TAddressController.h"
#include "navigation/TSearchMenus.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QStatusBar>

namespace
{
// The bands in their design-time order, with their sizes and row breaks.
struct BandDesign
{
    const char* name;
    int minHeight;
    int minWidth;
    int width;
    bool breakBefore;
};
constexpr BandDesign MenuDesign{"Menu", 23, 45, 626, false};
constexpr BandDesign ToolDesign{"Tool", 27, 40, 626, true};
constexpr BandDesign AddressDesign{"Address", 23, 58, 551, true};
constexpr BandDesign LinksDesign{"Links", 23, 17, 73, false};

TCoolBar::BandOptions optionsOf(const BandDesign& design, const QString& text = QString())
{
    TCoolBar::BandOptions options;
    options.minHeight = design.minHeight;
    options.minWidth = design.minWidth;
    options.width = design.width;
    options.breakBefore = design.breakBefore;
    options.text = text;
    return options;
}

using Buttons = ToolbarButtonTable;
} // namespace

MainBars::MainBars(TfrmMain* window, TMenuBand* menuBand, TAddressBand* address, QWidget* logo)
    : QObject(window), m_window(window)
{
    pnlTop = new QWidget(window);
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    auto* layout = new QHBoxLayout(pnlTop);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    cbCoolbar = new TCoolBar(pnlTop);
    cbCoolbar->setObjectName(QStringLiteral("cbCoolbar"));
    layout->addWidget(cbCoolbar, 1);
    layout->addWidget(logo);
    if (auto* logoPanel = qobject_cast<TLogoPanel*>(logo))
        connect(cbCoolbar, &TCoolBar::heightChanged, logoPanel,
                &TLogoPanel::setBandContainerHeight);

    CreateToolbar();
    AddBands(menuBand, address);
    BuildCustomizeMenu();
    connect(cbCoolbar, &TCoolBar::contextMenuRequested, this,
            [this](const QPoint& at) { pmCustomize->popup(at); });
}

void MainBars::AddBands(TMenuBand* menuBand, TAddressBand* address)
{
    pnlMenuBar = menuBand;
    pnlAddress = address;
    cbCoolbar->AddBand(menuBand, QString::fromLatin1(MenuDesign.name), optionsOf(MenuDesign));
    cbCoolbar->AddBand(tbMain, QString::fromLatin1(ToolDesign.name), optionsOf(ToolDesign));
    cbCoolbar->AddBand(address, QString::fromLatin1(AddressDesign.name), optionsOf(AddressDesign));
    const MainViewSettings* view = m_window->ViewSettings();
    cbCoolbar->SetBandVisible(tbMain, view->ViewToolbar());
    cbCoolbar->SetBandVisible(address, view->ViewAddressBar());
}

void MainBars::AddLinksBand(QWidget* links)
{
    pnlLinks = links;
    cbCoolbar->AddBand(links, QString::fromLatin1(LinksDesign.name),
                       optionsOf(LinksDesign, QStringLiteral("~~Links")));
    cbCoolbar->SetBandVisible(links, m_window->ViewSettings()->ViewLinksBar());
}

void MainBars::CreateToolbar()
{
    tbMain = new TQWToolBar(m_window->Services(), m_window);
    tbMain->setObjectName(QStringLiteral("tbMain"));
    tbMain->SetAvailability([this](MainCommand command)
                            { return m_window->CommandAvailable(command); });
    tbMain->LoadToolbarLayout(ToolbarFile());
    connect(tbMain, &TQWToolBar::command, m_window, &TfrmMain::RunCommand);
    connect(tbMain, &TQWToolBar::customizeRequested, this, &MainBars::CustomizeToolbar);
}

QString MainBars::ToolbarFile() const
{
    return QDir(ProgramPaths::programFolder()).filePath(ToolbarLayout::FileName());
}

void MainBars::BuildCustomizeMenu()
{
    pmCustomize = new QMenu(m_window);
    pmCustomize->setObjectName(QStringLiteral("pmCustomize"));
    pmCustomizeViewAddressBar =
        AddPlaceholderItem(pmCustomize, QStringLiteral("pmCustomizeViewAddressBar"),
                           QStringLiteral("__CustomizeViewAddressBar"));
    pmCustomizeViewToolbar =
        AddPlaceholderItem(pmCustomize, QStringLiteral("pmCustomizeViewToolbar"),
                           QStringLiteral("__CustomizeViewToolbar"));
    pmCustomizeViewMenubar =
        AddPlaceholderItem(pmCustomize, QStringLiteral("pmCustomizeViewMenubar"),
                           QStringLiteral("__CustomizeViewMenubar"));
    // The menu bar is offered only in full screen, where it may be hidden.
    pmCustomizeViewMenubar->setVisible(false);
    pmCustomizeLinksBar = AddPlaceholderItem(pmCustomize, QStringLiteral("pmCustomizeLinksBar"),
                                             QStringLiteral("__CustomizeViewLinksBar"));
    pmCustomize->addSeparator();
    pmCustomizeToolbarDialog =
        AddPlaceholderItem(pmCustomize, QStringLiteral("pmCustomizeToolbarDialog"),
                           QStringLiteral("__CustomizeToolbar"));
    pmCustomizeOrganizeLinks =
        AddPlaceholderItem(pmCustomize, QStringLiteral("pmCustomizeOrganizeLinks"),
                           QStringLiteral("__CustomizeLinks"));
    mnuClearAddr = AddPlaceholderItem(pmCustomize, QStringLiteral("mnuClearAddr"),
                                      QStringLiteral("__CustomizeClearAddresses"));
    for (QAction* bar : {pmCustomizeViewAddressBar, pmCustomizeViewToolbar, pmCustomizeViewMenubar,
                         pmCustomizeLinksBar})
        bar->setCheckable(true);

    connect(pmCustomize, &QMenu::aboutToShow, this,
            [this]
            {
                for (const Bar bar : {Bar::Address, Bar::Tool, Bar::Menu, Bar::Links})
                    if (QAction* item = CustomizeItem(bar))
                        item->setChecked(Shown(bar));
                pmCustomizeLinksBar->setEnabled(pnlLinks != nullptr);
                pmCustomizeOrganizeLinks->setEnabled(pnlLinks != nullptr);
            });
    for (const Bar bar : {Bar::Address, Bar::Tool, Bar::Links})
        connect(CustomizeItem(bar), &QAction::triggered, this,
                [this, bar](bool on) { SetShown(bar, on); });
    connect(pmCustomizeViewMenubar, &QAction::triggered, this,
            [this](bool on) { m_fullScreen->MenuBarToggled(on); });
    connect(pmCustomizeToolbarDialog, &QAction::triggered, this, &MainBars::CustomizeToolbar);
    connect(mnuClearAddr, &QAction::triggered, this,
            [this] { m_window->Address()->mnuToolsFavsClick(); });
    connect(pmCustomizeOrganizeLinks, &QAction::triggered, this,
            [this] { m_window->Favorites()->OrganizeLinks(); });
}

void MainBars::Wire(MainFullScreen* fullScreen)
{
    m_fullScreen = fullScreen;
    WireViewMenu();
    WireToolbarMenus();
    tbMain->RefreshAvailability();
    SetShowColor(m_window->Options()->ToolbarShowColor());
    QWidget* sideBar = m_window->KoncoBar();
    m_sideBar = sideBar;
    sideBar->installEventFilter(this);
    SetSideBarShown(!sideBar->isHidden());
}

bool MainBars::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_sideBar &&
        (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent))
        SetSideBarShown(event->type() == QEvent::ShowToParent);
    return QObject::eventFilter(watched, event);
}

void MainBars::WireViewMenu()
{
    TMainMenu* menu = m_window->MainMenu();
    const MainViewSettings* view = m_window->ViewSettings();
    menu->ToolbarItem()->setChecked(view->ViewToolbar());
    menu->AddressBarItem()->setChecked(view->ViewAddressBar());
    menu->LinksBarItem()->setChecked(view->ViewLinksBar());
    menu->StatusBarItem()->setChecked(!m_window->statusBar()->isHidden());
    for (const Bar bar : {Bar::Tool, Bar::Address, Bar::Links})
        connect(ViewItem(bar), &QAction::triggered, this,
                [this, bar](bool on) { SetShown(bar, on); });
    connect(menu->MenuBarItem(), &QAction::triggered, this,
            [this](bool on) { m_fullScreen->MenuBarToggled(on); });
    connect(menu->StatusBarItem(), &QAction::triggered, this,
            [this](bool on) { m_fullScreen->ShowStatusBar(on); });
    connect(menu->ViewMenu(), &QMenu::aboutToShow, this,
            [this, menu]
            {
                menu->StatusBarItem()->setChecked(!m_window->statusBar()->isHidden());
                for (const Bar bar : {Bar::Tool, Bar::Address, Bar::Links, Bar::Menu})
                    ViewItem(bar)->setChecked(Shown(bar));
                menu->LinksBarItem()->setEnabled(pnlLinks != nullptr);
            });
}

void MainBars::WireToolbarMenus()
{
    tbMain->SetDropDownMenu(Buttons::NewButton, m_window->MainMenu()->NewTabMenu());

    pmSearch = new QMenu(m_window);
    pmSearch->setObjectName(QStringLiteral("pmSearch"));
    auto* organize = new QAction(QStringLiteral("__MenuToolsOrganizeSearchEngines"), pmSearch);
    organize->setObjectName(QStringLiteral("mnuOrganizeSearchEngines"));
    organize->setStatusTip(QStringLiteral("__MenuToolsOrganizeSearchEnginesHint"));
    pmSearch->addAction(organize);
    pmSearch->addSeparator();
    connect(organize, &QAction::triggered, m_window,
            [this] { m_window->RunCommand(MainCommand::OrganizeSearchEngines); });
    TSearchMenus::RebuildEnginesOnShow(pmSearch, m_window->Options(),
                                       [this](const QString& address)
                                       { m_window->Favorites()->OpenFavorite(address); });
    tbMain->SetDropDownMenu(Buttons::SearchButton, pmSearch);
}

void MainBars::SetFontMenu(QMenu* menu)
{
    tbMain->SetDropDownMenu(Buttons::FontButton, menu);
}

void MainBars::SetShowColor(bool showColor)
{
    tbMain->SetShowColor(showColor);
    ShowFlatButtonColours(m_window, showColor);
}

QWidget* MainBars::BandOf(Bar bar) const
{
    switch (bar)
    {
    case Bar::Menu:
        return pnlMenuBar;
    case Bar::Tool:
        return tbMain;
    case Bar::Address:
        return pnlAddress;
    case Bar::Links:
        return pnlLinks;
    }
    return nullptr;
}

QAction* MainBars::ViewItem(Bar bar) const
{
    TMainMenu* menu = m_window->MainMenu();
    switch (bar)
    {
    case Bar::Menu:
        return menu->MenuBarItem();
    case Bar::Tool:
        return menu->ToolbarItem();
    case Bar::Address:
        return menu->AddressBarItem();
    case Bar::Links:
        return menu->LinksBarItem();
    }
    return nullptr;
}

QAction* MainBars::CustomizeItem(Bar bar) const
{
    switch (bar)
    {
    case Bar::Menu:
        return pmCustomizeViewMenubar;
    case Bar::Tool:
        return pmCustomizeViewToolbar;
    case Bar::Address:
        return pmCustomizeViewAddressBar;
    case Bar::Links:
        return pmCustomizeLinksBar;
    }
    return nullptr;
}

bool MainBars::Shown(Bar bar) const
{
    const QWidget* band = BandOf(bar);
    return band && cbCoolbar->BandVisible(band);
}

void MainBars::SetShown(Bar bar, bool shown)
{
    if (QWidget* band = BandOf(bar))
        cbCoolbar->SetBandVisible(band, shown);
    ViewItem(bar)->setChecked(shown);
    CustomizeItem(bar)->setChecked(shown);
    MainViewSettings* view = m_window->ViewSettings();
    switch (bar)
    {
    case Bar::Tool:
        view->SetViewToolbar(shown);
        break;
    case Bar::Address:
        view->SetViewAddressBar(shown);
        break;
    case Bar::Links:
        view->SetViewLinksBar(shown);
        break;
    case Bar::Menu:
        break;
    }
}

void MainBars::LoadBandLayout()
{
    CoolBarBands::Load(*cbCoolbar, *m_window->Options()->Store());
    ApplyBandsFromViewMenu();
}

void MainBars::SaveBandLayout() const
{
    if (!CoolBarBands::Save(*cbCoolbar, *m_window->Options()->Store()))
        qWarning("The band layout could not be stored: %s",
                 qPrintable(m_window->Options()->Store()->lastError()));
}

void MainBars::SaveToolbarLayout()
{
    QString error;
    if (!tbMain->SaveToolbarLayout(ToolbarFile(), &error))
        m_window->ShowMessage(error);
}

void MainBars::CustomizeToolbar()
{
    TfrmCustomizeToolbar::Customize(tbMain, m_window->Language(), m_window);
    // Whichever way the dialog ended, the file says what the toolbar shows.
    SaveToolbarLayout();
}

void MainBars::RefreshBackForward(const TBrowserTab* tab)
{
    tbMain->SetButtonEnabled(Buttons::BackButton, tab && tab->CanGoBack);
    tbMain->SetButtonEnabled(Buttons::ForwardButton, tab && tab->CanGoForward);
    tbMain->SetButtonEnabled(Buttons::StopButton, tab && tab->Busy);
}

void MainBars::SetSideBarShown(bool shown)
{
    tbMain->SetDown(Buttons::SideBarButton, shown);
}

bool MainBars::BandVisible(Band band) const
{
    return Shown(band == MenuBand ? Bar::Menu : Bar::Tool);
}

void MainBars::SetBandVisible(Band band, bool visible)
{
    cbCoolbar->SetBandVisible(band == MenuBand ? pnlMenuBar : tbMain, visible);
}

QAction* MainBars::BarItem(Item item) const
{
    TMainMenu* menu = m_window->MainMenu();
    switch (item)
    {
    case ViewToolbarItem:
        return menu->ToolbarItem();
    case CustomizeViewToolbarItem:
        return pmCustomizeViewToolbar;
    case ViewMenuBarItem:
        return menu->MenuBarItem();
    case CustomizeViewMenubarItem:
        return pmCustomizeViewMenubar;
    case ViewStatusBarItem:
        return menu->StatusBarItem();
    case FullScreenItem:
        return menu->FullScreenItem();
    }
    return nullptr;
}

void MainBars::SetFullScreenButtonDown(bool down)
{
    tbMain->SetDown(Buttons::FullScreenButton, down);
}

void MainBars::ApplyBandsFromViewMenu()
{
    for (const Bar bar : {Bar::Tool, Bar::Address, Bar::Links})
        if (QWidget* band = BandOf(bar))
            cbCoolbar->SetBandVisible(band, ViewItem(bar)->isChecked());
}

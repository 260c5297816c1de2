#include "core/window/MainSideBar.h"

#include "components/TQWPageControl.h"
#include "core/settings/TQWOptions.h"
#include "core/store/ProgramPaths.h"
#include "core/window/MainCommands.h"
#include "core/window/MainViewSettings.h"
#include "core/window/TMainMenu.h"
#include "core/window/TfrmMain.h"

#include <QAction>
#include <QMenu>
#include <QSplitter>

#include <algorithm>

namespace
{
MainCommand commandOf(TKoncoBar::Page page)
{
    switch (page)
    {
    case TKoncoBar::Favorites:
        return MainCommand::SideBarFavorites;
    case TKoncoBar::History:
        return MainCommand::SideBarHistory;
    case TKoncoBar::Search:
        return MainCommand::SideBarSearch;
    case TKoncoBar::VostelGroups:
        break;
    }
    return MainCommand::SideBarVostelGroups;
}
} // namespace

MainSideBar::MainSideBar(TfrmMain* window, QWidget* pages, MainCommands& commands)
    : m_width(window->ViewSettings()->VostelBarWidth())
{
    m_splitter = new QSplitter(Qt::Horizontal, window);
    m_splitter->setObjectName(QStringLiteral("splSideBar"));
    m_splitter->setChildrenCollapsible(false);
    m_bar = new TKoncoBar(window->Services(), ProgramPaths::vostelGroupsFolder(), m_splitter);
    m_splitter->addWidget(m_bar);
    m_splitter->addWidget(pages);
    // A wider window widens the tabs; the bar keeps its width.
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    window->setCentralWidget(m_splitter);
    QObject::connect(m_splitter, &QSplitter::splitterMoved, m_bar, [this] { rememberWidth(); });

    const TQWOptions& options = *window->Options();
    m_bar->setTabsAtBottom(options.TabsDown());
    m_bar->pcKoncoBar->ApplyColorScheme(options.TabColorScheme(), options.InactiveTabColor(),
                                        options.InactiveFontColor());
    m_bar->setAutoExpand(window->ViewSettings()->VBAutoExpand());
    m_bar->setHidden(true);
    setShown(window->ViewSettings()->ViewVostelBar());

    commands.add(MainCommand::ToggleSideBar, [this] { setShown(!shown()); });
    commands.add(MainCommand::SideBarVostelGroups, [this] { showOn(TKoncoBar::VostelGroups); });
    // A page that has nothing to show yet has no command either.
    QObject::connect(m_bar, &TKoncoBar::pageContentAdded, m_bar,
                     [this, &commands](TKoncoBar::Page page)
                     {
                         commands.add(commandOf(page), [this, page] { showOn(page); });
                         if (page == TKoncoBar::Search)
                             commands.add(MainCommand::ToggleSideBarSearch,
                                          [this] { togglePage(TKoncoBar::Search); });
                         else if (page == TKoncoBar::Favorites)
                             commands.add(MainCommand::ToggleSideBarFavorites,
                                          [this] { togglePage(TKoncoBar::Favorites); });
                     });
}

bool MainSideBar::shown() const
{
    return !m_bar->isHidden();
}

void MainSideBar::setShown(bool shown)
{
    if (m_item)
        m_item->setChecked(shown);
    if (shown == this->shown())
        return;
    if (!shown)
    {
        rememberWidth();
        m_bar->hide();
        return;
    }
    m_bar->show();
    const int total = std::max(m_splitter->width(), m_width + 1);
    m_splitter->setSizes({m_width, total - m_width});
}

void MainSideBar::showOn(TKoncoBar::Page page)
{
    if (!m_bar->hasContent(page))
        return;
    setShown(true);
    m_bar->showPage(page);
}

void MainSideBar::togglePage(TKoncoBar::Page page)
{
    if (shown() && m_bar->activePage() == page)
        setShown(false);
    else
        showOn(page);
}

void MainSideBar::rememberWidth()
{
    // Before the window is laid out the splitter knows no widths yet.
    const int width = m_splitter->sizes().value(0);
    if (m_bar->isVisible() && width > 0)
        m_width = width;
}

void MainSideBar::attachMenu(TMainMenu* menu)
{
    m_item = menu->SideBarItem();
    if (!m_item)
        return;
    m_item->setCheckable(true);
    m_item->setChecked(shown());
    QObject::connect(menu->ViewMenu(), &QMenu::aboutToShow, m_item,
                     [this] { m_item->setChecked(shown()); });
}

void MainSideBar::writeBack(MainViewSettings& settings)
{
    rememberWidth();
    settings.SetVostelBarWidth(m_width);
    settings.SetViewVostelBar(shown());
}

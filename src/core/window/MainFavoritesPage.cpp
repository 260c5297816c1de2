#include "core/window/MainFavoritesPage.h"

#include "chrome/TLanguage.h"
#include "core/settings/TQWOptions.h"
#include "core/window/MainFavorites.h"
#include "core/window/MainViewSettings.h"
#include "core/window/TfrmMain.h"
#include "groups/TFavoritesPage.h"
#include "groups/TFavoritesTree.h"
#include "groups/TKoncoBar.h"
#include "groups/TfrmFavorites.h"
#include "navigation/TAddressController.h"

#include <QApplication>

MainFavoritesPage::MainFavoritesPage(TfrmMain* window, MainFavorites* favorites)
    : QObject(favorites), m_window(window), m_favorites(favorites)
{
    m_page = new TFavoritesPage(window->Services());
    m_page->setFolder(favorites->FavoritesFolder());
    m_page->shFavorites->setAutoExpand(window->ViewSettings()->VBAutoExpand());
    connect(m_page, &TFavoritesPage::favoriteChosen, favorites, &MainFavorites::OpenFavorite);
    connect(m_page, &TFavoritesPage::addressChosen, this,
            [this](const QString& address)
            {
                if (m_window->Options())
                    m_window->Address()->OpenAddress(address,
                                                     m_window->Options()->FavoritesNewWin());
            });
    connect(favorites, &MainFavorites::favoritesChanged, this,
            &MainFavoritesPage::FavoritesChanged);

    TKoncoBar* bar = window->KoncoBar();
    bar->setPageContent(TKoncoBar::Favorites, m_page);
    connect(bar, &TKoncoBar::pageShown, this,
            [this](TKoncoBar::Page page)
            {
                if (page == TKoncoBar::Favorites && !m_page->FavoritesTreeLoaded)
                    m_page->Fill();
            });
}

TfrmFavorites* MainFavoritesPage::FavoritesPane() const
{
    return m_pane;
}

bool MainFavoritesPage::TreeHasFocus() const
{
    // The name being typed sits in an editor inside the tree.
    const QWidget* focus = QApplication::focusWidget();
    return focus && m_page->shFavorites->isVisible() &&
           (focus == m_page->shFavorites || m_page->shFavorites->isAncestorOf(focus));
}

void MainFavoritesPage::SetAutoExpand(bool on)
{
    m_page->shFavorites->setAutoExpand(on);
    if (m_pane)
        m_pane->shFavorites->setAutoExpand(on);
}

void MainFavoritesPage::FavoritesChanged()
{
    if (m_page->FavoritesTreeLoaded)
        m_page->Fill();
    if (m_pane)
        m_pane->shFavorites->refreshWhenIdle();
}

void MainFavoritesPage::tbFavoritesClick()
{
    if (!m_pane)
        CreatePane();
    if (!m_pane->isVisible())
        m_pane->ShowAt(PanePlace());
}

void MainFavoritesPage::CreatePane()
{
    m_pane = new TfrmFavorites(m_favorites->FavoritesFolder(), m_window->Services(), m_window);
    m_pane->setFont(m_window->font());
    m_pane->shFavorites->setAutoExpand(m_window->ViewSettings()->VBAutoExpand());
    m_window->Language()->TranslateComponent(m_pane, QStringLiteral("FAVORITES_POPUP"));
    connect(m_pane, &TfrmFavorites::favoriteChosen, m_favorites, &MainFavorites::OpenFavorite);
    connect(m_pane, &TfrmFavorites::addFavoriteRequested, m_favorites,
            [this] { m_favorites->AddFavorite(m_window->GetActivePage()); });
    connect(m_pane, &TfrmFavorites::organizeFavoritesRequested, m_favorites,
            &MainFavorites::OrganizeFavorites);
}

QPoint MainFavoritesPage::PanePlace() const
{
    // The tool bar comes with its own part; until it has the button, the
    // pane drops from the top-left corner of the window's pages.
    const auto* button = m_window->findChild<QWidget*>(QStringLiteral("tbFavorites"));
    if (button && button->isVisible())
        return button->mapToGlobal(button->rect().bottomLeft() + QPoint(0, 1));
    const QWidget* pages = m_window->centralWidget();
    return pages ? pages->mapToGlobal(QPoint(0, 0)) : m_window->mapToGlobal(QPoint(0, 0));
}

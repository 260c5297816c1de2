#pragma once

#include <QObject>
#include <QPointer>

class MainFavorites;
class TFavoritesPage;
class TfrmFavorites;
class TfrmMain;

// The side bar's Favorites page and the Favorites pane in the window: the
// page is read when it first comes to the front and again whenever the
// Favorites change; what is chosen in either opens as the Favorites menu
// opens it. The pane is made on its first use and lives until the window
// ends.
class MainFavoritesPage : public QObject
{
    Q_OBJECT
public:
    // window's side bar, settings and services must exist.
    MainFavoritesPage(TfrmMain* window, MainFavorites* favorites);

    TFavoritesPage* Page() const { return m_page; }
    // Null until the pane's first use.
    TfrmFavorites* FavoritesPane() const;
    // The focus is in the page's tree, which takes F2 to rename.
    bool TreeHasFocus() const;
    // Whether opening a folder of the page's or the pane's tree closes the
    // others (VBAutoExpand).
    void SetAutoExpand(bool on);

    // The tool bar's Favorites button: the pane shows under it (under the
    // window's top-left corner while there is no such button); a pane
    // already shown stays as it is.
    void tbFavoritesClick();

private:
    void FavoritesChanged();
    void CreatePane();
    QPoint PanePlace() const;

    TfrmMain* m_window;
    MainFavorites* m_favorites;
    TFavoritesPage* m_page;
    QPointer<TfrmFavorites> m_pane;
};

#pragma once

#include <QWidget>

class QToolButton;
class TFavoritesTree;
class TFindPanel;
class WindowServices;

// The side bar's Favorites page: the tree of the Favorites folder, or in
// its place the find panel, as the Find button says, and a button that
// reads the tree again. The page opens nothing itself: what the user
// chooses leaves through its signals.
class TFavoritesPage : public QWidget
{
    Q_OBJECT
public:
    explicit TFavoritesPage(WindowServices* services, QWidget* parent = nullptr);

    // The folder shown and searched; the tree is read on the first Fill.
    void setFolder(const QString& folder) { m_folder = folder; }
    QString folder() const { return m_folder; }
    // Roots the tree at the folder the first time, reads it again after.
    void Fill();
    bool FavoritesTreeLoaded = false;

    QToolButton* tbFindFavorite;
    QToolButton* tbFavoritesRefresh;
    TFavoritesTree* shFavorites;
    TFindPanel* pnlFindFavorites;

    void tbFindFavoriteClick();
    void tbFavoritesRefreshClick();
    void spdFindFavoritesClick();

signals:
    // A favorite of the tree: its target (an address, or a file's path).
    void favoriteChosen(const QString& target);
    // A result of the find panel.
    void addressChosen(const QString& address);

private:
    WindowServices* m_services;
    QString m_folder;
};

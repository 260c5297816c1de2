#pragma once

#include <QFrame>

class QSizeGrip;
class QToolButton;
class TFavoritesTree;
class WindowServices;

// The Favorites pane: a tree of the Favorites folder that drops down under
// the tool bar's Favorites button, without a title bar, with its own tool
// bar and a close button. It can be resized by its grip; its size is read
// from the settings when it is made and written back when it goes, at the
// end of the program. Choosing a favorite hides it, as Esc does.
class TfrmFavorites : public QFrame
{
    Q_OBJECT
public:
    // The smallest size it takes, whatever the settings say.
    static constexpr int MinimumSide = 120;

    TfrmFavorites(const QString& favoritesFolder, WindowServices* services,
                  QWidget* parent = nullptr);
    ~TfrmFavorites() override;

    // Shows the pane with its top-left corner at globalPos, moved in where
    // it would stand out of that screen.
    void ShowAt(const QPoint& globalPos);

    QToolButton* tbAddFavorite;
    QToolButton* tbOrganizeFavorites;
    QToolButton* tbNewFolder;
    QToolButton* tbRefresh;
    QToolButton* spdClose;
    TFavoritesTree* shFavorites;
    QSizeGrip* grpSize;

    void tbNewFolderClick();

signals:
    void favoriteChosen(const QString& target);
    void addFavoriteRequested();
    void organizeFavoritesRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowServices* m_services;
};

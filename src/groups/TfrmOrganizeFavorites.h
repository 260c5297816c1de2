#pragma once

#include <QDialog>

class FavoritesFolderTree;
class QLabel;
class QPushButton;
class WindowServices;

// Renames, moves and deletes the entries of the Favorites folder and makes
// new folders in it; every change is made on disk at once, and the menus
// follow the folder. Deleting moves to the desktop's trash. The desktop's
// file manager is one click away for those who prefer it.
class TfrmOrganizeFavorites : public QDialog
{
    Q_OBJECT
public:
    static const QString Section;

    TfrmOrganizeFavorites(const QString& favoritesFolder, WindowServices* services,
                          QWidget* parent = nullptr);

    static void Organize(QWidget* window, const QString& favoritesFolder, WindowServices* services);

    // Moves the selected entry into folder under a free name; false (with
    // a message) when that cannot be done.
    bool MoveSelectedTo(const QString& folder);

    QLabel* lblInfo;
    FavoritesFolderTree* shFavorites;
    QLabel* lblAddress;
    QPushButton* cmdNewFolder;
    QPushButton* cmdRename;
    QPushButton* cmdMove;
    QPushButton* cmdDelete;
    QPushButton* cmdFileManager;
    QPushButton* cmdClose;

    void shFavoritesChange();
    void cmdNewFolderClick();
    void cmdRenameClick();
    void cmdMoveClick();
    void cmdDeleteClick();
    void cmdFileManagerClick();

private:
    QString Text(const QString& key) const;
    // The selected entry other than the Favorites folder itself; empty when none.
    QString SelectedEntry() const;
    // Asks for the folder to move to; empty when cancelled.
    QString ChooseFolder();
    void Failed(const QString& key, const QString& path);

    QString m_root;
    WindowServices* m_services;
};

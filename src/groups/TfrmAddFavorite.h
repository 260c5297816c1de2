#pragma once

#include <QDialog>

class FavoritesFolderTree;
class QLabel;
class QLineEdit;
class QPushButton;
class WindowServices;

// Adds one page to Favorites: the user names it (the page's title to begin
// with) and picks the folder, where one Internet shortcut is written.
class TfrmAddFavorite : public QDialog
{
    Q_OBJECT
public:
    static const QString Section;

    TfrmAddFavorite(const QString& favoritesFolder, const QString& title, const QString& url,
                    WindowServices* services, QWidget* parent = nullptr);

    // Shows the dialog modally; true when a shortcut was written. Does
    // nothing for a page without an address.
    static bool Add(QWidget* window, const QString& favoritesFolder, const QString& title,
                    const QString& url, WindowServices* services);

    // The shortcut OK wrote; empty before.
    QString WrittenFile() const { return m_written; }

    QLabel* lblName;
    QLineEdit* edtName;
    QLabel* lblFolder;
    FavoritesFolderTree* shFolders;
    QPushButton* cmdNewFolder;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

    void edtNameChange();
    void cmdNewFolderClick();
    void cmdOkClick();

private:
    QString Text(const QString& key) const;

    QString m_url;
    WindowServices* m_services;
    QString m_written;
};

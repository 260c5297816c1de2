#pragma once

#include <QAction>
#include <QPointer>
#include <QString>

class QIcon;
class QMenu;

// One entry of the Favorites menu or of a links menu: a favorite (a file,
// whose target is its address or its path), a folder whose submenu is
// filled the first time it opens, a folder's Open-all item, a folder's
// place holder, or the "more" entry that carries on a long menu.
class TFavoriteMenuItem : public QAction
{
    Q_OBJECT
public:
    enum class Kind
    {
        Favorite,
        Folder,
        OpenAll,
        PlaceHolder,
        More
    };

    // caption is shown as it stands: a "&" must already be doubled.
    static TFavoriteMenuItem* favoriteItem(const QString& caption, const QString& target,
                                           const QIcon& icon, QMenu* parentMenu);
    // The submenu lives in parentMenu's widget tree, goes with the item and
    // holds one place holder until it is filled.
    static TFavoriteMenuItem* folderItem(const QString& caption, const QString& parentFolder,
                                         const QString& folderName, const QIcon& icon,
                                         QMenu* parentMenu);
    // The target is read from the file when it is first asked for.
    static TFavoriteMenuItem* favoriteFile(const QString& caption, const QString& path,
                                           const QIcon& icon, QMenu* parentMenu);
    // target is the folder whose favorites it opens.
    static TFavoriteMenuItem* openAllItem(const QString& caption, const QString& folder,
                                          QMenu* parentMenu);
    // An entry with a submenu that carries on the items of parentMenu.
    static TFavoriteMenuItem* moreItem(const QString& caption, QMenu* parentMenu);
    ~TFavoriteMenuItem() override;

    Kind ItemKind() const { return m_kind; }
    bool IsFolder() const { return m_kind == Kind::Folder; }
    // Folder items: the entries have been added to the submenu.
    bool Loaded = false;
    // Folder items: the folder that holds the entry, and its own name.
    QString ParentFolder;
    QString FolderName;
    QString FolderPath() const;
    // Favorites: the address, or the file's path when it is no shortcut;
    // Open-all items: their folder. Empty for anything else.
    QString Target() const;
    // Folder and more items: the submenu.
    QMenu* Submenu() const;

    static TFavoriteMenuItem* of(QAction* action)
    {
        return qobject_cast<TFavoriteMenuItem*>(action);
    }

private:
    TFavoriteMenuItem(Kind kind, const QString& caption, const QIcon& icon, QMenu* parentMenu);
    QMenu* makeSubmenu(QMenu* parentMenu);

    Kind m_kind;
    mutable QString m_target;
    // A favorite's file, until its target has been read.
    mutable QString m_file;
    QPointer<QMenu> m_submenu;
};

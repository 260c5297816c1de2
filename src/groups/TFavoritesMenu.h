#pragma once

#include "groups/FolderListing.h"

#include <QHash>
#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>

class QAction;
class QFileIconProvider;
#include <QMenu>
class QStyle;
class TFavoriteMenuItem;
class WindowServices;

// What the Favorites menu is built by; read from the settings before each
// rebuild.
struct FavoritesMenuSettings
{
    bool ShowOpenAllFavorites = true;
    // Long menus are cut into columns of RowsPerColumn items: a menu of more
    // items carries on in a "more" submenu. Otherwise a menu taller than the
    // screen scrolls.
    bool BreakFavorites = false;
    int RowsPerColumn = 30;
    // Icons of the desktop's icon theme for each file type; otherwise the
    // program's own folder and page icons.
    bool UseCustomIcons = false;
};

// The Favorites drop-down menu pmFavorites: four static items, then the
// Favorites folder's sub-folders and favorites. Only one folder level is
// read at a time: a sub-folder's submenu is filled the first time it opens.
// After a change the menu is rebuilt in slices (RebuildSlice) so that the
// idle loop is never held long, or whole when it opens before that is done.
class TFavoritesMenu : public QObject
{
    Q_OBJECT
public:
    static constexpr int StaticCount = 4;

    // popup gets the static items. services gives the texts of the
    // generated items.
    TFavoritesMenu(QMenu* popup, WindowServices* services, QObject* parent = nullptr);
    ~TFavoritesMenu() override;

    QMenu* Popup() const { return m_popup; }
    QAction* mnuFavoritesAdd = nullptr;
    QAction* mnuFavoritesOrganize = nullptr;
    QAction* miOpenAll = nullptr;
    QAction* mnuOpenAllBreak = nullptr;

    // The Favorites folder; empty when there is none. Takes effect at the
    // next rebuild.
    void SetFolder(const QString& folder);
    QString Folder() const { return m_folder; }
    // Take effect at the next rebuild.
    FavoritesMenuSettings Settings;

    bool FavoritesMenuCurrent = false;
    // The menu is to be rebuilt; a rebuild under way starts again.
    void MarkNotCurrent();
    // Rebuilds the menu now.
    void LoadFavorites();
    // Carries a rebuild on for about budgetMs, or deletes some of the items
    // it replaced; true once nothing is left to do. A negative budget does
    // it all.
    bool RebuildSlice(int budgetMs);
    bool HasIdleWork() const;
    bool Rebuilding() const { return m_job != nullptr; }

    // Appends folder's entries to menu, with the Open-all item and an empty
    // folder's notice for a sub-folder's menu.
    void LoadFavoritesFolder(const QString& folder, QMenu* menu);
    // A folder item's submenu opens.
    void LoadMe(TFavoriteMenuItem* item);
    // The drop-down opens: a menu not current is rebuilt first.
    void pmFavoritesPopup();

signals:
    void addFavoriteRequested();
    void organizeFavoritesRequested();
    // A favorite was chosen; target is an address or a file's path.
    void favoriteChosen(const QString& target);
    // Open all of one folder: the targets of its favorites, in menu order.
    void openAllChosen(const QStringList& targets);

private:
    struct Job
    {
        QString folder;
        QPointer<QMenu> menu;
        QList<FolderEntry> entries;
        qsizetype next = 0;
        QList<QAction*> made;
        ~Job();
    };

    bool RunJob(Job& job, int budgetMs);
    QAction* MakeItem(const FolderEntry& entry, QMenu* menu);
    void Commit(Job& job);
    void ApplyBreaks(QMenu* menu, qsizetype first);
    void DeleteGeneratedItems();
    void UpdateStaticItems();
    void OpenAllOf(QMenu* level);
    QIcon FileIcon(const QString& path);
    QString GlobalText(const char* key) const;

    QPointer<QMenu> m_popup;
    QPointer<WindowServices> m_services;
    QString m_folder;
    std::unique_ptr<Job> m_job;
    static constexpr qsizetype ReplacedPerSlice = 50;
    QList<QPointer<QAction>> m_replaced;
    std::unique_ptr<QFileIconProvider> m_iconProvider;
    QHash<QString, QIcon> m_fileIcons;
    QIcon m_folderIcon;
    QIcon m_favoriteIcon;
    QStyle* m_scrollingStyle;
};

#pragma once

#include "groups/FavoriteLauncher.h"

#include <QObject>
#include <QPointer>

class QTimer;
class TBrowserTab;
class TFavoritesMenu;
class TFolderMonitor;
class MainFavoritesPage;
class TLinksBar;
class TfrmMain;

// The window's Favorites: the Favorites drop-down menu and the links band,
// the folder monitors that keep them current, and what their clicks open.
// After a change of the Favorites folder the menu is rebuilt at idle
// moments, a little at a time, so that it is ready when the user opens it.
class MainFavorites : public QObject
{
    Q_OBJECT
public:
    // Longest stretch of one idle rebuild step.
    static constexpr int SliceMs = 8;

    // window's menus, bands, settings and tab set must exist.
    explicit MainFavorites(TfrmMain* window);
    ~MainFavorites() override;

    TFavoritesMenu* FavoritesMenu() const { return m_menu; }
    TLinksBar* LinksBar() const { return m_linksBar; }
    TFolderMonitor* FavoritesMonitor() const { return m_favoritesMonitor; }
    // The side bar's Favorites page and the Favorites pane.
    MainFavoritesPage* Page() const { return m_page; }

    // The menu is out of date (its folder changed): it
    // is rebuilt at the next idle moments.
    void MarkNotCurrent();
    // The settings of both may have changed (the options dialog closed).
    void OptionsChanged();

    QString FavoritesFolder() const { return m_folder; }
    // Asks for a name and a folder and saves tab's page there.
    void AddFavorite(const TBrowserTab* tab);
    void OrganizeFavorites();
    void ImportBookmarks();
    void ExportFavorites();

    // Opens the Links folder in the file manager, to arrange the links.
    void OrganizeLinks();

    // A favorite's target (an address, or a file for its program), opened
    // as the Favorites menu opens it.
    void OpenFavorite(const QString& target);

    // Rows of a menu column on this screen: the screen's height in menu
    // items, less six, and one at least.
    static int RowsPerColumn(int screenHeight, int itemHeight);

signals:
    // The Favorites folder or the settings of the views of it changed.
    void favoritesChanged();

private:
    void CreateLinksBar();
    void ReadMenuSettings();
    void RebuildSlice();
    void LinksFolderChanged();
    void WatchLinksFolder(const QString& folder);
    // Points the Links bar at the Links folder as it is now.
    void FollowLinksFolder();
    FavoriteLauncher Launcher();

    TfrmMain* m_window;
    QString m_folder;
    TFavoritesMenu* m_menu = nullptr;
    TFolderMonitor* m_favoritesMonitor = nullptr;
    QTimer* m_idleRebuild = nullptr;
    TLinksBar* m_linksBar = nullptr;
    QPointer<TFolderMonitor> m_linksMonitor;
    MainFavoritesPage* m_page = nullptr;
};

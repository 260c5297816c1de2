#pragma once

#include <QString>
#include <QWidget>

class QAction;
class QMenu;
class QModelIndex;
class QToolButton;
class TQWPageControl;
class TShellTree;
class WindowServices;

// The side bar: a page control with the Favorites, History, Search and
// VostelGroups pages. The VostelGroups page is a tree of the groups folder
// with its own tool buttons and context menu. The bar does not open or edit
// groups: it asks for that through its signals. The other pages get their
// content from their own parts; a page without content has no tab.
class TKoncoBar : public QWidget
{
    Q_OBJECT
public:
    enum Page
    {
        Favorites,
        History,
        Search,
        VostelGroups
    };
    Q_ENUM(Page)
    static constexpr int TabWidth = 28;

    // groupsFolder is the tree's root, read on the page's first showing.
    TKoncoBar(WindowServices* services, const QString& groupsFolder, QWidget* parent = nullptr);

    // Puts content on a page (the bar owns it) and gives the page its tab.
    void setPageContent(Page page, QWidget* content);
    bool hasContent(Page page) const;
    // The page in front (VostelGroups when nothing else has content).
    Page activePage() const;
    // Brings a page with content to the front and fills it if it has not
    // been filled yet; false for a page without content.
    bool showPage(Page page);
    void setAutoExpand(bool on);
    // Where the tabs are: at the bottom, or at the top.
    void setTabsAtBottom(bool bottom);

    TQWPageControl* pcKoncoBar;
    QWidget* tsFavorites;
    QWidget* tsHistory;
    QWidget* tsSearch;
    QWidget* tsVostelGroups;
    TShellTree* shVostelGroups;
    QToolButton* tbNewVGFolder;
    QToolButton* tbVGRefresh;
    QMenu* pmVostelGroups;
    QAction* pmVGOpen;
    QAction* pmVGOrganize;
    QAction* pmVGRename;
    QAction* pmVGDelete;
    QAction* pmVGRefresh;

    bool VostelGroupsTreeLoaded = false;
    // The path of the node on which the context menu was last opened.
    QString VostelGroupsTreeNode;

    // The handlers, public so that tests and the window drive them as the
    // user's clicks would.
    void pcKoncoBarChange();
    void shVostelGroupsNodeContextMenu(const QModelIndex& node, const QPoint& globalPos);
    void shVostelGroupsDblClick(const QModelIndex& node);
    void pmVGOpenClick();
    void pmVGOrganizeClick();
    void pmVGRenameClick();
    void pmVGDeleteClick();
    void tbNewVGFolderClick();
    void tbVGRefreshClick();

public slots:
    // Reads the tree again if its page has been filled.
    void refreshVostelGroups();

signals:
    void openGroupRequested(const QString& path);
    void organizeGroupRequested(const QString& path);
    // Something that the VostelGroups menu shows has changed.
    void groupsChanged();
    // A page came to the front: the parts filling the other pages fill them
    // on their first showing.
    void pageShown(TKoncoBar::Page page);
    void pageContentAdded(TKoncoBar::Page page);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* pageWidget(Page page) const;
    QWidget* makeVostelGroupsPage();
    void makeVostelGroupsMenu();
    // The remembered node's path when it is a group file, else empty.
    QString rememberedGroup() const;
    QString text(const QString& key) const;

    WindowServices* m_services;
    QString m_groupsFolder;
};

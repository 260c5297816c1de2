#pragma once

#include "components/TShellTree.h"

class QAction;
class QMenu;
class WindowServices;

// A tree of the Favorites folder as the side bar and the Favorites pane
// show it: shortcuts by name without ".url", beside folders and any other
// files. A click on a folder opens or closes it; a click on anything else
// chooses it (a shortcut stands for its address, another file for itself).
// A click is a press and a release on the same entry, so that dragging a
// favorite elsewhere does not open it. The context menu offers what a file
// manager's tree offers here.
class TFavoritesTree : public TShellTree
{
    Q_OBJECT
public:
    explicit TFavoritesTree(WindowServices* services, QWidget* parent = nullptr);

    // What choosing a file opens: a shortcut's address (empty when it has
    // none), or the file's own path; empty for a folder.
    static QString targetOf(const QString& path);

    // Reads the folder again now, or once a name being typed is done: the
    // editor would go with the rows it sits on.
    void refreshWhenIdle();
    bool renaming() const { return state() == EditingState; }

    // A click or Enter on node.
    void shFavoritesMouseDown(const QModelIndex& node);
    // The hint of node (an address or a path) to the status bar.
    void shFavoritesPopupHint(const QModelIndex& node);

    QMenu* pmFavoritesTree;
    QAction* pmFavOpen;
    QAction* pmFavCopyAddress;
    QAction* pmFavRename;
    QAction* pmFavDelete;
    QAction* pmFavNewFolder;
    // The path of the entry the context menu was opened on; empty over
    // empty space.
    QString FavoritesTreeNode;

    void shFavoritesContextMenu(const QModelIndex& node, const QPoint& globalPos);
    void pmFavOpenClick();
    void pmFavCopyAddressClick();
    void pmFavRenameClick();
    void pmFavDeleteClick();
    void pmFavNewFolderClick();

signals:
    // A file was chosen: target as targetOf gives it.
    void favoriteChosen(const QString& target);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool viewportEvent(QEvent* event) override;

private:
    void makeMenu();
    QModelIndex rememberedNode() const;
    void sendHint(const QString& text);

    WindowServices* m_services;
    bool m_refreshPending = false;
};

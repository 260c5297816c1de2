#pragma once

#include <QModelIndex>
#include <QStringList>
#include <QTreeView>

class QFileSystemModel;

// A tree of one folder of the file system and what lies below it, with the
// operations a file manager's tree offers: renaming in place, new folders,
// deleting to the desktop's trash, and files dragged in and out.
//
// Symbolic links are shown and can be opened like what they point to; every
// operation (rename, delete, drop onto) acts on the link itself, so a link
// never lets a delete reach outside the root. Listing is lazy, so a link
// that loops back only shows the same folder again.
class TShellTree : public QTreeView
{
    Q_OBJECT
public:
    explicit TShellTree(QWidget* parent = nullptr);
    using QTreeView::edit;

    // An empty path shows nothing.
    void setRoot(const QString& path);
    QString root() const { return m_root; }
    // Reads the folders again; the expanded folders stay expanded.
    void refresh();

    // Which files are shown besides folders: wildcard patterns ("*.txt");
    // empty shows every file. Hidden files are never shown.
    void setNameFilters(const QStringList& patterns);
    void setFilesShown(bool shown);
    bool filesShown() const { return m_filesShown; }
    // Files ending in suffix (".vgp", any case) are shown without it, as a
    // list of things rather than of files.
    void setHiddenSuffix(const QString& suffix);
    // Files with the hidden suffix are renamed in place too; the suffix
    // stays whatever name is typed.
    void setRenamesSuffixFiles(bool on) { m_renamesSuffixFiles = on; }

    // Expanding a node collapses its expanded siblings.
    void setAutoExpand(bool on) { m_autoExpand = on; }
    bool autoExpand() const { return m_autoExpand; }

    QModelIndex nodeAt(const QPoint& clientPos) const;
    QModelIndex nodeOf(const QString& path) const;
    QString pathOf(const QModelIndex& node) const;
    bool isFolder(const QModelIndex& node) const;
    // The folder a node stands for: itself, or the folder holding a file;
    // the root for no node.
    QString folderOf(const QModelIndex& node) const;
    void expandNode(const QModelIndex& node) { expand(node); }

    // Only folders (and files with the hidden suffix, when asked for) are
    // renamed in place; false for anything else.
    bool startRename(const QModelIndex& node);
    bool isRenamable(const QModelIndex& node) const;
    // A new folder under the selected node (baseName, then "baseName (2)"
    // and on), selected and open for naming. Its path; empty on failure.
    QString createFolder(const QString& baseName);
    // Moves the node's file or folder to the trash. Nothing is removed for
    // good: where the trash cannot take it, it stays and false is returned.
    bool deleteNode(const QModelIndex& node);
    // Copies or moves local files into folder. A name that is taken there,
    // a folder dropped into itself and a file dropped where it already is
    // are left alone. The number of items that arrived.
    int dropFiles(const QList<QUrl>& urls, const QString& folder, Qt::DropAction action);

signals:
    // node is invalid over empty space.
    void nodeContextMenu(const QModelIndex& node, const QPoint& globalPos);
    void nodeRenamed(const QString& oldPath, const QString& newPath);
    // Dropped files arrived in folder.
    void filesDropped(const QString& folder);
    // What could not be deleted, copied or moved; it is where it was.
    void operationFailed(const QString& path);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void makeModel();
    void applyFilters();
    void nodeExpanded(const QModelIndex& node);
    void reexpandLoaded(const QString& folder);
    bool copyOrMove(const QString& source, const QString& target, Qt::DropAction action);
    static bool copyTree(const QString& source, const QString& target);

    QFileSystemModel* m_model = nullptr;
    QString m_root;
    QStringList m_nameFilters;
    bool m_filesShown = true;
    bool m_autoExpand = false;
    QString m_hiddenSuffix;
    bool m_renamesSuffixFiles = false;
    // Folders to open again once a refresh has read their parents.
    QStringList m_reexpand;
};

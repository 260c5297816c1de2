#pragma once

#include <QTreeWidget>

class WindowServices;

// The Favorites folder as a tree: its sub-folders and, when asked for, the
// files in them. A folder's contents are read when it is first opened, so a
// large Favorites folder costs nothing until it is looked at. The top item
// is the Favorites folder itself.
class FavoritesFolderTree : public QTreeWidget
{
    Q_OBJECT
public:
    FavoritesFolderTree(const QString& root, bool withFiles, QWidget* parent = nullptr);

    QString root() const { return m_root; }
    // The item's path; empty for none.
    static QString pathOf(const QTreeWidgetItem* item);
    static bool isFolderItem(const QTreeWidgetItem* item);
    // Asks for a new folder's name; the name made safe for a file name, or
    // empty when the user cancelled or nothing usable is left of it.
    static QString askFolderName(WindowServices* services, const QString& caption,
                                 const QString& prompt);
    // The selected entry's path, the top folder when nothing is selected.
    QString selectedPath() const;
    // The selected folder, or the folder of the selected file.
    QString selectedFolder() const;
    // Opens the folders down to path and selects it; false when it is not
    // in the tree.
    bool selectPath(const QString& path);
    // Reads the tree again, keeping the open folders and the selection
    // (or the nearest folder above it that still exists).
    void reload(const QString& select = QString());
    // The item of path when it has been read; null otherwise.
    QTreeWidgetItem* itemOf(const QString& path) const;

    void setRootCaption(const QString& caption);

private:
    void itemExpanding(QTreeWidgetItem* item);
    void fill(QTreeWidgetItem* item);
    QTreeWidgetItem* makeItem(QTreeWidgetItem* parent, const QString& path, bool folder);

    QString m_root;
    bool m_withFiles;
};

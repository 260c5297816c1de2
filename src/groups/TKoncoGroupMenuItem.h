#pragma once

#include <QAction>
#include <QPointer>
#include <QString>

class QIcon;
class QMenu;

// One entry of the groups menu tree: either a group file, which carries the
// file's full path as its hint (shown as the status tip), or a folder of
// groups, whose submenu is filled the first time it opens. Until then a
// folder's submenu holds one empty child so that the submenu arrow shows.
class TKoncoGroupMenuItem : public QAction
{
    Q_OBJECT
public:
    // caption is shown as it stands: a "&" in a file name must already be doubled.
    static TKoncoGroupMenuItem* groupItem(const QString& caption, const QString& filePath,
                                          const QIcon& icon, QMenu* parentMenu);
    // folderPath ends with "/". The submenu lives in parentMenu's widget tree
    // and is deleted with the item.
    static TKoncoGroupMenuItem* folderItem(const QString& caption, const QString& folderPath,
                                           const QIcon& icon, QMenu* parentMenu);
    ~TKoncoGroupMenuItem() override;

    // Folder items only: the entries have been added to the submenu.
    bool Loaded = false;
    // Folder items only: the folder's full path ending with "/"; empty for a group item.
    QString FolderPath;

    bool IsFolder() const { return !FolderPath.isEmpty(); }
    // Group items: the group file's full path.
    QString Hint() const { return statusTip(); }
    // Folder items: the submenu; null for a group item.
    QMenu* Submenu() const;

private:
    TKoncoGroupMenuItem(const QString& caption, const QIcon& icon, QMenu* parentMenu);

    QPointer<QMenu> m_submenu;
};

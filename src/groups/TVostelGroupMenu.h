#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>

class QMenu;
class TKoncoGroupMenuItem;
class WindowServices;

// Fills the groups drop-down menu from the groups folder: folders first, then
// group files, each sorted by name. The menu is read again only when it was
// marked changed, and each folder's submenu only when it first opens, so
// opening the menu costs one folder listing however large the tree is.
class TVostelGroupMenu : public QObject
{
    Q_OBJECT
public:
    // popup already holds the static items; everything after staticCount is
    // generated. services gives the text of an empty folder; without it the
    // text is the language layer's placeholder.
    TVostelGroupMenu(QMenu* popup, int staticCount, const QString& rootFolder,
                     WindowServices* services, QObject* parent = nullptr);

    // The menu is rebuilt before its next opening when set.
    bool VostelGroupsChanged = true;
    void MarkChanged() { VostelGroupsChanged = true; }

    QMenu* Popup() const;
    QString RootFolder() const { return m_rootFolder; }

    // The popup's opening: rebuilds the generated items when the groups changed.
    void mnuVostelGroupsClick();
    // Appends the root folder's entries to menu.
    void LoadVostelGroupMenu(QMenu* menu);
    // Appends the sub-folders of folder, then its group files, to menu. A
    // missing or unreadable folder adds nothing.
    void LoadVostelGroupFolder(const QString& folder, QMenu* menu);
    // Fills a folder item the first time its submenu opens.
    void LoadMe(TKoncoGroupMenuItem* item);

signals:
    // A group item was chosen; path is the group file's full path.
    void groupChosen(const QString& path);

private:
    void VostelGroupClick(TKoncoGroupMenuItem* item);
    void DeleteGeneratedItems();

    QPointer<QMenu> m_popup;
    int m_staticCount;
    QString m_rootFolder;
    QPointer<WindowServices> m_services;
    QIcon m_groupIcon;
    QIcon m_folderIcon;
};

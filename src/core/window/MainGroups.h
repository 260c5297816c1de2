#pragma once

#include <QObject>
#include <QString>

class TBrowserTab;
class TFolderMonitor;
class TVostelGroupMenu;
class TfrmMain;

// The window's saved groups: opening a group into tabs, saving the tabs as
// a group, adding a page to one, editing one, and the groups menu, kept
// current by a monitor on the groups folder.
class MainGroups : public QObject
{
    Q_OBJECT
public:
    // The window's menu, tab set and services must exist.
    explicit MainGroups(TfrmMain* window);
    ~MainGroups() override;

    TVostelGroupMenu* Menu() const { return m_menu; }
    TFolderMonitor* Monitor() const { return m_monitor; }
    QString RootFolder() const { return m_rootFolder; }

    void OpenVostelGroup(const QString& path, bool closeFirst, bool startup);
    // OpenVostelGroup as the user's own opening does: the other tabs
    // closed first when the settings say so.
    void OpenChosenGroup(const QString& path);

    void actSaveAsVostelGroupExecute();
    // The page in front, and the page of the tab under the mouse.
    void pmAddToVostelGroupClick();
    void pmTabAddToVostelGroupClick();
    void actOrganizeVostelGroupsExecute();
    // The editor for path; true when it wrote the file.
    bool Organize(const QString& path);
    void MarkChanged();

signals:
    // Something in the groups folder changed, whoever changed it.
    void groupsFolderChanged();

private:
    void AddToGroup(const TBrowserTab* tab);
    // A group file the user picks in the open dialog; empty when cancelled.
    QString ChooseGroupFile() const;
    void FolderChanged();

    TfrmMain* m_window;
    QString m_rootFolder;
    TVostelGroupMenu* m_menu = nullptr;
    TFolderMonitor* m_monitor = nullptr;
};

#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class QFileSystemWatcher;

// Reports changes anywhere in a folder tree: a file or folder added, removed
// or renamed in the root folder or any of its sub-folders. A burst of changes
// (a copy of many files, a save through a temporary file) gives one changed()
// signal. Sub-folders that appear are watched from then on. Hidden folders
// and folders reached through symbolic links are not watched, so a link
// cycle cannot make the tree endless. A missing root folder is watched for
// nothing; switching the monitor on again looks for it anew.
class TFolderMonitor : public QObject
{
    Q_OBJECT
public:
    // Watches root and all its sub-folders from the start.
    explicit TFolderMonitor(const QString& rootFolder, QObject* parent = nullptr);
    ~TFolderMonitor() override;

    // Off: nothing is watched and nothing is reported, so a handler that
    // changes the tree itself does not hear of it. On: the tree is read again.
    void setActive(bool active);
    bool isActive() const { return m_active; }

    QString rootFolder() const { return m_rootFolder; }
    // The folders now watched, sorted.
    QStringList watchedFolders() const;

signals:
    void changed();

private:
    void folderChanged();
    void reportChange();
    void rescan();
    QStringList foldersOfTree() const;

    QString m_rootFolder;
    QFileSystemWatcher* m_watcher;
    QTimer m_coalesce;
    bool m_active = false;
};

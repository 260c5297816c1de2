#include "components/TFolderMonitor.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSet>

#include <algorithm>

namespace
{
// Long enough to gather the events of one copy or save, short enough that a
// menu opened right after a change already sees it.
constexpr int CoalesceMs = 100;
} // namespace

TFolderMonitor::TFolderMonitor(const QString& rootFolder, QObject* parent)
    : QObject(parent), m_rootFolder(rootFolder), m_watcher(new QFileSystemWatcher(this))
{
    m_coalesce.setSingleShot(true);
    m_coalesce.setInterval(CoalesceMs);
    connect(&m_coalesce, &QTimer::timeout, this, &TFolderMonitor::reportChange);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &TFolderMonitor::folderChanged);
    setActive(true);
}

TFolderMonitor::~TFolderMonitor() = default;

void TFolderMonitor::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    if (active)
    {
        rescan();
        return;
    }
    m_coalesce.stop();
    const QStringList watched = m_watcher->directories();
    if (!watched.isEmpty())
        m_watcher->removePaths(watched);
}

QStringList TFolderMonitor::watchedFolders() const
{
    QStringList folders = m_watcher->directories();
    folders.sort();
    return folders;
}

void TFolderMonitor::folderChanged()
{
    // Events already queued when the monitor was switched off still arrive.
    if (!m_active)
        return;
    // Not restarted by later events: a tree that keeps changing is still
    // reported every interval.
    if (!m_coalesce.isActive())
        m_coalesce.start();
}

void TFolderMonitor::reportChange()
{
    if (!m_active)
        return;
    rescan();
    emit changed();
}

void TFolderMonitor::rescan()
{
    const QStringList wanted = foldersOfTree();
    const QStringList current = m_watcher->directories();
    const QSet<QString> wantedSet(wanted.cbegin(), wanted.cend());
    const QSet<QString> currentSet(current.cbegin(), current.cend());
    QStringList gone;
    for (const QString& folder : current)
        if (!wantedSet.contains(folder))
            gone << folder;
    QStringList added;
    for (const QString& folder : wanted)
        if (!currentSet.contains(folder))
            added << folder;
    if (!gone.isEmpty())
        m_watcher->removePaths(gone);
    // A folder that vanished between listing and watching is simply not watched.
    if (!added.isEmpty())
        m_watcher->addPaths(added);
}

QStringList TFolderMonitor::foldersOfTree() const
{
    if (m_rootFolder.isEmpty())
        return {};
    const QFileInfo root(m_rootFolder);
    if (!root.isDir())
        return {};
    const QString rootPath = root.absoluteFilePath();
    QStringList folders{rootPath};
    QDirIterator it(rootPath, QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        folders << it.next();
    return folders;
}

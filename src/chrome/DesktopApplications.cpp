#include "chrome/DesktopApplications.h"

#include "components/SettingsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

DesktopApplications::DesktopApplications(const QStringList& applicationFolders,
                                         const QStringList& mimeappsFiles)
{
    for (const QString& folder : applicationFolders)
        scanFolder(folder, folder, QString());
    m_ids = m_entries.keys();
    std::sort(m_ids.begin(), m_ids.end());
    for (const QString& path : mimeappsFiles)
        readMimeapps(path);
}

DesktopApplications DesktopApplications::standard()
{
    const QStringList folders =
        QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    QStringList configFolders =
        QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    QStringList mimeapps;
    // A desktop's own list comes before the shared one of the same folder.
    const QStringList desktops =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(u':', Qt::SkipEmptyParts);
    for (const QStringList& group : {configFolders, folders})
        for (const QString& folder : group)
        {
            for (const QString& desktop : desktops)
                mimeapps.append(folder + u'/' + desktop + QStringLiteral("-mimeapps.list"));
            mimeapps.append(folder + QStringLiteral("/mimeapps.list"));
        }
    return DesktopApplications(folders, mimeapps);
}

void DesktopApplications::scanFolder(const QString& root, const QString& folder,
                                     const QString& prefix)
{
    const QDir dir(folder);
    for (const QFileInfo& info :
         dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
    {
        if (info.isDir())
        {
            // Sub-folders give ids with "-" for "/"; a link back up must not
            // make the walk endless.
            if (!info.isSymLink())
                scanFolder(root, info.filePath(), prefix + info.fileName() + u'-');
            continue;
        }
        if (!info.fileName().endsWith(QStringLiteral(".desktop")))
            continue;
        const QString id = prefix + info.fileName();
        if (m_entries.contains(id))
            continue;
        if (const std::optional<DesktopEntry> entry = DesktopEntry::read(info.filePath(), id))
            m_entries.insert(id, *entry);
        else
            // A hidden entry of a higher folder hides the same id below it.
            m_entries.insert(id, DesktopEntry{});
    }
}

void DesktopApplications::readMimeapps(const QString& path)
{
    if (!QFileInfo::exists(path))
        return;
    SettingsFile file(path);
    if (!file.load())
        return;
    const auto collect = [&file](const QString& section, QHash<QString, QStringList>& into)
    {
        for (const SettingsFile::Entry& entry : file.entries(section))
            for (const QString& id : entry.second.split(u';', Qt::SkipEmptyParts))
                into[entry.first.trimmed()].append(id.trimmed());
    };
    collect(QStringLiteral("Default Applications"), m_defaults);
    collect(QStringLiteral("Added Associations"), m_added);
    collect(QStringLiteral("Removed Associations"), m_removed);
}

QList<DesktopEntry> DesktopApplications::handlers(const QString& mimeType) const
{
    QList<DesktopEntry> out;
    QSet<QString> taken;
    const QStringList removed = m_removed.value(mimeType);
    const auto take = [&](const QString& id, bool isDefault)
    {
        const auto found = m_entries.constFind(id);
        if (found == m_entries.constEnd() || found->id.isEmpty() || taken.contains(id))
            return;
        if (removed.contains(id) || (found->noDisplay && !isDefault))
            return;
        taken.insert(id);
        out.append(*found);
    };
    for (const QString& id : m_defaults.value(mimeType))
        take(id, true);
    for (const QString& id : m_added.value(mimeType))
        take(id, false);
    for (const QString& id : m_ids)
        if (m_entries.value(id).mimeTypes.contains(mimeType))
            take(id, false);
    return out;
}

std::optional<DesktopEntry> DesktopApplications::preferred(const QString& mimeType) const
{
    const QList<DesktopEntry> all = handlers(mimeType);
    if (all.isEmpty())
        return std::nullopt;
    return all.first();
}

#include "groups/FavoritesFind.h"

#include "groups/FolderListing.h"
#include "groups/InternetShortcut.h"

#include <QFileInfo>
#include <QSet>

namespace
{
const qsizetype ShortcutSuffixLength = 4; // ".url"

class Scan
{
public:
    explicit Scan(const QString& text) : m_text(text) {}

    void folder(const QString& path)
    {
        // A link back to a folder above would otherwise never end.
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (canonical.isEmpty() || m_visited.contains(canonical))
            return;
        m_visited.insert(canonical);
        const QList<FolderEntry> entries = FolderListing::list(path);
        for (const FolderEntry& entry : entries)
            if (entry.isFolder)
                folder(entry.path);
        for (const FolderEntry& entry : entries)
            if (!entry.isFolder && InternetShortcut::isShortcutFile(entry.path))
                shortcut(entry);
    }

    QList<FindResultsModel::Row> rows;

private:
    void shortcut(const FolderEntry& entry)
    {
        const QString name = entry.name.chopped(ShortcutSuffixLength);
        const QString address = InternetShortcut::readUrl(entry.path);
        if (name.contains(m_text, Qt::CaseInsensitive) ||
            address.contains(m_text, Qt::CaseInsensitive))
            rows.append({name, address});
    }

    QString m_text;
    QSet<QString> m_visited;
};
} // namespace

QList<FindResultsModel::Row> FavoritesFind::find(const QString& folder, const QString& text)
{
    if (text.isEmpty() || folder.isEmpty() || !QFileInfo(folder).isDir())
        return {};
    Scan scan(text);
    scan.folder(folder);
    return std::move(scan.rows);
}

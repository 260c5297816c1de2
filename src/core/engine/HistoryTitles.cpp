#include "core/engine/HistoryTitles.h"

#include "core/engine/THistoryIndexReader.h"

#include <QFileInfo>

QString HistoryTitles::titleOf(const QString& url)
{
    const QStringList state = filesState();
    if (!m_read || state != m_readState)
    {
        m_titles.clear();
        // Newest period first: the first title found is the latest visit's.
        for (const THistoryIndexReader::Entry& entry : THistoryIndexReader::allEntries(m_root))
        {
            if (!entry.title.isEmpty() && !m_titles.contains(entry.url))
                m_titles.insert(entry.url, entry.title);
        }
        m_readState = state;
        m_read = true;
    }
    return m_titles.value(url);
}

QStringList HistoryTitles::filesState() const
{
    QStringList state;
    for (const THistoryIndexReader::Period& period : THistoryIndexReader::periods(m_root))
    {
        const QFileInfo file(period.indexPath);
        state << QStringLiteral("%1 %2 %3")
                     .arg(period.indexPath, QString::number(file.size()),
                          QString::number(file.lastModified().toMSecsSinceEpoch()));
    }
    return state;
}

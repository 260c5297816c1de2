#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The titles the history index holds for addresses, for tabs that show a
// page's title before they load it. Every completed visit is in the index
// with its title already, so nothing more is written for them. The index
// is read on the first look-up and again only after one of its files
// changed.
class HistoryTitles
{
public:
    explicit HistoryTitles(QString historyRoot) : m_root(std::move(historyRoot)) {}

    // The title of url's latest visit; empty when it was never visited or
    // had no title.
    QString titleOf(const QString& url);

private:
    // Each index file with its size and time of change.
    QStringList filesState() const;

    QString m_root;
    QStringList m_readState;
    bool m_read = false;
    QHash<QString, QString> m_titles;
};

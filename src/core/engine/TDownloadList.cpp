#include "core/engine/TDownloadList.h"

#include <QFileInfo>

#include <algorithm>

namespace
{
bool isFinal(TDownloadList::State state)
{
    return state != TDownloadList::Running;
}
} // namespace

int TDownloadList::add(const QString& path, qint64 total, std::function<void()> cancel)
{
    const int row = int(m_items.size());
    beginInsertRows(QModelIndex(), row, row);
    Item item;
    item.path = path;
    item.total = total > 0 ? total : -1;
    item.cancel = std::move(cancel);
    m_items.append(std::move(item));
    endInsertRows();
    return row;
}

void TDownloadList::setProgress(int row, qint64 received, qint64 total)
{
    if (!valid(row) || isFinal(m_items[row].state))
        return;
    Item& item = m_items[row];
    item.received = std::max<qint64>(received, 0);
    item.total = total > 0 ? total : -1;
    changed(row);
}

void TDownloadList::setState(int row, State state, const QString& reason)
{
    if (!valid(row) || isFinal(m_items[row].state))
        return;
    Item& item = m_items[row];
    item.state = state;
    item.reason = state == Interrupted ? reason : QString();
    // A finished download whose size was never announced is as big as
    // what arrived.
    if (state == Finished && item.total < 0)
        item.total = item.received;
    if (isFinal(state))
        item.cancel = nullptr;
    changed(row);
}

bool TDownloadList::cancel(int row)
{
    if (!canCancel(row))
        return false;
    Item& item = m_items[row];
    item.cancelRequested = true;
    // The function may report the new state at once; keep no reference
    // into the list across the call.
    const std::function<void()> stop = item.cancel;
    changed(row);
    if (stop)
        stop();
    return true;
}

QString TDownloadList::fileName(int row) const
{
    return valid(row) ? QFileInfo(m_items[row].path).fileName() : QString();
}

QString TDownloadList::folder(int row) const
{
    return valid(row) ? QFileInfo(m_items[row].path).absolutePath() : QString();
}

int TDownloadList::percent(int row) const
{
    if (!valid(row))
        return -1;
    const Item& item = m_items[row];
    if (item.total <= 0)
        return -1;
    return int(std::clamp<qint64>(item.received * 100 / item.total, 0, 100));
}

bool TDownloadList::canCancel(int row) const
{
    return valid(row) && m_items[row].state == Running && !m_items[row].cancelRequested &&
           m_items[row].cancel;
}

bool TDownloadList::canOpenFolder(int row) const
{
    return valid(row) && m_items[row].state == Finished;
}

int TDownloadList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant TDownloadList::data(const QModelIndex& index, int role) const
{
    const int row = index.row();
    if (!index.isValid() || !valid(row))
        return {};
    const Item& item = m_items[row];
    switch (role)
    {
    case Qt::DisplayRole:
        return fileName(row);
    case PathRole:
        return item.path;
    case ReceivedRole:
        return item.received;
    case TotalRole:
        return item.total;
    case StateRole:
        return int(item.state);
    case ReasonRole:
        return item.reason;
    case PercentRole:
        return percent(row);
    case CanCancelRole:
        return canCancel(row);
    case CanOpenFolderRole:
        return canOpenFolder(row);
    default:
        return {};
    }
}

QHash<int, QByteArray> TDownloadList::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(PathRole, "path");
    names.insert(ReceivedRole, "received");
    names.insert(TotalRole, "total");
    names.insert(StateRole, "state");
    names.insert(ReasonRole, "reason");
    names.insert(PercentRole, "percent");
    names.insert(CanCancelRole, "canCancel");
    names.insert(CanOpenFolderRole, "canOpenFolder");
    return names;
}

void TDownloadList::changed(int row)
{
    const QModelIndex at = index(row);
    emit dataChanged(at, at);
}

int TDownloadList::runningCount() const
{
    return int(std::count_if(m_items.cbegin(), m_items.cend(),
                             [](const Item& item) { return item.state == Running; }));
}

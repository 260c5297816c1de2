#pragma once

#include <QAbstractListModel>
#include <QString>

#include <functional>

// The downloads of this run, one row each, newest last. It knows nothing of
// the engine: the download manager feeds it progress and states and gives
// each row the function that stops its download.
class TDownloadList : public QAbstractListModel
{
    Q_OBJECT
public:
    enum State
    {
        Running,
        Finished,
        Cancelled,
        Interrupted
    };
    Q_ENUM(State)

    enum Role
    {
        PathRole = Qt::UserRole + 1,
        ReceivedRole,
        TotalRole,
        StateRole,
        ReasonRole,
        PercentRole,
        CanCancelRole,
        CanOpenFolderRole
    };

    struct Item
    {
        QString path;        // where the file is saved
        qint64 received = 0; // bytes so far
        qint64 total = -1;   // -1 while the size is unknown
        State state = Running;
        QString reason; // why an interrupted download stopped
        bool cancelRequested = false;
        std::function<void()> cancel;
    };

    using QAbstractListModel::QAbstractListModel;

    // Adds a running download; returns its row.
    int add(const QString& path, qint64 total, std::function<void()> cancel);
    // Negative or unknown totals are -1. A download that has ended keeps its
    // numbers: late reports do not change it.
    void setProgress(int row, qint64 received, qint64 total);
    // Finished, Cancelled and Interrupted are final.
    void setState(int row, State state, const QString& reason = QString());
    // Asks a running download to stop; false when there is nothing to stop.
    // The row turns Cancelled when the download reports it.
    bool cancel(int row);

    const Item& item(int row) const { return m_items.at(row); }
    QString fileName(int row) const;
    QString folder(int row) const;
    // 0–100, or -1 while the size is unknown.
    int percent(int row) const;
    bool canCancel(int row) const;
    // Downloads that have not ended yet.
    int runningCount() const;
    bool canOpenFolder(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    bool valid(int row) const { return row >= 0 && row < m_items.size(); }
    void changed(int row);

    QList<Item> m_items;
};

#pragma once

#include "core/engine/THistoryIndexReader.h"

#include <QAbstractItemModel>
#include <QDate>
#include <QIcon>

#include <memory>
#include <vector>

class WindowServices;

// The history as a tree: periods (the days of this week, then earlier
// weeks, newest first) hold sites (by host), sites hold pages (title, else
// address), both newest first. It is read from the index files whole on
// each refill; nothing is read while it is shown.
class HistoryTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    enum Kind
    {
        PeriodNode,
        SiteNode,
        PageNode
    };

    // What a node stands for. A period's and a site's address are empty; a
    // site's and a page's index file is their period's.
    struct Node
    {
        Kind kind = PeriodNode;
        QString caption;
        QString indexPath;
        QString site; // host, lower case; empty for pages without one
        QString address;
        QString title;
        qint64 visitedMs = 0;
        Node* parent = nullptr;
        int row = 0;
        std::vector<std::unique_ptr<Node>> children;
    };

    // services gives the period captions; it may be null (placeholders).
    explicit HistoryTreeModel(const WindowServices* services, QObject* parent = nullptr);
    ~HistoryTreeModel() override;

    // Reads the periods' index files again (THistoryIndexReader::periods of
    // the History folder); today decides the periods' captions.
    void refill(const QList<THistoryIndexReader::Period>& periods, const QDate& today);
    // The node of an index; null for the root.
    const Node* node(const QModelIndex& index) const;
    // A stable name of a node across refills, to find it again.
    static QString key(const Node& node);
    QModelIndex find(const QString& key) const;

    // The site a page belongs to: its host in lower case, empty without one.
    static QString siteOf(const QString& url);
    QString periodCaption(const THistoryIndexReader::Period& period, const QDate& today) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QString text(const QString& key) const;
    std::unique_ptr<Node> readPeriod(const THistoryIndexReader::Period& period,
                                     const QDate& today) const;
    QModelIndex indexOf(const Node* node) const;

    const WindowServices* m_services;
    Node m_root;
    QIcon m_periodIcon, m_siteIcon, m_pageIcon;
};

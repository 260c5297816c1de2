#pragma once

#include "core/engine/THistoryIndexReader.h"

#include <QPersistentModelIndex>
#include <QWidget>

class HistoryTreeModel;
class QAction;
class QFileSystemWatcher;
class QMenu;
class QTimer;
class QToolButton;
class QTreeView;
class TFindPanel;
class WindowServices;

// The side bar's History page: the history tree with its context menu, the
// find panel that takes the tree's place, and Clear History. The page reads
// and edits the history folder; what is opened it asks for through its
// signals. While the page is shown and has been filled, recorded visits
// show up by themselves: the folder and its index files are watched, and a
// change is read once the writing has settled.
class THistoryPage : public QWidget
{
    Q_OBJECT
public:
    // After a change is heard, the tree is read again this much later, so
    // that a burst of writes is read once.
    static constexpr int SettleMs = 250;

    THistoryPage(WindowServices* services, QWidget* parent = nullptr);

    // Roots the tree at historyRoot and fills it.
    void setRoot(const QString& historyRoot);
    QString root() const { return m_root; }
    HistoryTreeModel* model() const { return m_model; }

    QToolButton* tbFindHistory;
    QToolButton* tbHistoryRefresh;
    QToolButton* spdClearHistory;
    QTreeView* shHistory;
    TFindPanel* pnlFindHistory;
    QMenu* pmHistory;
    QAction* pmHistoryOpen;
    QAction* pmHistoryOpenInNewWindow;
    QAction* pmHistoryCopy;
    QAction* pmHistoryDelete;
    QAction* pmHistoryProperties;
    // The node on which the context menu was opened.
    QPersistentModelIndex HistoryTreeNode;

    // The handlers, public so that the window and tests drive them as the
    // user's clicks would.
    void tbFindHistoryClick();
    void tbHistoryRefreshClick();
    void spdClearHistoryClick();
    void spdFindHistoryClick();
    // A press of the left or middle button on a node.
    void shHistoryMouseDown(const QModelIndex& node);
    // Enter on a node, or Open: a page opens, a folder toggles.
    void shHistoryDblClick(const QModelIndex& node);
    void shHistoryContextMenu(const QModelIndex& node, const QPoint& globalPos);
    void pmHistoryOpenClick();
    void pmHistoryOpenInNewWindowClick();
    void pmHistoryCopyClick();
    void pmHistoryDeleteClick();
    void pmHistoryPropertiesClick();
    // Reads the tree again, keeping open folders open.
    void refresh();

signals:
    void openRequested(const QString& address);
    void openInNewWindowRequested(const QString& address);
    // The index files were removed; the engine may forget its visited links.
    void historyCleared();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void makeMenu();
    using Periods = QList<THistoryIndexReader::Period>;
    // The folder is listed once per look and the listing handed on.
    void watch(bool on, const Periods& periods);
    void changeHeard();
    static QString stamp(const Periods& periods);
    QString text(const QString& key) const;

    WindowServices* m_services;
    HistoryTreeModel* m_model;
    QString m_root;
    QString m_stamp;
    QFileSystemWatcher* m_watcher;
    QTimer* m_settle;
};

#include "groups/THistoryPage.h"

#include "chrome/TLanguage.h"
#include "components/FlatToolButton.h"
#include "components/TFindPanel.h"
#include "components/ThemeIcon.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/THistoryIndex.h"
#include "core/engine/THistoryIndexReader.h"
#include "groups/HistorySearch.h"
#include "groups/HistoryTreeModel.h"

#include <QApplication>
#include <QBoxLayout>
#include <QClipboard>
#include <QDateTime>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

namespace
{
const QString Section = QStringLiteral("MAIN");

} // namespace

THistoryPage::THistoryPage(WindowServices* services, QWidget* parent)
    : QWidget(parent), m_services(services), m_model(new HistoryTreeModel(services, this)),
      m_watcher(new QFileSystemWatcher(this)), m_settle(new QTimer(this))
{
    setObjectName(QStringLiteral("pnlHistory"));
    tbFindHistory = FlatToolButton(this, QStringLiteral("tbFindHistory"),
                                   ThemeIcon("edit-find", QStyle::SP_FileDialogContentsView),
                                   QStringLiteral("__VostelBarFindHistoryHint"));
    tbFindHistory->setCheckable(true);
    tbHistoryRefresh = FlatToolButton(this, QStringLiteral("tbHistoryRefresh"),
                                      ThemeIcon("view-refresh", QStyle::SP_BrowserReload),
                                      QStringLiteral("__VostelBarRefreshHint"));
    spdClearHistory = FlatToolButton(this, QStringLiteral("spdClearHistory"), QIcon(),
                                     QStringLiteral("__VostelBarHistoryClearHint"));
    spdClearHistory->setText(QStringLiteral("__VostelBarHistoryClear"));
    spdClearHistory->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto* tools = new QHBoxLayout;
    tools->setContentsMargins(0, 0, 0, 0);
    tools->setSpacing(0);
    tools->addWidget(tbFindHistory);
    tools->addWidget(tbHistoryRefresh);
    tools->addStretch(1);
    tools->addWidget(spdClearHistory);

    shHistory = new QTreeView(this);
    shHistory->setObjectName(QStringLiteral("shHistory"));
    shHistory->setModel(m_model);
    shHistory->setHeaderHidden(true);
    shHistory->setUniformRowHeights(true);
    shHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Presses open and toggle; a double click must not do it a second time.
    shHistory->setExpandsOnDoubleClick(false);
    // The status bar shows the hint of the node under the mouse.
    shHistory->setMouseTracking(true);
    shHistory->setContextMenuPolicy(Qt::CustomContextMenu);
    shHistory->installEventFilter(this);
    shHistory->viewport()->installEventFilter(this);
    connect(shHistory, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) {
                shHistoryContextMenu(shHistory->indexAt(pos),
                                     shHistory->viewport()->mapToGlobal(pos));
            });

    pnlFindHistory = new TFindPanel(QStringLiteral("History"), this);
    pnlFindHistory->hide();
    pnlFindHistory->spdFind->setToolTip(QStringLiteral("__VostelBarFindHistoryHint"));
    pnlFindHistory->edtFind->setPlaceholderText(QStringLiteral("__VostelBarFindHistoryPrompt"));
    connect(pnlFindHistory, &TFindPanel::findRequested, this, &THistoryPage::spdFindHistoryClick);
    // lvFindHistoryClick: a result opens as a page of the tree does.
    connect(pnlFindHistory, &TFindPanel::rowChosen, this, &THistoryPage::openRequested);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addLayout(tools);
    column->addWidget(shHistory, 1);
    column->addWidget(pnlFindHistory, 1);

    connect(tbFindHistory, &QToolButton::clicked, this, &THistoryPage::tbFindHistoryClick);
    connect(tbHistoryRefresh, &QToolButton::clicked, this, &THistoryPage::tbHistoryRefreshClick);
    connect(spdClearHistory, &QToolButton::clicked, this, &THistoryPage::spdClearHistoryClick);
    makeMenu();

    m_settle->setSingleShot(true);
    m_settle->setInterval(SettleMs);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, m_settle,
            qOverload<>(&QTimer::start));
    connect(m_watcher, &QFileSystemWatcher::fileChanged, m_settle, qOverload<>(&QTimer::start));
    connect(m_settle, &QTimer::timeout, this, &THistoryPage::changeHeard);
}

void THistoryPage::makeMenu()
{
    pmHistory = new QMenu(this);
    pmHistory->setObjectName(QStringLiteral("pmHistory"));
    const auto item = [this](const char* name, const char* key, void (THistoryPage::*handler)())
    {
        QAction* action = pmHistory->addAction(QStringLiteral("__") + QLatin1String(key));
        action->setObjectName(QString::fromLatin1(name));
        action->setToolTip(QStringLiteral("__") + QLatin1String(key) + QStringLiteral("Hint"));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    pmHistoryOpen = item("pmHistoryOpen", "MenuHistoryOpen", &THistoryPage::pmHistoryOpenClick);
    QFont bold = pmHistoryOpen->font();
    bold.setBold(true);
    pmHistoryOpen->setFont(bold);
    pmHistory->setDefaultAction(pmHistoryOpen);
    pmHistoryOpenInNewWindow = item("pmHistoryOpenInNewWindow", "MenuHistoryOpenInNewWindow",
                                    &THistoryPage::pmHistoryOpenInNewWindowClick);
    pmHistory->addSeparator();
    pmHistoryCopy = item("pmHistoryCopy", "MenuHistoryCopy", &THistoryPage::pmHistoryCopyClick);
    pmHistoryDelete =
        item("pmHistoryDelete", "MenuHistoryDelete", &THistoryPage::pmHistoryDeleteClick);
    pmHistory->addSeparator()->setObjectName(QStringLiteral("N2"));
    pmHistoryProperties = item("pmHistoryProperties", "MenuHistoryProperties",
                               &THistoryPage::pmHistoryPropertiesClick);
}

QString THistoryPage::text(const QString& key) const
{
    return m_services ? m_services->GetLangText(Section, key) : QStringLiteral("__") + key;
}

void THistoryPage::setRoot(const QString& historyRoot)
{
    m_root = historyRoot;
    refresh();
}

void THistoryPage::refresh()
{
    QStringList expanded;
    for (int row = 0; row < m_model->rowCount(); ++row)
    {
        const QModelIndex period = m_model->index(row, 0);
        if (!shHistory->isExpanded(period))
            continue;
        expanded << HistoryTreeModel::key(*m_model->node(period));
        for (int site = 0; site < m_model->rowCount(period); ++site)
        {
            const QModelIndex index = m_model->index(site, 0, period);
            if (shHistory->isExpanded(index))
                expanded << HistoryTreeModel::key(*m_model->node(index));
        }
    }
    const QModelIndex current = shHistory->currentIndex();
    const QString currentKey =
        current.isValid() ? HistoryTreeModel::key(*m_model->node(current)) : QString();

    const Periods periods = THistoryIndexReader::periods(m_root);
    m_stamp = stamp(periods);
    m_model->refill(periods, QDate::currentDate());
    for (const QString& key : std::as_const(expanded))
        shHistory->expand(m_model->find(key));
    if (!currentKey.isEmpty())
        shHistory->setCurrentIndex(m_model->find(currentKey));
    watch(isVisible(), periods);
}

QString THistoryPage::stamp(const Periods& periods)
{
    QString stamp;
    for (const THistoryIndexReader::Period& period : periods)
    {
        const QFileInfo info(period.indexPath);
        stamp += period.indexPath + u'|' + QString::number(info.size()) + u'|' +
                 QString::number(info.lastModified().toMSecsSinceEpoch()) + u'\n';
    }
    return stamp;
}

void THistoryPage::watch(bool on, const Periods& periods)
{
    const QStringList watched = m_watcher->files() + m_watcher->directories();
    if (!watched.isEmpty())
        m_watcher->removePaths(watched);
    if (!on || m_root.isEmpty())
        return;
    // The root hears new period folders, a folder hears its file replaced,
    // a file hears appends.
    QStringList paths{m_root};
    for (const THistoryIndexReader::Period& period : periods)
    {
        paths << period.indexPath;
        if (!period.name.isEmpty())
            paths << QFileInfo(period.indexPath).absolutePath();
    }
    if (QFileInfo(m_root).isDir())
        m_watcher->addPaths(paths);
}

void THistoryPage::changeHeard()
{
    if (m_root.isEmpty() || !isVisible())
        return;
    const Periods periods = THistoryIndexReader::periods(m_root);
    if (stamp(periods) != m_stamp)
        refresh();
    else
        watch(true, periods); // a replaced file is watched again by its new name
}

void THistoryPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Visits recorded while the page was away.
    if (!m_root.isEmpty())
        changeHeard();
}

void THistoryPage::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_settle->stop();
    watch(false, {});
}

void THistoryPage::tbFindHistoryClick()
{
    const bool finding = tbFindHistory->isChecked();
    shHistory->setVisible(!finding);
    pnlFindHistory->setVisible(finding);
    if (finding)
        pnlFindHistory->edtFind->setFocus();
}

void THistoryPage::tbHistoryRefreshClick()
{
    refresh();
}

void THistoryPage::spdFindHistoryClick()
{
    const QString wanted = pnlFindHistory->searchText();
    if (wanted.isEmpty())
        return;
    HistorySearch::Rows rows;
    HistorySearch::SearchHistoryFolder(m_root, wanted, rows);
    pnlFindHistory->setRows(std::move(rows),
                            m_services ? m_services->GetGlobalText(QStringLiteral("NoItems"))
                                       : QStringLiteral("~~NoItems"));
}

void THistoryPage::spdClearHistoryClick()
{
    if (!m_services)
        return;
    const ConfirmResult answer =
        m_services->confirm(QStringLiteral("Quillwave"), false, QString(),
                            m_services->GetGlobalText(QStringLiteral("ClearGlobalHistory")),
                            m_services->GetGlobalText(QStringLiteral("Yes")),
                            m_services->GetGlobalText(QStringLiteral("No")), QString());
    if (!answer.ok)
        return;
    const bool cleared = THistoryIndexReader::clear(m_root);
    emit historyCleared();
    refresh();
    if (!cleared)
        m_services->showError(m_services->GetGlobalText(QStringLiteral("HistoryNotCleared")));
}

void THistoryPage::shHistoryMouseDown(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    if (m_model->hasChildren(index))
        shHistory->setExpanded(index, !shHistory->isExpanded(index));
    else
        shHistoryDblClick(index);
}

void THistoryPage::shHistoryDblClick(const QModelIndex& index)
{
    const HistoryTreeModel::Node* node = m_model->node(index);
    if (!node)
        return;
    if (node->kind == HistoryTreeModel::PageNode)
        emit openRequested(node->address);
    else
        shHistory->setExpanded(index, !shHistory->isExpanded(index));
}

void THistoryPage::shHistoryContextMenu(const QModelIndex& index, const QPoint& globalPos)
{
    const HistoryTreeModel::Node* node = m_model->node(index);
    if (!node)
        return;
    HistoryTreeNode = index;
    const bool page = node->kind == HistoryTreeModel::PageNode;
    pmHistoryOpenInNewWindow->setVisible(page);
    pmHistoryCopy->setVisible(page);
    pmHistoryProperties->setVisible(page);
    pmHistory->findChild<QAction*>(QStringLiteral("N2"))->setVisible(page);
    pmHistory->popup(globalPos);
}

void THistoryPage::pmHistoryOpenClick()
{
    const HistoryTreeModel::Node* node = m_model->node(HistoryTreeNode);
    if (!node)
        return;
    if (node->kind == HistoryTreeModel::PageNode)
        emit openRequested(node->address);
    else
        shHistory->expand(HistoryTreeNode);
}

void THistoryPage::pmHistoryOpenInNewWindowClick()
{
    const HistoryTreeModel::Node* node = m_model->node(HistoryTreeNode);
    if (node && node->kind == HistoryTreeModel::PageNode)
        emit openInNewWindowRequested(node->address);
}

void THistoryPage::pmHistoryCopyClick()
{
    const HistoryTreeModel::Node* node = m_model->node(HistoryTreeNode);
    if (node && node->kind == HistoryTreeModel::PageNode)
        QGuiApplication::clipboard()->setText(node->address);
}

void THistoryPage::pmHistoryDeleteClick()
{
    const HistoryTreeModel::Node* node = m_model->node(HistoryTreeNode);
    if (!node)
        return;
    const HistoryTreeModel::Kind kind = node->kind;
    const QString site = node->site;
    const QString address = node->address;
    // A site goes with every page of its host, also those recorded since
    // the tree was read.
    const bool removed = THistoryIndex::removeEntries(
        m_root, node->indexPath,
        [&](const QString& url)
        {
            return kind == HistoryTreeModel::PeriodNode ||
                   (kind == HistoryTreeModel::SiteNode ? HistoryTreeModel::siteOf(url) == site
                                                       : url == address);
        });
    refresh();
    if (!removed && m_services)
        m_services->showError(m_services->GetGlobalText(QStringLiteral("HistoryNotDeleted")));
}

void THistoryPage::pmHistoryPropertiesClick()
{
    const HistoryTreeModel::Node* node = m_model->node(HistoryTreeNode);
    if (!node || node->kind != HistoryTreeModel::PageNode || !m_services)
        return;
    QStringList lines{
        TLanguage::FormatText(text(QStringLiteral("HistoryPropertyTitle")), node->title),
        TLanguage::FormatText(text(QStringLiteral("HistoryPropertyAddress")), node->address)};
    if (node->visitedMs > 0)
        lines << TLanguage::FormatText(
            text(QStringLiteral("HistoryPropertyVisited")),
            QLocale().toString(QDateTime::fromMSecsSinceEpoch(node->visitedMs).toLocalTime(),
                               QLocale::LongFormat));
    m_services->notify(text(QStringLiteral("HistoryPropertiesCaption")), lines.join(u'\n'));
}

bool THistoryPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == shHistory->viewport())
    {
        const auto type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
        {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton && mouse->button() != Qt::MiddleButton)
                return false;
            const QModelIndex index = shHistory->indexAt(mouse->position().toPoint());
            // The press of a double click has already opened or toggled.
            if (type == QEvent::MouseButtonPress && index.isValid())
            {
                shHistory->setCurrentIndex(index);
                shHistoryMouseDown(index);
            }
            return index.isValid();
        }
    }
    else if (watched == shHistory && event->type() == QEvent::KeyPress)
    {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
        {
            shHistoryDblClick(shHistory->currentIndex());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

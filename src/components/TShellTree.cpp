#include "components/TShellTree.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMimeData>
#include <QStyledItemDelegate>
#include <QUrl>

namespace
{
QStringList localFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files << QDir::cleanPath(url.toLocalFile());
    return files;
}

bool isSameOrInside(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

// Whether something of any kind, a dangling link too, has this name.
bool nameTaken(const QString& path)
{
    return QFileInfo(path).exists() || QFileInfo(path).isSymLink();
}
bool hasSuffix(const QModelIndex& index, const QString& name, const QString& suffix)
{
    const auto* model = qobject_cast<const QFileSystemModel*>(index.model());
    return model && !suffix.isEmpty() && !model->isDir(index) && name.size() > suffix.size() &&
           name.endsWith(suffix, Qt::CaseInsensitive);
}

// Only the shown text changes: paths and drops see the real name. A file
// renamed in place is offered its name without the suffix and keeps the
// suffix it had.
class SuffixHidingDelegate : public QStyledItemDelegate
{
public:
    SuffixHidingDelegate(const QString& suffix, QObject* parent)
        : QStyledItemDelegate(parent), m_suffix(suffix)
    {
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        QStyledItemDelegate::setEditorData(editor, index);
        auto* edit = qobject_cast<QLineEdit*>(editor);
        if (edit && hasSuffix(index, edit->text(), m_suffix))
            edit->setText(edit->text().chopped(m_suffix.size()));
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override
    {
        auto* edit = qobject_cast<QLineEdit*>(editor);
        const QString oldName = index.data(Qt::EditRole).toString();
        if (!edit || !hasSuffix(index, oldName, m_suffix))
            return QStyledItemDelegate::setModelData(editor, model, index);
        const QString name = edit->text().trimmed();
        const QString newName = name + oldName.right(m_suffix.size());
        // An empty name would leave only the suffix: a hidden file.
        if (name.isEmpty() || newName == oldName)
            return;
        // Another entry of that name is never replaced.
        const auto* files = static_cast<const QFileSystemModel*>(model);
        if (nameTaken(QFileInfo(files->filePath(index)).dir().filePath(newName)))
            return;
        model->setData(index, newName, Qt::EditRole);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (hasSuffix(index, option->text, m_suffix))
            option->text.chop(m_suffix.size());
    }

private:
    QString m_suffix;
};
} // namespace

TShellTree::TShellTree(QWidget* parent) : QTreeView(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(EditKeyPressed);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(DragDrop);
    // Inside the tree a drag moves, as a file manager does on one disk.
    setDefaultDropAction(Qt::MoveAction);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at)
            { emit nodeContextMenu(nodeAt(at), viewport()->mapToGlobal(at)); });
    connect(this, &QTreeView::expanded, this, &TShellTree::nodeExpanded);
    makeModel();
}

void TShellTree::makeModel()
{
    QFileSystemModel* old = m_model;
    m_model = new QFileSystemModel(this);
    m_model->setReadOnly(false);
    m_model->setNameFilterDisables(false);
    applyFilters();
    connect(m_model, &QFileSystemModel::fileRenamed, this,
            [this](const QString& folder, const QString& oldName, const QString& newName)
            {
                const QDir dir(folder);
                emit nodeRenamed(dir.filePath(oldName), dir.filePath(newName));
            });
    connect(m_model, &QFileSystemModel::directoryLoaded, this, &TShellTree::reexpandLoaded);
    // Without a root the view stays empty rather than show the whole disk.
    setModel(m_root.isEmpty() ? nullptr : m_model);
    delete old;
    if (m_root.isEmpty())
        return;
    // Only the name: size, type and date have no room in a side bar.
    for (int column = 1; column < m_model->columnCount(); ++column)
        hideColumn(column);
    setRootIndex(m_model->setRootPath(m_root));
}

void TShellTree::applyFilters()
{
    QDir::Filters filters = QDir::AllDirs | QDir::NoDotAndDotDot;
    if (m_filesShown)
        filters |= QDir::Files;
    m_model->setFilter(filters);
    m_model->setNameFilters(m_nameFilters);
}

void TShellTree::setRoot(const QString& path)
{
    m_root = path.isEmpty() ? QString() : QDir::cleanPath(QDir(path).absolutePath());
    m_reexpand.clear();
    makeModel();
}

void TShellTree::refresh()
{
    m_reexpand.clear();
    if (m_root.isEmpty())
        return;
    // Deepest last, so that each folder is opened after its parent.
    QList<QModelIndex> pending{rootIndex()};
    while (!pending.isEmpty())
    {
        const QModelIndex parent = pending.takeFirst();
        for (int row = 0; row < m_model->rowCount(parent); ++row)
        {
            const QModelIndex node = m_model->index(row, 0, parent);
            if (isExpanded(node))
            {
                m_reexpand << m_model->filePath(node);
                pending << node;
            }
        }
    }
    makeModel();
}

void TShellTree::reexpandLoaded(const QString& folder)
{
    const QString loaded = QDir::cleanPath(folder);
    for (auto it = m_reexpand.begin(); it != m_reexpand.end();)
    {
        if (QFileInfo(*it).path() == loaded)
        {
            expand(m_model->index(*it));
            it = m_reexpand.erase(it);
        }
        else
            ++it;
    }
}

void TShellTree::setHiddenSuffix(const QString& suffix)
{
    m_hiddenSuffix = suffix;
    setItemDelegate(new SuffixHidingDelegate(suffix, this));
}

bool TShellTree::isRenamable(const QModelIndex& node) const
{
    if (isFolder(node))
        return true;
    return m_renamesSuffixFiles && hasSuffix(node, m_model->fileName(node), m_hiddenSuffix);
}

void TShellTree::setNameFilters(const QStringList& patterns)
{
    m_nameFilters = patterns;
    applyFilters();
}

void TShellTree::setFilesShown(bool shown)
{
    m_filesShown = shown;
    applyFilters();
}

QModelIndex TShellTree::nodeAt(const QPoint& clientPos) const
{
    return indexAt(clientPos);
}

QModelIndex TShellTree::nodeOf(const QString& path) const
{
    if (m_root.isEmpty() || !isSameOrInside(QDir::cleanPath(path), m_root))
        return {};
    return m_model->index(QDir::cleanPath(path));
}

QString TShellTree::pathOf(const QModelIndex& node) const
{
    return node.isValid() ? m_model->filePath(node) : QString();
}

bool TShellTree::isFolder(const QModelIndex& node) const
{
    return node.isValid() && m_model->isDir(node);
}

QString TShellTree::folderOf(const QModelIndex& node) const
{
    if (!node.isValid())
        return m_root;
    return isFolder(node) ? pathOf(node) : QFileInfo(pathOf(node)).path();
}

void TShellTree::nodeExpanded(const QModelIndex& node)
{
    if (!m_autoExpand)
        return;
    const QModelIndex parent = node.parent();
    for (int row = 0; row < m_model->rowCount(parent); ++row)
    {
        const QModelIndex sibling = m_model->index(row, 0, parent);
        if (sibling != node.siblingAtColumn(0) && isExpanded(sibling))
            collapse(sibling);
    }
}

bool TShellTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    // A file keeps the name its owner gives it: its type hangs on it.
    if (!isRenamable(index.siblingAtColumn(0)))
        return false;
    return QTreeView::edit(index, trigger, event);
}

bool TShellTree::startRename(const QModelIndex& node)
{
    if (!isRenamable(node))
        return false;
    setCurrentIndex(node);
    scrollTo(node);
    return QTreeView::edit(node, AllEditTriggers, nullptr);
}

QString TShellTree::createFolder(const QString& baseName)
{
    if (m_root.isEmpty() || baseName.isEmpty())
        return {};
    const QModelIndex selected = currentIndex();
    const QString folder = folderOf(selected.isValid() ? selected.siblingAtColumn(0) : selected);
    QString name = baseName;
    for (int n = 2; nameTaken(QDir(folder).filePath(name)); ++n)
        name = QStringLiteral("%1 (%2)").arg(baseName, QString::number(n));
    const QModelIndex parent = folder == m_root ? rootIndex() : m_model->index(folder);
    const QModelIndex made = m_model->mkdir(parent, name);
    if (!made.isValid())
    {
        emit operationFailed(QDir(folder).filePath(name));
        return {};
    }
    if (parent != rootIndex())
        expand(parent);
    startRename(made);
    return m_model->filePath(made);
}

bool TShellTree::deleteNode(const QModelIndex& node)
{
    const QString path = pathOf(node);
    if (path.isEmpty() || path == m_root)
        return false;
    if (!QFile::moveToTrash(path))
    {
        emit operationFailed(path);
        return false;
    }
    return true;
}

int TShellTree::dropFiles(const QList<QUrl>& urls, const QString& folder, Qt::DropAction action)
{
    const QString into = QDir::cleanPath(folder);
    if (!QFileInfo(into).isDir() || (action != Qt::CopyAction && action != Qt::MoveAction))
        return 0;
    int arrived = 0;
    for (const QUrl& url : urls)
    {
        if (!url.isLocalFile())
            continue;
        const QString source = QDir::cleanPath(url.toLocalFile());
        const QFileInfo info(source);
        if (!info.exists() && !info.isSymLink())
            continue;
        if (info.path() == into || (info.isDir() && isSameOrInside(into, source)))
            continue;
        const QString target = QDir(into).filePath(info.fileName());
        if (nameTaken(target) || !copyOrMove(source, target, action))
        {
            emit operationFailed(source);
            continue;
        }
        ++arrived;
    }
    if (arrived > 0)
        emit filesDropped(into);
    return arrived;
}

bool TShellTree::copyOrMove(const QString& source, const QString& target, Qt::DropAction action)
{
    const QFileInfo info(source);
    if (action == Qt::MoveAction)
    {
        // QFile copies a file that cannot be renamed across disks; a folder
        // is copied whole first and removed only once the copy is complete.
        if (!info.isDir() || info.isSymLink())
            return QFile::rename(source, target);
        if (QDir().rename(source, target))
            return true;
        if (!copyTree(source, target))
        {
            QDir(target).removeRecursively();
            return false;
        }
        return QDir(source).removeRecursively();
    }
    if (info.isDir() && !info.isSymLink())
    {
        if (copyTree(source, target))
            return true;
        QDir(target).removeRecursively();
        return false;
    }
    return QFile::copy(source, target);
}

bool TShellTree::copyTree(const QString& source, const QString& target)
{
    if (!QDir().mkpath(target))
        return false;
    const QDir from(source);
    // A linked folder is left out: following it could copy without end.
    for (const QFileInfo& entry :
         from.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
    {
        const QString to = QDir(target).filePath(entry.fileName());
        if (entry.isDir() && entry.isSymLink())
            continue;
        if (entry.isDir() ? !copyTree(entry.filePath(), to) : !QFile::copy(entry.filePath(), to))
            return false;
    }
    return true;
}

void TShellTree::dragEnterEvent(QDragEnterEvent* event)
{
    if (localFiles(event->mimeData()).isEmpty() || m_root.isEmpty())
    {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void TShellTree::dragMoveEvent(QDragMoveEvent* event)
{
    // The base class scrolls near the edges and draws the drop mark.
    QTreeView::dragMoveEvent(event);
    if (localFiles(event->mimeData()).isEmpty() || m_root.isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void TShellTree::dropEvent(QDropEvent* event)
{
    const QStringList files = localFiles(event->mimeData());
    if (files.isEmpty() || m_root.isEmpty())
    {
        event->ignore();
        return;
    }
    const Qt::DropAction action =
        event->dropAction() == Qt::MoveAction ? Qt::MoveAction : Qt::CopyAction;
    const QModelIndex node = nodeAt(event->position().toPoint());
    dropFiles(event->mimeData()->urls(), folderOf(node.siblingAtColumn(0)), action);
    // The files are where they belong now; the source must not remove them.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
}

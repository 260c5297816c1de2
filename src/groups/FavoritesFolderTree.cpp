#include "groups/FavoritesFolderTree.h"

#include "core/dialogs/WindowServices.h"
#include "groups/InternetShortcut.h"

#include <QDir>
#include <QFileIconProvider>
#include <QTreeWidgetItemIterator>

namespace
{
enum Role
{
    PathRole = Qt::UserRole,
    FolderRole,
    FilledRole
};

const QDir::SortFlags Order = QDir::Name | QDir::IgnoreCase | QDir::LocaleAware;

// The file names the menus show: a shortcut without its extension.
QString caption(const QFileInfo& info)
{
    if (!info.isDir() && InternetShortcut::isShortcutFile(info.fileName()))
        return info.fileName().chopped(4);
    return info.fileName();
}
} // namespace

FavoritesFolderTree::FavoritesFolderTree(const QString& root, bool withFiles, QWidget* parent)
    : QTreeWidget(parent), m_root(QDir::cleanPath(root)), m_withFiles(withFiles)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QTreeWidget::itemExpanded, this, &FavoritesFolderTree::itemExpanding);
    reload();
}

QString FavoritesFolderTree::pathOf(const QTreeWidgetItem* item)
{
    return item ? item->data(0, PathRole).toString() : QString();
}

bool FavoritesFolderTree::isFolderItem(const QTreeWidgetItem* item)
{
    return item && item->data(0, FolderRole).toBool();
}

QString FavoritesFolderTree::selectedPath() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? m_root : pathOf(selected.first());
}

QString FavoritesFolderTree::selectedFolder() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.isEmpty())
        return m_root;
    const QTreeWidgetItem* item = selected.first();
    return isFolderItem(item) ? pathOf(item) : pathOf(item->parent());
}

void FavoritesFolderTree::setRootCaption(const QString& caption)
{
    if (QTreeWidgetItem* top = topLevelItem(0))
        top->setText(0, caption);
}

QTreeWidgetItem* FavoritesFolderTree::makeItem(QTreeWidgetItem* parent, const QString& path,
                                               bool folder)
{
    static const QFileIconProvider icons;
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, caption(QFileInfo(path)));
    item->setIcon(0, icons.icon(folder ? QFileIconProvider::Folder : QFileIconProvider::File));
    item->setData(0, PathRole, path);
    item->setData(0, FolderRole, folder);
    // Shows the expand mark until the folder is read; reading finds out
    // whether it holds anything.
    if (folder)
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

void FavoritesFolderTree::fill(QTreeWidgetItem* item)
{
    if (item->data(0, FilledRole).toBool())
        return;
    item->setData(0, FilledRole, true);
    const QDir dir(pathOf(item));
    // Hidden entries stay hidden, as in the menus; so does a half-made import.
    for (const QFileInfo& sub : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, Order))
        makeItem(item, sub.filePath(), true);
    if (m_withFiles)
        for (const QFileInfo& file : dir.entryInfoList(QDir::Files, Order))
            makeItem(item, file.filePath(), false);
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void FavoritesFolderTree::itemExpanding(QTreeWidgetItem* item)
{
    fill(item);
}

QTreeWidgetItem* FavoritesFolderTree::itemOf(const QString& path) const
{
    const QString wanted = QDir::cleanPath(path);
    QTreeWidgetItem* item = topLevelItem(0);
    if (!item || !(wanted == m_root || wanted.startsWith(m_root + QLatin1Char('/'))))
        return nullptr;
    const QStringList steps = wanted.mid(m_root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& step : steps)
    {
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (QFileInfo(pathOf(item->child(i))).fileName() == step)
                next = item->child(i);
        if (!next)
            return nullptr;
        item = next;
    }
    return item;
}

bool FavoritesFolderTree::selectPath(const QString& path)
{
    const QString wanted = QDir::cleanPath(path);
    QTreeWidgetItem* item = topLevelItem(0);
    if (!item || !(wanted == m_root || wanted.startsWith(m_root + QLatin1Char('/'))))
        return false;
    QString reached = m_root;
    for (const QString& step :
         wanted.mid(m_root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts))
    {
        fill(item);
        item->setExpanded(true);
        reached += QLatin1Char('/') + step;
        QTreeWidgetItem* next = itemOf(reached);
        if (!next)
            return false;
        item = next;
    }
    setCurrentItem(item);
    item->setSelected(true);
    scrollToItem(item);
    return true;
}

void FavoritesFolderTree::reload(const QString& select)
{
    QStringList open;
    for (QTreeWidgetItemIterator it(this); *it; ++it)
        if ((*it)->isExpanded())
            open << pathOf(*it);
    QString wanted = select.isEmpty() ? selectedPath() : select;
    const QString caption =
        topLevelItem(0) ? topLevelItem(0)->text(0) : QFileInfo(m_root).fileName();
    clear();
    QTreeWidgetItem* top = makeItem(nullptr, m_root, true);
    top->setText(0, caption);
    fill(top);
    top->setExpanded(true);
    for (const QString& path : std::as_const(open))
        if (QTreeWidgetItem* item = itemOf(path))
        {
            fill(item);
            item->setExpanded(true);
        }
    while (!QFileInfo::exists(wanted) && wanted.size() > m_root.size())
        wanted = QFileInfo(wanted).path();
    if (!selectPath(wanted))
        selectPath(m_root);
}

QString FavoritesFolderTree::askFolderName(WindowServices* services, const QString& caption,
                                           const QString& prompt)
{
    QString name;
    if (!services->inputQuery(caption, prompt, name))
        return QString();
    return InternetShortcut::safeFileName(name);
}

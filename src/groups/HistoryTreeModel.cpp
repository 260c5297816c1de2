#include "groups/HistoryTreeModel.h"

#include "chrome/TLanguage.h"
#include "components/ThemeIcon.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/THistoryIndex.h"

#include <QApplication>
#include <QHash>
#include <QLocale>
#include <QStyle>

#include <algorithm>

namespace
{
const QString Section = QStringLiteral("MAIN");

void sortNewestFirst(std::vector<std::unique_ptr<HistoryTreeModel::Node>>& nodes)
{
    // Equal times keep the later entry of the file first.
    std::reverse(nodes.begin(), nodes.end());
    std::stable_sort(nodes.begin(), nodes.end(),
                     [](const auto& a, const auto& b) { return a->visitedMs > b->visitedMs; });
}

void adopt(HistoryTreeModel::Node* parent)
{
    for (size_t i = 0; i < parent->children.size(); ++i)
    {
        parent->children[i]->parent = parent;
        parent->children[i]->row = int(i);
    }
}
} // namespace

HistoryTreeModel::HistoryTreeModel(const WindowServices* services, QObject* parent)
    : QAbstractItemModel(parent), m_services(services),
      m_periodIcon(ThemeIcon("folder", QStyle::SP_DirIcon)),
      m_siteIcon(ThemeIcon("folder-remote", QStyle::SP_DirLinkIcon)),
      m_pageIcon(ThemeIcon("text-html", QStyle::SP_FileIcon))
{
}

HistoryTreeModel::~HistoryTreeModel() = default;

QString HistoryTreeModel::text(const QString& key) const
{
    return m_services ? m_services->GetLangText(Section, key) : QStringLiteral("__") + key;
}

QString HistoryTreeModel::siteOf(const QString& url)
{
    // Read by hand: a full address parse per entry would cost more than
    // reading the whole history file.
    const qsizetype mark = url.indexOf(QLatin1String("://"));
    if (mark <= 0)
        return {};
    QStringView authority = QStringView(url).mid(mark + 3);
    for (qsizetype i = 0; i < authority.size(); ++i)
    {
        const QChar c = authority[i];
        if (c == u'/' || c == u'?' || c == u'#' || c == u'\\')
        {
            authority.truncate(i);
            break;
        }
    }
    const qsizetype user = authority.lastIndexOf(u'@');
    if (user >= 0)
        authority = authority.mid(user + 1);
    if (authority.startsWith(u'['))
    {
        const qsizetype close = authority.indexOf(u']');
        return close < 0 ? QString() : authority.left(close + 1).toString().toLower();
    }
    const qsizetype port = authority.indexOf(u':');
    return (port < 0 ? authority : authority.left(port)).toString().toLower();
}

QString HistoryTreeModel::periodCaption(const THistoryIndexReader::Period& period,
                                        const QDate& today) const
{
    using Period = THistoryIndexReader::Period;
    switch (period.kind)
    {
    case Period::Day:
        if (period.first == today)
            return text(QStringLiteral("HistoryToday"));
        return text(QStringLiteral("HistoryDay%1").arg(period.first.dayOfWeek()));
    case Period::Week:
    {
        const qint64 weeks = period.first.daysTo(THistoryIndex::weekStart(today)) / 7;
        if (weeks == 1)
            return text(QStringLiteral("HistoryLastWeek"));
        if (weeks > 1)
            return TLanguage::FormatText(text(QStringLiteral("HistoryWeeksAgo")),
                                         QString::number(weeks));
        // A week that has not begun yet: the clock was put back.
        return QLocale().toString(period.first, QLocale::ShortFormat);
    }
    case Period::Other:
        break;
    }
    return period.name.isEmpty() ? text(QStringLiteral("HistoryOther")) : period.name;
}

std::unique_ptr<HistoryTreeModel::Node>
HistoryTreeModel::readPeriod(const THistoryIndexReader::Period& period, const QDate& today) const
{
    auto periodNode = std::make_unique<Node>();
    periodNode->kind = PeriodNode;
    periodNode->caption = periodCaption(period, today);
    periodNode->indexPath = period.indexPath;
    QHash<QString, Node*> sites;
    for (THistoryIndexReader::Entry& entry : THistoryIndexReader::readFile(period.indexPath))
    {
        const QString site = siteOf(entry.url);
        Node*& siteNode = sites[site];
        if (!siteNode)
        {
            auto made = std::make_unique<Node>();
            made->kind = SiteNode;
            made->site = site;
            made->caption = site.isEmpty() ? text(QStringLiteral("HistoryLocalFiles")) : site;
            made->indexPath = period.indexPath;
            siteNode = made.get();
            periodNode->children.push_back(std::move(made));
        }
        auto page = std::make_unique<Node>();
        page->kind = PageNode;
        page->caption = entry.caption();
        page->indexPath = period.indexPath;
        page->site = site;
        page->address = std::move(entry.url);
        page->title = std::move(entry.title);
        page->visitedMs = entry.visitedMs;
        siteNode->visitedMs = std::max(siteNode->visitedMs, page->visitedMs);
        siteNode->children.push_back(std::move(page));
    }
    sortNewestFirst(periodNode->children);
    adopt(periodNode.get());
    for (auto& site : periodNode->children)
    {
        sortNewestFirst(site->children);
        adopt(site.get());
    }
    return periodNode;
}

void HistoryTreeModel::refill(const QList<THistoryIndexReader::Period>& periods, const QDate& today)
{
    beginResetModel();
    m_root.children.clear();
    for (const THistoryIndexReader::Period& period : periods)
    {
        std::unique_ptr<Node> node = readPeriod(period, today);
        if (!node->children.empty())
            m_root.children.push_back(std::move(node));
    }
    adopt(&m_root);
    endResetModel();
}

const HistoryTreeModel::Node* HistoryTreeModel::node(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<const Node*>(index.internalPointer()) : nullptr;
}

QString HistoryTreeModel::key(const Node& node)
{
    switch (node.kind)
    {
    case PeriodNode:
        return node.indexPath;
    case SiteNode:
        return node.indexPath + u'\n' + node.site;
    case PageNode:
        break;
    }
    return node.indexPath + u'\n' + node.site + u'\n' + node.address;
}

QModelIndex HistoryTreeModel::find(const QString& wanted) const
{
    // Keys grow by one line per level: walk down by prefix.
    const Node* at = &m_root;
    while (true)
    {
        const auto it = std::find_if(at->children.cbegin(), at->children.cend(),
                                     [&](const auto& child)
                                     {
                                         const QString k = key(*child);
                                         return wanted == k || wanted.startsWith(k + u'\n');
                                     });
        if (it == at->children.cend())
            return {};
        if (key(**it) == wanted)
            return indexOf(it->get());
        at = it->get();
    }
}

QModelIndex HistoryTreeModel::indexOf(const Node* node) const
{
    if (!node || node == &m_root)
        return {};
    return createIndex(node->row, 0, const_cast<Node*>(node));
}

QModelIndex HistoryTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    const Node* at = parent.isValid() ? node(parent) : &m_root;
    if (column != 0 || row < 0 || size_t(row) >= at->children.size())
        return {};
    return createIndex(row, 0, at->children[size_t(row)].get());
}

QModelIndex HistoryTreeModel::parent(const QModelIndex& child) const
{
    const Node* at = node(child);
    return at ? indexOf(at->parent) : QModelIndex();
}

int HistoryTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    const Node* at = parent.isValid() ? node(parent) : &m_root;
    return int(at->children.size());
}

int HistoryTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool HistoryTreeModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant HistoryTreeModel::data(const QModelIndex& index, int role) const
{
    const Node* at = node(index);
    if (!at)
        return {};
    switch (role)
    {
    case Qt::DisplayRole:
        return at->caption;
    case Qt::DecorationRole:
        return at->kind == PeriodNode ? m_periodIcon
                                      : (at->kind == SiteNode ? m_siteIcon : m_pageIcon);
    case Qt::ToolTipRole:
        return at->kind == PageNode && at->caption != at->address
                   ? at->caption + u'\n' + at->address
                   : at->caption;
    case Qt::StatusTipRole:
        // A hint is "short|long" and the status bar shows the long part: an
        // address or a title may hold a "|" of its own.
        return u'|' + (at->kind == PageNode ? at->address : at->caption);
    default:
        return {};
    }
}

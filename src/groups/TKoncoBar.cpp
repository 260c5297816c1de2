#include "groups/TKoncoBar.h"

#include "chrome/TLanguage.h"
#include "components/FlatToolButton.h"
#include "components/TQWPageControl.h"
#include "components/TQWTabStrip.h"
#include "components/TShellTree.h"
#include "components/ThemeIcon.h"
#include "core/dialogs/WindowServices.h"
#include "groups/TVostelGroup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{
const QString Section = QStringLiteral("MAIN");
const QString GroupSuffix = QStringLiteral(".vgp");

QWidget* emptyPage(const char* name)
{
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return page;
}

bool isGroupFile(const QString& path)
{
    return QFileInfo(path).isFile() && TVostelGroup::IsVostelGroupFile(path);
}
} // namespace

TKoncoBar::TKoncoBar(WindowServices* services, const QString& groupsFolder, QWidget* parent)
    : QWidget(parent), m_services(services), m_groupsFolder(groupsFolder)
{
    setObjectName(QStringLiteral("KoncoBar"));
    pcKoncoBar = new TQWPageControl(this);
    pcKoncoBar->setObjectName(QStringLiteral("pcKoncoBar"));
    pcKoncoBar->SetTabsAtBottom(true);
    // In the order of the pages' image indexes.
    pcKoncoBar->setImages({ThemeIcon("bookmarks", QStyle::SP_DirHomeIcon),
                           ThemeIcon("document-open-recent", QStyle::SP_FileDialogDetailedView),
                           ThemeIcon("edit-find", QStyle::SP_FileDialogContentsView),
                           ThemeIcon("text-x-generic", QStyle::SP_FileIcon)});
    tsFavorites = emptyPage("tsFavorites");
    tsHistory = emptyPage("tsHistory");
    tsSearch = emptyPage("tsSearch");
    tsVostelGroups = makeVostelGroupsPage();
    const QList<std::pair<QWidget*, const char*>> pages = {
        {tsFavorites, "VostelBarFavoritesHint"},
        {tsHistory, "VostelBarHistoryHint"},
        {tsSearch, "VostelBarSearchHint"},
        {tsVostelGroups, "VostelBarVostelGroupsHint"}};
    for (int i = 0; i < pages.size(); ++i)
    {
        QWidget* page = pages[i].first;
        pcKoncoBar->addPage(page, page == tsVostelGroups);
        pcKoncoBar->setPageImageIndex(page, i);
        pcKoncoBar->setPageHint(page, TLanguage::ShortHint(text(QLatin1String(pages[i].second))));
    }
    // Icons only: four tabs fit the narrowest bar without scrolling.
    if (auto* strip = qobject_cast<TQWTabStrip*>(pcKoncoBar->tabStrip()))
        strip->setFixedTabWidth(TabWidth);
    makeVostelGroupsMenu();
    connect(pcKoncoBar, &TQWPageControl::pageChanged, this, &TKoncoBar::pcKoncoBarChange);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pcKoncoBar);
}

QWidget* TKoncoBar::makeVostelGroupsPage()
{
    QWidget* page = emptyPage("tsVostelGroups");
    auto* tools = new QHBoxLayout;
    tools->setContentsMargins(0, 0, 0, 0);
    tools->setSpacing(0);
    const auto button =
        [this, page, tools](const char* name, const char* hintKey, const QIcon& icon)
    {
        QToolButton* tb =
            FlatToolButton(page, QString::fromLatin1(name), icon, text(QLatin1String(hintKey)));
        tools->addWidget(tb);
        return tb;
    };
    tbNewVGFolder = button("tbNewVGFolder", "VostelBarNewFolderHint",
                           ThemeIcon("folder-new", QStyle::SP_FileDialogNewFolder));
    tbVGRefresh = button("tbVGRefresh", "VostelBarRefreshHint",
                         ThemeIcon("view-refresh", QStyle::SP_BrowserReload));
    tools->addStretch(1);
    connect(tbNewVGFolder, &QToolButton::clicked, this, &TKoncoBar::tbNewVGFolderClick);
    connect(tbVGRefresh, &QToolButton::clicked, this, &TKoncoBar::tbVGRefreshClick);

    shVostelGroups = new TShellTree(page);
    shVostelGroups->setObjectName(QStringLiteral("shVostelGroups"));
    // Folders and groups only, whatever case the suffix is written in.
    shVostelGroups->setNameFilters({QStringLiteral("*.[vV][gG][pP]")});
    shVostelGroups->setHiddenSuffix(QStringLiteral(".vgp"));
    connect(shVostelGroups, &TShellTree::nodeContextMenu, this,
            &TKoncoBar::shVostelGroupsNodeContextMenu);
    connect(shVostelGroups, &QAbstractItemView::doubleClicked, this,
            &TKoncoBar::shVostelGroupsDblClick);
    connect(shVostelGroups, &TShellTree::nodeRenamed, this, &TKoncoBar::groupsChanged);
    connect(shVostelGroups, &TShellTree::filesDropped, this, &TKoncoBar::groupsChanged);
    connect(shVostelGroups, &TShellTree::operationFailed, this,
            [this](const QString& path)
            {
                m_services->showError(
                    TLanguage::FormatText(m_services->GetGlobalText(QStringLiteral("FileNotMoved")),
                                          QDir::toNativeSeparators(path)));
            });

    auto* layout = static_cast<QVBoxLayout*>(page->layout());
    layout->addLayout(tools);
    layout->addWidget(shVostelGroups, 1);
    return page;
}

void TKoncoBar::makeVostelGroupsMenu()
{
    pmVostelGroups = new QMenu(this);
    pmVostelGroups->setObjectName(QStringLiteral("pmVostelGroups"));
    const auto item = [this](const char* name, const char* key, void (TKoncoBar::*handler)())
    {
        const QString caption = QLatin1String(key);
        QAction* action = pmVostelGroups->addAction(text(caption));
        action->setObjectName(QString::fromLatin1(name));
        action->setStatusTip(TLanguage::LongHint(text(caption + QStringLiteral("Hint"))));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    pmVGOpen = item("pmVGOpen", "MenuVGOpen", &TKoncoBar::pmVGOpenClick);
    QFont bold = pmVGOpen->font();
    bold.setBold(true);
    pmVGOpen->setFont(bold);
    pmVostelGroups->setDefaultAction(pmVGOpen);
    pmVGOrganize = item("pmVGOrganize", "MenuVGOrganize", &TKoncoBar::pmVGOrganizeClick);
    pmVGRename = item("pmVGRename", "MenuVGRename", &TKoncoBar::pmVGRenameClick);
    pmVGDelete = item("pmVGDelete", "MenuVGDelete", &TKoncoBar::pmVGDeleteClick);
    pmVostelGroups->addSeparator();
    pmVGRefresh = item("pmVGRefresh", "MenuVGRefresh", &TKoncoBar::tbVGRefreshClick);
}

QString TKoncoBar::text(const QString& key) const
{
    return m_services->GetLangText(Section, key);
}

QWidget* TKoncoBar::pageWidget(Page page) const
{
    switch (page)
    {
    case Favorites:
        return tsFavorites;
    case History:
        return tsHistory;
    case Search:
        return tsSearch;
    case VostelGroups:
        break;
    }
    return tsVostelGroups;
}

void TKoncoBar::setPageContent(Page page, QWidget* content)
{
    if (page == VostelGroups || !content || hasContent(page))
        return;
    QWidget* sheet = pageWidget(page);
    sheet->layout()->addWidget(content);
    pcKoncoBar->setPageVisible(sheet, true);
    emit pageContentAdded(page);
}

bool TKoncoBar::hasContent(Page page) const
{
    return pcKoncoBar->isPageVisible(pageWidget(page));
}

TKoncoBar::Page TKoncoBar::activePage() const
{
    for (const Page page : {Favorites, History, Search})
        if (pcKoncoBar->activePage() == pageWidget(page))
            return page;
    return VostelGroups;
}

bool TKoncoBar::showPage(Page page)
{
    if (!hasContent(page))
        return false;
    pcKoncoBar->setActivePage(pageWidget(page));
    pcKoncoBarChange();
    return true;
}

void TKoncoBar::setAutoExpand(bool on)
{
    shVostelGroups->setAutoExpand(on);
}

void TKoncoBar::setTabsAtBottom(bool bottom)
{
    pcKoncoBar->SetTabsAtBottom(bottom);
}

void TKoncoBar::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The page in front when the bar appears must not stay empty.
    pcKoncoBarChange();
}

void TKoncoBar::pcKoncoBarChange()
{
    const Page page = activePage();
    if (page == VostelGroups && !VostelGroupsTreeLoaded)
    {
        VostelGroupsTreeLoaded = true;
        QDir().mkpath(m_groupsFolder);
        shVostelGroups->setRoot(m_groupsFolder);
    }
    emit pageShown(page);
}

void TKoncoBar::refreshVostelGroups()
{
    if (VostelGroupsTreeLoaded)
        shVostelGroups->refresh();
}

void TKoncoBar::shVostelGroupsNodeContextMenu(const QModelIndex& node, const QPoint& globalPos)
{
    VostelGroupsTreeNode = shVostelGroups->pathOf(node);
    // Over empty space there is nothing to open, edit or delete: the groups
    // folder itself is never the menu's node.
    const bool group = !rememberedGroup().isEmpty();
    const bool folder = !VostelGroupsTreeNode.isEmpty() && QFileInfo(VostelGroupsTreeNode).isDir();
    pmVGOpen->setEnabled(group || folder);
    pmVGOrganize->setEnabled(group);
    pmVGRename->setEnabled(group || folder);
    pmVGDelete->setEnabled(group || folder);
    pmVostelGroups->popup(globalPos, pmVGOpen);
}

QString TKoncoBar::rememberedGroup() const
{
    return isGroupFile(VostelGroupsTreeNode) ? VostelGroupsTreeNode : QString();
}

void TKoncoBar::shVostelGroupsDblClick(const QModelIndex& node)
{
    const QString path = shVostelGroups->pathOf(node);
    if (isGroupFile(path))
        emit openGroupRequested(path);
}

void TKoncoBar::pmVGOpenClick()
{
    if (const QString group = rememberedGroup(); !group.isEmpty())
        emit openGroupRequested(group);
    else if (QFileInfo(VostelGroupsTreeNode).isDir())
        shVostelGroups->expandNode(shVostelGroups->nodeOf(VostelGroupsTreeNode));
}

void TKoncoBar::pmVGOrganizeClick()
{
    const QString group = rememberedGroup();
    if (group.isEmpty())
        return;
    emit organizeGroupRequested(group);
    emit groupsChanged();
    refreshVostelGroups();
}

void TKoncoBar::pmVGRenameClick()
{
    const QFileInfo node(VostelGroupsTreeNode);
    if (VostelGroupsTreeNode.isEmpty())
        return;
    if (node.isDir())
    {
        // The tree reports the new name once the user has typed it.
        shVostelGroups->startRename(shVostelGroups->nodeOf(VostelGroupsTreeNode));
        return;
    }
    if (!node.isFile())
        return;
    // The group keeps its own suffix; only the name before it is asked for.
    const QString fileName = node.fileName();
    const bool group = TVostelGroup::IsVostelGroupFile(fileName);
    const QString suffix = group ? fileName.right(GroupSuffix.size()) : QString();
    QString answer = fileName.left(fileName.size() - suffix.size());
    const QString caption = m_services->GetGlobalText(QStringLiteral("RenameVostelGroup"));
    if (!m_services->inputQuery(caption, caption, answer))
        return;
    answer = answer.trimmed();
    // A name with a folder in it would move the group elsewhere.
    if (answer.isEmpty() || answer.contains(u'/') || answer == QStringLiteral(".") ||
        answer == QStringLiteral(".."))
        return;
    const QString target = node.dir().filePath(answer + suffix);
    // An existing group of that name is never replaced.
    if (QFileInfo::exists(target) || !QFile::rename(node.filePath(), target))
        return;
    refreshVostelGroups();
    emit groupsChanged();
}

void TKoncoBar::pmVGDeleteClick()
{
    const QFileInfo node(VostelGroupsTreeNode);
    if (VostelGroupsTreeNode.isEmpty() || !(node.isFile() || node.isDir()))
        return;
    // A failure is reported by the tree; the item stays where it was.
    if (shVostelGroups->deleteNode(shVostelGroups->nodeOf(VostelGroupsTreeNode)))
        emit groupsChanged();
    refreshVostelGroups();
}

void TKoncoBar::tbNewVGFolderClick()
{
    if (!VostelGroupsTreeLoaded)
        return;
    const QString name = m_services->GetGlobalText(QStringLiteral("NewFolderName"));
    if (!shVostelGroups->createFolder(name).isEmpty())
        emit groupsChanged();
}

void TKoncoBar::tbVGRefreshClick()
{
    emit groupsChanged();
    refreshVostelGroups();
}

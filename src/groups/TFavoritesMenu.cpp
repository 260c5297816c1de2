#include "groups/TFavoritesMenu.h"

#include "components/ThemeIcon.h"
#include "core/dialogs/WindowServices.h"
#include "groups/TFavoriteMenuItem.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMenu>
#include <QMetaMethod>
#include <QProxyStyle>

#include <algorithm>
#include <functional>

namespace
{
// Menus taller than the screen scroll instead of spilling into columns
// wherever the style would put them.
class ScrollingMenuStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_Menu_Scrollable)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QAction* AddStatic(QMenu* menu, const QString& name, const QString& caption, const QString& hint)
{
    auto* action = new QAction(caption, menu);
    action->setObjectName(name);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    menu->addAction(action);
    return action;
}

// A menu level's own items, with those carried on in "more" submenus.
QList<QAction*> LevelItems(const QMenu* menu)
{
    QList<QAction*> items;
    for (QAction* action : menu->actions())
    {
        const TFavoriteMenuItem* item = TFavoriteMenuItem::of(action);
        if (item && item->ItemKind() == TFavoriteMenuItem::Kind::More && item->Submenu())
            items += LevelItems(item->Submenu());
        else
            items.append(action);
    }
    return items;
}
} // namespace

TFavoritesMenu::Job::~Job()
{
    // Items of a rebuild given up were never shown.
    qDeleteAll(made);
}

TFavoritesMenu::TFavoritesMenu(QMenu* popup, WindowServices* services, QObject* parent)
    : QObject(parent), m_popup(popup), m_services(services),
      m_folderIcon(ThemeIcon(QStringLiteral("folder"), QStyle::SP_DirIcon)),
      m_favoriteIcon(ThemeIcon(QStringLiteral("text-html"), QStyle::SP_FileIcon)),
      m_scrollingStyle(new ScrollingMenuStyle)
{
    m_scrollingStyle->setParent(this);
    if (!m_services)
        m_services = new WindowServices(nullptr, static_cast<QObject*>(this));
    if (!m_popup)
        return;
    mnuFavoritesAdd =
        AddStatic(m_popup, QStringLiteral("mnuFavoritesAdd"), QStringLiteral("__MenuFavoritesAdd"),
                  QStringLiteral("__MenuFavoritesAddHint"));
    mnuFavoritesOrganize = AddStatic(m_popup, QStringLiteral("mnuFavoritesOrganize"),
                                     QStringLiteral("__MenuFavoritesOrganize"),
                                     QStringLiteral("__MenuFavoritesOrganizeHint"));
    miOpenAll =
        AddStatic(m_popup, QStringLiteral("miOpenAll"), QStringLiteral("~~OpenAllFavorites"),
                  QStringLiteral("~~OpenAllFavoritesHint"));
    mnuOpenAllBreak = m_popup->addSeparator();
    mnuOpenAllBreak->setObjectName(QStringLiteral("mnuOpenAllBreak"));
    connect(mnuFavoritesAdd, &QAction::triggered, this, &TFavoritesMenu::addFavoriteRequested);
    connect(mnuFavoritesOrganize, &QAction::triggered, this,
            &TFavoritesMenu::organizeFavoritesRequested);
    connect(miOpenAll, &QAction::triggered, this, [this] { OpenAllOf(m_popup); });
    connect(m_popup, &QMenu::aboutToShow, this, &TFavoritesMenu::pmFavoritesPopup);
    UpdateStaticItems();
}

TFavoritesMenu::~TFavoritesMenu() = default;

void TFavoritesMenu::SetFolder(const QString& folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    MarkNotCurrent();
}

void TFavoritesMenu::MarkNotCurrent()
{
    FavoritesMenuCurrent = false;
    m_job.reset();
}

void TFavoritesMenu::LoadFavorites()
{
    m_job.reset();
    RebuildSlice(-1);
}

bool TFavoritesMenu::HasIdleWork() const
{
    return !FavoritesMenuCurrent || m_job || !m_replaced.isEmpty();
}

bool TFavoritesMenu::RebuildSlice(int budgetMs)
{
    if (!m_replaced.isEmpty())
    {
        // Later, not now: this may run from inside one of the items' own
        // clicks, and that item must outlive its click. A few at a time,
        // as each takes its submenu with it.
        const qsizetype count = budgetMs < 0
                                    ? m_replaced.size()
                                    : std::min<qsizetype>(m_replaced.size(), ReplacedPerSlice);
        for (qsizetype i = 0; i < count; ++i)
            if (m_replaced.at(i))
                m_replaced.at(i)->deleteLater();
        m_replaced.remove(0, count);
        if (budgetMs >= 0)
            return !HasIdleWork();
    }
    if (FavoritesMenuCurrent && !m_job)
        return m_replaced.isEmpty();
    if (!m_popup)
        return true;
    QElapsedTimer clock;
    clock.start();
    if (!m_job)
    {
        m_job = std::make_unique<Job>();
        m_job->folder = m_folder;
        m_job->menu = m_popup;
        m_job->entries = FolderListing::list(m_folder);
        // Icons of a new setting are looked up anew.
        m_iconProvider.reset();
        m_fileIcons.clear();
    }
    const int left = budgetMs < 0 ? -1 : std::max<int>(0, budgetMs - int(clock.elapsed()));
    if (!RunJob(*m_job, left))
        return false;
    const std::unique_ptr<Job> job = std::move(m_job);
    DeleteGeneratedItems();
    Commit(*job);
    FavoritesMenuCurrent = true;
    return m_replaced.isEmpty();
}

bool TFavoritesMenu::RunJob(Job& job, int budgetMs)
{
    QElapsedTimer clock;
    clock.start();
    // One item at least, so that every slice gets on.
    while (job.next < job.entries.size())
    {
        job.made.append(MakeItem(job.entries.at(job.next++), job.menu));
        if (budgetMs >= 0 && clock.elapsed() >= budgetMs)
            break;
    }
    return job.next >= job.entries.size();
}

QAction* TFavoritesMenu::MakeItem(const FolderEntry& entry, QMenu* menu)
{
    const QString caption = FolderListing::menuCaption(FolderListing::shortened(entry.caption));
    if (entry.isFolder)
    {
        const QIcon icon = Settings.UseCustomIcons ? FileIcon(entry.path) : m_folderIcon;
        auto* item = TFavoriteMenuItem::folderItem(caption, QFileInfo(entry.path).path(),
                                                   entry.name, icon, menu);
        connect(item->Submenu(), &QMenu::aboutToShow, this,
                [this, item = QPointer<TFavoriteMenuItem>(item)] { LoadMe(item); });
        return item;
    }
    const QIcon icon = Settings.UseCustomIcons ? FileIcon(entry.path) : m_favoriteIcon;
    // The shortcut is read when the item is pointed at or chosen: a folder
    // of a thousand shortcuts opens without reading a thousand files.
    auto* item = TFavoriteMenuItem::favoriteFile(caption, entry.path, icon, menu);
    connect(item, &QAction::triggered, this,
            [this, item = QPointer<TFavoriteMenuItem>(item)]
            {
                // The item may go while its target opens: the target is taken first.
                if (const QString target = item ? item->Target() : QString(); item)
                    emit favoriteChosen(target);
            });
    return item;
}

void TFavoritesMenu::Commit(Job& job)
{
    QMenu* menu = job.menu;
    if (!menu)
        return;
    const bool top = menu == m_popup;
    if (top)
        UpdateStaticItems();
    else if (Settings.ShowOpenAllFavorites)
    {
        auto* openAll =
            TFavoriteMenuItem::openAllItem(GlobalText("OpenAllFavorites"), job.folder, menu);
        connect(openAll, &QAction::triggered, this,
                [this, level = QPointer<QMenu>(menu)] { OpenAllOf(level); });
        menu->addAction(openAll);
        menu->addSeparator();
    }
    menu->addActions(job.made);
    if (!top && job.made.isEmpty())
    {
        QAction* empty = menu->addAction(GlobalText("EmptyFolder"));
        empty->setEnabled(false);
    }
    job.made.clear();
    menu->setStyle(Settings.BreakFavorites ? nullptr : m_scrollingStyle);
    // The static items stand above the first column of the top level.
    if (Settings.BreakFavorites)
        ApplyBreaks(menu, top ? StaticCount : 0);
}

void TFavoritesMenu::ApplyBreaks(QMenu* menu, qsizetype first)
{
    const int rows = std::max(1, Settings.RowsPerColumn);
    const QString more = GlobalText("MoreFavorites");
    while (menu)
    {
        const QList<QAction*> actions = menu->actions();
        int shown = 0;
        qsizetype cut = actions.size();
        for (qsizetype i = first; i < actions.size(); ++i)
        {
            if (shown++ == rows)
            {
                cut = i;
                break;
            }
        }
        if (cut == actions.size())
            return;
        TFavoriteMenuItem* moreItem = TFavoriteMenuItem::moreItem(more, menu);
        QMenu* next = moreItem->Submenu();
        for (qsizetype i = cut; i < actions.size(); ++i)
        {
            menu->removeAction(actions.at(i));
            next->addAction(actions.at(i));
        }
        menu->addAction(moreItem);
        menu = next;
        first = 0;
    }
}

void TFavoritesMenu::DeleteGeneratedItems()
{
    QList<QAction*> generated;
    const std::function<void(QMenu*, qsizetype)> collect = [&](QMenu* menu, qsizetype from)
    {
        const QList<QAction*> actions = menu->actions();
        for (qsizetype i = from; i < actions.size(); ++i)
        {
            QAction* action = actions.at(i);
            generated.append(action);
            const TFavoriteMenuItem* item = TFavoriteMenuItem::of(action);
            if (item && item->ItemKind() == TFavoriteMenuItem::Kind::More && item->Submenu())
                collect(item->Submenu(), 0);
        }
    };
    collect(m_popup, StaticCount);
    for (QAction* action : std::as_const(generated))
    {
        if (QMenu* owner = qobject_cast<QMenu*>(action->parent()))
            owner->removeAction(action);
        m_popup->removeAction(action);
        m_replaced.append(action);
    }
}

void TFavoritesMenu::UpdateStaticItems()
{
    // Adding and organizing are offered once something carries them out.
    mnuFavoritesAdd->setVisible(
        isSignalConnected(QMetaMethod::fromSignal(&TFavoritesMenu::addFavoriteRequested)));
    mnuFavoritesOrganize->setVisible(
        isSignalConnected(QMetaMethod::fromSignal(&TFavoritesMenu::organizeFavoritesRequested)));
    miOpenAll->setVisible(Settings.ShowOpenAllFavorites && !m_folder.isEmpty());
    miOpenAll->setStatusTip(m_folder);
}

void TFavoritesMenu::LoadFavoritesFolder(const QString& folder, QMenu* menu)
{
    if (!menu)
        return;
    Job job;
    job.folder = folder;
    job.menu = menu;
    job.entries = FolderListing::list(folder);
    RunJob(job, -1);
    Commit(job);
}

void TFavoritesMenu::LoadMe(TFavoriteMenuItem* item)
{
    if (!item || !item->IsFolder() || item->Loaded || !item->Submenu())
        return;
    QMenu* submenu = item->Submenu();
    for (QAction* action : submenu->actions())
    {
        const TFavoriteMenuItem* child = TFavoriteMenuItem::of(action);
        if (child && child->ItemKind() == TFavoriteMenuItem::Kind::PlaceHolder)
        {
            submenu->removeAction(action);
            delete action;
        }
    }
    LoadFavoritesFolder(item->FolderPath(), submenu);
    item->Loaded = true;
}

void TFavoritesMenu::pmFavoritesPopup()
{
    if (!m_popup)
        return;
    UpdateStaticItems();
    if (!FavoritesMenuCurrent || m_job)
        RebuildSlice(-1);
}

void TFavoritesMenu::OpenAllOf(QMenu* level)
{
    if (!level)
        return;
    QStringList targets;
    for (QAction* action : LevelItems(level))
    {
        const TFavoriteMenuItem* item = TFavoriteMenuItem::of(action);
        if (item && item->ItemKind() == TFavoriteMenuItem::Kind::Favorite)
            targets.append(item->Target());
    }
    emit openAllChosen(targets);
}

QIcon TFavoritesMenu::FileIcon(const QString& path)
{
    if (!m_iconProvider)
        m_iconProvider = std::make_unique<QFileIconProvider>();
    const QFileInfo info(path);
    // Icons go by type: one look-up per kind of file, not per file.
    const QString kind = info.isDir() ? QStringLiteral("/") : info.suffix().toLower();
    auto found = m_fileIcons.constFind(kind);
    if (found != m_fileIcons.constEnd())
        return *found;
    const QIcon icon =
        info.isDir() ? m_iconProvider->icon(QFileIconProvider::Folder) : m_iconProvider->icon(info);
    m_fileIcons.insert(kind, icon);
    return icon;
}

QString TFavoritesMenu::GlobalText(const char* key) const
{
    return m_services->GetGlobalText(QString::fromLatin1(key));
}

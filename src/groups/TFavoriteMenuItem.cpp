#include "groups/TFavoriteMenuItem.h"

#include "groups/FolderListing.h"

#include <QDir>
#include <QIcon>
#include <QMenu>

#include <utility>

TFavoriteMenuItem::TFavoriteMenuItem(Kind kind, const QString& caption, const QIcon& icon,
                                     QMenu* parentMenu)
    : QAction(icon, caption, parentMenu), m_kind(kind)
{
}

TFavoriteMenuItem* TFavoriteMenuItem::favoriteItem(const QString& caption, const QString& target,
                                                   const QIcon& icon, QMenu* parentMenu)
{
    auto* item = new TFavoriteMenuItem(Kind::Favorite, caption, icon, parentMenu);
    item->m_target = target;
    // The status bar shows where the favorite leads.
    item->setStatusTip(target);
    return item;
}

TFavoriteMenuItem* TFavoriteMenuItem::favoriteFile(const QString& caption, const QString& path,
                                                   const QIcon& icon, QMenu* parentMenu)
{
    auto* item = new TFavoriteMenuItem(Kind::Favorite, caption, icon, parentMenu);
    item->m_file = path;
    // The status bar shows where the favorite leads once it is pointed at.
    connect(item, &QAction::hovered, item, [item] { item->setStatusTip(item->Target()); });
    return item;
}

QString TFavoriteMenuItem::Target() const
{
    if (!m_file.isEmpty())
        m_target = FolderListing::target({QString(), QString(), std::exchange(m_file, {}), false});
    return m_target;
}

TFavoriteMenuItem* TFavoriteMenuItem::folderItem(const QString& caption,
                                                 const QString& parentFolder,
                                                 const QString& folderName, const QIcon& icon,
                                                 QMenu* parentMenu)
{
    auto* item = new TFavoriteMenuItem(Kind::Folder, caption, icon, parentMenu);
    item->ParentFolder = parentFolder;
    item->FolderName = folderName;
    QMenu* submenu = item->makeSubmenu(parentMenu);
    // Without an entry some styles draw no submenu arrow and some platforms
    // never open the submenu, so its first opening would never come.
    submenu->addAction(new TFavoriteMenuItem(Kind::PlaceHolder, QString(), QIcon(), submenu));
    return item;
}

TFavoriteMenuItem* TFavoriteMenuItem::openAllItem(const QString& caption, const QString& folder,
                                                  QMenu* parentMenu)
{
    auto* item = new TFavoriteMenuItem(Kind::OpenAll, caption, QIcon(), parentMenu);
    item->m_target = folder;
    item->setStatusTip(folder);
    return item;
}

TFavoriteMenuItem* TFavoriteMenuItem::moreItem(const QString& caption, QMenu* parentMenu)
{
    auto* item = new TFavoriteMenuItem(Kind::More, caption, QIcon(), parentMenu);
    item->makeSubmenu(parentMenu);
    return item;
}

QMenu* TFavoriteMenuItem::makeSubmenu(QMenu* parentMenu)
{
    m_submenu = new QMenu(text(), parentMenu);
    // The submenus scroll as their parent does.
    if (parentMenu)
        m_submenu->setStyle(parentMenu->style());
    setMenu(m_submenu.data());
    return m_submenu;
}

QString TFavoriteMenuItem::FolderPath() const
{
    return QDir(ParentFolder).filePath(FolderName);
}

QMenu* TFavoriteMenuItem::Submenu() const
{
    return m_submenu;
}

TFavoriteMenuItem::~TFavoriteMenuItem()
{
    // The submenu is a widget child of the parent menu, so it would otherwise
    // stay there, unreachable, until the whole menu goes.
    delete m_submenu.data();
}

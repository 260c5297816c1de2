#include "groups/TKoncoGroupMenuItem.h"

#include <QIcon>
#include <QMenu>

TKoncoGroupMenuItem::TKoncoGroupMenuItem(const QString& caption, const QIcon& icon,
                                         QMenu* parentMenu)
    : QAction(icon, caption, parentMenu)
{
}

TKoncoGroupMenuItem* TKoncoGroupMenuItem::groupItem(const QString& caption, const QString& filePath,
                                                    const QIcon& icon, QMenu* parentMenu)
{
    auto* item = new TKoncoGroupMenuItem(caption, icon, parentMenu);
    item->setStatusTip(filePath);
    return item;
}

TKoncoGroupMenuItem* TKoncoGroupMenuItem::folderItem(const QString& caption,
                                                     const QString& folderPath, const QIcon& icon,
                                                     QMenu* parentMenu)
{
    auto* item = new TKoncoGroupMenuItem(caption, icon, parentMenu);
    item->FolderPath = folderPath;
    item->m_submenu = new QMenu(caption, parentMenu);
    // Without an entry some styles draw no submenu arrow and some platforms
    // never open the submenu, so its first opening would never come.
    item->m_submenu->addAction(new QAction(item->m_submenu));
    item->setMenu(item->m_submenu.data());
    return item;
}

QMenu* TKoncoGroupMenuItem::Submenu() const
{
    return m_submenu;
}

TKoncoGroupMenuItem::~TKoncoGroupMenuItem()
{
    // The submenu is a widget child of the parent menu, so it would otherwise
    // stay there, unreachable, until the whole menu goes.
    delete m_submenu.data();
}

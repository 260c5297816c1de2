#include "groups/TVostelGroupMenu.h"

#include "components/ThemeIcon.h"
#include "core/dialogs/WindowServices.h"
#include "groups/FolderListing.h"
#include "groups/TKoncoGroupMenuItem.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStyle>

#include <algorithm>

namespace
{
const QString GroupExtension = QStringLiteral(".vgp");

} // namespace

TVostelGroupMenu::TVostelGroupMenu(QMenu* popup, int staticCount, const QString& rootFolder,
                                   WindowServices* services, QObject* parent)
    : QObject(parent), m_popup(popup), m_staticCount(std::max(staticCount, 0)),
      m_rootFolder(rootFolder), m_services(services),
      m_groupIcon(ThemeIcon(QStringLiteral("text-x-generic"), QStyle::SP_FileIcon)),
      m_folderIcon(ThemeIcon(QStringLiteral("folder"), QStyle::SP_DirIcon))
{
    if (!m_services)
        m_services = new WindowServices(nullptr, static_cast<QObject*>(this));
    if (m_popup)
        connect(m_popup, &QMenu::aboutToShow, this, &TVostelGroupMenu::mnuVostelGroupsClick);
}

QMenu* TVostelGroupMenu::Popup() const
{
    return m_popup;
}

void TVostelGroupMenu::mnuVostelGroupsClick()
{
    if (!VostelGroupsChanged || !m_popup)
        return;
    DeleteGeneratedItems();
    LoadVostelGroupMenu(m_popup);
    VostelGroupsChanged = false;
}

void TVostelGroupMenu::DeleteGeneratedItems()
{
    const QList<QAction*> actions = m_popup->actions();
    for (qsizetype i = m_staticCount; i < actions.size(); ++i)
    {
        QAction* action = actions.at(i);
        m_popup->removeAction(action);
        // Later, not now: the menu can be opened again from inside a group
        // item's own click (opening a group runs pending events), and that
        // item must outlive its click.
        if (action->parent() == m_popup || qobject_cast<TKoncoGroupMenuItem*>(action))
            action->deleteLater();
    }
}

void TVostelGroupMenu::LoadVostelGroupMenu(QMenu* menu)
{
    LoadVostelGroupFolder(m_rootFolder, menu);
}

void TVostelGroupMenu::LoadVostelGroupFolder(const QString& folder, QMenu* menu)
{
    // An empty path would list the working folder.
    if (!menu || folder.isEmpty())
        return;
    for (const FolderEntry& entry : FolderListing::list(folder))
    {
        if (entry.isFolder)
        {
            auto* item =
                TKoncoGroupMenuItem::folderItem(FolderListing::menuCaption(entry.name),
                                                entry.path + QLatin1Char('/'), m_folderIcon, menu);
            connect(item->Submenu(), &QMenu::aboutToShow, this,
                    [this, item = QPointer<TKoncoGroupMenuItem>(item)] { LoadMe(item); });
            menu->addAction(item);
        }
        else if (entry.name.endsWith(GroupExtension, Qt::CaseSensitive))
        {
            auto* item = TKoncoGroupMenuItem::groupItem(FolderListing::menuCaption(entry.caption),
                                                        entry.path, m_groupIcon, menu);
            connect(item, &QAction::triggered, this, [this, item] { VostelGroupClick(item); });
            menu->addAction(item);
        }
    }
}

void TVostelGroupMenu::LoadMe(TKoncoGroupMenuItem* item)
{
    if (!item || !item->IsFolder() || item->Loaded || !item->Submenu())
        return;
    QMenu* submenu = item->Submenu();
    LoadVostelGroupFolder(item->FolderPath, submenu);
    const QList<QAction*> children = submenu->actions();
    if (children.size() > 1)
    {
        submenu->removeAction(children.first());
        delete children.first();
    }
    else if (!children.isEmpty())
    {
        children.first()->setText(m_services->GetGlobalText(QStringLiteral("EmptyFolder")));
        children.first()->setEnabled(false);
    }
    item->Loaded = true;
}

void TVostelGroupMenu::VostelGroupClick(TKoncoGroupMenuItem* item)
{
    // The item may go while the group opens: keep the path apart.
    const QString path = item->Hint();
    emit groupChosen(path);
}

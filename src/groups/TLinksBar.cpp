#include "groups/TLinksBar.h"

#include "components/ThemeIcon.h"
#include "core/dialogs/WindowServices.h"
#include "groups/FolderListing.h"
#include "groups/TFavoriteMenuItem.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QMenu>
#include <QResizeEvent>
#include <QStyle>
#include <QToolButton>

namespace
{
} // namespace

TLinksBar::TLinksBar(QWidget* parent, bool showIcons, WindowServices* services)
    : QWidget(parent), m_services(services), m_showIcons(showIcons),
      m_folderIcon(ThemeIcon(QStringLiteral("folder"), QStyle::SP_DirIcon)),
      m_linkIcon(ThemeIcon(QStringLiteral("text-html"), QStyle::SP_FileIcon))
{
    setObjectName(QStringLiteral("pnlLinksMain"));
    if (!m_services)
        m_services = new WindowServices(nullptr, static_cast<QObject*>(this));
    pnlLinks = new QWidget(this);
    pnlLinks->setObjectName(QStringLiteral("pnlLinks"));
    pnlLinksExtender = new QWidget(this);
    pnlLinksExtender->setObjectName(QStringLiteral("pnlLinksExtender"));
    tbxLinks = new QToolButton(pnlLinksExtender);
    tbxLinks->setObjectName(QStringLiteral("tbxLinks"));
    tbxLinks->setAutoRaise(true);
    tbxLinks->setArrowType(Qt::NoArrow);
    tbxLinks->setText(QStringLiteral("»"));
    tbxLinks->setPopupMode(QToolButton::InstantPopup);
    pmLinksBarExtender = new QMenu(this);
    pmLinksBarExtender->setObjectName(QStringLiteral("pmLinksBarExtender"));
    tbxLinks->setMenu(pmLinksBarExtender);
    connect(pmLinksBarExtender, &QMenu::aboutToShow, this, &TLinksBar::pmLinksBarExtenderPopup);

    m_rootItem = new QMenu(this);
    m_rootItem->setObjectName(QStringLiteral("LinksMenu"));
    // The whole links menu, Customize with it, on the band's context menu.
    pnlLinks->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pnlLinks, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at)
            {
                if (!m_folder.isEmpty())
                    m_rootItem->popup(pnlLinks->mapToGlobal(at));
            });
}

void TLinksBar::SetShowIcons(bool show)
{
    if (show == m_showIcons)
        return;
    m_showIcons = show;
    Reload();
}

void TLinksBar::Reload()
{
    // The menus of the old buttons go with the old items.
    qDeleteAll(m_buttons);
    m_buttons.clear();
    for (QAction* action : m_rootItem->actions())
    {
        m_rootItem->removeAction(action);
        action->deleteLater();
    }
    if (!m_folder.isEmpty())
    {
        FillFolder(m_rootItem, m_folder);
        MakeButtons();
        m_rootItem->addSeparator();
        QAction* customize = m_rootItem->addAction(GlobalText(QStringLiteral("Customize")));
        connect(customize, &QAction::triggered, this, &TLinksBar::OnCustomize);
    }
    pnlLinksBarResize();
    updateGeometry();
}

void TLinksBar::FillFolder(QMenu* menu, const QString& folder)
{
    if (ShowOpenAllFavorites)
    {
        auto* openAll = TFavoriteMenuItem::openAllItem(
            GlobalText(QStringLiteral("OpenAllFavorites")), folder, menu);
        connect(openAll, &QAction::triggered, this,
                [this, level = QPointer<QMenu>(menu)]
                {
                    QStringList targets;
                    for (QAction* action : level->actions())
                    {
                        const TFavoriteMenuItem* item = TFavoriteMenuItem::of(action);
                        if (item && item->ItemKind() == TFavoriteMenuItem::Kind::Favorite)
                            targets.append(item->Target());
                    }
                    emit openAllChosen(targets);
                });
        menu->addAction(openAll);
        menu->addSeparator();
    }
    QFileIconProvider provider;
    const QList<FolderEntry> entries = FolderListing::list(folder);
    for (const FolderEntry& entry : entries)
    {
        const QString caption = FolderListing::menuCaption(entry.caption);
        if (entry.isFolder)
        {
            const QIcon icon =
                m_showIcons ? provider.icon(QFileIconProvider::Folder) : m_folderIcon;
            auto* item = TFavoriteMenuItem::folderItem(caption, folder, entry.name, icon, menu);
            connect(item->Submenu(), &QMenu::aboutToShow, this,
                    [this, item = QPointer<TFavoriteMenuItem>(item)] { LoadSubFolder(item); });
            menu->addAction(item);
            continue;
        }
        const QIcon icon = m_showIcons ? provider.icon(QFileInfo(entry.path)) : m_linkIcon;
        auto* item =
            TFavoriteMenuItem::favoriteItem(caption, FolderListing::target(entry), icon, menu);
        connect(item, &QAction::triggered, this,
                [this, target = item->Target()] { emit OnLinkClick(target); });
        menu->addAction(item);
    }
    if (entries.isEmpty() && menu != m_rootItem)
        menu->addAction(GlobalText(QStringLiteral("EmptyFolder")))->setEnabled(false);
}

void TLinksBar::LoadSubFolder(TFavoriteMenuItem* item)
{
    if (!item || item->Loaded || !item->Submenu())
        return;
    QMenu* submenu = item->Submenu();
    const QList<QAction*> placeHolders = submenu->actions();
    for (QAction* action : placeHolders)
    {
        submenu->removeAction(action);
        delete action;
    }
    FillFolder(submenu, item->FolderPath());
    item->Loaded = true;
}

void TLinksBar::MakeButtons()
{
    for (QAction* action : m_rootItem->actions())
    {
        const TFavoriteMenuItem* item = TFavoriteMenuItem::of(action);
        if (!item || item->ItemKind() == TFavoriteMenuItem::Kind::OpenAll)
            continue;
        auto* button = new QToolButton(pnlLinks);
        button->setAutoRaise(true);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setIcon(action->icon());
        button->setText(action->text());
        button->setStatusTip(action->statusTip());
        if (item->IsFolder())
        {
            button->setMenu(item->Submenu());
            button->setPopupMode(QToolButton::InstantPopup);
        }
        else
        {
            button->setToolTip(item->Target());
            connect(button, &QToolButton::clicked, this,
                    [this, target = item->Target()] { emit OnLinkClick(target); });
        }
        button->resize(button->sizeHint());
        button->show();
        m_buttons.append(button);
    }
}

int TLinksBar::ChevronWidth() const
{
    return tbxLinks->sizeHint().width();
}

void TLinksBar::pnlLinksBarResize()
{
    int x = 0;
    for (QToolButton* button : std::as_const(m_buttons))
    {
        button->move(x, 0);
        x += button->width() + 1;
    }
    const int needed = m_buttons.isEmpty() ? 0 : m_buttons.constLast()->geometry().right() + 1;
    const int extender = needed > width() ? ChevronWidth() : 0;
    pnlLinks->setGeometry(0, 0, width() - extender, height());
    pnlLinksExtender->setGeometry(width() - extender, 0, extender, height());
    tbxLinks->setGeometry(0, 0, extender, height());
    pnlLinksExtender->setVisible(extender > 0);
}

void TLinksBar::pmLinksBarExtenderPopup()
{
    pmLinksBarExtender->clear();
    for (QToolButton* button : std::as_const(m_buttons))
    {
        if (button->geometry().right() < pnlLinks->width())
            continue;
        QAction* entry = pmLinksBarExtender->addAction(button->icon(), button->text());
        entry->setStatusTip(button->statusTip());
        entry->setEnabled(button->isEnabled());
        // A folder that is cut off is still reached through its own menu.
        if (QMenu* menu = button->menu())
            entry->setMenu(menu);
        else
            connect(entry, &QAction::triggered, button, &QToolButton::click);
    }
    if (pmLinksBarExtender->isEmpty())
        return;
    pmLinksBarExtender->addSeparator();
    QAction* organize = pmLinksBarExtender->addAction(
        m_services->GetLangText(QStringLiteral("MAIN"), QStringLiteral("CustomizeLinks")));
    organize->setObjectName(QStringLiteral("CustomizeLinks"));
    organize->setStatusTip(
        m_services->GetLangText(QStringLiteral("MAIN"), QStringLiteral("CustomizeLinksHint")));
    connect(organize, &QAction::triggered, this, &TLinksBar::OnCustomize);
}

QSize TLinksBar::sizeHint() const
{
    int height = tbxLinks->sizeHint().height();
    for (const QToolButton* button : m_buttons)
        height = std::max(height, button->height());
    return {0, height};
}

void TLinksBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    pnlLinksBarResize();
}

QString TLinksBar::GlobalText(const QString& key) const
{
    return m_services->GetGlobalText(key);
}

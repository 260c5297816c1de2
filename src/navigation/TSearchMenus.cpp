#include "navigation/TSearchMenus.h"

#include "navigation/TSearchLists.h"

#include <QAction>
#include <QMenu>

void TSearchMenus::Build(QMenu* menu, int fixedItems, int mode, const TQWOptions& options,
                         const OpenFn& open)
{
    const QList<QAction*> actions = menu->actions();
    for (qsizetype i = fixedItems; i < actions.size(); ++i)
    {
        QAction* action = actions.at(i);
        menu->removeAction(action);
        // The menu may be rebuilt from inside one of its own items' handlers.
        if (action->parent() == menu)
            action->deleteLater();
    }
    for (const TSearchLists::Entry& entry : TSearchLists::Read(options, mode))
    {
        auto* action = new QAction(entry.title, menu);
        action->setStatusTip(entry.address);
        action->setToolTip(entry.address);
        action->setData(entry.address);
        const QString address = entry.address;
        QObject::connect(action, &QAction::triggered, menu,
                         [open, address]
                         {
                             if (open)
                                 open(address);
                         });
        menu->addAction(action);
    }
}

void TSearchMenus::BuildSearchEnginesMenu(QMenu* pmSearch, const TQWOptions& options,
                                          const OpenFn& open)
{
    Build(pmSearch, FixedEngineItems, TSearchLists::ModeSearchEngines, options, open);
}

void TSearchMenus::BuildSearchBarMenu(QMenu* pmSearchFavs, const TQWOptions& options,
                                      const OpenFn& open)
{
    Build(pmSearchFavs, FixedSearchBarItems, TSearchLists::ModeSearchBar, options, open);
}

void TSearchMenus::RebuildEnginesOnShow(QMenu* pmSearch, const TQWOptions* options, OpenFn open)
{
    QObject::connect(pmSearch, &QMenu::aboutToShow, pmSearch,
                     [pmSearch, options, open = std::move(open)]
                     { BuildSearchEnginesMenu(pmSearch, *options, open); });
}

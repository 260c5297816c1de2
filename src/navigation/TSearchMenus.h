#pragma once

#include <QString>

#include <functional>

class QMenu;
class TQWOptions;

// The menus built from the search lists: the tool bar's search-engine menu
// pmSearch (its first two items are fixed: the organize item and a
// separator) and the search pane's favourites menu pmSearchFavs (three
// fixed items: add, organize, a separator). Every entry becomes an item
// whose caption is the title as written (an "&" marks its accelerator) and
// whose hint is the address; choosing it hands the address to open.
class TSearchMenus
{
public:
    using OpenFn = std::function<void(const QString& address)>;

    static constexpr int FixedEngineItems = 2;
    static constexpr int FixedSearchBarItems = 3;

    static void BuildSearchEnginesMenu(QMenu* pmSearch, const TQWOptions& options,
                                       const OpenFn& open);
    static void BuildSearchBarMenu(QMenu* pmSearchFavs, const TQWOptions& options,
                                   const OpenFn& open);
    // Rebuilds pmSearch each time it opens, so that it shows the list as
    // the store holds it then. options must outlive the menu.
    static void RebuildEnginesOnShow(QMenu* pmSearch, const TQWOptions* options, OpenFn open);

private:
    static void Build(QMenu* menu, int fixedItems, int mode, const TQWOptions& options,
                      const OpenFn& open);
};

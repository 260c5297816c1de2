#pragma once

#include "components/FindResultsModel.h"

#include <QList>
#include <QString>

// Finds favorites whose name or address holds a text, without regard to
// case. A favorite's name is its shortcut's file name without ".url"; other
// files and folders are never results, whatever their names.
class FavoritesFind
{
public:
    // Rows (name, address) in the order of a depth-first walk of folder:
    // each folder's sub-folders (those whose names do not begin with ".")
    // before its own shortcuts, both in the order the Favorites menu lists
    // them. A folder reached a second time through a symbolic link is not
    // read again. Nothing for an empty text or a folder that is not there.
    static QList<FindResultsModel::Row> find(const QString& folder, const QString& text);
};

#pragma once

#include "components/FindResultsModel.h"

#include <QList>
#include <QString>

// Finds pages in the history index files by a piece of their title or
// address, upper and lower case alike. The files are read as they lie, in
// large pieces, one 128-byte block after another: a block that begins with
// 'U' begins an entry of as many blocks as its count says (one at least),
// any other block between entries is passed over. Rows come in file order;
// a page may be listed once per file it is in. Host entries (":Host…") are
// not listed.
class HistorySearch
{
public:
    using Rows = QList<FindResultsModel::Row>;

    // How much of a file is read at once.
    static constexpr qsizetype ChunkBytes = 1 << 20;

    // The index file of folder and those of its sub-folders (one level, not
    // hidden ones), newest period first. A file that cannot be read is
    // passed over.
    static void SearchHistoryFolder(const QString& folder, const QString& text, Rows& rows);
    // Adds the matching entries of one index file. False when it cannot be
    // opened or read; the rows found before the failure stay.
    static bool SearchHistoryIndex(const QString& file, const QString& text, Rows& rows);

    // A title as shown: control characters dropped, every other character
    // kept, those of other scripts too.
    static QString shownTitle(const char* utf8, qsizetype size);
};

// Importing a bookmark file of 5 MB with 20,000 bookmarks in 200 folders
// into Favorites, against the goal of 2 s; and exporting the result again.
// The import makes 20,000 files, so the file system under TMPDIR counts:
// one that has just deleted many files (an ext4 disk after repeated runs)
// can spend seconds in the kernel finding free inodes. Run it once, on the
// kind of disk users keep their Favorites on.
#include "groups/BookmarkHtml.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace
{
constexpr int Bookmarks = 20000;
constexpr int Folders = 200;
constexpr double ImportGoalMs = 2000;

// Lines as browsers write them, with an icon attribute that the import
// skips, padded to the size of a real file of this many bookmarks.
QByteArray bookmarkFile()
{
    QByteArray html = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" "
                      "CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n"
                      "<H1>Bookmarks</H1>\n<DL><p>\n";
    const QByteArray icon = "data:image/png;base64," + QByteArray(120, 'Q');
    for (int folder = 0; folder < Folders; ++folder)
    {
        html += "    <DT><H3 ADD_DATE=\"1600000000\">Folder " + QByteArray::number(folder) +
                " &amp; more</H3>\n    <DL><p>\n";
        for (int i = 0; i < Bookmarks / Folders; ++i)
        {
            const QByteArray n = QByteArray::number(folder * 1000 + i);
            html += "        <DT><A HREF=\"https://www.example" + n +
                    ".test/path/page.html?id=" + n +
                    "&amp;view=full\" ADD_DATE=\"1600000000\" ICON=\"" + icon + "\">Page " + n +
                    " &#8211; a typical title</A>\n";
        }
        html += "    </DL><p>\n";
    }
    return html + "</DL><p>\n";
}

void ImportBookmarks(benchmark::State& state)
{
    const QByteArray html = bookmarkFile();
    QTemporaryDir favorites;
    for (auto _ : state)
    {
        const BookmarkHtml::ImportResult result =
            BookmarkHtml::importData(html, QStringLiteral("bookmarks"), favorites.path());
        state.PauseTiming();
        if (result.count != Bookmarks)
            state.SkipWithError("not every bookmark was imported");
        QDir(result.folder).removeRecursively();
        state.ResumeTiming();
    }
    state.counters["goal_ms"] = ImportGoalMs;
    state.counters["file_mb"] = double(html.size()) / (1 << 20);
    state.SetItemsProcessed(state.iterations() * Bookmarks);
}
BENCHMARK(ImportBookmarks)->Unit(benchmark::kMillisecond)->Iterations(1);

void ExportFavorites(benchmark::State& state)
{
    QTemporaryDir favorites;
    BookmarkHtml::importData(bookmarkFile(), QStringLiteral("bookmarks"), favorites.path());
    for (auto _ : state)
    {
        int count = 0;
        benchmark::DoNotOptimize(BookmarkHtml::exportData(favorites.path(), &count));
        if (count != Bookmarks)
            state.SkipWithError("not every bookmark was exported");
    }
    state.SetItemsProcessed(state.iterations() * Bookmarks);
}
BENCHMARK(ExportFavorites)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

BENCHMARK_MAIN();

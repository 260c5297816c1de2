// History search over 100 MB of index files (400,000 entries in 30 period
// folders) against `cat` reading the same files to /dev/null, both with the
// files in the page cache, goal at most 2x; and the first showing of the
// History page over 50,000 entries, goal under 300 ms. Runs on the
// offscreen platform unless QT_QPA_PLATFORM is set.
#include "core/engine/THistoryIndex.h"
#include "core/engine/THistoryIndexReader.h"
#include "groups/HistorySearch.h"
#include "groups/HistoryTreeModel.h"
#include "groups/THistoryPage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeView>

#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace
{
constexpr int Periods = 30;
constexpr int SearchEntries = 400000;
constexpr int TreeEntries = 50000;
constexpr double SearchGoalRatio = 2.0;
constexpr double TreeGoalMs = 300;
// One title in this many carries the word searched for.
constexpr int MatchEvery = 1000;

QString periodName(int i, const QDate& today)
{
    // The days of this week, then earlier weeks, as the writer names them.
    if (i < today.dayOfWeek())
        return QStringLiteral("day-") + today.addDays(-i).toString(Qt::ISODate);
    const QDate monday = THistoryIndex::weekStart(today).addDays(-7 * (i - today.dayOfWeek() + 1));
    return QStringLiteral("week-") + monday.toString(Qt::ISODate);
}

// Entries of typical length: two blocks each, about 40 pages per site.
void writeHistory(const QString& root, int entries)
{
    const QDate today = QDate::currentDate();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const int perPeriod = entries / Periods;
    for (int p = 0; p < Periods; ++p)
    {
        QByteArray data;
        data.reserve(qsizetype(perPeriod) * 2 * THistoryIndex::BlockSize);
        for (int i = 0; i < perPeriod; ++i)
        {
            const int n = p * perPeriod + i;
            const QString url =
                QStringLiteral("https://www.site%1.example/articles/%2/page-%3.html?ref=list")
                    .arg(n % (perPeriod / 40 + 1))
                    .arg(n % 97)
                    .arg(n);
            const QString title =
                QStringLiteral("Article %1 on the Weather, Markets and %2")
                    .arg(n)
                    .arg(n % MatchEvery ? QStringLiteral("Sports") : QStringLiteral("Quokkas"));
            data += THistoryIndex::encodeEntry(url, title, now - qint64(n) * 60000);
        }
        const QString folder = QDir(root).filePath(periodName(p, today));
        QDir().mkpath(folder);
        QFile file(QDir(folder).filePath(THistoryIndex::indexFileName()));
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
    }
}

struct History
{
    QTemporaryDir dir;
    QString root = dir.filePath(QStringLiteral("History"));
    QStringList files;
    qint64 bytes = 0;

    explicit History(int entries)
    {
        writeHistory(root, entries);
        for (const auto& period : THistoryIndexReader::periods(root))
        {
            files << period.indexPath;
            bytes += QFileInfo(period.indexPath).size();
        }
    }
};

History& searchHistory()
{
    static History history(SearchEntries);
    return history;
}

History& treeHistory()
{
    static History history(TreeEntries);
    return history;
}

double catMs(const QStringList& files)
{
    QProcess cat;
    cat.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    cat.start(QStringLiteral("cat"), files);
    if (!cat.waitForFinished(60000) || cat.exitCode() != 0)
        qFatal("cat failed");
    return double(clock.nsecsElapsed()) / 1e6;
}

double medianOf(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

void SearchHistory(benchmark::State& state)
{
    History& history = searchHistory();
    // Warm: both read from the page cache.
    catMs(history.files);
    QList<double> cat;
    for (int i = 0; i < 7; ++i)
        cat << catMs(history.files);
    QList<double> search;
    qsizetype found = 0;
    for (auto _ : state)
    {
        QElapsedTimer clock;
        clock.start();
        HistorySearch::Rows rows;
        HistorySearch::SearchHistoryFolder(history.root, QStringLiteral("quokka"), rows);
        search << double(clock.nsecsElapsed()) / 1e6;
        found = rows.size();
    }
    if (found != SearchEntries / MatchEvery)
        state.SkipWithError("the search did not find every matching page");
    state.counters["file_mb"] = double(history.bytes) / (1 << 20);
    state.counters["cat_ms"] = medianOf(cat);
    state.counters["search_ms"] = medianOf(search);
    state.counters["ratio"] = medianOf(search) / medianOf(cat);
    state.counters["goal_ratio"] = SearchGoalRatio;
    state.SetBytesProcessed(state.iterations() * history.bytes);
}

// A page made, rooted at the history and drawn, as on its first showing.
void ShowHistoryTree(benchmark::State& state)
{
    History& history = treeHistory();
    for (auto _ : state)
    {
        THistoryPage page(nullptr);
        page.resize(250, 700);
        page.setRoot(history.root);
        page.show();
        benchmark::DoNotOptimize(page.shHistory->viewport()->grab());
        if (page.model()->rowCount() != Periods)
            state.SkipWithError("not every period is shown");
    }
    state.counters["goal_ms"] = TreeGoalMs;
    state.SetItemsProcessed(state.iterations() * TreeEntries);
}
} // namespace

BENCHMARK(SearchHistory)->Unit(benchmark::kMillisecond)->Iterations(7);
BENCHMARK(ShowHistoryTree)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv)
{
    return RunWidgetBenchmarks(argc, argv);
}

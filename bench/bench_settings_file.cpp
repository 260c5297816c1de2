// Writing and reading a group of 10,000 pages, through the group object and
// the settings file beneath it, against the goal of 50 ms for each. The file
// also holds an unrelated section that every write must carry along.
#include "components/SettingsFile.h"
#include "groups/TVostelGroup.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace
{
constexpr int Sites = 10000;
constexpr double GoalMs = 50;

// Addresses of a typical length, some with a query.
QString address(int i)
{
    return QStringLiteral("https://www.example%1.test/path/to/page-%1.html?id=%1&view=full").arg(i);
}

struct Fixture
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("big.vgp"));
    TVostelGroup group;

    Fixture()
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write("[Other]\nkept=1\n") < 0)
            qFatal("cannot write %s", qPrintable(path));
        file.close();
        group = TVostelGroup(nullptr, path);
        for (int i = 0; i < Sites; ++i)
            group.AddSite(i % 3 ? QStringLiteral("Site %1").arg(i) : QString(), address(i),
                          i % 7 == 0);
        if (!group.Save())
            qFatal("cannot write %s", qPrintable(path));
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void report(benchmark::State& state)
{
    state.counters["goal_ms"] = GoalMs;
    state.SetItemsProcessed(state.iterations() * Sites);
}

// Save: reading the file again (other sections stay), replacing the group's
// section and writing the file whole.
void WriteGroup(benchmark::State& state)
{
    TVostelGroup& group = fixture().group;
    for (auto _ : state)
    {
        if (!group.Save())
            state.SkipWithError("the group was not written");
    }
    report(state);
}

void ReadGroup(benchmark::State& state)
{
    for (auto _ : state)
    {
        TVostelGroup group(nullptr, fixture().path);
        if (group.size() != Sites)
            state.SkipWithError("the group was not read whole");
        benchmark::DoNotOptimize(group.data());
    }
    report(state);
}

// The settings file alone: reading the text and listing the section.
void ParseAndList(benchmark::State& state)
{
    QFile file(fixture().path);
    if (!file.open(QIODevice::ReadOnly))
        state.SkipWithError("no group file");
    const QByteArray data = file.readAll();
    for (auto _ : state)
    {
        SettingsFile settings;
        settings.loadFromData(data);
        benchmark::DoNotOptimize(settings.entries(TVostelGroup::Section).size());
    }
    report(state);
}
} // namespace

BENCHMARK(WriteGroup)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadGroup)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseAndList)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

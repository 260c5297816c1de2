// Reads per second of one setting through the settings object, against the
// floor of a bare prepared SQLite read of the same row, and the cost of a
// short-lived settings object that opens its own store.
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>

namespace
{
struct Fixture
{
    QTemporaryDir dir;
    std::unique_ptr<RegistryStore> store;
    std::unique_ptr<TQWOptions> options;

    Fixture()
    {
        qputenv("QUILLWAVE_HOME", QFile::encodeName(dir.path()));
        store = std::make_unique<RegistryStore>(RegistryStore::defaultDatabasePath());
        options = std::make_unique<TQWOptions>(store.get());
        // A store as a normal run leaves it: every value written once.
        for (int i = 0; i < int(TQWOptions::Option::Count); ++i)
        {
            const auto option = TQWOptions::Option(i);
            options->WriteString(TQWOptions::Name(option), TQWOptions::DefaultText(option));
        }
        options->SetLimitTitleLength(48);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void OptionsGetter(benchmark::State& state)
{
    const TQWOptions& options = *fixture().options;
    for (auto _ : state)
        benchmark::DoNotOptimize(options.LimitTitleLength());
    state.SetItemsProcessed(state.iterations());
}

void RawPreparedRead(benchmark::State& state)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(fixture().store->databasePath()).constData(), &db,
                    SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT v.text FROM key_values v JOIN keys k ON v.key_id = k.id "
                           "WHERE k.path = ?1 AND v.folded = ?2",
                           -1, &statement, nullptr) != SQLITE_OK)
    {
        state.SkipWithError(sqlite3_errmsg(db));
        sqlite3_close(db);
        return;
    }
    const QByteArray path = RegistryKeys::ValueKey.toCaseFolded().toUtf8();
    const QByteArray name = QByteArrayLiteral("limittitlelength");
    for (auto _ : state)
    {
        sqlite3_bind_text(statement, 1, path.constData(), int(path.size()), SQLITE_STATIC);
        sqlite3_bind_text(statement, 2, name.constData(), int(name.size()), SQLITE_STATIC);
        int value = 0;
        if (sqlite3_step(statement) == SQLITE_ROW)
            value = sqlite3_column_int(statement, 0);
        sqlite3_reset(statement);
        benchmark::DoNotOptimize(value);
    }
    state.SetItemsProcessed(state.iterations());
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

void ShortLivedOptionsRead(benchmark::State& state)
{
    fixture();
    for (auto _ : state)
    {
        TQWOptions options;
        benchmark::DoNotOptimize(options.LimitTitleLength());
    }
    state.SetItemsProcessed(state.iterations());
}
} // namespace

BENCHMARK(OptionsGetter);
BENCHMARK(RawPreparedRead);
BENCHMARK(ShortLivedOptionsRead);

BENCHMARK_MAIN();

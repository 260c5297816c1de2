#include "TestStore.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "core/store/RegistryTypeError.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

namespace
{
const QString& ValueKey = RegistryKeys::ValueKey;

// Any option's getter, as the table declares it.
QVariant readOption(const TQWOptions& o, TQWOptions::Option option)
{
    switch (option)
    {
#define QW_TEST_READ(name, kind, defaultValue, access)                                             \
    case TQWOptions::Option::name:                                                                 \
        return QVariant::fromValue(o.name());
        QW_OPTION_TABLE(QW_TEST_READ)
#undef QW_TEST_READ
    case TQWOptions::Option::Count:
        break;
    }
    return QVariant();
}
} // namespace

class tst_TQWOptions : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestStore> m_store;
    RegistryStore* store = nullptr;
    TQWOptions* options = nullptr;

    QString listKey(const QString& subKey) const { return ValueKey + "\\" + subKey; }

private slots:
    void init()
    {
        m_store = std::make_unique<TestStore>();
        store = m_store->store.get();
        options = m_store->options.get();
        QVERIFY(store->isOpen());
    }

    // A store that cannot be written still lets the entry routine hand the
    // address to the window: values live on for the run, and only there.
    void unwritableStoreKeepsValuesForTheRun()
    {
        QTemporaryDir home;
        // A folder in the database's place cannot be opened, even by root.
        QVERIFY(QDir(home.path()).mkdir("settings.sqlite"));
        RegistryStore unwritable(home.filePath("settings.sqlite"));
        TQWOptions unsaved(&unwritable);
        QCOMPARE(unsaved.UnsavedReason(), QString());
        unsaved.SetCommandLine("http://127.0.0.1/page.html");
        QCOMPARE(TQWOptions(&unwritable).CommandLine(), QString("http://127.0.0.1/page.html"));
        QVERIFY(!unsaved.UnsavedReason().isEmpty());
        unsaved.SetMaximized(true);
        QVERIFY(unsaved.Maximized());
        QCOMPARE(options->CommandLine(), QString());
        QCOMPARE(options->UnsavedReason(), QString());
    }

    // What a getter gives for a missing value is what it gives for the
    // default written out: the table's default and the getter's fallback
    // cannot drift apart, and reading writes nothing.
    void missingValueReadsAsItsDefault_data()
    {
        QTest::addColumn<int>("option");
        for (int i = 0; i < int(TQWOptions::Option::Count); ++i)
            QTest::newRow(qPrintable(TQWOptions::Name(TQWOptions::Option(i)))) << i;
    }
    void missingValueReadsAsItsDefault()
    {
        QFETCH(int, option);
        const TQWOptions::Option which = TQWOptions::Option(option);
        const QString text = TQWOptions::DefaultText(which);
        if (TQWOptions::KindOf(which) == TQWOptions::Kind::Boolean)
            QVERIFY2(text == QLatin1String("0") || text == QLatin1String("1"), qPrintable(text));
        const QVariant missing = readOption(*options, which);
        QVERIFY(missing.isValid());
        QVERIFY(store->valueNames(ValueKey).isEmpty());
        QVERIFY(store->setString(ValueKey, TQWOptions::Name(which), text));
        QCOMPARE(readOption(*options, which), missing);
    }

    // A stored text the getter cannot read gives the default (an invalid
    // expected value); the store may hold anything another program wrote.
    void storedTextIsRead()
    {
        using O = TQWOptions::Option;
        const QList<std::tuple<O, QString, QVariant>> rows = {
            {O::LimitTitleLength, "12", QVariant(12)},  {O::LimitTitleLength, "12px", QVariant()},
            {O::OpenNewAtEnd, "2", QVariant(true)},     {O::TabsDown, "yes", QVariant()},
            {O::AutoCompleteStyle, "ie4", QVariant(0)}, // a style in lower case
            {O::NewAction, "5", QVariant(5)},           // the getter does not clamp
        };
        for (const auto& [which, text, expected] : rows)
        {
            TestStore fresh;
            const QVariant byDefault = readOption(*fresh.options, which);
            QVERIFY(fresh.store->setString(ValueKey, TQWOptions::Name(which), text));
            QCOMPARE(readOption(*fresh.options, which).toString(),
                     (expected.isValid() ? expected : byDefault).toString());
        }
        // A setter keeps a value within what the window can show.
        options->SetNewAction(-1);
        QCOMPARE(store->value(ValueKey, "NewAction")->text, QStringLiteral("0"));
    }

    void writeListSection()
    {
        const QList<std::tuple<QStringList, QStringList, QStringList>> rows = {
            // lines, names stored, lines read back
            // clang-format off
            {{"x=first", "y=1", "x=second", "X=third"}, {"x", "y"}, {"x=first", "y=1"}},
            {{"junk", "a=1"}, {"a"}, {"a=1"}},
            {{"a=", "b=2"}, {"a", "b"}, {"b=2"}}, // empty data is stored, not read
            {{}, {}, {}}, // an empty list removes the key
            // clang-format on
        };
        const QString key = listKey(RegistryKeys::LastOpenSites);
        for (const auto& [lines, names, readBack] : rows)
        {
            QVERIFY(store->setString(key, "stale", "old"));
            QVERIFY(store->setString(key + "\\child", "stale", "old"));
            options->WriteListSection(RegistryKeys::LastOpenSites, lines);
            QCOMPARE(store->keyExists(key), !names.isEmpty());
            QCOMPARE(store->valueNames(key), names);
            QVERIFY(store->subKeyNames(key).isEmpty());
            QCOMPARE(options->ReadListSection(RegistryKeys::LastOpenSites), readBack);
        }
        // Everything the settings object writes is text; a number where text
        // belongs is a failure the caller sees.
        QVERIFY(store->setDWord(listKey("Search Engines"), "engine", 1));
        QVERIFY_THROWS_EXCEPTION(RegistryTypeError, options->ReadListSection("Search Engines"));
    }

    // A write that fails half way (here: the database refuses one value)
    // leaves the previous list exactly as it was.
    void failedListWriteKeepsThePreviousList()
    {
        options->WriteListSection(RegistryKeys::QuickSearch, {"g=google", "w=wiki"});
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(store->databasePath()).constData(), &db),
                 SQLITE_OK);
        QCOMPARE(sqlite3_exec(db,
                              "CREATE TRIGGER refuse BEFORE INSERT ON key_values "
                              "WHEN NEW.name = 'boom' BEGIN SELECT RAISE(ABORT, 'refused'); END",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(db);

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("writing a value failed"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("could not be written"));
        options->WriteListSection(RegistryKeys::QuickSearch, {"new=1", "boom=2", "after=3"});
        QCOMPARE(options->ReadListSection(RegistryKeys::QuickSearch),
                 QStringList({"g=google", "w=wiki"}));
    }
};

QTEST_GUILESS_MAIN(tst_TQWOptions)
#include "tst_TQWOptions.moc"

#include "TestStore.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "core/store/RegistryTypeError.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <functional>
#include <optional>

using Getter = std::function<QVariant(const TQWOptions&)>;
using Setter = std::function<void(TQWOptions&)>;
Q_DECLARE_METATYPE(Getter)
Q_DECLARE_METATYPE(Setter)

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

QString defaultText(TQWOptions::Option option)
{
    return TQWOptions::DefaultText(option);
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
    void unwritableStoreKeepsValuesForTheRun()
    {
        QTemporaryDir home;
        QVERIFY(home.isValid());
        // A folder in the database's place cannot be opened, even by root
        // (for whom read-only files and folders are writable).
        QVERIFY(QDir(home.path()).mkdir("settings.sqlite"));
        RegistryStore unwritable(home.filePath("settings.sqlite"));
        TQWOptions unsaved(&unwritable);
        QCOMPARE(unsaved.UnsavedReason(), QString());

        // The entry routine hands the address over; the window reads it.
        unsaved.SetCommandLine("http://127.0.0.1/page.html");
        QCOMPARE(TQWOptions(&unwritable).CommandLine(), QString("http://127.0.0.1/page.html"));
        QVERIFY(!unsaved.UnsavedReason().isEmpty());
        unsaved.SetCommandLine(QString());
        QCOMPARE(unsaved.CommandLine(), QString());
        unsaved.SetMaximized(true);
        QVERIFY(unsaved.Maximized());
        // Another store is not affected.
        QCOMPARE(options->CommandLine(), QString());
        QCOMPARE(options->UnsavedReason(), QString());
    }

    void init()
    {
        m_store = std::make_unique<TestStore>();
        store = m_store->store.get();
        options = m_store->options.get();
        QVERIFY(store->isOpen());
    }

    void everyOption_data()
    {
        QTest::addColumn<int>("option");
        for (int i = 0; i < int(TQWOptions::Option::Count); ++i)
            QTest::newRow(qPrintable(TQWOptions::Name(TQWOptions::Option(i)))) << i;
    }

    // A default parses as its kind, and what a getter gives for a missing
    // value is what it gives for the default written out: the table's
    // default and the getter's fallback cannot drift apart.
    void missingValueReadsAsItsDefault_data() { everyOption_data(); }
    void missingValueReadsAsItsDefault()
    {
        QFETCH(int, option);
        const TQWOptions::Option which = TQWOptions::Option(option);
        const QString text = TQWOptions::DefaultText(which);
        bool isNumber = false;
        const int number = text.toInt(&isNumber);
        if (TQWOptions::KindOf(which) == TQWOptions::Kind::Boolean)
            QVERIFY2(text == QLatin1String("0") || text == QLatin1String("1"), qPrintable(text));
        else if (TQWOptions::KindOf(which) == TQWOptions::Kind::Integer)
            QVERIFY2(isNumber && QString::number(number) == text, qPrintable(text));

        const QVariant missing = readOption(*options, which);
        QVERIFY(missing.isValid());
        // Reading a missing value writes nothing.
        QVERIFY(store->valueNames(ValueKey).isEmpty());
        QVERIFY(store->setString(ValueKey, TQWOptions::Name(which), text));
        QCOMPARE(readOption(*options, which), missing);
    }

    void everyValueIsListedOnce()
    {
        QSet<QString> names;
        for (int i = 0; i < int(TQWOptions::Option::Count); ++i)
            names.insert(TQWOptions::Name(TQWOptions::Option(i)).toCaseFolded());
        QCOMPARE(names.size(), int(TQWOptions::Option::Count));
    }

    void constructionCreatesOnlyTheBaseKey()
    {
        QVERIFY(store->keyExists(RegistryKeys::BaseKey));
        QVERIFY(!store->keyExists(ValueKey));
        options->SetShowGo(true);
        QVERIFY(store->keyExists(ValueKey));
    }

    void settersStoreText_data()
    {
        QTest::addColumn<Setter>("set");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("boolean true")        << Setter([](TQWOptions& o) { o.SetTabsDown(true); })            << "TabsDown"          << "1";
        QTest::newRow("boolean false")       << Setter([](TQWOptions& o) { o.SetTabsDown(false); })           << "TabsDown"          << "0";
        QTest::newRow("colour")              << Setter([](TQWOptions& o) { o.SetInactiveTabColor(0x123456); }) << "InactiveTabColor" << "1193046";
        QTest::newRow("negative integer")    << Setter([](TQWOptions& o) { o.SetLeft(-8); })                  << "Left"              << "-8";
        QTest::newRow("string")              << Setter([](TQWOptions& o) { o.SetStartupMode("Last"); })       << "StartupMode"       << "Last";
        QTest::newRow("NewAction 7")         << Setter([](TQWOptions& o) { o.SetNewAction(7); })              << "NewAction"         << "2";
        QTest::newRow("NewAction -1")        << Setter([](TQWOptions& o) { o.SetNewAction(-1); })             << "NewAction"         << "0";
        QTest::newRow("NewAction 1")         << Setter([](TQWOptions& o) { o.SetNewAction(1); })              << "NewAction"         << "1";
        QTest::newRow("VostelBarWidth -5")   << Setter([](TQWOptions& o) { o.SetVostelBarWidth(-5); })        << "VostelBarWidth"    << defaultText(TQWOptions::Option::VostelBarWidth);
        QTest::newRow("VostelBarWidth 0")    << Setter([](TQWOptions& o) { o.SetVostelBarWidth(0); })         << "VostelBarWidth"    << "0";
        QTest::newRow("AutoCompleteStyle 1") << Setter([](TQWOptions& o) { o.SetAutoCompleteStyle(1); })      << "AutoCompleteStyle" << "IE4";
        QTest::newRow("AutoCompleteStyle 2") << Setter([](TQWOptions& o) { o.SetAutoCompleteStyle(2); })      << "AutoCompleteStyle" << "IE5";
        QTest::newRow("AutoCompleteStyle 3") << Setter([](TQWOptions& o) { o.SetAutoCompleteStyle(3); })      << "AutoCompleteStyle" << "none";
        // clang-format on
    }

    void settersStoreText()
    {
        QFETCH(Setter, set);
        QFETCH(QString, name);
        QFETCH(QString, text);
        set(*options);
        QCOMPARE(store->value(ValueKey, name), RegValue::fromString(text));
    }

    void integerAndBooleanReading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("readable"); // false: each value reads as its default
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("truth");
        // clang-format off
        QTest::newRow("0") << "0" << true << 0 << false;
        QTest::newRow("1") << "1" << true << 1 << true;
        QTest::newRow("2 is true") << "2" << true << 2 << true;
        QTest::newRow("negative is true") << "-1" << true << -1 << true;
        QTest::newRow("yes is the default") << "yes" << false << 0 << false;
        QTest::newRow("empty is the default") << "" << false << 0 << false;
        QTest::newRow("trailing text") << "12px" << false << 0 << false;
        QTest::newRow("decimal point") << "1.5" << false << 0 << false;
        QTest::newRow("hex is not decimal") << "0x10" << false << 0 << false;
        QTest::newRow("too large for int") << "99999999999" << false << 0 << false;
        // clang-format on
    }

    void integerAndBooleanReading()
    {
        QFETCH(QString, text);
        QFETCH(bool, readable);
        QFETCH(int, number);
        QFETCH(bool, truth);
        using Option = TQWOptions::Option;
        // An integer, a boolean whose default is false and one whose
        // default is true.
        std::optional<Option> falseByDefault, trueByDefault;
        for (int i = 0; i < int(Option::Count); ++i)
        {
            if (TQWOptions::KindOf(Option(i)) != TQWOptions::Kind::Boolean)
                continue;
            std::optional<Option>& slot =
                defaultText(Option(i)) == QLatin1String("1") ? trueByDefault : falseByDefault;
            if (!slot)
                slot = Option(i);
        }
        QVERIFY(falseByDefault && trueByDefault);
        for (const Option option : {Option::LimitTitleLength, *falseByDefault, *trueByDefault})
            QVERIFY(store->setString(ValueKey, TQWOptions::Name(option), text));
        QCOMPARE(options->LimitTitleLength(),
                 readable ? number : defaultText(Option::LimitTitleLength).toInt());
        QCOMPARE(readOption(*options, *falseByDefault).toBool(), readable && truth);
        QCOMPARE(readOption(*options, *trueByDefault).toBool(), readable ? truth : true);
    }

    void autoCompleteStyleReading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("style");
        // clang-format off
        QTest::newRow("IE4")            << "IE4" << 1;
        QTest::newRow("IE5")            << "IE5" << 2;
        QTest::newRow("ie4 lower case") << "ie4" << 0;
        QTest::newRow("IE6")            << "IE6" << 0;
        // clang-format on
    }

    void autoCompleteStyleReading()
    {
        QFETCH(QString, text);
        QFETCH(int, style);
        QVERIFY(store->setString(ValueKey, "AutoCompleteStyle", text));
        QCOMPARE(options->AutoCompleteStyle(), style);
    }

    void newActionGetterDoesNotClamp()
    {
        QVERIFY(store->setString(ValueKey, "NewAction", "5"));
        QCOMPARE(options->NewAction(), 5);
    }

    void valuesAreNotCached()
    {
        RegistryStore otherConnection(store->databasePath());
        TQWOptions other(&otherConnection);
        const QString byDefault = defaultText(TQWOptions::Option::StartupMode);
        QCOMPARE(options->StartupMode(), byDefault);
        other.SetStartupMode("Blank");
        QCOMPARE(options->StartupMode(), QStringLiteral("Blank"));
        QVERIFY(store->deleteValue(ValueKey, "StartupMode"));
        QCOMPARE(other.StartupMode(), byDefault);
    }

    void nonStringValueThrows_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Getter>("getter");
        // clang-format off
        QTest::newRow("integer") << "LimitTitleLength" << Getter([](const TQWOptions& o) { return o.LimitTitleLength(); });
        QTest::newRow("boolean") << "TabsDown"         << Getter([](const TQWOptions& o) { return o.TabsDown(); });
        QTest::newRow("string")  << "StartupMode"      << Getter([](const TQWOptions& o) { return o.StartupMode(); });
        QTest::newRow("generic") << "Anything"         << Getter([](const TQWOptions& o) { return o.ReadString("Anything"); });
        // clang-format on
    }

    void nonStringValueThrows()
    {
        QFETCH(QString, name);
        QFETCH(Getter, getter);
        QVERIFY(store->setDWord(ValueKey, name, 1));
        try
        {
            getter(*options);
            QFAIL("no exception");
        }
        catch (const RegistryTypeError& e)
        {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("Invalid data type for '%1'").arg(name));
        }
    }

    void nonStringListValueThrows()
    {
        QVERIFY(store->setDWord(listKey("Search Engines"), "engine", 3));
        QVERIFY_THROWS_EXCEPTION(RegistryTypeError, options->ReadListSection("Search Engines"));
    }

    void deleteQWID()
    {
        QVERIFY(store->setString(ValueKey, "QWID", "abc"));
        QVERIFY(store->setString(ValueKey, "Other", "x"));
        options->DeleteQWID();
        QVERIFY(!store->value(ValueKey, "QWID"));
        QCOMPARE(store->valueNames(ValueKey), QStringList{"Other"});
        options->DeleteQWID(); // nothing to delete is fine
    }

    void readListSection()
    {
        const QString key = listKey(RegistryKeys::SearchEngines);
        QVERIFY(options->ReadListSection(RegistryKeys::SearchEngines).isEmpty());
        QVERIFY(store->setString(key, "Zeta", "http://z/?q=%s"));
        QVERIFY(store->setString(key, "empty", ""));
        QVERIFY(store->setString(key, "Alpha", "a=b"));
        QVERIFY(store->setString(key, "", "default"));
        QCOMPARE(options->ReadListSection(RegistryKeys::SearchEngines),
                 QStringList({"Zeta=http://z/?q=%s", "Alpha=a=b", "=default"}));
    }

    void writeListSection_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("readBack");
        // clang-format off
        QTest::newRow("in order")                        << QStringList{"url3=c", "url1=a", "url2=b"}         << QStringList{"url3", "url1", "url2"} << QStringList{"url3=c", "url1=a", "url2=b"};
        QTest::newRow("first of a name wins")            << QStringList{"x=first", "y=1", "x=second", "X=third"} << QStringList{"x", "y"}         << QStringList{"x=first", "y=1"};
        QTest::newRow("data after the first =")          << QStringList{"q=http://s/?a=1&b=2"}               << QStringList{"q"}                    << QStringList{"q=http://s/?a=1&b=2"};
        QTest::newRow("line without =")                  << QStringList{"junk", "a=1"}                       << QStringList{"a"}                    << QStringList{"a=1"};
        QTest::newRow("empty data is stored, not read")  << QStringList{"a=", "b=2"}                         << QStringList{"a", "b"}               << QStringList{"b=2"};
        // clang-format on
    }

    void writeListSection()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, names);
        QFETCH(QStringList, readBack);
        const QString key = listKey(RegistryKeys::LastOpenSites);
        QVERIFY(store->setString(key, "stale", "old"));
        QVERIFY(store->setString(key + "\\child", "stale", "old"));
        options->WriteListSection(RegistryKeys::LastOpenSites, lines);
        QCOMPARE(store->valueNames(key), names);
        QVERIFY(store->subKeyNames(key).isEmpty());
        QCOMPARE(options->ReadListSection(RegistryKeys::LastOpenSites), readBack);
    }

    void emptyListRemovesTheSubKey()
    {
        const QString key = listKey(RegistryKeys::LastOpenSites);
        options->WriteListSection(RegistryKeys::LastOpenSites, {"url1=http://a/"});
        QVERIFY(store->keyExists(key));
        options->WriteListSection(RegistryKeys::LastOpenSites, {});
        QVERIFY(!store->keyExists(key));
        QVERIFY(store->keyExists(ValueKey));
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

    void popupVostelReading_data()
    {
        QTest::addColumn<QStringList>("data");
        QTest::addColumn<QStringList>("entries");
        // clang-format off
        QTest::newRow("sorted whatever the names")          << QStringList{"http://zeta/", "http://Alpha/", "http://beta/"}                 << QStringList{"http://Alpha/", "http://beta/", "http://zeta/"};
        QTest::newRow("name=address becomes the address")   << QStringList{"url3=http://ads.example/pop*"}                                 << QStringList{"http://ads.example/pop*"};
        QTest::newRow("https")                              << QStringList{"x=https://s.example/"}                                         << QStringList{"https://s.example/"};
        QTest::newRow("http wins over an earlier https")    << QStringList{"a=https://one=http://two"}                                     << QStringList{"http://two"};
        QTest::newRow("no scheme kept whole")               << QStringList{"a=ftp://x", "*.doubleclick.*"}                                 << QStringList{"*.doubleclick.*", "a=ftp://x"};
        QTest::newRow("case duplicates once, first kept")   << QStringList{"http://Ads.example/", "http://ads.EXAMPLE/", "u=http://ADS.example/"} << QStringList{"http://Ads.example/"};
        QTest::newRow("empty dropped")                      << QStringList{"", "http://a/", "x="}                                          << QStringList{"http://a/", "x="};
        QTest::newRow("scheme case matters")                << QStringList{"a=HTTP://x"}                                                   << QStringList{"a=HTTP://x"};
        // clang-format on
    }

    void popupVostelReading()
    {
        QFETCH(QStringList, data);
        QFETCH(QStringList, entries);
        const QString key = listKey(RegistryKeys::PopupVostel);
        for (qsizetype i = 0; i < data.size(); ++i)
            QVERIFY(store->setString(key, "n" + QString::number(data.size() - i), data[i]));
        QCOMPARE(options->ReadPopupVostel(), entries);
    }

    void popupVostelWriting()
    {
        const QString key = listKey(RegistryKeys::PopupVostel);
        QVERIFY(store->setString(key, "url9", "http://stale/"));
        options->WritePopupVostel({"http://b/", "http://a/*", "http://b/"});
        QCOMPARE(store->valueNames(key), QStringList({"url1", "url2", "url3"}));
        QCOMPARE(store->value(key, "url2")->text, QStringLiteral("http://a/*"));
        QCOMPARE(options->ReadPopupVostel(), QStringList({"http://a/*", "http://b/"}));
        options->WritePopupVostel({});
        QVERIFY(!store->keyExists(key));
    }

    void browserHelperObjects()
    {
        const QString key = listKey(RegistryKeys::BrowserHelperObjects);
        QVERIFY(options->ReadBrowserHelperObjects().isEmpty());
        QVERIFY(!store->keyExists(key));
        QVERIFY(store->createKey(key + "\\{B-2}"));
        QVERIFY(store->createKey(key + "\\{A-1}"));
        QVERIFY(store->setString(key, "not a key", "x"));
        QCOMPARE(options->ReadBrowserHelperObjects(), QStringList({"{B-2}", "{A-1}"}));
    }

    void ownStoreFollowsQuillwaveHome()
    {
        QTemporaryDir home;
        const QByteArray saved = qgetenv("QUILLWAVE_HOME");
        qputenv("QUILLWAVE_HOME", QFile::encodeName(home.path()));
        {
            TQWOptions shortLived;
            shortLived.SetLanguageFile("other.ini");
        }
        {
            TQWOptions again;
            QCOMPARE(again.LanguageFile(), QStringLiteral("other.ini"));
        }
        saved.isNull() ? qunsetenv("QUILLWAVE_HOME") : qputenv("QUILLWAVE_HOME", saved);
        RegistryStore direct(home.filePath("settings.sqlite"));
        QCOMPARE(direct.value(ValueKey, "LanguageFile")->text, QStringLiteral("other.ini"));
        QCOMPARE(options->LanguageFile(), defaultText(TQWOptions::Option::LanguageFile));
    }
};

QTEST_GUILESS_MAIN(tst_TQWOptions)
#include "tst_TQWOptions.moc"

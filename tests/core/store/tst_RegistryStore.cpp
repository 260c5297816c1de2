#include "core/store/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

Q_DECLARE_METATYPE(RegValue)

namespace
{
const QString Key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Test");

struct Rollback
{
};
} // namespace

class tst_RegistryStore : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString dbPath() const { return dir.filePath(QStringLiteral("settings.sqlite")); }
    QStringList corruptCopies() const
    {
        return QDir(dir.path())
            .entryList({QStringLiteral("settings.sqlite.corrupt-*")}, QDir::Files);
    }

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }

    void valuesEnumerateInCreationOrder()
    {
        RegistryStore store(dbPath());
        QVERIFY(store.isOpen());
        for (const char* name : {"zulu", "alpha", "mike"})
            QVERIFY(store.setString(Key, QString::fromLatin1(name), QStringLiteral("1")));
        QVERIFY(store.setString(Key, QStringLiteral("alpha"), QStringLiteral("rewritten")));
        QCOMPARE(store.valueNames(Key), QStringList({"zulu", "alpha", "mike"}));
        QCOMPARE(store.value(Key, QStringLiteral("alpha"))->text, QStringLiteral("rewritten"));

        QVERIFY(store.deleteValue(Key, QStringLiteral("zulu")));
        QVERIFY(store.setString(Key, QStringLiteral("zulu"), QStringLiteral("again")));
        QCOMPARE(store.valueNames(Key), QStringList({"alpha", "mike", "zulu"}));
    }

    void namesCompareWithoutCase_data()
    {
        QTest::addColumn<QString>("writtenKey");
        QTest::addColumn<QString>("writtenName");
        QTest::addColumn<QString>("readKey");
        QTest::addColumn<QString>("readName");
        // clang-format off
        QTest::newRow("ascii")           << Key                << "Value" << Key.toUpper()       << "vALUE";
        QTest::newRow("root lower case") << Key                << "v"     << Key.toLower()       << "V";
        QTest::newRow("non-ascii key")   << Key + "\\Äpfel"   << "Größe" << Key + "\\äPFEL"     << "gRÖßE";
        QTest::newRow("cyrillic")        << Key + "\\Ключ"    << "Имя"   << Key + "\\КЛЮЧ"      << "имя";
        // clang-format on
    }

    void namesCompareWithoutCase()
    {
        QFETCH(QString, writtenKey);
        QFETCH(QString, writtenName);
        QFETCH(QString, readKey);
        QFETCH(QString, readName);
        RegistryStore store(dbPath());
        QVERIFY(store.setString(writtenKey, writtenName, QStringLiteral("first")));
        QVERIFY(store.keyExists(readKey));
        QCOMPARE(store.value(readKey, readName), RegValue::fromString(QStringLiteral("first")));

        // Rewriting through the other spelling updates the one value and
        // keeps the name as first written.
        QVERIFY(store.setString(readKey, readName, QStringLiteral("second")));
        QCOMPARE(store.valueNames(writtenKey), QStringList{writtenName});
        QCOMPARE(store.value(writtenKey, writtenName)->text, QStringLiteral("second"));
        QVERIFY(store.deleteValue(readKey, readName));
        QVERIFY(store.valueNames(writtenKey).isEmpty());
    }

    void typesRoundTrip_data()
    {
        QTest::addColumn<RegValue>("value");
        // clang-format off
        QTest::newRow("empty string")             << RegValue::fromString(QString());
        QTest::newRow("unicode with line break")  << RegValue::fromString(QStringLiteral("line one\nzwei ü €\r\n\"q\" \\"));
        QTest::newRow("embedded NUL")             << RegValue::fromString(QString(QChar(0)) + "after");
        QTest::newRow("dword zero")               << RegValue::fromDWord(0);
        QTest::newRow("dword max")                << RegValue::fromDWord(0xFFFFFFFFu);
        // clang-format on
    }

    void typesRoundTrip()
    {
        QFETCH(RegValue, value);
        {
            RegistryStore store(dbPath());
            QVERIFY(store.setValue(Key, QStringLiteral("v"), value));
            QCOMPARE(store.value(Key, QStringLiteral("v")), value);
        }
        RegistryStore reopened(dbPath());
        QCOMPARE(reopened.value(Key, QStringLiteral("v")), value);
    }

    void rewritingChangesTheType()
    {
        RegistryStore store(dbPath());
        QVERIFY(store.setString(Key, QStringLiteral("v"), QStringLiteral("text")));
        QVERIFY(store.setDWord(Key, QStringLiteral("v"), 7));
        QCOMPARE(store.value(Key, QStringLiteral("v")), RegValue::fromDWord(7));
        QVERIFY(store.setString(Key, QStringLiteral("v"), QStringLiteral("back")));
        QCOMPARE(store.value(Key, QStringLiteral("v")),
                 RegValue::fromString(QStringLiteral("back")));
    }

    void missingThingsReadAsMissing()
    {
        RegistryStore store(dbPath());
        QVERIFY(!store.value(Key, QStringLiteral("nothing")).has_value());
        QVERIFY(!store.keyExists(Key));
        QVERIFY(store.subKeyNames(Key).isEmpty());
        QVERIFY(!store.deleteValue(Key, QStringLiteral("nothing")));
        QVERIFY(!store.deleteKey(Key));
        QVERIFY(!store.keyExists(Key)); // reading never creates
    }

    void subKeysInCreationOrder()
    {
        RegistryStore store(dbPath());
        QVERIFY(store.createKey(Key + "\\b\\deep\\deeper"));
        QVERIFY(store.createKey(Key + "\\a"));
        QVERIFY(store.createKey(Key + "\\C"));
        QVERIFY(store.createKey(Key + "\\B")); // exists already as "b"
        QCOMPARE(store.subKeyNames(Key), QStringList({"b", "a", "C"}));
        QCOMPARE(store.subKeyNames(Key + "\\b"), QStringList{"deep"});
        QVERIFY(store.keyExists(Key + "\\B\\DEEP\\deeper"));
        QVERIFY(store.valueNames(Key + "\\b").isEmpty());
    }

    void deleteKeyRemovesTheWholeTreeOnly()
    {
        RegistryStore store(dbPath());
        const QString doomed = Key + "\\Doomed";
        QVERIFY(store.setString(doomed, "v", "1"));
        QVERIFY(store.setString(doomed + "\\child", "v", "2"));
        QVERIFY(store.setDWord(doomed + "\\child\\grandchild", "v", 3));
        // Siblings whose names share the prefix, or sort right around it.
        const QStringList siblings{"Doomed2", "Doomed!", "Doomed~", "Doomed]", "Doomed[", "Doome"};
        for (const QString& sibling : siblings)
            QVERIFY(store.setString(Key + "\\" + sibling, "v", sibling));

        QVERIFY(store.deleteKey(Key + "\\DOOMED"));
        QVERIFY(!store.keyExists(doomed));
        QVERIFY(!store.keyExists(doomed + "\\child\\grandchild"));
        QVERIFY(!store.value(doomed + "\\child", "v"));
        for (const QString& sibling : siblings)
            QCOMPARE(store.value(Key + "\\" + sibling, "v")->text, sibling);

        // A key created again starts empty.
        QVERIFY(store.createKey(doomed + "\\child"));
        QVERIFY(store.valueNames(doomed + "\\child").isEmpty());
        QVERIFY(store.subKeyNames(doomed + "\\child").isEmpty());
    }

    void rootsCannotBeDeleted()
    {
        RegistryStore store(dbPath());
        QVERIFY(store.setString(Key, "v", "1"));
        QVERIFY(!store.deleteKey(QStringLiteral("HKEY_CURRENT_USER")));
        QVERIFY(store.keyExists(QStringLiteral("HKEY_CURRENT_USER")));
        QCOMPARE(store.value(Key, "v")->text, QStringLiteral("1"));
    }

    void keyPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("segments");
        const QString name255(255, 'k');
        // clang-format off
        QTest::newRow("full")                       << "HKEY_CURRENT_USER\\Software\\X"   << QStringList{"HKEY_CURRENT_USER", "Software", "X"};
        QTest::newRow("root only")                  << "HKEY_LOCAL_MACHINE"               << QStringList{"HKEY_LOCAL_MACHINE"};
        QTest::newRow("root spelled in lower case") << "hkey_classes_root\\.html"        << QStringList{"HKEY_CLASSES_ROOT", ".html"};
        QTest::newRow("spaces are names")           << "HKEY_CURRENT_USER\\ a b "        << QStringList{"HKEY_CURRENT_USER", " a b "};
        QTest::newRow("name of 255 characters")     << "HKEY_CURRENT_USER\\" + name255   << QStringList{"HKEY_CURRENT_USER", name255};
        QTest::newRow("empty")                      << ""                                 << QStringList();
        QTest::newRow("trailing backslash")         << "HKEY_CURRENT_USER\\Software\\"   << QStringList();
        QTest::newRow("leading backslash")          << "\\HKEY_CURRENT_USER\\Software"   << QStringList();
        QTest::newRow("doubled backslash")          << "HKEY_CURRENT_USER\\\\Software"   << QStringList();
        QTest::newRow("unknown root")               << "HKEY_USERS\\x"                   << QStringList();
        QTest::newRow("abbreviated root")           << "HKCU\\Software"                  << QStringList();
        QTest::newRow("forward slashes")            << "HKEY_CURRENT_USER/Software"       << QStringList();
        QTest::newRow("line break in a name")       << "HKEY_CURRENT_USER\\a\nb"         << QStringList();
        QTest::newRow("name of 256 characters")     << "HKEY_CURRENT_USER\\" + name255 + "k" << QStringList();
        // clang-format on
    }

    void keyPaths()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, segments);
        QCOMPARE(RegistryStore::splitKeyPath(path), segments);
        RegistryStore store(dbPath());
        QCOMPARE(store.setString(path, "v", "1"), !segments.isEmpty());
        QCOMPARE(store.value(path, "v").has_value(), !segments.isEmpty());
        if (segments.isEmpty())
            QVERIFY(store.subKeyNames(QStringLiteral("HKEY_CURRENT_USER")).isEmpty());
    }

    void nestedTransactionRollsBackOnlyItsPart()
    {
        RegistryStore store(dbPath());
        const bool committed = store.transaction(
            [&]
            {
                store.setString(Key, "outer", "kept");
                try
                {
                    store.transaction(
                        [&]
                        {
                            store.setString(Key, "inner", "dropped");
                            throw Rollback{};
                        });
                }
                catch (const Rollback&)
                {
                }
                store.setString(Key, "after", "kept");
            });
        QVERIFY(committed);
        QCOMPARE(store.valueNames(Key), QStringList({"outer", "after"}));
    }

    void throwingTransactionWritesNothing()
    {
        RegistryStore store(dbPath());
        QVERIFY(store.setString(Key, "before", "1"));
        QVERIFY_THROWS_EXCEPTION(Rollback, store.transaction(
                                               [&]
                                               {
                                                   store.setString(Key, "before", "changed");
                                                   store.deleteKey(Key);
                                                   store.setString(Key + "\\new", "v", "1");
                                                   throw Rollback{};
                                               }));
        QCOMPARE(store.value(Key, "before")->text, QStringLiteral("1"));
        QVERIFY(!store.keyExists(Key + "\\new"));
        // The store is usable afterwards.
        QVERIFY(store.setString(Key, "later", "2"));
    }

    void otherConnectionsSeeWritesAtOnce()
    {
        RegistryStore first(dbPath());
        RegistryStore second(dbPath());
        QVERIFY(first.setString(Key, "v", "1"));
        QCOMPARE(second.value(Key, "v")->text, QStringLiteral("1"));
        QVERIFY(second.deleteKey(Key));
        QVERIFY(!first.keyExists(Key));
    }

    void unusableFileIsKeptAndReplaced_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("not a database") << "garbage";
        QTest::newRow("foreign tables") << "foreign";
        QTest::newRow("damaged pages") << "damaged";
    }

    void unusableFileIsKeptAndReplaced()
    {
        QFETCH(QString, kind);
        if (kind == QLatin1String("garbage"))
        {
            QFile file(dbPath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("these are someone's notes, not a database\n").repeated(200));
        }
        else if (kind == QLatin1String("foreign"))
        {
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open(QFile::encodeName(dbPath()).constData(), &db), SQLITE_OK);
            QCOMPARE(sqlite3_exec(db, "CREATE TABLE keys(x); INSERT INTO keys VALUES(1);", nullptr,
                                  nullptr, nullptr),
                     SQLITE_OK);
            sqlite3_close(db);
        }
        else
        {
            {
                RegistryStore store(dbPath());
                for (int i = 0; i < 100; ++i)
                    QVERIFY(store.setString(Key + "\\k" + QString::number(i % 7),
                                            "v" + QString::number(i), QString(100, 'x')));
            }
            QFile file(dbPath());
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.size() > 8192);
            file.seek(4096);
            file.write(QByteArray(file.size() - 4096, '\xff'));
        }
        QFile original(dbPath());
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray originalBytes = original.readAll();
        original.close();

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("could not be used.*kept as"));
        RegistryStore store(dbPath());
        QVERIFY(store.isOpen());
        QVERIFY(!store.keyExists(Key));
        QVERIFY(store.setString(Key, "fresh", "1"));

        const QStringList kept = corruptCopies();
        QCOMPARE(kept.size(), 1);
        QVERIFY(QRegularExpression("^settings\\.sqlite\\.corrupt-\\d{8}-\\d{6}$")
                    .match(kept.first())
                    .hasMatch());
        QFile copy(dir.filePath(kept.first()));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), originalBytes);
    }

    void secondDamagedFileGetsItsOwnName()
    {
        for (int round = 0; round < 2; ++round)
        {
            QFile file(dbPath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("round ") + QByteArray::number(round) + QByteArray(4096, 'z'));
            file.close();
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("kept as"));
            RegistryStore store(dbPath());
            QVERIFY(store.isOpen());
        }
        QCOMPARE(corruptCopies().size(), 2);
    }

    // Two processes each add 1 to the same counter many times: with the
    // read and the write in one immediate transaction no increment is lost.
    void concurrentIncrementsAreNotLost()
    {
        constexpr int Rounds = 150;
        {
            RegistryStore store(dbPath());
            QVERIFY(store.setString(Key, "counter", "0"));
        }
        QList<pid_t> children;
        for (int child = 0; child < 2; ++child)
        {
            const pid_t pid = fork();
            QVERIFY(pid >= 0);
            if (pid == 0)
            {
                int failures = 0;
                RegistryStore store(dbPath());
                for (int i = 0; i < Rounds; ++i)
                {
                    const bool ok = store.transaction(
                        [&]
                        {
                            const int n = store.value(Key, "counter")->text.toInt();
                            store.setString(Key, "counter", QString::number(n + 1));
                            store.setString(Key, QStringLiteral("c%1-%2").arg(child).arg(i), "x");
                        });
                    failures += ok ? 0 : 1;
                }
                _exit(failures == 0 ? 0 : 1);
            }
            children << pid;
        }
        for (const pid_t pid : children)
        {
            int status = 0;
            QCOMPARE(waitpid(pid, &status, 0), pid);
            QVERIFY(WIFEXITED(status));
            QCOMPARE(WEXITSTATUS(status), 0);
        }
        RegistryStore store(dbPath());
        QCOMPARE(store.value(Key, "counter")->text, QString::number(2 * Rounds));
        QCOMPARE(store.valueNames(Key).size(), 1 + 2 * Rounds);
    }

    // Two copies of the settings tool writing at the same time, each
    // opening the store afresh for every write.
    void concurrentToolWritesAreAllKept()
    {
        constexpr int Writes = 25;
        QList<QProcess*> writers;
        for (const QString& who : {QStringLiteral("a"), QStringLiteral("b")})
        {
            auto* process = new QProcess(this);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("QUILLWAVE_HOME", dir.path());
            process->setProcessEnvironment(env);
            const QString script =
                QStringLiteral("i=0; while [ $i -lt %1 ]; do \"$0\" set \"$1\" %2$i %2 || exit 1; "
                               "i=$((i+1)); done")
                    .arg(Writes)
                    .arg(who);
            process->start("/bin/sh", {"-c", script, QW_BIN_DIR "/quillwave-reg", Key});
            writers << process;
        }
        for (QProcess* process : writers)
        {
            QVERIFY(process->waitForFinished(120000));
            QCOMPARE(process->exitStatus(), QProcess::NormalExit);
            QCOMPARE(process->exitCode(), 0);
        }
        RegistryStore store(dbPath());
        const QStringList names = store.valueNames(Key);
        QCOMPARE(names.size(), 2 * Writes);
        for (int i = 0; i < Writes; ++i)
        {
            QCOMPARE(store.value(Key, "a" + QString::number(i))->text, QStringLiteral("a"));
            QCOMPARE(store.value(Key, "b" + QString::number(i))->text, QStringLiteral("b"));
        }
    }

    void defaultPathFollowsQuillwaveHome()
    {
        const QByteArray saved = qgetenv("QUILLWAVE_HOME");
        qputenv("QUILLWAVE_HOME", QFile::encodeName(dir.path() + "/home"));
        const QString path = RegistryStore::defaultDatabasePath();
        if (saved.isNull())
            qunsetenv("QUILLWAVE_HOME");
        else
            qputenv("QUILLWAVE_HOME", saved);
        QCOMPARE(path, QDir(dir.path() + "/home").absoluteFilePath("settings.sqlite"));
    }

    void missingFolderIsCreated()
    {
        const QString path = dir.filePath("a/b/settings.sqlite");
        RegistryStore store(path);
        QVERIFY(store.isOpen());
        QVERIFY(store.setString(Key, "v", "1"));
        QVERIFY(QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(tst_RegistryStore)
#include "tst_RegistryStore.moc"

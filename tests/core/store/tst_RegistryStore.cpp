#include "core/store/RegistryStore.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
const QString Key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Test");

struct Rollback
{
};

bool writeFile(const QString& path, const QByteArray& bytes, qint64 at = 0)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.seek(at) && file.write(bytes) == bytes.size();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
}
} // namespace

class tst_RegistryStore : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString dbPath() const { return dir.filePath(QStringLiteral("settings.sqlite")); }
    QStringList corruptCopies() const
    {
        return QDir(dir.path()).entryList({QStringLiteral("settings.sqlite.corrupt-*")});
    }

private slots:
    void init()
    {
        QDir(dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(dir.path()));
    }

    // Names compare without case, beyond ASCII too, and keep the spelling
    // first given. Deleting a key takes its whole tree and nothing else, not
    // even keys whose names share its prefix or sort right around it.
    void keyTree()
    {
        RegistryStore store(dbPath());
        QVERIFY(!store.deleteKey(QStringLiteral("HKEY_CURRENT_USER")));
        const QString doomed = Key + "\\Doomed";
        QVERIFY(store.setString(doomed + "\\child", "v", "2"));
        QVERIFY(store.setDWord(doomed + "\\child\\grandchild", "v", 3));
        const QStringList siblings{"Doomed2", "Doomed!", "Doomed~", "Doomed]", "Doomed[", "Doome"};
        for (const QString& sibling : siblings)
            QVERIFY(store.setString(Key + "\\" + sibling, "v", sibling));
        QCOMPARE(store.subKeyNames(Key), QStringList{"Doomed"} + siblings);

        QVERIFY(store.deleteKey(Key + "\\DOOMED"));
        QVERIFY(!store.keyExists(doomed + "\\child\\grandchild"));
        QCOMPARE(store.subKeyNames(Key), siblings);
        for (const QString& sibling : siblings)
            QCOMPARE(store.value(Key + "\\" + sibling, "v")->text, sibling);
        // A key created again starts empty.
        QVERIFY(store.createKey(doomed + "\\child"));
        QVERIFY(store.valueNames(doomed + "\\child").isEmpty());
        QVERIFY(store.subKeyNames(doomed + "\\child").isEmpty());
        QVERIFY(store.setString(Key + "\\Äpfel", "Größe", "1"));
        QVERIFY(store.setString(Key + "\\äPFEL", "gRÖßE", "2"));
        QCOMPARE(store.valueNames(Key + "\\ÄPFEL"), QStringList{"Größe"});
        // Texts come back as written, as names and as values.
        for (const QString& text :
             {QString::fromUtf16(u"\uFEFFA"), QString::fromUtf16(u"a\0b\r\nc", 6),
              QString::fromUtf16(u"\U0001F600")})
        {
            QVERIFY(store.setString(doomed, text, text));
            QCOMPARE(store.valueNames(doomed).last(), text);
            QCOMPARE(store.value(doomed, text)->text, text);
        }
    }

    void keyPaths()
    {
        const QString name255(255, 'k');
        const QList<std::pair<QString, QStringList>> rows = {
            // path, segments (empty: refused)
            // clang-format off
            {"hkey_classes_root\\.html", {"HKEY_CLASSES_ROOT", ".html"}},
            {"HKEY_CURRENT_USER\\" + name255, {"HKEY_CURRENT_USER", name255}},
            {"", {}},
            {"HKEY_CURRENT_USER\\a\nb", {}},
            {"HKEY_CURRENT_USER\\" + name255 + "k", {}},
            // clang-format on
        };
        int round = 0;
        for (const auto& [path, segments] : rows)
        {
            QCOMPARE(RegistryStore::splitKeyPath(path), segments);
            RegistryStore store(dir.filePath(QString::number(++round)));
            QCOMPARE(store.setString(path, "v", "1"), !segments.isEmpty());
            QCOMPARE(store.value(path, "v").has_value(), !segments.isEmpty());
            QCOMPARE(store.subKeyNames(QStringLiteral("HKEY_CURRENT_USER")).isEmpty(),
                     segments.value(0) != QLatin1String("HKEY_CURRENT_USER"));
        }
    }

    // A transaction that throws writes nothing; a nested one that throws
    // takes back only its own part.
    void transactionsRollBackWhatTheyWrote()
    {
        RegistryStore store(dbPath());
        QVERIFY(store.setString(Key, "before", "1"));
        const auto throwing = [&](const QString& name)
        {
            store.setString(Key, name, "dropped");
            store.deleteKey(Key + "\\sub");
            throw Rollback{};
        };
        QVERIFY(store.createKey(Key + "\\sub"));
        QVERIFY_THROWS_EXCEPTION(Rollback, store.transaction([&] { throwing("before"); }));
        QVERIFY(store.keyExists(Key + "\\sub"));
        const bool committed = store.transaction(
            [&]
            {
                store.setString(Key, "outer", "kept");
                try
                {
                    store.transaction([&] { throwing("inner"); });
                }
                catch (const Rollback&)
                {
                }
                store.setString(Key, "after", "kept");
            });
        QVERIFY(committed);
        QCOMPARE(store.valueNames(Key), QStringList({"before", "outer", "after"}));
        QCOMPARE(store.value(Key, "before")->text, QStringLiteral("1"));
        QVERIFY(store.keyExists(Key + "\\sub"));
    }

    // A file the store cannot use is kept aside, byte for byte, under a name
    // of its own, and a fresh store takes its place.
    void unusableFileIsKeptAndReplaced()
    {
        // Not a database, foreign tables, damaged pages.
        for (const QString kind : {"garbage", "foreign", "damaged"})
        {
            init();
            if (kind == QLatin1String("garbage"))
                QVERIFY(writeFile(dbPath(), QByteArray("someone's notes\n").repeated(400)));
            else if (kind == QLatin1String("foreign"))
            {
                sqlite3* db = nullptr;
                QCOMPARE(sqlite3_open(QFile::encodeName(dbPath()).constData(), &db), SQLITE_OK);
                QCOMPARE(sqlite3_exec(db, "CREATE TABLE keys(x);", nullptr, nullptr, nullptr),
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
                QVERIFY(writeFile(dbPath(), QByteArray(QFileInfo(dbPath()).size() - 4096, '\xff'),
                                  4096));
            }
            const QByteArray originalBytes = readAll(dbPath());

            for (int round = 0; round < 2; ++round)
            {
                QTest::ignoreMessage(QtWarningMsg,
                                     QRegularExpression("could not be used.*kept as"));
                {
                    RegistryStore store(dbPath());
                    QVERIFY(!store.keyExists(Key));
                    QVERIFY(store.setString(Key, "fresh", "1"));
                }
                // A second damaged file in the same second gets a name of its own.
                QVERIFY(QFile::remove(dbPath()));
                QVERIFY(writeFile(dbPath(), "round two" + QByteArray(4096, 'z')));
            }
            const QStringList kept = corruptCopies();
            QCOMPARE(kept.size(), 2);
            QVERIFY(QRegularExpression("^settings\\.sqlite\\.corrupt-\\d{8}-\\d{6}$")
                        .match(kept.first())
                        .hasMatch());
            QCOMPARE(readAll(dir.filePath(kept.first())), originalBytes);
        }
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
};

QTEST_GUILESS_MAIN(tst_RegistryStore)
#include "tst_RegistryStore.moc"

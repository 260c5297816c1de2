#include "StressValues.h"

#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

#include <memory>

// Four processes write one store at once, two through the settings object
// and two through the settings tool's import, all of them also one shared
// list: no value is lost, every list read is one writer's whole list, and
// the database stays sound.
class tst_StoreStress : public QObject
{
    Q_OBJECT

    static constexpr int Values = 10000;
    static constexpr int ImportsPerStream = 10;
    static constexpr int ValuesPerImport = Values / ImportsPerStream;

    QTemporaryDir home;

    QString storePath() const { return home.filePath("settings.sqlite"); }

    // One import file: its values, its own list and the shared list, each
    // list replaced whole.
    QString writeImport(const QString& prefix, int n) const
    {
        const QString base = RegistryKeys::ValueKey;
        QString text = "Windows Registry Editor Version 5.00\n\n";
        for (const QString& list : {StressValues::ownList(prefix), StressValues::SharedList})
        {
            text += QStringLiteral("[-%1\\%2]\n[%1\\%2]\n").arg(base, list);
            for (const QString& line : StressValues::listOf(prefix, n))
                text += QStringLiteral("\"%1\"=\"%2\"\n")
                            .arg(line.section('=', 0, 0), line.section('=', 1));
        }
        text += QStringLiteral("[%1]\n").arg(base);
        for (int i = n * ValuesPerImport; i < (n + 1) * ValuesPerImport; ++i)
            text +=
                QStringLiteral("\"%1\"=\"%2\"\n")
                    .arg(StressValues::valueName(prefix, i), StressValues::valueData(prefix, i));
        const QString path = home.filePath(QStringLiteral("%1-%2.reg").arg(prefix).arg(n));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
            return {};
        return path;
    }

    static QString integrity(const QString& path)
    {
        sqlite3* db = nullptr;
        sqlite3_stmt* check = nullptr;
        QString verdict = "cannot open";
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY,
                            nullptr) == SQLITE_OK &&
            sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr) == SQLITE_OK &&
            sqlite3_step(check) == SQLITE_ROW)
            verdict =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)));
        sqlite3_finalize(check);
        sqlite3_close(db);
        return verdict;
    }

private slots:
    void fourWritersLoseNothing()
    {
        QVERIFY(home.isValid());
        RegistryStore(storePath()).createKey(RegistryKeys::ValueKey);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUILLWAVE_HOME", home.path());

        std::vector<std::unique_ptr<QProcess>> writers;
        auto start = [&](const QString& program, const QStringList& arguments)
        {
            writers.push_back(std::make_unique<QProcess>());
            writers.back()->setProcessEnvironment(env);
            writers.back()->start(program, arguments);
        };
        const QStringList direct{"opt1", "opt2"};
        const QStringList imported{"imp1", "imp2"};
        for (const QString& prefix : direct)
            start(QW_BIN_DIR "/qw-stress-writer",
                  {"values", storePath(), prefix, QString::number(Values)});
        for (const QString& prefix : imported)
        {
            QStringList files{QW_BIN_DIR "/quillwave-reg"};
            for (int n = 0; n < ImportsPerStream; ++n)
                files << writeImport(prefix, n);
            QVERIFY(!files.contains(QString()));
            start("/bin/sh", QStringList{"-c",
                                         "r=$1; shift; for f; do \"$r\" import \"$f\" || "
                                         "exit; done",
                                         "sh"} +
                                 files);
        }
        for (const auto& writer : writers)
        {
            QVERIFY(writer->waitForFinished(240000));
            QVERIFY2(writer->exitStatus() == QProcess::NormalExit && writer->exitCode() == 0,
                     writer->readAllStandardError().constData());
        }

        QCOMPARE(integrity(storePath()), QString("ok"));
        RegistryStore store(storePath());
        TQWOptions options(&store);
        for (const QString& prefix : direct + imported)
        {
            for (int i = 0; i < Values; ++i)
                QCOMPARE(options.ReadString(StressValues::valueName(prefix, i)),
                         StressValues::valueData(prefix, i));
            const int last = imported.contains(prefix) ? ImportsPerStream - 1 : Values - 1;
            QCOMPARE(options.ReadListSection(StressValues::ownList(prefix)),
                     StressValues::listOf(prefix, last));
        }
        const QStringList shared = options.ReadListSection(StressValues::SharedList);
        QVERIFY2(!shared.isEmpty() && StressValues::isWholeList(shared),
                 qPrintable(shared.join(' ')));
    }
};

QTEST_GUILESS_MAIN(tst_StoreStress)
#include "tst_StoreStress.moc"

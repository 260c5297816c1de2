#include "StressValues.h"

#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

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
        const auto value = [](const QString& name, const QString& data)
        { return QStringLiteral("\"%1\"=\"%2\"\n").arg(name, data); };
        const QString base = RegistryKeys::ValueKey;
        QString text = "Windows Registry Editor Version 5.00\n\n";
        for (const QString& list : {StressValues::ownList(prefix), StressValues::SharedList})
        {
            text += QStringLiteral("[-%1\\%2]\n[%1\\%2]\n").arg(base, list);
            for (const QString& line : StressValues::listOf(prefix, n))
                text += value(line.section('=', 0, 0), line.section('=', 1));
        }
        text += QStringLiteral("[%1]\n").arg(base);
        for (int i = n * ValuesPerImport; i < (n + 1) * ValuesPerImport; ++i)
            text += value(StressValues::valueName(prefix, i), StressValues::valueData(prefix, i));
        QFile file(home.filePath(QStringLiteral("%1-%2.reg").arg(prefix).arg(n)));
        return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size()
                   ? file.fileName()
                   : QString();
    }

    static QString integrity(const QString& path)
    {
        sqlite3* db = nullptr;
        QString verdict = "cannot open";
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY,
                            nullptr) == SQLITE_OK)
            sqlite3_exec(
                db, "PRAGMA integrity_check",
                [](void* to, int, char** row, char**)
                { return *static_cast<QString*>(to) = QString::fromUtf8(row[0]), 1; },
                &verdict, nullptr);
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

        const QStringList direct{"opt1", "opt2"};
        const QStringList imported{"imp1", "imp2"};
        QList<QProcess*> writers;
        for (const QString& prefix : direct + imported)
        {
            QStringList arguments{"values", storePath(), prefix, QString::number(Values)};
            if (imported.contains(prefix))
            {
                arguments = QStringList{
                    "-c", "for f; do '" QW_BIN_DIR "/quillwave-reg' import \"$f\" || exit; done",
                    "sh"};
                for (int n = 0; n < ImportsPerStream; ++n)
                    arguments << writeImport(prefix, n);
                QVERIFY(!arguments.contains(QString()));
            }
            QProcess* writer = writers.emplace_back(new QProcess(this));
            writer->setProcessEnvironment(env);
            writer->start(imported.contains(prefix) ? "/bin/sh" : QW_BIN_DIR "/qw-stress-writer",
                          arguments);
        }
        for (QProcess* writer : writers)
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

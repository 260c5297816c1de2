#include "StressSubjects.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>

// Every file and store list the program writes, with its writer killed
// (SIGKILL) at random moments: after each kill the subject holds the version
// before the one being written or that one, whole, and nothing written
// earlier is lost.
class tst_KilledWriters : public QObject
{
    Q_OBJECT

    static constexpr int Kills = 200;
    // The writer is killed this long at most after it starts, or, one time
    // in four, after its first version, so that versions pile up even
    // where one write takes longer than that.
    static constexpr int MaxDelayUs = 20000;

    QProcess zygote;
    QByteArray child; // the writer running now

    // Kills the writer; the numbers it wrote, then its end.
    QByteArrayList killChild()
    {
        ::kill(child.toInt(), SIGKILL);
        QByteArrayList lines;
        while (!lines.endsWith("dead " + child + " killed") &&
               !(lines << nextLine()).last().isEmpty())
        {
        }
        child.clear();
        return lines;
    }

    // The next line from the writers, without its line end; empty when none came.
    QByteArray nextLine()
    {
        while (!zygote.canReadLine())
            if (!zygote.waitForReadyRead(10000))
                return {};
        return zygote.readLine().trimmed();
    }

private slots:
    void initTestCase()
    {
        zygote.start(QW_BIN_DIR "/qw-stress-writer", {"zygote"});
        QVERIFY(zygote.waitForStarted());
    }
    // A failed check leaves its writer running.
    void cleanup()
    {
        if (!child.isEmpty())
            killChild();
    }
    void cleanupTestCase()
    {
        zygote.closeWriteChannel();
        QVERIFY(zygote.waitForFinished());
    }

    void killedWriterLeavesOldOrNew_data()
    {
        QTest::addColumn<QString>("kind");
        for (const QString& kind : StressSubjects::kinds())
            QTest::newRow(qPrintable(kind)) << kind;
    }
    void killedWriterLeavesOldOrNew()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = dir.filePath(kind);
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        int found = -1;
        for (int run = 0; run < Kills; ++run)
        {
            zygote.write(
                QStringLiteral("%1 %2 %3\n").arg(kind, folder).arg(found + 1).toLocal8Bit());
            const QByteArray started = nextLine();
            QVERIFY2(started.startsWith("pid "), started.constData());
            child = started.mid(4);
            QByteArrayList lines;
            if (run % 4 == 3)
                lines << nextLine();
            QThread::usleep(random.bounded(MaxDelayUs));
            lines += killChild();
            QVERIFY2(lines.last().endsWith(" killed"), zygote.readAllStandardError().constData());
            bool numbered = false;
            const int last = lines.value(lines.size() - 2).toInt(&numbered);
            const int committed = numbered ? last : found;

            QString why;
            const std::optional<int> now = StressSubjects::check(kind, folder, committed, &why);
            QVERIFY2(
                now && (*now == committed || *now == committed + 1),
                qPrintable(QStringLiteral("kill %1 (seed %2), last written %3: %4")
                               .arg(run)
                               .arg(seed)
                               .arg(committed)
                               .arg(now ? QStringLiteral("found version %1").arg(*now) : why)));
            found = *now;
        }
        qInfo("%s: %d versions written", qPrintable(kind), found + 1);
        QVERIFY2(found > 0, "the writer never finished a version");
    }
};

QTEST_GUILESS_MAIN(tst_KilledWriters)
#include "tst_KilledWriters.moc"

#include "core/instance/StartupTimeline.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_StartupTimeline : public QObject
{
    Q_OBJECT

private slots:
    void formatsLine_data()
    {
        QTest::addColumn<QString>("phase");
        QTest::addColumn<qint64>("elapsedNs");
        QTest::addColumn<QByteArray>("line");

        // clang-format off
        QTest::newRow("rounded to a tenth") << u"store opened"_s << qint64(12345678) << QByteArray("store opened 12.3\n");
        QTest::newRow("line breaks in the name") << u"two\nlines\r"_s << qint64(1000000) << QByteArray("two lines 1.0\n");
        QTest::newRow("empty name") << QString() << qint64(-2000000) << QByteArray("? -2.0\n");
        // clang-format on
    }

    void formatsLine()
    {
        QFETCH(QString, phase);
        QFETCH(qint64, elapsedNs);
        QFETCH(QByteArray, line);
        QCOMPARE(StartupTimeline::line(phase, elapsedNs), line);
    }

    void readsStartTime_data()
    {
        QTest::addColumn<QByteArray>("stat");
        QTest::addColumn<long>("ticksPerSecond");
        QTest::addColumn<qint64>("startNs");

        const QByteArray fields = " S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 4321 99 100";
        // clang-format off
        QTest::newRow("name with spaces and parentheses") << QByteArray("42 (a) b (c))" + fields) << 100L << qint64(4321) * 10000000;
        QTest::newRow("too few fields") << QByteArray("42 (q) S 1 2 3") << 100L << qint64(-1);
        QTest::newRow("not a number") << QByteArray("42 (q) S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 soon 99") << 100L << qint64(-1);
        QTest::newRow("no tick rate") << QByteArray("42 (q)" + fields) << 0L << qint64(-1);
        // clang-format on
    }

    void readsStartTime()
    {
        QFETCH(QByteArray, stat);
        QFETCH(long, ticksPerSecond);
        QFETCH(qint64, startNs);
        QCOMPARE(StartupTimeline::startTimeFromStat(stat, ticksPerSecond), startNs);
    }

    // The launcher's lines stay when the browser it became adds its own.
    void recordsEachPhaseOnceAfterWhatIsThere()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"timeline"_s);
        QVERIFY(StartupTimeline(path, 0).record(u"launcher started"_s, 5000000));
        StartupTimeline timeline(path, 1000000000);
        QVERIFY(timeline.isEnabled());
        QVERIFY(timeline.record(u"shown"_s, 1250000000));
        QVERIFY(!timeline.record(u"shown"_s, 1900000000));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("launcher started 5.0\nshown 250.0\n"));
    }

    // No file asked for, or a folder in its place: nothing written, nothing fails.
    void recordsNothingWithoutAFile()
    {
        QTemporaryDir dir;
        QVERIFY(!StartupTimeline(QString(), 0).isEnabled());
        QVERIFY(!StartupTimeline(QString(), 0).record(u"shown"_s, 1));
        QVERIFY(!StartupTimeline(dir.path(), 0).record(u"shown"_s, 1));
        // The start read from the system lies in the past.
        QVERIFY(StartupTimeline::processStart() > 0 &&
                StartupTimeline::processStart() <= StartupTimeline::now());
    }
};

QTEST_GUILESS_MAIN(tst_StartupTimeline)
#include "tst_StartupTimeline.moc"

#include "core/instance/StartupTimeline.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_StartupTimeline : public QObject
{
    Q_OBJECT

private slots:
    void formatsLine()
    {
        QCOMPARE(StartupTimeline::line(u"store opened"_s, 12345678), "store opened 12.3\n"_ba);
        QCOMPARE(StartupTimeline::line(u"two\nlines\r"_s, 1000000), "two lines 1.0\n"_ba);
        QCOMPARE(StartupTimeline::line(QString(), -2000000), "? -2.0\n"_ba);
    }

    void readsStartTime()
    {
        const QByteArray fields = " S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 4321 99 100";
        const auto start = &StartupTimeline::startTimeFromStat;
        // A name with blanks and parentheses.
        QCOMPARE(start("42 (a) b (c))" + fields, 100L), qint64(4321) * 10000000);
        QCOMPARE(start("42 (q) S 1 2 3", 100L), qint64(-1)); // too few fields
        QCOMPARE(start("42 (q) S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 soon 99", 100L),
                 qint64(-1));
        QCOMPARE(start("42 (q)" + fields, 0L), qint64(-1)); // no tick rate
        // The start read from the system lies in the past.
        QVERIFY(StartupTimeline::processStart() > 0 &&
                StartupTimeline::processStart() <= StartupTimeline::now());
    }

    // The launcher's lines stay when the browser it became adds its own. No
    // file asked for, or a folder in its place: nothing written, nothing fails.
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
        QVERIFY(!StartupTimeline(QString(), 0).isEnabled());
        QVERIFY(!StartupTimeline(QString(), 0).record(u"shown"_s, 1));
        QVERIFY(!StartupTimeline(dir.path(), 0).record(u"shown"_s, 1));
    }
};

QTEST_GUILESS_MAIN(tst_StartupTimeline)
#include "tst_StartupTimeline.moc"

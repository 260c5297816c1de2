#include "core/engine/PageTitleReport.h"

#include <QStringList>
#include <QTest>

class tst_PageTitleReport : public QObject
{
    Q_OBJECT
private slots:
    // Titles the engine reports, '|' for a new document arriving; the
    // titles raised in turn.
    void raised_data()
    {
        QTest::addColumn<QString>("reports");
        QTest::addColumn<QString>("raised");
        // clang-format off
        QTest::newRow("first title") << "A" << "A";
        QTest::newRow("same title again") << "A,A" << "A";
        QTest::newRow("changed title") << "A,B,A" << "A,B,A";
        QTest::newRow("same title, new document") << "A,|,A" << "A,A";
        QTest::newRow("new title, new document") << "A,|,B,B" << "A,B";
        QTest::newRow("empty title raised once") << ",," << "";
        // clang-format on
    }
    void raised()
    {
        QFETCH(QString, reports);
        QFETCH(QString, raised);
        PageTitleReport report;
        QStringList out;
        for (const QString& title : reports.split(QLatin1Char(',')))
        {
            if (title == QLatin1String("|"))
                report.documentArrived();
            else if (report.take(title))
                out << title;
        }
        QCOMPARE(out.join(QLatin1Char(',')), raised);
        QCOMPARE(report.last(), out.isEmpty() ? QString() : out.last());
    }
};

QTEST_APPLESS_MAIN(tst_PageTitleReport)
#include "tst_PageTitleReport.moc"

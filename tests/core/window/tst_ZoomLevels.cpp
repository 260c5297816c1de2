// The text sizes: which menu item a page's magnification checks, and which
// magnification an item gives.

#include "core/window/ZoomLevels.h"

#include <QTest>

class tst_ZoomLevels : public QObject
{
    Q_OBJECT

private slots:
    void checkedItemOfFactor_data()
    {
        QTest::addColumn<double>("factor");
        QTest::addColumn<int>("checkedIndex");
        // clang-format off
        QTest::newRow("largest checks the first item")  << ZoomLevels::Factors[4] << 0;
        QTest::newRow("larger")                         << ZoomLevels::Factors[3] << 1;
        QTest::newRow("medium is the design size")      << 1.0                    << 2;
        QTest::newRow("smaller")                        << ZoomLevels::Factors[1] << 3;
        QTest::newRow("smallest checks the last item")  << ZoomLevels::Factors[0] << 4;
        QTest::newRow("as the engine answers it back")  << 1.2000000476837158     << 1;
        QTest::newRow("wheel zoom between two sizes")   << 1.1                    << -1;
        QTest::newRow("beyond the largest")             << 3.0                    << -1;
        QTest::newRow("beyond the smallest")            << 0.25                   << -1;
        // clang-format on
    }
    void checkedItemOfFactor()
    {
        QFETCH(double, factor);
        QFETCH(int, checkedIndex);
        QCOMPARE(ZoomLevels::CheckedIndex(ZoomLevels::LevelOf(factor)), checkedIndex);
    }
};

QTEST_GUILESS_MAIN(tst_ZoomLevels)
#include "tst_ZoomLevels.moc"

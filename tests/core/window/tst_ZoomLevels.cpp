// The text sizes: which menu item a page's magnification checks, and which
// magnification an item gives.

#include "core/window/ZoomLevels.h"

#include <QTest>

class tst_ZoomLevels : public QObject
{
    Q_OBJECT

private slots:
    void checkedItemOfFactor()
    {
        // clang-format off
        for (const auto& [factor, checkedIndex] : std::initializer_list<std::pair<double, int>>{
                 {ZoomLevels::Factors[4], 0}, // largest checks the first item
                 {ZoomLevels::Factors[3], 1},
                 {1.0, 2},                    // medium is the design size
                 {ZoomLevels::Factors[1], 3},
                 {ZoomLevels::Factors[0], 4}, // smallest checks the last item
                 {1.2000000476837158, 1},     // as the engine answers it back
                 {1.1, -1},                   // wheel zoom between two sizes
                 {3.0, -1}, {0.25, -1}})      // beyond the largest and the smallest
            QVERIFY2(ZoomLevels::CheckedIndex(ZoomLevels::LevelOf(factor)) == checkedIndex,
                     qPrintable(QString::number(factor, 'g', 17)));
        // clang-format on
    }
};

QTEST_GUILESS_MAIN(tst_ZoomLevels)
#include "tst_ZoomLevels.moc"

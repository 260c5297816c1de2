// The font menus: the check mark follows the active page when a menu opens,
// and an item sets the active page's size.

#include "FakeBrowserControl.h"

#include "core/window/MainTextSize.h"
#include "core/window/ZoomLevels.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QWidget>

namespace
{
int checkedIndex(const QList<QAction*>& items)
{
    for (int i = 0; i < items.size(); ++i)
        if (items[i]->isChecked())
            return i;
    return -1;
}
} // namespace

class tst_MainTextSize : public QObject
{
    Q_OBJECT

private slots:
    void openingChecksTheActivePagesSize_data()
    {
        QTest::addColumn<bool>("withPage");
        QTest::addColumn<double>("factor");
        QTest::addColumn<int>("checked");
        // clang-format off
        QTest::newRow("largest")          << true  << ZoomLevels::Factors[4] << 0;
        QTest::newRow("smallest")         << true  << ZoomLevels::Factors[0] << 4;
        QTest::newRow("wheel-zoomed")     << true  << 1.1                    << -1;
        QTest::newRow("no active tab")    << false << 1.0                    << -1;
        // clang-format on
    }
    void openingChecksTheActivePagesSize()
    {
        QFETCH(bool, withPage);
        QFETCH(double, factor);
        QFETCH(int, checked);
        QWidget window;
        FakeBrowserControl page;
        page.zoomFactor = factor;
        MainTextSize sizes(&window,
                           [&]() -> IBrowserControl* { return withPage ? &page : nullptr; });
        // A check left from an earlier opening must go.
        sizes.FontItems()[2]->setChecked(true);
        sizes.FontSizeItems()[2]->setChecked(true);

        emit sizes.FontMenu()->aboutToShow();
        emit sizes.FontSizeMenu()->aboutToShow();
        QCOMPARE(checkedIndex(sizes.FontItems()), checked);
        QCOMPARE(checkedIndex(sizes.FontSizeItems()), checked);
    }

    void itemsSetTheActivePagesSize()
    {
        QWidget window;
        FakeBrowserControl page;
        FakeBrowserControl* active = &page;
        MainTextSize sizes(&window, [&]() -> IBrowserControl* { return active; });

        sizes.FontItems()[0]->trigger();
        sizes.FontSizeItems()[4]->trigger();
        sizes.actSetMediumFontExecute();
        QCOMPARE(page.zoomFactors,
                 (QList<double>{ZoomLevels::Factors[4], ZoomLevels::Factors[0], 1.0}));

        active = nullptr;
        sizes.FontItems()[1]->trigger();
        QCOMPARE(page.zoomFactors.size(), 3);
    }
};

QTEST_MAIN(tst_MainTextSize)
#include "tst_MainTextSize.moc"

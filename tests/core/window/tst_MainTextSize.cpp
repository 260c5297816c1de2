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
    // Which item a size checks is ZoomLevels'; here: both menus follow the
    // page when they open, and a check from an earlier opening goes.
    void openingChecksTheActivePagesSize()
    {
        QWidget window;
        FakeBrowserControl page;
        page.zoomFactor = ZoomLevels::Factors[4];
        FakeBrowserControl* active = &page;
        MainTextSize sizes(&window, [&]() -> IBrowserControl* { return active; });
        for (QMenu* menu : {sizes.FontMenu(), sizes.FontSizeMenu()})
            emit menu->aboutToShow();
        QCOMPARE(checkedIndex(sizes.FontItems()), 0);
        QCOMPARE(checkedIndex(sizes.FontSizeItems()), 0);

        active = nullptr;
        for (QMenu* menu : {sizes.FontMenu(), sizes.FontSizeMenu()})
            emit menu->aboutToShow();
        QCOMPARE(checkedIndex(sizes.FontItems()), -1);
        QCOMPARE(checkedIndex(sizes.FontSizeItems()), -1);
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

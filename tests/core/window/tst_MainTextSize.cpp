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
    void menusFollowAndSetTheActivePage()
    {
        QWidget window;
        FakeBrowserControl page;
        page.zoomFactor = ZoomLevels::Factors[4];
        FakeBrowserControl* active = &page;
        MainTextSize sizes(&window, [&]() -> IBrowserControl* { return active; });
        const auto opened = [&]
        {
            for (QMenu* menu : {sizes.FontMenu(), sizes.FontSizeMenu()})
                emit menu->aboutToShow();
            return QList<int>{checkedIndex(sizes.FontItems()), checkedIndex(sizes.FontSizeItems())};
        };
        QCOMPARE(opened(), (QList<int>{0, 0}));
        active = nullptr;
        QCOMPARE(opened(), (QList<int>{-1, -1}));

        // The items set the active page's size.
        active = &page;
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

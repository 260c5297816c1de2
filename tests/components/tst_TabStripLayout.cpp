#include "components/TabStripLayout.h"

#include <QTest>

class tst_TabStripLayout : public QObject
{
    Q_OBJECT
private slots:
    void indexAfterMove()
    {
        // clang-format off
        struct Row { int index, from, to, after; };
        const Row rows[] = {
            {1, 1, 4, 4}, // the moved tab
            {3, 1, 4, 2}, // passed over to the right
            {4, 1, 4, 3}, // at the target, moved right
            {2, 4, 1, 3}, // passed over to the left
            {2, 2, 2, 2}, // moved nowhere
        };
        // clang-format on
        for (const Row& r : rows)
            QCOMPARE(TabStripLayout::IndexAfterMove(r.index, r.from, r.to), r.after);
    }
};

QTEST_APPLESS_MAIN(tst_TabStripLayout)
#include "tst_TabStripLayout.moc"

#include "components/TabStripLayout.h"

#include <QTest>

class tst_TabStripLayout : public QObject
{
    Q_OBJECT
private slots:
    void indexAfterMove_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("after");
        // clang-format off
        QTest::newRow("the moved tab") << 1 << 1 << 4 << 4;
        QTest::newRow("passed over to the right") << 3 << 1 << 4 << 2;
        QTest::newRow("at the target, moved right") << 4 << 1 << 4 << 3;
        QTest::newRow("passed over to the left") << 2 << 4 << 1 << 3;
        QTest::newRow("moved nowhere") << 2 << 2 << 2 << 2;
        // clang-format on
    }
    void indexAfterMove()
    {
        QFETCH(int, index);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, after);
        QCOMPARE(TabStripLayout::IndexAfterMove(index, from, to), after);
    }
};

QTEST_APPLESS_MAIN(tst_TabStripLayout)
#include "tst_TabStripLayout.moc"

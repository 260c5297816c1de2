#include "chrome/ToolbarOverflow.h"

#include <QStringList>
#include <QtTest>

namespace
{
// "30 |5 30": widths from the left, "|" marking a separator.
QList<ToolbarOverflow::Place> places(const QString& widths)
{
    QList<ToolbarOverflow::Place> result;
    int right = 0;
    for (QString word : widths.split(u' ', Qt::SkipEmptyParts))
    {
        const bool separator = word.startsWith(u'|');
        right += word.remove(u'|').toInt();
        result.append({right, separator});
    }
    return result;
}
} // namespace

class tst_ToolbarOverflow : public QObject
{
    Q_OBJECT

private slots:
    void cutOff_data()
    {
        QTest::addColumn<QString>("widths");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("chevron");
        QTest::addColumn<QString>("menu"); // indexes of the chevron menu's places
        // The chevron is 12 wide.
        // clang-format off
        QTest::newRow("all fit") << "30 30 |5 30" << 100 << false << "";
        QTest::newRow("last one ends on the edge") << "30 30 |5 30" << 95 << false << "";
        QTest::newRow("last one a pixel over") << "30 30 |5 30" << 94 << true << "3";
        QTest::newRow("the chevron's room cuts off more") << "30 30 |5 30" << 70 << true << "1 2 3";
        QTest::newRow("separator at the cut not first") << "30 |5 30" << 45 << true << "2";
        QTest::newRow("two separators count once") << "30 |5 |5 30" << 20 << true << "0 2 3";
        QTest::newRow("trailing separator cut off alone") << "30 30 |5" << 62 << false << "";
        QTest::newRow("only separators") << "|5 |5" << 3 << false << "";
        QTest::newRow("no room at all") << "30 |5 30" << 5 << true << "0 1 2";
        QTest::newRow("empty toolbar") << "" << 50 << false << "";
        // clang-format on
    }
    void cutOff()
    {
        QFETCH(QString, widths);
        QFETCH(int, width);
        const auto shown = places(widths);
        QTEST(ToolbarOverflow::ChevronNeeded(shown, width), "chevron");
        QStringList menu;
        for (int index :
             ToolbarOverflow::CutOff(shown, ToolbarOverflow::MainWidth(shown, width, 12)))
            menu << QString::number(index);
        QTEST(menu.join(u' '), "menu");
    }
};

QTEST_GUILESS_MAIN(tst_ToolbarOverflow)
#include "tst_ToolbarOverflow.moc"

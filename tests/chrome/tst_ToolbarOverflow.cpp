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
    void cutOff()
    {
        // Widths, toolbar width, chevron shown, indexes of the chevron menu's
        // places; the chevron is 12 wide.
        // clang-format off
        const QList<std::tuple<QString, int, bool, QString>> rows = {
            {"30 30 |5 30", 100, false, ""},
            {"30 30 |5 30", 95, false, ""},       // last one ends on the edge
            {"30 30 |5 30", 94, true, "3"},       // a pixel over
            {"30 30 |5 30", 70, true, "1 2 3"},   // the chevron's room cuts off more
            {"30 |5 30", 45, true, "2"},          // separator at the cut not first
            {"30 |5 |5 30", 20, true, "0 2 3"},   // two separators count once
            {"30 30 |5", 62, false, ""},          // trailing separator cut off alone
            {"|5 |5", 3, false, ""},
            {"30 |5 30", 5, true, "0 1 2"},       // no room at all
            {"", 50, false, ""},
        };
        // clang-format on
        for (const auto& [widths, width, chevron, menu] : rows)
        {
            const auto shown = places(widths);
            QCOMPARE(ToolbarOverflow::ChevronNeeded(shown, width), chevron);
            QStringList cut;
            for (int index :
                 ToolbarOverflow::CutOff(shown, ToolbarOverflow::MainWidth(shown, width, 12)))
                cut << QString::number(index);
            QCOMPARE(cut.join(u' '), menu);
        }
    }
};

QTEST_GUILESS_MAIN(tst_ToolbarOverflow)
#include "tst_ToolbarOverflow.moc"

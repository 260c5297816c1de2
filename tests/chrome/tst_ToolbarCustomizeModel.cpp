#include "ToolbarText.h"
#include "chrome/ToolbarCustomizeModel.h"

#include <QTemporaryDir>
#include <QtTest>

namespace
{
QString listText(const QList<int>& numbers, int selected)
{
    QStringList words;
    for (int number : numbers)
        words << (number < 0 ? QStringLiteral("|") : QString::number(number));
    return words.join(u' ') + QStringLiteral(" @%1").arg(selected);
}

// Steps: "c2"/"a0" select a row of the current/available list; "A" add,
// "R" remove, "U" up, "D" down, each once or as often as its number says.
void run(ToolbarCustomizeModel& model, const QString& steps)
{
    using M = ToolbarCustomizeModel;
    const QHash<QChar, bool (M::*)()> ops{
        {u'A', &M::Add}, {u'R', &M::Remove}, {u'U', &M::MoveUp}, {u'D', &M::MoveDown}};
    for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts))
    {
        const int n = step.mid(1).toInt();
        if (step.at(0) == u'c' || step.at(0) == u'a')
            (step.at(0) == u'c' ? model.SelectCurrent(n) : model.SelectAvailable(n));
        else
            for (int i = 0; i < qMax(1, n); ++i)
                (model.*ops.value(step.at(0)))();
    }
}
} // namespace

class tst_ToolbarCustomizeModel : public QObject
{
    Q_OBJECT

private slots:
    void steps()
    {
        // Toolbar, steps, current and available lists with their selections,
        // the toolbar that results.
        // clang-format off
        const QList<std::tuple<QString, QString, QString, QString, QString>> rows = {
            {"0 1h | 2 |h 3", "", "0 | 2 3 @-1", "| 1 | @-1", "0 | 2 3 1h |h"}, // opening
            {"0 1h 2h", "a2 A", "0 2 @1", "| 1 @-1", "0 2 1h"}, // add to the end without selection
            {"0 2 1h", "c0 a1 A", "0 1 2 @1", "| @-1", "0 1 2"}, // add after the selected current item
            {"0 1h", "a0 A a0 A", "0 | | @2", "| 1 @1", "0 | | 1h"}, // a separator twice stays on offer
            {"0 1h", "a0 A A", "0 | 1 @2", "| @-1", "0 | 1"}, // adding a separator moves the selection on
            {"0 1 2h 3h", "a1 c1 R", "0 @-1", "| 2 1 3 @2", "0 2h 1h 3h"}, // remove after the available selection
            {"0 1 2h", "c0 R", "1 @0", "| 2 0 @2", "1 2h 0h"}, // remove to the end, next selected
            {"0 | 2", "c1 R", "0 2 @1", "| @-1", "0 2"}, // removing a separator adds nothing
            {"0 1h | 2 | 21", "c0 R6", " @-1", "| 1 0 2 21 @4", "1h 0h 2h 21h"}, // remove all
            {"0 1h", "A R U D", "0 @-1", "| 1 @-1", "0 1h"}, // nothing selected: nothing happens
            {"0 1 2", "c0 U", "0 1 2 @0", "| @-1", "0 1 2"}, // up at the top
            {"0 1 2", "c2 D", "0 1 2 @2", "| @-1", "0 1 2"}, // down at the bottom
            {"0 1 2", "c2 U U D", "0 2 1 @1", "| @-1", "0 2 1"},
            {"0 1h", "c5 a9 A R", "0 @-1", "| 1 @-1", "0 1h"}, // a row beyond the list selects nothing
        };
        // clang-format on
        for (const auto& [toolbar, steps, current, available, result] : rows)
        {
            ToolbarCustomizeModel model(toolbarEntries(toolbar));
            run(model, steps);
            const QString got = listText(model.Current(), model.CurrentSelection()) + " / " +
                                listText(model.Available(), model.AvailableSelection()) + " / " +
                                toolbarText(model.Result());
            QCOMPARE(got, current + " / " + available + " / " + result);
        }
    }

    // An emptied toolbar is saved as every button hidden, and comes back
    // from the file with every button on offer.
    void emptiedToolbarComesBack()
    {
        ToolbarCustomizeModel model(ToolbarLayout::DefaultLayout());
        run(model, "c0 R30");
        QVERIFY(model.Current().isEmpty());
        QTemporaryDir dir;
        const QString path = dir.filePath("tbmain.dat");
        QVERIFY(ToolbarLayout::Write(path, model.Result()));
        const QList<ToolbarEntry> reread = ToolbarLayout::Read(path).value();
        QCOMPARE(reread.size(), 22);
        QVERIFY(std::none_of(reread.begin(), reread.end(), [](auto e) { return e.shown; }));
        ToolbarCustomizeModel again(reread);
        QVERIFY(again.Current().isEmpty());
        QCOMPARE(again.Available().size(), 23);
    }

    void buttonsLeftOutAreOffered()
    {
        const auto entries = ToolbarCustomizeModel::WithEveryButton(toolbarEntries("5 3 | 21 0h"));
        QCOMPARE(toolbarText(entries),
                 "5 3 | 21 0h 1h 2h 4h 6h 7h 8h 9h 10h 11h 12h 13h 14h 15h 16h 17h 18h 19h 20h");
    }
};

QTEST_GUILESS_MAIN(tst_ToolbarCustomizeModel)
#include "tst_ToolbarCustomizeModel.moc"

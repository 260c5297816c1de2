#include "navigation/SearchPaneRouting.h"

#include <QtTest>

using Outcome = SearchPaneRouting::Outcome;

namespace
{
// The element is known when its tag is not empty.
struct Row
{
    bool pending;
    QString address, tag, target, base;
    bool newWindow, shift, searchNewWin;
    Outcome::Action action;
    QString result;
    bool newTab;
};
} // namespace

class tst_SearchPaneRouting : public QObject
{
    Q_OBJECT

private slots:
    void decide_data()
    {
        QTest::addColumn<Row>("row");
        const QString r = QStringLiteral("http://r.test/");
        // clang-format off
        QTest::newRow("_main, new tab") << Row{false, r, "A", "_main", "", true, false, true, Outcome::Route, r, true};
        QTest::newRow("_main, front tab") << Row{false, r, "A", "_main", "", true, false, false, Outcome::Route, r, false};
        QTest::newRow("_main, Shift inverts") << Row{false, r, "A", "_main", "", true, true, true, Outcome::Route, r, false};
        QTest::newRow("_main into a frame") << Row{false, r, "A", "_main", "", false, false, true, Outcome::Route, r, true};
        QTest::newRow("base _main, no target") << Row{false, r, "A", "", "_main", true, false, true, Outcome::Route, r, true};
        QTest::newRow("own target beats base") << Row{false, r, "A", "x", "_main", true, false, true, Outcome::Proceed, r, false};
        QTest::newRow("_MAIN stays in pane") << Row{false, r, "A", "_MAIN", "", true, false, true, Outcome::LoadInPane, r, false};
        QTest::newRow("base _MAIN stays") << Row{false, r, "A", "", "_MAIN", true, false, true, Outcome::LoadInPane, r, false};
        QTest::newRow("XHTML a is no A") << Row{false, r, "a", "_main", "", true, false, true, Outcome::Proceed, r, false};
        QTest::newRow("_blank is a window") << Row{false, r, "A", "_blank", "", true, false, true, Outcome::Proceed, r, false};
        QTest::newRow("no target stays") << Row{false, r, "A", "", "", false, false, true, Outcome::Proceed, r, false};
        QTest::newRow("form stays") << Row{false, r, "INPUT", "", "_main", false, false, true, Outcome::Proceed, r, false};
        QTest::newRow("unknown element stays") << Row{false, r, "", "", "", false, false, true, Outcome::Proceed, r, false};
        QTest::newRow("DEF: forces pane") << Row{false, "def:" + r, "A", "", "", false, false, true, Outcome::LoadInPane, r, false};
        QTest::newRow("DEF: beats _main") << Row{false, "DeF:" + r, "A", "_main", "", true, false, true, Outcome::LoadInPane, r, false};
        QTest::newRow("DEF: script refused") << Row{false, "DEF:javascript:x()", "", "", "", false, false, true, Outcome::Refuse, "", false};
        QTest::newRow("routed script refused") << Row{false, "JavaScript:x()", "A", "_main", "", true, false, true, Outcome::Refuse, "", false};
        QTest::newRow("pending proceeds") << Row{true, "DEF:" + r, "A", "_main", "", false, false, true, Outcome::Proceed, "DEF:" + r, false};
        // clang-format on
    }
    void decide()
    {
        QFETCH(Row, row);
        const SearchPaneRouting::Input input{
            row.pending,
            row.address,
            ActivatedElement{!row.tag.isEmpty(), row.tag, row.target, row.base},
            row.newWindow,
            row.shift,
            row.searchNewWin};
        QCOMPARE(SearchPaneRouting::Decide(input),
                 (Outcome{row.action, row.result, row.newTab, row.pending}));
    }
};

QTEST_GUILESS_MAIN(tst_SearchPaneRouting)
#include "tst_SearchPaneRouting.moc"

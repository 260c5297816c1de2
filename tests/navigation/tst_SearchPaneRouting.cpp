#include "navigation/SearchPaneRouting.h"

#include <QtTest>

using Outcome = SearchPaneRouting::Outcome;

class tst_SearchPaneRouting : public QObject
{
    Q_OBJECT

private slots:
    void decide()
    {
        const QString r = QStringLiteral("http://r.test/");
        // The element is known when its tag is not empty.
        const struct
        {
            bool pending;
            QString address, tag, target, base;
            bool newWindow, shift, searchNewWin;
            Outcome::Action action;
            QString result;
            bool newTab;
        } rows[] = {
            // clang-format off
            {false, r, "A", "_main", "", true, false, true, Outcome::Route, r, true}, // _main, new tab
            {false, r, "A", "_main", "", true, false, false, Outcome::Route, r, false}, // _main, front tab
            {false, r, "A", "_main", "", true, true, true, Outcome::Route, r, false}, // _main, Shift inverts
            {false, r, "A", "_main", "", false, false, true, Outcome::Route, r, true}, // _main into a frame
            {false, r, "A", "", "_main", true, false, true, Outcome::Route, r, true}, // base _main, no target
            {false, r, "A", "x", "_main", true, false, true, Outcome::Proceed, r, false}, // own target beats base
            {false, r, "A", "_MAIN", "", true, false, true, Outcome::LoadInPane, r, false}, // _MAIN stays in pane
            {false, r, "A", "", "_MAIN", true, false, true, Outcome::LoadInPane, r, false}, // base _MAIN stays
            {false, r, "a", "_main", "", true, false, true, Outcome::Proceed, r, false}, // XHTML a is no A
            {false, r, "A", "_blank", "", true, false, true, Outcome::Proceed, r, false}, // _blank is a window
            {false, r, "A", "", "", false, false, true, Outcome::Proceed, r, false}, // no target stays
            {false, r, "INPUT", "", "_main", false, false, true, Outcome::Proceed, r, false}, // form stays
            {false, r, "", "", "", false, false, true, Outcome::Proceed, r, false}, // unknown element stays
            {false, "def:" + r, "A", "", "", false, false, true, Outcome::LoadInPane, r, false}, // DEF: forces pane
            {false, "DeF:" + r, "A", "_main", "", true, false, true, Outcome::LoadInPane, r, false}, // DEF: beats _main
            {false, "DEF:javascript:x()", "", "", "", false, false, true, Outcome::Refuse, "", false}, // DEF: script refused
            {false, "JavaScript:x()", "A", "_main", "", true, false, true, Outcome::Refuse, "", false}, // routed script refused
            {true, "DEF:" + r, "A", "_main", "", false, false, true, Outcome::Proceed, "DEF:" + r, false}, // pending proceeds
            // clang-format on
        };
        for (const auto& row : rows)
        {
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
    }
};

QTEST_GUILESS_MAIN(tst_SearchPaneRouting)
#include "tst_SearchPaneRouting.moc"

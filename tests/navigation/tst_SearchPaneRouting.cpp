#include "navigation/SearchPaneRouting.h"

#include <QtTest>

using Outcome = SearchPaneRouting::Outcome;
Q_DECLARE_METATYPE(Outcome::Action)

class tst_SearchPaneRouting : public QObject
{
    Q_OBJECT

private slots:
    void decide_data()
    {
        QTest::addColumn<bool>("pending");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("tag"); // empty: no element known
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("base");
        QTest::addColumn<bool>("newWindow");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<bool>("searchNewWin");
        QTest::addColumn<Outcome::Action>("action");
        QTest::addColumn<QString>("result");
        QTest::addColumn<bool>("newTab");

        const QString r = QStringLiteral("http://r.test/");
        // clang-format off
        QTest::newRow("_main, new tab")            << false << r << "A" << "_main" << ""      << true  << false << true  << Outcome::Route << r << true;
        QTest::newRow("_main, front tab")          << false << r << "A" << "_main" << ""      << true  << false << false << Outcome::Route << r << false;
        QTest::newRow("_main, Shift inverts")      << false << r << "A" << "_main" << ""      << true  << true  << true  << Outcome::Route << r << false;
        QTest::newRow("_main into a frame")        << false << r << "A" << "_main" << ""      << false << false << true  << Outcome::Route << r << true;
        QTest::newRow("base _main, no target")     << false << r << "A" << ""      << "_main" << true  << false << true  << Outcome::Route << r << true;
        QTest::newRow("own target beats base")     << false << r << "A" << "x"     << "_main" << true  << false << true  << Outcome::Proceed << r << false;
        QTest::newRow("_MAIN stays in pane")       << false << r << "A" << "_MAIN" << ""      << true  << false << true  << Outcome::LoadInPane << r << false;
        QTest::newRow("base _MAIN stays")          << false << r << "A" << ""      << "_MAIN" << true  << false << true  << Outcome::LoadInPane << r << false;
        QTest::newRow("XHTML a is no A")           << false << r << "a" << "_main" << ""      << true  << false << true  << Outcome::Proceed << r << false;
        QTest::newRow("_blank is a window")        << false << r << "A" << "_blank" << ""     << true  << false << true  << Outcome::Proceed << r << false;
        QTest::newRow("no target stays")           << false << r << "A" << ""      << ""      << false << false << true  << Outcome::Proceed << r << false;
        QTest::newRow("form stays")                << false << r << "INPUT" << ""  << "_main" << false << false << true  << Outcome::Proceed << r << false;
        QTest::newRow("unknown element stays")     << false << r << ""  << ""      << ""      << false << false << true  << Outcome::Proceed << r << false;
        QTest::newRow("DEF: forces pane")          << false << "def:" + r << "A" << "" << ""  << false << false << true  << Outcome::LoadInPane << r << false;
        QTest::newRow("DEF: beats _main")          << false << "DeF:" + r << "A" << "_main" << "" << true << false << true << Outcome::LoadInPane << r << false;
        QTest::newRow("DEF: script refused")       << false << "DEF:javascript:x()" << "" << "" << "" << false << false << true << Outcome::Refuse << "" << false;
        QTest::newRow("routed script refused")     << false << "JavaScript:x()" << "A" << "_main" << "" << true << false << true << Outcome::Refuse << "" << false;
        QTest::newRow("pending proceeds")          << true  << "DEF:" + r << "A" << "_main" << "" << false << false << true << Outcome::Proceed << "DEF:" + r << false;
        // clang-format on
    }
    void decide()
    {
        QFETCH(bool, pending);
        QFETCH(QString, address);
        QFETCH(QString, tag);
        QFETCH(QString, target);
        QFETCH(QString, base);
        SearchPaneRouting::Input input;
        input.pending = pending;
        input.address = address;
        input.element = ActivatedElement{!tag.isEmpty(), tag, target, base};
        QFETCH(bool, newWindow);
        QFETCH(bool, shift);
        QFETCH(bool, searchNewWin);
        input.newWindow = newWindow;
        input.shift = shift;
        input.searchNewWin = searchNewWin;
        QFETCH(Outcome::Action, action);
        QFETCH(QString, result);
        QFETCH(bool, newTab);
        QCOMPARE(SearchPaneRouting::Decide(input), (Outcome{action, result, newTab, pending}));
    }
};

QTEST_GUILESS_MAIN(tst_SearchPaneRouting)
#include "tst_SearchPaneRouting.moc"

#include "core/window/EditCommandTarget.h"

#include <QtTest>

using T = EditCommandTarget;

// Where the edit commands act: the focused text box first, then the search
// pane, then the page, which a paste brings forward first.
class tst_EditCommandTarget : public QObject
{
    Q_OBJECT

private slots:
    void decide_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("textBox");
        QTest::addColumn<bool>("pane");
        QTest::addColumn<bool>("page");
        QTest::addColumn<int>("target");
        QTest::addColumn<bool>("activateFirst");
        // clang-format off
        QTest::newRow("copy in the address box") << int(EditCopy) << true << false << true << int(T::TextBox) << false;
        QTest::newRow("paste in a text box, no tab") << int(EditPaste) << true << false << false << int(T::TextBox) << false;
        QTest::newRow("select all in a text box") << int(EditSelectAll) << true << false << true << int(T::TextBox) << false;
        QTest::newRow("cut in the search pane") << int(EditCut) << false << true << true << int(T::SearchPane) << false;
        QTest::newRow("paste in the search pane") << int(EditPaste) << false << true << true << int(T::SearchPane) << false;
        QTest::newRow("copy on the page") << int(EditCopy) << false << false << true << int(T::Page) << false;
        QTest::newRow("cut on the page") << int(EditCut) << false << false << true << int(T::Page) << false;
        QTest::newRow("paste brings the page forward") << int(EditPaste) << false << false << true << int(T::Page) << true;
        QTest::newRow("nothing without a page") << int(EditCopy) << false << false << false << int(T::Nothing) << false;
        // clang-format on
    }
    void decide()
    {
        QFETCH(int, command);
        QFETCH(bool, textBox);
        QFETCH(bool, pane);
        QFETCH(bool, page);
        QFETCH(int, target);
        QFETCH(bool, activateFirst);
        const T::Decision decision = T::Decide(EditCommand(command), T::State{textBox, pane, page});
        QCOMPARE(int(decision.target), target);
        QCOMPARE(decision.activatePageFirst, activateFirst);
    }
};

QTEST_APPLESS_MAIN(tst_EditCommandTarget)
#include "tst_EditCommandTarget.moc"

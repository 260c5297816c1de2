#include "core/window/EditCommandTarget.h"

#include <QtTest>

using T = EditCommandTarget;

// Where the edit commands act: the focused text box first, then the search
// pane, then the page, which a paste brings forward first.
class tst_EditCommandTarget : public QObject
{
    Q_OBJECT

private slots:
    void decide()
    {
        const struct
        {
            EditCommand command;
            T::State state; // text box, search pane, page
            T::Target target;
            bool activateFirst;
        } rows[] = {
            {EditCopy, {true, false, true}, T::TextBox, false},
            {EditPaste, {true, false, false}, T::TextBox, false},
            {EditSelectAll, {true, false, true}, T::TextBox, false},
            {EditCut, {false, true, true}, T::SearchPane, false},
            {EditPaste, {false, true, true}, T::SearchPane, false},
            {EditCopy, {false, false, true}, T::Page, false},
            {EditCut, {false, false, true}, T::Page, false},
            {EditPaste, {false, false, true}, T::Page, true},
            {EditCopy, {false, false, false}, T::Nothing, false},
        };
        for (const auto& row : rows)
        {
            const T::Decision decision = T::Decide(row.command, row.state);
            const QByteArray where = QByteArray::number(&row - rows);
            QVERIFY2(decision.target == row.target, where);
            QVERIFY2(decision.activatePageFirst == row.activateFirst, where);
        }
    }
};

QTEST_APPLESS_MAIN(tst_EditCommandTarget)
#include "tst_EditCommandTarget.moc"

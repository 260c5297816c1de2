// The Open dialog offers OK only while its field holds something, and
// hands back what was entered.

#include "ScriptedFileServices.h"
#include "navigation/TfrmOpen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class tst_TfrmOpen : public QObject
{
    Q_OBJECT

private slots:
    void okFollowsField()
    {
        // typed ("\b" is Backspace), browsed ("" cancels), OK offered, field
        const QList<std::tuple<const char*, const char*, bool, const char*>> rows = {
            // clang-format off
            {"", "", false, ""},
            {"x.test", "", true, "x.test"},
            {" ", "", true, " "}, // a blank counts
            {"a\b", "", false, ""},
            {"", "/home/u/page.html", true, "/home/u/page.html"},
            {"y.test", "/tmp/a.htm", true, "/tmp/a.htm"}, // browsing replaces what was typed
            // clang-format on
        };
        for (const auto& [typed, browsed, okEnabled, field] : rows)
        {
            ScriptedFileServices services;
            services.openFileAnswer = browsed;
            TfrmOpen dialog({QStringLiteral("http://listed.test/")}, &services, nullptr);
            dialog.show();
            for (const char c : QByteArray(typed))
                if (c == '\b')
                    QTest::keyClick(dialog.ComboBox1->lineEdit(), Qt::Key_Backspace);
                else
                    QTest::keyClick(dialog.ComboBox1->lineEdit(), c);
            dialog.cmdBrowse->click();
            QCOMPARE(dialog.cmdOK->isEnabled(), okEnabled);
            QCOMPARE(dialog.ComboBox1->currentText(), QString(field));
            // Enter in the field presses OK only while it is offered.
            QTest::keyClick(dialog.ComboBox1->lineEdit(), Qt::Key_Return);
            QCOMPARE(dialog.result(), okEnabled ? QDialog::Accepted : QDialog::Rejected);
            QCOMPARE(dialog.ComboBox1->count(), 1);
        }
    }

    void okHandsBackEntry()
    {
        ScriptedFileServices services;
        TfrmOpen dialog({}, &services, nullptr);
        dialog.show();
        QTest::keyClicks(dialog.ComboBox1->lineEdit(), QStringLiteral(" spaced.test "));
        dialog.chkNewTab->click();
        dialog.cmdOK->click();
        QCOMPARE(dialog.result(), QDialog::Accepted);
        QCOMPARE(dialog.Address(), QStringLiteral(" spaced.test "));
        QVERIFY(!dialog.NewTab());
    }
};

QTEST_MAIN(tst_TfrmOpen)
#include "tst_TfrmOpen.moc"

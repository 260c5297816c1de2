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
    void okFollowsField_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("browsed");
        QTest::addColumn<bool>("okEnabled");
        QTest::addColumn<QString>("field");
        // clang-format off
        QTest::newRow("nothing") << "" << "" << false << "";
        QTest::newRow("typed") << "x.test" << "" << true << "x.test";
        QTest::newRow("blank counts") << " " << "" << true << " ";
        QTest::newRow("typed then erased") << "a\b" << "" << false << "";
        QTest::newRow("browsed file") << "" << "/home/u/page.html" << true << "/home/u/page.html";
        QTest::newRow("browse cancelled keeps field") << "y.test" << "" << true << "y.test";
        QTest::newRow("browsed replaces typed") << "y.test" << "/tmp/a.htm" << true << "/tmp/a.htm";
        // clang-format on
    }
    void okFollowsField()
    {
        QFETCH(QString, typed);
        QFETCH(QString, browsed);
        ScriptedFileServices services;
        services.openFileAnswer = browsed;
        TfrmOpen dialog({QStringLiteral("http://listed.test/")}, &services, nullptr);
        dialog.show();
        for (const QChar c : typed)
            if (c == u'\b')
                QTest::keyClick(dialog.ComboBox1->lineEdit(), Qt::Key_Backspace);
            else
                QTest::keyClick(dialog.ComboBox1->lineEdit(), c.toLatin1());
        dialog.cmdBrowse->click();
        QTEST(dialog.cmdOK->isEnabled(), "okEnabled");
        QTEST(dialog.ComboBox1->currentText(), "field");
        // Enter in the field presses OK only while it is offered.
        QTest::keyClick(dialog.ComboBox1->lineEdit(), Qt::Key_Return);
        QCOMPARE(dialog.result(),
                 dialog.cmdOK->isEnabled() ? QDialog::Accepted : QDialog::Rejected);
        QCOMPARE(dialog.ComboBox1->count(), 1);
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

#include "components/TFindPanel.h"

#include <QDialog>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class tst_TFindPanel : public QObject
{
    Q_OBJECT

private slots:
    // Enter in the edit asks for a search and goes no further (a dialog
    // around the panel must not take it as its default button).
    void enterInEditSearchesAndIsSwallowed()
    {
        QDialog dialog;
        TFindPanel panel(QStringLiteral("History"), &dialog);
        auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
        ok->setDefault(true);
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QSignalSpy find(&panel, &TFindPanel::findRequested);
        panel.edtFind->setText(QStringLiteral("news"));
        QTest::keyClick(panel.edtFind, Qt::Key_Return);
        QCOMPARE(find.count(), 1);
        QCOMPARE(find.at(0).at(0).toString(), QStringLiteral("news"));
        QCOMPARE(accepted.count(), 0);
    }

    // Rows open their address by click, Space or Enter; the "nothing
    // found" row and rows past the end open nothing.
    void rowsOpenTheirAddressOnly()
    {
        TFindPanel panel(QStringLiteral("Favorites"));
        QSignalSpy chosen(&panel, &TFindPanel::rowChosen);
        panel.setRows({{QStringLiteral("News"), QStringLiteral("http://a.test/")},
                       {QStringLiteral("Blog"), QStringLiteral("http://b.test/")}},
                      QStringLiteral("(none)"));
        panel.lvFind->setCurrentIndex(panel.results()->index(1));
        QTest::keyClick(panel.lvFind, Qt::Key_Space);
        panel.chooseRow(0);
        panel.chooseRow(7);
        QCOMPARE(chosen.count(), 2);
        QCOMPARE(chosen.at(0).at(0).toString(), QStringLiteral("http://b.test/"));
        QCOMPARE(chosen.at(1).at(0).toString(), QStringLiteral("http://a.test/"));

        panel.setRows({}, QStringLiteral("(none)"));
        QCOMPARE(panel.results()->count(), 1);
        QCOMPARE(panel.results()->row(0).caption, QStringLiteral("(none)"));
        panel.lvFind->setCurrentIndex(panel.results()->index(0));
        QTest::keyClick(panel.lvFind, Qt::Key_Return);
        QCOMPARE(chosen.count(), 2);
    }
};

QTEST_MAIN(tst_TFindPanel)
#include "tst_TFindPanel.moc"

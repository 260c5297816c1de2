#include "core/tabs/TabAddressRule.h"

#include <QTest>

class tst_TabAddressRule : public QObject
{
    Q_OBJECT
private slots:
    void remembered_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QString>("pending");
        QTest::addColumn<bool>("restoring");
        QTest::addColumn<QString>("tabHome");
        QTest::addColumn<QString>("remembered");
        // clang-format off
        QTest::newRow("shown page") << "http://a.test/" << true << "http://b.test/" << true << "http://c.test/" << "http://a.test/";
        QTest::newRow("first page on its way") << "about:blank" << true << "http://b.test/" << false << "" << "http://b.test/";
        QTest::newRow("not yet asked for") << "" << true << "http://b.test/" << false << "" << "http://b.test/";
        QTest::newRow("restored, not reached") << "about:blank" << false << "" << true << "http://c.test/" << "http://c.test/";
        QTest::newRow("blank tab") << "about:blank" << false << "" << false << "http://c.test/" << "about:blank";
        QTest::newRow("idle keeps no pending") << "about:blank" << false << "http://b.test/" << false << "" << "about:blank";
        // clang-format on
    }
    void remembered()
    {
        QFETCH(QString, shown);
        QFETCH(bool, busy);
        QFETCH(QString, pending);
        QFETCH(bool, restoring);
        QFETCH(QString, tabHome);
        QFETCH(QString, remembered);
        QCOMPARE(TabAddressRule::remembered(shown, busy, pending, restoring, tabHome), remembered);
    }
};

QTEST_APPLESS_MAIN(tst_TabAddressRule)
#include "tst_TabAddressRule.moc"

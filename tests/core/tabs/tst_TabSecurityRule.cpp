#include "core/tabs/TabSecurityRule.h"

#include <QTest>

class tst_TabSecurityRule : public QObject
{
    Q_OBJECT
private slots:
    void insecureArrival_data()
    {
        QTest::addColumn<int>("frame");
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("insecure");
        // clang-format off
        QTest::newRow("https page") << int(TopFrame) << "https://a.test/" << false;
        QTest::newRow("http page") << int(TopFrame) << "http://a.test/" << true;
        QTest::newRow("blank page") << int(TopFrame) << "about:blank" << true;
        QTest::newRow("blank frame") << 2 << "about:blank" << false;
        QTest::newRow("srcdoc frame") << 2 << "about:srcdoc" << false;
        QTest::newRow("http frame") << 2 << "http://ads.test/" << true;
        // clang-format on
    }
    void insecureArrival()
    {
        QFETCH(int, frame);
        QFETCH(QString, url);
        QFETCH(bool, insecure);
        QCOMPARE(TabSecurityRule::insecureArrival(frame, url), insecure);
    }

    void secureAfter()
    {
        // A secure frame cannot make an insecure page secure again.
        QVERIFY(!TabSecurityRule::secureAfter(2, false, false));
        QVERIFY(TabSecurityRule::secureAfter(TopFrame, false, false));
        QVERIFY(!TabSecurityRule::secureAfter(2, true, true));
    }
};

QTEST_APPLESS_MAIN(tst_TabSecurityRule)
#include "tst_TabSecurityRule.moc"

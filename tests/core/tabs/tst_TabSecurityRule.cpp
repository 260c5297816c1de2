#include "core/tabs/TabSecurityRule.h"

#include <QTest>

class tst_TabSecurityRule : public QObject
{
    Q_OBJECT
private slots:
    void insecureArrival()
    {
        const QList<std::tuple<FrameId, const char*, bool>> rows = {
            {TopFrame, "https://a.test/", false}, {TopFrame, "http://a.test/", true},
            {TopFrame, "about:blank", true},      {2, "about:blank", false},
            {2, "about:srcdoc", false},           {2, "http://ads.test/", true},
        };
        for (const auto& [frame, url, insecure] : rows)
            QCOMPARE(TabSecurityRule::insecureArrival(frame, url), insecure);
        // A secure frame cannot make an insecure page secure again.
        QVERIFY(!TabSecurityRule::secureAfter(2, false, false));
        QVERIFY(TabSecurityRule::secureAfter(TopFrame, false, false));
        QVERIFY(!TabSecurityRule::secureAfter(2, true, true));
    }
};

QTEST_APPLESS_MAIN(tst_TabSecurityRule)
#include "tst_TabSecurityRule.moc"

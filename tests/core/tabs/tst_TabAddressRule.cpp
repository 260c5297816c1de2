#include "core/tabs/TabAddressRule.h"

#include <QTest>

class tst_TabAddressRule : public QObject
{
    Q_OBJECT
private slots:
    void remembered()
    {
        const QString a = "http://a.test/", b = "http://b.test/", c = "http://c.test/";
        const QString blank = "about:blank";
        const struct
        {
            QString shown;
            bool busy;
            QString pending;
            bool restoring;
            QString tabHome, remembered;
        } rows[] = {
            {a, true, b, true, c, a},            // the shown page
            {blank, true, b, false, "", b},      // first page on its way
            {"", true, b, false, "", b},         // not yet asked for
            {blank, false, "", true, c, c},      // restored, not reached
            {blank, false, "", false, c, blank}, // blank tab
            {blank, false, b, false, "", blank}, // idle keeps no pending
        };
        for (const auto& r : rows)
            QCOMPARE(TabAddressRule::remembered(r.shown, r.busy, r.pending, r.restoring, r.tabHome),
                     r.remembered);
    }
};

QTEST_APPLESS_MAIN(tst_TabAddressRule)
#include "tst_TabAddressRule.moc"

#include "core/tabs/LockedTabRule.h"

#include <QTest>

using Kind = NavigationRequest::Kind;

class tst_LockedTabRule : public QObject
{
    Q_OBJECT
private slots:
    void diverts_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<int>("frame");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("userInitiated");
        QTest::addColumn<bool>("diverted");
        const QString kept = "http://kept.test/";
        const QString other = "http://other.test/";
        // clang-format off
        QTest::newRow("link leaves the page") << other << int(TopFrame) << int(NavigationRequest::LinkClicked) << true << true;
        QTest::newRow("typed address leaves the page") << other << int(TopFrame) << int(NavigationRequest::Program) << true << true;
        QTest::newRow("reload stays") << kept << int(TopFrame) << int(NavigationRequest::Reload) << true << false;
        QTest::newRow("same page again stays") << kept << int(TopFrame) << int(NavigationRequest::Program) << true << false;
        QTest::newRow("same page by link leaves") << kept << int(TopFrame) << int(NavigationRequest::LinkClicked) << true << true;
        QTest::newRow("form stays") << other << int(TopFrame) << int(NavigationRequest::FormSubmitted) << true << false;
        QTest::newRow("top redirect stays") << other << int(TopFrame) << int(NavigationRequest::Redirect) << false << false;
        QTest::newRow("frame loads in place") << other << 3 << int(NavigationRequest::Other) << false << false;
        QTest::newRow("frame link leaves") << other << 3 << int(NavigationRequest::LinkClicked) << false << true;
        QTest::newRow("frame user navigation leaves") << other << 3 << int(NavigationRequest::Other) << true << true;
        QTest::newRow("unknown frame counts as the page") << other << int(UnknownFrame) << int(NavigationRequest::Other) << false << true;
        // clang-format on
    }
    void diverts()
    {
        QFETCH(QString, url);
        QFETCH(int, frame);
        QFETCH(int, kind);
        QFETCH(bool, userInitiated);
        QFETCH(bool, diverted);
        NavigationRequest request{url, frame, Kind(kind), userInitiated};
        QCOMPARE(LockedTabRule::divertsToNewTab(request, "http://kept.test/"), diverted);
    }
};

QTEST_APPLESS_MAIN(tst_LockedTabRule)
#include "tst_LockedTabRule.moc"

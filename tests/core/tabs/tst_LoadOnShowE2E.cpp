#include "DrivenCopy.h"
#include "QuillwaveHome.h"
#include "TestHttpServer.h"
#include "XSession.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <memory>

// Tabs that load when first shown, in the real program driven by real keys
// and counted by the requests the server sees: a group of twenty opens
// with one request, a tab loads when it is switched to, the remembered
// session holds all twenty, and the restart loads the page in front alone.
class tst_LoadOnShowE2E : public QObject
{
    Q_OBJECT

    std::unique_ptr<XSession> m_x;
    std::unique_ptr<TestHttpServer> m_server;
    // Declared in this order: the copy ends before its home goes.
    std::unique_ptr<QuillwaveHome> m_home;
    std::unique_ptr<DrivenCopy> m_copy;
    QStringList m_urls;

    // The group's pages the server was asked for, in the order asked.
    QStringList pagesRequested() const
    {
        return m_server->requestedPaths().filter(QRegularExpression("^/p\\d+$"));
    }
    bool loaded(int page)
    {
        const QString done = QStringLiteral("/p%1/done").arg(page);
        return QTest::qWaitFor([&] { return m_server->wasRequested(done); }, m_home->PatienceMs);
    }

private slots:
    void initTestCase()
    {
        QW_START_X_SESSION(m_x, QuillwaveHome::programPath());
        m_server = std::make_unique<TestHttpServer>();
        QVERIFY(m_server->listen());
        for (int page = 1; page <= 20; ++page)
        {
            m_server->routeReportingPage(QStringLiteral("/p%1").arg(page));
            m_urls << m_server->url(QStringLiteral("/p%1").arg(page));
        }
        m_home = std::make_unique<QuillwaveHome>();
        m_copy = std::make_unique<DrivenCopy>(*m_x, *m_home);
    }
    void cleanupTestCase()
    {
        m_copy.reset();
        m_home.reset();
    }

    void groupOfTwentyLoadsWhatIsShown()
    {
        QStringList lines{"[VostelGroup]"};
        for (int i = 0; i < m_urls.size(); ++i)
            lines << QStringLiteral("page%1=%2").arg(i + 1).arg(m_urls.at(i));
        const QString group = m_home->homePath() + "/work.vgp";
        QFile file(group);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(lines.join('\n').toUtf8()) > 0);
        file.close();
        QVERIFY(m_home->seedQuietStore({{"LoadTabsOnShow", "1"}}));

        // From the command line the group replaces the start-up tab: its
        // first page is in front, and the only one asked for.
        QVERIFY(m_copy->start({group}) && loaded(1));
        QTRY_COMPARE_WITH_TIMEOUT(m_home->lastOpenSites(), m_urls, m_home->PatienceMs);
        QCOMPARE(pagesRequested(), QStringList{"/p1"});
        QVERIFY(m_x->key("ctrl+Tab") && loaded(2));
        QCOMPARE(pagesRequested(), (QStringList{"/p1", "/p2"}));

        // The restart restores all twenty, the last in front, loading it alone.
        QVERIFY(m_copy->process()->endCleanly());
        m_server->clearRequests();
        QVERIFY(m_copy->start() && loaded(20));
        QVERIFY(m_x->key("ctrl+shift+Tab") && loaded(19));
        QCOMPARE(pagesRequested(), (QStringList{"/p20", "/p19"}));
        QVERIFY(m_copy->process()->endCleanly());
        QCOMPARE(m_home->lastOpenSites(), m_urls);
    }
};

QTEST_MAIN(tst_LoadOnShowE2E)
#include "tst_LoadOnShowE2E.moc"

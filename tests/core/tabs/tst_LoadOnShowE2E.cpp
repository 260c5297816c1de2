#include "DrivenCopy.h"
#include "QuillwaveHome.h"
#include "TestHttpServer.h"
#include "XSession.h"

#include "groups/TVostelGroup.h"

#include <QDateTime>
#include <QFile>
#include <QTest>

#include <functional>
#include <memory>

// Tabs that load when first shown, in the real program driven by real keys,
// counted by the requests the test's server sees: a group of twenty opens
// with one request, a tab loads when it is switched to, the tabs saved as a
// group and the remembered session hold all twenty, and the restore after
// a restart loads the one page in front again.
class tst_LoadOnShowE2E : public QObject
{
    Q_OBJECT

    static constexpr int Pages = 20;

    std::unique_ptr<XSession> m_x;
    std::unique_ptr<TestHttpServer> m_server;
    // Declared in this order: the copy ends before its home goes.
    std::unique_ptr<QuillwaveHome> m_home;
    std::unique_ptr<DrivenCopy> m_copy;

    static QString path(int page) { return QStringLiteral("/p%1").arg(page); }
    QStringList addresses() const
    {
        QStringList urls;
        for (int page = 1; page <= Pages; ++page)
            urls << m_server->url(path(page));
        return urls;
    }
    // The group's pages the server was asked for, in the order asked.
    QStringList pagesRequested() const
    {
        QStringList asked;
        for (const TestHttpServer::Request& request : m_server->requests())
            for (int page = 1; page <= Pages; ++page)
                if (request.pathOnly() == path(page))
                    asked << path(page);
        return asked;
    }
    bool until(const std::function<bool()>& condition)
    {
        if (QTest::qWaitFor(condition, QuillwaveProcess::PatienceMs))
            return true;
        qWarning("the server saw %s; %s", qPrintable(m_server->requestedPaths().join(' ')),
                 qPrintable(m_copy->process() ? m_copy->process()->describe() : "not started"));
        return false;
    }
    bool loaded(int page)
    {
        return until([&] { return m_server->wasRequested(path(page) + "/done"); });
    }

private slots:
    void initTestCase() { QW_START_X_SESSION(m_x, QuillwaveHome::programPath()); }
    void init()
    {
        m_server = std::make_unique<TestHttpServer>();
        QVERIFY(m_server->listen());
        for (int page = 1; page <= Pages; ++page)
            m_server->routeReportingPage(path(page));
        m_home = std::make_unique<QuillwaveHome>();
        QVERIFY(m_home->isValid());
        m_copy = std::make_unique<DrivenCopy>(*m_x, *m_home);
    }
    void cleanup()
    {
        m_copy.reset();
        m_home.reset();
    }

    void groupOfTwentyLoadsWhatIsShown()
    {
        QStringList lines{"[VostelGroup]"};
        for (int page = 1; page <= Pages; ++page)
            lines << QStringLiteral("page%1=%2").arg(page).arg(addresses().at(page - 1));
        const QString group = m_home->homePath() + "/work.vgp";
        QFile file(group);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(lines.join('\n').toUtf8()) > 0);
        file.close();
        QVERIFY(m_home->seedQuietStore({{"LoadTabsOnShow", "1"}}));

        // The group from the command line replaces the start-up tab: its
        // first page is in front, and the only one asked for.
        QVERIFY(m_copy->start({group}) && loaded(1));
        QVERIFY(until([&] { return m_home->lastOpenSites() == addresses(); }));
        QCOMPARE(pagesRequested(), QStringList{path(1)});

        QVERIFY(m_x->key("ctrl+Tab") && loaded(2));
        QCOMPARE(pagesRequested(), (QStringList{path(1), path(2)}));

        // Saved as a new group: every page, in tab order.
        const int windows = m_x->shownWindowCount(m_copy->process()->pid());
        QVERIFY(m_x->key("F7"));
        QVERIFY(until([&] { return m_x->shownWindowCount(m_copy->process()->pid()) > windows; }));
        // The dialog starts in the groups folder with the name box focused.
        const QString saved = m_home->homePath() + "/VostelGroups/again.vgp";
        QVERIFY(m_x->type("again") && m_x->key("Return"));
        QVERIFY(until([&] { return QFile::exists(saved); }));
        QStringList savedAddresses;
        const TVostelGroup again(nullptr, saved);
        for (qsizetype i = 0; i < again.size(); ++i)
            savedAddresses << again.Value(i);
        QCOMPARE(savedAddresses, addresses());

        // The restart restores all twenty, the last in front, and loads it
        // alone.
        QVERIFY(m_copy->process()->endCleanly());
        QCOMPARE(m_home->lastOpenSites(), addresses());
        m_server->clearRequests();
        QVERIFY(m_copy->start() && loaded(Pages));
        QVERIFY(m_x->key("ctrl+shift+Tab") && loaded(Pages - 1));
        QCOMPARE(pagesRequested(), (QStringList{path(Pages), path(Pages - 1)}));
        QVERIFY(m_copy->process()->endCleanly());
        QCOMPARE(m_home->lastOpenSites(), addresses());
    }
};

QTEST_MAIN(tst_LoadOnShowE2E)
#include "tst_LoadOnShowE2E.moc"

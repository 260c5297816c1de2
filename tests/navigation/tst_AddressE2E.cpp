#include "DrivenCopy.h"
#include "QuillwaveHome.h"
#include "TestHttpServer.h"
#include "XSession.h"

#include "core/store/RegistryKeys.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTest>

#include <memory>

// The address box driven with real key strokes: Shift completes the word
// and swaps the tab the address opens in, and the typed addresses outlive a
// restart. (Keywords and every modifier's completion are checked on the box
// and the search table themselves.)
class tst_AddressE2E : public QObject
{
    Q_OBJECT

    // One more than the drop-down list shows, and typed from the last down,
    // so that the list fills from typed addresses alone and the last one
    // typed is the start of others, which the list shows while Enter is
    // pressed.
    static constexpr int Typed = 13;

    std::unique_ptr<XSession> m_x;
    std::unique_ptr<TestHttpServer> m_server;
    // Declared in this order: the copy ends before its home goes.
    std::unique_ptr<QuillwaveHome> m_home;
    std::unique_ptr<DrivenCopy> m_copy;

    // Starts the copy on "/start" and waits until the page has completed:
    // nothing the program does at start-up may then overwrite what is typed
    // into the box next.
    bool startOn(const QList<QPair<QString, QString>>& values = {})
    {
        const QDateTime since = QDateTime::currentDateTime();
        return m_home->seedQuietStore(values) && m_copy->start({m_server->url("/start")}) &&
               m_copy->waitForCompletedVisit(m_server->url("/start"), since);
    }

private slots:
    void initTestCase() { QW_START_X_SESSION(m_x, QuillwaveHome::programPath()); }
    void init()
    {
        m_server = std::make_unique<TestHttpServer>();
        QVERIFY(m_server->listen());
        for (const QString& path : {"/start", "/"})
            m_server->routeReportingPage(path);
        for (int i = 1; i <= Typed; ++i)
            m_server->routeReportingPage(QStringLiteral("/typed/%1").arg(i));
        m_home = std::make_unique<QuillwaveHome>();
        QVERIFY(m_home->isValid());
        m_copy = std::make_unique<DrivenCopy>(*m_x, *m_home);
    }
    void cleanup()
    {
        m_copy.reset();
        m_home.reset();
    }

    // Addresses open in a new tab; Shift held on the real keyboard turns
    // that round.
    void shiftEnterSwapsTabChoice()
    {
        m_home->mapHostsTo(m_server->port());
        QVERIFY(startOn({{"AddressNewWin", "1"}}));
        const QString start = m_server->url("/start");
        QTRY_COMPARE_WITH_TIMEOUT(m_home->lastOpenSites(), QStringList{start}, m_home->PatienceMs);

        // Shift+Enter also puts "http://www." before the word and ".net"
        // after it; the engine is sent to the test server whatever the host.
        QVERIFY(m_copy->submitAddress(*m_server, "word", {}));
        QVERIFY(m_copy->strokeHolding(
            "shift", "Return",
            [&] { return m_server->lastRequest("/").headers.value("host") == "www.word.net"; }));
        const QStringList expected{QStringLiteral("http://www.word.net/")};
        QTRY_COMPARE_WITH_TIMEOUT(m_home->lastOpenSites(), expected, m_home->PatienceMs);
        QVERIFY(m_copy->process()->endCleanly());
        QCOMPARE(m_home->lastOpenSites(), expected);
    }

    void typedAddressesSurviveRestart()
    {
        QVERIFY(startOn());
        // How many are kept, and in what order, is the list's own test; here:
        // typing them into the real box records them, and they outlive the run.
        QStringList expected; // most recent first
        for (int i = Typed; i >= 1; --i)
        {
            const QDateTime since = QDateTime::currentDateTime();
            expected.prepend(m_server->url(QStringLiteral("/typed/%1").arg(i)));
            QVERIFY(m_copy->submitAddress(*m_server, expected.first()) &&
                    m_copy->waitForCompletedVisit(expected.first(), since));
        }
        QVERIFY(m_copy->process()->endCleanly());
        QCOMPARE(m_home->typedUrls(), expected);

        // The restarted copy offers them in its drop-down list: Down in the box
        // takes the next entry and opens it at once. It starts on one page of
        // its own, not on the last one typed.
        QCOMPARE(
            m_home->reg({"delete", RegistryKeys::ValueKey + '\\' + RegistryKeys::LastOpenSites}),
            0);
        m_server->clearRequests();
        QVERIFY(startOn());
        for (int entry = 0; entry < 2; ++entry)
        {
            const QDateTime since = QDateTime::currentDateTime();
            QVERIFY(m_copy->submitAddress(*m_server, {}, "Down"));
            QVERIFY2(m_copy->waitForCompletedVisit(expected.at(entry), since),
                     qPrintable(expected.at(entry)));
        }
        // Each Down opened one entry, the next in the list, and nothing else.
        QCOMPARE(m_server->requestedPaths().filter(QRegularExpression("^/typed/\\d+$")),
                 (QStringList{"/typed/1", "/typed/2"}));
        // Entries chosen from the list keep their places; the whole list came
        // back and goes out again as it was.
        QVERIFY(m_copy->process()->endCleanly());
        QCOMPARE(m_home->typedUrls(), expected);
    }
};

QTEST_GUILESS_MAIN(tst_AddressE2E)
#include "tst_AddressE2E.moc"

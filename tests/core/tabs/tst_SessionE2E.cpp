#include "QuillwaveHome.h"
#include "TestHttpServer.h"

#include <QTest>

// The kill-and-restore cycle with the real program: tabs open in "Last"
// mode survive a SIGKILL and come back in their old order.
class tst_SessionE2E : public QObject
{
    Q_OBJECT
private slots:
    void killedProgramRestoresItsTabs();

private:
    static constexpr int PatienceMs = 40000;
    static QString sitesKey()
    {
        return QuillwaveHome::valueKey() + QStringLiteral("\\Last Open Sites");
    }
};

namespace
{
int requestCount(const TestHttpServer& server, const QString& path)
{
    int count = 0;
    for (const TestHttpServer::Request& request : server.requests())
        if (request.pathOnly() == path)
            ++count;
    return count;
}

bool forward(QuillwaveHome& home, const QString& address)
{
    QuillwaveProcess* copy = home.launch({address});
    return copy && copy->waitForExit(15000) && copy->exitedNormally() && copy->exitCode() == 0;
}
} // namespace

void tst_SessionE2E::killedProgramRestoresItsTabs()
{
    TestHttpServer server;
    QVERIFY(server.listen());
    QStringList pages;
    for (int i = 1; i <= 6; ++i)
    {
        const QString path = QStringLiteral("/p%1").arg(i);
        server.routeHtml(path, QStringLiteral("<title>Page %1</title><p>%1</p>").arg(i).toUtf8());
        pages << server.url(path);
    }

    QuillwaveHome home;
    QVERIFY(home.isValid());
    QVERIFY(home.setValue(QStringLiteral("AskDefaultBrowser"), QStringLiteral("0")));
    QVERIFY(home.setValue(QStringLiteral("ConfirmShutdown"), QStringLiteral("0")));
    QVERIFY(home.setValue(QStringLiteral("StartupMode"), QStringLiteral("Last")));

    QuillwaveProcess* first = home.launch({pages.at(0)});
    QVERIFY(first);
    QVERIFY2(home.waitUntilUp(first, PatienceMs), qPrintable(first->describe()));
    QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested(QStringLiteral("/p1")), PatienceMs);
    for (int i = 1; i < 5; ++i)
    {
        QVERIFY(forward(home, pages.at(i)));
        QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested(QStringLiteral("/p%1").arg(i + 1)),
                                 PatienceMs);
    }

    // The list is kept current while the program runs, last tab first.
    const auto remembered = [&] { return home.exportText(sitesKey()); };
    QTRY_VERIFY_WITH_TIMEOUT(
        remembered().contains(QStringLiteral("\"url5\"=\"%1\"").arg(pages.at(4))), PatienceMs);
    for (int i = 0; i < 5; ++i)
        QVERIFY2(
            remembered().contains(QStringLiteral("\"url%1\"=\"%2\"").arg(i + 1).arg(pages.at(i))),
            qPrintable(remembered()));

    first->kill();
    QVERIFY(first->waitForExit(10000));
    server.clearRequests();

    QuillwaveProcess* second = home.launch();
    QVERIFY(second);
    QVERIFY2(home.waitUntilUp(second, PatienceMs), qPrintable(second->describe()));
    for (int i = 1; i <= 5; ++i)
        QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested(QStringLiteral("/p%1").arg(i)), PatienceMs);
    // A page placed after the active tab lands at the end: the fifth is active.
    QVERIFY(forward(home, pages.at(5)));
    QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested(QStringLiteral("/p6")), PatienceMs);
    for (int i = 1; i <= 5; ++i)
        QCOMPARE(requestCount(server, QStringLiteral("/p%1").arg(i)), 1);

    second->terminate();
    QVERIFY(second->waitForExit(20000));
    const QString afterExit = remembered();
    for (int i = 0; i < 6; ++i)
        QVERIFY2(afterExit.contains(QStringLiteral("\"url%1\"=\"%2\"").arg(i + 1).arg(pages.at(i))),
                 qPrintable(afterExit));
    QCOMPARE(home.value(QStringLiteral("SessionState")).value_or(QString()),
             QStringLiteral("clean"));
}

QTEST_GUILESS_MAIN(tst_SessionE2E)
#include "tst_SessionE2E.moc"

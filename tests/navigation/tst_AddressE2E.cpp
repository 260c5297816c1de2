#include "DrivenCopy.h"
#include "QuillwaveHome.h"
#include "TestHttpServer.h"
#include "XSession.h"

#include "core/store/RegistryKeys.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTest>
#include <QUrlQuery>

#include <memory>

// The address box driven with real key strokes: keywords become the
// addresses the server is asked for, Shift completes the word and swaps the
// tab the address opens in, and the typed addresses outlive a restart.
// (Every modifier's completion is checked on the box itself.)
class tst_AddressE2E : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void keywordSearchFillsTemplate();
    void shiftEnterSwapsTabChoice_data();
    void shiftEnterSwapsTabChoice();
    void typedAddressesSurviveRestart();

private:
    std::unique_ptr<XSession> m_x;
};

namespace
{
constexpr int PatienceMs = DrivenCopy::PatienceMs;

// A home whose copies ask nothing and show the tabs they are given (none
// remembered yet).
bool prepare(const QuillwaveHome& home)
{
    return home.isValid() &&
           home.setValue(QStringLiteral("AskDefaultBrowser"), QStringLiteral("0")) &&
           home.setValue(QStringLiteral("ConfirmShutdown"), QStringLiteral("0")) &&
           home.setValue(QStringLiteral("VersionCheck"), QStringLiteral("0")) &&
           home.setValue(QStringLiteral("StartupMode"), QStringLiteral("Last"));
}

// A page that tells the server, at "<path>/done", that it has loaded.
QByteArray pageHtml(const QString& path)
{
    return QStringLiteral("<!DOCTYPE html><html><head><title>%1</title></head><body><p>%1</p>"
                          "<script>addEventListener('load', () => fetch('%2', "
                          "{cache: 'no-store'}));</script></body></html>")
        .arg(path.toHtmlEscaped(),
             path == QLatin1String("/") ? QStringLiteral("/done") : path + QStringLiteral("/done"))
        .toUtf8();
}

// The first request for path that came for host (the Host header).
TestHttpServer::Request requestTo(const TestHttpServer& server, const QString& host,
                                  const QString& path)
{
    for (const TestHttpServer::Request& request : server.requests())
        if (request.headers.value("host") == host.toUtf8() && request.pathOnly() == path)
            return request;
    return {};
}

QString seen(const TestHttpServer& server)
{
    QStringList lines;
    for (const TestHttpServer::Request& request : server.requests())
        lines << QString::fromUtf8(request.headers.value("host")) + request.path;
    return QStringLiteral("the server saw: ") + lines.join(QLatin1Char(' '));
}

// Starts copy on the server's page "/start" and waits until the page has
// completed: nothing the program does at start-up may then overwrite what
// is typed into the box next.
bool startOn(DrivenCopy& copy, TestHttpServer& server)
{
    server.routeHtml(QStringLiteral("/start"), pageHtml(QStringLiteral("/start")));
    const QDateTime since = QDateTime::currentDateTime();
    return copy.start({server.url(QStringLiteral("/start"))}) &&
           copy.waitForCompletedVisit(server.url(QStringLiteral("/start")), since);
}
} // namespace

void tst_AddressE2E::initTestCase()
{
    QW_START_X_SESSION(m_x, QuillwaveHome::programPath());
}

void tst_AddressE2E::keywordSearchFillsTemplate()
{
    QuillwaveHome home;
    QVERIFY(prepare(home));
    TestHttpServer server;
    QVERIFY(server.listen());
    server.routeHtml(QStringLiteral("/find"), pageHtml(QStringLiteral("/find")));
    // Keywords are found whatever their letter case.
    const QString quickSearchKey =
        RegistryKeys::ValueKey + QLatin1Char('\\') + RegistryKeys::QuickSearch;
    QCOMPARE(home.reg({QStringLiteral("set"), quickSearchKey, QStringLiteral("qw"),
                       server.url(QStringLiteral("/find?a=%s&x=100%%25"))}),
             0);
    DrivenCopy copy(*m_x, home);
    copy.mapHostsTo(server.port());
    QVERIFY2(startOn(copy, server),
             qPrintable(seen(server) + QStringLiteral("; ") + copy.describe()));

    QVERIFY2(copy.submitAddress(QStringLiteral("QW alpha beta")), qPrintable(copy.describe()));
    QTRY_VERIFY2_WITH_TIMEOUT(server.wasRequested(QStringLiteral("/find")),
                              qPrintable(seen(server) + QStringLiteral("; ") + copy.describe()),
                              PatienceMs);
    const TestHttpServer::Request search = server.lastRequest(QStringLiteral("/find"));
    const QUrlQuery query(search.path.section(QLatin1Char('?'), 1));
    // Both words with the blank between them; "%%" stood for a percent sign.
    QCOMPARE(query.queryItemValue(QStringLiteral("a"), QUrl::FullyDecoded),
             QStringLiteral("alpha beta"));
    QCOMPARE(query.queryItemValue(QStringLiteral("x"), QUrl::FullyDecoded), QStringLiteral("100%"));
    QCOMPARE(search.headers.value("host"),
             QByteArray("127.0.0.1:") + QByteArray::number(server.port()));
    QVERIFY2(copy.endCleanly(), qPrintable(copy.describe()));
}

void tst_AddressE2E::shiftEnterSwapsTabChoice_data()
{
    QTest::addColumn<QString>("addressNewWin");
    QTest::addColumn<bool>("newTab");
    // clang-format off
    QTest::newRow("addresses open in the current tab") << "0" << true;
    QTest::newRow("addresses open in a new tab") << "1" << false;
    // clang-format on
}

void tst_AddressE2E::shiftEnterSwapsTabChoice()
{
    QFETCH(QString, addressNewWin);
    QFETCH(bool, newTab);

    QuillwaveHome home;
    QVERIFY(prepare(home));
    QVERIFY(home.setValue(QStringLiteral("AddressNewWin"), addressNewWin));
    TestHttpServer server;
    QVERIFY(server.listen());
    server.routeHtml(QStringLiteral("/"), pageHtml(QStringLiteral("/")));
    const QString start = server.url(QStringLiteral("/start"));
    DrivenCopy copy(*m_x, home);
    copy.mapHostsTo(server.port());
    QVERIFY2(startOn(copy, server),
             qPrintable(seen(server) + QStringLiteral("; ") + copy.describe()));
    QTRY_COMPARE_WITH_TIMEOUT(copy.lastOpenSites(), QStringList{start}, PatienceMs);

    // Shift+Enter also puts "http://www." before the word and ".net" after it.
    QVERIFY2(copy.focusAddressBox() && copy.type(QStringLiteral("word")),
             qPrintable(copy.describe()));
    QVERIFY2(copy.strokeHolding({QStringLiteral("shift")}, QStringLiteral("Return"),
                                [&]
                                { return requestTo(server, "www.word.net", "/").method == "GET"; }),
             qPrintable(seen(server) + QStringLiteral("; ") + copy.describe()));

    const QString opened = QStringLiteral("http://www.word.net/");
    const QStringList expected = newTab ? QStringList{start, opened} : QStringList{opened};
    QTRY_COMPARE_WITH_TIMEOUT(copy.lastOpenSites(), expected, PatienceMs);
    QVERIFY2(copy.endCleanly(), qPrintable(copy.describe()));
    QCOMPARE(copy.lastOpenSites(), expected);
}

void tst_AddressE2E::typedAddressesSurviveRestart()
{
    QuillwaveHome home;
    QVERIFY(prepare(home));
    TestHttpServer server;
    QVERIFY(server.listen());
    constexpr int Typed = 26;
    QStringList addresses; // in the order typed
    for (int i = 1; i <= Typed; ++i)
    {
        const QString path = QStringLiteral("/typed/%1").arg(i);
        server.routeHtml(path, pageHtml(path));
        addresses << server.url(path);
    }
    // Most recent first, the oldest dropped.
    QStringList expected;
    for (int i = Typed - 1; i >= 1; --i)
        expected << addresses.at(i);

    DrivenCopy copy(*m_x, home);
    QVERIFY2(startOn(copy, server),
             qPrintable(seen(server) + QStringLiteral("; ") + copy.describe()));
    for (const QString& address : std::as_const(addresses))
    {
        const QDateTime since = QDateTime::currentDateTime();
        QVERIFY2(copy.submitAddress(address), qPrintable(copy.describe()));
        QVERIFY2(copy.waitForCompletedVisit(address, since),
                 qPrintable(seen(server) + QStringLiteral("; ") + copy.describe()));
    }
    QVERIFY2(copy.endCleanly(), qPrintable(copy.describe()));
    QCOMPARE(copy.typedUrls(), expected);

    // The restarted copy offers them in its drop-down list: Down in the box
    // takes the next entry and opens it at once.
    // It starts on one page of its own, not on the last one typed.
    QCOMPARE(home.reg({QStringLiteral("delete"),
                       RegistryKeys::ValueKey + QLatin1Char('\\') + RegistryKeys::LastOpenSites}),
             0);
    server.clearRequests();
    QVERIFY2(startOn(copy, server),
             qPrintable(seen(server) + QStringLiteral("; ") + copy.describe()));
    constexpr int Chosen = 3;
    for (int entry = 0; entry < Chosen; ++entry)
    {
        const QDateTime since = QDateTime::currentDateTime();
        QVERIFY2(copy.focusAddressBox() && copy.key(QStringLiteral("Down")),
                 qPrintable(copy.describe()));
        QVERIFY2(copy.waitForCompletedVisit(expected.at(entry), since),
                 qPrintable(QStringLiteral("entry %1: ").arg(entry + 1) + seen(server) +
                            QStringLiteral("; ") + copy.describe()));
    }
    // Each Down opened one entry, the next in the list, and nothing else.
    QStringList opened;
    for (const QString& path : server.requestedPaths())
        if (path.startsWith(QStringLiteral("/typed/")) && !path.endsWith(QStringLiteral("/done")))
            opened << server.url(path);
    QCOMPARE(opened, expected.mid(0, Chosen));

    // Entries chosen from the list keep their places; the whole list came
    // back and goes out again as it was.
    QVERIFY2(copy.endCleanly(), qPrintable(copy.describe()));
    QCOMPARE(copy.typedUrls(), expected);
}

QTEST_GUILESS_MAIN(tst_AddressE2E)
#include "tst_AddressE2E.moc"

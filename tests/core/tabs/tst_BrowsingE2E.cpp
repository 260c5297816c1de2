#include "QuillwaveHome.h"
#include "QuillwaveProcess.h"
#include "TestHttpServer.h"

#include "core/store/RegistryKeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QPair>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <algorithm>

#include <csignal>
#include <map>
#include <sys/types.h>

namespace
{
// How long anything may take on a loaded machine before it counts as hung.
constexpr int PatienceMs = 20000;

using Sites = QList<QPair<int, QString>>; // (1-based tab position, address)

QString sitesKey()
{
    return RegistryKeys::ValueKey + QLatin1Char('\\') + RegistryKeys::LastOpenSites;
}

QString popupKey()
{
    return RegistryKeys::ValueKey + QLatin1Char('\\') + RegistryKeys::PopupVostel;
}

// The remembered tabs as the store holds them now, by tab position. An
// absent sub-key is an empty list.
Sites storedSites(const QuillwaveHome& home)
{
    static const QRegularExpression line(QStringLiteral("^\"url(\\d+)\"=\"(.*)\"$"),
                                         QRegularExpression::MultilineOption);
    std::map<int, QString> byPosition;
    auto matches = line.globalMatch(home.exportText(sitesKey()));
    while (matches.hasNext())
    {
        const auto match = matches.next();
        byPosition[match.captured(1).toInt()] = match.captured(2);
    }
    Sites sites;
    for (const auto& [position, address] : byPosition)
        sites.append({position, address});
    return sites;
}

QString describeSites(const Sites& sites)
{
    QStringList parts;
    for (const auto& [position, address] : sites)
        parts << QStringLiteral("url%1=%2").arg(position).arg(address);
    return QLatin1Char('[') + parts.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QStringList addressesOf(const Sites& sites)
{
    QStringList addresses;
    for (const auto& site : sites)
        addresses << site.second;
    return addresses;
}

// A page that reports to the server, at "<path>/done", once it has loaded,
// after running script.
QByteArray pageHtml(const QString& path, const QString& script = QString())
{
    return QStringLiteral("<!DOCTYPE html><html><head><title>%1</title></head><body>"
                          "<p>%1</p><script>%2\n"
                          "addEventListener('load', () => fetch('%1/done', {cache: 'no-store'}));"
                          "</script></body></html>")
        .arg(path, script)
        .toUtf8();
}

// The processes that descend from pid, with their command lines.
QHash<qint64, QByteArray> descendantsOf(qint64 pid)
{
    QHash<qint64, qint64> parentOf;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& entry : entries)
    {
        bool numeric = false;
        const qint64 child = entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(child));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold blanks and brackets.
        const QByteArray text = stat.readAll();
        const int close = text.lastIndexOf(')');
        if (close < 0)
            continue;
        const QList<QByteArray> fields = text.mid(close + 2).split(' ');
        if (fields.size() > 1)
            parentOf.insert(child, fields.at(1).toLongLong());
    }
    QHash<qint64, QByteArray> found;
    for (auto it = parentOf.cbegin(); it != parentOf.cend(); ++it)
    {
        qint64 ancestor = it.value();
        for (int depth = 0; depth < 16 && ancestor > 1; ++depth)
        {
            if (ancestor == pid)
            {
                QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(it.key()));
                if (cmdline.open(QIODevice::ReadOnly))
                    found.insert(it.key(), cmdline.readAll().replace('\0', ' '));
                break;
            }
            ancestor = parentOf.value(ancestor, 0);
        }
    }
    return found;
}

// The engine's page processes of the program running as pid: the engine
// forks them from its page zygote, whose command line they keep (the other
// zygote, started with "--no-zygote-sandbox", forks service processes).
QSet<qint64> rendererProcesses(qint64 pid)
{
    QSet<qint64> renderers;
    const auto descendants = descendantsOf(pid);
    for (auto it = descendants.cbegin(); it != descendants.cend(); ++it)
    {
        if (it.value().contains("--type=renderer"))
        {
            renderers.insert(it.key());
            continue;
        }
        QFile stat(QStringLiteral("/proc/%1/stat").arg(it.key()));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        const QByteArray parent = descendants.value(fields.value(1).toLongLong());
        if (parent.contains("--type=zygote") && !parent.contains("--no-zygote-sandbox"))
            renderers.insert(it.key());
    }
    return renderers;
}

bool isAlive(qint64 pid)
{
    // A killed child of the engine's zygote lingers as a zombie for a moment.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const int close = text.lastIndexOf(')');
    return close >= 0 && text.mid(close + 2, 1) != "Z";
}
} // namespace

class tst_BrowsingE2E : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void forwardedAddressesOpenInArrivalOrder();
    void listedPopupIsNeverLoaded_data();
    void listedPopupIsNeverLoaded();
    void scriptClosesOnlyItsOwnTab();
    void killedRendererLeavesProgramRunning();

private:
    // A home whose copies ask nothing, open no home page and remember their tabs.
    static bool prepare(QuillwaveHome& home);
    // Starts the first copy on address and waits until it is up and the
    // page has loaded; null (with the test failed) otherwise.
    QuillwaveProcess* startOn(QuillwaveHome& home, TestHttpServer& server, const QString& path);
    // A second copy hands address over and ends with 0.
    static bool forward(QuillwaveHome& home, const QString& address);
    // Ends the copy as a termination signal does; true when it closed cleanly.
    static bool endCleanly(QuillwaveProcess* copy);
};

void tst_BrowsingE2E::initTestCase()
{
    QVERIFY2(QFileInfo(QuillwaveHome::programPath()).isExecutable(),
             qPrintable(QuillwaveHome::programPath()));
    QVERIFY2(QFileInfo(QuillwaveHome::regToolPath()).isExecutable(),
             qPrintable(QuillwaveHome::regToolPath()));
}

bool tst_BrowsingE2E::prepare(QuillwaveHome& home)
{
    return home.isValid() &&
           home.setValue(QStringLiteral("AskDefaultBrowser"), QStringLiteral("0")) &&
           home.setValue(QStringLiteral("ConfirmShutdown"), QStringLiteral("0")) &&
           home.setValue(QStringLiteral("PopupVostelNotify"), QStringLiteral("0")) &&
           home.setValue(QStringLiteral("StartupMode"), QStringLiteral("Last"));
}

QuillwaveProcess* tst_BrowsingE2E::startOn(QuillwaveHome& home, TestHttpServer& server,
                                           const QString& path)
{
    QuillwaveProcess* first = home.launch({server.url(path)});
    if (!first)
    {
        qWarning("the program could not be started");
        return nullptr;
    }
    if (!home.waitUntilUp(first, PatienceMs))
    {
        qWarning("not up: %s", qPrintable(first->describe()));
        return nullptr;
    }
    const QString done = path + QStringLiteral("/done");
    // Judged below, with what the server saw.
    (void)QTest::qWaitFor([&] { return server.wasRequested(done) || !first->isRunning(); },
                          PatienceMs);
    if (!server.wasRequested(done))
    {
        qWarning("%s never loaded; requests: %s; %s", qPrintable(path),
                 qPrintable(server.requestedPaths().join(QLatin1Char(' '))),
                 qPrintable(first->describe()));
        return nullptr;
    }
    return first;
}

bool tst_BrowsingE2E::forward(QuillwaveHome& home, const QString& address)
{
    QuillwaveProcess* second = home.launch({address});
    if (!second)
        return false;
    if (!second->waitForExit(PatienceMs) || !second->exitedNormally() || second->exitCode() != 0)
    {
        qWarning("forwarding copy: %s", qPrintable(second->describe()));
        return false;
    }
    return true;
}

bool tst_BrowsingE2E::endCleanly(QuillwaveProcess* copy)
{
    copy->terminate();
    if (!copy->waitForExit(PatienceMs) || !copy->exitedNormally() || copy->exitCode() != 0)
    {
        qWarning("ending: %s", qPrintable(copy->describe()));
        return false;
    }
    return true;
}

void tst_BrowsingE2E::forwardedAddressesOpenInArrivalOrder()
{
    QuillwaveHome home;
    QVERIFY(prepare(home));
    TestHttpServer server;
    QVERIFY(server.listen());
    const QStringList paths{"/first", "/second", "/third", "/fourth"};
    for (const QString& path : paths)
        server.routeHtml(path, pageHtml(path));

    QuillwaveProcess* first = startOn(home, server, paths.first());
    QVERIFY(first);
    QCOMPARE(server.lastRequest(paths.first()).method, QByteArray("GET"));

    for (const QString& path : paths.mid(1))
    {
        QVERIFY2(forward(home, server.url(path)), qPrintable(path));
        const QString done = path + QStringLiteral("/done");
        QTRY_VERIFY2_WITH_TIMEOUT(server.wasRequested(done) || !first->isRunning(),
                                  qPrintable(server.requestedPaths().join(QLatin1Char(' '))),
                                  PatienceMs);
        QVERIFY2(first->isRunning(), qPrintable(first->describe()));
    }

    QVERIFY(endCleanly(first));
    // Each arrival went directly after the tab that was active, the one
    // that arrived before it, and became active itself.
    const Sites expected{{1, server.url(paths[0])},
                         {2, server.url(paths[1])},
                         {3, server.url(paths[2])},
                         {4, server.url(paths[3])}};
    const Sites sites = storedSites(home);
    QVERIFY2(sites == expected, qPrintable(describeSites(sites) + QStringLiteral(" instead of ") +
                                           describeSites(expected)));
}

void tst_BrowsingE2E::listedPopupIsNeverLoaded_data()
{
    QTest::addColumn<bool>("listed");
    QTest::newRow("pattern listed") << true;
    // The same page with an empty list opens both: the capture is what stops one.
    QTest::newRow("nothing listed") << false;
}

void tst_BrowsingE2E::listedPopupIsNeverLoaded()
{
    QFETCH(bool, listed);
    QuillwaveHome home;
    QVERIFY(prepare(home));
    TestHttpServer server;
    QVERIFY(server.listen());
    const QString advert = server.url(QStringLiteral("/adverts/pop"));
    const QString unlisted = server.url(QStringLiteral("/welcome"));
    if (listed)
        QVERIFY(home.reg({QStringLiteral("set"), popupKey(), QStringLiteral("url1"),
                          server.url(QStringLiteral("/adverts/*"))}) == 0);
    server.routeHtml(QStringLiteral("/adverts/pop"), pageHtml(QStringLiteral("/adverts/pop")));
    server.routeHtml(QStringLiteral("/welcome"), pageHtml(QStringLiteral("/welcome")));
    // Opened without a user's gesture: the engine lets scripts open windows.
    server.routeHtml(
        QStringLiteral("/opener"),
        pageHtml(QStringLiteral("/opener"),
                 QStringLiteral("window.open('%1'); window.open('%2');").arg(advert, unlisted)));

    QuillwaveProcess* first = startOn(home, server, QStringLiteral("/opener"));
    QVERIFY(first);
    QTRY_VERIFY2_WITH_TIMEOUT(
        server.wasRequested(QStringLiteral("/welcome/done")) || !first->isRunning(),
        qPrintable(server.requestedPaths().join(QLatin1Char(' '))), PatienceMs);
    QVERIFY2(first->isRunning(), qPrintable(first->describe()));

    if (!listed)
        QTRY_VERIFY2_WITH_TIMEOUT(server.wasRequested(QStringLiteral("/adverts/pop/done")),
                                  qPrintable(server.requestedPaths().join(QLatin1Char(' '))),
                                  PatienceMs);

    QVERIFY(endCleanly(first));
    const QStringList requested = server.requestedPaths();
    if (listed)
    {
        for (const QString& path : requested)
            QVERIFY2(!path.startsWith(QStringLiteral("/adverts")),
                     qPrintable(requested.join(QLatin1Char(' '))));
    }
    // The opener and the pop-ups that were shown; a captured one never
    // became a tab of its own.
    QStringList shown{server.url(QStringLiteral("/opener")), unlisted};
    if (!listed)
        shown << advert;
    QStringList stored = addressesOf(storedSites(home));
    QCOMPARE(stored.first(), shown.first());
    std::sort(stored.begin() + 1, stored.end());
    std::sort(shown.begin() + 1, shown.end());
    QCOMPARE(stored, shown);
    // The pattern list survives the run.
    if (listed)
        QVERIFY2(home.exportText(popupKey()).contains(server.url(QStringLiteral("/adverts/*"))),
                 qPrintable(home.exportText(popupKey())));
}

void tst_BrowsingE2E::scriptClosesOnlyItsOwnTab()
{
    QuillwaveHome home;
    QVERIFY(prepare(home));
    TestHttpServer server;
    QVERIFY(server.listen());
    const QString opener = server.url(QStringLiteral("/opener"));
    const QString closer = server.url(QStringLiteral("/closer"));
    // The closing page asks the server until the test lets it close: the
    // tab is seen to exist before it goes.
    bool mayClose = false;
    server.route(QStringLiteral("/closer/may-close"),
                 [&mayClose](const TestHttpServer::Request&)
                 {
                     TestHttpServer::Response response;
                     response.contentType = QByteArrayLiteral("text/plain");
                     response.body = mayClose ? QByteArrayLiteral("yes") : QByteArrayLiteral("no");
                     return response;
                 });
    server.routeHtml(QStringLiteral("/closer"),
                     pageHtml(QStringLiteral("/closer"),
                              QStringLiteral("let asked = 0;\n"
                                             "function ask() {\n"
                                             "  fetch('/closer/may-close?' + (++asked), "
                                             "{cache: 'no-store'})\n"
                                             "    .then(r => r.text())\n"
                                             "    .then(t => t === 'yes' ? window.close() : "
                                             "setTimeout(ask, 100))\n"
                                             "    .catch(() => setTimeout(ask, 100));\n"
                                             "}\n"
                                             "addEventListener('load', ask);")));
    // Only a window a script opened may be closed by a script.
    server.routeHtml(
        QStringLiteral("/opener"),
        pageHtml(QStringLiteral("/opener"), QStringLiteral("window.open('%1');").arg(closer)));

    QuillwaveProcess* first = startOn(home, server, QStringLiteral("/opener"));
    QVERIFY(first);
    QTRY_VERIFY2_WITH_TIMEOUT(
        server.wasRequested(QStringLiteral("/closer/done")) || !first->isRunning(),
        qPrintable(server.requestedPaths().join(QLatin1Char(' '))), PatienceMs);
    QVERIFY2(first->isRunning(), qPrintable(first->describe()));

    // The running program keeps the list current: both tabs are there.
    const Sites both{{1, opener}, {2, closer}};
    QTRY_VERIFY2_WITH_TIMEOUT(storedSites(home) == both,
                              qPrintable(describeSites(storedSites(home))), PatienceMs);

    mayClose = true;
    const Sites openerOnly{{1, opener}};
    QTRY_VERIFY2_WITH_TIMEOUT(storedSites(home) == openerOnly || !first->isRunning(),
                              qPrintable(describeSites(storedSites(home))), PatienceMs);
    QVERIFY2(first->isRunning(), qPrintable(first->describe()));

    QVERIFY(endCleanly(first));
    const Sites sites = storedSites(home);
    QVERIFY2(sites == openerOnly, qPrintable(describeSites(sites)));
}

void tst_BrowsingE2E::killedRendererLeavesProgramRunning()
{
    QuillwaveHome home;
    QVERIFY(prepare(home));
    TestHttpServer server;
    QVERIFY(server.listen());
    server.routeHtml(QStringLiteral("/victim"), pageHtml(QStringLiteral("/victim")));
    server.routeHtml(QStringLiteral("/after"), pageHtml(QStringLiteral("/after")));

    QuillwaveProcess* first = startOn(home, server, QStringLiteral("/victim"));
    QVERIFY(first);
    QSet<qint64> renderers;
    QTRY_VERIFY_WITH_TIMEOUT(!(renderers = rendererProcesses(first->pid())).isEmpty(), PatienceMs);

    // What the engine's own chrome://kill does, from outside: every page
    // process of the program dies at once.
    for (const qint64 renderer : std::as_const(renderers))
        QCOMPARE(::kill(static_cast<pid_t>(renderer), SIGKILL), 0);
    QTRY_VERIFY_WITH_TIMEOUT(
        std::none_of(renderers.cbegin(), renderers.cend(), [](qint64 pid) { return isAlive(pid); }),
        PatienceMs);
    QVERIFY2(first->isRunning(), qPrintable(first->describe()));

    // The program answers: it takes a forwarded address and loads it.
    QVERIFY(forward(home, server.url(QStringLiteral("/after"))));
    QTRY_VERIFY2_WITH_TIMEOUT(
        server.wasRequested(QStringLiteral("/after/done")) || !first->isRunning(),
        qPrintable(server.requestedPaths().join(QLatin1Char(' '))), PatienceMs);
    QVERIFY2(first->isRunning(), qPrintable(first->describe()));

    QVERIFY(endCleanly(first));
    // The crashed tab stays, at the address it had.
    const Sites sites = storedSites(home);
    QVERIFY2(addressesOf(sites) == (QStringList{server.url(QStringLiteral("/victim")),
                                                server.url(QStringLiteral("/after"))}),
             qPrintable(describeSites(sites)));
}

QTEST_GUILESS_MAIN(tst_BrowsingE2E)
#include "tst_BrowsingE2E.moc"

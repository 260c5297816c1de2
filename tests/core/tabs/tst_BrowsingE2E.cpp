// The real program with a private home: what only separate processes show
// (forwarded addresses, a kill and the restore after it, pop-ups a page
// opens by itself), checked through what the program leaves in its store.

#include "QuillwaveHome.h"
#include "QuillwaveProcess.h"
#include "TestHttpServer.h"

#include "core/store/RegistryKeys.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <map>

namespace
{
// How long anything may take on a loaded machine before it counts as hung.
constexpr int PatienceMs = 40000;

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

// A home whose copies ask nothing, open no home page and remember their tabs.
bool prepare(QuillwaveHome& home)
{
    return home.isValid() && home.setValue("AskDefaultBrowser", "0") &&
           home.setValue("ConfirmShutdown", "0") && home.setValue("PopupVostelNotify", "0") &&
           home.setValue("StartupMode", "Last");
}

// The remembered tabs as the store holds them now, in tab order.
QStringList storedSites(const QuillwaveHome& home)
{
    static const QRegularExpression line(QStringLiteral("^\"url(\\d+)\"=\"(.*)\"$"),
                                         QRegularExpression::MultilineOption);
    std::map<int, QString> byPosition;
    auto matches = line.globalMatch(
        home.exportText(RegistryKeys::ValueKey + '\\' + RegistryKeys::LastOpenSites));
    while (matches.hasNext())
    {
        const auto match = matches.next();
        byPosition[match.captured(1).toInt()] = match.captured(2);
    }
    QStringList sites;
    for (const auto& [position, address] : byPosition)
        sites << address;
    return sites;
}

// A second copy hands address over and ends with 0.
bool forward(QuillwaveHome& home, const QString& address)
{
    QuillwaveProcess* copy = home.launch({address});
    return copy && copy->waitForExit(PatienceMs) && copy->exitedNormally() && copy->exitCode() == 0;
}

// Ends the copy as a termination signal does; true when it closed cleanly.
bool endCleanly(QuillwaveProcess* copy)
{
    copy->terminate();
    return copy->waitForExit(PatienceMs) && copy->exitedNormally() && copy->exitCode() == 0;
}
} // namespace

class tst_BrowsingE2E : public QObject
{
    Q_OBJECT

private:
    TestHttpServer server;

    bool loaded(const QString& path, QuillwaveProcess* copy)
    {
        return QTest::qWaitFor(
                   [&] { return server.wasRequested(path + "/done") || !copy->isRunning(); },
                   PatienceMs) &&
               copy->isRunning();
    }
    QString requested() const { return server.requestedPaths().join(' '); }

private slots:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(QuillwaveHome::programPath()).isExecutable(),
                 qPrintable(QuillwaveHome::programPath()));
        QVERIFY2(QFileInfo(QuillwaveHome::regToolPath()).isExecutable(),
                 qPrintable(QuillwaveHome::regToolPath()));
        QVERIFY(server.listen());
        for (const QString& path :
             {"/p1", "/p2", "/p3", "/p4", "/p5", "/p6", "/adverts/pop", "/welcome"})
            server.routeHtml(path, pageHtml(path));
    }
    void init() { server.clearRequests(); }

    // Forwarded addresses go directly after the active tab, the one that
    // arrived before; the list is kept current while the program runs, so a
    // kill loses nothing, and the next start restores each page once.
    void forwardedTabsSurviveAKill()
    {
        QuillwaveHome home;
        QVERIFY(prepare(home));
        QStringList pages;
        for (int i = 1; i <= 6; ++i)
            pages << server.url(QStringLiteral("/p%1").arg(i));

        QuillwaveProcess* first = home.launch({pages.at(0)});
        QVERIFY(first);
        QVERIFY2(home.waitUntilUp(first, PatienceMs), qPrintable(first->describe()));
        QVERIFY2(loaded("/p1", first), qPrintable(requested() + ' ' + first->describe()));
        QCOMPARE(server.lastRequest("/p1").method, QByteArray("GET"));
        for (int i = 1; i < 5; ++i)
        {
            QVERIFY(forward(home, pages.at(i)));
            QVERIFY2(loaded(QStringLiteral("/p%1").arg(i + 1), first), qPrintable(requested()));
        }
        QTRY_COMPARE_WITH_TIMEOUT(storedSites(home), pages.mid(0, 5), PatienceMs);

        first->kill();
        QVERIFY(first->waitForExit(PatienceMs));
        server.clearRequests();

        QuillwaveProcess* second = home.launch();
        QVERIFY(second);
        QVERIFY2(home.waitUntilUp(second, PatienceMs), qPrintable(second->describe()));
        for (int i = 1; i <= 5; ++i)
            QVERIFY2(loaded(QStringLiteral("/p%1").arg(i), second), qPrintable(requested()));
        // The fifth, restored last, is active: the sixth lands at the end.
        QVERIFY(forward(home, pages.at(5)));
        QVERIFY2(loaded("/p6", second), qPrintable(requested()));
        const QStringList paths = server.requestedPaths();
        for (int i = 1; i <= 5; ++i)
            QCOMPARE(paths.count(QStringLiteral("/p%1").arg(i)), 1);

        QVERIFY2(endCleanly(second), qPrintable(second->describe()));
        QCOMPARE(storedSites(home), pages);
        QCOMPARE(home.value("SessionState").value_or(QString()), QStringLiteral("clean"));
    }

    void listedPopupIsNeverLoaded_data()
    {
        QTest::addColumn<bool>("listed");
        QTest::newRow("pattern listed") << true;
        // The same page with an empty list opens both: the capture is what stops one.
        QTest::newRow("nothing listed") << false;
    }
    void listedPopupIsNeverLoaded()
    {
        QFETCH(bool, listed);
        QuillwaveHome home;
        QVERIFY(prepare(home));
        const QString popupKey = RegistryKeys::ValueKey + '\\' + RegistryKeys::PopupVostel;
        const QString advert = server.url("/adverts/pop");
        const QString welcome = server.url("/welcome");
        if (listed)
            QCOMPARE(home.reg({"set", popupKey, "url1", server.url("/adverts/*")}), 0);
        // Opened without a user's gesture: the engine lets scripts open windows.
        server.routeHtml("/opener", pageHtml("/opener", QStringLiteral("window.open('%1'); "
                                                                       "window.open('%2');")
                                                            .arg(advert, welcome)));

        QuillwaveProcess* first = home.launch({server.url("/opener")});
        QVERIFY(first);
        QVERIFY2(home.waitUntilUp(first, PatienceMs), qPrintable(first->describe()));
        QVERIFY2(loaded("/welcome", first), qPrintable(requested() + ' ' + first->describe()));
        if (!listed)
            QVERIFY2(loaded("/adverts/pop", first), qPrintable(requested()));
        QVERIFY2(endCleanly(first), qPrintable(first->describe()));

        if (listed)
            QVERIFY2(server.requestedPaths().filter(QRegularExpression("^/adverts")).isEmpty(),
                     qPrintable(requested()));
        // The opener and the pop-ups that were shown; a captured one never
        // became a tab of its own.
        QStringList shown{welcome};
        if (!listed)
            shown << advert;
        QStringList stored = storedSites(home);
        QVERIFY(!stored.isEmpty());
        QCOMPARE(stored.takeFirst(), server.url("/opener"));
        std::sort(stored.begin(), stored.end());
        std::sort(shown.begin(), shown.end());
        QCOMPARE(stored, shown);
        // The pattern list survives the run.
        if (listed)
            QVERIFY(home.exportText(popupKey).contains(server.url("/adverts/*")));
    }
};

QTEST_GUILESS_MAIN(tst_BrowsingE2E)
#include "tst_BrowsingE2E.moc"

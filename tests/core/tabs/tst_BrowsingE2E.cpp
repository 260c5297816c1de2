// The real program with a private home: what only separate processes show
// (forwarded addresses, a kill and the restore after it, pop-ups a page
// opens by itself), checked through what the program leaves in its store.

#include "QuillwaveHome.h"
#include "QuillwaveProcess.h"
#include "TestHttpServer.h"

#include "core/store/RegistryKeys.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

class tst_BrowsingE2E : public QObject
{
    Q_OBJECT

private:
    TestHttpServer server;

    // Whether the page at path has loaded in copy, which still runs.
    bool loaded(const QString& path, QuillwaveProcess* copy)
    {
        if (QTest::qWaitFor([&]
                            { return server.wasRequested(path + "/done") || !copy->isRunning(); },
                            QuillwaveProcess::PatienceMs) &&
            copy->isRunning())
            return true;
        qWarning("%s did not load; the server saw %s; %s", qPrintable(path),
                 qPrintable(server.requestedPaths().join(' ')), qPrintable(copy->describe()));
        return false;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(server.listen());
        for (const QString& path :
             {"/p1", "/p2", "/p3", "/p4", "/p5", "/p6", "/adverts/pop", "/welcome"})
            server.routeReportingPage(path);
    }
    void init() { server.clearRequests(); }

    // Forwarded addresses go directly after the active tab, the one that
    // arrived before; the list is kept current while the program runs, so a
    // kill loses nothing, and the next start restores each page once. A
    // forwarded group file (named relative to the forwarding copy) joins the
    // tabs at the end.
    void forwardedTabsSurviveAKill()
    {
        QuillwaveHome home;
        QVERIFY(home.isValid() && home.seedQuietStore());
        QStringList pages;
        for (int i = 1; i <= 6; ++i)
            pages << server.url(QStringLiteral("/p%1").arg(i));

        QuillwaveProcess* first = home.launchUp({pages.at(0)});
        QVERIFY(first && loaded("/p1", first));
        // The launcher that was started has become the browser in its own
        // process, with its arguments and environment (the home) kept.
        QCOMPARE(QFileInfo(QStringLiteral("/proc/%1/exe").arg(first->pid())).canonicalFilePath(),
                 QFileInfo(QW_BIN_DIR "/quillwave-browser").canonicalFilePath());
        QCOMPARE(server.lastRequest("/p1").method, QByteArray("GET"));
        for (int i = 1; i < 5; ++i)
            QVERIFY(home.forward({pages.at(i)}) &&
                    loaded(QStringLiteral("/p%1").arg(i + 1), first));
        QTRY_COMPARE_WITH_TIMEOUT(home.lastOpenSites(), pages.mid(0, 5), home.PatienceMs);

        first->kill();
        QVERIFY(first->waitForExit());
        server.clearRequests();

        QuillwaveProcess* second = home.launchUp();
        QVERIFY(second);
        for (int i = 1; i <= 5; ++i)
            QVERIFY(loaded(QStringLiteral("/p%1").arg(i), second));
        // The fifth, restored last, is active: the sixth lands at the end.
        QFile group(home.homePath() + "/more.vgp");
        QVERIFY(group.open(QIODevice::WriteOnly) &&
                group.write(("[VostelGroup]\r\nblank1=" + pages.at(5)).toUtf8()) > 0);
        group.close();
        QVERIFY(home.forward({"more.vgp"}, home.homePath()) && loaded("/p6", second));
        for (int i = 1; i <= 5; ++i)
            QCOMPARE(server.requestCount(QStringLiteral("/p%1").arg(i)), 1);

        QVERIFY(second->endCleanly());
        QCOMPARE(home.lastOpenSites(), pages);
        QVERIFY(home.exportText(RegistryKeys::ValueKey).contains("\"SessionState\"=\"clean\""));
    }

    // The page opens two pop-ups without a user's gesture (the engine lets
    // scripts open windows): the listed one is captured before it loads and
    // never becomes a tab, the other one is shown.
    void listedPopupIsNeverLoaded()
    {
        QuillwaveHome home;
        QVERIFY(home.isValid() && home.seedQuietStore());
        const QString popupKey = RegistryKeys::ValueKey + '\\' + RegistryKeys::PopupVostel;
        QCOMPARE(home.reg({"set", popupKey, "url1", server.url("/adverts/*")}), 0);
        server.routeReportingPage("/opener",
                                  QStringLiteral("window.open('%1'); window.open('%2');")
                                      .arg(server.url("/adverts/pop"), server.url("/welcome")));

        QuillwaveProcess* first = home.launchUp({server.url("/opener")});
        QVERIFY(first && loaded("/welcome", first));
        QVERIFY(first->endCleanly());
        QVERIFY2(server.requestedPaths().filter(QRegularExpression("^/adverts")).isEmpty(),
                 qPrintable(server.requestedPaths().join(' ')));
        QCOMPARE(home.lastOpenSites(),
                 (QStringList{server.url("/opener"), server.url("/welcome")}));
        // The pattern list survives the run.
        QVERIFY(home.exportText(popupKey).contains(server.url("/adverts/*")));
    }
};

QTEST_GUILESS_MAIN(tst_BrowsingE2E)
#include "tst_BrowsingE2E.moc"

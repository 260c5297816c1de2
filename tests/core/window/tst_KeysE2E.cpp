#include "DrivenCopy.h"
#include "QuillwaveHome.h"
#include "TestHttpServer.h"
#include "XSession.h"

#include <QDateTime>
#include <QTest>
#include <QUrlQuery>

#include <functional>
#include <memory>

// The program's keyboard shortcuts while a page has the keyboard focus,
// pressed as real keys. Each page reports every key-down it receives to
// the server, so the test sees both what the program did and whether the
// page got the key. (Which stroke does what is checked in-process on the
// window's menus; only a real page shows where the focus goes after each.)
class tst_KeysE2E : public QObject
{
    Q_OBJECT

    std::unique_ptr<XSession> m_x;
    std::unique_ptr<TestHttpServer> m_server;
    // Declared in this order: the copy ends before its home goes.
    std::unique_ptr<QuillwaveHome> m_home;
    std::unique_ptr<DrivenCopy> m_copy;

    // The keys the pages at path reported, from the server's request number
    // from on; the strokes a test waits for between them arrive in order.
    QStringList keysSeen(const QString& path, qsizetype from = 0) const
    {
        QStringList keys;
        for (const TestHttpServer::Request& request : m_server->requests().mid(from))
        {
            const QUrlQuery query(request.path.section(QLatin1Char('?'), 1));
            if (request.pathOnly() == "/key" &&
                query.queryItemValue("p", QUrl::FullyDecoded) == path)
                keys << query.queryItemValue("k", QUrl::FullyDecoded);
        }
        return keys;
    }
    bool until(const std::function<bool()>& condition)
    {
        if (QTest::qWaitFor(condition, QuillwaveProcess::PatienceMs))
            return true;
        qWarning("/a got [%s], /b got [%s]; the server saw %s; %s",
                 qPrintable(keysSeen("/a").join(' ')), qPrintable(keysSeen("/b").join(' ')),
                 qPrintable(m_server->requestedPaths().join(' ')),
                 qPrintable(m_copy->process() ? m_copy->process()->describe() : "not started"));
        return false;
    }
    // Presses stroke and waits until the page at path reports a new key-down
    // equal to entry: the page has the keyboard focus and got it.
    bool reachesPage(const QString& path, const QString& stroke, const QString& entry)
    {
        const qsizetype before = m_server->requests().size();
        return m_x->key(stroke) && until([&] { return keysSeen(path, before).contains(entry); });
    }

private slots:
    void initTestCase() { QW_START_X_SESSION(m_x, QuillwaveHome::programPath()); }
    void init()
    {
        // Every key-down, in the capture phase so that no element keeps one
        // from it, goes to "/key"; "s" sends the page to "/slow", which the
        // server holds back far longer than any check waits.
        const QString keyScript = QStringLiteral(
            "addEventListener('keydown', (e) => {\n"
            "  const key = (e.altKey ? 'A-' : '') + (e.ctrlKey ? 'C-' : '') + e.key;\n"
            "  fetch('/key?p=' + encodeURIComponent(location.pathname) + '&k=' + "
            "encodeURIComponent(key), {cache: 'no-store'});\n"
            "  if (key === 's') location.href = '/slow';\n"
            "}, true);\n"
            "addEventListener('load', () => "
            "document.body.appendChild(document.createElement('input')).focus());");
        m_server = std::make_unique<TestHttpServer>();
        QVERIFY(m_server->listen());
        for (const QString& page : {"/a", "/b"})
            m_server->routeReportingPage(page, keyScript);
        m_server->routeHtml("/key", "ok");
        m_server->routeHtml("/slow", "<p>slow</p>", 3 * QuillwaveProcess::PatienceMs);
        m_home = std::make_unique<QuillwaveHome>();
        m_copy = std::make_unique<DrivenCopy>(*m_x, *m_home);
    }
    void cleanup()
    {
        m_copy.reset();
        m_home.reset();
    }

    void tabKeysFromInsideThePage()
    {
        // A new tab shows a copy of the page in front. Once the page has
        // completed it has also put its address into the box for good, and
        // the window's activation gave the page the focus.
        const QString a = m_server->url("/a");
        const QString b = m_server->url("/b");
        const QDateTime since = QDateTime::currentDateTime();
        QVERIFY(m_home->isValid() && m_home->seedQuietStore({{"NewAction", "1"}}));
        QVERIFY(m_copy->start({a}) && m_copy->waitForCompletedVisit(a, since));
        QVERIFY(reachesPage("/a", "q", "q"));
        QVERIFY(m_home->forward({b}));
        QVERIFY(until([&] { return m_home->lastOpenSites() == QStringList{a, b}; }));
        QVERIFY(reachesPage("/b", "q", "q"));

        // After each switch the page in front has the keyboard.
        const std::pair<const char*, const char*> steps[] = {
            {"F2", "/a"}, {"F3", "/b"}, {"ctrl+Tab", "/a"}, {"ctrl+shift+Tab", "/b"}};
        for (const auto& [stroke, front] : steps)
            QVERIFY2(m_x->key(stroke) && reachesPage(front, "z", "z"), stroke);
        QVERIFY(m_x->key("F5"));
        QVERIFY(until([&] { return m_server->requestCount("/b/done") == 2; }));
        QVERIFY(reachesPage("/b", "q", "q"));

        // Stopping gives a held-back load up (the engine closes its
        // connection); the page that was shown stays and keeps the keyboard.
        QVERIFY(reachesPage("/b", "s", "s"));
        QVERIFY(until([&] { return m_server->wasRequested("/slow"); }));
        QVERIFY(!m_server->wasAbandoned("/slow"));
        QVERIFY(m_x->key("Escape"));
        QVERIFY(until([&] { return m_server->wasAbandoned("/slow"); }));
        QVERIFY(reachesPage("/b", "z", "z"));

        // Ctrl+W closes it; the tab left in front has the keyboard now.
        QVERIFY(m_x->key("ctrl+w"));
        QVERIFY(until([&] { return m_home->lastOpenSites() == QStringList{a}; }));
        QVERIFY(reachesPage("/a", "z", "z"));
        const int loads = m_server->requestCount("/a/done");
        QVERIFY(m_x->key("ctrl+n"));
        QVERIFY(until([&] { return m_server->requestCount("/a/done") == loads + 1; }));
        QVERIFY(until([&] { return m_home->lastOpenSites() == QStringList{a, a}; }));
        // The shortcuts are the program's: the pages never saw them.
        for (const QString& path : {"/a", "/b"})
            for (const QString& stroke : {"C-n", "C-w", "F2", "F3", "F5", "C-Tab", "Escape"})
                QVERIFY2(!keysSeen(path).contains(stroke), qPrintable(path + ": " + stroke));
        QVERIFY(m_copy->process()->endCleanly());
        QCOMPARE(m_home->lastOpenSites(), (QStringList{a, a}));
    }
};

QTEST_GUILESS_MAIN(tst_KeysE2E)
#include "tst_KeysE2E.moc"

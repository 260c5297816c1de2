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
// page got the key.
class tst_KeysE2E : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QW_START_X_SESSION(m_x, QuillwaveHome::programPath()); }
    void init();
    void cleanup();

    void tabKeysFromInsideThePage();
    void escStopsLoading();
    void altKeys_data();
    void altKeys();

private:
    // Starts a copy on the page at path with the values given stored
    // first; true once the page has loaded and its field holds the focus.
    bool startOnPage(const QString& path, const QList<QPair<QString, QString>>& values = {});
    // The keys the pages at path reported, from the server's request
    // number from on. The strokes a test waits for between them arrive in
    // the order they were pressed.
    QStringList keysSeen(const QString& path, qsizetype from = 0) const;
    // Waits until condition holds; false, with what the pages got and the
    // server saw, when the patience runs out.
    bool until(const std::function<bool()>& condition);
    // Presses stroke and waits until the page at path reports a new
    // key-down equal to entry: the page has the keyboard focus and got it.
    bool reachesPage(const QString& path, const QString& stroke, const QString& entry);

    std::unique_ptr<XSession> m_x;
    std::unique_ptr<TestHttpServer> m_server;
    // Declared in this order: the copy ends before its home goes.
    std::unique_ptr<QuillwaveHome> m_home;
    std::unique_ptr<DrivenCopy> m_copy;
};

namespace
{
// Every key-down, in the capture phase so that no element keeps one from
// it, goes to "/key". "s" sends the page to "/slow", which the server holds
// back.
const QString KeyScript = QStringLiteral(
    "addEventListener('keydown', (e) => {\n"
    "  const key = (e.altKey ? 'A-' : '') + (e.ctrlKey ? 'C-' : '') + e.key;\n"
    "  fetch('/key?p=' + encodeURIComponent(location.pathname) + '&k=' + encodeURIComponent(key),"
    " {cache: 'no-store'});\n"
    "  if (key === 's') location.href = '/slow';\n"
    "}, true);\n"
    "addEventListener('load', () => "
    "document.body.appendChild(document.createElement('input')).focus());");
} // namespace

void tst_KeysE2E::init()
{
    m_server = std::make_unique<TestHttpServer>();
    QVERIFY(m_server->listen());
    for (const QString& page : {"/a", "/b", "/next"})
        m_server->routeReportingPage(page, KeyScript);
    m_server->routeHtml("/key", "ok");
    // Held back far longer than any check waits.
    m_server->routeHtml("/slow", "<p>slow</p>", 3 * QuillwaveProcess::PatienceMs);
    m_home = std::make_unique<QuillwaveHome>();
    m_copy = std::make_unique<DrivenCopy>(*m_x, *m_home);
}

void tst_KeysE2E::cleanup()
{
    m_copy.reset();
    m_home.reset();
}

bool tst_KeysE2E::startOnPage(const QString& path, const QList<QPair<QString, QString>>& values)
{
    // Completed, the page has also put its address into the box for good.
    const QDateTime since = QDateTime::currentDateTime();
    return m_home->isValid() && m_home->seedQuietStore(values) &&
           m_copy->start({m_server->url(path)}) &&
           m_copy->waitForCompletedVisit(m_server->url(path), since) &&
           // The window's activation gave the page the focus; a key shows it.
           reachesPage(path, "q", "q");
}

QStringList tst_KeysE2E::keysSeen(const QString& path, qsizetype from) const
{
    QStringList keys;
    for (const TestHttpServer::Request& request : m_server->requests().mid(from))
    {
        const QUrlQuery query(request.path.section(QLatin1Char('?'), 1));
        if (request.pathOnly() == "/key" && query.queryItemValue("p", QUrl::FullyDecoded) == path)
            keys << query.queryItemValue("k", QUrl::FullyDecoded);
    }
    return keys;
}

bool tst_KeysE2E::until(const std::function<bool()>& condition)
{
    if (QTest::qWaitFor(condition, QuillwaveProcess::PatienceMs))
        return true;
    qWarning("/a got [%s], /b got [%s]; the server saw %s; %s",
             qPrintable(keysSeen("/a").join(' ')), qPrintable(keysSeen("/b").join(' ')),
             qPrintable(m_server->requestedPaths().join(' ')),
             qPrintable(m_copy->process() ? m_copy->process()->describe() : "not started"));
    return false;
}

bool tst_KeysE2E::reachesPage(const QString& path, const QString& stroke, const QString& entry)
{
    const qsizetype before = m_server->requests().size();
    return m_x->key(stroke) && until([&] { return keysSeen(path, before).contains(entry); });
}

void tst_KeysE2E::tabKeysFromInsideThePage()
{
    // A new tab shows a copy of the page in front.
    QVERIFY(startOnPage("/a", {{"NewAction", "1"}}));
    const QString a = m_server->url("/a");
    const QString b = m_server->url("/b");
    QVERIFY(m_home->forward({b}));
    QVERIFY(until([&] { return m_home->lastOpenSites() == QStringList{a, b}; }));
    QVERIFY(reachesPage("/b", "q", "q"));

    // After each switch the page in front has the keyboard.
    const std::pair<const char*, const char*> steps[] = {
        {"F2", "/a"}, {"F3", "/b"}, {"ctrl+Tab", "/a"}, {"ctrl+shift+Tab", "/b"}};
    for (const auto& [stroke, front] : steps)
        QVERIFY2(m_x->key(stroke) && reachesPage(front, "z", "z"), stroke);
    // F5 reloads the page in front, which has the keyboard again.
    QVERIFY(m_x->key("F5"));
    QVERIFY(until([&] { return m_server->requestCount("/b/done") == 2; }));
    QVERIFY(reachesPage("/b", "q", "q"));

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
        for (const QString& stroke : {"C-n", "C-w", "F2", "F3", "F5", "C-Tab"})
            QVERIFY2(!keysSeen(path).contains(stroke), qPrintable(path + ": " + stroke));
    QVERIFY(m_copy->process()->endCleanly());
    QCOMPARE(m_home->lastOpenSites(), (QStringList{a, a}));
}

void tst_KeysE2E::escStopsLoading()
{
    QVERIFY(startOnPage("/a"));
    // The page starts a load that the server holds back.
    QVERIFY(reachesPage("/a", "s", "s"));
    QVERIFY(until([&] { return m_server->wasRequested("/slow"); }));
    QVERIFY(!m_server->wasAbandoned("/slow"));

    // Stopping gives the request up: the engine closes its connection.
    QVERIFY(m_x->key("Escape"));
    QVERIFY(until([&] { return m_server->wasAbandoned("/slow"); }));
    // The page that was shown stays, and keeps the keyboard.
    QVERIFY(reachesPage("/a", "z", "z"));
    QVERIFY(!keysSeen("/a").contains("Escape"));
}

void tst_KeysE2E::altKeys_data()
{
    QTest::addColumn<bool>("disabled");
    QTest::newRow("Alt shortcuts on: the File menu, the address box") << false;
    QTest::newRow("Alt shortcuts off: the page") << true;
}

void tst_KeysE2E::altKeys()
{
    QFETCH(bool, disabled);
    QVERIFY(startOnPage("/a", {{"DisableALTShortcuts", disabled ? "1" : "0"}}));
    QString page = QStringLiteral("/a");
    if (disabled)
    {
        QVERIFY(reachesPage(page, "alt+d", "A-d"));
        QVERIFY(reachesPage(page, "alt+f", "A-f"));
    }
    else
    {
        // Alt+D: the box shows the page's address, and typing replaces all
        // of it; none of it goes to the page (the Alt key alone may).
        QVERIFY(m_copy->submitAddress(*m_server, m_server->url("/next")));
        QVERIFY(until([&] { return m_server->wasRequested("/next/done"); }));
        QCOMPARE(m_server->lastRequest("/next").path, QStringLiteral("/next"));
        QStringList keys = keysSeen(page);
        keys.removeIf([](const QString& key) { return key.endsWith("Alt"); });
        QCOMPARE(keys, QStringList{"q"});
        page = QStringLiteral("/next");
        QVERIFY(reachesPage(page, "q", "q"));
        QVERIFY(m_x->key("alt+f"));
        QVERIFY(until([&] { return !m_copy->popups().isEmpty(); }));
        QVERIFY(m_x->key("Escape"));
        QVERIFY(until([&] { return m_copy->popups().isEmpty(); }));
    }
    // No menu holds the keyboard: the next key reaches the page, and its keys
    // arrive in order, so an Alt+F it saw would stand before "z".
    QVERIFY(reachesPage(page, "z", "z"));
    QVERIFY(m_copy->popups().isEmpty());
    QCOMPARE(keysSeen(page).contains("A-f"), disabled);
}

QTEST_GUILESS_MAIN(tst_KeysE2E)
#include "tst_KeysE2E.moc"

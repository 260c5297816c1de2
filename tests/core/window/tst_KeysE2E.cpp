#include "DrivenCopy.h"
#include "QuillwaveHome.h"
#include "TestHttpServer.h"
#include "XSession.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTest>
#include <QUrlQuery>

#include <memory>

// The program's keyboard shortcuts while a page has the keyboard focus,
// pressed as real keys. Each page reports every key-down it receives to
// the server, so the test sees both what the program did and whether the
// page got the key.
class tst_KeysE2E : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void tabKeysFromInsideThePage();
    void escStopsLoading();
    void altDSelectsAddressText();
    void altF_data();
    void altF();

private:
    // A copy started on the page at path with the values given set first,
    // that has the page loaded and the page's field holding the focus.
    bool startOnPage(DrivenCopy& copy, QuillwaveHome& home, const QString& path,
                     const QList<QPair<QString, QString>>& values = {});

    std::unique_ptr<XSession> m_x;
    std::unique_ptr<TestHttpServer> m_server;
};

namespace
{
constexpr int PatienceMs = DrivenCopy::PatienceMs;

// A page with a focused text field whose every key-down, in the capture
// phase so that no element keeps one from it, is reported to "/key" with
// the whole list its document has seen so far, so that the longest report
// tells the order whatever order the reports arrive in. "s" sends the page
// to "/slow", which the server holds back.
QByteArray keyPage(const QString& path)
{
    return QStringLiteral(
               "<!DOCTYPE html><html><head><title>%1</title></head><body><p>%1</p>"
               "<input id='field'><script>\n"
               "const seen = [];\n"
               "const doc = Math.random().toString(36).slice(2);\n"
               "addEventListener('keydown', (e) => {\n"
               "  seen.push((e.altKey ? 'A-' : '') + (e.ctrlKey ? 'C-' : '') + e.key);\n"
               "  fetch('/key?p=' + encodeURIComponent(location.pathname) + '&d=' + doc"
               " + '&n=' + seen.length"
               " + '&log=' + encodeURIComponent(seen.join(' ')), {cache: 'no-store'});\n"
               "  if (e.key === 's' && !e.altKey && !e.ctrlKey) location.href = '/slow';\n"
               "}, true);\n"
               "addEventListener('load', () => {\n"
               "  document.getElementById('field').focus();\n"
               "  fetch(location.pathname + '/done', {cache: 'no-store'});\n"
               "});\n"
               "</script></body></html>")
        .arg(path)
        .toUtf8();
}

// The keys without those that only press a modifier: the page gets the
// Alt or Ctrl key itself before the program decides about the combination.
QStringList withoutModifierKeys(const QStringList& keys)
{
    static const QRegularExpression modifier(
        QStringLiteral("^(A-)?(C-)?(Alt|Control|Shift|Meta|AltGraph)$"));
    QStringList kept;
    for (const QString& key : keys)
        if (!modifier.match(key).hasMatch())
            kept << key;
    return kept;
}

int requestCount(const TestHttpServer& server, const QString& path)
{
    int count = 0;
    for (const TestHttpServer::Request& request : server.requests())
        if (request.pathOnly() == path)
            ++count;
    return count;
}

// The keys the pages at path reported, in the order they received them:
// each document (a reload makes a new one) reports its whole list every
// time, so its longest report holds all its keys in order; the documents
// follow each other in the order they first reported.
QStringList keysSeen(const TestHttpServer& server, const QString& path)
{
    QStringList documents;
    QHash<QString, QPair<int, QStringList>> longest;
    for (const TestHttpServer::Request& request : server.requests())
    {
        if (request.pathOnly() != QLatin1String("/key"))
            continue;
        const QUrlQuery query(request.path.section(QLatin1Char('?'), 1));
        if (query.queryItemValue(QStringLiteral("p"), QUrl::FullyDecoded) != path)
            continue;
        const QString document = query.queryItemValue(QStringLiteral("d"));
        if (!longest.contains(document))
        {
            documents << document;
            longest.insert(document, {-1, {}});
        }
        const int count = query.queryItemValue(QStringLiteral("n")).toInt();
        if (count > longest[document].first)
            longest[document] = {count,
                                 query.queryItemValue(QStringLiteral("log"), QUrl::FullyDecoded)
                                     .split(QLatin1Char(' '), Qt::SkipEmptyParts)};
    }
    QStringList keys;
    for (const QString& document : std::as_const(documents))
        keys += longest.value(document).second;
    return keys;
}

QString report(const TestHttpServer& server, DrivenCopy& copy)
{
    QStringList pages;
    for (const QString& path : {"/a", "/b"})
        pages << path + QStringLiteral(" got [") + keysSeen(server, path).join(QLatin1Char(' ')) +
                     QLatin1Char(']');
    return pages.join(QStringLiteral(", ")) + QStringLiteral("; requests: ") +
           server.requestedPaths()
               .filter(QRegularExpression(QStringLiteral("^/(?!key)")))
               .join(QLatin1Char(' ')) +
           QStringLiteral("; ") + copy.describe();
}

// Presses stroke and waits until the page at path reports a new key-down
// equal to entry: the page has the keyboard focus and got that key.
bool reachesPage(const TestHttpServer& server, DrivenCopy& copy, const QString& path,
                 const QString& stroke, const QString& entry)
{
    const qsizetype before = keysSeen(server, path).size();
    if (!copy.key(stroke))
        return false;
    return QTest::qWaitFor(
        [&]
        {
            const QStringList keys = keysSeen(server, path);
            return keys.mid(before).contains(entry);
        },
        PatienceMs);
}
} // namespace

void tst_KeysE2E::initTestCase()
{
    QW_START_X_SESSION(m_x, QuillwaveHome::programPath());
}

bool tst_KeysE2E::startOnPage(DrivenCopy& copy, QuillwaveHome& home, const QString& path,
                              const QList<QPair<QString, QString>>& values)
{
    m_server = std::make_unique<TestHttpServer>();
    if (!m_server->listen())
        return false;
    for (const QString& page : {"/a", "/b"})
        m_server->routeHtml(page, keyPage(page));
    TestHttpServer::Response key;
    key.contentType = QByteArrayLiteral("text/plain");
    key.body = QByteArrayLiteral("ok");
    m_server->route(QStringLiteral("/key"), key);
    // Held back far longer than any check waits.
    m_server->routeHtml(QStringLiteral("/slow"), keyPage(QStringLiteral("/slow")), 120000);

    QList<QPair<QString, QString>> all{{"AskDefaultBrowser", "0"},
                                       {"ConfirmShutdown", "0"},
                                       {"VersionCheck", "0"},
                                       {"PopupVostelNotify", "0"},
                                       {"StartupMode", "Last"}};
    all += values;
    for (const auto& [name, text] : all)
        if (!home.setValue(name, text))
            return false;
    // Completed, the page has also put its address into the box for good.
    const QDateTime since = QDateTime::currentDateTime();
    if (!copy.start({m_server->url(path)}) ||
        !copy.waitForCompletedVisit(m_server->url(path), since))
        return false;
    // The window's activation gave the page the focus; a key shows it.
    return reachesPage(*m_server, copy, path, QStringLiteral("q"), QStringLiteral("q"));
}

void tst_KeysE2E::tabKeysFromInsideThePage()
{
    QuillwaveHome home;
    QVERIFY(home.isValid());
    DrivenCopy copy(*m_x, home);
    // A new tab shows a copy of the page in front.
    QVERIFY2(startOnPage(copy, home, "/a", {{"NewAction", "1"}}),
             qPrintable(report(*m_server, copy)));
    const QString a = m_server->url(QStringLiteral("/a"));
    const QString b = m_server->url(QStringLiteral("/b"));
    QVERIFY2(copy.forward(b), qPrintable(copy.describe()));
    QTRY_VERIFY2_WITH_TIMEOUT(m_server->wasRequested("/b/done"),
                              qPrintable(report(*m_server, copy)), PatienceMs);
    QTRY_COMPARE_WITH_TIMEOUT(copy.lastOpenSites(), (QStringList{a, b}), PatienceMs);
    QVERIFY2(reachesPage(*m_server, copy, "/b", "q", "q"), qPrintable(report(*m_server, copy)));

    // After each switch the page in front has the keyboard.
    const std::pair<const char*, const char*> steps[] = {
        {"F2", "/a"}, {"F3", "/b"}, {"ctrl+Tab", "/a"}, {"ctrl+shift+Tab", "/b"}};
    for (const auto& [stroke, front] : steps)
    {
        QVERIFY2(copy.key(QString::fromLatin1(stroke)), stroke);
        QVERIFY2(reachesPage(*m_server, copy, front, "z", "z"),
                 qPrintable(QString::fromLatin1(stroke) + ": " + report(*m_server, copy)));
    }
    // F5 reloads the page in front, which has the keyboard again.
    QVERIFY(copy.key(QStringLiteral("F5")));
    QTRY_VERIFY2_WITH_TIMEOUT(requestCount(*m_server, "/b/done") == 2,
                              qPrintable(report(*m_server, copy)), PatienceMs);
    QVERIFY2(reachesPage(*m_server, copy, "/b", "q", "q"), qPrintable(report(*m_server, copy)));

    // Ctrl+W closes it; the tab left in front has the keyboard now.
    QVERIFY(copy.key(QStringLiteral("ctrl+w")));
    QTRY_COMPARE_WITH_TIMEOUT(copy.lastOpenSites(), QStringList{a}, PatienceMs);
    QVERIFY2(reachesPage(*m_server, copy, "/a", "z", "z"), qPrintable(report(*m_server, copy)));

    const int loads = requestCount(*m_server, "/a/done");
    QVERIFY(copy.key(QStringLiteral("ctrl+n")));
    QTRY_VERIFY2_WITH_TIMEOUT(requestCount(*m_server, "/a/done") == loads + 1,
                              qPrintable(report(*m_server, copy)), PatienceMs);
    QTRY_COMPARE_WITH_TIMEOUT(copy.lastOpenSites(), (QStringList{a, a}), PatienceMs);
    // The shortcuts are the program's: the pages never saw them.
    for (const QString& path : {"/a", "/b"})
        for (const QString& stroke : {"C-n", "C-w", "F2", "F3", "F5", "C-Tab"})
            QVERIFY2(!keysSeen(*m_server, path).contains(stroke),
                     qPrintable(stroke + ": " + report(*m_server, copy)));
    QVERIFY2(copy.endCleanly(), qPrintable(copy.describe()));
    QCOMPARE(copy.lastOpenSites(), (QStringList{a, a}));
}

void tst_KeysE2E::escStopsLoading()
{
    QuillwaveHome home;
    QVERIFY(home.isValid());
    DrivenCopy copy(*m_x, home);
    QVERIFY2(startOnPage(copy, home, "/a"), qPrintable(report(*m_server, copy)));

    // The page starts a load that the server holds back.
    QVERIFY2(reachesPage(*m_server, copy, "/a", "s", "s"), qPrintable(report(*m_server, copy)));
    QTRY_VERIFY2_WITH_TIMEOUT(m_server->wasRequested("/slow"), qPrintable(report(*m_server, copy)),
                              PatienceMs);
    QVERIFY(!m_server->wasAbandoned(QStringLiteral("/slow")));

    // Stopping gives the request up: the engine closes its connection.
    QVERIFY(copy.key(QStringLiteral("Escape")));
    QTRY_VERIFY2_WITH_TIMEOUT(m_server->wasAbandoned(QStringLiteral("/slow")),
                              qPrintable(report(*m_server, copy)), PatienceMs);
    // The page that was shown stays, and keeps the keyboard.
    QVERIFY2(reachesPage(*m_server, copy, "/a", "z", "z"), qPrintable(report(*m_server, copy)));
    QVERIFY2(!keysSeen(*m_server, "/a").contains(QStringLiteral("Escape")),
             qPrintable(report(*m_server, copy)));
}

void tst_KeysE2E::altDSelectsAddressText()
{
    QuillwaveHome home;
    QVERIFY(home.isValid());
    DrivenCopy copy(*m_x, home);
    QVERIFY2(startOnPage(copy, home, "/a"), qPrintable(report(*m_server, copy)));
    m_server->routeHtml(QStringLiteral("/next"), keyPage(QStringLiteral("/next")));

    // The box shows the page's address; typing replaces all of it.
    QVERIFY(copy.key(QStringLiteral("alt+d")));
    QVERIFY(copy.type(m_server->url(QStringLiteral("/next"))));
    QVERIFY(copy.key(QStringLiteral("Return")));
    QTRY_VERIFY2_WITH_TIMEOUT(m_server->wasRequested("/next/done"),
                              qPrintable(report(*m_server, copy)), PatienceMs);
    QCOMPARE(m_server->lastRequest(QStringLiteral("/next")).path, QStringLiteral("/next"));
    // None of it went to the page; the Alt key alone may.
    QVERIFY2(withoutModifierKeys(keysSeen(*m_server, "/a")) == QStringList{QStringLiteral("q")},
             qPrintable(report(*m_server, copy)));
}

void tst_KeysE2E::altF_data()
{
    QTest::addColumn<bool>("disabled");
    QTest::newRow("Alt shortcuts on: the File menu") << false;
    QTest::newRow("Alt shortcuts off: the page") << true;
}

void tst_KeysE2E::altF()
{
    QFETCH(bool, disabled);
    QuillwaveHome home;
    QVERIFY(home.isValid());
    DrivenCopy copy(*m_x, home);
    QVERIFY2(startOnPage(copy, home, "/a", {{"DisableALTShortcuts", disabled ? "1" : "0"}}),
             qPrintable(report(*m_server, copy)));
    QVERIFY(copy.popups().isEmpty());

    if (disabled)
    {
        QVERIFY2(reachesPage(*m_server, copy, "/a", "alt+f", "A-f"),
                 qPrintable(report(*m_server, copy)));
    }
    else
    {
        QVERIFY(copy.key(QStringLiteral("alt+f")));
        QTRY_VERIFY2_WITH_TIMEOUT(!copy.popups().isEmpty(), qPrintable(report(*m_server, copy)),
                                  PatienceMs);
        QVERIFY(copy.key(QStringLiteral("Escape")));
        QTRY_VERIFY2_WITH_TIMEOUT(copy.popups().isEmpty(), qPrintable(report(*m_server, copy)),
                                  PatienceMs);
    }
    // No menu holds the keyboard: the next key reaches the page, and its keys
    // arrive in order, so an Alt+F it saw would stand before "z".
    QVERIFY2(reachesPage(*m_server, copy, "/a", "z", "z"), qPrintable(report(*m_server, copy)));
    QVERIFY(copy.popups().isEmpty());
    QCOMPARE(keysSeen(*m_server, "/a").contains(QStringLiteral("A-f")), disabled);
}

QTEST_GUILESS_MAIN(tst_KeysE2E)
#include "tst_KeysE2E.moc"

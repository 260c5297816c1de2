#include "ScriptedServices.h"
#include "TestHttpServer.h"
#include "TestStore.h"
#include "chrome/VersionCheck.h"
#include "chrome/VersionCheckRules.h"
#include "chrome/VersionFetch.h"
#include "core/engine/TEngineProfile.h"

#include <QSignalSpy>
#include <QTest>

namespace
{
const QByteArray Announcing = "PONG=TRUE\nVERID=150\nVERSION=6.3\nVERURL=http://q.test/r\n";
const QDate Today(2024, 5, 10);
} // namespace

// The rules of the check (when to ask, what to ask, what an answer means),
// then the check against a real HTTP server: what each kind of answer shows,
// opens and stores, and when no request leaves at all.
class tst_VersionCheck : public QObject
{
    Q_OBJECT

    static qint64 day(const char* iso)
    {
        return VersionCheckRules::DayNumber(QDate::fromString(iso, Qt::ISODate));
    }

private:
    std::unique_ptr<TestStore> m_store;
    std::unique_ptr<TestHttpServer> m_server;
    ScriptedServices m_services;
    std::unique_ptr<VersionCheck> m_check;
    QStringList m_opened;

private slots:
    void contactAndMonthFlag()
    {
        // Today is 2024-05-01. Stored day numbers count from 1899-12-30.
        // Last contact, contact due, first contact of the month.
        // clang-format off
        const QList<std::tuple<qint64, bool, bool>> rows = {
            {0, true, true},                      // never contacted
            {45413, false, false},                // stored count of today
            {day("2024-04-30"), true, true},      // last month
            {day("2023-05-01"), true, true},      // same month, 2023
            {day("2024-05-20"), true, false},     // clock set back
            {-99999999, true, true}};              // junk day number
        // clang-format on
        for (const auto& [lastPong, due, firstOfMonth] : rows)
        {
            QCOMPARE(VersionCheckRules::ContactDue(QDate(2024, 5, 1), lastPong), due);
            QCOMPARE(VersionCheckRules::FirstContactOfMonth(QDate(2024, 5, 1), lastPong),
                     firstOfMonth);
        }
    }

    void requestUrl()
    {
        // Server, request with new=1 and mo=0; empty: no request.
        // clang-format off
        const QList<QPair<QString, QString>> rows = {
            {"https://version.quillwave.invalid", "https://version.quillwave.invalid/?ver=620&new=1&mo=0"},
            {" http://127.0.0.1:8080/ ", "http://127.0.0.1:8080/?ver=620&new=1&mo=0"},
            {"https://v.example/check", ""}, {"https://v.example/?x=1", ""},
            {"file:///etc/passwd", ""}, {"v.example", ""}, {"https://user:pw@v.example", ""}};
        // clang-format on
        for (const auto& [server, expected] : rows)
        {
            const std::optional<QUrl> url = VersionCheckRules::RequestUrl(server, true, false);
            QCOMPARE(url ? url->toString() : QString(), expected);
        }
    }

    void decide()
    {
        // The answer ("|" separates lines), a new installation, what is stored
        // and offered; CheckedVersion is 145.
        // clang-format off
        const QList<std::tuple<QString, bool, QString>> rows = {
            {"PONG=TRUE|VERID=150|VERSION=6.3|VERURL=https://q.example/6.3", false, "pong 150 6.3 https://q.example/6.3"},
            {"PONG=TRUE|VERID=145|VERSION=6.2|VERURL=https://q.example/", true, "pong clearNew"},
            {"VERID=146|VERSION=6.3|VERURL=http://q.example/", true, "146 6.3 http://q.example/"},
            {"PONG=true|VERID=1", true, ""}, // pong not TRUE
            {"PONG=TRUE|VERID=15x|VERSION=6.3|VERURL=https://q.example/", false, "pong"},
            {"VERID=99999999999|VERSION=6.3|VERURL=https://q.example/", false, ""},
            {"VERID=150|VERURL=https://q.example/", false, ""},
            {"VERID=150|VERSION=6.3", false, ""},
            {"VERID=150|VERSION=6.3|VERURL=javascript:alert(1)", false, ""},
            {"VERID=150|VERSION=6.3|VERURL=file:///etc/passwd", false, ""},
            {" pong = TRUE \r| verid=150\r|Version= 6.3 \r|verurl=https://q.example/a=b\r", false, "pong 150 6.3 https://q.example/a=b"},
            {"VERID=150|VERID=999|VERSION=6.3|VERURL=https://q.example/", false, "150 6.3 https://q.example/"}, // first of a name
            {"<html><body>Sign in to the network</body></html>", true, ""},
            {"\xEF\xBB\xBFPONG=TRUE", false, "pong"}}; // byte order mark
        // clang-format on
        for (auto [answer, isNew, expected] : rows)
        {
            const auto o = VersionCheckRules::Decide(
                VersionCheckRules::ParseResponse(answer.replace('|', '\n')), Today, isNew, 145);
            QStringList seen;
            if (o.lastPong)
                seen << (*o.lastPong == day("2024-05-10") ? "pong" : "pong on another day");
            if (o.clearNew)
                seen << "clearNew";
            if (o.announce())
                seen << QString::number(*o.checkedVersion) << o.version << o.releasePage;
            QCOMPARE(seen.join(' '), expected);
        }
    }

    void init()
    {
        m_store = std::make_unique<TestStore>();
        m_server = std::make_unique<TestHttpServer>();
        QVERIFY(m_server->listen());
        m_store->options->SetVersionServer(m_server->url(QString()));
        m_services.confirmCalls.clear();
        m_opened.clear();
        m_check = std::make_unique<VersionCheck>(m_store->options.get(), &m_services,
                                                 [this](const QString& url) { m_opened << url; });
        m_check->SetNetworkDown([] { return false; });
    }

    void answers()
    {
        const QByteArray plain = "text/plain; charset=utf-8";
        const QByteArray full = Announcing.leftJustified(VersionFetch::MaxBytes - 1, 'x') + '\n';
        // Status, content type, body, answer to the question; what was asked,
        // opened and stored.
        // clang-format off
        const QList<std::tuple<int, QByteArray, QByteArray, bool, QString>> rows = {
            {200, plain, Announcing, true, "asked http://q.test/r stored"},
            {200, plain, Announcing, false, "asked stored"},
            {200, plain, full, true, "asked http://q.test/r stored"}, // 64 KiB exactly
            {200, plain, full + 'x', true, ""},                       // one byte more
            {404, plain, Announcing, true, ""},
            {200, "text/html", Announcing, true, ""}};
        // clang-format on
        for (const auto& [status, contentType, body, yes, expected] : rows)
        {
            init();
            m_server->route("/", TestHttpServer::Response{status, contentType, body});
            m_services.confirmAnswer = {yes, false};
            QSignalSpy finished(m_check.get(), &VersionCheck::finished);
            QVERIFY(m_check->Check(Today));
            QVERIFY(finished.wait());
            QCOMPARE(m_server->lastRequest("/").path, QStringLiteral("/?ver=620&new=0&mo=1"));
            QStringList seen;
            if (!m_services.confirmCalls.isEmpty())
                seen << QStringLiteral("asked");
            seen << m_opened;
            if (m_store->options->LastPong() == VersionCheckRules::DayNumber(Today) &&
                m_store->options->CheckedVersion() == 150)
                seen << QStringLiteral("stored");
            else
                QCOMPARE(m_store->options->CheckedVersion(), 145);
            QCOMPARE(seen.join(QLatin1Char(' ')), expected);
        }
    }

    void noContactOfflineOrWithoutNetwork()
    {
        TEngineProfile::setWorkOffline(true);
        const bool madeOffline = m_check->Check(Today);
        TEngineProfile::setWorkOffline(false);
        m_check->SetNetworkDown([] { return true; });
        QVERIFY(!madeOffline && !m_check->Check(Today) && !m_check->Pending());
    }
};

QTEST_GUILESS_MAIN(tst_VersionCheck)
#include "tst_VersionCheck.moc"

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

// The check against a real HTTP server: what each kind of answer shows,
// opens and stores, and when no request leaves at all.
class tst_VersionCheck : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestStore> m_store;
    std::unique_ptr<TestHttpServer> m_server;
    ScriptedServices m_services;
    std::unique_ptr<VersionCheck> m_check;
    QStringList m_opened;

private slots:
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
            m_server->route(QStringLiteral("/"),
                            TestHttpServer::Response{status, contentType, body});
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

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

// The check against a real HTTP server: what reaches the service, and what
// each kind of answer shows, opens and stores.
class tst_VersionCheck : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestStore> m_store;
    std::unique_ptr<TestHttpServer> m_server;
    std::unique_ptr<ScriptedServices> m_services;
    std::unique_ptr<VersionCheck> m_check;
    QStringList m_opened;

    // Runs one check to its end; false when none was made.
    bool runCheck()
    {
        QSignalSpy finished(m_check.get(), &VersionCheck::finished);
        if (!m_check->Check(Today))
            return false;
        return finished.wait(VersionFetch::TimeoutMs) && !m_check->Pending();
    }

private slots:
    void init()
    {
        m_store = std::make_unique<TestStore>();
        m_server = std::make_unique<TestHttpServer>();
        QVERIFY(m_server->listen());
        m_store->options->SetVersionServer(m_server->url(QString()));
        m_services = std::make_unique<ScriptedServices>();
        m_services->textFn = [](const QString&, const QString& key) {
            return key == QLatin1String("VersionNotifyLabel") ? QStringLiteral("Q %1 is out") : key;
        };
        m_opened.clear();
        m_check = std::make_unique<VersionCheck>(m_store->options.get(), m_services.get(),
                                                 [this](const QString& url) { m_opened << url; });
        m_check->SetNetworkDown([] { return false; });
    }
    void cleanup()
    {
        m_check.reset();
        TEngineProfile::setWorkOffline(false);
    }

    void answers_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("stored"); // LastPong and CheckedVersion
        QTest::addColumn<QString>("opened");
        const QByteArray plain = "text/plain";
        const qint64 room = VersionFetch::MaxBytes - Announcing.size();
        const QByteArray full = Announcing + QByteArray(room - 1, 'x') + '\n';
        // clang-format off
        QTest::newRow("yes")               << 200 << plain                            << Announcing       << true  << true  << true  << "http://q.test/r";
        QTest::newRow("no")                << 200 << plain                            << Announcing       << false << true  << true  << "";
        QTest::newRow("with charset")      << 200 << QByteArray("text/plain; charset=utf-8") << Announcing << true << true << true  << "http://q.test/r";
        QTest::newRow("64 KiB exactly")    << 200 << plain                            << full             << true  << true  << true  << "http://q.test/r";
        QTest::newRow("one byte more")     << 200 << plain                            << full + 'x'       << true  << false << false << "";
        QTest::newRow("not found")         << 404 << plain                            << Announcing       << true  << false << false << "";
        QTest::newRow("server error")      << 500 << plain                            << Announcing       << true  << false << false << "";
        QTest::newRow("an HTML page")      << 200 << QByteArray("text/html")          << Announcing       << true  << false << false << "";
        // clang-format on
    }
    void answers()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, body);
        QFETCH(bool, yes);
        QFETCH(bool, stored);
        m_server->route(QStringLiteral("/"), TestHttpServer::Response{status, contentType, body});
        m_services->confirmAnswer = {yes, false};

        QVERIFY(runCheck());
        QTEST(m_services->confirmCalls.size() == 1, "asked");
        if (!m_services->confirmCalls.isEmpty())
        {
            const ScriptedServices::ConfirmCall& call = m_services->confirmCalls.first();
            QCOMPARE(call.caption, QStringLiteral("VersionNotifyCaption"));
            QCOMPARE(call.title, QStringLiteral("Q 6.3 is out"));
            QCOMPARE(call.checkText, QString());
        }
        QTEST(m_opened.value(0), "opened");
        QCOMPARE(m_store->options->LastPong(),
                 stored ? int(VersionCheckRules::DayNumber(Today)) : 0);
        QCOMPARE(m_store->options->CheckedVersion(), stored ? 150 : 145);
    }

    // The request names the installation and the month; an acknowledged
    // contact ends the new state and the same day makes no second contact,
    // while an unacknowledged one is tried again.
    void contactsOncePerAcknowledgedDay()
    {
        m_store->options->SetNew(true);
        QByteArray answer = "VERID=1\n";
        m_server->route(QStringLiteral("/"),
                        [&](const TestHttpServer::Request&) {
                            return TestHttpServer::Response{200, "text/plain", answer};
                        });
        QVERIFY(runCheck());
        QCOMPARE(m_server->lastRequest("/").path, QStringLiteral("/?ver=620&new=1&mo=1"));
        QVERIFY(m_store->options->New());

        answer = "PONG=TRUE\n";
        QVERIFY(runCheck());
        QCOMPARE(m_server->requestCount("/"), 2);
        QVERIFY(!m_store->options->New());
        QVERIFY(!m_check->Check(Today));

        QSignalSpy finished(m_check.get(), &VersionCheck::finished);
        QVERIFY(m_check->Check(Today.addDays(1)));
        QVERIFY(finished.wait());
        QCOMPARE(m_server->lastRequest("/").path, QStringLiteral("/?ver=620&new=0&mo=0"));
        QVERIFY(m_services->confirmCalls.isEmpty());
    }

    void noContact_data()
    {
        QTest::addColumn<bool>("offline");
        QTest::addColumn<bool>("networkDown");
        QTest::addColumn<QString>("server");
        // clang-format off
        QTest::newRow("working offline") << true  << false << "";
        QTest::newRow("no network")      << false << true  << "";
        QTest::newRow("server with path")<< false << false << "/check";
        QTest::newRow("not a server")    << false << false << "quillwave:blank";
        // clang-format on
    }
    void noContact()
    {
        QFETCH(bool, offline);
        QFETCH(bool, networkDown);
        QFETCH(QString, server);
        m_server->route(QStringLiteral("/"),
                        TestHttpServer::Response{200, "text/plain", Announcing});
        TEngineProfile::setWorkOffline(offline);
        m_check->SetNetworkDown([networkDown] { return networkDown; });
        if (server.startsWith(QLatin1Char('/')))
            m_store->options->SetVersionServer(m_server->url(server));
        else if (!server.isEmpty())
            m_store->options->SetVersionServer(server);

        QVERIFY(!m_check->Check(Today));
        QVERIFY(!m_check->Pending());
        QVERIFY(m_server->requests().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_VersionCheck)
#include "tst_VersionCheck.moc"

// The questions a page asks of the user, against the real engine and a
// loopback server that wants a login.

#include "EngineTestHelpers.h"
#include "TestHttpServer.h"

#include "core/dialogs/TPageDialogs.h"
#include "core/engine/TVostelBrowser.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace EngineTestHelpers;

namespace
{
constexpr int Timeout = 20000;

// A page behind a Basic login: the right user name and password see it,
// everyone else gets the refusal with the realm.
TestHttpServer::Handler loginPage(const QByteArray& realm, const QByteArray& user,
                                  const QByteArray& password)
{
    return [=](const TestHttpServer::Request& request)
    {
        TestHttpServer::Response response;
        if (request.headers.value("authorization") == "Basic " + (user + ':' + password).toBase64())
        {
            response.body = "<!DOCTYPE html><title>Welcome</title><p>inside</p>";
            return response;
        }
        response.status = 401;
        response.headers.append({"WWW-Authenticate", "Basic realm=\"" + realm + "\""});
        response.body = "<!DOCTYPE html><title>Refused</title><p>no entry without a login</p>";
        return response;
    };
}

struct Question
{
    QString host;
    QString realm;
    QString user;
    bool refused = false;
};
} // namespace

class tst_TVostelPage : public QObject
{
    Q_OBJECT

private:
    TestHttpServer server;
    std::unique_ptr<TVostelBrowser> browser;
    QList<Question> questions;

    // Every question is recorded; answers says what the user does with the
    // n-th: a password to give, or nothing to cancel.
    void answerWith(const QList<std::optional<QString>>& answers)
    {
        TPageDialogs::setAuthenticationAsker(
            [this, answers](QWidget*, const QString& host, const QString& realm, bool,
                            TPageDialogs::Credentials& credentials)
            {
                questions.append({host, realm, credentials.user, credentials.refused});
                const qsizetype n = questions.size() - 1;
                if (n >= answers.size() || !answers.at(n))
                    return false;
                credentials.user = QStringLiteral("alice");
                credentials.password = *answers.at(n);
                return true;
            });
    }

private slots:
    void initTestCase()
    {
        QVERIFY(server.listen());
        server.route("/cancelled", loginPage("Cancelled", "alice", "right"));
        server.route("/retried", loginPage("Retried", "alice", "right"));
    }

    void init()
    {
        questions.clear();
        browser = std::make_unique<TVostelBrowser>();
        browser->resize(800, 600);
        server.clearRequests();
    }

    void cleanup()
    {
        browser.reset();
        TPageDialogs::setAuthenticationAsker({});
    }

    void cancelShowsTheServersRefusal()
    {
        answerWith({std::nullopt});
        QSignalSpy finished(browser->page(), &QWebEnginePage::loadFinished);
        browser->Navigate(server.url("/cancelled"));
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(bodyText(browser->page()).contains("no entry"), Timeout);
        QCOMPARE(browser->LocationName(), QStringLiteral("Refused"));
        QCOMPARE(questions.size(), 1);
        QCOMPARE(questions.at(0).realm, QStringLiteral("Cancelled"));
        QCOMPARE(questions.at(0).host, QStringLiteral("127.0.0.1"));
        QVERIFY(!questions.at(0).refused);
        // Nothing was sent again after the user said no.
        QCOMPARE(server.requestedPaths().filter("/cancelled").size(), 1);
    }

    void wrongPasswordIsSaidAndTheUserKept()
    {
        answerWith({QStringLiteral("wrong"), QStringLiteral("right")});
        browser->Navigate(server.url("/retried"));
        QTRY_COMPARE_WITH_TIMEOUT(browser->LocationName(), QStringLiteral("Welcome"), Timeout);
        QCOMPARE(questions.size(), 2);
        QVERIFY(!questions.at(0).refused);
        QVERIFY(questions.at(0).user.isEmpty());
        QVERIFY(questions.at(1).refused);
        QCOMPARE(questions.at(1).user, QStringLiteral("alice"));
        QCOMPARE(questions.at(1).realm, QStringLiteral("Retried"));
    }
};

int main(int argc, char* argv[])
{
    return EngineTestHelpers::engineTestMain<tst_TVostelPage>(argc, argv);
}

#include "tst_TVostelPage.moc"

// The questions a page asks of the user, against the real engine and a
// loopback server that wants a login.

#include "EngineTestHelpers.h"
#include "TestHttpServer.h"

#include "core/dialogs/TPageDialogs.h"
#include "core/engine/TVostelBrowser.h"

#include <QTest>

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

private slots:
    void initTestCase()
    {
        QVERIFY(server.listen());
        server.route("/cancelled", loginPage("Cancelled", "alice", "right"));
        server.route("/retried", loginPage("Retried", "alice", "right"));
    }

    // Each realm is asked about in a page of its own: the engine keeps a
    // login it was given for the rest of the run.
    void loginIsAskedUntilRightOrCancelled_data()
    {
        QTest::addColumn<QString>("realm");
        QTest::addColumn<QStringList>("passwords"); // what the user gives each time; empty: cancel
        QTest::addColumn<QString>("title");
        // clang-format off
        QTest::newRow("cancelled") << "Cancelled" << QStringList{""} << "Refused";
        QTest::newRow("wrong, then right") << "Retried" << QStringList{"wrong", "right"} << "Welcome";
        // clang-format on
    }
    void loginIsAskedUntilRightOrCancelled()
    {
        QFETCH(QString, realm);
        QFETCH(QStringList, passwords);
        QFETCH(QString, title);
        QList<Question> questions;
        TPageDialogs::setAuthenticationAsker(
            [&](QWidget*, const QString& host, const QString& asked, bool,
                TPageDialogs::Credentials& credentials)
            {
                questions.append({host, asked, credentials.user, credentials.refused});
                const QString password = passwords.value(questions.size() - 1);
                credentials.user = QStringLiteral("alice");
                credentials.password = password;
                return !password.isEmpty();
            });
        TVostelBrowser browser;
        server.clearRequests();
        browser.Navigate(server.url("/" + realm.toLower()));
        QTRY_COMPARE_WITH_TIMEOUT(browser.LocationName(), title, Timeout);
        TPageDialogs::setAuthenticationAsker({});
        QCOMPARE(questions.size(), passwords.size());
        QCOMPARE(questions.at(0).host, QStringLiteral("127.0.0.1"));
        QCOMPARE(questions.at(0).realm, realm);
        QVERIFY(!questions.at(0).refused && questions.at(0).user.isEmpty());
        // A wrong password is said, and the user name kept for the next try.
        if (questions.size() > 1)
            QVERIFY(questions.at(1).refused && questions.at(1).user == QStringLiteral("alice"));
        // Nothing is sent again after the user said no.
        if (passwords.constLast().isEmpty())
            QCOMPARE(server.requestedPaths().filter(realm.toLower()).size(), 1);
    }
};

int main(int argc, char* argv[])
{
    return EngineTestHelpers::engineTestMain<tst_TVostelPage>(argc, argv);
}

#include "tst_TVostelPage.moc"

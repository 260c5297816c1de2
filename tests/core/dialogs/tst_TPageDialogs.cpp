#include "ModalDialogAnswerer.h"

#include "chrome/TLanguage.h"
#include "core/dialogs/LoginAttempts.h"
#include "core/dialogs/TPageDialogs.h"
#include "core/dialogs/TfrmAuthentication.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/TCertificateDecision.h"
#include "core/engine/TPageFullScreen.h"
#include "core/engine/TSitePermissions.h"

#include <QAuthenticator>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using Feature = QWebEnginePage::Feature;

namespace
{
void fill(QWidget* dialog, const QString& user, const QString& password)
{
    dialog->findChild<QLineEdit*>("edtUser")->setText(user);
    dialog->findChild<QLineEdit*>("edtPassword")->setText(password);
}

void click(QWidget* dialog, const char* button)
{
    QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
}
} // namespace

class tst_TPageDialogs : public QObject
{
    Q_OBJECT

private:
    TLanguage english;
    // The window the questions belong to; its services give the texts.
    QWidget window;

private slots:
    void initTestCase()
    {
        QVERIFY(english.Load(QStringLiteral(QW_SOURCE_DIR) + "/data/Languages/qweng.ini"));
        new WindowServices(&english, &window);
    }

    void cleanup()
    {
        TPageDialogs::setAuthenticationAsker({});
        TPageDialogs::setCertificateAsker({});
        TPageDialogs::setPermissionAsker({});
        TPageDialogs::sitePermissions().clear();
    }

    void answersArePerSiteAndFeature()
    {
        using Answer = TSitePermissions::Answer;
        TSitePermissions permissions;
        const auto answer = [&](const char* url, Feature feature)
        { return permissions.answer(QUrl(url), feature); };
        const QUrl maps("https://maps.test");
        permissions.remember(maps, QWebEnginePage::Geolocation, true);
        permissions.remember(maps, QWebEnginePage::MediaVideoCapture, false);
        QCOMPARE(answer("https://maps.test:443", QWebEnginePage::Geolocation), Answer::Granted);
        QCOMPARE(answer("https://maps.test", QWebEnginePage::MediaVideoCapture), Answer::Denied);
        QCOMPARE(answer("http://maps.test", QWebEnginePage::Geolocation), Answer::Unknown);

        // Forgetting a site touches that origin only.
        permissions.remember(QUrl("https://maps.test:8443"), QWebEnginePage::Notifications, true);
        permissions.remember(QUrl("https://b.test"), QWebEnginePage::Geolocation, true);
        permissions.forget(maps);
        QCOMPARE(permissions.size(), 2);
        QCOMPARE(answer("https://maps.test:8443", QWebEnginePage::Notifications), Answer::Granted);
    }

    void decisionAsksOncePerSiteAndFeature()
    {
        QList<QPair<QUrl, Feature>> asked;
        bool answer = true;
        TPageDialogs::setPermissionAsker(
            [&](QWidget*, const QUrl& origin, Feature feature)
            {
                asked.append({origin, feature});
                return answer;
            });
        TSitePermissions permissions;
        const auto decide = [&](const char* url)
        {
            return TPageDialogs::decidePermission(permissions, nullptr, QUrl(url),
                                                  QWebEnginePage::Geolocation);
        };
        QVERIFY(decide("https://a.test"));
        answer = false;
        QVERIFY(decide("https://a.test"));
        QCOMPARE(asked.size(), 1);
        QVERIFY(!decide("https://b.test"));
        QCOMPARE(asked.size(), 2);
        // A refusal is remembered as well: the site cannot keep asking.
        answer = true;
        QVERIFY(!decide("https://b.test"));
        QCOMPARE(asked.size(), 2);
    }

    void certificateDecision()
    {
        const struct
        {
            bool overridable, userAgrees;
            const char* calls; // made, in order
        } rows[] = {{false, true, "reject"},
                    {true, true, "defer ask accept"},
                    {true, false, "defer ask reject"}};
        for (const auto& row : rows)
        {
            QStringList calls;
            TCertificateDecision::Actions actions;
            actions.defer = [&] { calls << "defer"; };
            actions.accept = [&] { calls << "accept"; };
            actions.reject = [&] { calls << "reject"; };
            const auto outcome = TCertificateDecision::resolve(
                row.overridable,
                [&]
                {
                    calls << "ask";
                    return row.userAgrees;
                },
                actions);
            QCOMPARE(calls.join(' '), QString(row.calls));
            QCOMPARE(outcome == TCertificateDecision::Accepted, calls.contains("accept"));
        }
    }

    void dialogAnswerFillsOrNullsTheAuthenticator()
    {
        for (const bool ok : {true, false})
        {
            // The engine's authenticator arrives with the realm and the user it
            // knows: not null, so left as it is a cancel would be sent as an
            // empty login and asked about again.
            QAuthenticator auth;
            auth.setRealm("Private");
            auth.setUser("bob");
            QString shownUser;
            ModalDialogAnswerer answerer(
                [&](QWidget* dialog)
                {
                    QVERIFY(qobject_cast<TfrmAuthentication*>(dialog));
                    QVERIFY(dialog->findChild<QLabel*>("lblPrompt")->text().contains("site.test"));
                    shownUser = dialog->findChild<QLineEdit*>("edtUser")->text();
                    fill(dialog, "alice", "s3cret");
                    click(dialog, ok ? "cmdOK" : "cmdCancel");
                });
            TPageDialogs::authenticationRequired(&window, QUrl("http://site.test:8080/p/"), &auth);
            QCOMPARE(shownUser, QString("bob"));
            QCOMPARE(auth.isNull(), !ok);
            QCOMPARE(auth.user(), ok ? QString("alice") : QString());
            QCOMPARE(auth.password(), ok ? QString("s3cret") : QString());
        }
    }

    void refusedAnswerIsSaidAndKeepsTheUser()
    {
        LoginAttempts attempts;
        QStringList shown; // the refusal text, user and password the dialog showed
        ModalDialogAnswerer answerer(
            [&](QWidget* dialog)
            {
                const auto* refused = dialog->findChild<QLabel*>("lblRefused");
                shown << (refused->isHidden() ? QString() : refused->text()) + "|" +
                             dialog->findChild<QLineEdit*>("edtUser")->text() + "|" +
                             dialog->findChild<QLineEdit*>("edtPassword")->text();
                fill(dialog, "alice", shown.size() == 1 ? "wrong" : "right");
                click(dialog, "cmdOK");
            });
        QAuthenticator auth;
        for (int i = 0; i < 2; ++i)
        {
            auth = QAuthenticator();
            auth.setRealm("Private");
            TPageDialogs::authenticationRequired(&window, QUrl("http://site.test/p/"), &auth,
                                                 &attempts);
        }
        QCOMPARE(shown, QStringList({"||", english.GetGlobalText("AuthRefused") + "|alice|"}));
        QCOMPARE(auth.user(), QString("alice"));
        QCOMPARE(auth.password(), QString("right"));
    }

    void otherRealmsProxiesAndCancelledAnswersAreNotRefusals()
    {
        QList<bool> refused;
        QList<QString> users;
        QStringList hosts;
        bool answer = true;
        TPageDialogs::setAuthenticationAsker(
            [&](QWidget*, const QString& host, const QString&, bool proxy,
                TPageDialogs::Credentials& credentials)
            {
                hosts << host + (proxy ? " proxy" : "");
                refused << credentials.refused;
                users << credentials.user;
                credentials.user = "bob";
                credentials.password = "pw";
                return answer;
            });
        LoginAttempts attempts;
        const auto ask = [&](const QString& url, const QString& realm, bool proxy = false)
        {
            QAuthenticator auth;
            auth.setRealm(realm);
            if (proxy)
                TPageDialogs::proxyAuthenticationRequired(&window, QUrl(url), &auth, "proxy.lan",
                                                          &attempts);
            else
                TPageDialogs::authenticationRequired(&window, QUrl(url), &auth, &attempts);
            return auth;
        };
        ask("http://site.test/", "One");
        ask("http://site.test/", "Two");
        ask("http://other.test/", "One");
        QCOMPARE(ask("http://site.test/", "One", true).user(), QString("bob"));
        ask("http://SITE.test/", "One");
        QCOMPARE(refused, QList<bool>({false, false, false, false, true}));
        QCOMPARE(hosts[3], QString("proxy.lan proxy"));
        QCOMPARE(hosts[4], QString("site.test"));
        QCOMPARE(users.last(), QString("bob"));

        // A cancelled question leaves nothing to call refused next time.
        answer = false;
        QVERIFY(ask("http://site.test/", "Three").isNull());
        answer = true;
        ask("http://site.test/", "Three");
        QCOMPARE(refused.last(), false);
    }

    void serverTextIsShownAsPlainText()
    {
        TfrmAuthentication dialog(&window);
        dialog.setRequest("<b>site</b>.test", "<img src=x onerror=alert(1)>Realm", true);
        const auto* realm = dialog.findChild<QLabel*>("lblRealm");
        QCOMPARE(dialog.findChild<QLabel*>("lblPrompt")->textFormat(), Qt::PlainText);
        QCOMPARE(realm->textFormat(), Qt::PlainText);
        QVERIFY(realm->text().contains("<img src=x onerror=alert(1)>Realm"));
    }

    void fullScreenRestoresThePreviousState()
    {
        // The program's own full-screen view stays when the page leaves.
        for (const Qt::WindowState before : {Qt::WindowNoState, Qt::WindowFullScreen})
        {
            QWidget window;
            auto* view = new QWidget(&window);
            window.setWindowState(before);
            window.show();

            TPageFullScreen::enter(view);
            QVERIFY(window.isFullScreen());
            QVERIFY(TPageFullScreen::isActive(&window));
            // A second request while full screen must not forget the first state.
            TPageFullScreen::enter(view);

            TPageFullScreen::leave(view);
            QCOMPARE(window.windowState(), Qt::WindowStates(before));
            QVERIFY(!TPageFullScreen::isActive(&window));
        }
    }

    void closingTheViewGivesTheWindowBack()
    {
        QWidget window;
        QPointer<QWidget> view = new QWidget(&window);
        window.showMaximized();
        TPageFullScreen::enter(view);
        QVERIFY(window.isFullScreen());
        delete view;
        QTRY_VERIFY(!window.isFullScreen());
        QVERIFY(window.windowState() & Qt::WindowMaximized);

        // A window that goes away while a page holds it full screen leaves nothing behind.
        auto* other = new QWidget;
        auto* otherView = new QWidget(other);
        other->show();
        TPageFullScreen::enter(otherView);
        delete other;
        QCoreApplication::processEvents();
        QVERIFY(!TPageFullScreen::isActive(other));
    }
};

QTEST_MAIN(tst_TPageDialogs)
#include "tst_TPageDialogs.moc"

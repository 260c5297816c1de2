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

    // Answers are per origin and feature, refusals included: a site cannot
    // keep asking.
    void permissionIsAskedOncePerSiteAndFeature()
    {
        int asked = 0;
        bool answer = true;
        TPageDialogs::setPermissionAsker(
            [&](QWidget*, const QUrl&, Feature)
            {
                ++asked;
                return answer;
            });
        TSitePermissions permissions;
        const auto decide = [&](const char* url, Feature feature = QWebEnginePage::Geolocation)
        { return TPageDialogs::decidePermission(permissions, nullptr, QUrl(url), feature); };
        QVERIFY(decide("https://a.test"));
        answer = false;
        QVERIFY(decide("https://a.test:443"));
        QVERIFY(!decide("http://a.test"));
        QVERIFY(!decide("https://a.test", QWebEnginePage::MediaVideoCapture));
        answer = true;
        QVERIFY(!decide("http://a.test"));
        QCOMPARE(asked, 3);

        // Forgetting a site touches that origin only.
        permissions.remember(QUrl("https://a.test:8443"), QWebEnginePage::Notifications, true);
        permissions.forget(QUrl("https://a.test"));
        QCOMPARE(permissions.size(), 2);
        QCOMPARE(permissions.answer(QUrl("https://a.test:8443"), QWebEnginePage::Notifications),
                 TSitePermissions::Answer::Granted);
    }

    void certificateDecision()
    {
        for (const auto& [overridable, userAgrees, expected] :
             std::initializer_list<std::tuple<bool, bool, QString>>{
                 {false, true, "reject"},
                 {true, true, "defer ask accept"},
                 {true, false, "defer ask reject"}})
        {
            QStringList calls;
            const auto record = [&calls](const char* call)
            { return [&calls, call] { calls << call; }; };
            const auto outcome = TCertificateDecision::resolve(
                overridable,
                [&]
                {
                    calls << "ask";
                    return userAgrees;
                },
                {record("defer"), record("accept"), record("reject")});
            QCOMPARE(calls.join(' '), expected);
            QCOMPARE(outcome == TCertificateDecision::Accepted, calls.contains("accept"));
        }
    }

    // The engine's authenticator arrives with the realm and the user it knows:
    // not null, so left as it is a cancel would be sent as an empty login and
    // asked about again. An answer asked for again was refused: the dialog
    // says so and keeps the user.
    void dialogAnswersTheAuthenticator()
    {
        LoginAttempts attempts;
        QStringList shown; // the refusal text, user and password the dialog showed
        ModalDialogAnswerer answerer(
            [&](QWidget* dialog)
            {
                QVERIFY(qobject_cast<TfrmAuthentication*>(dialog));
                QVERIFY(dialog->findChild<QLabel*>("lblPrompt")->text().contains("site.test"));
                const auto* refused = dialog->findChild<QLabel*>("lblRefused");
                shown << (refused->isHidden() ? QString() : refused->text()) + "|" +
                             dialog->findChild<QLineEdit*>("edtUser")->text() + "|" +
                             dialog->findChild<QLineEdit*>("edtPassword")->text();
                fill(dialog, "alice", shown.size() == 1 ? "wrong" : "right");
                click(dialog, shown.size() < 3 ? "cmdOK" : "cmdCancel");
            });
        for (int i = 0; i < 3; ++i)
        {
            QAuthenticator auth;
            auth.setRealm("Private");
            auth.setUser(i == 0 ? "bob" : "");
            TPageDialogs::authenticationRequired(&window, QUrl("http://site.test:8080/p/"), &auth,
                                                 &attempts);
            QCOMPARE(auth.isNull(), i == 2);
            QCOMPARE(auth.user(), i == 2 ? QString() : QString("alice"));
            QCOMPARE(auth.password(), i == 2 ? QString() : QString(i ? "right" : "wrong"));
        }
        const QString refused = english.GetGlobalText("AuthRefused") + "|alice|";
        QCOMPARE(shown, QStringList({"|bob|", refused, refused}));
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

    void fullScreenGivesTheWindowBack()
    {
        // The program's own full-screen view stays when the page leaves.
        for (const Qt::WindowState before : {Qt::WindowNoState, Qt::WindowFullScreen})
        {
            QWidget window;
            auto* view = new QWidget(&window);
            window.setWindowState(before);
            window.show();
            TPageFullScreen::enter(view);
            QVERIFY(window.isFullScreen() && TPageFullScreen::isActive(&window));
            // A second request while full screen must not forget the first state.
            TPageFullScreen::enter(view);
            TPageFullScreen::leave(view);
            QCOMPARE(window.windowState(), Qt::WindowStates(before));
            QVERIFY(!TPageFullScreen::isActive(&window));
        }
        // Closing the view leaves full screen too.
        QWidget window;
        QPointer<QWidget> view = new QWidget(&window);
        window.showMaximized();
        TPageFullScreen::enter(view);
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

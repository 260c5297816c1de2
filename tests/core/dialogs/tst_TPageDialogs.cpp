#include "ModalDialogAnswerer.h"

#include "chrome/TLanguage.h"
#include "core/dialogs/LoginAttempts.h"
#include "core/dialogs/TPageDialogs.h"
#include "core/dialogs/TfrmAuthentication.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/TCertificateDecision.h"
#include "core/engine/TPageFullScreen.h"
#include "core/engine/TSitePermissions.h"

#include <QApplication>
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
    void initTestCase();
    void cleanup();

    void originKey_data();
    void originKey();
    void answersArePerSiteAndFeature();
    void decisionAsksOncePerSiteAndFeature();

    void certificateDecision_data();
    void certificateDecision();

    void okFillsTheAuthenticator();
    void cancelMakesTheAuthenticatorNull();
    void refusedAnswerIsSaidAndKeepsTheUser();
    void otherRealmsAndCancelledAnswersAreNotRefusals();
    void proxyQuestionNamesTheProxy();
    void serverTextIsShownAsPlainText();

    void everyFeatureHasItsOwnText();

    void fullScreenRestoresThePreviousState_data();
    void fullScreenRestoresThePreviousState();
    void escapeAsksThePageToLeave();
    void closingTheViewGivesTheWindowBack();
};

void tst_TPageDialogs::initTestCase()
{
    QVERIFY(english.Load(QStringLiteral(QW_SOURCE_DIR) + "/data/Languages/qweng.ini"));
    new WindowServices(&english, &window);
}

void tst_TPageDialogs::cleanup()
{
    TPageDialogs::setAuthenticationAsker({});
    TPageDialogs::setCertificateAsker({});
    TPageDialogs::setPermissionAsker({});
    TPageDialogs::sitePermissions().clear();
}

void tst_TPageDialogs::originKey_data()
{
    QTest::addColumn<QString>("origin");
    QTest::addColumn<QString>("key");
    // clang-format off
    QTest::newRow("plain") << "https://maps.test" << "https://maps.test";
    QTest::newRow("case") << "HTTPS://Maps.Test/" << "https://maps.test";
    QTest::newRow("default port") << "https://maps.test:443" << "https://maps.test";
    QTest::newRow("other port") << "https://maps.test:8443" << "https://maps.test:8443";
    QTest::newRow("http default") << "http://maps.test:80/x?y" << "http://maps.test";
    // clang-format on
}

void tst_TPageDialogs::originKey()
{
    QFETCH(QString, origin);
    QFETCH(QString, key);
    QCOMPARE(TSitePermissions::originKey(QUrl(origin)), key);
}

void tst_TPageDialogs::answersArePerSiteAndFeature()
{
    TSitePermissions permissions;
    const QUrl maps("https://maps.test");
    QCOMPARE(permissions.answer(maps, QWebEnginePage::Geolocation),
             TSitePermissions::Answer::Unknown);
    permissions.remember(maps, QWebEnginePage::Geolocation, true);
    permissions.remember(maps, QWebEnginePage::MediaVideoCapture, false);

    QCOMPARE(permissions.answer(QUrl("https://maps.test:443"), QWebEnginePage::Geolocation),
             TSitePermissions::Answer::Granted);
    QCOMPARE(permissions.answer(maps, QWebEnginePage::MediaVideoCapture),
             TSitePermissions::Answer::Denied);
    QCOMPARE(permissions.answer(maps, QWebEnginePage::MediaAudioCapture),
             TSitePermissions::Answer::Unknown);
    QCOMPARE(permissions.answer(QUrl("http://maps.test"), QWebEnginePage::Geolocation),
             TSitePermissions::Answer::Unknown);
    QCOMPARE(permissions.answer(QUrl("https://evil.test"), QWebEnginePage::Geolocation),
             TSitePermissions::Answer::Unknown);

    // A later answer replaces the earlier one.
    permissions.remember(maps, QWebEnginePage::Geolocation, false);
    QCOMPARE(permissions.answer(maps, QWebEnginePage::Geolocation),
             TSitePermissions::Answer::Denied);

    // Forgetting a site touches that origin only.
    permissions.remember(QUrl("https://maps.test:8443"), QWebEnginePage::Notifications, true);
    permissions.remember(QUrl("https://b.test"), QWebEnginePage::Geolocation, true);
    permissions.forget(maps);
    QCOMPARE(permissions.size(), 2);
    QCOMPARE(permissions.answer(QUrl("https://maps.test:8443"), QWebEnginePage::Notifications),
             TSitePermissions::Answer::Granted);
}

void tst_TPageDialogs::decisionAsksOncePerSiteAndFeature()
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
    const QUrl a("https://a.test");
    QVERIFY(TPageDialogs::decidePermission(permissions, nullptr, a, QWebEnginePage::Geolocation));
    answer = false;
    QVERIFY(TPageDialogs::decidePermission(permissions, nullptr, a, QWebEnginePage::Geolocation));
    QCOMPARE(asked.size(), 1);

    QVERIFY(!TPageDialogs::decidePermission(permissions, nullptr, a,
                                            QWebEnginePage::MediaAudioCapture));
    QVERIFY(!TPageDialogs::decidePermission(permissions, nullptr, QUrl("https://b.test"),
                                            QWebEnginePage::Geolocation));
    QCOMPARE(asked.size(), 3);
    // A refusal is remembered as well: the site cannot keep asking.
    answer = true;
    QVERIFY(!TPageDialogs::decidePermission(permissions, nullptr, QUrl("https://b.test"),
                                            QWebEnginePage::Geolocation));
    QCOMPARE(asked.size(), 3);
    QCOMPARE(asked.last().first, QUrl("https://b.test"));
}

void tst_TPageDialogs::certificateDecision_data()
{
    QTest::addColumn<bool>("overridable");
    QTest::addColumn<bool>("userAgrees");
    QTest::addColumn<QString>("expected"); // the calls made, in order

    QTest::newRow("not overridable, user would agree") << false << true << "reject";
    QTest::newRow("not overridable, user would refuse") << false << false << "reject";
    QTest::newRow("overridable, user agrees") << true << true << "defer ask accept";
    QTest::newRow("overridable, user refuses") << true << false << "defer ask reject";
}

void tst_TPageDialogs::certificateDecision()
{
    QFETCH(bool, overridable);
    QFETCH(bool, userAgrees);
    QFETCH(QString, expected);
    QStringList calls;
    TCertificateDecision::Actions actions;
    actions.defer = [&] { calls << "defer"; };
    actions.accept = [&] { calls << "accept"; };
    actions.reject = [&] { calls << "reject"; };
    const auto outcome = TCertificateDecision::resolve(
        overridable,
        [&]
        {
            calls << "ask";
            return userAgrees;
        },
        actions);
    QCOMPARE(calls.join(' '), expected);
    QCOMPARE(outcome == TCertificateDecision::Accepted, calls.contains("accept"));
}

void tst_TPageDialogs::okFillsTheAuthenticator()
{
    // A user the engine already knows is offered.
    QAuthenticator auth;
    auth.setUser("bob");
    QString shownUser;
    ModalDialogAnswerer answerer(
        [&](QWidget* dialog)
        {
            QVERIFY(qobject_cast<TfrmAuthentication*>(dialog));
            QVERIFY(dialog->findChild<QLabel*>("lblPrompt")->text().contains("site.test"));
            shownUser = dialog->findChild<QLineEdit*>("edtUser")->text();
            fill(dialog, "alice", "s3cret");
            click(dialog, "cmdOK");
        });
    TPageDialogs::authenticationRequired(&window, QUrl("http://site.test:8080/private/"), &auth);
    QCOMPARE(shownUser, QString("bob"));
    QCOMPARE(auth.user(), QString("alice"));
    QCOMPARE(auth.password(), QString("s3cret"));
    QVERIFY(!auth.isNull());
}

void tst_TPageDialogs::cancelMakesTheAuthenticatorNull()
{
    // The engine's authenticator arrives with the realm: it is not null, and
    // left so it would be sent as an empty login and asked about again.
    QAuthenticator auth;
    auth.setRealm("Private");
    ModalDialogAnswerer answerer(
        [](QWidget* dialog)
        {
            fill(dialog, "mallory", "guess");
            click(dialog, "cmdCancel");
        });
    TPageDialogs::authenticationRequired(&window, QUrl("http://site.test/"), &auth);
    QVERIFY(auth.isNull());
    QVERIFY(auth.user().isEmpty());
}

void tst_TPageDialogs::refusedAnswerIsSaidAndKeepsTheUser()
{
    LoginAttempts attempts;
    const QUrl url("http://site.test/private/");
    QAuthenticator first;
    first.setRealm("Private");
    bool refusedShown = true;
    ModalDialogAnswerer firstAnswer(
        [&](QWidget* dialog)
        {
            refusedShown = !dialog->findChild<QLabel*>("lblRefused")->isHidden();
            fill(dialog, "alice", "wrong");
            click(dialog, "cmdOK");
        });
    TPageDialogs::authenticationRequired(&window, url, &first, &attempts);
    QVERIFY(!refusedShown);
    firstAnswer.stop();

    QAuthenticator second;
    second.setRealm("Private");
    QString shownUser;
    QString shownPassword;
    QString refusedText;
    ModalDialogAnswerer secondAnswer(
        [&](QWidget* dialog)
        {
            const auto* refused = dialog->findChild<QLabel*>("lblRefused");
            refusedShown = !refused->isHidden();
            refusedText = refused->text();
            shownUser = dialog->findChild<QLineEdit*>("edtUser")->text();
            shownPassword = dialog->findChild<QLineEdit*>("edtPassword")->text();
            dialog->findChild<QLineEdit*>("edtPassword")->setText("right");
            click(dialog, "cmdOK");
        });
    TPageDialogs::authenticationRequired(&window, url, &second, &attempts);
    QVERIFY(refusedShown);
    QCOMPARE(refusedText, english.GetGlobalText("AuthRefused"));
    QCOMPARE(shownUser, QString("alice"));
    QVERIFY(shownPassword.isEmpty());
    QCOMPARE(second.user(), QString("alice"));
    QCOMPARE(second.password(), QString("right"));
}

void tst_TPageDialogs::otherRealmsAndCancelledAnswersAreNotRefusals()
{
    QList<bool> refused;
    QList<QString> users;
    bool answer = true;
    TPageDialogs::setAuthenticationAsker(
        [&](QWidget*, const QString&, const QString&, bool, TPageDialogs::Credentials& credentials)
        {
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
    ask("http://site.test/", "One", true);
    ask("http://SITE.test/", "One");
    QCOMPARE(refused, QList<bool>({false, false, false, false, true}));
    QCOMPARE(users.last(), QString("bob"));

    // A cancelled question leaves nothing to call refused next time.
    answer = false;
    QVERIFY(ask("http://site.test/", "Three").isNull());
    answer = true;
    ask("http://site.test/", "Three");
    QCOMPARE(refused.last(), false);

    // A new document asks afresh.
    attempts.clear();
    ask("http://site.test/", "One");
    QCOMPARE(refused.last(), false);
}

void tst_TPageDialogs::proxyQuestionNamesTheProxy()
{
    QString host;
    bool proxy = false;
    TPageDialogs::setAuthenticationAsker(
        [&](QWidget*, const QString& h, const QString&, bool p,
            TPageDialogs::Credentials& credentials)
        {
            host = h;
            proxy = p;
            credentials = {"proxyuser", "proxypw"};
            return true;
        });
    QAuthenticator auth;
    TPageDialogs::proxyAuthenticationRequired(&window, QUrl("https://site.test/"), &auth,
                                              "proxy.lan");
    QCOMPARE(host, QString("proxy.lan"));
    QVERIFY(proxy);
    QCOMPARE(auth.user(), QString("proxyuser"));

    TPageDialogs::authenticationRequired(&window, QUrl("https://site.test/"), &auth);
    QCOMPARE(host, QString("site.test"));
    QVERIFY(!proxy);
}

void tst_TPageDialogs::serverTextIsShownAsPlainText()
{
    TfrmAuthentication dialog(&window);
    dialog.setRequest("<b>site</b>.test", "<img src=x onerror=alert(1)>Realm", true);
    const auto* prompt = dialog.findChild<QLabel*>("lblPrompt");
    const auto* realm = dialog.findChild<QLabel*>("lblRealm");
    QCOMPARE(prompt->textFormat(), Qt::PlainText);
    QCOMPARE(realm->textFormat(), Qt::PlainText);
    QVERIFY(prompt->text().contains("<b>site</b>.test"));
    QVERIFY(realm->text().contains("<img src=x onerror=alert(1)>Realm"));
    QVERIFY(!realm->isHidden());
    QCOMPARE(dialog.windowTitle(), english.GetGlobalText("ProxyAuthCaption"));

    dialog.setRequest("site.test", QString(), false);
    QVERIFY(realm->isHidden());
    QCOMPARE(dialog.windowTitle(), english.GetGlobalText("AuthCaption"));
    QVERIFY(dialog.findChild<QLineEdit*>("edtPassword")->echoMode() == QLineEdit::Password);
}

void tst_TPageDialogs::everyFeatureHasItsOwnText()
{
    const QList<Feature> features = {
        QWebEnginePage::Notifications,          QWebEnginePage::Geolocation,
        QWebEnginePage::MediaAudioCapture,      QWebEnginePage::MediaVideoCapture,
        QWebEnginePage::MediaAudioVideoCapture, QWebEnginePage::MouseLock,
        QWebEnginePage::DesktopVideoCapture,    QWebEnginePage::DesktopAudioVideoCapture,
    };
    QSet<QString> texts;
    for (const Feature feature : features)
    {
        const QString text = TPageDialogs::featureText(&window, feature);
        QVERIFY2(!text.isEmpty() && !text.startsWith("UNDEFINED"), qPrintable(text));
        texts.insert(text);
    }
    QCOMPARE(texts.size(), features.size());
}

void tst_TPageDialogs::fullScreenRestoresThePreviousState_data()
{
    QTest::addColumn<int>("before");
    QTest::newRow("normal") << int(Qt::WindowNoState);
    QTest::newRow("maximized") << int(Qt::WindowMaximized);
    // The program's own full-screen view stays when the page leaves.
    QTest::newRow("already full screen") << int(Qt::WindowFullScreen);
}

void tst_TPageDialogs::fullScreenRestoresThePreviousState()
{
    QFETCH(int, before);
    QWidget window;
    auto* view = new QWidget(&window);
    window.setWindowState(Qt::WindowStates(before));
    window.show();

    TPageFullScreen::enter(view);
    QVERIFY(window.isFullScreen());
    QVERIFY(TPageFullScreen::isActive(&window));
    // A second request while full screen must not forget the first state.
    TPageFullScreen::enter(view);

    TPageFullScreen::leave(view);
    QCOMPARE(int(window.windowState()), before);
    QVERIFY(!TPageFullScreen::isActive(&window));
    QVERIFY(window.isVisible());
}

void tst_TPageDialogs::escapeAsksThePageToLeave()
{
    QWidget window;
    auto* view = new QWidget(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    int exitRequests = 0;
    TPageFullScreen::enter(view,
                           [&]
                           {
                               ++exitRequests;
                               TPageFullScreen::leave(view); // what the page's answer does
                           });
    QVERIFY(window.isFullScreen());
    QTest::keyClick(&window, Qt::Key_Escape);
    QCOMPARE(exitRequests, 1);
    QVERIFY(!window.isFullScreen());
    // Out of full screen, Esc belongs to the page again.
    QTest::keyClick(&window, Qt::Key_Escape);
    QCOMPARE(exitRequests, 1);
}

void tst_TPageDialogs::closingTheViewGivesTheWindowBack()
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

QTEST_MAIN(tst_TPageDialogs)
#include "tst_TPageDialogs.moc"

#include "MainWindowFixture.h"
#include "TestHttpServer.h"
#include "chrome/VersionCheck.h"
#include "chrome/VersionCheckRules.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainVersionCheck.h"
#include "core/window/TfrmMain.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

// The whole check in a running window: armed by the first activation, the
// service asked, the question in the window's language answered Yes, the
// release page in a new tab, and no second contact at the next start that
// day.
class tst_MainVersionCheck : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowFixture> m_f;

    MainVersionCheck* startWindow()
    {
        TfrmMain* window = m_f->createActive();
        return window ? window->findChild<MainVersionCheck*>() : nullptr;
    }

private slots:
    void init() { m_f = std::make_unique<MainWindowFixture>(); }
    void cleanup() { QW_FINISH_MAIN_WINDOW(m_f); }

    void offersTheReleaseOncePerDay()
    {
        TestHttpServer server;
        QVERIFY(server.listen());
        server.route(QStringLiteral("/"),
                     TestHttpServer::Response{
                         200, "text/plain",
                         "PONG=TRUE\nVERID=151\nVERSION=6.4\nVERURL=http://q.test/release\n"});
        QVERIFY(m_f->seed(QStringLiteral("VersionCheck"), QStringLiteral("1")));
        QVERIFY(m_f->seed(QStringLiteral("VersionServer"), server.url(QString())));
        m_f->expectDialogs();

        MainVersionCheck* part = startWindow();
        QVERIFY(part && part->Timer()->isActive() && part->Timer()->isSingleShot());
        QCOMPARE(part->Timer()->interval(), MainVersionCheck::DelayMs);

        QString heading;
        ModalDialogAnswerer answerer(
            [&](QWidget* dialog)
            {
                heading = dialog->findChild<QLabel*>(QStringLiteral("lblTitle"))->text();
                dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
            });
        QSignalSpy finished(part->Check(), &VersionCheck::finished);
        const int tabsBefore = m_f->window->TabSet()->Count();
        part->tmrVersionCheckTimer();
        QVERIFY(!part->Timer()->isActive());
        QVERIFY(finished.wait());

        QCOMPARE(answerer.count(), 1);
        QCOMPARE(heading, QStringLiteral("Quillwave 6.4 is available."));
        QCOMPARE(m_f->window->TabSet()->Count(), tabsBefore + 1);
        QCOMPARE(m_f->made.last()->navigations,
                 QStringList{QStringLiteral("http://q.test/release")});
        QCOMPARE(m_f->stored(QStringLiteral("CheckedVersion")), QStringLiteral("151"));
        QCOMPARE(m_f->stored(QStringLiteral("LastPong")),
                 QString::number(VersionCheckRules::DayNumber(QDate::currentDate())));

        // The next start the same day.
        part = startWindow();
        QVERIFY(part && part->Timer());
        part->tmrVersionCheckTimer();
        QVERIFY(!part->Check()->Pending());
        QCOMPARE(server.requestCount(QStringLiteral("/")), 1);
        QCOMPARE(answerer.count(), 1);
    }
};

QTEST_MAIN(tst_MainVersionCheck)
#include "tst_MainVersionCheck.moc"

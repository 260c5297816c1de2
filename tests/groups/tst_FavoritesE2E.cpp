#include "DrivenCopy.h"
#include "QuillwaveHome.h"
#include "TestHttpServer.h"
#include "XSession.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

// A favorite opened from the Favorites menu with real key strokes: the menu
// is dropped from the keyboard, a sub-folder is opened (and read then), and
// the favorite's page opens in a tab of its own as FavoritesNewWin says.
class tst_FavoritesE2E : public QObject
{
    Q_OBJECT

    std::unique_ptr<XSession> m_x;
    std::unique_ptr<TestHttpServer> m_server;
    // Declared in this order: the copy ends before its home goes.
    std::unique_ptr<QuillwaveHome> m_home;
    std::unique_ptr<DrivenCopy> m_copy;

    bool writeShortcut(const QString& path, const QString& url) const
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) &&
               file.write("[InternetShortcut]\r\nURL=" + url.toUtf8() + "\r\n") > 0;
    }

private slots:
    void initTestCase() { QW_START_X_SESSION(m_x, QuillwaveHome::programPath()); }
    void init()
    {
        m_server = std::make_unique<TestHttpServer>();
        QVERIFY(m_server->listen());
        for (const QString& path : {"/start", "/favorite"})
            m_server->routeReportingPage(path);
        m_home = std::make_unique<QuillwaveHome>();
        QVERIFY(m_home->isValid());
        m_copy = std::make_unique<DrivenCopy>(*m_x, *m_home);
    }
    void cleanup()
    {
        m_copy.reset();
        m_home.reset();
    }

    void favoriteOpensFromTheKeyboard()
    {
        const QString favorites = m_home->homePath() + "/Favorites";
        QVERIFY(QDir().mkpath(favorites + "/News"));
        QVERIFY(writeShortcut(favorites + "/News/Front page.url", m_server->url("/favorite")));
        const QString start = m_server->url("/start");
        const QDateTime since = QDateTime::currentDateTime();
        QVERIFY(m_home->seedQuietStore({{"ShowOpenAllFavorites", "0"}, {"FavoritesNewWin", "1"}}));
        QVERIFY(m_copy->start({start}) && m_copy->waitForCompletedVisit(start, since));

        // Alt+A drops the menu with its first item selected; Up goes round
        // to the last entry, the folder; Right opens the folder with its
        // first favorite selected.
        // Each key waits for the menu it needs: a key that arrives before
        // its menu is shown goes to the page.
        const qint64 pid = m_copy->process()->pid();
        const int windows = m_x->shownWindowCount(pid);
        QVERIFY(m_x->key("alt+a"));
        QTRY_VERIFY_WITH_TIMEOUT(m_x->shownWindowCount(pid) > windows, m_home->PatienceMs);
        QVERIFY(m_x->key("Up"));
        QVERIFY(m_x->key("Right"));
        QTRY_VERIFY_WITH_TIMEOUT(m_x->shownWindowCount(pid) > windows + 1, m_home->PatienceMs);
        QVERIFY(m_x->key("Return"));
        const QString favorite = m_server->url("/favorite");
        QVERIFY(m_copy->waitForCompletedVisit(favorite, since));
        QTRY_COMPARE_WITH_TIMEOUT(m_home->lastOpenSites(), (QStringList{start, favorite}),
                                  m_home->PatienceMs);
        QVERIFY(m_copy->process()->endCleanly());
    }
};

QTEST_GUILESS_MAIN(tst_FavoritesE2E)
#include "tst_FavoritesE2E.moc"

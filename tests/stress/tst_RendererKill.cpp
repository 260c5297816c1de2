#include "EngineTestHelpers.h"
#include "MainWindowHome.h"
#include "TestHttpServer.h"

#include "core/engine/TVostelBrowser.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/TfrmMain.h"

#include <QSet>
#include <QWebEnginePage>
#include <QtTest>

#include <csignal>
#include <memory>

using namespace EngineTestHelpers;

// A real window with ten pages whose renderer processes are all killed at
// once: the program goes on, every tab shows the crash page under its own
// address, and the remembered session still lists every page.
class tst_RendererKill : public QObject
{
    Q_OBJECT

    static constexpr int Tabs = 10;

    MainWindowHome m_home;
    TestHttpServer m_server;
    std::unique_ptr<TfrmMain> m_window;

    QString address(int i) const { return m_server.url(QStringLiteral("/page%1").arg(i)); }
    TTabSet* tabs() const { return m_window->TabSet(); }
    QWebEnginePage* pageOf(int i) const
    {
        return static_cast<TVostelBrowser*>(tabs()->Tab(i)->Browser())->page();
    }
    QSet<QString> sessionAddresses() const
    {
        QSet<QString> addresses;
        for (const QString& line : TQWOptions().ReadListSection(RegistryKeys::LastOpenSites))
            addresses.insert(line.section('=', 1));
        return addresses;
    }

private slots:
    void tenRenderersKilledAtOnce()
    {
        QVERIFY(m_home.isValid());
        QVERIFY(m_server.listen());
        QSet<QString> all;
        for (int i = 0; i < Tabs; ++i)
        {
            m_server.routeHtml(QStringLiteral("/page%1").arg(i),
                               QStringLiteral("<title>Page %1</title>page %1").arg(i).toUtf8());
            all.insert(address(i));
        }
        QVERIFY(m_home.seed("StartupMode", "Last"));
        m_window = std::make_unique<TfrmMain>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        tabs()->GetActivePage()->Navigate(address(0));
        for (int i = 1; i < Tabs; ++i)
            tabs()->AddTab()->Navigate(address(i));
        QCOMPARE(tabs()->Count(), Tabs);
        // Every page loaded and remembered in the session.
        QVERIFY(waitFor(
            [&]
            {
                for (int i = 0; i < Tabs; ++i)
                    if (tabs()->Tab(i)->Busy || pageOf(i)->renderProcessPid() <= 0)
                        return false;
                return sessionAddresses() == all;
            },
            60000));
        QSet<qint64> renderers;
        for (int i = 0; i < Tabs; ++i)
            renderers.insert(pageOf(i)->renderProcessPid());
        qInfo("%lld renderer processes", qint64(renderers.size()));
        for (const qint64 pid : renderers)
            QCOMPARE(::kill(pid_t(pid), SIGKILL), 0);
        for (int i = 0; i < Tabs; ++i)
        {
            QVERIFY2(
                waitFor([&] { return bodyText(pageOf(i)).contains("stopped working"); }, 60000),
                qPrintable(QStringLiteral("tab %1 does not show the crash page").arg(i)));
            QCOMPARE(tabs()->Tab(i)->GetLocationURL(), address(i));
        }
        QCOMPARE(tabs()->Count(), Tabs);
        QCOMPARE(sessionAddresses(), all);
        // The engine still serves: a page loads again in a crashed tab.
        tabs()->Tab(3)->Navigate(address(3));
        QVERIFY(waitFor([&] { return bodyText(pageOf(3)) == "page 3"; }, 60000));
    }
};

int main(int argc, char* argv[])
{
    return engineTestMain<tst_RendererKill>(argc, argv);
}
#include "tst_RendererKill.moc"

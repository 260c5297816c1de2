#include "EngineTestHelpers.h"
#include "MainWindowHome.h"
#include "TestHttpServer.h"
#include "chrome/TFindBar.h"
#include "core/dialogs/WindowServices.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainPageCommands.h"
#include "core/window/TfrmMain.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <memory>

using namespace EngineTestHelpers;

// The page commands of a real window with the real engine: the find bar
// counts and steps through a word's matches, and View Source shows the
// page's source in a tab of its own.
class tst_PageCommandsE2E : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowHome> m_home;
    std::unique_ptr<TestHttpServer> m_server;
    std::unique_ptr<TfrmMain> m_window;

    TBrowserTab* tab() const { return m_window->GetActivePage(); }
    TFindBar* bar() const { return m_window->PageCommands()->FindBar(); }
    bool counts(int active, int count) const
    {
        const QString shown =
            m_window->Services()->GetLangText("MAIN", "FindBarCount").arg(active).arg(count);
        return waitFor([&] { return bar()->lblFindCount->text() == shown; });
    }

private slots:
    void initTestCase()
    {
        m_home = std::make_unique<MainWindowHome>();
        QVERIFY(m_home->isValid());
        m_server = std::make_unique<TestHttpServer>();
        QVERIFY(m_server->listen());
        m_server->routeHtml("/words", "<html><body><p>plum Plum</p><p>a plum, the plum</p>"
                                      "</body></html>");
        QVERIFY(m_home->seed("StartupMode", "Blank"));
        m_window = std::make_unique<TfrmMain>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        tab()->Navigate(m_server->url("/words"));
        QVERIFY(waitFor(
            [&] { return tab()->GetLocationURL() == m_server->url("/words") && !tab()->Busy; }));
    }
    void cleanupTestCase() { m_window.reset(); }

    void findCountsAndStepsThroughMatches()
    {
        m_window->RunCommand(MainCommand::Find);
        QVERIFY(bar()->isVisible());
        QTest::keyClicks(bar()->edtFind, "plum");
        QVERIFY(counts(1, 4));
        bar()->chkMatchCase->setChecked(true);
        QVERIFY(counts(1, 3));
        QTest::keyClick(bar()->edtFind, Qt::Key_Return);
        QVERIFY(counts(2, 3));
        QTest::keyClick(bar()->edtFind, Qt::Key_Return, Qt::ShiftModifier);
        QVERIFY(counts(1, 3));
        QTest::keyClick(bar()->edtFind, Qt::Key_Escape);
        QVERIFY(bar()->isHidden());
    }

    void viewSourceOpensATab()
    {
        const QString source = "view-source:" + m_server->url("/words");
        const int tabs = m_window->TabSet()->Count();
        m_window->RunCommand(MainCommand::ViewSource);
        QCOMPARE(m_window->TabSet()->Count(), tabs + 1);
        QVERIFY(waitFor(
            [&]
            {
                const QList<TBrowserTab*> all = m_window->TabSet()->Tabs();
                return std::any_of(all.begin(), all.end(),
                                   [&](TBrowserTab* t)
                                   { return t->GetLocationURL() == source && !t->Busy; });
            }));
    }
};

int main(int argc, char* argv[])
{
    return engineTestMain<tst_PageCommandsE2E>(argc, argv);
}
#include "tst_PageCommandsE2E.moc"

#include "EngineTestHelpers.h"
#include "EngineWindow.h"
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

    std::unique_ptr<EngineWindow> m_e;

    TBrowserTab* tab() const { return m_e->window->GetActivePage(); }
    TFindBar* bar() const { return m_e->window->PageCommands()->FindBar(); }
    bool shows(int active, int count) const
    {
        return bar()->lblFindCount->text() ==
               m_e->window->Services()->GetLangText("MAIN", "FindBarCount").arg(active).arg(count);
    }
    bool counts(int active, int count) const
    {
        return waitFor([&] { return shows(active, count); });
    }

private slots:
    void initTestCase()
    {
        m_e = std::make_unique<EngineWindow>();
        QVERIFY(m_e->isValid());
        m_e->server.routeHtml("/words", "<html><body><p>plum Plum</p><p>a plum, the plum</p>"
                                        "</body></html>");
        QVERIFY(m_e->open());
        tab()->Navigate(m_e->url("/words"));
        QVERIFY(EngineWindow::shows(tab(), m_e->url("/words")));
    }
    void cleanupTestCase() { m_e.reset(); }

    void findCountsAndStepsThroughMatches()
    {
        m_e->window->RunCommand(MainCommand::Find);
        QVERIFY(bar()->isVisible());
        QTest::keyClicks(bar()->edtFind, "plum");
        QVERIFY2(counts(1, 4), qPrintable(bar()->lblFindCount->text()));
        // The case rule leaves one match out; the search goes on from the
        // match shown, wherever the engine puts it.
        bar()->chkMatchCase->setChecked(true);
        int active = 0;
        waitFor(
            [&]
            {
                for (active = 3; active > 0 && !shows(active, 3); --active)
                {
                }
                return active > 0;
            });
        QVERIFY2(active, qPrintable(bar()->lblFindCount->text()));
        QTest::keyClick(bar()->edtFind, Qt::Key_Return);
        QVERIFY2(counts(active % 3 + 1, 3), qPrintable(bar()->lblFindCount->text()));
        QTest::keyClick(bar()->edtFind, Qt::Key_Return, Qt::ShiftModifier);
        QVERIFY2(counts(active, 3), qPrintable(bar()->lblFindCount->text()));
        QTest::keyClick(bar()->edtFind, Qt::Key_Escape);
        QVERIFY(bar()->isHidden());
    }

    void viewSourceOpensATab()
    {
        const QString source = "view-source:" + m_e->url("/words");
        const int tabs = m_e->window->TabSet()->Count();
        m_e->window->RunCommand(MainCommand::ViewSource);
        QCOMPARE(m_e->window->TabSet()->Count(), tabs + 1);
        QVERIFY(waitFor(
            [&]
            {
                for (int i = 0; i < m_e->window->TabSet()->Count(); ++i)
                    if (m_e->window->TabSet()->Tab(i)->GetLocationURL() == source &&
                        !m_e->window->TabSet()->Tab(i)->Busy)
                        return true;
                return false;
            }));
    }
};

int main(int argc, char* argv[])
{
    return engineTestMain<tst_PageCommandsE2E>(argc, argv);
}
#include "tst_PageCommandsE2E.moc"

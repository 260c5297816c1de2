#include "MainWindowFixture.h"
#include "chrome/TQWToolBar.h"
#include "components/TCoolBar.h"
#include "core/window/MainBars.h"
#include "core/window/TMainMenu.h"
#include "core/window/TfrmMain.h"
#include "groups/TKoncoBar.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>

// The bars as the window keeps them between runs: the band layout, which
// bars are shown, and the toolbar file.
class tst_MainBars : public QObject
{
    Q_OBJECT

    // Band names from the left of the top row to the right of the last.
    static QStringList order(const TCoolBar* bar)
    {
        QStringList names;
        for (int i = 0; i < bar->BandCount(); ++i)
            names << bar->BandName(i) + (bar->BandBreak(i) ? QStringLiteral("|") : QString());
        return names;
    }
private slots:
    void init() { m_f = std::make_unique<MainWindowFixture>(); }
    void cleanup() { QW_FINISH_MAIN_WINDOW(m_f); }

    void bandLayoutSurvivesRestart()
    {
        TfrmMain* window = m_f->createActive();
        TCoolBar* bar = window->Bars()->CoolBar();
        QCOMPARE(order(bar), (QStringList{"Menu", "Tool|", "Address|", "Links"}));

        // The address band beside the toolbar, on its row.
        bar->SetBandBreak(2, false);
        bar->SetBandWidth(1, 300);
        m_f->closeWindow();

        // The start-up timer reads the layout once the window runs.
        bar = m_f->createActive()->Bars()->CoolBar();
        QTRY_COMPARE(order(bar), (QStringList{"Menu", "Tool|", "Address", "Links"}));
        QCOMPARE(bar->BandWidth(1), 300);
    }

    void barsShownAsTheUserLeftThem()
    {
        TfrmMain* window = m_f->createActive();
        MainBars* bars = window->Bars();
        // The View menu and the bar menu switch the same band.
        window->MainMenu()->ToolbarItem()->trigger();
        QVERIFY(!bars->Shown(MainBars::Bar::Tool));
        emit bars->CustomizeMenu()->aboutToShow();
        QAction* customizeAddress =
            bars->CustomizeMenu()->findChild<QAction*>(QStringLiteral("pmCustomizeViewAddressBar"));
        QVERIFY(customizeAddress->isChecked());
        customizeAddress->trigger();
        QVERIFY(!bars->Shown(MainBars::Bar::Address));
        QVERIFY(!window->MainMenu()->AddressBarItem()->isChecked());
        m_f->closeWindow();
        QCOMPARE(m_f->stored(QStringLiteral("ViewToolbar")), QStringLiteral("0"));
        QCOMPARE(m_f->stored(QStringLiteral("ViewAddressBar")), QStringLiteral("0"));

        bars = m_f->createActive()->Bars();
        QVERIFY(!bars->Shown(MainBars::Bar::Tool));
        QVERIFY(!bars->Shown(MainBars::Bar::Address));
        QVERIFY(bars->Shown(MainBars::Bar::Menu));
    }

    void toolbarFileWrittenAtExit()
    {
        TfrmMain* window = m_f->createActive();
        window->Bars()->ToolBar()->SetEntries({{5, true}, {3, true}, {-1, true}, {21, true}});
        m_f->closeWindow();
        QFile file(m_f->home().filePath(QStringLiteral("tbmain.dat")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(
            QString::fromUtf8(file.readAll()).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts),
            (QStringList{"[Toolbar]", "5=1", "3=1", "Sep2=1", "21=1"}));
    }

    void sideBarButtonFollowsTheBar()
    {
        TfrmMain* window = m_f->createActive();
        TQWToolBar* toolbar = window->Bars()->ToolBar();
        QVERIFY(!toolbar->IsDown(10));
        window->RunCommand(MainCommand::ToggleSideBar);
        QVERIFY(toolbar->IsDown(10));
        window->KoncoBar()->hide();
        QVERIFY(!toolbar->IsDown(10));
    }

private:
    std::unique_ptr<MainWindowFixture> m_f;
};

QTEST_MAIN(tst_MainBars)
#include "tst_MainBars.moc"

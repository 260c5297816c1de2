#include "MainWindowFixture.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/TMainMenu.h"
#include "core/window/TfrmMain.h"
#include "groups/TKoncoBar.h"

#include <QAction>
#include <QSplitter>
#include <QTest>

class tst_MainSideBar : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_f = std::make_unique<MainWindowFixture>(); }
    void cleanup() { QW_FINISH_MAIN_WINDOW(m_f); }

    void keysShowAndHideTheBar()
    {
        TfrmMain* window = m_f->createActive();
        QVERIFY(window);
        TKoncoBar* bar = window->KoncoBar();
        QAction* item = window->MainMenu()->SideBarItem();
        QVERIFY(bar->isHidden());
        QWidget* page = window->GetActivePage()->Browser()->widget();

        // The window runs the command once the key has been dealt with.
        QTest::keyClick(page, Qt::Key_F4);
        QTRY_VERIFY(bar->isVisible());
        QVERIFY(item->isChecked());
        // The page it appears on is filled at once.
        QVERIFY(bar->VostelGroupsTreeLoaded);

        QTest::keyClick(page, Qt::Key_F4);
        QTRY_VERIFY(bar->isHidden());
        QVERIFY(!item->isChecked());

        // The Favorites page has its content from the start, and so its key.
        QTest::keyClick(page, Qt::Key_I, Qt::ControlModifier);
        QTRY_VERIFY(bar->isVisible());
        QCOMPARE(bar->activePage(), TKoncoBar::Favorites);
        QTest::keyClick(page, Qt::Key_G, Qt::ControlModifier);
        QTRY_COMPARE(bar->activePage(), TKoncoBar::VostelGroups);

        m_f->closeWindow();
        QCOMPARE(m_f->stored(QStringLiteral("ViewVostelBar")), QStringLiteral("1"));
    }

    void widthAndVisibilityAreWrittenBack()
    {
        QVERIFY(m_f->seed(QStringLiteral("ViewVostelBar"), QStringLiteral("1")));
        QVERIFY(m_f->seed(QStringLiteral("VostelBarWidth"), QStringLiteral("150")));
        TfrmMain* window = m_f->createActive();
        QVERIFY(window);
        TKoncoBar* bar = window->KoncoBar();
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->width(), 150);

        // The user drags the splitter 40 pixels to the right.
        auto* splitter = window->findChild<QSplitter*>(QStringLiteral("splSideBar"));
        QWidget* handle = splitter->handle(1);
        const QPoint grip = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, grip + QPoint(40, 0));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(40, 0));
        QCOMPARE(bar->width(), 190);
        // Hidden, the bar keeps the width it will come back with.
        window->RunCommand(MainCommand::ToggleSideBar);

        m_f->closeWindow();
        QCOMPARE(m_f->stored(QStringLiteral("VostelBarWidth")), QStringLiteral("190"));
        QCOMPARE(m_f->stored(QStringLiteral("ViewVostelBar")), QStringLiteral("0"));
    }

private:
    std::unique_ptr<MainWindowFixture> m_f;
};

QTEST_MAIN(tst_MainSideBar)
#include "tst_MainSideBar.moc"

// The tray icon's part of the main window, on a window of its own and a
// notification area the test says is there: what the menu and the tooltip
// say, and where the window goes and comes back to.

#include "ScriptedServices.h"

#include "components/TPGTrayIcon.h"
#include "core/window/MainTray.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QWidget>

class tst_MainTray : public QObject
{
    Q_OBJECT

private:
    ScriptedServices services;
    const std::function<QString()> caption = [] { return QStringLiteral("News of the day"); };

    QString openedCaption(MainTray& tray)
    {
        emit tray.Menu()->aboutToShow();
        return tray.RestoreItem()->text();
    }

private slots:
    void initTestCase()
    {
        services.texts.insert(QStringLiteral("MAIN>TrayRestore"), QStringLiteral("Restore"));
        services.texts.insert(QStringLiteral("MAIN>TrayMinimize"), QStringLiteral("Minimize"));
    }

    void menuAndHintFollowTheWindow()
    {
        // The window goes to the tray from the menu item or by being minimized.
        for (const auto& [state, byMinimizing] :
             std::initializer_list<std::pair<Qt::WindowState, bool>>{
                 {Qt::WindowNoState, false}, {Qt::WindowMaximized, false},
                 {Qt::WindowNoState, true}, {Qt::WindowMaximized, true},
                 {Qt::WindowFullScreen, true}})
        {
            QWidget window;
            window.setWindowState(state);
            window.show();
            MainTray tray(&window, &services, caption, true);
            tray.SetActive(true);
            QCOMPARE(openedCaption(tray), QStringLiteral("Minimize"));
            QCOMPARE(tray.Tray()->Hint(), QStringLiteral("Quillwave"));

            if (byMinimizing)
                window.setWindowState(window.windowState() | Qt::WindowMinimized);
            else
                tray.RestoreItem()->trigger();
            QTRY_VERIFY(window.isHidden());
            QCOMPARE(openedCaption(tray), QStringLiteral("Restore"));
            QCOMPARE(tray.Tray()->Hint(), QStringLiteral("Quillwave - News of the day"));

            emit tray.Tray()->OnDblClick();
            QVERIFY(window.isVisible());
            QCOMPARE(window.windowState(), Qt::WindowStates(state));
            QCOMPARE(openedCaption(tray), QStringLiteral("Minimize"));
            QCOMPARE(tray.Tray()->Hint(), QStringLiteral("Quillwave"));
        }
    }

    // Without the icon, or without a notification area, the window only
    // minimizes; switching the icon off brings a window in the tray back.
    void noIconNoTray()
    {
        QWidget window;
        window.show();
        MainTray tray(&window, &services, caption, true);
        window.setWindowState(Qt::WindowMinimized);
        QCoreApplication::processEvents();
        QVERIFY(!window.isHidden());

        tray.SetActive(true);
        tray.RestoreItem()->trigger();
        QVERIFY(window.isHidden());
        tray.SetActive(false);
        QVERIFY(window.isVisible());

        QWidget other;
        other.show();
        MainTray absent(&other, &services, caption, false);
        absent.SetActive(true);
        absent.RestoreItem()->trigger();
        QVERIFY(other.isVisible());
        QVERIFY(!absent.Tray()->InTray());
    }
};

QTEST_MAIN(tst_MainTray)
#include "tst_MainTray.moc"

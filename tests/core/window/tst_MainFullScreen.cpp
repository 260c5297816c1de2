// Full screen applied to a window: the window state it asks of the window
// system, what it gives back, and the settings it writes on the way.

#include "TestStore.h"

#include "core/window/MainFullScreen.h"
#include "core/window/MainViewSettings.h"

#include <QAction>
#include <QMainWindow>
#include <QStatusBar>
#include <QTest>
#include <QWindow>

namespace
{
// The window's bars as the full-screen mode sees them.
class FakeBars : public IBarsHost
{
public:
    FakeBars()
    {
        for (QAction& item : items)
            item.setCheckable(true);
    }
    bool BandVisible(Band band) const override { return bands[band]; }
    void SetBandVisible(Band band, bool visible) override { bands[band] = visible; }
    QAction* BarItem(Item item) const override { return &items[item]; }
    void SetFullScreenButtonDown(bool down) override { buttonDown = down; }
    void ApplyBandsFromViewMenu() override { ++reapplied; }

    bool bands[2] = {true, true};
    mutable QAction items[FullScreenItem + 1];
    bool buttonDown = false;
    int reapplied = 0;
};

// A window with a status bar, its bars and its full-screen mode on a store of its own.
struct Rig
{
    TestStore store;
    MainViewSettings view{store.options.get()};
    QMainWindow window;
    FakeBars bars;
    MainFullScreen fullScreen{&window, store.options.get(), &view, &bars};
    Rig() { window.setStatusBar(new QStatusBar); }
};
} // namespace

class tst_MainFullScreen : public QObject
{
    Q_OBJECT

private slots:
    void leavingGivesTheWindowBack()
    {
        for (const bool maximized : {false, true})
        {
            Rig rig;
            auto& [store, view, window, bars, fullScreen] = rig;
            const QRect normal(60, 70, 640, 480);
            window.setGeometry(normal);
            window.show();
            if (maximized)
                window.showMaximized();

            fullScreen.Toggle();
            QVERIFY(window.isFullScreen());
            QVERIFY(bars.items[IBarsHost::FullScreenItem].isChecked() && bars.buttonDown);
            QVERIFY(store.options->FullScreen());

            // At exit in full screen the window's own place is what is kept.
            fullScreen.StoreWindowState(*store.options);
            QCOMPARE(store.options->Maximized(), maximized);
            if (!maximized)
                QCOMPARE(QSize(store.options->Width(), store.options->Height()), normal.size());

            fullScreen.Toggle();
            QVERIFY(!window.isFullScreen());
            QCOMPARE(window.isMaximized(), maximized);
            if (!maximized)
                QCOMPARE(window.geometry(), normal);
            QVERIFY(!store.options->FullScreen() && !bars.buttonDown);
        }
    }

    // The window manager's own way out leaves the mode as the menu item
    // would; being minimized in full screen does not.
    void windowManagerLeavingEndsTheMode()
    {
        Rig rig;
        auto& [store, view, window, bars, fullScreen] = rig;
        window.show();
        fullScreen.SetFullScreen(true);
        QTRY_VERIFY(window.windowHandle()->windowStates() & Qt::WindowFullScreen);
        window.windowHandle()->setWindowStates(Qt::WindowMinimized);
        QTRY_VERIFY(window.windowHandle()->windowStates() & Qt::WindowMinimized);
        QVERIFY(fullScreen.IsFullScreen());
        window.windowHandle()->setWindowStates(Qt::WindowFullScreen);
        window.windowHandle()->setWindowStates(Qt::WindowNoState);
        QTRY_VERIFY(!fullScreen.IsFullScreen());
        QVERIFY(!store.options->FullScreen() && !bars.buttonDown);
        QVERIFY(!bars.items[IBarsHost::FullScreenItem].isChecked());
    }

    // The status bar follows FullscreenStatusBar in full screen and its own
    // choice outside; a switch in full screen is written at once.
    void statusBarInAndOutOfFullScreen()
    {
        Rig rig;
        auto& [store, view, window, bars, fullScreen] = rig;
        store.options->SetFullscreenStatusBar(true);
        window.statusBar()->hide();
        window.show();

        fullScreen.SetFullScreen(true);
        QVERIFY(window.statusBar()->isVisible());
        fullScreen.MenuBarToggled(true);
        QVERIFY(store.options->FullscreenMenuBar());
        fullScreen.SetFullScreen(false);
        QVERIFY(window.statusBar()->isHidden());
        QVERIFY(store.options->FullscreenStatusBar());
        fullScreen.MenuBarToggled(false);
        QVERIFY(store.options->FullscreenMenuBar());
    }
};

QTEST_MAIN(tst_MainFullScreen)
#include "tst_MainFullScreen.moc"

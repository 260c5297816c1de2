// The rules of full screen: what entering shows, what leaving gives back and
// which of the bars' choices are kept for the next time.

#include "core/window/FullScreenState.h"

#include <QTest>

using Mode = FullScreenChange::Mode;

struct Row
{
    bool maximized, statusBar, toolBand, fsStatusBar, fsMenuBar, flipStatus, flipMenu,
        writtenStatus, writtenMenu;
    Mode leaveMode;
};
Q_DECLARE_METATYPE(Row)

class tst_FullScreenState : public QObject
{
    Q_OBJECT

private slots:
    void enterAndLeave_data()
    {
        // Before full screen: maximized, status bar, tool band; the
        // FullscreenStatusBar and FullscreenMenuBar settings; the bars the
        // user switches in full screen; what leaving writes and restores.
        QTest::addColumn<Row>("row");
        // clang-format off
        QTest::newRow("hidden status bar shown, hidden again")   << Row{false, false, true,  true,  false, false, false, true,  false, Mode::Normal};
        QTest::newRow("maximized comes back maximized")           << Row{true,  true,  true,  false, false, false, false, false, false, Mode::Maximized};
        QTest::newRow("bars switched on in full screen are kept")  << Row{false, true,  false, false, false, true,  true,  true,  true,  Mode::Normal};
        QTest::newRow("bars switched off in full screen are kept") << Row{true,  true,  true,  true,  true,  true,  true,  false, false, Mode::Maximized};
        // clang-format on
    }
    void enterAndLeave()
    {
        QFETCH(Row, row);
        const auto [maximized, statusBar, toolBand, fsStatusBar, fsMenuBar, flipStatus, flipMenu,
                    writtenStatus, writtenMenu, leaveMode] = row;
        const QRect normal(40, 50, 700, 500);
        FullScreenState state;
        const WindowView before{maximized, normal, QPoint(35, 20), statusBar, true, toolBand};

        const std::optional<FullScreenChange> in = state.Enter(before, fsStatusBar, fsMenuBar);
        QVERIFY(in && state.IsFullScreen());
        QCOMPARE(in->mode, Mode::FullScreen);
        QCOMPARE(in->statusBar, fsStatusBar);
        QCOMPARE(in->menuBand, fsMenuBar);
        QVERIFY(in->toolBand && !in->toolbarItemsVisible);
        QVERIFY(in->viewMenuBarVisible && in->customizeMenubarVisible);
        QCOMPARE(in->menuBarItemsChecked, fsMenuBar);
        QVERIFY(in->fullScreenChecked && !in->writeFullscreenStatusBar);
        QVERIFY(!state.Enter(before, fsStatusBar, fsMenuBar)); // twice: nothing more

        const bool statusNow = fsStatusBar != flipStatus;
        const bool menuNow = fsMenuBar != flipMenu;
        QCOMPARE(state.SettingForToggle(statusNow), std::optional<bool>(statusNow));
        const WindowView during{false, QRect(0, 0, 1280, 1024), QPoint(), statusNow, menuNow, true};

        const std::optional<FullScreenChange> out = state.Leave(during);
        QVERIFY(out && !state.IsFullScreen());
        QCOMPARE(out->writeFullscreenStatusBar, std::optional<bool>(writtenStatus));
        QCOMPARE(out->writeFullscreenMenuBar, std::optional<bool>(writtenMenu));
        QCOMPARE(out->mode, leaveMode);
        QCOMPARE(out->geometry, normal);
        QCOMPARE(out->statusBar, statusBar);
        QCOMPARE(out->toolBand, toolBand);
        QVERIFY(out->toolbarItemsVisible);
        QCOMPARE(out->toolbarItemsChecked, toolBand);
        // The menu bar is back, and its View item stays offered and checked.
        QVERIFY(out->menuBand && out->viewMenuBarVisible && out->menuBarItemsChecked);
        QVERIFY(!out->customizeMenubarVisible && !out->fullScreenChecked && out->reapplyBands);

        QVERIFY(!state.Leave(during));
        QCOMPARE(state.SettingForToggle(true), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(tst_FullScreenState)
#include "tst_FullScreenState.moc"

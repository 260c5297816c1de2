// The window's parts that stand without a window of fake pages: the
// confirmation dialog, the status bar, the logo panel, placement on the
// screens, full screen, repaint pacing, the tray, the text sizes and the
// help pages shipped with the program.

#include "ScriptedServices.h"
#include "TestStore.h"

#include "FakeBrowserControl.h"
#include "components/TPGTrayIcon.h"
#include "components/TQWStatusBar.h"
#include "core/dialogs/TfrmConfirm.h"
#include "core/store/ProgramPaths.h"
#include "core/window/FullScreenState.h"
#include "core/window/MainFullScreen.h"
#include "core/window/MainTextSize.h"
#include "core/window/MainTray.h"
#include "core/window/MainViewSettings.h"
#include "core/window/RepaintPacer.h"
#include "core/window/TLogoPanel.h"
#include "core/window/WindowPlacement.h"
#include "core/window/ZoomLevels.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <utility>

namespace
{
template <typename T> T* child(QWidget* parent, const char* name)
{
    return parent->findChild<T*>(QString::fromLatin1(name));
}
// Paints the number it shows and records what it painted; each paint takes
// a few milliseconds, as a composition in software does, so that later
// repaints are held back.
class CountingWidget : public QWidget
{
public:
    int shown = 0;
    int painted = -1;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawText(rect(), Qt::AlignCenter, QString::number(shown));
        painted = shown;
        ++paints;
        QElapsedTimer busy;
        busy.start();
        while (busy.elapsed() < 5)
        {
        }
    }
};
const QString HelpSource = QStringLiteral(QW_SOURCE_DIR "/data/help");

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList helpFiles(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
}

// Every match of the first group of pattern in text.
QStringList captures(const QString& text, const QString& pattern)
{
    QStringList found;
    auto it =
        QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption).globalMatch(text);
    while (it.hasNext())
        found << it.next().captured(1);
    return found;
}
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

using Mode = FullScreenChange::Mode;
struct Row
{
    bool maximized, statusBar, toolBand, fsStatusBar, fsMenuBar, flipStatus, flipMenu,
        writtenStatus, writtenMenu;
    Mode leaveMode;
};
Q_DECLARE_METATYPE(Row)

class tst_MainWindowParts : public QObject
{
    Q_OBJECT

    ScriptedServices services;
    const std::function<QString()> trayCaption = [] { return QStringLiteral("News of the day"); };
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

    void confirmHidesWhatHasNoText()
    {
        // Title, OK, Cancel, check box: everything, then nothing but the text.
        for (const QStringList& texts :
             {QStringList{"Title", "Yes", "No", "Don't ask"}, QStringList{"", "", "", ""}})
        {
            TfrmConfirm dialog;
            dialog.setTexts("Caption", texts[0], "Explanation", texts[1], texts[2], texts[3]);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Caption"));
            const char* names[] = {"lblTitle", "cmdOK", "cmdCancel", "chkConfirm"};
            for (int i = 0; i < 4; ++i)
            {
                QWidget* widget = child<QWidget>(&dialog, names[i]);
                QVERIFY2(widget->isVisible() == !texts[i].isEmpty(), names[i]);
                if (!texts[i].isEmpty())
                    QCOMPARE(widget->property("text").toString(), texts[i]);
            }
            auto* prompt = child<QPlainTextEdit>(&dialog, "mmoPrompt2");
            QVERIFY(prompt->isReadOnly() && prompt->toPlainText() == QStringLiteral("Explanation"));
        }
    }

    void statusBarHints()
    {
        for (const auto& [hint, shown] : std::initializer_list<std::pair<QString, QString>>{
                 {"first\nsecond", "second"},  // line break without bar
                 {"a|b|c", "b|c"},             // only the first bar counts
                 {"one\ntwo|three", "three"}}) // bar after the break
            QCOMPARE(TQWStatusBar::statusTextForHint(hint), shown);
        // Moving the pointer over menus must never wipe a message.
        TQWStatusBar bar;
        bar.setPanelText(0, QStringLiteral("before"));
        bar.showHint(QStringLiteral("Opens a page"));
        QCOMPARE(bar.panel(0)->text(), QStringLiteral("Opens a page"));
        bar.showHint(QString());
        QCOMPARE(bar.panel(0)->text(), QStringLiteral("before"));
    }

    void logoPanelFollowsItsHeight()
    {
        QWidget host;
        TLogoPanel panel(&host);
        host.resize(200, 100);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        panel.resize(panel.width(), 40);
        const LogoLayout layout = LogoLayout::compute(40, 34, 40, 16);
        QCOMPARE(panel.width(), layout.panelWidth);
        QCOMPARE(panel.pnlCloseButtons->geometry(), layout.closeButtons);
        QCOMPARE(panel.spdCloseAll->y(), layout.closeTop);
    }

    void visibleRect_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<bool>("untouched");

        const QList<QRect> one{QRect(0, 0, 1280, 1024)};
        const QList<QRect> two{QRect(0, 0, 1280, 1024), QRect(1280, 0, 1024, 768)};

        // clang-format off
        QTest::newRow("on screen")                                 << QRect(10, 10, 800, 600)       << one            << true;
        QTest::newRow("no screens known")                          << QRect(-5000, -5000, 800, 600) << QList<QRect>() << true;
        QTest::newRow("far above and left")                        << QRect(-5000, -5000, 800, 600) << one            << false;
        QTest::newRow("a sliver left on screen")                   << QRect(1280 - 20, 100, 800, 600) << one          << false;
        QTest::newRow("where an unplugged screen was")             << QRect(2400, 100, 600, 400)    << two            << false;
        // clang-format on
    }

    void visibleRect()
    {
        QFETCH(QRect, stored);
        QFETCH(QList<QRect>, screens);
        QFETCH(bool, untouched);

        const QRect placed = WindowPlacement::visibleRect(stored, screens);
        if (untouched)
        {
            QCOMPARE(placed, stored);
            return;
        }
        // Brought back whole onto the first screen, keeping its size where it fits.
        QVERIFY2(screens.first().contains(placed), qPrintable(QTest::toString(placed)));
        QCOMPARE(placed.width(), qMin(stored.width(), screens.first().width() - 20));
        QCOMPARE(placed.height(), qMin(stored.height(), screens.first().height() - 20));
    }

    void fullScreenEnterAndLeave_data()
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
    void fullScreenEnterAndLeave()
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
    // The status bar follows FullscreenStatusBar in full screen and its own
    // choice outside; a switch of the menu bar in full screen is written at once.
    void fullScreenLeavingGivesTheWindowBack()
    {
        for (const bool maximized : {false, true})
        {
            Rig rig;
            auto& [store, view, window, bars, fullScreen] = rig;
            const QRect normal(60, 70, 640, 480);
            window.setGeometry(normal);
            store.options->SetFullscreenStatusBar(true);
            window.statusBar()->hide();
            window.show();
            if (maximized)
                window.showMaximized();

            fullScreen.Toggle();
            QVERIFY(window.isFullScreen() && window.statusBar()->isVisible());
            QVERIFY(bars.items[IBarsHost::FullScreenItem].isChecked() && bars.buttonDown);
            QVERIFY(store.options->FullScreen());
            fullScreen.MenuBarToggled(true);
            QVERIFY(store.options->FullscreenMenuBar());

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
            QVERIFY(window.statusBar()->isHidden() && store.options->FullscreenStatusBar());
            fullScreen.MenuBarToggled(false);
            QVERIFY(store.options->FullscreenMenuBar());
        }
    }

    // The window manager's own way out leaves the mode as the menu item
    // would; being minimized in full screen does not.
    void windowManagerLeavingEndsFullScreen()
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

    void repaintHold()
    {
        // Since the last composition ended, how long it took, the hold.
        QCOMPARE(RepaintPacer::holdMs(-1, 0), 0);  // the first composition
        QCOMPARE(RepaintPacer::holdMs(0, 20), 20); // just after a slow one
        QCOMPARE(RepaintPacer::holdMs(30, 400), RepaintPacer::MaxHoldMs - 30); // very slow
    }

    void everyChangeIsRepainted()
    {
        CountingWidget window;
        window.resize(200, 100);
        new RepaintPacer(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(window.painted, 0);

        // A stream of changes, one per turn of the event loop: whatever is held
        // back, the last state reaches the screen.
        int next = 1;
        QTimer changes;
        changes.setInterval(0);
        connect(&changes, &QTimer::timeout, &window,
                [&]
                {
                    window.shown = next++;
                    window.update();
                    if (next > 40)
                        changes.stop();
                });
        changes.start();
        QTRY_VERIFY(!changes.isActive());
        QTRY_COMPARE(window.painted, 40);

        // A single change long after the stream is painted as well.
        window.shown = 41;
        window.update();
        QTRY_COMPARE(window.painted, 41);
    }

    void trayMenuAndHintFollowTheWindow()
    {
        // The window goes to the tray from the menu item or by being minimized.
        for (const auto& [state, byMinimizing] :
             std::initializer_list<std::pair<Qt::WindowState, bool>>{{Qt::WindowNoState, false},
                                                                     {Qt::WindowMaximized, false},
                                                                     {Qt::WindowNoState, true},
                                                                     {Qt::WindowMaximized, true},
                                                                     {Qt::WindowFullScreen, true}})
        {
            QWidget window;
            window.setWindowState(state);
            window.show();
            MainTray tray(&window, &services, trayCaption, true);
            tray.SetActive(true);
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
    void trayAbsentOnlyMinimizes()
    {
        QWidget window;
        window.show();
        MainTray tray(&window, &services, trayCaption, true);
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
        MainTray absent(&other, &services, trayCaption, false);
        absent.SetActive(true);
        absent.RestoreItem()->trigger();
        QVERIFY(other.isVisible());
        QVERIFY(!absent.Tray()->InTray());
    }

    void checkedItemOfFactor()
    {
        // clang-format off
        for (const auto& [factor, checkedIndex] : std::initializer_list<std::pair<double, int>>{
                 {ZoomLevels::Factors[4], 0}, // largest checks the first item
                 {ZoomLevels::Factors[3], 1},
                 {1.0, 2},                    // medium is the design size
                 {ZoomLevels::Factors[1], 3},
                 {ZoomLevels::Factors[0], 4}, // smallest checks the last item
                 {1.2000000476837158, 1},     // as the engine answers it back
                 {1.1, -1},                   // wheel zoom between two sizes
                 {3.0, -1}, {0.25, -1}})      // beyond the largest and the smallest
            QVERIFY2(ZoomLevels::CheckedIndex(ZoomLevels::LevelOf(factor)) == checkedIndex,
                     qPrintable(QString::number(factor, 'g', 17)));
        // clang-format on
    }

    // Both menus follow the page when they open, and a check from an
    // earlier opening goes.
    void menusFollowAndSetTheActivePage()
    {
        QWidget window;
        FakeBrowserControl page;
        page.zoomFactor = ZoomLevels::Factors[4];
        FakeBrowserControl* active = &page;
        MainTextSize sizes(&window, [&]() -> IBrowserControl* { return active; });
        const auto opened = [&]
        {
            QList<int> checked;
            for (const auto& [menu, items] :
                 {std::pair{sizes.FontMenu(), sizes.FontItems()},
                  std::pair{sizes.FontSizeMenu(), sizes.FontSizeItems()}})
            {
                emit menu->aboutToShow();
                int i = items.size() - 1;
                while (i >= 0 && !items[i]->isChecked())
                    --i;
                checked << i;
            }
            return checked;
        };
        QCOMPARE(opened(), (QList<int>{0, 0}));
        active = nullptr;
        QCOMPARE(opened(), (QList<int>{-1, -1}));

        active = &page;
        sizes.FontItems()[0]->trigger();
        sizes.FontSizeItems()[4]->trigger();
        sizes.actSetMediumFontExecute();
        QCOMPARE(page.zoomFactors,
                 (QList<double>{ZoomLevels::Factors[4], ZoomLevels::Factors[0], 1.0}));
        active = nullptr;
        sizes.FontItems()[1]->trigger();
        QCOMPARE(page.zoomFactors.size(), 3);
    }

    void helpPages_data()
    {
        QTest::addColumn<QString>("file");
        const QStringList pages = helpFiles(HelpSource, QStringLiteral("*.html"));
        QVERIFY(pages.size() >= 6);
        for (const QString& page : pages)
            QTest::newRow(qPrintable(page)) << page;
    }

    void helpPages()
    {
        QFETCH(QString, file);
        const QString html = readText(QDir(HelpSource).filePath(file));
        QVERIFY2(html.contains(QLatin1String("<link rel=\"stylesheet\" href=\"help.css\">")),
                 "every page uses the shared stylesheet");
        QVERIFY2(!html.contains(QLatin1String("<script"), Qt::CaseInsensitive),
                 "help pages carry no scripts");
        // Every link and source stays inside the folder and names what is there.
        const QStringList found =
            captures(html, QStringLiteral("\\b(?:href|src)\\s*=\\s*[\"']([^\"']*)[\"']"));
        QVERIFY(!found.isEmpty());
        for (const QString& reference : found)
        {
            const QUrl url(reference);
            QVERIFY2(url.isRelative() && !reference.startsWith(QLatin1Char('/')),
                     qPrintable(reference + " is not a relative link"));
            const QString target = url.path().isEmpty() ? file : url.path();
            const QString resolved = QDir::cleanPath(QDir(HelpSource).filePath(target));
            QVERIFY2(resolved.startsWith(HelpSource + QLatin1Char('/')),
                     qPrintable(reference + " leads out of the help folder"));
            QVERIFY2(QFileInfo(resolved).isFile(), qPrintable(reference + " names no file"));
            if (url.hasFragment())
                QVERIFY2(captures(readText(resolved), QStringLiteral("\\bid\\s*=\\s*\"([^\"]+)\""))
                             .contains(url.fragment()),
                         qPrintable(reference + " names no element of " + target));
        }
    }

    void buildFindsTheHelp()
    {
        // The test runs from the build's bin folder, beside its copy of the
        // help, with a program folder of its own that has none.
        const QString index = ProgramPaths::helpIndexFile();
        QVERIFY2(QFileInfo(index).isFile(), qPrintable(index));
        QCOMPARE(helpFiles(ProgramPaths::helpFolder(), QStringLiteral("*")),
                 helpFiles(HelpSource, QStringLiteral("*")));

        // A portable copy may carry its own help.
        const QString own = QDir(ProgramPaths::programFolder()).filePath(QStringLiteral("help"));
        QVERIFY(QDir().mkpath(own));
        QFile page(QDir(own).filePath(QStringLiteral("index.html")));
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.close();
        QCOMPARE(ProgramPaths::helpIndexFile(), page.fileName());
        QVERIFY(QDir(own).removeRecursively());
    }
};

int main(int argc, char* argv[])
{
    // A program folder of its own: the help search must not find a real one.
    QTemporaryDir home;
    qputenv("QUILLWAVE_HOME", home.path().toLocal8Bit());
    QApplication app(argc, argv);
    tst_MainWindowParts test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_MainWindowParts.moc"

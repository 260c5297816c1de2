#include "MainWindowFixture.h"
#include "TestHttpServer.h"
#include "chrome/SettingsBroadcast.h"
#include "chrome/TDefaultBrowser.h"
#include "chrome/TIEOptions.h"
#include "chrome/TQWToolBar.h"
#include "chrome/VersionCheck.h"
#include "components/TCoolBar.h"
#include "components/TMenuBand.h"
#include "components/TQWPageControl.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TPopupCapture.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainBars.h"
#include "core/window/MainOptions.h"
#include "core/window/MainVersionCheck.h"
#include "core/window/StoredOptions.h"
#include "core/window/TMainMenu.h"
#include "core/window/TfrmMain.h"
#include "groups/TKoncoBar.h"
#include "navigation/TAddressBand.h"
#include "navigation/TAddressController.h"
#include "navigation/TQWComboBox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

// The main window's bars and menus, its content switches, the options
// dialog's host and the version check, on fake pages.
namespace
{
constexpr int LoadImagesButton = 15;
constexpr int SideBarButton = 10;

// Band names from the left of the top row to the right of the last.
QStringList order(const TCoolBar* bar)
{
    QStringList names;
    for (int i = 0; i < bar->BandCount(); ++i)
        names << bar->BandName(i) + (bar->BandBreak(i) ? u"|"_s : QString());
    return names;
}

QString storedEngineText(const QString& name)
{
    const std::optional<RegValue> value = RegistryStore().value(RegistryKeys::EngineMain, name);
    return value ? value->text : u"<missing>"_s;
}

// Every value changed from what a fresh program shows.
OptionsValues changedEverywhere(OptionsValues v)
{
    using O = OptionsValues;
    // clang-format off
    for (bool O::*flag :
         {&O::AllowMultiInstance, &O::MinToTray, &O::VBAutoExpand, &O::DisableALTShortcuts,
          &O::ToolbarShowColor, &O::VersionCheck, &O::LoadBHOs, &O::MultipleLines, &O::TabsDown,
          &O::OpenNewInForeground, &O::VGCloseFirst, &O::OpenNewAtEnd, &O::UsePopupVostel,
          &O::ShowGo, &O::ConfirmCloseAll, &O::ConfirmShutdown, &O::PopupVostelNotify,
          &O::BreakFavorites, &O::UseCustomIcons, &O::ShowOpenAllFavorites, &O::AskDefaultBrowser})
        // clang-format on
        v.*flag = !(v.*flag);
    for (bool& newTab : v.NewTabs)
        newTab = !newTab;
    for (QString* text : {&v.CtrlPre, &v.CtrlPost, &v.ShiftPre, &v.ShiftPost, &v.CtrlShiftPre,
                          &v.CtrlShiftPost, &v.StartupVostelGroup})
        text->append(u'x');
    v.LimitTitleLength = 4;
    v.TabColorScheme = u"custom"_s;
    v.InactiveTabColor = QColor(1, 2, 3);
    v.InactiveFontColor = QColor(200, 100, 50);
    v.NewAction = 1;
    v.StartupMode = u"Blank"_s;
    v.PopupPatterns = {u"ads.test/*"_s, u"http://pop.test/"_s};
    v.AutoCompleteStyle = 1;
    return v;
}

// Whether anything listens to an item: an item nobody listens to is dead.
struct SignalPeek : QObject
{
    static int listeners(QAction* action)
    {
        return static_cast<SignalPeek*>(static_cast<QObject*>(action))
            ->receivers(SIGNAL(triggered(bool)));
    }
};

// Counts the presses of one key that reach a widget.
struct KeyCounter : QObject
{
    int key = 0, presses = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        presses += e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == key;
        return false;
    }
};
} // namespace

class tst_MainBars : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_f;

private slots:
    void init() { QVERIFY((m_f = std::make_unique<MainWindowFixture>())->isValid()); }
    void cleanup() { QW_FINISH_MAIN_WINDOW(m_f); }

    // Band layout, shown bars and toolbar buttons as the user left them.
    void barsSurviveRestart()
    {
        TfrmMain* window = m_f->createActive();
        MainBars* bars = window->Bars();
        QCOMPARE(order(bars->CoolBar()), (QStringList{"Menu", "Tool|", "Address|", "Links"}));
        // The address band beside the toolbar, on its row.
        bars->CoolBar()->SetBandBreak(2, false);
        bars->CoolBar()->SetBandWidth(1, 300);
        bars->ToolBar()->SetEntries({{5, true}, {3, true}, {-1, true}, {21, true}});
        // The side bar's button follows the bar however it is switched.
        window->RunCommand(MainCommand::ToggleSideBar);
        QVERIFY(bars->ToolBar()->IsDown(SideBarButton));
        window->KoncoBar()->hide();
        QVERIFY(!bars->ToolBar()->IsDown(SideBarButton));
        // The View menu and the bar menu switch the same band.
        window->MainMenu()->ToolbarItem()->trigger();
        QVERIFY(!bars->Shown(MainBars::Bar::Tool));
        emit bars->CustomizeMenu()->aboutToShow();
        auto* address = bars->CustomizeMenu()->findChild<QAction*>("pmCustomizeViewAddressBar");
        QVERIFY(address->isChecked());
        address->trigger();
        QVERIFY(!bars->Shown(MainBars::Bar::Address));
        QVERIFY(!window->MainMenu()->AddressBarItem()->isChecked());
        m_f->closeWindow();
        QCOMPARE(m_f->stored(u"ViewToolbar"_s) + m_f->stored(u"ViewAddressBar"_s), u"00"_s);
        QFile file(m_f->home().filePath(u"tbmain.dat"_s));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll())
                     .split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts),
                 (QStringList{"[Toolbar]", "5=1", "3=1", "Sep2=1", "21=1"}));

        // The start-up timer reads the layout once the window runs.
        bars = m_f->createActive()->Bars();
        QTRY_COMPARE(order(bars->CoolBar()), (QStringList{"Menu", "Tool|", "Address", "Links"}));
        QCOMPARE(bars->CoolBar()->BandWidth(1), 300);
        QVERIFY(!bars->Shown(MainBars::Bar::Tool) && !bars->Shown(MainBars::Bar::Address) &&
                bars->Shown(MainBars::Bar::Menu));
    }

    void everyItemDoesSomething()
    {
        QVERIFY(m_f->createActive(2));
        QStringList dead;
        const QList<QMenu*> menus = m_f->window->findChildren<QMenu*>();
        QVERIFY(menus.size() > 8);
        for (QMenu* menu : menus)
        {
            QObject* owner = menu->parent();
            // Qt's own widgets' menus are not ours.
            if (owner && owner->objectName().startsWith("qt_"_L1))
                continue;
            emit menu->aboutToShow(); // menus filled as they open are walked full
            // The links bar opens its menus only when they have entries; a
            // submenu whose item is disabled while it is empty never opens.
            if (menu->actions().isEmpty() && !owner->inherits("TLinksBar") &&
                menu->menuAction()->isEnabled())
                dead << menu->objectName() + u" (empty, in "_s + owner->objectName() + u')';
            for (QAction* action : menu->actions())
                if (!action->isSeparator() && !action->menu() && SignalPeek::listeners(action) == 0)
                    dead << menu->objectName() + u'/' + action->objectName() + u' ' +
                                action->text();
        }
        QVERIFY2(dead.isEmpty(), qPrintable(dead.join(u'\n')));
    }

    void chevronOffersTheMenus()
    {
        QVERIFY(m_f->createActive());
        TMenuBand* band = m_f->window->MainMenu()->Band();
        band->resize(band->sizeHint().width() / 2, band->height());
        QVERIFY(!band->Chevron()->isHidden());
        emit band->Extender()->aboutToShow();
        QList<QMenu*> offered;
        for (QAction* entry : band->Extender()->actions())
            offered << entry->menu();
        // The band's menus in its order, but for the Tabs menu, which takes no part.
        QList<QMenu*> expected;
        for (QToolButton* button : band->Buttons())
            if (button->objectName() != "tbMenuTabs"_L1)
                expected << button->menu();
        QCOMPARE(offered, expected);
        // The menus are lent, not moved: they still hold their items.
        QVERIFY(!m_f->window->findChild<QMenu*>(u"pmFile"_s)->isEmpty());
    }

    // The clipboard item opens what the clipboard holds if it is text; help
    // opens in a new tab too.
    void itemsThatOpenANewTab()
    {
        QVERIFY(m_f->createActive());
        auto* newMenu = m_f->window->findChild<QMenu*>(u"pmFileNewMenu"_s);
        auto* item = m_f->window->findChild<QAction*>(u"pmFileNewClipboard"_s);
        QVERIFY(newMenu && item);
        const auto enabled = [&]
        {
            emit newMenu->aboutToShow();
            return item->isEnabled();
        };
        QGuiApplication::clipboard()->setText(u"   "_s);
        QVERIFY(!enabled());
        QGuiApplication::clipboard()->setText(u" http://example.test/ "_s);
        QVERIFY(enabled());
        item->trigger();
        QCOMPARE(m_f->window->TabSet()->Count(), 2);
        QVERIFY(m_f->made.last()->navigations.value(0).contains(u"http://example.test/"));

        m_f->window->RunCommand(MainCommand::HelpTopics);
        QCOMPARE(m_f->window->TabSet()->Count(), 3);
        const QString help = QUrl(m_f->made.last()->navigations.value(0)).toLocalFile();
        QVERIFY2(QFileInfo(help).isFile() && help.endsWith("/help/index.html"_L1),
                 qPrintable(help));
    }

    // Three tabs, the middle one in front. Which key means what is the key
    // decision's table; here: the key pressed in the page reaches the
    // command, never the page.
    void keysInsidePage_data()
    {
        QTest::addColumn<int>("stroke");
        QTest::addColumn<int>("tabsAfter");
        QTest::addColumn<int>("activeAfter");
        QTest::addColumn<QString>("pageCall"); // empty: the tab is gone
        QTest::newRow("Ctrl+W") << (Qt::CTRL | Qt::Key_W).toCombined() << 2 << 0 << "";
        QTest::newRow("Alt+Left") << (Qt::ALT | Qt::Key_Left).toCombined() << 3 << 1 << "GoBack";
        QTest::newRow("Ctrl+C") << (Qt::CTRL | Qt::Key_C).toCombined() << 3 << 1 << "ExecEdit Copy";
    }

    // Three tabs, the middle one in front: the key pressed in the page
    // reaches the command, never the page.
    void keysInsidePage()
    {
        QFETCH(int, stroke);
        QFETCH(int, tabsAfter);
        QFETCH(int, activeAfter);
        QFETCH(QString, pageCall);
        const QKeyCombination key = QKeyCombination::fromCombined(stroke);
        QVERIFY(m_f->seed(u"NewAction"_s, u"0"_s));
        QVERIFY(m_f->createActive(3));
        TTabSet* tabs = m_f->window->TabSet();
        tabs->ActivateTab(tabs->Tab(1));
        auto* page = dynamic_cast<FakeBrowserControl*>(tabs->GetActivePage()->Browser());
        page->events()->CommandStateChange(CommandBack, true);
        QWidget* pageWidget = page->widget();
        pageWidget->setFocusPolicy(Qt::StrongFocus);
        pageWidget->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), pageWidget);
        KeyCounter counter;
        counter.key = key.key();
        pageWidget->installEventFilter(&counter);
        QTest::keyClick(pageWidget, key.key(), key.keyboardModifiers());
        QTRY_COMPARE(tabs->Count(), tabsAfter);
        QTRY_COMPARE(tabs->GetActivePage(), tabs->Tab(activeAfter));
        QCOMPARE(counter.presses, 0);
        if (pageCall.isEmpty())
            return;
        // Of what it was asked, what a key could have asked.
        const QRegularExpression asked(u"^(Stop|Refresh|GoBack|GoForward|ExecEdit)"_s);
        QTRY_COMPARE(page->log.filter(asked).join(u", "), pageCall);
        pageWidget->removeEventFilter(&counter);
    }

    // Missing values show on and write nothing; opening Tools reads the
    // store again. Each switch chosen twice stores "no" and then "yes", each
    // announced once and followed by a refresh of every tab.
    void contentSwitches()
    {
        TfrmMain* window = m_f->createActive(2);
        const QList<QAction*> items = window->MainMenu()->ContentSwitchItems();
        const auto checks = [&]
        {
            emit window->MainMenu()->ToolsMenu()->aboutToShow();
            QList<bool> checked;
            for (QAction* item : items)
                checked << (item->isCheckable() && item->isChecked());
            return checked << window->Bars()->ToolBar()->IsDown(LoadImagesButton);
        };
        QCOMPARE(checks(), (QList<bool>{true, true, true, true, true}));
        QCOMPARE(storedEngineText(TIEOptions::ImagesValue), u"<missing>"_s);
        QSignalSpy announced(SettingsBroadcast::instance(), &SettingsBroadcast::settingsChanged);
        const QString names[] = {TIEOptions::ImagesValue, TIEOptions::VideosValue,
                                 TIEOptions::SoundsValue, TIEOptions::AnimationsValue};
        for (int item = 0; item < 4; ++item)
        {
            for (const bool on : {false, true})
            {
                items[item]->trigger();
                QCOMPARE(storedEngineText(names[item]), on ? u"yes"_s : u"no"_s);
                QCOMPARE(items[item]->isChecked(), on);
                QCOMPARE(window->Bars()->ToolBar()->IsDown(LoadImagesButton), on || item != 0);
                QCOMPARE(announced.size(), 2 * item + 1 + on);
            }
            for (FakeBrowserControl* page : m_f->made)
                QCOMPARE(page->refreshes.size(), 2 * item + 2);
        }
        // Another window switched these off.
        QVERIFY(TIEOptions().SetLoadImages(false) && TIEOptions().SetPlayAnimations(false));
        QCOMPARE(checks(), (QList<bool>{false, true, true, false, false}));
    }

    // Every value goes to the store and to the part of the running window
    // that keeps it, so neither the window's look nor what it writes at its
    // end keeps an older value.
    void optionsAppliedAtOnceAndStored()
    {
        TfrmMain* window = m_f->createActive(1);
        TBrowserTab* tab = window->GetActivePage();
        static_cast<FakeBrowserControl*>(tab->Browser())->fireTitle(u"0123456789"_s);
        MainOptions* host = window->OptionsHost();
        const OptionsValues before = host->CurrentOptions();
        const OptionsValues after = changedEverywhere(before);
        host->ApplyOptions(before, after);
        QCOMPARE(host->CurrentOptions(), after);
        QCOMPARE(window->PageControl()->pageCaption(tab), u"0123..."_s);
        QVERIFY(window->Address()->Band()->ShowGo());
        for (const TQWPageControl* pages : {window->PageControl(), window->KoncoBar()->pcKoncoBar})
            QCOMPARE(pages->InactiveTabColor(), QColor(1, 2, 3));
        QCOMPARE(window->PageControl()->TabsAtBottom(), after.TabsDown);
        QCOMPARE(window->TabSet()->OpenNewInForeground, after.OpenNewInForeground);

        // Default browser rows are registered one by one.
        QList<OptionsValues::DefaultBrowserRow> rows = after.DefaultBrowserRows;
        QCOMPARE(rows.size(), TDefaultBrowser::ClassNames().size());
        rows[1].Checked = !rows[1].Checked;
        host->ApplyDefaultBrowser(rows);
        QCOMPARE(TDefaultBrowser::IsRegistered(rows[1].ClassName), rows[1].Checked);
        QCOMPARE(host->CurrentOptions().DefaultBrowserRows, rows);

        // A fixed scheme shows its colours and keeps the chosen ones stored.
        OptionsValues expected = after;
        expected.TabColorScheme = u"rev"_s;
        expected.ShowGo = false;
        host->ApplyOptions(after, expected);
        QVERIFY(!window->Address()->Band()->ShowGo());
        QCOMPARE(window->PageControl()->InactiveTabColor(),
                 window->PageControl()->palette().color(QPalette::Inactive, QPalette::Highlight));
        QCOMPARE(m_f->stored(u"InactiveTabColor"_s), QString::number(0x030201));

        // Whatever the dialog did, the window then reads these two again.
        window->Options()->WritePopupVostel({u"b.test"_s, u"a.test"_s});
        window->Options()->SetShiftPost(u".example"_s);
        host->AfterDialog();
        expected.PopupPatterns = {u"a.test"_s, u"b.test"_s};
        expected.ShiftPost = u".example"_s;
        QCOMPARE(window->PopupCapture()->PopupList(), expected.PopupPatterns);
        QCOMPARE(window->Address()->Box()->Affixes().ShiftPost, expected.ShiftPost);

        m_f->closeWindow();
        OptionsValues stored = StoredOptions::Read(TQWOptions());
        stored.TrayAvailable = after.TrayAvailable;
        stored.DefaultBrowserRows = after.DefaultBrowserRows;
        QCOMPARE(stored, expected);
    }

    // The whole check in a running window: armed by the first activation,
    // the service asked, the question in the window's language answered
    // Yes, the release page in a new tab and the version stored. (When to
    // ask and what to store are the check's own tests.)
    void versionCheckOffersTheRelease()
    {
        TestHttpServer server;
        QVERIFY(server.listen());
        server.route(u"/"_s, TestHttpServer::Response{200, "text/plain",
                                                      "PONG=TRUE\nVERID=151\nVERSION=6.4\n"
                                                      "VERURL=http://q.test/release\n"});
        QVERIFY(m_f->seed(u"VersionCheck"_s, u"1"_s));
        QVERIFY(m_f->seed(u"VersionServer"_s, server.url(QString())));
        m_f->expectDialogs();

        MainVersionCheck* part = m_f->createActive()->findChild<MainVersionCheck*>();
        QVERIFY(part && part->Timer()->isActive());
        QString heading;
        ModalDialogAnswerer answerer(
            [&](QWidget* dialog)
            {
                heading = dialog->findChild<QLabel*>(u"lblTitle"_s)->text();
                dialog->findChild<QPushButton*>(u"cmdOK"_s)->click();
            });
        QSignalSpy finished(part->Check(), &VersionCheck::finished);
        part->tmrVersionCheckTimer();
        QVERIFY(finished.wait());

        QCOMPARE(answerer.count(), 1);
        QCOMPARE(heading, u"Quillwave 6.4 is available."_s);
        QCOMPARE(m_f->window->TabSet()->Count(), 2);
        QCOMPARE(m_f->made.last()->navigations, QStringList{u"http://q.test/release"_s});
        QCOMPARE(m_f->stored(u"CheckedVersion"_s), u"151"_s);
    }
};

QTEST_MAIN(tst_MainBars)
#include "tst_MainBars.moc"

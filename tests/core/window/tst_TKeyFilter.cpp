// Which key means what (in the window's every state), where the edit
// commands act, the application command keys and buttons, and keys that
// follow the focus a command moved.

#include "core/window/EditCommandTarget.h"
#include "core/window/TAppCommandFilter.h"
#include "core/window/TKeyDecision.h"
#include "core/window/TKeyFilter.h"

#include <QApplication>
#include <QHash>
#include <QKeySequence>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <utility>

Q_DECLARE_METATYPE(TAppCommandFilter::AppCommand)

namespace
{
using Kind = TKeyDecision::Kind;
using Outcome = TKeyDecision::Outcome;

enum StateFlag
{
    Plain = 0,
    NotInFront = 1,
    AltDisabled = 2,
    NoTab = 4,
    TextBox = 8,
    PageFullScreen = 16,
    Renaming = 32,
    PartnerBand = 64,
    Today = 128,
    FindBar = 256 | TextBox,
    Release = 512 // the key goes up
};

TKeyDecision::WindowState stateFor(int flags)
{
    // Today's window has no favorites and no side bar: their keys are nobody's.
    const bool today = flags & Today;
    return {.mainWindowInFront = !(flags & NotInFront),
            .altShortcutsDisabled = bool(flags & AltDisabled),
            .hasActiveTab = !(flags & NoTab),
            .textBoxFocused = bool(flags & TextBox),
            .pageFullScreen = bool(flags & PageFullScreen),
            .findBarFocused = bool(flags & 256),
            .favoritesTreeRenaming = bool(flags & Renaming),
            .partnerBandPresent = bool(flags & PartnerBand),
            .available = [today](MainCommand command)
            {
                return !today || (command != MainCommand::DropFavoritesMenu &&
                                  command != MainCommand::OrganizeFavorites &&
                                  command != MainCommand::ToggleSideBar);
            }};
}

Kind kindFor(Qt::KeyboardModifiers modifiers, bool press)
{
    const bool system =
        modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier);
    return press ? (system ? TKeyDecision::SysKeyDown : TKeyDecision::KeyDown)
                 : (system ? TKeyDecision::SysKeyUp : TKeyDecision::KeyUp);
}

constexpr Qt::KeyboardModifiers None = Qt::NoModifier;
constexpr Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers Shift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers Alt = Qt::AltModifier;
const Qt::KeyboardModifiers CtrlShift = Qt::ControlModifier | Qt::ShiftModifier;
const Qt::KeyboardModifiers CtrlAlt = Qt::ControlModifier | Qt::AltModifier;

const Outcome Pass{false, MainCommand::None};
const Outcome Swallow{true, MainCommand::None};
Outcome Run(MainCommand command)
{
    return {true, command};
}

struct Case
{
    int key;
    Qt::KeyboardModifiers modifiers;
    int flags;
    Outcome expected;
};
using Cases = QList<Case>;
} // namespace

Q_DECLARE_METATYPE(Cases)

class tst_TKeyFilter : public QObject
{
    Q_OBJECT

private slots:
    void keyDecision_data()
    {
        QTest::addColumn<Cases>("cases");
        using K = Qt::Key;
        using M = MainCommand;
        // clang-format off
        QTest::newRow("another window in front takes its own keys") << Cases{{K::Key_W, Ctrl, NotInFront, Pass}, {K::Key_F, Alt, NotInFront, Pass}, {K::Key_Escape, None, NotInFront, Pass}};
        QTest::newRow("Alt shortcuts 1") << Cases{{K::Key_Home, Alt, Plain, Run(M::Home)}, {K::Key_D, Alt, Plain, Run(M::FocusAddressBox)}, {K::Key_F, Alt, Plain, Run(M::DropFileMenu)}, {K::Key_E, Alt, Plain, Run(M::DropEditMenu)}, {K::Key_V, Alt, Plain, Run(M::DropViewMenu)}, {K::Key_A, Alt, Plain, Run(M::DropFavoritesMenu)}};
        QTest::newRow("Alt shortcuts 2") << Cases{{K::Key_C, Alt, Plain, Run(M::DropVostelGroupsMenu)}, {K::Key_T, Alt, Plain, Run(M::DropToolsMenu)}, {K::Key_R, Alt, Plain, Run(M::DropSecurityMenu)}, {K::Key_H, Alt, Plain, Run(M::DropHelpMenu)}, {K::Key_S, Alt, Plain, Run(M::DropTabsMenu)}, {K::Key_G, Alt, Plain, Swallow}};
        QTest::newRow("Alt shortcuts 3") << Cases{{K::Key_X, Alt, Plain, Swallow}, {K::Key_B, Alt, Plain, Pass}, {K::Key_D, CtrlAlt, Plain, Run(M::FocusAddressBox)}, {K::Key_F, Alt, NoTab, Run(M::DropFileMenu)}, {K::Key_A, Alt, Today, Pass}};
        QTest::newRow("Alt shortcuts off: the page gets them") << Cases{{K::Key_F, Alt, AltDisabled, Pass}, {K::Key_D, Alt, AltDisabled, Pass}, {K::Key_Left, Alt, AltDisabled, Pass}, {K::Key_W, Ctrl, AltDisabled, Run(M::CloseTab)}};
        QTest::newRow("Ctrl+Tab works with no tab; the rest does not") << Cases{{K::Key_Tab, Ctrl, Plain, Run(M::NextTab)}, {K::Key_Tab, CtrlShift, Plain, Run(M::PreviousTab)}, {K::Key_Tab, None, Plain, Pass}, {K::Key_W, Ctrl, NoTab, Pass}, {K::Key_Escape, None, NoTab, Pass}, {K::Key_F5, None, NoTab, Pass}};
        QTest::newRow("Shift+Ins and Shift+Del; a text box edits itself 1") << Cases{{K::Key_Insert, Shift, Plain, Run(M::Paste)}, {K::Key_Delete, Shift, Plain, Run(M::Cut)}, {K::Key_Delete, None, Plain, Pass}, {K::Key_Insert, Shift, TextBox, Pass}, {K::Key_C, Ctrl, TextBox, Pass}, {K::Key_A, Ctrl, TextBox, Pass}};
        QTest::newRow("Shift+Ins and Shift+Del; a text box edits itself 2") << Cases{{K::Key_W, Ctrl, TextBox, Run(M::CloseTab)}, {K::Key_Escape, None, TextBox, Run(M::Stop)}};
        QTest::newRow("Esc") << Cases{{K::Key_Escape, None, Plain, Run(M::Stop)}, {K::Key_Escape, Shift, Plain, Run(M::StopAll)}, {K::Key_Escape, None, PageFullScreen, Pass}, {K::Key_Escape, None, FindBar, Pass}, {K::Key_F, Ctrl, FindBar, Run(M::Find)}};
        QTest::newRow("back and forward") << Cases{{K::Key_Left, Alt, Plain, Run(M::Back)}, {K::Key_Right, Alt, Plain, Run(M::Forward)}, {K::Key_Left, None, Plain, Pass}, {K::Key_Left, CtrlAlt, Plain, Pass}};
        QTest::newRow("Ctrl table 1") << Cases{{K::Key_Insert, Ctrl, Plain, Run(M::Copy)}, {K::Key_C, Ctrl, Plain, Run(M::Copy)}, {K::Key_A, Ctrl, Plain, Run(M::SelectAll)}, {K::Key_B, Ctrl, Plain, Run(M::OrganizeFavorites)}, {K::Key_E, Ctrl, Plain, Run(M::SideBarSearch)}, {K::Key_F, Ctrl, Plain, Run(M::Find)}};
        QTest::newRow("Ctrl table 2") << Cases{{K::Key_G, Ctrl, Plain, Run(M::SideBarVostelGroups)}, {K::Key_H, Ctrl, Plain, Run(M::SideBarHistory)}, {K::Key_H, CtrlShift, Plain, Run(M::NewHomeTab)}, {K::Key_I, Ctrl, Plain, Run(M::SideBarFavorites)}, {K::Key_J, Ctrl, Plain, Run(M::Downloads)}, {K::Key_L, Ctrl, Plain, Run(M::OpenDialog)}};
        QTest::newRow("Ctrl table 3") << Cases{{K::Key_O, Ctrl, Plain, Run(M::OpenDialog)}, {K::Key_N, Ctrl, Plain, Run(M::NewTab)}, {K::Key_P, Ctrl, Plain, Run(M::Print)}, {K::Key_R, Ctrl, Plain, Run(M::RefreshBypassCache)}, {K::Key_S, Ctrl, Plain, Run(M::SideBarSearch)}, {K::Key_S, CtrlShift, Plain, Run(M::SaveAs)}};
        QTest::newRow("Ctrl table 4") << Cases{{K::Key_V, Ctrl, Plain, Run(M::Paste)}, {K::Key_X, Ctrl, Plain, Run(M::Cut)}, {K::Key_W, Ctrl, Plain, Run(M::CloseTab)}, {K::Key_F4, Ctrl, Plain, Run(M::CloseTab)}, {K::Key_W, CtrlShift, Plain, Run(M::CloseAll)}, {K::Key_F4, CtrlShift, Plain, Run(M::CloseAll)}};
        QTest::newRow("Ctrl+Shift+T reopens; Ctrl+T is the page's") << Cases{{K::Key_T, CtrlShift, Plain, Run(M::ReopenClosedTab)}, {K::Key_T, Ctrl, Plain, Pass}, {K::Key_T, CtrlShift, TextBox, Run(M::ReopenClosedTab)}};
        QTest::newRow("Ctrl table 5") << Cases{{K::Key_F3, Ctrl, Plain, Run(M::FollowNextLink)}, {K::Key_Q, Ctrl, Plain, Pass}, {K::Key_B, Ctrl, Today, Pass}, {K::Key_N, Ctrl, Today, Run(M::NewTab)}, {K::Key_O, CtrlAlt, Plain, Run(M::Options)}};
        QTest::newRow("function keys 1") << Cases{{K::Key_F1, None, Plain, Run(M::HelpTopics)}, {K::Key_F1, Ctrl, Plain, Swallow}, {K::Key_F1, Ctrl, PartnerBand, Run(M::PartnerLink)}, {K::Key_F2, None, Plain, Run(M::PreviousTab)}, {K::Key_F2, None, Renaming, Pass}, {K::Key_F3, None, Plain, Run(M::NextTab)}};
        QTest::newRow("function keys 2") << Cases{{K::Key_F4, None, Plain, Run(M::ToggleSideBar)}, {K::Key_F4, None, Today, Pass}, {K::Key_F5, None, Plain, Run(M::Refresh)}, {K::Key_F5, Ctrl, Plain, Run(M::RefreshBypassCache)}, {K::Key_F5, Shift, Plain, Run(M::RefreshAll)}, {K::Key_F6, None, Plain, Run(M::AddToVostelGroup)}};
        QTest::newRow("function keys 3") << Cases{{K::Key_F7, None, Plain, Run(M::SaveTabsAsVostelGroup)}, {K::Key_F8, None, Plain, Run(M::AddToPopupList)}, {K::Key_F9, None, Plain, Run(M::StickyTitle)}, {K::Key_F10, None, Plain, Pass}, {K::Key_F11, None, Plain, Run(M::FullScreen)}, {K::Key_F12, None, Plain, Run(M::ToggleLock)}};
        QTest::newRow("function keys 4") << Cases{{K::Key_F12, Ctrl, Plain, Run(M::FlipOpenInForeground)}};
        // The release of an Alt shortcut must not reach the page that never saw
        // its press; other releases are nobody's business.
        QTest::newRow("releases run nothing") << Cases{{K::Key_F, Alt, Release, Swallow}, {K::Key_Home, Alt, Release, Swallow}, {K::Key_W, Ctrl, Release, Pass}, {K::Key_Escape, None, Release, Pass}, {K::Key_Left, Alt, Release, Pass}};
        QTest::newRow("everything else is the page's") << Cases{{K::Key_Q, None, Plain, Pass}, {K::Key_Return, None, Plain, Pass}, {K::Key_Backspace, None, Plain, Pass}};
        // clang-format on
    }

    void keyDecision()
    {
        QFETCH(Cases, cases);
        for (const Case& c : cases)
        {
            const TKeyDecision::Stroke stroke{c.key, c.modifiers,
                                              kindFor(c.modifiers, !(c.flags & Release))};
            const Outcome outcome = TKeyDecision::Decide(stroke, stateFor(c.flags));
            QVERIFY2(outcome == c.expected,
                     qPrintable(QKeySequence(c.key | c.modifiers.toInt()).toString() +
                                " in state " + QString::number(c.flags) + ": " +
                                QString::number(outcome.handled) + '/' +
                                QString::number(int(outcome.command))));
        }
    }

    // Where the edit commands act: the focused text box first, then the
    // search pane, then the page, which a paste brings forward first.
    void editTarget()
    {
        using T = EditCommandTarget;
        const struct
        {
            EditCommand command;
            T::State state; // text box, search pane, page
            T::Target target;
            bool activateFirst;
        } rows[] = {
            {EditCopy, {true, false, true}, T::TextBox, false},
            {EditPaste, {true, false, false}, T::TextBox, false},
            {EditSelectAll, {true, false, true}, T::TextBox, false},
            {EditCut, {false, true, true}, T::SearchPane, false},
            {EditPaste, {false, true, true}, T::SearchPane, false},
            {EditCopy, {false, false, true}, T::Page, false},
            {EditCut, {false, false, true}, T::Page, false},
            {EditPaste, {false, false, true}, T::Page, true},
            {EditCopy, {false, false, false}, T::Nothing, false},
        };
        for (const auto& row : rows)
        {
            const T::Decision decision = T::Decide(row.command, row.state);
            const QByteArray where = QByteArray::number(&row - rows);
            QVERIFY2(decision.target == row.target, where);
            QVERIFY2(decision.activatePageFirst == row.activateFirst, where);
        }
    }

    void everyCommandHasOneKey()
    {
        // Every key Qt can report, printable and special: each application
        // command is reached by exactly one of them.
        QHash<TAppCommandFilter::AppCommand, int> keys;
        for (const auto& [from, to] : {std::pair{0x20, 0xff}, std::pair{0x01000000, 0x0100ffff},
                                       std::pair{0x01100000, 0x0110ffff}})
            for (int key = from; key <= to; ++key)
                ++keys[TAppCommandFilter::commandForKey(key, Qt::NoModifier)];
        for (int command = TAppCommandFilter::None + 1; command <= TAppCommandFilter::Home;
             ++command)
            QCOMPARE(keys.value(TAppCommandFilter::AppCommand(command)), 1);
    }

    void commandForMouseButton()
    {
        QCOMPARE(TAppCommandFilter::commandForMouseButton(Qt::ForwardButton),
                 TAppCommandFilter::Forward);
        QCOMPARE(TAppCommandFilter::commandForMouseButton(Qt::MiddleButton),
                 TAppCommandFilter::None);
    }

    void realWindowDeliveryGivesOneCommand()
    {
        TAppCommandFilter filter;
        qApp->installEventFilter(&filter);
        QSignalSpy spy(&filter, &TAppCommandFilter::command);

        QWidget top;
        auto* layout = new QVBoxLayout(&top);
        auto* inner = new QWidget(&top);
        auto* edit = new QLineEdit(inner);
        layout->addWidget(inner);
        top.resize(300, 200);
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));
        top.activateWindow();
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());

        // Through the platform window, as the keyboard and mouse deliver them.
        QTest::keyClick(top.windowHandle(), Qt::Key_Forward);
        QTest::keyClick(top.windowHandle(), Qt::Key_Forward);
        QCOMPARE(spy.count(), 2);
        spy.clear();
        const QPoint onInner = inner->mapTo(&top, inner->rect().center());
        QTest::mousePress(top.windowHandle(), Qt::BackButton, {}, onInner);
        QTest::mouseRelease(top.windowHandle(), Qt::BackButton, {}, onInner);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().value<TAppCommandFilter::AppCommand>(),
                 TAppCommandFilter::Back);
        spy.clear();
        QTest::mouseClick(top.windowHandle(), Qt::LeftButton, {}, onInner);
        QCOMPARE(spy.count(), 0);
        qApp->removeEventFilter(&filter);
    }

    // Typing right after Alt+D must land in the address box even when the
    // keys were already on their way to the page when Alt+D was pressed.
    void keysAfterACommandFollowItsFocus()
    {
        QWidget window;
        auto* page = new QLineEdit(&window);
        auto* address = new QLineEdit(&window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(page);
        layout->addWidget(address);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        page->setFocus();

        TKeyFilter filter([] { return TKeyDecision::WindowState{}; });
        qApp->installEventFilter(&filter);
        int commands = 0;
        connect(&filter, &TKeyFilter::command, address,
                [&](MainCommand command)
                {
                    QCOMPARE(command, MainCommand::FocusAddressBox);
                    ++commands;
                    address->setFocus();
                });
        // A modifier alone, or a key the page hands back unused, does not
        // follow: an Alt would close a menu the command opened.
        struct AltCount : QObject
        {
            int count = 0;
            bool eventFilter(QObject*, QEvent* event) override
            {
                count += event->type() == QEvent::KeyPress &&
                         static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt;
                return false;
            }
        } alts;
        address->installEventFilter(&alts);
        QTest::keyClick(page, Qt::Key_D, Qt::AltModifier);
        QKeyEvent handedBack(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
        QCoreApplication::sendEvent(page, &handedBack);
        QTest::keyPress(page, Qt::Key_Alt);
        QTest::keyClicks(page, "qw", Qt::NoModifier);
        QCOMPARE(page->text(), QString());
        QTRY_COMPARE(address->text(), QStringLiteral("qw"));
        QCOMPARE(commands, 1);
        QCOMPARE(alts.count, 0);
        QTest::keyClicks(address, "x");
        QCOMPARE(address->text(), QStringLiteral("qwx"));
    }
};

QTEST_MAIN(tst_TKeyFilter)
#include "tst_TKeyFilter.moc"

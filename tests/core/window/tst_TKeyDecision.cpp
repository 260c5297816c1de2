#include "core/window/TKeyDecision.h"

#include <QKeySequence>
#include <QTest>

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
    TKeyDecision::WindowState state;
    // Today's window has no favorites and no side bar: their keys are nobody's.
    state.available = [today = bool(flags & Today)](MainCommand command)
    {
        return !today || (command != MainCommand::DropFavoritesMenu &&
                          command != MainCommand::OrganizeFavorites &&
                          command != MainCommand::ToggleSideBar);
    };
    state.mainWindowInFront = !(flags & NotInFront);
    state.altShortcutsDisabled = flags & AltDisabled;
    state.hasActiveTab = !(flags & NoTab);
    state.textBoxFocused = flags & TextBox;
    state.pageFullScreen = flags & PageFullScreen;
    state.favoritesTreeRenaming = flags & Renaming;
    state.partnerBandPresent = flags & PartnerBand;
    state.findBarFocused = flags & 256;
    return state;
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

QString toText(const Outcome& outcome)
{
    return QStringLiteral("{handled=%1, command=%2}")
        .arg(outcome.handled)
        .arg(int(outcome.command));
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

class tst_TKeyDecision : public QObject
{
    Q_OBJECT
private slots:
    void decide_data()
    {
        // Each case: key, modifiers, window state, outcome.
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

    void decide()
    {
        QFETCH(Cases, cases);
        for (const Case& c : cases)
        {
            const TKeyDecision::Stroke stroke{c.key, c.modifiers,
                                              kindFor(c.modifiers, !(c.flags & Release))};
            const Outcome outcome = TKeyDecision::Decide(stroke, stateFor(c.flags));
            QVERIFY2(outcome == c.expected,
                     qPrintable(QKeySequence(c.key | c.modifiers.toInt()).toString() +
                                " in state " + QString::number(c.flags) + ": " + toText(outcome)));
        }
    }
};

QTEST_APPLESS_MAIN(tst_TKeyDecision)
#include "tst_TKeyDecision.moc"

#include "core/window/TKeyDecision.h"

#include <QTest>

namespace
{
using Kind = TKeyDecision::Kind;
using Outcome = TKeyDecision::Outcome;

TKeyDecision::WindowState everything()
{
    TKeyDecision::WindowState state;
    state.available = [](MainCommand) { return true; };
    return state;
}

// A window whose favorites and side bar are not there: their keys are
// nobody's.
TKeyDecision::WindowState today()
{
    TKeyDecision::WindowState state;
    state.available = [](MainCommand command)
    {
        return command != MainCommand::DropFavoritesMenu &&
               command != MainCommand::OrganizeFavorites && command != MainCommand::ToggleSideBar;
    };
    return state;
}

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
    Today = 128
};

TKeyDecision::WindowState stateFor(int flags)
{
    TKeyDecision::WindowState state = (flags & Today) ? today() : everything();
    state.mainWindowInFront = !(flags & NotInFront);
    state.altShortcutsDisabled = flags & AltDisabled;
    state.hasActiveTab = !(flags & NoTab);
    state.textBoxFocused = flags & TextBox;
    state.pageFullScreen = flags & PageFullScreen;
    state.favoritesTreeRenaming = flags & Renaming;
    state.partnerBandPresent = flags & PartnerBand;
    return state;
}

Kind kindFor(Qt::KeyboardModifiers modifiers, bool press)
{
    const bool system =
        modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier);
    if (press)
        return system ? TKeyDecision::SysKeyDown : TKeyDecision::KeyDown;
    return system ? TKeyDecision::SysKeyUp : TKeyDecision::KeyUp;
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
} // namespace

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)
Q_DECLARE_METATYPE(TKeyDecision::Outcome)

namespace QTest
{
template <> char* toString(const TKeyDecision::Outcome& outcome)
{
    return qstrdup(QStringLiteral("{handled=%1, command=%2}")
                       .arg(outcome.handled)
                       .arg(int(outcome.command))
                       .toLatin1()
                       .constData());
}
} // namespace QTest

class tst_TKeyDecision : public QObject
{
    Q_OBJECT
private slots:
    void decide_data();
    void decide();
    void releasesRunNothing_data();
    void releasesRunNothing();
};

void tst_TKeyDecision::decide_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("flags");
    QTest::addColumn<Outcome>("expected");

    // clang-format off
    // Another window (a menu, a dialog) takes every key itself.
    QTest::newRow("dialog in front: Ctrl+W")                                 << int(Qt::Key_W)         << Ctrl      << int(NotInFront)     << Pass;
    QTest::newRow("dialog in front: Alt+F")                                  << int(Qt::Key_F)         << Alt       << int(NotInFront)     << Pass;
    QTest::newRow("dialog in front: Esc")                                    << int(Qt::Key_Escape)    << None      << int(NotInFront)     << Pass;

    // Alt shortcuts.
    QTest::newRow("Alt+Home")                                                << int(Qt::Key_Home)      << Alt       << int(Plain)          << Run(MainCommand::Home);
    QTest::newRow("Alt+D")                                                   << int(Qt::Key_D)         << Alt       << int(Plain)          << Run(MainCommand::FocusAddressBox);
    QTest::newRow("Alt+F")                                                   << int(Qt::Key_F)         << Alt       << int(Plain)          << Run(MainCommand::DropFileMenu);
    QTest::newRow("Alt+E")                                                   << int(Qt::Key_E)         << Alt       << int(Plain)          << Run(MainCommand::DropEditMenu);
    QTest::newRow("Alt+V")                                                   << int(Qt::Key_V)         << Alt       << int(Plain)          << Run(MainCommand::DropViewMenu);
    QTest::newRow("Alt+A")                                                   << int(Qt::Key_A)         << Alt       << int(Plain)          << Run(MainCommand::DropFavoritesMenu);
    QTest::newRow("Alt+C")                                                   << int(Qt::Key_C)         << Alt       << int(Plain)          << Run(MainCommand::DropVostelGroupsMenu);
    QTest::newRow("Alt+T")                                                   << int(Qt::Key_T)         << Alt       << int(Plain)          << Run(MainCommand::DropToolsMenu);
    QTest::newRow("Alt+R")                                                   << int(Qt::Key_R)         << Alt       << int(Plain)          << Run(MainCommand::DropSecurityMenu);
    QTest::newRow("Alt+H")                                                   << int(Qt::Key_H)         << Alt       << int(Plain)          << Run(MainCommand::DropHelpMenu);
    QTest::newRow("Alt+S")                                                   << int(Qt::Key_S)         << Alt       << int(Plain)          << Run(MainCommand::DropTabsMenu);
    QTest::newRow("Alt+G does nothing, page never sees it")                  << int(Qt::Key_G)         << Alt       << int(Plain)          << Swallow;
    QTest::newRow("Alt+X does nothing, page never sees it")                  << int(Qt::Key_X)         << Alt       << int(Plain)          << Swallow;
    QTest::newRow("Alt+B is not the window's")                               << int(Qt::Key_B)         << Alt       << int(Plain)          << Pass;
    QTest::newRow("Ctrl+Alt+D still the window's")                           << int(Qt::Key_D)         << CtrlAlt   << int(Plain)          << Run(MainCommand::FocusAddressBox);
    QTest::newRow("Alt+F with no tab still drops the menu")                  << int(Qt::Key_F)         << Alt       << int(NoTab)          << Run(MainCommand::DropFileMenu);
    QTest::newRow("Alt+A before the Favorites menu exists reaches the page") << int(Qt::Key_A)         << Alt       << int(Today)          << Pass;

    // Alt shortcuts switched off: the page gets them, back and forward too.
    QTest::newRow("disabled: Alt+F")                                         << int(Qt::Key_F)         << Alt       << int(AltDisabled)    << Pass;
    QTest::newRow("disabled: Alt+D")                                         << int(Qt::Key_D)         << Alt       << int(AltDisabled)    << Pass;
    QTest::newRow("disabled: Alt+Left")                                      << int(Qt::Key_Left)      << Alt       << int(AltDisabled)    << Pass;
    QTest::newRow("disabled: Ctrl+W still the window's")                     << int(Qt::Key_W)         << Ctrl      << int(AltDisabled)    << Run(MainCommand::CloseTab);

    // Ctrl+Tab works with no tab to act on; the rest does not.
    QTest::newRow("Ctrl+Tab")                                                << int(Qt::Key_Tab)       << Ctrl      << int(Plain)          << Run(MainCommand::NextTab);
    QTest::newRow("Ctrl+Shift+Tab")                                          << int(Qt::Key_Tab)       << CtrlShift << int(Plain)          << Run(MainCommand::PreviousTab);
    QTest::newRow("plain Tab moves the focus")                               << int(Qt::Key_Tab)       << None      << int(Plain)          << Pass;
    QTest::newRow("no tab: Ctrl+W")                                          << int(Qt::Key_W)         << Ctrl      << int(NoTab)          << Pass;
    QTest::newRow("no tab: Esc")                                             << int(Qt::Key_Escape)    << None      << int(NoTab)          << Pass;
    QTest::newRow("no tab: F5")                                              << int(Qt::Key_F5)        << None      << int(NoTab)          << Pass;

    // Shift+Ins and Shift+Del; a text box of the window edits itself.
    QTest::newRow("Shift+Ins")                                               << int(Qt::Key_Insert)    << Shift     << int(Plain)          << Run(MainCommand::Paste);
    QTest::newRow("Shift+Del")                                               << int(Qt::Key_Delete)    << Shift     << int(Plain)          << Run(MainCommand::Cut);
    QTest::newRow("plain Del is the page's")                                 << int(Qt::Key_Delete)    << None      << int(Plain)          << Pass;
    QTest::newRow("text box: Shift+Ins")                                     << int(Qt::Key_Insert)    << Shift     << int(TextBox)        << Pass;
    QTest::newRow("text box: Ctrl+C")                                        << int(Qt::Key_C)         << Ctrl      << int(TextBox)        << Pass;
    QTest::newRow("text box: Ctrl+A")                                        << int(Qt::Key_A)         << Ctrl      << int(TextBox)        << Pass;
    QTest::newRow("text box: Ctrl+W still closes the tab")                   << int(Qt::Key_W)         << Ctrl      << int(TextBox)        << Run(MainCommand::CloseTab);
    QTest::newRow("text box: Esc still stops")                               << int(Qt::Key_Escape)    << None      << int(TextBox)        << Run(MainCommand::Stop);

    // Esc.
    QTest::newRow("Esc")                                                     << int(Qt::Key_Escape)    << None      << int(Plain)          << Run(MainCommand::Stop);
    QTest::newRow("Shift+Esc")                                               << int(Qt::Key_Escape)    << Shift     << int(Plain)          << Run(MainCommand::StopAll);
    QTest::newRow("Esc leaves a full-screen page first")                     << int(Qt::Key_Escape)    << None      << int(PageFullScreen) << Pass;

    // Back and forward: the stroke never reaches the page.
    QTest::newRow("Alt+Left")                                                << int(Qt::Key_Left)      << Alt       << int(Plain)          << Run(MainCommand::Back);
    QTest::newRow("Alt+Right")                                               << int(Qt::Key_Right)     << Alt       << int(Plain)          << Run(MainCommand::Forward);
    QTest::newRow("plain Left is the page's")                                << int(Qt::Key_Left)      << None      << int(Plain)          << Pass;
    QTest::newRow("Ctrl+Alt+Left is no system key")                          << int(Qt::Key_Left)      << CtrlAlt   << int(Plain)          << Pass;

    // The Ctrl table.
    QTest::newRow("Ctrl+Ins")                                                << int(Qt::Key_Insert)    << Ctrl      << int(Plain)          << Run(MainCommand::Copy);
    QTest::newRow("Ctrl+C")                                                  << int(Qt::Key_C)         << Ctrl      << int(Plain)          << Run(MainCommand::Copy);
    QTest::newRow("Ctrl+A")                                                  << int(Qt::Key_A)         << Ctrl      << int(Plain)          << Run(MainCommand::SelectAll);
    QTest::newRow("Ctrl+B")                                                  << int(Qt::Key_B)         << Ctrl      << int(Plain)          << Run(MainCommand::OrganizeFavorites);
    QTest::newRow("Ctrl+E")                                                  << int(Qt::Key_E)         << Ctrl      << int(Plain)          << Run(MainCommand::SideBarSearch);
    QTest::newRow("Ctrl+F")                                                  << int(Qt::Key_F)         << Ctrl      << int(Plain)          << Run(MainCommand::Find);
    QTest::newRow("Ctrl+G")                                                  << int(Qt::Key_G)         << Ctrl      << int(Plain)          << Run(MainCommand::SideBarVostelGroups);
    QTest::newRow("Ctrl+H")                                                  << int(Qt::Key_H)         << Ctrl      << int(Plain)          << Run(MainCommand::SideBarHistory);
    QTest::newRow("Ctrl+Shift+H")                                            << int(Qt::Key_H)         << CtrlShift << int(Plain)          << Run(MainCommand::NewHomeTab);
    QTest::newRow("Ctrl+I")                                                  << int(Qt::Key_I)         << Ctrl      << int(Plain)          << Run(MainCommand::SideBarFavorites);
    QTest::newRow("Ctrl+J")                                                  << int(Qt::Key_J)         << Ctrl      << int(Plain)          << Run(MainCommand::Downloads);
    QTest::newRow("Ctrl+L")                                                  << int(Qt::Key_L)         << Ctrl      << int(Plain)          << Run(MainCommand::OpenDialog);
    QTest::newRow("Ctrl+O")                                                  << int(Qt::Key_O)         << Ctrl      << int(Plain)          << Run(MainCommand::OpenDialog);
    QTest::newRow("Ctrl+N")                                                  << int(Qt::Key_N)         << Ctrl      << int(Plain)          << Run(MainCommand::NewTab);
    QTest::newRow("Ctrl+P")                                                  << int(Qt::Key_P)         << Ctrl      << int(Plain)          << Run(MainCommand::Print);
    QTest::newRow("Ctrl+R bypasses the cache")                               << int(Qt::Key_R)         << Ctrl      << int(Plain)          << Run(MainCommand::RefreshBypassCache);
    QTest::newRow("Ctrl+S")                                                  << int(Qt::Key_S)         << Ctrl      << int(Plain)          << Run(MainCommand::SideBarSearch);
    QTest::newRow("Ctrl+Shift+S")                                            << int(Qt::Key_S)         << CtrlShift << int(Plain)          << Run(MainCommand::SaveAs);
    QTest::newRow("Ctrl+V")                                                  << int(Qt::Key_V)         << Ctrl      << int(Plain)          << Run(MainCommand::Paste);
    QTest::newRow("Ctrl+X")                                                  << int(Qt::Key_X)         << Ctrl      << int(Plain)          << Run(MainCommand::Cut);
    QTest::newRow("Ctrl+W")                                                  << int(Qt::Key_W)         << Ctrl      << int(Plain)          << Run(MainCommand::CloseTab);
    QTest::newRow("Ctrl+F4")                                                 << int(Qt::Key_F4)        << Ctrl      << int(Plain)          << Run(MainCommand::CloseTab);
    QTest::newRow("Ctrl+Shift+W")                                            << int(Qt::Key_W)         << CtrlShift << int(Plain)          << Run(MainCommand::CloseAll);
    QTest::newRow("Ctrl+Shift+F4")                                           << int(Qt::Key_F4)        << CtrlShift << int(Plain)          << Run(MainCommand::CloseAll);
    QTest::newRow("Ctrl+F3")                                                 << int(Qt::Key_F3)        << Ctrl      << int(Plain)          << Run(MainCommand::FollowNextLink);
    QTest::newRow("Ctrl+Q is not in the table")                              << int(Qt::Key_Q)         << Ctrl      << int(Plain)          << Pass;
    QTest::newRow("Ctrl+B before Favorites exist reaches the page")          << int(Qt::Key_B)         << Ctrl      << int(Today)          << Pass;
    QTest::newRow("Ctrl+N works today")                                      << int(Qt::Key_N)         << Ctrl      << int(Today)          << Run(MainCommand::NewTab);

    // The function keys.
    QTest::newRow("F1")                                                      << int(Qt::Key_F1)        << None      << int(Plain)          << Run(MainCommand::HelpTopics);
    QTest::newRow("Ctrl+F1 without partner band swallowed")                  << int(Qt::Key_F1)        << Ctrl      << int(Plain)          << Swallow;
    QTest::newRow("Ctrl+F1 with partner band")                               << int(Qt::Key_F1)        << Ctrl      << int(PartnerBand)    << Run(MainCommand::PartnerLink);
    QTest::newRow("F2")                                                      << int(Qt::Key_F2)        << None      << int(Plain)          << Run(MainCommand::PreviousTab);
    QTest::newRow("F2 while renaming goes to the tree")                      << int(Qt::Key_F2)        << None      << int(Renaming)       << Pass;
    QTest::newRow("F3")                                                      << int(Qt::Key_F3)        << None      << int(Plain)          << Run(MainCommand::NextTab);
    QTest::newRow("F4")                                                      << int(Qt::Key_F4)        << None      << int(Plain)          << Run(MainCommand::ToggleSideBar);
    QTest::newRow("F4 before the side bar exists")                           << int(Qt::Key_F4)        << None      << int(Today)          << Pass;
    QTest::newRow("F5")                                                      << int(Qt::Key_F5)        << None      << int(Plain)          << Run(MainCommand::Refresh);
    QTest::newRow("Ctrl+F5 bypasses the cache")                              << int(Qt::Key_F5)        << Ctrl      << int(Plain)          << Run(MainCommand::RefreshBypassCache);
    QTest::newRow("Shift+F5")                                                << int(Qt::Key_F5)        << Shift     << int(Plain)          << Run(MainCommand::RefreshAll);
    QTest::newRow("F6")                                                      << int(Qt::Key_F6)        << None      << int(Plain)          << Run(MainCommand::AddToVostelGroup);
    QTest::newRow("F7")                                                      << int(Qt::Key_F7)        << None      << int(Plain)          << Run(MainCommand::SaveTabsAsVostelGroup);
    QTest::newRow("F8")                                                      << int(Qt::Key_F8)        << None      << int(Plain)          << Run(MainCommand::AddToPopupList);
    QTest::newRow("F9")                                                      << int(Qt::Key_F9)        << None      << int(Plain)          << Run(MainCommand::StickyTitle);
    QTest::newRow("F10 runs nothing")                                        << int(Qt::Key_F10)       << None      << int(Plain)          << Pass;
    QTest::newRow("F11")                                                     << int(Qt::Key_F11)       << None      << int(Plain)          << Run(MainCommand::FullScreen);
    QTest::newRow("F12")                                                     << int(Qt::Key_F12)       << None      << int(Plain)          << Run(MainCommand::ToggleLock);
    QTest::newRow("Ctrl+F12")                                                << int(Qt::Key_F12)       << Ctrl      << int(Plain)          << Run(MainCommand::FlipOpenInForeground);

    // Everything else is the page's.
    QTest::newRow("letter")                                                  << int(Qt::Key_Q)         << None      << int(Plain)          << Pass;
    QTest::newRow("Enter")                                                   << int(Qt::Key_Return)    << None      << int(Plain)          << Pass;
    QTest::newRow("Backspace")                                               << int(Qt::Key_Backspace) << None      << int(Plain)          << Pass;
    // clang-format on
}

void tst_TKeyDecision::decide()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, flags);
    QFETCH(Outcome, expected);
    const TKeyDecision::Stroke stroke{key, modifiers, kindFor(modifiers, true)};
    QCOMPARE(TKeyDecision::Decide(stroke, stateFor(flags)), expected);
}

void tst_TKeyDecision::releasesRunNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("handled");

    // The release of an Alt shortcut must not reach the page that never saw
    // its press; other releases are nobody's business.
    // clang-format off
    QTest::newRow("Alt+F")    << int(Qt::Key_F)      << Alt  << true;
    QTest::newRow("Alt+Home") << int(Qt::Key_Home)   << Alt  << true;
    QTest::newRow("Ctrl+W")   << int(Qt::Key_W)      << Ctrl << false;
    QTest::newRow("Esc")      << int(Qt::Key_Escape) << None << false;
    QTest::newRow("Alt+Left") << int(Qt::Key_Left)   << Alt  << false;
    // clang-format on
}

void tst_TKeyDecision::releasesRunNothing()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, handled);
    const TKeyDecision::Stroke stroke{key, modifiers, kindFor(modifiers, false)};
    const Outcome outcome = TKeyDecision::Decide(stroke, everything());
    QCOMPARE(outcome.handled, handled);
    QCOMPARE(outcome.command, MainCommand::None);
}

QTEST_APPLESS_MAIN(tst_TKeyDecision)
#include "tst_TKeyDecision.moc"

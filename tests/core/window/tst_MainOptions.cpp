// The options dialog's host: every value goes to the store and to the part
// of the running window that keeps it, so neither the window's look nor
// what it writes at its end keeps an older value.

#include "MainWindowFixture.h"

#include "chrome/TDefaultBrowser.h"
#include "components/TQWPageControl.h"
#include "core/settings/TQWOptions.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TPopupCapture.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainOptions.h"
#include "core/window/StoredOptions.h"
#include "core/window/TfrmMain.h"
#include "groups/TKoncoBar.h"
#include "navigation/TAddressBand.h"
#include "navigation/TAddressController.h"
#include "navigation/TQWComboBox.h"

#include <QTest>

namespace
{
// Every value changed from what a fresh program shows.
OptionsValues changedEverywhere(OptionsValues v)
{
    for (bool OptionsValues::*flag :
         {&OptionsValues::AllowMultiInstance, &OptionsValues::MinToTray,
          &OptionsValues::VBAutoExpand,       &OptionsValues::DisableALTShortcuts,
          &OptionsValues::ToolbarShowColor,   &OptionsValues::VersionCheck,
          &OptionsValues::LoadBHOs,           &OptionsValues::MultipleLines,
          &OptionsValues::TabsDown,           &OptionsValues::OpenNewInForeground,
          &OptionsValues::VGCloseFirst,       &OptionsValues::OpenNewAtEnd,
          &OptionsValues::UsePopupVostel,     &OptionsValues::ShowGo,
          &OptionsValues::ConfirmCloseAll,    &OptionsValues::ConfirmShutdown,
          &OptionsValues::PopupVostelNotify,  &OptionsValues::BreakFavorites,
          &OptionsValues::UseCustomIcons,     &OptionsValues::ShowOpenAllFavorites,
          &OptionsValues::AskDefaultBrowser})
        v.*flag = !(v.*flag);
    for (bool& newTab : v.NewTabs)
        newTab = !newTab;
    for (QString* text : {&v.CtrlPre, &v.CtrlPost, &v.ShiftPre, &v.ShiftPost, &v.CtrlShiftPre,
                          &v.CtrlShiftPost, &v.StartupVostelGroup})
        text->append(QStringLiteral("x"));
    v.LimitTitleLength = 4;
    v.TabColorScheme = QStringLiteral("custom");
    v.InactiveTabColor = QColor(1, 2, 3);
    v.InactiveFontColor = QColor(200, 100, 50);
    v.NewAction = 1;
    v.StartupMode = QStringLiteral("Blank");
    v.PopupPatterns = {QStringLiteral("ads.test/*"), QStringLiteral("http://pop.test/")};
    v.AutoCompleteStyle = 1;
    return v;
}
} // namespace

class tst_MainOptions : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_f = std::make_unique<MainWindowFixture>(); }
    void cleanup() { QW_FINISH_MAIN_WINDOW(m_f); }

    void everyValueIsStoredAndOutlivesTheExit()
    {
        MainOptions* host = m_f->create()->OptionsHost();
        const OptionsValues before = host->CurrentOptions();
        const OptionsValues after = changedEverywhere(before);
        host->ApplyOptions(before, after);
        QCOMPARE(host->CurrentOptions(), after);

        m_f->closeWindow();
        OptionsValues stored = StoredOptions::Read(TQWOptions());
        stored.TrayAvailable = after.TrayAvailable;
        stored.DefaultBrowserRows = after.DefaultBrowserRows;
        QCOMPARE(stored, after);
    }

    void appliedAtOnceOnTheRunningWindowAndReadAfterTheDialog()
    {
        TfrmMain* window = m_f->createActive(1);
        TBrowserTab* tab = window->GetActivePage();
        static_cast<FakeBrowserControl*>(tab->Browser())->fireTitle(QStringLiteral("0123456789"));
        MainOptions* host = window->OptionsHost();
        const OptionsValues before = host->CurrentOptions();
        const OptionsValues after = changedEverywhere(before);
        host->ApplyOptions(before, after);

        QCOMPARE(window->PageControl()->pageCaption(tab), QStringLiteral("0123..."));
        QVERIFY(window->Address()->Band()->ShowGo());
        for (const TQWPageControl* pages : {window->PageControl(), window->KoncoBar()->pcKoncoBar})
            QCOMPARE(pages->InactiveTabColor(), QColor(1, 2, 3));
        QCOMPARE(window->PageControl()->TabsAtBottom(), after.TabsDown);
        QCOMPARE(window->TabSet()->OpenNewInForeground, after.OpenNewInForeground);

        // A fixed scheme shows its colours and keeps the chosen ones stored.
        OptionsValues reverse = after;
        reverse.TabColorScheme = QStringLiteral("rev");
        reverse.ShowGo = false;
        host->ApplyOptions(after, reverse);
        QVERIFY(!window->Address()->Band()->ShowGo());
        QCOMPARE(window->PageControl()->InactiveTabColor(),
                 window->PageControl()->palette().color(QPalette::Inactive, QPalette::Highlight));
        QCOMPARE(m_f->stored(QStringLiteral("InactiveTabColor")), QString::number(0x030201));

        // Whatever the dialog did, the window then reads these two again.
        window->Options()->WritePopupVostel({QStringLiteral("b.test"), QStringLiteral("a.test")});
        window->Options()->SetShiftPost(QStringLiteral(".example"));
        window->OptionsHost()->AfterDialog();
        QCOMPARE(window->PopupCapture()->PopupList(),
                 (QStringList{QStringLiteral("a.test"), QStringLiteral("b.test")}));
        QCOMPARE(window->Address()->Box()->Affixes().ShiftPost, QStringLiteral(".example"));
    }

    void defaultBrowserRowsAreRegisteredOneByOne()
    {
        MainOptions* host = m_f->create()->OptionsHost();
        QList<OptionsValues::DefaultBrowserRow> rows = host->CurrentOptions().DefaultBrowserRows;
        QCOMPARE(rows.size(), TDefaultBrowser::ClassNames().size());
        rows[1].Checked = !rows[1].Checked;
        host->ApplyDefaultBrowser(rows);
        QCOMPARE(TDefaultBrowser::IsRegistered(rows[1].ClassName), rows[1].Checked);
        QCOMPARE(host->CurrentOptions().DefaultBrowserRows, rows);
    }

private:
    std::unique_ptr<MainWindowFixture> m_f;
};

QTEST_MAIN(tst_MainOptions)
#include "tst_MainOptions.moc"

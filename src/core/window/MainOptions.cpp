#include "core/window/MainOptions.h"

#include "chrome/TDefaultBrowser.h"
#include "chrome/TfrmOptions.h"
#include "components/TPGTrayIcon.h"
#include "components/TQWPageControl.h"
#include "core/engine/TEngineProfile.h"
#include "core/settings/TQWOptions.h"
#include "core/store/ProgramPaths.h"
#include "core/tabs/TPopupCapture.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainBars.h"
#include "core/window/MainFavorites.h"
#include "core/window/MainFavoritesPage.h"
#include "core/window/MainSearchPane.h"
#include "core/window/MainTray.h"
#include "core/window/MainViewSettings.h"
#include "core/window/StoredOptions.h"
#include "core/window/TfrmMain.h"
#include "groups/TKoncoBar.h"
#include "navigation/TAddressController.h"

#include <QMenu>


MainOptions::MainOptions(TfrmMain* window) : QObject(window), m_window(window)
{
    setObjectName(QStringLiteral("MainOptions"));
}

void MainOptions::Execute()
{
    {
        TfrmOptions dialog(this, m_window->Language(), m_window);
        dialog.setFont(m_window->font());
        dialog.exec();
    }
    AfterDialog();
}

void MainOptions::AfterDialog()
{
    m_window->Address()->LoadAddressCompletion(*m_window->Options());
    m_window->PopupCapture()->LoadPopupList();
}

QString MainOptions::DefaultBrowserRowText(const TClassInfo& info)
{
    if (info.Description.isEmpty())
        return info.Name;
    return info.Name + QStringLiteral(" - ") + info.Description;
}

OptionsValues MainOptions::CurrentOptions() const
{
    OptionsValues values = StoredOptions::Read(*m_window->Options());

    // What the window keeps for itself and writes back at its end.
    const MainViewSettings* view = m_window->ViewSettings();
    const TTabSet* tabs = m_window->TabSet();
    values.MinToTray = m_window->Tray()->Active();
    values.TrayAvailable = TPGTrayIcon::Available();
    values.VBAutoExpand = view->VBAutoExpand();
    values.OpenNewInForeground = view->OpenNewInForeground();
    values.VGCloseFirst = view->VGCloseFirst();
    values.OpenNewAtEnd = tabs->OpenNewAtEnd;
    values.NewTabs[OptionsValues::NewFromQuickSearch] = m_window->Address()->QuickSearchNewWin;
    values.PopupPatterns = m_window->PopupCapture()->PopupList();
    values.BreakFavoritesShown = true;

    for (const QString& name : TDefaultBrowser::ClassNames())
    {
        TClassInfo info = TDefaultBrowser::ReadClassInfo(name);
        info.Name = name;
        values.DefaultBrowserRows.append(
            {name, DefaultBrowserRowText(info), TDefaultBrowser::IsRegistered(name)});
    }
    return values;
}

void MainOptions::ApplyDefaultBrowser(const QList<OptionsValues::DefaultBrowserRow>& rows)
{
    for (const OptionsValues::DefaultBrowserRow& row : rows)
        if (TDefaultBrowser::ClassNames().contains(row.ClassName))
            TDefaultBrowser::SetClassRegistered(row.ClassName, row.Checked);
}

QString MainOptions::VostelGroupsFolder() const
{
    return ProgramPaths::vostelGroupsFolder();
}

void MainOptions::ApplyOptions(const OptionsValues& before, const OptionsValues& after)
{
    StoredOptions::Write(*m_window->Options(), after);
    ApplyGeneral(before, after);
    ApplyTabs(before, after);
    ApplyTabColors(after);
    ApplyNewTabSources(after);
    ApplyAddressAndCapture(after);
    ApplyFavorites(before, after);
}

void MainOptions::ApplyGeneral(const OptionsValues& before, const OptionsValues& after)
{
    MainViewSettings* view = m_window->ViewSettings();
    view->SetMinToTray(after.MinToTray);
    m_window->Tray()->SetActive(after.MinToTray);
    view->SetVBAutoExpand(after.VBAutoExpand);
    m_window->KoncoBar()->setAutoExpand(after.VBAutoExpand);
    if (MainFavoritesPage* page = m_window->Favorites()->Page())
        page->SetAutoExpand(after.VBAutoExpand);
    view->SetDisableALTShortcuts(after.DisableALTShortcuts);
    m_window->Bars()->SetShowColor(after.ToolbarShowColor);

    // Pages loaded from now on get the helper objects; a run without the
    // engine's profile reads the setting when it makes one.
    if (TEngineProfile::exists() && (after.LoadBHOs || before.LoadBHOs))
        TEngineProfile::applyBrowserHelperObjects(
            after.LoadBHOs ? m_window->Options()->ReadBrowserHelperObjects() : QStringList());
}

void MainOptions::ApplyTabs(const OptionsValues& before, const OptionsValues& after)
{
    TTabSet* tabs = m_window->TabSet();
    TQWPageControl* pages = m_window->PageControl();
    pages->SetMultipleLines(after.MultipleLines);
    pages->SetTabsAtBottom(after.TabsDown);
    m_window->KoncoBar()->setTabsAtBottom(after.TabsDown);

    // Ctrl+F12 flips the run's value without storing it; the dialog changes
    // it only when the user changed the box.
    m_window->ViewSettings()->SetOpenNewInForeground(after.OpenNewInForeground);
    if (after.OpenNewInForeground != before.OpenNewInForeground)
        tabs->OpenNewInForeground = after.OpenNewInForeground;
    m_window->ViewSettings()->SetVGCloseFirst(after.VGCloseFirst);
    tabs->OpenNewAtEnd = after.OpenNewAtEnd;
    tabs->SetNewAction(after.NewAction);
    tabs->SetTitleLimit(qBound(0, after.LimitTitleLength, StoredOptions::MaxTitleLength));
}

void MainOptions::ApplyTabColors(const OptionsValues& after)
{
    // The fixed schemes leave the stored colours alone, so the colours come
    // from the store as at the start.
    const TQWOptions& options = *m_window->Options();
    const int tabColor = options.InactiveTabColor();
    const int fontColor = options.InactiveFontColor();
    m_window->PageControl()->ApplyColorScheme(after.TabColorScheme, tabColor, fontColor);
    m_window->KoncoBar()->pcKoncoBar->ApplyColorScheme(after.TabColorScheme, tabColor, fontColor);
}

void MainOptions::ApplyNewTabSources(const OptionsValues& after)
{
    // Favorites, history and links read their setting when they open a page.
    TAddressController* address = m_window->Address();
    address->AddressNewWin = after.NewTabs[OptionsValues::NewFromAddress];
    address->QuickSearchNewWin = after.NewTabs[OptionsValues::NewFromQuickSearch];
    if (MainSearchPane* pane = m_window->SearchPane())
        pane->SearchNewWin = after.NewTabs[OptionsValues::NewFromSearch];
}

void MainOptions::ApplyAddressAndCapture(const OptionsValues& after)
{
    TAddressController* address = m_window->Address();
    address->ApplyShowGo(after.ShowGo);
    address->SetAutoCompleteStyle(after.AutoCompleteStyle);

    TPopupCapture* capture = m_window->PopupCapture();
    capture->SetUsePopupVostel(after.UsePopupVostel);
    capture->SetPopupVostelNotify(after.PopupVostelNotify);
    // The capture writes its list back at the end of the run: it must hold
    // the stored list, not the one from before the dialog.
    capture->LoadPopupList();
}

void MainOptions::ApplyFavorites(const OptionsValues& before, const OptionsValues& after)
{
    const bool breakChanged =
        after.BreakFavoritesShown && after.BreakFavorites != before.BreakFavorites;
    if (breakChanged || after.UseCustomIcons != before.UseCustomIcons ||
        after.ShowOpenAllFavorites != before.ShowOpenAllFavorites)
        m_window->Favorites()->OptionsChanged();
}

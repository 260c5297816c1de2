#include "core/window/MainEngineSettings.h"

#include "chrome/EngineSettingsPage.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/TBrowsingDataCleaner.h"
#include "core/engine/TEngineProfile.h"
#include "core/engine/THistoryIndex.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainContentSwitches.h"
#include "core/window/MainHistory.h"
#include "core/window/MainZones.h"
#include "core/window/TfrmMain.h"
#include "navigation/TAddressController.h"

namespace
{
// The dialog's switches in the order of the window's.
MainContentSwitches::Switch switchOf(int index)
{
    return MainContentSwitches::Switch(index);
}
static_assert(int(MainContentSwitches::Animations) == int(EngineSettingsValues::Animations));
} // namespace

MainEngineSettings::MainEngineSettings(TfrmMain* window) : QObject(window), m_window(window)
{
    // The Security menu's Settings item shows itself once this listens.
    connect(window->Zones(), &MainZones::settingsRequested, this,
            [this] { Execute(TfrmEngineSettings::ZonesPage); });
}

EngineSettingsValues MainEngineSettings::Current() const
{
    EngineSettingsValues values = EngineSettingsValues::ReadZones(m_window->Zones()->ZoneMgr());
    MainContentSwitches* switches = m_window->ContentSwitches();
    // Another copy may have changed them since the window last looked.
    switches->Refresh();
    for (int i = 0; i < EngineSettingsValues::ContentSwitchCount; ++i)
        values.Content[i] = switches->IsOn(switchOf(i));
    return values;
}

bool MainEngineSettings::Execute(TfrmEngineSettings::Page page)
{
    const EngineSettingsValues before = Current();
    TfrmEngineSettings dialog(before, m_window->Services(), m_window);
    dialog.ShowPage(page);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    m_lastPage = dialog.CurrentPage();
    if (accepted)
        Apply(before, dialog.Values());
    return accepted;
}

void MainEngineSettings::Apply(const EngineSettingsValues& before,
                               const EngineSettingsValues& after)
{
    MainZones* zones = m_window->Zones();
    after.StoreZones(zones->ZoneMgr(), before);

    bool contentChanged = false;
    for (int i = 0; i < EngineSettingsValues::ContentSwitchCount; ++i)
        if (after.Content[i] != before.Content[i])
        {
            m_window->ContentSwitches()->Set(switchOf(i), after.Content[i]);
            contentChanged = true;
        }

    TBrowsingDataCleaner::Targets targets;
    // A window of fake pages has no engine data of its own.
    if (!m_window->ControlFactory())
        targets.profile = TEngineProfile::profile();
    targets.historyRoot = THistoryIndex::defaultRoot();
    targets.clearTypedAddresses = [this] { return m_window->Address()->ClearTypedAddresses(); };
    const int failed = TBrowsingDataCleaner::Clear(after.Clear, targets);

    zones->SettingsChanged();
    if (MainHistory* history = m_window->findChild<MainHistory*>())
        history->EngineSettingsShown();
    // Pages show the new switches whole, as the menu's items do.
    if (contentChanged)
        m_window->RunCommand(MainCommand::RefreshAll);
    if (failed)
        m_window->Services()->showError(m_window->Services()->GetLangText(
            EngineSettingsPage::Section, QStringLiteral("NotCleared")));
}

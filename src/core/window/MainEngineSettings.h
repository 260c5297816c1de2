#pragma once

#include "chrome/EngineSettingsValues.h"
#include "chrome/TfrmEngineSettings.h"

#include <QObject>

class TfrmMain;

// The window's side of the engine-settings dialog: opens it from the Tools
// menu, the Security menu and the zone panel, and applies on OK what the
// user changed: zones and policies to the store and the running pages,
// content switches through the window's setters, and the chosen browsing
// data cleared, all shown at once.
class MainEngineSettings : public QObject
{
    Q_OBJECT
public:
    // The window's zones, content switches, address box and history exist.
    explicit MainEngineSettings(TfrmMain* window);

    // Tools > Browser Engine Settings: the page shown last in this run.
    void actInternetOptionsExecute() { Execute(m_lastPage); }
    // Opens the dialog on page; false when it was cancelled.
    bool Execute(TfrmEngineSettings::Page page);

    // The values the dialog opens with, read now.
    EngineSettingsValues Current() const;
    // Stores and applies what differs from before; clears after.Clear.
    void Apply(const EngineSettingsValues& before, const EngineSettingsValues& after);

private:
    TfrmMain* m_window;
    TfrmEngineSettings::Page m_lastPage = TfrmEngineSettings::ZonesPage;
};

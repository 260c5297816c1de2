#pragma once

#include "chrome/EngineSettingsValues.h"

#include <QDialog>

#include <optional>

class EngineContentPage;
class EnginePoliciesPage;
class EnginePrivacyPage;
class EngineZonesPage;
class QPushButton;
class QTabWidget;
class WindowServices;

// The browser engine's settings as the program keeps them: security zones,
// the Internet zone's policies, the content switches, and clearing browsing
// data. It edits a copy of the values it is given; nothing happens before
// OK, and Cancel leaves everything as it was.
class TfrmEngineSettings : public QDialog
{
    Q_OBJECT
public:
    enum Page
    {
        ZonesPage,
        PoliciesPage,
        ContentPage,
        PrivacyPage
    };

    // services gives the texts and the dialog's questions and messages.
    TfrmEngineSettings(const EngineSettingsValues& values, WindowServices* services,
                       QWidget* parent = nullptr);

    // Runs the dialog modally on page; the values the user chose, or nothing
    // when cancelled.
    static std::optional<EngineSettingsValues>
    Edit(const EngineSettingsValues& values, WindowServices* services, QWidget* parent, Page page);

    // What the pages show now.
    EngineSettingsValues Values() const;
    void ShowPage(Page page);
    Page CurrentPage() const;

    QTabWidget* pcSettings;
    EngineZonesPage* tsZones;
    EnginePoliciesPage* tsPolicies;
    EngineContentPage* tsContent;
    EnginePrivacyPage* tsPrivacy;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    // Closes with the values; when data is to be cleared, only once the
    // user has agreed to lose it.
    void cmdOKClick();

private:
    QString Text(const QString& key) const;
    bool ConfirmClearing(int items);

    WindowServices* m_services;
    EngineSettingsValues m_values;
};

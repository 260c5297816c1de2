#include "chrome/TfrmEngineSettings.h"

#include "chrome/EngineContentPage.h"
#include "chrome/EnginePoliciesPage.h"
#include "chrome/EnginePrivacyPage.h"
#include "chrome/EngineZonesPage.h"
#include "core/dialogs/WindowServices.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TfrmEngineSettings::TfrmEngineSettings(const EngineSettingsValues& values, WindowServices* services,
                                       QWidget* parent)
    : QDialog(parent), m_services(services), m_values(values)
{
    setObjectName(QStringLiteral("frmEngineSettings"));
    setWindowTitle(Text(QStringLiteral("Caption")));
    pcSettings = new QTabWidget(this);
    pcSettings->setObjectName(QStringLiteral("pcSettings"));
    tsZones = new EngineZonesPage(services, pcSettings);
    tsPolicies = new EnginePoliciesPage(services, pcSettings);
    tsContent = new EngineContentPage(services, pcSettings);
    tsPrivacy = new EnginePrivacyPage(services, pcSettings);
    pcSettings->addTab(tsZones, Text(QStringLiteral("ZonesPage")));
    pcSettings->addTab(tsPolicies, Text(QStringLiteral("PoliciesPage")));
    pcSettings->addTab(tsContent, Text(QStringLiteral("ContentPage")));
    pcSettings->addTab(tsPrivacy, Text(QStringLiteral("PrivacyPage")));
    for (EngineSettingsPage* page :
         std::initializer_list<EngineSettingsPage*>{tsZones, tsPolicies, tsContent, tsPrivacy})
        page->Show(values);

    cmdOK = new QPushButton(services->GetGlobalText(QStringLiteral("OK")), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(services->GetGlobalText(QStringLiteral("Cancel")), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcSettings, 1);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &TfrmEngineSettings::cmdOKClick);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<EngineSettingsValues> TfrmEngineSettings::Edit(const EngineSettingsValues& values,
                                                             WindowServices* services,
                                                             QWidget* parent, Page page)
{
    TfrmEngineSettings dialog(values, services, parent);
    dialog.ShowPage(page);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Values();
}

QString TfrmEngineSettings::Text(const QString& key) const
{
    return m_services->GetLangText(EngineSettingsPage::Section, key);
}

EngineSettingsValues TfrmEngineSettings::Values() const
{
    EngineSettingsValues values = m_values;
    for (const EngineSettingsPage* page : std::initializer_list<const EngineSettingsPage*>{
             tsZones, tsPolicies, tsContent, tsPrivacy})
        page->Take(values);
    return values;
}

void TfrmEngineSettings::ShowPage(Page page)
{
    pcSettings->setCurrentIndex(page);
}

TfrmEngineSettings::Page TfrmEngineSettings::CurrentPage() const
{
    return Page(pcSettings->currentIndex());
}

bool TfrmEngineSettings::ConfirmClearing(int items)
{
    QStringList names;
    for (const auto item : EngineSettingsValues::ClearItems)
        if (items & item)
            names << QStringLiteral("\u2022 ") + tsPrivacy->ItemText(item);
    const ConfirmResult answer =
        m_services->confirm(windowTitle(), false, Text(QStringLiteral("ClearTitle")),
                            Text(QStringLiteral("ClearPrompt")) + QStringLiteral("\n\n") +
                                names.join(QLatin1Char('\n')),
                            m_services->GetGlobalText(QStringLiteral("Yes")),
                            m_services->GetGlobalText(QStringLiteral("No")), QString());
    return answer.ok;
}

void TfrmEngineSettings::cmdOKClick()
{
    const int clear = Values().Clear;
    if (clear && !ConfirmClearing(clear))
    {
        ShowPage(PrivacyPage);
        return;
    }
    accept();
}

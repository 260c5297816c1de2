#include "chrome/EngineContentPage.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

EngineContentPage::EngineContentPage(WindowServices* services, QWidget* parent)
    : EngineSettingsPage(services, parent)
{
    setObjectName(QStringLiteral("tsContent"));
    auto* layout = new QVBoxLayout(this);
    auto* lblNote = new QLabel(Text(QStringLiteral("ContentNote")), this);
    lblNote->setWordWrap(true);
    layout->addWidget(lblNote);
    const char* names[] = {"LoadImages", "LoadVideos", "LoadSounds", "LoadAnimations"};
    for (int i = 0; i < EngineSettingsValues::ContentSwitchCount; ++i)
    {
        const QString name = QLatin1String(names[i]);
        chkContent[i] = new QCheckBox(Text(name), this);
        chkContent[i]->setObjectName(QStringLiteral("chk") + name);
        layout->addWidget(chkContent[i]);
    }
    layout->addStretch(1);
}

void EngineContentPage::Show(const EngineSettingsValues& values)
{
    for (int i = 0; i < EngineSettingsValues::ContentSwitchCount; ++i)
        chkContent[i]->setChecked(values.Content[i]);
}

void EngineContentPage::Take(EngineSettingsValues& values) const
{
    for (int i = 0; i < EngineSettingsValues::ContentSwitchCount; ++i)
        values.Content[i] = chkContent[i]->isChecked();
}

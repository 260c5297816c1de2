#pragma once

#include "chrome/EngineSettingsPage.h"

#include <QHash>

class QCheckBox;

// Clearing browsing data: one box per kind of data. What is chosen is
// cleared when the dialog's OK is confirmed.
class EnginePrivacyPage : public EngineSettingsPage
{
    Q_OBJECT
public:
    EnginePrivacyPage(WindowServices* services, QWidget* parent);

    void Show(const EngineSettingsValues& values) override;
    void Take(EngineSettingsValues& values) const override;

    QCheckBox* Box(EngineSettingsValues::ClearItem item) const { return m_boxes.value(item); }
    // The box's text without its mnemonic, for the question before clearing.
    QString ItemText(EngineSettingsValues::ClearItem item) const;

private:
    QHash<EngineSettingsValues::ClearItem, QCheckBox*> m_boxes;
};

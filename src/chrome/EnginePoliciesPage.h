#pragma once

#include "chrome/EngineSettingsPage.h"

#include <QHash>

class QButtonGroup;
class QRadioButton;

// The Internet zone's policies: one row per action (cookies, session
// cookies, scripting, plug-ins), one column per policy (allow, prompt,
// disallow).
class EnginePoliciesPage : public EngineSettingsPage
{
    Q_OBJECT
public:
    EnginePoliciesPage(WindowServices* services, QWidget* parent);

    void Show(const EngineSettingsValues& values) override;
    void Take(EngineSettingsValues& values) const override;

    // The radio button of an action's policy ("rdoCookiesPrompt" and so on).
    QRadioButton* Choice(ZoneRules::Action action, int policy) const;

private:
    QHash<ZoneRules::Action, QButtonGroup*> m_rows;
};

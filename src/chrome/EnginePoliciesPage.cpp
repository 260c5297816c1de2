#include "chrome/EnginePoliciesPage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

namespace
{
const struct
{
    ZoneRules::Action action;
    const char* name;
} Rows[] = {{ZoneRules::Cookies, "Cookies"},
            {ZoneRules::SessionCookies, "SessionCookies"},
            {ZoneRules::Scripting, "Scripting"},
            {ZoneRules::ActiveX, "ActiveX"}};

// Columns by the program's policy values.
const struct
{
    int policy;
    const char* name;
    const char* textKey;
} Columns[] = {{ZoneRules::Allow, "Allow", "SecurityAllow"},
               {ZoneRules::Prompt, "Prompt", "SecurityQuery"},
               {ZoneRules::Disallow, "Disallow", "SecurityDisallow"}};
} // namespace

EnginePoliciesPage::EnginePoliciesPage(WindowServices* services, QWidget* parent)
    : EngineSettingsPage(services, parent)
{
    setObjectName(QStringLiteral("tsPolicies"));
    auto* grid = new QGridLayout(this);
    auto* lblNote = new QLabel(Text(QStringLiteral("PoliciesNote")), this);
    lblNote->setWordWrap(true);
    grid->addWidget(lblNote, 0, 0, 1, 4);
    int column = 1;
    for (const auto& policy : Columns)
        grid->addWidget(
            new QLabel(Text(QLatin1String(policy.textKey), QStringLiteral("MAIN")), this), 1,
            column++, Qt::AlignCenter);
    int row = 2;
    for (const auto& action : Rows)
    {
        const QString name = QLatin1String(action.name);
        auto* label = new QLabel(Text(QStringLiteral("Policy") + name), this);
        grid->addWidget(label, row, 0);
        auto* group = new QButtonGroup(this);
        column = 1;
        for (const auto& policy : Columns)
        {
            auto* choice = new QRadioButton(this);
            choice->setObjectName(QStringLiteral("rdo") + name + QLatin1String(policy.name));
            choice->setAccessibleName(label->text() + QStringLiteral(": ") +
                                      Text(QLatin1String(policy.textKey), QStringLiteral("MAIN")));
            group->addButton(choice, policy.policy);
            grid->addWidget(choice, row, column++, Qt::AlignCenter);
        }
        m_rows.insert(action.action, group);
        ++row;
    }
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(0, 1);
}

QRadioButton* EnginePoliciesPage::Choice(ZoneRules::Action action, int policy) const
{
    const QButtonGroup* group = m_rows.value(action);
    return group ? qobject_cast<QRadioButton*>(group->button(policy)) : nullptr;
}

void EnginePoliciesPage::Show(const EngineSettingsValues& values)
{
    for (auto it = m_rows.constBegin(); it != m_rows.constEnd(); ++it)
        if (QRadioButton* choice = Choice(it.key(), values.Policies.value(it.key())))
            choice->setChecked(true);
}

void EnginePoliciesPage::Take(EngineSettingsValues& values) const
{
    for (auto it = m_rows.constBegin(); it != m_rows.constEnd(); ++it)
        if (it.value()->checkedId() >= 0)
            values.Policies.insert(it.key(), it.value()->checkedId());
}

#include "chrome/EnginePrivacyPage.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

namespace
{
const char* nameOf(EngineSettingsValues::ClearItem item)
{
    switch (item)
    {
    case EngineSettingsValues::ClearHistory:
        return "ClearHistory";
    case EngineSettingsValues::ClearCache:
        return "ClearCache";
    case EngineSettingsValues::ClearCookies:
        return "ClearCookies";
    case EngineSettingsValues::ClearPermissions:
        return "ClearPermissions";
    case EngineSettingsValues::ClearTypedAddresses:
        return "ClearTypedAddresses";
    }
    return "";
}
} // namespace

EnginePrivacyPage::EnginePrivacyPage(WindowServices* services, QWidget* parent)
    : EngineSettingsPage(services, parent)
{
    setObjectName(QStringLiteral("tsPrivacy"));
    auto* layout = new QVBoxLayout(this);
    auto* lblNote = new QLabel(Text(QStringLiteral("ClearNote")), this);
    lblNote->setWordWrap(true);
    layout->addWidget(lblNote);
    for (const auto item : EngineSettingsValues::ClearItems)
    {
        const QString name = QLatin1String(nameOf(item));
        auto* box = new QCheckBox(Text(name), this);
        box->setObjectName(QStringLiteral("chk") + name);
        layout->addWidget(box);
        m_boxes.insert(item, box);
    }
    layout->addStretch(1);
}

QString EnginePrivacyPage::ItemText(EngineSettingsValues::ClearItem item) const
{
    QString text = Box(item)->text();
    // "&&" stands for an ampersand of the text; a single one marks the key.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

void EnginePrivacyPage::Show(const EngineSettingsValues& values)
{
    for (auto it = m_boxes.constBegin(); it != m_boxes.constEnd(); ++it)
        it.value()->setChecked(values.Clear & it.key());
}

void EnginePrivacyPage::Take(EngineSettingsValues& values) const
{
    values.Clear = 0;
    for (auto it = m_boxes.constBegin(); it != m_boxes.constEnd(); ++it)
        if (it.value()->isChecked())
            values.Clear |= it.key();
}

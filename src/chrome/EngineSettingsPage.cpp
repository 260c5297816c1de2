#include "chrome/EngineSettingsPage.h"

#include "core/dialogs/WindowServices.h"

const QString EngineSettingsPage::Section = QStringLiteral("ENGINE_SETTINGS");

QString EngineSettingsPage::Text(const QString& key, const QString& section) const
{
    return m_services->GetLangText(section, key);
}

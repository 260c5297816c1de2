#include "groups/InternetShortcut.h"

#include "components/SettingsFile.h"

bool InternetShortcut::isShortcutFile(const QString& path)
{
    return path.endsWith(QLatin1String(".url"), Qt::CaseInsensitive);
}

QString InternetShortcut::readUrl(const QString& path)
{
    SettingsFile file(path);
    if (!file.load())
        return {};
    return file.value(QStringLiteral("InternetShortcut"), QStringLiteral("URL")).trimmed();
}

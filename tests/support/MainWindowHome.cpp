#include "MainWindowHome.h"

#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"

#include <QDir>
#include <QFile>

namespace
{
bool copyFolder(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to))
        return false;
    for (const QString& name : QDir(from).entryList(QDir::Files))
    {
        if (!QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name)))
            return false;
    }
    return true;
}
} // namespace

MainWindowHome::MainWindowHome()
    : m_dir(std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/qw-win-XXXXXX")))
{
    if (!m_dir->isValid())
        return;
    qputenv("QUILLWAVE_HOME", QFile::encodeName(path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(filePath(QStringLiteral("data"))));
    m_valid = copyFolder(QStringLiteral(QW_SOURCE_DIR "/data/Languages"),
                         filePath(QStringLiteral("Languages"))) &&
              RegistryStore::defaultDatabasePath() == filePath(QStringLiteral("settings.sqlite")) &&
              seed(QStringLiteral("AskDefaultBrowser"), QStringLiteral("0")) &&
              seed(QStringLiteral("VersionCheck"), QStringLiteral("0"));
}

bool MainWindowHome::seed(const QString& name, const QString& text) const
{
    RegistryStore store(filePath(QStringLiteral("settings.sqlite")));
    return store.setString(RegistryKeys::ValueKey, name, text);
}

QString MainWindowHome::stored(const QString& name) const
{
    RegistryStore store(filePath(QStringLiteral("settings.sqlite")));
    const std::optional<RegValue> value = store.value(RegistryKeys::ValueKey, name);
    if (!value)
        return QStringLiteral("<missing>");
    if (value->type != RegValue::String)
        return QStringLiteral("<dword %1>").arg(value->dword);
    return value->text;
}

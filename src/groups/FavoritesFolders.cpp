#include "groups/FavoritesFolders.h"

#include "core/store/ProgramPaths.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace
{
const QString FavoritesValue = QStringLiteral("Favorites");
const QString LinksNameValue = QStringLiteral("LinksFolderName");

QString storedString(const RegistryStore& store, const QString& key, const QString& name)
{
    const std::optional<RegValue> value = store.value(key, name);
    return value && value->type == RegValue::String ? value->text : QString();
}

// A stored location counts only when it names an existing folder by an
// absolute path: a relative one would depend on the working folder.
QString existingFolder(const QString& path)
{
    if (path.isEmpty() || !QDir::isAbsolutePath(path) || !QFileInfo(path).isDir())
        return {};
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
} // namespace

QString FavoritesFolders::expandEnvironment(const QString& text)
{
    static const QRegularExpression variable(
        QStringLiteral("%([^%/]+)%|\\$\\{([A-Za-z_][A-Za-z0-9_]*)\\}|\\$([A-Za-z_][A-Za-z0-9_]*)"));
    QString result;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& match : variable.globalMatch(text))
    {
        QString name;
        for (int group = 1; group <= 3 && name.isEmpty(); ++group)
            name = match.captured(group);
        result += text.mid(done, match.capturedStart() - done);
        const QByteArray key = name.toLocal8Bit();
        result += qEnvironmentVariableIsSet(key.constData()) ? qEnvironmentVariable(key.constData())
                                                             : match.captured();
        done = match.capturedEnd();
    }
    result += text.mid(done);
    if (result == QLatin1String("~") || result.startsWith(QLatin1String("~/")))
        result = QDir::homePath() + result.mid(1);
    return result;
}

QString FavoritesFolders::favoritesFolder(RegistryStore& store)
{
    QString folder = existingFolder(
        expandEnvironment(storedString(store, RegistryKeys::ShellFolders, FavoritesValue)));
    if (folder.isEmpty())
        folder =
            existingFolder(storedString(store, RegistryKeys::ResolvedShellFolders, FavoritesValue));
    if (!folder.isEmpty())
        return folder;
    const QString standard = QDir(ProgramPaths::programFolder()).filePath(FavoritesValue);
    QDir().mkpath(standard);
    return QDir::cleanPath(standard);
}

QString FavoritesFolders::linksFolder(RegistryStore& store)
{
    QString name = storedString(store, RegistryKeys::EngineToolbar, LinksNameValue).trimmed();
    // One folder name inside Favorites, never a path that leads out of it.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String(".") ||
        name == QLatin1String(".."))
        name = QLatin1String(DefaultLinksName);
    const QString links = QDir(favoritesFolder(store)).filePath(name);
    return QFileInfo(links).isDir() ? links : QString();
}

#include "chrome/LanguageFolders.h"

#include "core/store/ProgramPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

LanguageFolders::LanguageFolders(const QStringList& folders)
{
    QSet<QString> seen;
    for (const QString& folder : folders)
    {
        if (folder.isEmpty())
            continue;
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        const QString key = canonical.isEmpty() ? QDir::cleanPath(folder) : canonical;
        if (seen.contains(key))
            continue;
        seen.insert(key);
        m_folders << folder;
    }
}

LanguageFolders LanguageFolders::standard()
{
    return LanguageFolders(ProgramPaths::languageFolders());
}

bool LanguageFolders::isPlainFileName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

QFileInfoList LanguageFolders::files() const
{
    QFileInfoList result;
    QSet<QString> names;
    for (const QString& folder : m_folders)
    {
        const QFileInfoList found =
            QDir(folder).entryInfoList({QStringLiteral("*.ini")}, QDir::Files, QDir::Unsorted);
        for (const QFileInfo& file : found)
        {
            if (!file.isFile() || names.contains(file.fileName()))
                continue;
            names.insert(file.fileName());
            result << file;
        }
    }
    return result;
}

QString LanguageFolders::filePath(const QString& name) const
{
    if (!isPlainFileName(name))
        return {};
    for (const QString& folder : m_folders)
    {
        const QFileInfo file(QDir(folder).filePath(name));
        if (file.isFile())
            return file.absoluteFilePath();
    }
    return {};
}

QString LanguageFolders::defaultFilePath(const QString& defaultName) const
{
    for (auto folder = m_folders.crbegin(); folder != m_folders.crend(); ++folder)
    {
        const QFileInfo file(QDir(*folder).filePath(defaultName));
        if (file.isFile())
            return file.absoluteFilePath();
    }
    return {};
}

#include "chrome/TLanguage.h"

#include "chrome/LanguageFolders.h"
#include "chrome/LanguageKeyRecorder.h"
#include "chrome/TComponentTranslator.h"
#include "core/instance/StartupTimeline.h"

#include <QDir>
#include <QFileInfo>

QString TLanguage::ResolveFileName(const QString& folder, const QString& configuredName)
{
    return LanguageFolders({folder}).filePath(configuredName).isEmpty() ? DefaultFileName()
                                                                        : configuredName;
}

QString TLanguage::LoadChosen(const LanguageFolders& folders, const QString& configuredName)
{
    const QString chosen = folders.filePath(configuredName);
    const QString fileName = chosen.isEmpty() ? DefaultFileName() : configuredName;
    const QString path = chosen.isEmpty() ? folders.filePath(fileName) : chosen;
    Load(path);
    m_fileName = fileName;
    const QString defaultPath = folders.defaultFilePath(DefaultFileName());
    if (!defaultPath.isEmpty() && QFileInfo(defaultPath) != QFileInfo(path))
    {
        TLanguageFile fallback;
        if (fallback.load(defaultPath))
            m_file.addMissingFrom(fallback);
    }
    return fileName;
}

bool TLanguage::Load(const QString& path)
{
    m_fileName = QFileInfo(path).fileName();
    const bool loaded = m_file.load(path);
    StartupTimeline::mark("language loaded");
    return loaded;
}

void TLanguage::LoadFromData(const QByteArray& data, const QString& fileName)
{
    m_fileName = fileName;
    m_file.loadFromData(data);
}

QString TLanguage::GetLangText(const QString& section, const QString& key) const
{
    LanguageKeyRecorder::Note(section, key);
    return m_file.read(section, key,
                       QStringLiteral("UNDEFINED: ") + section + QStringLiteral(" > ") + key);
}

QString TLanguage::GetGlobalText(const QString& key) const
{
    return GetLangText(GlobalSection(), key);
}

void TLanguage::TranslateComponent(QObject* root, const QString& section) const
{
    TComponentTranslator(m_file, section).translate(root);
}

QString TLanguage::TranslateText(const QString& value, const QString& section) const
{
    return TComponentTranslator(m_file, section).translateText(value);
}

QString TLanguage::ShortHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString TLanguage::LongHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QString TLanguage::FormatText(const QString& format, const QString& argument)
{
    QString result;
    result.reserve(format.size() + argument.size());
    for (qsizetype i = 0; i < format.size(); ++i)
    {
        const QChar c = format[i];
        if (c == QLatin1Char('%') && i + 1 < format.size())
        {
            const QChar next = format[i + 1];
            if (next == QLatin1Char('%'))
            {
                result += QLatin1Char('%');
                ++i;
                continue;
            }
            if (next == QLatin1Char('s') || next == QLatin1Char('1'))
            {
                result += argument;
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

#include "chrome/DesktopEntry.h"

#include "components/SettingsFile.h"

#include <QProcess>
#include <QStandardPaths>

namespace
{
const QString Group = QStringLiteral("Desktop Entry");

QStringList listValue(const SettingsFile& file, const QString& key)
{
    return file.value(Group, key).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

bool isTrue(const QString& value)
{
    return value.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
}

// The escapes every string value of a desktop entry may hold.
QString unescapeValue(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i)
    {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size())
        {
            out += c;
            continue;
        }
        switch (value.at(++i).unicode())
        {
        case 's':
            out += QLatin1Char(' ');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case '\\':
            out += QLatin1Char('\\');
            break;
        default: // the quoting level's own escapes
            out += QLatin1Char('\\');
            out += value.at(i);
            break;
        }
    }
    return out;
}
} // namespace

std::optional<DesktopEntry> DesktopEntry::read(const QString& path, const QString& id)
{
    SettingsFile file(path);
    if (!file.load())
        return std::nullopt;
    if (file.value(Group, QStringLiteral("Type")) != QStringLiteral("Application") ||
        isTrue(file.value(Group, QStringLiteral("Hidden"))))
        return std::nullopt;
    const QString tryExec = file.value(Group, QStringLiteral("TryExec"));
    if (!tryExec.isEmpty() && QStandardPaths::findExecutable(tryExec).isEmpty())
        return std::nullopt;
    DesktopEntry entry;
    entry.id = id;
    entry.path = path;
    entry.name = file.value(Group, QStringLiteral("Name"));
    entry.exec = file.value(Group, QStringLiteral("Exec"));
    entry.icon = file.value(Group, QStringLiteral("Icon"));
    entry.mimeTypes = listValue(file, QStringLiteral("MimeType"));
    entry.categories = listValue(file, QStringLiteral("Categories"));
    entry.noDisplay = isTrue(file.value(Group, QStringLiteral("NoDisplay")));
    if (entry.exec.isEmpty() || splitExec(entry.exec).isEmpty())
        return std::nullopt;
    if (entry.name.isEmpty())
        entry.name = id;
    return entry;
}

QStringList DesktopEntry::splitExec(const QString& exec)
{
    const QString line = unescapeValue(exec);
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i)
    {
        const QChar c = line.at(i);
        if (quoted)
        {
            if (c == QLatin1Char('"'))
                quoted = false;
            else if (c == QLatin1Char('\\') && i + 1 < line.size())
                word += line.at(++i);
            else
                word += c;
        }
        else if (c == QLatin1Char(' ') || c == QLatin1Char('\t'))
        {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
        }
        else if (c == QLatin1Char('"'))
        {
            quoted = true;
            inWord = true;
        }
        else if (c == QLatin1Char('\\') && i + 1 < line.size())
        {
            word += line.at(++i);
            inWord = true;
        }
        else
        {
            word += c;
            inWord = true;
        }
    }
    if (quoted)
        return {};
    if (inWord)
        words.append(word);
    return words;
}

QStringList DesktopEntry::arguments(const QStringList& targets) const
{
    const QStringList words = splitExec(exec);
    // Without a program the first target would be run as one.
    if (words.isEmpty())
        return {};
    QStringList out;
    bool targetsPlaced = false;
    for (const QString& word : words)
    {
        if (word == QStringLiteral("%F") || word == QStringLiteral("%U"))
        {
            out += targets;
            targetsPlaced = true;
            continue;
        }
        if (word == QStringLiteral("%i"))
        {
            if (!icon.isEmpty())
                out << QStringLiteral("--icon") << icon;
            continue;
        }
        QString expanded;
        bool hadCode = false;
        for (qsizetype i = 0; i < word.size(); ++i)
        {
            if (word.at(i) != QLatin1Char('%') || i + 1 == word.size())
            {
                expanded += word.at(i);
                continue;
            }
            hadCode = true;
            switch (word.at(++i).unicode())
            {
            case '%':
                expanded += QLatin1Char('%');
                break;
            case 'f':
            case 'u':
            case 'F':
            case 'U':
                if (!targets.isEmpty())
                    expanded += targets.first();
                targetsPlaced = true;
                break;
            case 'c':
                expanded += name;
                break;
            case 'k':
                expanded += path;
                break;
            default: // deprecated and unknown codes stand for nothing
                break;
            }
        }
        // A word that was only a field code with nothing to stand for is
        // no argument at all.
        if (!expanded.isEmpty() || !hadCode)
            out.append(expanded);
    }
    if (!targetsPlaced)
        out += targets;
    return out;
}

bool DesktopEntry::start(const QStringList& targets) const
{
    QStringList words = arguments(targets);
    if (words.isEmpty())
        return false;
    const QString program = words.takeFirst();
    return QProcess::startDetached(program, words);
}

#include "chrome/MimeAppsList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QString MimeAppsList::defaultPath()
{
    // A relative XDG path is invalid and must be ignored.
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return QDir(base).filePath(QStringLiteral("mimeapps.list"));
}

MimeAppsList::MimeAppsList(const QString& path) : m_path(path) {}

bool MimeAppsList::load()
{
    QFile file(m_path);
    if (!file.exists())
    {
        setContent(QByteArray());
        return true;
    }
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    setContent(bytes);
    return true;
}

bool MimeAppsList::save()
{
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = content();
    if (file.write(bytes) != bytes.size())
    {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    m_modified = false;
    return true;
}

void MimeAppsList::setContent(const QByteArray& content)
{
    m_lines.clear();
    m_modified = false;
    qsizetype start = 0;
    while (start < content.size())
    {
        const qsizetype newline = content.indexOf('\n', start);
        if (newline < 0)
        {
            m_lines.append({content.mid(start), QByteArray()});
            break;
        }
        QByteArray text = content.mid(start, newline - start);
        QByteArray eol("\n");
        if (text.endsWith('\r'))
        {
            text.chop(1);
            eol = "\r\n";
        }
        m_lines.append({text, eol});
        start = newline + 1;
    }
}

QByteArray MimeAppsList::content() const
{
    QByteArray bytes;
    for (const Line& line : m_lines)
        bytes += line.text + line.eol;
    return bytes;
}

bool MimeAppsList::isGroupHeader(const QByteArray& text, QByteArray* name)
{
    const QByteArray trimmed = text.trimmed();
    if (trimmed.size() < 2 || !trimmed.startsWith('[') || !trimmed.endsWith(']'))
        return false;
    if (name)
        *name = trimmed.mid(1, trimmed.size() - 2);
    return true;
}

bool MimeAppsList::keyOf(const QByteArray& text, QByteArray* key, qsizetype* valueStart)
{
    const QByteArray trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith('#') || isGroupHeader(text))
        return false;
    const qsizetype equals = text.indexOf('=');
    if (equals < 0)
        return false;
    *key = text.left(equals).trimmed();
    qsizetype value = equals + 1;
    while (value < text.size() && (text.at(value) == ' ' || text.at(value) == '\t'))
        ++value;
    *valueStart = value;
    return true;
}

QList<MimeAppsList::EntryRef> MimeAppsList::findEntries(const QByteArray& group,
                                                        const QByteArray& key) const
{
    QList<EntryRef> found;
    bool inGroup = false;
    for (qsizetype i = 0; i < m_lines.size(); ++i)
    {
        QByteArray name;
        if (isGroupHeader(m_lines.at(i).text, &name))
        {
            inGroup = (name == group);
            continue;
        }
        QByteArray lineKey;
        qsizetype valueStart = 0;
        if (inGroup && keyOf(m_lines.at(i).text, &lineKey, &valueStart) && lineKey == key)
            found.append({i, valueStart});
    }
    return found;
}

qsizetype MimeAppsList::findGroup(const QByteArray& group) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i)
    {
        QByteArray name;
        if (isGroupHeader(m_lines.at(i).text, &name) && name == group)
            return i;
    }
    return -1;
}

QStringList MimeAppsList::desktopIds(const QString& group, const QString& key) const
{
    const QList<EntryRef> entries = findEntries(group.toUtf8(), key.toUtf8());
    if (entries.isEmpty())
        return {};
    // Readers merge repeated groups and keys with the last copy winning.
    const EntryRef& entry = entries.last();
    const QByteArray value = m_lines.at(entry.line).text.mid(entry.valueStart);
    QStringList ids;
    for (const QByteArray& part : value.split(';'))
    {
        const QByteArray id = part.trimmed();
        if (!id.isEmpty())
            ids.append(QString::fromUtf8(id));
    }
    return ids;
}

QByteArray MimeAppsList::newLineEnding() const
{
    for (const Line& line : m_lines)
        if (!line.eol.isEmpty())
            return line.eol;
    return QByteArrayLiteral("\n");
}

void MimeAppsList::insertLine(qsizetype at, const QByteArray& text)
{
    const QByteArray eol = newLineEnding();
    if (at > 0 && m_lines[at - 1].eol.isEmpty())
        m_lines[at - 1].eol = eol;
    m_lines.insert(at, {text, eol});
}

void MimeAppsList::setDesktopIds(const QString& group, const QString& key, const QStringList& ids)
{
    const QByteArray groupName = group.toUtf8();
    const QByteArray keyName = key.toUtf8();
    const QByteArray before = content();
    const QList<EntryRef> entries = findEntries(groupName, keyName);
    const qsizetype header = findGroup(groupName);
    qsizetype sectionEnd = header + 1;
    while (header >= 0 && sectionEnd < m_lines.size() &&
           !isGroupHeader(m_lines.at(sectionEnd).text))
        ++sectionEnd;

    // The entry in the first copy of the group keeps its place and carries
    // the new value; every other copy goes.
    const bool editInPlace =
        !ids.isEmpty() && !entries.isEmpty() && entries.first().line < sectionEnd;
    for (qsizetype i = entries.size() - 1; i >= (editInPlace ? 1 : 0); --i)
        m_lines.removeAt(entries.at(i).line);

    if (!ids.isEmpty())
    {
        const QByteArray value = ids.join(QLatin1Char(';')).toUtf8() + ';';
        if (editInPlace)
        {
            Line& line = m_lines[entries.first().line];
            line.text = line.text.left(entries.first().valueStart) + value;
        }
        else if (header >= 0)
        {
            // After the group's last entry, so comments and blank lines that
            // lead into the next group stay with it. Removed lines all lay
            // after this section, so its indexes still hold.
            qsizetype at = header + 1;
            for (qsizetype i = header + 1; i < sectionEnd; ++i)
            {
                QByteArray lineKey;
                qsizetype valueStart = 0;
                if (keyOf(m_lines.at(i).text, &lineKey, &valueStart))
                    at = i + 1;
            }
            insertLine(at, keyName + '=' + value);
        }
        else
        {
            if (!m_lines.isEmpty() && !m_lines.last().text.trimmed().isEmpty())
                insertLine(m_lines.size(), QByteArray());
            insertLine(m_lines.size(), '[' + groupName + ']');
            insertLine(m_lines.size(), keyName + '=' + value);
        }
    }
    if (content() != before)
        m_modified = true;
}

#include "chrome/TLanguageFile.h"

#include <QFile>

namespace
{
QString foldName(const QString& name)
{
    return name.toLower();
}
} // namespace

bool TLanguageFile::load(const QString& path)
{
    clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (file.size() > MaximumFileSize)
        return false;
    // read() can still fail (a folder, a device); a partial read is not trusted.
    const QByteArray data = file.read(MaximumFileSize + 1);
    if (file.error() != QFileDevice::NoError || data.size() > MaximumFileSize)
        return false;
    loadFromData(data);
    return true;
}

void TLanguageFile::loadFromData(const QByteArray& data)
{
    clear();
    QString text = QString::fromUtf8(data);
    // Editors that save "UTF-8 with signature" put a byte-order mark in front;
    // left in place it would hide the first section line.
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    int current = -1;
    const QStringView view(text);
    qsizetype start = 0;
    const qsizetype length = view.size();
    while (start <= length)
    {
        qsizetype end = start;
        while (end < length && view[end] != u'\r' && view[end] != u'\n')
            ++end;
        parseLine(view.mid(start, end - start), current);
        if (end >= length)
            break;
        // CR LF is one line end; a lone CR or LF is one as well.
        start = end + ((view[end] == u'\r' && end + 1 < length && view[end + 1] == u'\n') ? 2 : 1);
    }
}

void TLanguageFile::parseLine(QStringView line, int& current)
{
    if (line.isEmpty() || line.front() == u';')
        return;
    if (line.size() >= 2 && line.front() == u'[' && line.back() == u']')
    {
        const QString name = line.mid(1, line.size() - 2).toString();
        const QString folded = foldName(name);
        if (m_sectionIndex.contains(folded))
        {
            // Only a section's first occurrence is searched.
            current = -1;
            return;
        }
        Section section;
        section.name = name;
        m_sections.append(section);
        current = int(m_sections.size()) - 1;
        m_sectionIndex.insert(folded, current);
        return;
    }
    if (current < 0)
        return;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return;
    Section& section = m_sections[current];
    const QString key = line.left(equals).toString();
    const QString folded = foldName(key);
    if (section.index.contains(folded))
        return;
    section.index.insert(folded, int(section.entries.size()));
    section.entries.append({key, line.mid(equals + 1).toString()});
}

void TLanguageFile::clear()
{
    m_sections.clear();
    m_sectionIndex.clear();
}

const TLanguageFile::Section* TLanguageFile::findSection(const QString& section) const
{
    const auto it = m_sectionIndex.constFind(foldName(section));
    return it == m_sectionIndex.constEnd() ? nullptr : &m_sections[*it];
}

QString TLanguageFile::read(const QString& section, const QString& key,
                            const QString& defaultText) const
{
    const Section* found = findSection(section);
    if (!found)
        return defaultText;
    const auto it = found->index.constFind(foldName(key));
    return it == found->index.constEnd() ? defaultText : found->entries[*it].second;
}

bool TLanguageFile::contains(const QString& section, const QString& key) const
{
    const Section* found = findSection(section);
    return found && found->index.contains(foldName(key));
}

QStringList TLanguageFile::sections() const
{
    QStringList names;
    names.reserve(m_sections.size());
    for (const Section& section : m_sections)
        names.append(section.name);
    return names;
}

QStringList TLanguageFile::keys(const QString& section) const
{
    QStringList names;
    if (const Section* found = findSection(section))
    {
        names.reserve(found->entries.size());
        for (const auto& entry : found->entries)
            names.append(entry.first);
    }
    return names;
}

#include "chrome/TLanguageFile.h"

#include <QFile>
#include <QFileInfo>

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
    // Opening a pipe waits for a writer, possibly for ever.
    if (!QFileInfo(path).isFile())
        return false;
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
        current = addSection(name, true) ? int(m_sections.size()) - 1 : -1;
        return;
    }
    if (current < 0)
        return;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return;
    Section& section = m_sections[current];
    const QString key = line.left(equals).toString();
    if (!section.index.contains(foldName(key)))
        addEntry(section, key, line.mid(equals + 1).toString(), true);
}

TLanguageFile::Section* TLanguageFile::addSection(const QString& name, bool bounded)
{
    if (bounded && m_sections.size() >= MaximumSections)
        return nullptr;
    Section section;
    section.name = name;
    m_sections.append(section);
    m_sectionIndex.insert(foldName(name), int(m_sections.size()) - 1);
    return &m_sections.last();
}

void TLanguageFile::addEntry(Section& section, const QString& key, const QString& text,
                             bool bounded)
{
    if (bounded && m_entryCount >= MaximumEntries)
        return;
    section.index.insert(foldName(key), int(section.entries.size()));
    section.entries.append({key, text});
    ++m_entryCount;
}

void TLanguageFile::addMissingFrom(const TLanguageFile& other)
{
    // other is bounded itself, and a file that used up its own bounds must
    // still get every text it lacks.
    for (const Section& theirs : other.m_sections)
    {
        const auto found = m_sectionIndex.constFind(foldName(theirs.name));
        Section* ours = found == m_sectionIndex.constEnd() ? addSection(theirs.name, false)
                                                           : &m_sections[*found];
        for (const auto& [key, text] : theirs.entries)
        {
            if (!ours->index.contains(foldName(key)))
                addEntry(*ours, key, text, false);
        }
    }
}

void TLanguageFile::clear()
{
    m_sections.clear();
    m_sectionIndex.clear();
    m_entryCount = 0;
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

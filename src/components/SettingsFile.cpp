#include "components/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringBuilder>
#include <QStringDecoder>

namespace
{
const QByteArray Utf8ByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

// Keys are folded for every line read and every key written; nearly all are
// ASCII, which needs no case table.
QString fold(QStringView name)
{
    QString folded(name.size(), Qt::Uninitialized);
    QChar* out = folded.data();
    for (const QChar c : name)
    {
        const char16_t unit = c.unicode();
        if (unit >= 0x80)
            return name.toString().toCaseFolded();
        *out++ = QChar(unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit);
    }
    return folded;
}

bool isBlank(QStringView text)
{
    return text.trimmed().isEmpty();
}

// "[name]" alone on its line. A line with "=" is an entry even when it is
// bracketed, so that a key such as "[News]" or an address ending in "]"
// cannot turn an entry into a section.
bool isSectionLine(QStringView trimmed)
{
    return trimmed.size() >= 2 && trimmed.front() == u'[' && trimmed.back() == u']' &&
           !trimmed.contains(u'=');
}

QString withoutLineBreaks(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QString cleanName(const QString& name)
{
    return withoutLineBreaks(name).remove(QLatin1Char('=')).trimmed();
}
} // namespace

SettingsFile::SettingsFile(const QString& path) : m_path(path)
{
    clear();
}

void SettingsFile::clear()
{
    m_blocks.clear();
    m_blocks.append(Block());
    m_index.clear();
    m_byteOrderMark = false;
    m_lineEnd = QStringLiteral("\n");
}

bool SettingsFile::load()
{
    clear();
    m_error.clear();
    m_unreadable = false;
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QString reason;
    // Opening a pipe waits for a writer, possibly for ever.
    if (!info.isFile())
        reason = QStringLiteral("not an ordinary file");
    QFile file(m_path);
    if (reason.isEmpty() && !file.open(QIODevice::ReadOnly))
        reason = file.errorString();
    if (reason.isEmpty() && file.size() > MaximumFileSize)
        reason = QStringLiteral("larger than %1 MB").arg(MaximumFileSize / (1024 * 1024));
    QByteArray data;
    if (reason.isEmpty())
    {
        // read(MaximumFileSize + 1) would reserve that much for every small
        // file; readAll() sizes its buffer by the file, and a file that grew
        // past the limit meanwhile is still caught below.
        data = file.readAll();
        if (file.error() != QFileDevice::NoError)
            reason = file.errorString();
        else if (data.size() > MaximumFileSize)
            reason = QStringLiteral("larger than %1 MB").arg(MaximumFileSize / (1024 * 1024));
    }
    if (!reason.isEmpty())
    {
        m_unreadable = true;
        m_error = QDir::toNativeSeparators(m_path) + QStringLiteral(": ") + reason;
        return false;
    }
    loadFromData(data);
    return true;
}

void SettingsFile::loadFromData(const QByteArray& data)
{
    clear();
    QByteArrayView bytes(data);
    m_byteOrderMark = bytes.startsWith(Utf8ByteOrderMark);
    if (m_byteOrderMark)
        bytes = bytes.sliced(Utf8ByteOrderMark.size());
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    parse(text);
}

void SettingsFile::parse(const QString& text)
{
    const QStringView view(text);
    const qsizetype length = view.size();
    bool lineEndSeen = false;
    qsizetype start = 0;
    while (start < length)
    {
        qsizetype end = start;
        while (end < length && view[end] != u'\r' && view[end] != u'\n')
            ++end;
        const QStringView line = view.mid(start, end - start);
        const QStringView trimmed = line.trimmed();
        if (isSectionLine(trimmed))
            m_blocks.append(Block{
                line.toString(), trimmed.mid(1, trimmed.size() - 2).trimmed().toString(), {}});
        else
            m_blocks.last().lines.append(Line{line.toString(), line.indexOf(u'=')});
        if (end >= length)
            break;
        const bool crlf = view[end] == u'\r' && end + 1 < length && view[end + 1] == u'\n';
        if (!lineEndSeen)
        {
            // The file keeps the line ends it was written with.
            m_lineEnd = crlf ? QStringLiteral("\r\n") : view.mid(end, 1).toString();
            lineEndSeen = true;
        }
        start = end + (crlf ? 2 : 1);
    }
    rebuildIndex();
}

void SettingsFile::rebuildIndex()
{
    m_index.clear();
    for (int block = 1; block < m_blocks.size(); ++block)
        m_index[fold(m_blocks[block].name)].blocks.append(block);
}

QHash<QString, SettingsFile::KeySlot>& SettingsFile::keysOf(const SectionIndex& section) const
{
    if (section.keysBuilt)
        return section.keys;
    section.keys.clear();
    for (const int block : section.blocks)
    {
        const QList<Line>& lines = m_blocks[block].lines;
        section.keys.reserve(section.keys.size() + lines.size());
        for (int i = 0; i < lines.size(); ++i)
        {
            const Line& line = lines[i];
            if (line.equals < 0)
                continue;
            KeySlot& slot = section.keys[fold(QStringView(line.text).left(line.equals).trimmed())];
            if (slot.first.block < 0)
                slot.first = {block, i};
            slot.last = {block, i};
        }
    }
    section.keysBuilt = true;
    return section.keys;
}

const SettingsFile::Line& SettingsFile::lineAt(Position position) const
{
    return m_blocks[position.block].lines[position.line];
}

QByteArray SettingsFile::toData() const
{
    QString text;
    if (m_byteOrderMark)
        text += QChar(0xFEFF);
    for (int block = 0; block < m_blocks.size(); ++block)
    {
        if (block > 0)
            text += m_blocks[block].header % m_lineEnd;
        for (const Line& line : m_blocks[block].lines)
            text += line.text % m_lineEnd;
    }
    return text.toUtf8();
}

bool SettingsFile::save()
{
    m_error.clear();
    const QString where = QDir::toNativeSeparators(m_path) + QStringLiteral(": ");
    if (m_unreadable)
    {
        m_error = where + QStringLiteral("the file could not be read, so it is not overwritten");
        return false;
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
    {
        m_error = where + file.errorString();
        return false;
    }
    const QByteArray data = toData();
    if (file.write(data) != data.size() || !file.commit())
    {
        m_error = where + file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

QList<SettingsFile::Entry> SettingsFile::entries(const QString& section) const
{
    QList<Entry> result;
    const auto found = m_index.constFind(fold(section.trimmed()));
    if (found == m_index.constEnd())
        return result;
    QHash<QString, qsizetype> places; // folded key -> position in result + 1
    qsizetype lineCount = 0;
    for (const int block : found->blocks)
        lineCount += m_blocks[block].lines.size();
    places.reserve(lineCount);
    result.reserve(lineCount);
    for (const int block : found->blocks)
    {
        for (const Line& line : m_blocks[block].lines)
        {
            if (line.equals < 0)
                continue;
            const QStringView key = QStringView(line.text).left(line.equals).trimmed();
            QString value = QStringView(line.text).mid(line.equals + 1).trimmed().toString();
            qsizetype& place = places[fold(key)];
            if (place > 0)
            {
                result[place - 1].second = std::move(value);
                continue;
            }
            result.append({key.toString(), std::move(value)});
            place = result.size();
        }
    }
    return result;
}

QString SettingsFile::value(const QString& section, const QString& key,
                            const QString& defaultValue) const
{
    const auto found = m_index.constFind(fold(section.trimmed()));
    if (found == m_index.constEnd())
        return defaultValue;
    const QHash<QString, KeySlot>& keys = keysOf(*found);
    const auto slot = keys.constFind(fold(key.trimmed()));
    if (slot == keys.constEnd())
        return defaultValue;
    const Line& line = lineAt(slot->last);
    return QStringView(line.text).mid(line.equals + 1).trimmed().toString();
}

void SettingsFile::setValue(const QString& section, const QString& key, const QString& value)
{
    setValues(section, {{key, value}});
}

void SettingsFile::setValues(const QString& section, const QList<Entry>& entries)
{
    const QString name = cleanName(section);
    SectionIndex& index = m_index[fold(name)];
    if (index.blocks.isEmpty())
    {
        m_blocks.append(Block{QLatin1Char('[') + name + QLatin1Char(']'), name, {}});
        index.blocks.append(int(m_blocks.size()) - 1);
    }
    keysOf(index).reserve(index.keys.size() + entries.size());
    for (const auto& [key, value] : entries)
    {
        const QString cleanKey = cleanName(key);
        const QString cleanValue = withoutLineBreaks(value).trimmed();
        const QString foldedKey = fold(cleanKey);
        // A replaced value may have dropped lines, which rebuilds the table.
        const QHash<QString, KeySlot>& keys = keysOf(index);
        const auto slot = keys.constFind(foldedKey);
        if (slot != keys.constEnd())
            replaceValue(index, *slot, foldedKey, cleanValue);
        else
            appendEntry(index, cleanKey, foldedKey, cleanValue);
    }
}

void SettingsFile::replaceValue(SectionIndex& index, KeySlot slot, const QString& foldedKey,
                                const QString& value)
{
    Line& line = m_blocks[slot.first.block].lines[slot.first.line];
    line.text = QStringView(line.text).left(line.equals + 1) % value;
    if (slot.first.block == slot.last.block && slot.first.line == slot.last.line)
        return;
    // Later lines of the key would hide the new value when the file is read again.
    for (const int block : index.blocks)
    {
        QList<Line>& lines = m_blocks[block].lines;
        for (int i = lines.size() - 1; i >= 0; --i)
        {
            const bool first = block == slot.first.block && i == slot.first.line;
            if (!first && lines[i].equals >= 0 &&
                fold(QStringView(lines[i].text).left(lines[i].equals).trimmed()) == foldedKey)
                lines.removeAt(i);
        }
    }
    index.keysBuilt = false;
}

void SettingsFile::appendEntry(SectionIndex& index, const QString& key, const QString& foldedKey,
                               const QString& value)
{
    const int block = index.blocks.last();
    QList<Line>& lines = m_blocks[block].lines;
    // Blank lines that end a section keep it apart from the next one; only
    // blank lines follow the new one, so no indexed position moves.
    qsizetype at = lines.size();
    while (at > 0 && isBlank(lines[at - 1].text))
        --at;
    lines.insert(at, Line{key % QLatin1Char('=') % value, key.size()});
    const Position here{block, int(at)};
    index.keys.insert(foldedKey, KeySlot{here, here});
}

void SettingsFile::eraseSection(const QString& section)
{
    const auto found = m_index.constFind(fold(cleanName(section)));
    if (found == m_index.constEnd())
        return;
    const QList<int> blocks = found->blocks;
    for (auto it = blocks.crbegin(); it != blocks.crend(); ++it)
        m_blocks.removeAt(*it);
    rebuildIndex();
}

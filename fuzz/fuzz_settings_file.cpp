// The settings-file class and what reads through it: group files,
// Internet shortcuts and the toolbar's layout file. All three come from
// elsewhere (other programs, copies, hand edits).
#include "FuzzSupport.h"

#include "chrome/ToolbarLayout.h"
#include "components/SettingsFile.h"
#include "groups/InternetShortcut.h"
#include "groups/TVostelGroup.h"

#include <QSet>

namespace
{
QStringList sectionNames(const QByteArray& data)
{
    QStringList names;
    for (const QByteArray& line : data.split('\n'))
    {
        const QString trimmed = QString::fromUtf8(line).trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']')))
            names << trimmed.mid(1, trimmed.size() - 2);
    }
    names << TVostelGroup::Section << QStringLiteral("InternetShortcut")
          << ToolbarLayout::Section();
    return names;
}

QString withoutLineBreaks(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

void checkSameEntries(const SettingsFile& a, const SettingsFile& b, const QStringList& sections)
{
    for (const QString& section : sections)
        FUZZ_CHECK(a.entries(section) == b.entries(section));
}

void checkFile(const QByteArray& data, const QString& path, const QStringList& sections)
{
    SettingsFile file(path);
    FUZZ_CHECK(file.load());
    for (const QString& section : sections)
        for (const auto& [key, value] : file.entries(section))
            FUZZ_CHECK(file.value(section, key) == value);

    // What was read is written back as it was read.
    SettingsFile again;
    again.loadFromData(file.toData());
    checkSameEntries(file, again, sections);
    FUZZ_CHECK(again.toData() == file.toData());

    // A written value reads back, in memory and from the file, and touches
    // no other section.
    const QString section = sections.first();
    const QString key = QString::fromUtf8(data.left(12)) + QStringLiteral("k");
    const QString value = QString::fromUtf8(data.right(20));
    SettingsFile changed(path);
    FUZZ_CHECK(changed.load());
    changed.setValue(section, key, value);
    const QString cleanKey = withoutLineBreaks(key).remove(QLatin1Char('=')).trimmed();
    const QString cleanValue = withoutLineBreaks(value).trimmed();
    const QString cleanSection = withoutLineBreaks(section).remove(QLatin1Char('=')).trimmed();
    FUZZ_CHECK(changed.value(cleanSection, cleanKey) == cleanValue);
    SettingsFile reread;
    reread.loadFromData(changed.toData());
    FUZZ_CHECK(reread.value(cleanSection, cleanKey) == cleanValue);
    checkSameEntries(changed, reread, sections);
    const QString written = cleanSection.toCaseFolded();
    for (const QString& other : sections)
        if (other.trimmed().toCaseFolded() != written)
            FUZZ_CHECK(reread.entries(other) == file.entries(other));
}

void checkGroup(const QString& path)
{
    const TVostelGroup group(nullptr, path);
    SettingsFile file(path);
    file.load();
    const QList<SettingsFile::Entry> entries = file.entries(TVostelGroup::Section);
    FUZZ_CHECK(group.size() == entries.size());
    for (qsizetype i = 0; i < group.size(); ++i)
    {
        FUZZ_CHECK(group.Name(i) == entries.at(i).first);
        FUZZ_CHECK(group.Value(i) == entries.at(i).second);
    }
    // Saved and read again, the group is the same.
    TVostelGroup saved(nullptr, path);
    FUZZ_CHECK(saved.Save());
    FUZZ_CHECK(TVostelGroup(nullptr, path) == group);
}

void checkShortcut(const QString& path)
{
    SettingsFile file(path);
    file.load();
    const QString url = InternetShortcut::readUrl(path);
    FUZZ_CHECK(url == file.value(QStringLiteral("InternetShortcut"), QStringLiteral("URL")));
    SettingsFile written;
    written.loadFromData(InternetShortcut::contents(url));
    FUZZ_CHECK(written.value(QStringLiteral("InternetShortcut"), QStringLiteral("URL")) == url);
}

void checkToolbar(const QString& path)
{
    const std::optional<QList<ToolbarEntry>> layout = ToolbarLayout::Read(path);
    FUZZ_CHECK(layout.has_value());
    QSet<int> buttons;
    for (const ToolbarEntry& entry : *layout)
    {
        FUZZ_CHECK(entry.IsSeparator() || !buttons.contains(entry.number));
        buttons.insert(entry.number);
    }
    const QString copy = FuzzSupport::folder() + QStringLiteral("/tbcopy.dat");
    FUZZ_CHECK(ToolbarLayout::Write(copy, *layout));
    FUZZ_CHECK(ToolbarLayout::Read(copy) == layout);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QByteArray data = fuzzInput(bytes, size);
    const QStringList sections = sectionNames(data);
    checkFile(data, FuzzSupport::writeFile(QStringLiteral("settings.ini"), data), sections);
    checkShortcut(FuzzSupport::writeFile(QStringLiteral("shortcut.url"), data));
    checkToolbar(FuzzSupport::writeFile(ToolbarLayout::FileName(), data));
    checkGroup(FuzzSupport::writeFile(QStringLiteral("group.vgp"), data));
    return 0;
}

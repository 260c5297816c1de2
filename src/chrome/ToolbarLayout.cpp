#include "chrome/ToolbarLayout.h"

#include "chrome/ToolbarButtonTable.h"
#include "components/SettingsFile.h"

#include <QFileInfo>

namespace
{
const QString SeparatorPrefix = QStringLiteral("Sep");
constexpr int LastButton = ToolbarButtonTable::Count - 1;

// A key of plain decimal digits naming a button; -1 otherwise.
int buttonNumber(const QString& key)
{
    if (key.isEmpty() || key.size() > 3)
        return -1;
    for (const QChar c : key)
        if (c < u'0' || c > u'9')
            return -1;
    const int number = key.toInt();
    return ToolbarButtonTable::IsButtonNumber(number) ? number : -1;
}
} // namespace

QList<ToolbarEntry> ToolbarLayout::DefaultLayout()
{
    QList<ToolbarEntry> entries;
    for (int number = 0; number < ToolbarButtonTable::Count; ++number)
    {
        const bool hidden = number == 1 || (number >= 17 && number <= 20);
        entries.append({number, !hidden});
        if (number == 1 || number == 3 || number == 7 || number == 9 || number == 12)
            entries.append({ToolbarButtonTable::Separator, true});
    }
    return entries;
}

QList<ToolbarEntry> ToolbarLayout::FromKeys(const QList<QPair<QString, QString>>& keys)
{
    QList<ToolbarEntry> entries;
    QList<bool> placed(ToolbarButtonTable::Count, false);
    for (const auto& [key, value] : keys)
    {
        // A separator's value has never meant anything: it is always shown.
        if (key.startsWith(SeparatorPrefix, Qt::CaseInsensitive))
        {
            entries.append({ToolbarButtonTable::Separator, true});
            continue;
        }
        const int number = buttonNumber(key);
        if (number < 0 || placed.at(number))
            continue;
        placed[number] = true;
        entries.append({number, value != QStringLiteral("0")});
    }
    // Files from before the security button existed.
    if (!placed.at(LastButton))
        entries.append({LastButton, true});
    return entries;
}

std::optional<QList<ToolbarEntry>> ToolbarLayout::Read(const QString& path)
{
    if (!QFileInfo::exists(path))
        return std::nullopt;
    SettingsFile file(path);
    if (!file.load())
        return std::nullopt;
    return FromKeys(file.entries(Section()));
}

QList<QPair<QString, QString>> ToolbarLayout::ToKeys(const QList<ToolbarEntry>& entries)
{
    QList<QPair<QString, QString>> keys;
    for (const ToolbarEntry& entry : entries)
    {
        const QString value = entry.shown ? QStringLiteral("1") : QStringLiteral("0");
        if (entry.IsSeparator())
            keys.append({SeparatorPrefix + QString::number(keys.size()), value});
        else if (ToolbarButtonTable::IsButtonNumber(entry.number))
            keys.append({QString::number(entry.number), value});
    }
    return keys;
}

bool ToolbarLayout::Write(const QString& path, const QList<ToolbarEntry>& entries, QString* error)
{
    // Built afresh rather than loaded: the file holds nothing but the layout,
    // and an old file that cannot be read must not stop a good one.
    SettingsFile file(path);
    file.setValues(Section(), ToKeys(entries));
    if (file.save())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

#include "core/tabs/TClosedTabs.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace
{
constexpr int FormatVersion = 1;

QJsonObject toObject(const TClosedTabs::Entry& entry)
{
    QJsonObject object;
    object.insert(QStringLiteral("address"), entry.address);
    object.insert(QStringLiteral("title"), entry.title);
    object.insert(QStringLiteral("stickyName"), entry.stickyName);
    object.insert(QStringLiteral("locked"), entry.locked);
    object.insert(QStringLiteral("index"), entry.index);
    object.insert(QStringLiteral("history"), QString::fromLatin1(entry.history.toBase64()));
    return object;
}

// An entry that cannot be reopened has no address.
TClosedTabs::Entry fromObject(const QJsonObject& object)
{
    TClosedTabs::Entry entry;
    const QJsonValue address = object.value(QStringLiteral("address"));
    if (!address.isString() || !TClosedTabs::IsWorthKeeping(address.toString()))
        return entry;
    entry.address = address.toString();
    entry.title = object.value(QStringLiteral("title")).toString();
    entry.stickyName = object.value(QStringLiteral("stickyName")).toString();
    entry.locked = object.value(QStringLiteral("locked")).toBool();
    entry.index = qMax(0, object.value(QStringLiteral("index")).toInt());
    // A damaged history still leaves the address to go back to.
    const auto history = QByteArray::fromBase64Encoding(
        object.value(QStringLiteral("history")).toString().toLatin1(),
        QByteArray::AbortOnBase64DecodingErrors);
    if (history)
        entry.history = *history;
    return entry;
}
} // namespace

bool TClosedTabs::IsWorthKeeping(const QString& address)
{
    return !address.trimmed().isEmpty() && address != QLatin1String("about:blank");
}

bool TClosedTabs::Record(const Entry& entry)
{
    if (!IsWorthKeeping(entry.address))
        return false;
    m_entries.prepend(entry);
    while (m_entries.size() > Limit)
        m_entries.removeLast();
    return true;
}

TClosedTabs::Entry TClosedTabs::Take(int i)
{
    if (i < 0 || i >= m_entries.size())
        return {};
    return m_entries.takeAt(i);
}

QByteArray TClosedTabs::ToJson() const
{
    QJsonArray tabs;
    for (const Entry& entry : m_entries)
        tabs.append(toObject(entry));
    QJsonObject root;
    root.insert(QStringLiteral("version"), FormatVersion);
    root.insert(QStringLiteral("tabs"), tabs);
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

TClosedTabs TClosedTabs::FromJson(const QByteArray& json)
{
    TClosedTabs list;
    const QJsonDocument document = QJsonDocument::fromJson(json);
    const QJsonObject root = document.object();
    // A later format is not guessed at.
    if (root.value(QStringLiteral("version")).toInt() != FormatVersion)
        return list;
    const QJsonArray tabs = root.value(QStringLiteral("tabs")).toArray();
    for (const QJsonValue& value : tabs)
    {
        if (list.Count() == Limit)
            break;
        const Entry entry = fromObject(value.toObject());
        if (!entry.address.isEmpty())
            list.m_entries.append(entry);
    }
    return list;
}

bool TClosedTabs::Save(const QString& path) const
{
    if (m_entries.isEmpty())
        return !QFile::exists(path) || QFile::remove(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(ToJson());
    return file.commit();
}

TClosedTabs TClosedTabs::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize)
        return {};
    // Read what is there: asking for MaxFileSize would reserve that much
    // memory for every load.
    return FromJson(file.readAll());
}

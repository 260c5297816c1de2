#include "core/settings/TQWOptions.h"

#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "core/store/RegistryTypeError.h"

#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QSet>

#include <algorithm>
#include <array>

namespace
{
struct OptionDefault
{
    enum Source
    {
        Fixed,
        AvailableWidth,
        AvailableHeight
    };
    constexpr OptionDefault(bool value) : number(value ? 1 : 0) {}
    constexpr OptionDefault(int value) : number(value) {}
    constexpr OptionDefault(const char* value) : text(value) {}
    constexpr OptionDefault(Source screenSide, int margin) : source(screenSide), number(margin) {}

    Source source = Fixed;
    int number = 0; // the margin for screen-based defaults
    const char* text = "";
};

// The design's window defaults: the screen's work area less a margin.
constexpr OptionDefault ScreenWidthLess40{OptionDefault::AvailableWidth, 40};
constexpr OptionDefault ScreenHeightLess40{OptionDefault::AvailableHeight, 40};

struct OptionEntry
{
    const char* name;
    TQWOptions::Kind kind;
    OptionDefault defaultValue;
};

#define QW_OPTION_SPEC(name, kind, defaultValue, access)                                           \
    OptionEntry{#name, TQWOptions::Kind::kind, OptionDefault(defaultValue)},
constexpr std::array OptionTable{QW_OPTION_TABLE(QW_OPTION_SPEC)};
#undef QW_OPTION_SPEC
static_assert(OptionTable.size() == std::size_t(TQWOptions::Option::Count));

const OptionEntry& entryOf(TQWOptions::Option option)
{
    return OptionTable[std::size_t(option)];
}

int defaultNumber(TQWOptions::Option option)
{
    const OptionDefault& d = entryOf(option).defaultValue;
    if (d.source == OptionDefault::Fixed)
        return d.number;
    // Without a GUI (the settings tool, tests) the design's smallest
    // supported screen stands in.
    QSize area(1024, 768);
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            area = screen->availableGeometry().size();
    }
    return (d.source == OptionDefault::AvailableWidth ? area.width() : area.height()) - d.number;
}

QString cleanPopupEntry(const QString& data)
{
    for (const QLatin1String marker : {QLatin1String("=http://"), QLatin1String("=https://")})
    {
        const qsizetype at = data.indexOf(marker);
        if (at >= 0)
            return data.mid(at + 1);
    }
    return data;
}

// Raised inside a list write to roll the whole list back.
struct ListWriteFailed
{
};
} // namespace

#define QW_OPTION_READ_Boolean readBoolean
#define QW_OPTION_READ_Integer readInteger
#define QW_OPTION_READ_String readString
#define QW_OPTION_WRITE_Boolean writeBoolean
#define QW_OPTION_WRITE_Integer writeInteger
#define QW_OPTION_WRITE_String writeString
#define QW_OPTION_DEFINE_GETTER(name, kind)                                                        \
    QW_OPTION_TYPE_##kind TQWOptions::name() const                                                 \
    {                                                                                              \
        return QW_OPTION_READ_##kind(Option::name);                                                \
    }
#define QW_OPTION_DEFINE_SETTER(name, kind)                                                        \
    void TQWOptions::Set##name(QW_OPTION_PARAM_##kind value)                                       \
    {                                                                                              \
        QW_OPTION_WRITE_##kind(Option::name, value);                                               \
    }
#define QW_OPTION_DEFINE_Plain(name, kind)                                                         \
    QW_OPTION_DEFINE_GETTER(name, kind) QW_OPTION_DEFINE_SETTER(name, kind)
#define QW_OPTION_DEFINE_GetterOnly(name, kind) QW_OPTION_DEFINE_GETTER(name, kind)
#define QW_OPTION_DEFINE_CustomSetter(name, kind) QW_OPTION_DEFINE_GETTER(name, kind)
#define QW_OPTION_DEFINE_Custom(name, kind)
#define QW_OPTION_DEFINE(name, kind, defaultValue, access) QW_OPTION_DEFINE_##access(name, kind)

QW_OPTION_TABLE(QW_OPTION_DEFINE)

namespace
{
// Values the store refused, per database and value name, held for the rest
// of the run so that what the user or the entry routine set still counts:
// a store that cannot be written must not drop the command-line address
// on its way to the window, nor undo a choice made in this run.
struct UnsavedValues
{
    QHash<QString, QString> values;
    QHash<QString, QString> reasons; // database -> why it refused
};

UnsavedValues& unsaved()
{
    static UnsavedValues held;
    return held;
}

QString unsavedName(const RegistryStore& store, const QString& name)
{
    return store.databasePath() + QLatin1Char('\n') + name.toLower();
}
} // namespace

TQWOptions::TQWOptions(RegistryStore* sharedStore) : store(sharedStore)
{
    if (!store)
    {
        ownStore = std::make_unique<RegistryStore>();
        store = ownStore.get();
    }
    store->createKey(RegistryKeys::BaseKey);
}

TQWOptions::~TQWOptions() = default;

QString TQWOptions::Name(Option option)
{
    return QString::fromLatin1(entryOf(option).name);
}

TQWOptions::Kind TQWOptions::KindOf(Option option)
{
    return entryOf(option).kind;
}

QString TQWOptions::DefaultText(Option option)
{
    if (entryOf(option).kind == Kind::String)
        return QString::fromUtf8(entryOf(option).defaultValue.text);
    return QString::number(defaultNumber(option));
}

int TQWOptions::AutoCompleteStyle() const
{
    const QString style = readString(Option::AutoCompleteStyle);
    if (style == QLatin1String("IE4"))
        return 1;
    if (style == QLatin1String("IE5"))
        return 2;
    return 0;
}

void TQWOptions::SetAutoCompleteStyle(int style)
{
    writeString(Option::AutoCompleteStyle, style == 1   ? QStringLiteral("IE4")
                                           : style == 2 ? QStringLiteral("IE5")
                                                        : QStringLiteral("none"));
}

void TQWOptions::SetNewAction(int action)
{
    writeInteger(Option::NewAction, std::clamp(action, 0, 2));
}

void TQWOptions::SetVostelBarWidth(int width)
{
    writeInteger(Option::VostelBarWidth, width < 0 ? defaultNumber(Option::VostelBarWidth) : width);
}

void TQWOptions::DeleteQWID()
{
    store->deleteValue(RegistryKeys::ValueKey, QStringLiteral("QWID"));
}

QString TQWOptions::ReadString(const QString& name, const QString& defaultValue) const
{
    return storedText(RegistryKeys::ValueKey, name).value_or(defaultValue);
}

void TQWOptions::WriteString(const QString& name, const QString& value)
{
    store->setString(RegistryKeys::ValueKey, name, value);
}

QStringList TQWOptions::ReadListSection(const QString& subKey) const
{
    const QString key = listKey(subKey);
    QStringList lines;
    store->snapshot(
        [&]
        {
            for (const QString& name : store->valueNames(key))
            {
                const std::optional<QString> data = storedText(key, name);
                if (data && !data->isEmpty())
                    lines << name + QLatin1Char('=') + *data;
            }
        });
    return lines;
}

void TQWOptions::WriteListSection(const QString& subKey, const QStringList& lines)
{
    const QString key = listKey(subKey);
    bool written = false;
    try
    {
        written = store->transaction(
            [&]
            {
                if (store->keyExists(key) && !store->deleteKey(key))
                    throw ListWriteFailed{};
                // Names compare without regard to case, so a later line of
                // the same name would only rewrite the first one's value.
                QSet<QString> seen;
                for (const QString& line : lines)
                {
                    const qsizetype equals = line.indexOf(QLatin1Char('='));
                    if (equals < 0)
                        continue;
                    const QString name = line.left(equals);
                    if (seen.contains(name.toCaseFolded()))
                        continue;
                    seen.insert(name.toCaseFolded());
                    if (!store->setString(key, name, line.mid(equals + 1)))
                        throw ListWriteFailed{};
                }
            });
    }
    catch (const ListWriteFailed&)
    {
    }
    if (!written)
        qWarning("The settings list \"%s\" could not be written; it was left as it was.",
                 qPrintable(subKey));
}

QStringList TQWOptions::ReadPopupVostel() const
{
    const QString key = listKey(RegistryKeys::PopupVostel);
    QStringList entries;
    QSet<QString> seen;
    store->snapshot(
        [&]
        {
            for (const QString& name : store->valueNames(key))
            {
                const std::optional<QString> data = storedText(key, name);
                if (!data)
                    continue;
                const QString entry = cleanPopupEntry(*data);
                if (entry.isEmpty() || seen.contains(entry.toCaseFolded()))
                    continue;
                seen.insert(entry.toCaseFolded());
                entries << entry;
            }
        });
    std::sort(entries.begin(), entries.end(),
              [](const QString& a, const QString& b)
              { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return entries;
}

void TQWOptions::WritePopupVostel(const QStringList& entries)
{
    QStringList lines;
    for (qsizetype i = 0; i < entries.size(); ++i)
        lines << QStringLiteral("url%1=%2").arg(i + 1).arg(entries[i]);
    WriteListSection(RegistryKeys::PopupVostel, lines);
}

QStringList TQWOptions::ReadBrowserHelperObjects() const
{
    return store->subKeyNames(listKey(RegistryKeys::BrowserHelperObjects));
}

std::optional<QString> TQWOptions::storedText(const QString& key, const QString& name) const
{
    if (key == RegistryKeys::ValueKey)
    {
        const auto held = unsaved().values.constFind(unsavedName(*store, name));
        if (held != unsaved().values.constEnd())
            return *held;
    }
    const std::optional<RegValue> value = store->value(key, name);
    if (!value)
        return std::nullopt;
    if (value->type != RegValue::String)
        throw RegistryTypeError(name);
    return value->text;
}

QString TQWOptions::listKey(const QString& subKey) const
{
    return RegistryKeys::ValueKey + QLatin1Char('\\') + subKey;
}

bool TQWOptions::readBoolean(Option option) const
{
    return readInteger(option) != 0;
}

int TQWOptions::readInteger(Option option) const
{
    const std::optional<QString> text = storedText(RegistryKeys::ValueKey, Name(option));
    bool ok = false;
    const int number = text ? text->toInt(&ok, 10) : 0;
    return ok ? number : defaultNumber(option);
}

QString TQWOptions::readString(Option option) const
{
    return storedText(RegistryKeys::ValueKey, Name(option))
        .value_or(QString::fromUtf8(entryOf(option).defaultValue.text));
}

void TQWOptions::writeBoolean(Option option, bool value)
{
    writeString(option, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TQWOptions::writeInteger(Option option, int value)
{
    writeString(option, QString::number(value));
}

void TQWOptions::writeString(Option option, const QString& value)
{
    const QString name = unsavedName(*store, Name(option));
    if (store->setString(RegistryKeys::ValueKey, Name(option), value))
    {
        unsaved().values.remove(name);
        return;
    }
    unsaved().values.insert(name, value);
    unsaved().reasons.insert(store->databasePath(), store->lastError());
}

QString TQWOptions::UnsavedReason() const
{
    const auto reason = unsaved().reasons.constFind(store->databasePath());
    if (reason == unsaved().reasons.constEnd())
        return {};
    return reason->isEmpty() ? store->databasePath() : *reason;
}

#include "chrome/BandLayoutStore.h"

#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"

#include <algorithm>

namespace
{
const QString NameValue = QStringLiteral("Name");
const QString WidthValue = QStringLiteral("Width");
const QString BreakValue = QStringLiteral("Break");

// Thrown inside the store's transaction so that a failed write rolls the
// whole layout back.
struct SaveFailed
{
};

std::optional<quint32> ReadDWord(const RegistryStore& store, const QString& key,
                                 const QString& name)
{
    const std::optional<RegValue> value = store.value(key, name);
    if (!value || value->type != RegValue::DWord)
        return std::nullopt;
    return value->dword;
}
} // namespace

QString BandLayoutStore::BandsKey()
{
    return RegistryKeys::ValueKey + QLatin1Char('\\') + RegistryKeys::Bands;
}

QString BandLayoutStore::BandKey(int position)
{
    return BandsKey() + QStringLiteral("\\Band") + QString::number(position);
}

bool BandLayoutStore::Save(RegistryStore& store, const QList<BandState>& bands)
{
    const QString bandsKey = BandsKey();
    try
    {
        return store.transaction(
            [&]
            {
                if (store.keyExists(bandsKey) && !store.deleteKey(bandsKey))
                    throw SaveFailed{};
                for (qsizetype i = 0; i < bands.size(); ++i)
                {
                    const BandState& band = bands.at(i);
                    if (band.name.isEmpty())
                        continue;
                    const QString key = BandKey(int(i));
                    if (!store.setString(key, NameValue, band.name) ||
                        !store.setDWord(key, WidthValue, quint32(std::max(0, band.width))) ||
                        !store.setDWord(key, BreakValue, band.breakBefore ? 1 : 0))
                        throw SaveFailed{};
                }
            });
    }
    catch (const SaveFailed&)
    {
        return false;
    }
}

QList<std::optional<StoredBand>> BandLayoutStore::Load(const RegistryStore& store,
                                                       const QStringList& names)
{
    QList<std::optional<StoredBand>> loaded;
    for (qsizetype i = 0; i < names.size(); ++i)
    {
        const QString key = BandKey(int(i));
        const std::optional<RegValue> name = store.value(key, NameValue);
        if (!name || name->type != RegValue::String || name->text.isEmpty() ||
            !names.contains(name->text))
        {
            loaded.append(std::nullopt);
            continue;
        }
        StoredBand band;
        band.name = name->text;
        // A band stored without its width or its break keeps the one it
        // has: the layout it belongs to cannot be known any better.
        if (const auto width = ReadDWord(store, key, WidthValue))
            band.width = *width > quint32(MaxWidth) ? 0 : int(*width);
        if (const auto breakBefore = ReadDWord(store, key, BreakValue))
            band.breakBefore = *breakBefore != 0;
        loaded.append(band);
    }
    return loaded;
}

QList<BandState> BandLayoutStore::Apply(QList<BandState> current,
                                        const QList<std::optional<StoredBand>>& loaded)
{
    for (qsizetype position = 0; position < loaded.size() && position < current.size(); ++position)
    {
        const std::optional<StoredBand>& stored = loaded.at(position);
        if (!stored || stored->name.isEmpty())
            continue;
        const auto found = std::find_if(current.begin(), current.end(),
                                        [&](const BandState& b) { return b.name == stored->name; });
        if (found == current.end())
            continue;
        current.move(found - current.begin(), position);
        BandState& band = current[position];
        if (stored->width)
            band.width = std::max(*stored->width, band.minWidth);
        if (stored->breakBefore)
            band.breakBefore = *stored->breakBefore;
    }
    return current;
}

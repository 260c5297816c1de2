#include "navigation/TypedUrlList.h"

#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"

namespace
{
struct SaveFailed
{
};
} // namespace

void TypedUrlList::SetItems(const QStringList& items)
{
    m_items = items.mid(0, MaxCount);
}

void TypedUrlList::Record(const QString& address)
{
    qsizetype existing = -1;
    for (qsizetype i = 0; i < m_items.size(); ++i)
    {
        if (m_items.at(i).compare(address, Qt::CaseInsensitive) == 0)
        {
            existing = i;
            break;
        }
    }
    if (existing >= 0)
        m_items.move(existing, 0);
    else
        m_items.prepend(address);
    while (m_items.size() > MaxCount)
        m_items.removeLast();
}

void TypedUrlList::Load(const RegistryStore& store, int maximum)
{
    m_items.clear();
    if (!store.isOpen())
        return;
    const int limit = qMin(maximum, MaxCount);
    store.snapshot(
        [&]
        {
            for (int position = 1; position <= limit; ++position)
            {
                const std::optional<RegValue> value =
                    store.value(RegistryKeys::TypedUrls, ValueName(position));
                if (!value || value->type != RegValue::String || value->text.isEmpty())
                    break;
                m_items << value->text;
            }
        });
}

bool TypedUrlList::Save(RegistryStore& store) const
{
    const QString& key = RegistryKeys::TypedUrls;
    bool saved = false;
    try
    {
        saved = store.transaction(
            [&]
            {
                if (store.keyExists(key) && !store.deleteKey(key))
                    throw SaveFailed{};
                if (!store.createKey(key))
                    throw SaveFailed{};
                for (qsizetype i = 0; i < m_items.size(); ++i)
                    if (!store.setString(key, ValueName(int(i) + 1), m_items.at(i)))
                        throw SaveFailed{};
            });
    }
    catch (const SaveFailed&)
    {
        saved = false;
    }
    return saved;
}

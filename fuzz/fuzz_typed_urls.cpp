// The typed-address list: read from the store, where any value of any type
// may stand (another copy, "quillwave-reg import", a hand edit).
#include "FuzzSupport.h"

#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "navigation/TypedUrlList.h"

#include <QSet>

namespace
{
// Each input line is one value of the typed-address key: its first byte
// picks the name ("url1" to "url32" or the default value) and the type,
// the rest is the text (or the number's bytes).
void storeValues(RegistryStore& store, const QByteArray& data)
{
    for (const QByteArray& line : data.split('\n'))
    {
        if (line.isEmpty())
            continue;
        const auto pick = quint8(line.at(0));
        const QString name =
            (pick & 0x3f) == 0x3f ? QString() : TypedUrlList::ValueName((pick & 0x1f) + 1);
        const QString text = QString::fromUtf8(line.mid(1));
        if (pick & 0x40)
            store.setDWord(RegistryKeys::TypedUrls, name, quint32(line.size()) * 0x01000193u);
        else
            store.setString(RegistryKeys::TypedUrls, name, text);
    }
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
    RegistryStore store(QStringLiteral(":memory:"));
    FUZZ_CHECK(store.isOpen());
    storeValues(store, data);

    TypedUrlList list;
    list.Load(store);
    FUZZ_CHECK(list.Count() <= TypedUrlList::MaxCount);
    for (int i = 0; i < list.Count(); ++i)
    {
        // The list is the values from "url1" on, without a gap.
        const std::optional<RegValue> value =
            store.value(RegistryKeys::TypedUrls, TypedUrlList::ValueName(i + 1));
        FUZZ_CHECK(value && value->type == RegValue::String && value->text == list.Items().at(i));
        FUZZ_CHECK(!list.Items().at(i).isEmpty());
    }

    // Saved and loaded again, the list is the same, and nothing else stays.
    const QStringList before = list.Items();
    FUZZ_CHECK(list.Save(store));
    FUZZ_CHECK(store.valueNames(RegistryKeys::TypedUrls).size() == before.size());
    list.Load(store);
    FUZZ_CHECK(list.Items() == before);

    // A recorded address comes first and appears once; the others keep their order.
    const QString typed = QString::fromUtf8(data.left(40)).trimmed();
    if (typed.isEmpty())
        return 0;
    list.Record(typed);
    FUZZ_CHECK(list.Count() <= TypedUrlList::MaxCount);
    FUZZ_CHECK(list.Items().first().compare(typed, Qt::CaseInsensitive) == 0);
    QStringList others = before;
    const qsizetype found = [&]
    {
        for (qsizetype i = 0; i < others.size(); ++i)
            if (others.at(i).compare(typed, Qt::CaseInsensitive) == 0)
                return i;
        return qsizetype(-1);
    }();
    if (found >= 0)
        others.removeAt(found);
    FUZZ_CHECK(list.Items().mid(1) == others.mid(0, TypedUrlList::MaxCount - 1));
    FUZZ_CHECK(list.Save(store));
    TypedUrlList reloaded;
    reloaded.Load(store);
    FUZZ_CHECK(reloaded.Items() == list.Items());
    return 0;
}

// The closed-tab list: read at start-up from a file that a crash, a full
// disk or a hand edit may have left in any state.
#include "FuzzSupport.h"

#include "core/tabs/TClosedTabs.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QByteArray data = fuzzInput(bytes, size);
    const TClosedTabs list = TClosedTabs::FromJson(data);
    FUZZ_CHECK(list.Count() <= TClosedTabs::Limit);
    for (const TClosedTabs::Entry& entry : list.Entries())
    {
        // Whatever is offered for reopening can be reopened.
        FUZZ_CHECK(TClosedTabs::IsWorthKeeping(entry.address));
        FUZZ_CHECK(entry.index >= 0);
    }

    // What was read is written and read again unchanged, through the file
    // as the program does it.
    const QString path = FuzzSupport::writeFile(QStringLiteral("closedtabs.json"), data);
    FUZZ_CHECK(TClosedTabs::Load(path).Entries() == list.Entries());
    FUZZ_CHECK(list.Save(path));
    FUZZ_CHECK(TClosedTabs::Load(path).Entries() == list.Entries());
    FUZZ_CHECK(TClosedTabs::FromJson(list.ToJson()).Entries() == list.Entries());

    // A new entry goes first and the list stays within its limit.
    TClosedTabs grown = list;
    if (grown.Record({QStringLiteral("http://127.0.0.1/"), {}, {}, false, 0, data.left(64)}))
    {
        FUZZ_CHECK(grown.Count() == qMin(list.Count() + 1, TClosedTabs::Limit));
        FUZZ_CHECK(TClosedTabs::FromJson(grown.ToJson()).Entries() == grown.Entries());
    }
    return 0;
}

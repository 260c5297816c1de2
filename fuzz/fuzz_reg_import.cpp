// The registry text files "quillwave-reg import" applies to the store:
// written by hand or by other tools.
#include "FuzzSupport.h"

#include "core/store/RegistryStore.h"
#include "core/store/RegistryTextFormat.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const RegistryTextFormat::ParseResult parsed =
        RegistryTextFormat::parse(fuzzInput(bytes, size));
    if (!parsed.ok())
    {
        // A refused file is refused whole.
        FUZZ_CHECK(parsed.operations.isEmpty());
        return 0;
    }
    // A store of its own for every input, in memory: nothing carries over.
    RegistryStore store(QStringLiteral(":memory:"));
    FUZZ_CHECK(store.isOpen());
    const QString empty = RegistryTextFormat::exportAll(store);
    QString error;
    if (!RegistryTextFormat::apply(store, parsed.operations, &error))
    {
        // All or nothing.
        FUZZ_CHECK(!error.isEmpty());
        FUZZ_CHECK(RegistryTextFormat::exportAll(store) == empty);
        return 0;
    }
    // What the import stored exports to a file that imports to the same store.
    const QString exported = RegistryTextFormat::exportAll(store);
    const RegistryTextFormat::ParseResult again = RegistryTextFormat::parse(exported.toUtf8());
    FUZZ_CHECK(again.ok());
    RegistryStore copy(QStringLiteral(":memory:"));
    FUZZ_CHECK(RegistryTextFormat::apply(copy, again.operations, &error));
    FUZZ_CHECK(RegistryTextFormat::exportAll(copy) == exported);
    return 0;
}

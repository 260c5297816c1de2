// Search address templates: typed by the user or read from the store.
#include "FuzzSupport.h"

#include "navigation/SearchTemplate.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    // The template, then after the first NUL the search words.
    const QByteArray data = fuzzInput(bytes, size);
    const qsizetype split = data.indexOf('\0');
    const QString searchTemplate = QString::fromUtf8(split < 0 ? data : data.left(split));
    const QString words = split < 0 ? QString() : QString::fromUtf8(data.mid(split + 1));

    const SearchTemplate::Result result = SearchTemplate::Expand(searchTemplate, words);
    FUZZ_CHECK(SearchTemplate::Check(searchTemplate) == result.error);
    if (!result.ok())
    {
        FUZZ_CHECK(result.text.isEmpty());
        return 0;
    }
    // The words stand once, unchanged, where the template without them has
    // its place for them: nothing in them was taken for a placeholder.
    char16_t unit = 0xE000;
    while (searchTemplate.contains(QChar(unit)))
        ++unit;
    const QString marker(QChar{unit});
    const QString bare = SearchTemplate::Expand(searchTemplate, QString()).text;
    const qsizetype at = SearchTemplate::Expand(searchTemplate, marker).text.indexOf(marker);
    FUZZ_CHECK(at >= 0 && at <= bare.size());
    FUZZ_CHECK(result.text == bare.left(at) + words + bare.mid(at));
    FUZZ_CHECK(bare.size() < searchTemplate.size());
    return 0;
}

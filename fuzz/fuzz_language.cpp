// Language files: TLanguage reads them from the language folder, where a
// user may drop any file.
#include "FuzzSupport.h"

#include "chrome/TLanguage.h"

#include <QSet>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QByteArray data = fuzzInput(bytes, size);
    TLanguage language;
    const bool loaded = language.Load(FuzzSupport::writeFile(QStringLiteral("qwfuzz.ini"), data));
    FUZZ_CHECK(loaded == (data.size() <= TLanguageFile::MaximumFileSize));
    FUZZ_CHECK(language.FileName() == QStringLiteral("qwfuzz.ini"));

    // Reading the file and reading its bytes are one reader.
    TLanguageFile fromData;
    fromData.loadFromData(data);
    const TLanguageFile& file = language.File();
    FUZZ_CHECK(!loaded || fromData.sections() == file.sections());

    const QStringList sections = file.sections();
    FUZZ_CHECK(sections.size() <= TLanguageFile::MaximumSections);
    QSet<QString> seenSections;
    int entries = 0;
    for (const QString& section : sections)
    {
        // The first occurrence of a name wins: no name twice.
        FUZZ_CHECK(!seenSections.contains(section.toLower()));
        seenSections.insert(section.toLower());
        QSet<QString> seenKeys;
        for (const QString& key : file.keys(section))
        {
            FUZZ_CHECK(!seenKeys.contains(key.toLower()));
            seenKeys.insert(key.toLower());
            ++entries;
            FUZZ_CHECK(file.contains(section, key));
            const QString text = language.GetLangText(section, key);
            FUZZ_CHECK(!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')));
            // A placeholder gives its entry's text, or itself when that is empty.
            const QString translated = language.TranslateText(QStringLiteral("__") + key, section);
            FUZZ_CHECK(translated ==
                       (key.isEmpty() || text.isEmpty() ? QStringLiteral("__") + key : text));
            // The argument goes in once and is never scanned: its own "%s" stays.
            const QString filled = TLanguage::FormatText(text, QStringLiteral("%s%1%%"));
            FUZZ_CHECK(filled.size() >= text.size() - text.count(QLatin1Char('%')));
            FUZZ_CHECK(TLanguage::ShortHint(text).size() + TLanguage::LongHint(text).size() >=
                       text.size() - 1);
        }
    }
    FUZZ_CHECK(entries <= TLanguageFile::MaximumEntries);
    return 0;
}

// Submitted text: address or quick search, keyword lookup and the safe
// filling of search templates.

#include "core/engine/TQuillwaveSchemeHandler.h"
#include "navigation/QuickSearch.h"
#include "navigation/SearchTemplate.h"

#include <QTest>
#include <QUrl>

using Error = SearchTemplate::Error;

class tst_QuickSearch : public QObject
{
    Q_OBJECT

private slots:
    // How words are placed is the fuzz target's; here, which template means what.
    void expand()
    {
        // template, filled with "x", error
        const QList<std::tuple<QString, QString, Error>> rows = {
            // clang-format off
            {"http://s.test/?q=%s&p=50%%", "http://s.test/?q=x&p=50%", Error::None},
            {"http://s.test/%%s?q=%s", "http://s.test/%s?q=x", Error::None}, // a percent and an s
            {"http://s.test/", "", Error::NoPlaceholder},
            {"http://s.test/?a=%s&b=%s", "", Error::SecondPlaceholder},
            {"http://s.test/?q=%s&n=%d", "", Error::StrayPercent},
            // clang-format on
        };
        for (const auto& [searchTemplate, expected, error] : rows)
        {
            const SearchTemplate::Result result = SearchTemplate::Expand(searchTemplate, "x");
            QCOMPARE(result.error, error);
            QCOMPARE(result.text, expected);
        }
    }

    void resolve()
    {
        const QStringList keywords = {"g=http://g.test/search?q=%s", "wiki=http://w.test/wiki/%s",
                                      "Wiki=http://second.test/%s", // the first match wins
                                      "two=http://t.test/?a=%s&b=%s", "=http://empty.test/%s"};
        using O = QuickSearch::Outcome;
        // text, kind, address
        const QList<std::tuple<QString, O::Kind, QString>> rows = {
            // clang-format off
            {"Example.COM", O::Address, "Example.COM"},
            {"WIKI Main Page", O::Search, "http://w.test/wiki/Main%20Page"},
            {"g 100% %s", O::Search, "http://g.test/search?q=100%25%20%25s"},
            {"g Grüße", O::Search, "http://g.test/search?q=Gr%C3%BC%C3%9Fe"},
            {"what is this", O::Search, "quillwave:search?f=qs&kw=is%20this"}, // unknown first word dropped
            // A leading blank searches everything after it; the empty keyword catches nothing.
            {" a&b=c#d", O::Search, "quillwave:search?f=qs&kw=a%26b%3Dc%23d"},
            {"two x", O::BadTemplate, ""},
            // clang-format on
        };
        for (const auto& [text, kind, address] : rows)
        {
            const QuickSearch::Outcome outcome = QuickSearch::Resolve(keywords, text);
            QCOMPARE(outcome.kind, kind);
            QCOMPARE(outcome.address, address);
            QCOMPARE(outcome.error,
                     kind == O::BadTemplate ? Error::SecondPlaceholder : Error::None);
        }
        QCOMPARE(QuickSearch::Lookup(keywords, QString()), QString());
    }

    void defaultAddressGivesTheWordsBackToTheRedirect()
    {
        // What the address box sends, the program's own redirect must read
        // back exactly.
        for (const QString& words : {QStringLiteral("100% %s %%"), QStringLiteral("Grüße 日本")})
            QCOMPARE(TQuillwaveSchemeHandler::SearchWords(
                         QUrl(QuickSearch::DefaultSearchAddress(words))),
                     words);
    }
};

QTEST_APPLESS_MAIN(tst_QuickSearch)
#include "tst_QuickSearch.moc"

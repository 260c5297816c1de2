// Submitted text: address or quick search, keyword lookup and the safe
// filling of search templates.

#include "core/engine/TQuillwaveSchemeHandler.h"
#include "navigation/QuickSearch.h"
#include "navigation/SearchTemplate.h"

#include <QTest>
#include <QUrl>

using Error = SearchTemplate::Error;
Q_DECLARE_METATYPE(SearchTemplate::Error)

namespace
{
const QStringList Keywords = {
    QStringLiteral("g=http://g.test/search?q=%s"),
    QStringLiteral("wiki=http://w.test/wiki/%s"),
    QStringLiteral("Wiki=http://second.test/%s"), // the first match wins
    QStringLiteral("pct=http://p.test/?q=%s&rate=100%%"),
    QStringLiteral("two=http://t.test/?a=%s&b=%s"),
    QStringLiteral("none=http://n.test/"),
    QStringLiteral("stray=http://s.test/?q=%s&x=%d"),
};
} // namespace

class tst_QuickSearch : public QObject
{
    Q_OBJECT

private slots:
    void expand_data()
    {
        QTest::addColumn<QString>("searchTemplate");
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<Error>("error");
        // clang-format off
        QTest::newRow("double percent") << "http://s.test/?q=%s&p=50%%" << "x" << "http://s.test/?q=x&p=50%" << Error::None;
        QTest::newRow("words are not read again") << "http://s.test/?q=%s" << "%s %d %%" << "http://s.test/?q=%s %d %%" << Error::None;
        QTest::newRow("percent-percent-s is a percent and an s") << "http://s.test/%%s?q=%s" << "w" << "http://s.test/%s?q=w" << Error::None;
        QTest::newRow("no placeholder") << "http://s.test/" << "w" << "" << Error::NoPlaceholder;
        QTest::newRow("second placeholder") << "http://s.test/?a=%s&b=%s" << "w" << "" << Error::SecondPlaceholder;
        QTest::newRow("percent d") << "http://s.test/?q=%s&n=%d" << "w" << "" << Error::StrayPercent;
        // clang-format on
    }

    void expand()
    {
        QFETCH(QString, searchTemplate);
        QFETCH(QString, words);
        const SearchTemplate::Result result = SearchTemplate::Expand(searchTemplate, words);
        QTEST(result.error, "error");
        QTEST(result.text, "expected");
        QTEST(SearchTemplate::Check(searchTemplate), "error");
    }

    void resolve_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("address");
        QTest::addColumn<Error>("error");
        const int address = QuickSearch::Outcome::Address;
        const int search = QuickSearch::Outcome::Search;
        const int bad = QuickSearch::Outcome::BadTemplate;
        // clang-format off
        QTest::newRow("address as typed") << "Example.COM" << address << "Example.COM" << Error::None;
        QTest::newRow("keyword in other case, first line wins") << "WIKI Main Page" << search << "http://w.test/wiki/Main%20Page" << Error::None;
        QTest::newRow("literal percent in template") << "pct x" << search << "http://p.test/?q=x&rate=100%" << Error::None;
        QTest::newRow("percent signs") << "g 100% %s" << search << "http://g.test/search?q=100%25%20%25s" << Error::None;
        QTest::newRow("non-ASCII as UTF-8") << QString::fromUtf8("g Grüße") << search << "http://g.test/search?q=Gr%C3%BC%C3%9Fe" << Error::None;
        QTest::newRow("unknown first word is dropped") << "what is this" << search << "quillwave:search?f=qs&kw=is%20this" << Error::None;
        QTest::newRow("leading blank searches everything after it") << " a&b=c#d" << search << "quillwave:search?f=qs&kw=a%26b%3Dc%23d" << Error::None;
        QTest::newRow("second placeholder refused") << "two x" << bad << "" << Error::SecondPlaceholder;
        // clang-format on
    }

    void resolve()
    {
        QFETCH(QString, text);
        const QuickSearch::Outcome outcome = QuickSearch::Resolve(Keywords, text);
        QTEST(int(outcome.kind), "kind");
        QTEST(outcome.address, "address");
        QTEST(outcome.error, "error");
    }

    void emptyKeywordMatchesNoEntry()
    {
        // An entry with an empty name must not catch texts that begin with a blank.
        const QStringList lines = {QStringLiteral("=http://empty.test/%s")};
        QCOMPARE(QuickSearch::Lookup(lines, QString()), QString());
        QCOMPARE(QuickSearch::Resolve(lines, QStringLiteral(" x")).address,
                 QStringLiteral("quillwave:search?f=qs&kw=x"));
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

// The rules of the program's own pages, without the engine.

#include "chrome/TLanguage.h"
#include "core/engine/EngineTerms.h"
#include "core/engine/TQuillwaveSchemeHandler.h"

#include <QTest>

using H = TQuillwaveSchemeHandler;

class tst_TQuillwaveSchemeHandler : public QObject
{
    Q_OBJECT

    TLanguage german;
    const H::TextLookup lookup = [this](const QString& section, const QString& key)
    { return german.GetLangText(section, key); };

private slots:
    void initTestCase()
    {
        QVERIFY(german.Load(QStringLiteral(QW_SOURCE_DIR "/data/Languages/qwdeu.ini")));
    }

    void expandSearchTemplate()
    {
        const QList<std::tuple<const char*, const char*, const char*>> rows = {
            // clang-format off
            {"https://s.test/find?q=%s&lang=en", "a&b=c#d?e", "https://s.test/find?q=a%26b%3Dc%23d%3Fe&lang=en"},
            {"http://s.test/?q=%s", "%s%d", "http://s.test/?q=%25s%25d"}, // words cannot add a placeholder
            // Refused:
            {"http://s.test/?q=%s&r=%s", "x", ""},
            {"http://s.test/?n=%d&q=%s", "x", ""},
            {"http://s.test/a%20b?q=%s", "x", ""},
            {"file:///tmp/%s", "x", ""},
            {"%s", "http://evil.test/", ""},
            // clang-format on
        };
        for (const auto& [searchTemplate, words, expected] : rows)
        {
            const std::optional<QUrl> url = H::ExpandSearchTemplate(searchTemplate, words);
            QCOMPARE(url ? url->toString(QUrl::FullyEncoded) : "refused",
                     QString(*expected ? expected : "refused"));
        }
        QCOMPARE(H::SearchWords(QUrl("quillwave:search?f=qs&kw=a+b%26c")), QString("a b&c"));
        QCOMPARE(H::SearchWords(QUrl("quillwave:search?f=qs&xkw=a")), QString());
        // A bad first template is still used: its error shows, not another
        // engine's results.
        QCOMPARE(H::SearchTemplate({"Bad=http://b.test/?q=%s&r=%s", "G=x"}),
                 QString("http://b.test/?q=%s&r=%s"));
    }

    // Only the program itself may open its pages, never a web page or a file.
    void mayServe()
    {
        QVERIFY(H::MayServe(QUrl()));
        QVERIFY(!H::MayServe(QUrl("http://127.0.0.1:8080")));
        QVERIFY(!H::MayServe(QUrl("file://")));
    }

    void echoedTextIsEscaped()
    {
        const QString markup = QStringLiteral("<img src=x onerror=alert(1)>\"&");
        for (const QByteArray& page :
             {H::NotFoundPageHtml("quillwave:" + markup), H::SearchErrorPageHtml(markup, markup)})
        {
            QVERIFY(!page.contains("<img"));
            QVERIFY(page.contains("&lt;img src=x onerror=alert(1)&gt;&quot;&amp;"));
        }
    }

    void pagesNeedNothingFromOutside()
    {
        for (const QByteArray& page :
             {H::StartPageHtml(), H::BlankPageHtml(), H::SearchBarPageHtml()})
        {
            for (const char* outside : {"http:", "https:", " src=", "@import"})
                QVERIFY2(!page.contains(outside), outside);
        }
    }

    // Titles of the program's own pages before they load; which addresses
    // enter the history and may be reloaded; a blank typed again would end
    // the address.
    void ownPagesAndSchemes()
    {
        const QList<std::pair<const char*, const char*>> rows = {
            {"quillwave:start?f=home", "Quillwave"}, {"quillwave:blank", "about:blank"},
            {"quillwave:search?q=start", ""},        {"http://start/", ""},
            {"QUILLWAVE:start", "Quillwave"},
        };
        for (const auto& [url, title] : rows)
            QCOMPARE(H::PageTitle(QUrl(url)), QString::fromLatin1(title));
        for (const auto& [url, recordable, reloadable] :
             {std::tuple{"http://example.test/", true, true},
              {"quillwave:start", false, true},
              {"about:blank", false, false}})
        {
            QCOMPARE(EngineTerms::isRecordable(QUrl(url)), recordable);
            QCOMPARE(EngineTerms::isReloadable(QUrl(url)), reloadable);
        }
        QCOMPARE(EngineTerms::addressText(QUrl("http://example.test/a b")),
                 QString("http://example.test/a%20b"));
    }

    void offlinePageSaysHowToGoBackOnline()
    {
        const QString page = H::OfflinePageHtml("http://site.test/a?b=1&c=<i>", lookup);
        QVERIFY2(page.contains("<h2>Quillwave arbeitet offline</h2>"), qPrintable(page));
        QVERIFY(page.contains("<b>Datei &gt; Offlinebetrieb</b>"));
        QVERIFY(page.contains("<code>http://site.test/a?b=1&amp;c=&lt;i&gt;</code>"));
        QVERIFY(!page.contains("UNDEFINED"));
        // The page is the program's own: it names no engine and no error code.
        for (const char* word : {"Chromium", "ERR_", "WebEngine", "blocked"})
            QVERIFY2(!page.contains(QLatin1String(word), Qt::CaseInsensitive), word);
    }

    void crashPageKeepsThePageTitleInTheUsersLanguage()
    {
        const QString page = H::CrashPageHtml("http://site.test/x", "Tom & Jerry", lookup);
        QVERIFY(page.contains("<title>Tom &amp; Jerry</title>"));
        QVERIFY(page.contains("href=\"http://site.test/x\""));
        QVERIFY2(page.contains(">Neu laden</a>") && !page.contains("UNDEFINED"), qPrintable(page));
        // A page without a title is still known by its address.
        QVERIFY(H::CrashPageHtml("http://site.test/x", {}, lookup)
                    .contains("<title>http://site.test/x</title>"));
    }
};

QTEST_APPLESS_MAIN(tst_TQuillwaveSchemeHandler)

#include "tst_TQuillwaveSchemeHandler.moc"

// The names and addresses the shell commands make from a page's title and
// address.

#include "navigation/PageShellTexts.h"

#include <QTest>
#include <QUrlQuery>

class tst_PageShellTexts : public QObject
{
    Q_OBJECT

private slots:
    void fileNames()
    {
        // title, shortcut file, mailed page
        const QList<std::tuple<QString, QString, QString>> rows = {
            // clang-format off
            {"Tom & Jerry: Cartoons!", "Tom  Jerry Cartoons.url", "Tom   Jerry  Cartoons .htm"},
            {"http://x.test/docs/a.html", "a.html.url", "http   x.test docs a.html.htm"},
            {"file://c/dir\\page", "page.url", "file   c dir page.htm"}, // a backslash last
            {"Über Straße 2", "ber Strae 2.url", " ber Stra e 2.htm"},
            {"★☆", "page.url", "page.htm"}, // no allowed character
            {"...", "page.url", "page.htm"},
            {"http://x.test/", "page.url", "http   x.test .htm"},
            // clang-format on
        };
        for (const auto& [title, shortcut, mailed] : rows)
        {
            QCOMPARE(PageShellTexts::ShortcutFileName(title), shortcut);
            QCOMPARE(PageShellTexts::MailFileName(title), mailed);
        }
    }

    void mailto()
    {
        // title, address, subject
        const QList<std::tuple<QString, QString, QString>> rows = {
            // clang-format off
            {"Tom & Jerry", "http://s.test/?q=a&b=c#top", "Tom & Jerry (http://s.test/?q=a&b=c#top)"},
            {"1+1=2 100%", "http://p.test/%20x", "1+1=2 100% (http://p.test/%20x)"},
            {"", "about:blank", " (about:blank)"},
            // clang-format on
        };
        for (const auto& [title, address, subject] : rows)
        {
            const QUrl url = PageShellTexts::MailtoForLink(title, address);
            QCOMPARE(url.toString(QUrl::RemoveQuery), QStringLiteral("mailto:"));
            const QUrlQuery query(url);
            QCOMPARE(query.queryItemValue("subject", QUrl::FullyDecoded), subject);
            QCOMPARE(query.queryItemValue("body", QUrl::FullyDecoded), address);
            QCOMPARE(query.queryItems().size(), 2);
        }
    }

    void baseLine()
    {
        for (const auto& [address, base] : std::initializer_list<std::pair<QString, QString>>{
                 {"http://x.test/a/b.html", "http://x.test/a/"},
                 {"http://x.test/a/", "http://x.test/a/"},
                 {"https://example.org", "https://example.org/"},
                 {"http://x.test/\"q/p", "http://x.test/%22q/"}})
            QCOMPARE(PageShellTexts::PageForMail("<html>\n</html>", address),
                     "<BASE HREF=\"" + base + "\">\n<html>\n</html>");
    }
};

QTEST_APPLESS_MAIN(tst_PageShellTexts)
#include "tst_PageShellTexts.moc"

// The names and addresses the shell commands make from a page's title and
// address.

#include "navigation/PageShellTexts.h"

#include <QTest>
#include <QUrlQuery>

class tst_PageShellTexts : public QObject
{
    Q_OBJECT

private slots:
    void fileNames_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<QString>("mailed");
        // clang-format off
        QTest::newRow("plain") << "Tom & Jerry: Cartoons!" << "Tom  Jerry Cartoons.url" << "Tom   Jerry  Cartoons .htm";
        QTest::newRow("address title") << "http://x.test/docs/a.html" << "a.html.url" << "http   x.test docs a.html.htm";
        QTest::newRow("backslash last") << "file://c/dir\\page" << "page.url" << "file   c dir page.htm";
        QTest::newRow("umlauts dropped") << "Über Straße 2" << "ber Strae 2.url" << " ber Stra e 2.htm";
        QTest::newRow("no allowed character") << "★☆" << "page.url" << "page.htm";
        QTest::newRow("dots only") << "..." << "page.url" << "page.htm";
        QTest::newRow("address ending in slash") << "http://x.test/" << "page.url" << "http   x.test .htm";
        // clang-format on
    }
    void fileNames()
    {
        QFETCH(QString, title);
        QTEST(PageShellTexts::ShortcutFileName(title), "shortcut");
        QTEST(PageShellTexts::MailFileName(title), "mailed");
    }

    void mailto_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("subject");
        // clang-format off
        QTest::newRow("ampersand") << "Tom & Jerry" << "http://t.test/" << "Tom & Jerry (http://t.test/)";
        QTest::newRow("query in address") << "Find" << "http://s.test/?q=a&b=c#top" << "Find (http://s.test/?q=a&b=c#top)";
        QTest::newRow("plus and percent") << "1+1=2 100%" << "http://p.test/%20x" << "1+1=2 100% (http://p.test/%20x)";
        QTest::newRow("empty title") << "" << "about:blank" << " (about:blank)";
        // clang-format on
    }
    void mailto()
    {
        QFETCH(QString, title);
        QFETCH(QString, address);
        const QUrl url = PageShellTexts::MailtoForLink(title, address);
        QCOMPARE(url.toString(QUrl::RemoveQuery), QStringLiteral("mailto:"));
        const QUrlQuery query(url);
        QTEST(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded), "subject");
        QCOMPARE(query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded), address);
        QCOMPARE(query.queryItems().size(), 2);
    }

    void baseLine_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("firstLine");
        // clang-format off
        QTest::newRow("page in folder") << "http://x.test/a/b.html" << "<BASE HREF=\"http://x.test/a/\">";
        QTest::newRow("ends in slash") << "http://x.test/a/" << "<BASE HREF=\"http://x.test/a/\">";
        QTest::newRow("host only") << "http://example.org" << "<BASE HREF=\"http://example.org/\">";
        QTest::newRow("https host only") << "https://example.org" << "<BASE HREF=\"https://example.org/\">";
        QTest::newRow("quote in address") << "http://x.test/\"q/p" << "<BASE HREF=\"http://x.test/%22q/\">";
        // clang-format on
    }
    void baseLine()
    {
        QFETCH(QString, address);
        QFETCH(QString, firstLine);
        QCOMPARE(PageShellTexts::PageForMail(QStringLiteral("<html>\n</html>"), address),
                 firstLine + QStringLiteral("\n<html>\n</html>"));
    }
};

QTEST_APPLESS_MAIN(tst_PageShellTexts)
#include "tst_PageShellTexts.moc"

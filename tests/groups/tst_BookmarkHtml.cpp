#include "groups/BookmarkHtml.h"
#include "groups/InternetShortcut.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
// Every folder ("path/") and shortcut ("path.url=address") below root.
QStringList tree(const QString& root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
    {
        const QFileInfo info(it.next());
        const QString relative = QDir(root).relativeFilePath(info.filePath());
        entries << (info.isDir() ? relative + '/'
                                 : relative + '=' + InternetShortcut::readUrl(info.filePath()));
    }
    entries.sort();
    return entries;
}

QByteArray page(const QByteArray& body)
{
    return "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<!-- comment <DL> -->\n<TITLE>Bookmarks</TITLE>\n"
           "<H1>Bookmarks</H1>\n<DL><p>\n" +
           body + "</DL><p>\n";
}
} // namespace

class tst_BookmarkHtml : public QObject
{
    Q_OBJECT

private slots:
    void import_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QStringList>("expected");
        const QByteArray deep = QByteArray("<DT><H3>d</H3><DL><p>").repeated(10000);
        const QString deepPath = QString("d/").repeated(BookmarkHtml::MaximumDepth);
        QStringList deepTree;
        for (int i = 1; i <= BookmarkHtml::MaximumDepth; ++i)
            deepTree << QString("d/").repeated(i);
        deepTree << deepPath + "x.url=http://x/";
        deepTree.sort();
        const QByteArray huge =
            "<DT><A HREF=\"http://a/\" ICON=\"data:" + QByteArray(10 << 20, 'A') + "\">Big</A>\n";
        // clang-format off
        QTest::newRow("folders, entities, descriptions") << page("<DT><H3 ADD_DATE=\"1\" PERSONAL_TOOLBAR_FOLDER=\"true\">News &amp; Sport</H3>\n<DL><p>\n<DT><A HREF=\"http://a.test/?a=1&amp;b=2\" ADD_DATE=\"1000000000\" LAST_CHARSET=\"UTF-8\">A &lt;1&gt; &#39;x&#x27; &quot;</A>\n<DD>a description\n</DL><p>\n<DT><a href='http://b.test/'>B</a>\n") << QStringList{"B.url=http://b.test/", "News & Sport/", "News & Sport/A <1> 'x' \".url=http://a.test/?a=1&b=2"};
        QTest::newRow("same name twice, folder merged") << page("<DT><A HREF=\"http://1/\">X</A><DT><A HREF=\"http://2/\">X</A><DT><H3>F</H3><DL><p><DT><A HREF=\"http://3/\">Y</A></DL><p><DT><H3>F</H3><DL><p><DT><A HREF=\"http://4/\">Y</A></DL><p>") << QStringList{"F/", "F/Y (2).url=http://4/", "F/Y.url=http://3/", "X (2).url=http://2/", "X.url=http://1/"};
        QTest::newRow("unclosed tags") << QByteArray("<DL><p><DT><H3>F</H3><DL><p><DT><A HREF=\"http://a/\">A<DT><A HREF=\"http://b/") << QStringList{"F/", "F/A.url=http://a/"};
        QTest::newRow("stray bracket, slash, no title") << page("<DT><A HREF=\"http://a/\">a < b / c</A><DT><A HREF=\"http://host.test/p\"></A><DT><A NAME=\"x\">no address</A>") << QStringList{"a < b - c.url=http://a/", "host.test.url=http://host.test/p"};
        QTest::newRow("Latin-1, hidden name") << page("<DT><A HREF=\"http://a/\">..caf\xe9</A>") << QStringList{QString::fromUtf8("caf\u00e9.url=http://a/")};
        QTest::newRow("10,000 levels of nesting") << page(deep + "<DT><A HREF=\"http://x/\">x</A>") << deepTree;
        QTest::newRow("10 MB attribute") << page(huge) << QStringList{"Big.url=http://a/"};
        QTest::newRow("empty folder kept") << page("<DT><H3>E</H3>\n<DL><p>\n</DL><p>\n") << QStringList{"E/"};
        // clang-format on
    }
    void import()
    {
        QFETCH(QByteArray, html);
        QFETCH(QStringList, expected);
        QTemporaryDir favorites;
        const BookmarkHtml::ImportResult result =
            BookmarkHtml::importData(html, "Imported", favorites.path());
        QVERIFY2(result.ok(), qPrintable(result.detail));
        QCOMPARE(result.folder, favorites.filePath("Imported"));
        QCOMPARE(tree(result.folder), expected);
        QCOMPARE(result.count, int(expected.filter(".url=").size()));
        QCOMPARE(QDir(favorites.path())
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"Imported"});
    }

    void nothingToImport_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("binary junk") << QByteArrayLiteral("\x00\x01<\xff\xfe<<>>&#;&#x110000;<A");
        QTest::newRow("unclosed comment") << QByteArray("<!-- <DT><A HREF=\"http://a/\">A</A>");
    }
    void nothingToImport()
    {
        QFETCH(QByteArray, data);
        QTemporaryDir favorites;
        const BookmarkHtml::ImportResult result =
            BookmarkHtml::importData(data, "x", favorites.path());
        QCOMPARE(result.error, BookmarkHtml::Error::NoBookmarks);
        QVERIFY(
            QDir(favorites.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    }

    void importNeverOverwrites()
    {
        QTemporaryDir favorites;
        QVERIFY(QDir(favorites.path()).mkpath("bookmarks"));
        const QString kept =
            InternetShortcut::write(favorites.filePath("bookmarks"), "A", "http://old/");
        const QString file = favorites.filePath("bookmarks.html");
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(page("<DT><A HREF=\"http://new/\">A</A>"));
        out.close();
        const BookmarkHtml::ImportResult result = BookmarkHtml::import(file, favorites.path());
        QCOMPARE(result.folder, favorites.filePath("bookmarks (2)"));
        QCOMPARE(InternetShortcut::readUrl(kept), QString("http://old/"));
    }

    // An import nests as deep as it may below its own folder, one level
    // below Favorites: its export still holds every link.
    void exportKeepsDeepLinks()
    {
        QTemporaryDir favorites;
        const QByteArray deep = QByteArray("<DT><H3>d</H3><DL><p>").repeated(40);
        QCOMPARE(BookmarkHtml::importData(page(deep + "<DT><A HREF=\"http://x/\">x</A>"), "b",
                                          favorites.path())
                     .count,
                 1);
        int count = 0;
        QVERIFY(BookmarkHtml::exportData(favorites.path(), &count).contains("\"http://x/\""));
        QCOMPARE(count, 1);
    }

    void roundTrip()
    {
        QTemporaryDir source;
        QDir dir(source.path());
        QVERIFY(dir.mkpath("News/Sport") && dir.mkpath("Empty") && dir.mkpath(".hidden"));
        const QStringList shortcuts = {"|Tom & Jerry|http://a.test/?x=1&y=\"2\"'",
                                       QString::fromUtf8("News|Z\u00fcrich <live>|http://z.test/"),
                                       "News/Sport|Goal %1|https://g.test/?u=a%2Fb%1Fc#a"};
        for (const QString& shortcut : shortcuts)
            QVERIFY(!InternetShortcut::write(dir.filePath(shortcut.section('|', 0, 0)),
                                             shortcut.section('|', 1, 1), shortcut.section('|', 2))
                         .isEmpty());
        QFile(dir.filePath("notes.txt")).open(QIODevice::WriteOnly);
        QTemporaryDir target;
        const QString file = target.filePath("out.html");
        const BookmarkHtml::ExportResult exported = BookmarkHtml::exportTo(source.path(), file);
        QVERIFY(exported.ok());
        QCOMPARE(exported.count, 3);
        const BookmarkHtml::ImportResult imported = BookmarkHtml::import(file, target.path());
        QCOMPARE(imported.count, 3);
        const QStringList expected = {
            "Empty/",
            "News/",
            "News/Sport/",
            "News/Sport/Goal %1.url=https://g.test/?u=a%2Fb%1Fc#a",
            QString::fromUtf8("News/Z\u00fcrich <live>.url=http://z.test/"),
            "Tom & Jerry.url=http://a.test/?x=1&y=\"2\"'"};
        QCOMPARE(tree(imported.folder), expected);
    }
};

QTEST_GUILESS_MAIN(tst_BookmarkHtml)
#include "tst_BookmarkHtml.moc"

#include "ScriptedServices.h"
#include "TestStore.h"
#include "core/store/RegistryKeys.h"
#include "groups/BookmarkHtml.h"
#include "groups/FavoriteLauncher.h"
#include "groups/FavoritesFind.h"
#include "groups/FavoritesFolders.h"
#include "groups/InternetShortcut.h"
#include "groups/TFavoritesTransfer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
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

// Favorites as files: where they are, Internet shortcuts, finding and
// opening them, and bookmark files imported into and exported from them.
class tst_BookmarkHtml : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qputenv("QUILLWAVE_HOME", QFile::encodeName(m_home.path()));
        QVERIFY(QDir(m_home.path()).mkpath("elsewhere/Favs/Links"));
        QVERIFY(QDir(m_home.path()).mkpath("resolved/Favs/Bar"));
        qputenv("QW_TEST_ROOT", QFile::encodeName(m_home.path()));
        const QDir root(m_dir.path());
        for (const char* folder : {"News", "News/Deeper", ".hidden"})
            QVERIFY(root.mkpath(QLatin1String(folder)));
        // name, folder, address
        const QList<std::array<const char*, 3>> shortcuts = {
            {"News Today", "", "http://a.test/"},
            {"Weather", "", "http://NEWS.example/weather"},
            {"Sport", "", "http://sport.test/"},
            {"Inner news", "News", "http://b.test/"},
            {"Deep", "News/Deeper", "http://news.c.test/"},
            {"Secret news", ".hidden", "http://d.test/"}};
        for (const auto& [name, folder, address] : shortcuts)
            QVERIFY(!InternetShortcut::write(root.filePath(QLatin1String(folder)),
                                             QLatin1String(name), QLatin1String(address))
                         .isEmpty());
        QFile text(root.filePath("news notes.txt"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        // A link back to the top must not make the walk endless or repeat it.
        QVERIFY(QFile::link(m_dir.path(), root.filePath("News/Loop")));
    }

    void find()
    {
        const QString all = m_dir.path();
        // The folder searched, the text, what is found: sub-folders first.
        // clang-format off
        const QStringList news{"Deep=http://news.c.test/", "Inner news=http://b.test/", "News Today=http://a.test/", "Weather=http://NEWS.example/weather"};
        const QList<std::tuple<QString, QString, QStringList>> rows = {
            {all, "NEWS", news}, // name or address, in any case
            {all, "sport", {"Sport=http://sport.test/"}},
            {all, "Deeper", {}}, // folders are no favorites
            {all, "secret", {}}, // hidden folder skipped
            {all, "notes", {}},  // other files are no favorites
            {all, "", {}},
            {all + "/none", "news", {}},
        };
        // clang-format on
        for (const auto& [folder, text, names] : rows)
        {
            QStringList found;
            for (const FindResultsModel::Row& row : FavoritesFind::find(folder, text))
                found << row.caption + '=' + row.address;
            QCOMPARE(found, names);
        }
    }

    void favoritesFolder()
    {
        // "User Shell Folders" and "Shell Folders" values ("-" for none), the
        // folder below the home folder.
        // clang-format off
        const QList<std::tuple<QString, QString, QString>> rows = {
            {"-", "-", "Favorites"},
            {"%QW_TEST_ROOT%/elsewhere/Favs", "-", "elsewhere/Favs"},
            {"${QW_TEST_ROOT}/elsewhere/Favs/", "-", "elsewhere/Favs"},
            {"$QW_TEST_ROOT/gone", "$ROOT/resolved/Favs", "resolved/Favs"}, // user value missing
            {"%QW_TEST_UNSET%/elsewhere/Favs", "-", "Favorites"},
            {"elsewhere/Favs", "-", "Favorites"}, // relative
        };
        // clang-format on
        const QString root = m_home.path();
        for (const auto& [user, resolved, expected] : rows)
        {
            TestStore store;
            if (user != "-")
                store.store->setString(RegistryKeys::ShellFolders, "Favorites", user);
            // The resolved copy is never expanded: it holds a finished path.
            if (resolved != "-")
                store.store->setString(RegistryKeys::ResolvedShellFolders, "Favorites",
                                       QString(resolved).replace("$ROOT", root));
            QCOMPARE(FavoritesFolders::favoritesFolder(*store.store), root + '/' + expected);
            QVERIFY(QFileInfo(root + '/' + expected).isDir());
        }
    }

    void linksFolder()
    {
        // The stored Links folder name ("-" for none), the folder below
        // Favorites ("" for none).
        const QList<QPair<QString, QString>> rows = {
            {"-", "Links"}, {"Bar", ""}, {"../../resolved/Favs/Bar", "Links"}};
        const QString favorites = m_home.filePath("elsewhere/Favs");
        for (const auto& [linksName, expected] : rows)
        {
            TestStore store;
            store.store->setString(RegistryKeys::ShellFolders, "Favorites", favorites);
            if (linksName != "-")
                store.store->setString(RegistryKeys::EngineToolbar, "LinksFolderName", linksName);
            QCOMPARE(FavoritesFolders::linksFolder(*store.store),
                     expected.isEmpty() ? QString() : favorites + '/' + expected);
        }
    }

    // Targets: "file" and "dir" stand for a file and a folder that exist; a
    // single target is opened with open(), more with openAll().
    void launch()
    {
        QVERIFY(QDir(m_launch.path()).mkdir("dir"));
        QVERIFY(QFile(m_launch.filePath("file")).open(QIODevice::WriteOnly));
        // Targets, the front tab idle, what is done.
        // clang-format off
        const QList<std::tuple<QStringList, bool, QStringList>> rows = {
            {{"http://a/"}, false, {"open http://a/ 1"}},
            {{"file"}, false, {"desktop file"}},
            {{"dir"}, false, {}},
            {{""}, false, {}},
            {{"http://a/", "http://b/"}, true, {"front http://a/", "new http://b/"}}, // first into the blank front tab
            {{"http://a/", "http://b/"}, false, {"new http://a/", "new http://b/"}},
            {{"file", "dir", "", "http://a/", "http://b/"}, true, {"desktop file", "front http://a/", "new http://b/"}},
        };
        // clang-format on
        for (auto [targets, frontIdle, done] : rows)
        {
            QStringList log;
            const bool idle = frontIdle;
            const auto shown = [this](QString path) { return path.remove(m_launch.path() + '/'); };
            FavoriteLauncher launcher({
                [&](const QString& path) { log << "desktop " + shown(path); },
                [&](const QString& address, bool newTab)
                { log << QStringLiteral("open %1 %2").arg(address).arg(newTab); },
                [idle] { return idle; },
                [&](const QString& address) { log << "front " + address; },
                [&](const QString& address) { log << "new " + address; },
            });
            for (QString& target : targets)
                if (target == "file" || target == "dir")
                    target = m_launch.filePath(target);
            if (targets.size() == 1)
                launcher.open(targets.first(), true);
            else
                launcher.openAll(targets);
            QCOMPARE(log, done);
        }
    }

    void import_data()
    {
        QTest::addColumn<QByteArray>("html");
        QTest::addColumn<QStringList>("expected");
        const QByteArray deep = QByteArray("<DT><H3>d</H3><DL><p>").repeated(10000);
        // Links nested deeper than folders may go to the deepest folder.
        QStringList deepTree{QString("d/").repeated(BookmarkHtml::MaximumDepth) +
                             "x.url=http://x/"};
        for (int i = 1; i <= BookmarkHtml::MaximumDepth; ++i)
            deepTree << QString("d/").repeated(i);
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
        QTest::newRow("unclosed comment: nothing") << QByteArray("<!-- <DT><A HREF=\"http://a/\">A</A>") << QStringList();
        // clang-format on
    }
    void import()
    {
        QFETCH(QByteArray, html);
        QFETCH(QStringList, expected);
        QTemporaryDir favorites;
        const BookmarkHtml::ImportResult result =
            BookmarkHtml::importData(html, "Imported", favorites.path());
        QCOMPARE(result.error,
                 expected.isEmpty() ? BookmarkHtml::Error::NoBookmarks : BookmarkHtml::Error::None);
        // Whole or not at all: nothing to import leaves nothing behind.
        QCOMPARE(QDir(favorites.path())
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 expected.isEmpty() ? QStringList() : QStringList{"Imported"});
        QCOMPARE(tree(favorites.filePath("Imported")), expected);
        QCOMPARE(result.count, int(expected.filter(".url=").size()));
    }

    void importNeverOverwrites()
    {
        QTemporaryDir favorites;
        QVERIFY(QDir(favorites.path()).mkpath("bookmarks"));
        const QString kept =
            InternetShortcut::write(favorites.filePath("bookmarks"), "A", "http://old/");
        QFile out(favorites.filePath("bookmarks.html"));
        QVERIFY(out.open(QIODevice::WriteOnly) &&
                out.write(page("<DT><A HREF=\"http://new/\">A</A>")));
        out.close();
        QCOMPARE(BookmarkHtml::import(out.fileName(), favorites.path()).folder,
                 favorites.filePath("bookmarks (2)"));
        QCOMPARE(InternetShortcut::readUrl(kept), QString("http://old/"));
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
            InternetShortcut::write(dir.filePath(shortcut.section('|', 0, 0)),
                                    shortcut.section('|', 1, 1), shortcut.section('|', 2));
        QFile(dir.filePath("notes.txt")).open(QIODevice::WriteOnly);
        QTemporaryDir target;
        const QString file = target.filePath("out.html");
        QCOMPARE(BookmarkHtml::exportTo(source.path(), file).count, 3);
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

    // What the user is told after an import or export.
    void toldAfterTransfer()
    {
        // Import (else export), the file imported, its path below the test
        // folder, the message shown with the folder as "@", an error.
        // clang-format off
        const QList<std::tuple<bool, QByteArray, QString, QString, bool>> rows = {
            {true, "<DL><DT><A HREF=\"http://a/\">A</A><DT><A HREF=\"http://b/\">B</A></DL>", "my bookmarks.html", "Imported 2 my bookmarks", false},
            {true, {}, "-", "CannotRead @/- No such file or directory", true},
            {false, {}, "gone/out.html", "CannotWrite @/gone/out.html", true},
        };
        // clang-format on
        for (const auto& [import, content, file, notice, error] : rows)
        {
            QTemporaryDir dir;
            QVERIFY(QDir(dir.path()).mkpath("Favorites"));
            const QString path = dir.filePath(file);
            QFile out(path);
            QVERIFY(content.isEmpty() ||
                    (out.open(QIODevice::WriteOnly) && out.write(content) == content.size()));
            out.close();
            ScriptedServices services;
            services.textFn = [](const QString&, const QString& key) { return key + " %1 %2"; };
            const QString favorites = dir.filePath("Favorites");
            QCOMPARE(import ? TFavoritesTransfer::ImportFile(path, favorites, &services)
                            : TFavoritesTransfer::ExportFile(favorites, path, &services),
                     !error);
            const QString shown =
                error ? services.errors.value(0) : services.confirmCalls.value(0).prompt;
            QVERIFY2(shown.startsWith(QString(notice).replace('@', dir.path())), qPrintable(shown));
            QCOMPARE(services.errors.size() + services.confirmCalls.size(), 1);
        }
    }

    void readUrl()
    {
        // clang-format off
        const QList<QPair<QByteArray, QString>> rows = {
            {"[DEFAULT]\r\nBASEURL=http://base.test/\r\n[InternetShortcut]\r\nURL=http://a.test/x?y=1&z=2\r\nIDList=\r\nIconFile=http://a.test/favicon.ico\r\nIconIndex=1\r\nModified=20F06BA06D07BD014D\r\nHotKey=0\r\n", "http://a.test/x?y=1&z=2"},
            {"[InternetShortcut]\r\nURL=http://a.test/caf\xe9\r\n", QString::fromUtf8("http://a.test/caf\u00e9")}, // Latin-1
            {"\xef\xbb\xbf[InternetShortcut]\nURL=http://a.test/\xc3\xbc\n", QString::fromUtf8("http://a.test/\u00fc")}, // UTF-8 with mark
            {"[DEFAULT]\nURL=http://base.test/\n[InternetShortcut]\nIconIndex=0\n", ""},
        };
        // clang-format on
        QTemporaryDir dir;
        for (const auto& [content, url] : rows)
        {
            QFile file(dir.filePath("a.url"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
            file.close();
            QCOMPARE(InternetShortcut::readUrl(file.fileName()), url);
        }
    }

    void safeFileName()
    {
        // clang-format off
        const QList<QPair<QString, QString>> rows = {
            {"News / Sport", "News - Sport"}, {"a\tb\nc\x01" "d", "a b c d"}, {"..hidden", "hidden"},
            {": :.x:y", "x:y"}, {" . . ", ""}};
        // clang-format on
        for (const auto& [name, safe] : rows)
            QCOMPARE(InternetShortcut::safeFileName(name), safe);
    }

    // Two-byte characters and surrogate pairs.
    void longNamesFitWithNumberAndExtension()
    {
        for (const QString& name :
             {QString(300, QChar(0xe9)), QString::fromUtf8("\U0001F600").repeated(100)})
        {
            const QString safe = InternetShortcut::safeFileName(name);
            QVERIFY(!safe.isEmpty() && name.startsWith(safe));
            const QString numbered = InternetShortcut::numberedName(safe, 12345, ".url");
            QVERIFY(numbered.toUtf8().size() <= InternetShortcut::MaximumNameBytes);
            QVERIFY(numbered.endsWith(" (12345).url"));
            QVERIFY(!numbered.toUtf8().contains("\xef\xbf\xbd")); // no character split in half
        }
    }

    void writeAddsNumberAndReadsBack()
    {
        QTemporaryDir dir;
        const QString first = InternetShortcut::write(dir.path(), "A/B", "http://a.test/1");
        const QString second = InternetShortcut::write(dir.path(), "A/B", "http://a.test/2\r\n[x]");
        QCOMPARE(first, dir.filePath("A-B.url"));
        QCOMPARE(second, dir.filePath("A-B (2).url"));
        QFile file(first);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[InternetShortcut]\r\nURL=http://a.test/1\r\n"));
        // A line break in the address cannot start a section of its own.
        QCOMPARE(InternetShortcut::readUrl(second), QString("http://a.test/2  [x]"));
        QCOMPARE(InternetShortcut::write(dir.path(), "", "http://host.test/p"),
                 dir.filePath("host.test.url"));
        QCOMPARE(InternetShortcut::write(dir.path(), "", ""), QString());
        QCOMPARE(InternetShortcut::write(dir.filePath("missing"), "x", "http://a/"), QString());
    }

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_home;
    QTemporaryDir m_launch;
};

QTEST_MAIN(tst_BookmarkHtml)
#include "tst_BookmarkHtml.moc"

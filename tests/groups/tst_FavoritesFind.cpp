#include "groups/FavoritesFind.h"
#include "groups/InternetShortcut.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_FavoritesFind : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
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
        QFile text(root.filePath(QStringLiteral("news notes.txt")));
        QVERIFY(text.open(QIODevice::WriteOnly));
        // A link back to the top must not make the walk endless or repeat it.
        QVERIFY(QFile::link(m_dir.path(), root.filePath(QStringLiteral("News/Loop"))));
    }

    void find_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");
        const QString all = m_dir.path();
        // clang-format off
        const QStringList news{"Deep=http://news.c.test/", "Inner news=http://b.test/", "News Today=http://a.test/", "Weather=http://NEWS.example/weather"};
        QTest::newRow("name or address, sub-folders first") << all << "news"    << news;
        QTest::newRow("text in capitals")                   << all << "NEWS"    << news;
        QTest::newRow("name only")                          << all << "sport"   << QStringList{"Sport=http://sport.test/"};
        QTest::newRow("address only")                       << all << "a.test"  << QStringList{"News Today=http://a.test/"};
        QTest::newRow("folder named like the text")         << all << "Deeper"  << QStringList{};
        QTest::newRow("hidden folder skipped")              << all << "secret"  << QStringList{};
        QTest::newRow("other files are no favorites")       << all << "notes"   << QStringList{};
        QTest::newRow("nothing found")                      << all << "zzz"     << QStringList{};
        QTest::newRow("empty text")                         << all << ""        << QStringList{};
        QTest::newRow("missing folder")                     << all + "/none" << "news" << QStringList{};
        // clang-format on
    }

    void find()
    {
        QFETCH(QString, folder);
        QFETCH(QString, text);
        QStringList found;
        for (const FindResultsModel::Row& row : FavoritesFind::find(folder, text))
            found << row.caption + '=' + row.address;
        QTEST(found, "names");
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_FavoritesFind)
#include "tst_FavoritesFind.moc"

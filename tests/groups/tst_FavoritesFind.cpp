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
        QVERIFY(m_dir.isValid());
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
        QTest::newRow("name or address, sub-folders first") << all << "news"    << QStringList{"Deep", "Inner news", "News Today", "Weather"};
        QTest::newRow("text in capitals")                   << all << "NEWS"    << QStringList{"Deep", "Inner news", "News Today", "Weather"};
        QTest::newRow("name only")                          << all << "sport"   << QStringList{"Sport"};
        QTest::newRow("address only")                       << all << "a.test"  << QStringList{"News Today"};
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
        QFETCH(QStringList, names);
        QStringList found;
        for (const FindResultsModel::Row& row : FavoritesFind::find(folder, text))
            found << row.caption;
        QCOMPARE(found, names);
    }

    void rowsCarryTheAddress()
    {
        const QList<FindResultsModel::Row> rows = FavoritesFind::find(m_dir.path(), "weather");
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].address, QStringLiteral("http://NEWS.example/weather"));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(tst_FavoritesFind)
#include "tst_FavoritesFind.moc"

// The list of typed addresses and its place in the store.

#include "TestStore.h"
#include "core/store/RegistryKeys.h"
#include "navigation/TypedUrlList.h"

#include <QTest>

namespace
{
QStringList numbered(int count, const QString& pattern = QStringLiteral("http://site%1.test/"))
{
    QStringList list;
    for (int i = 1; i <= count; ++i)
        list << pattern.arg(i);
    return list;
}
} // namespace

class tst_TypedUrlList : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestStore> test;
    RegistryStore* store = nullptr;

private slots:
    void init()
    {
        test = std::make_unique<TestStore>();
        store = test->store.get();
    }

    void record_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QStringList>("after");
        // clang-format off
        QTest::newRow("existing moves to the top") << QStringList{"a.test", "b.test", "c.test"} << "c.test" << QStringList{"c.test", "a.test", "b.test"};
        QTest::newRow("other case moves the entry, keeping its case") << QStringList{"a.test", "http://Mixed.Test/"} << "HTTP://MIXED.TEST/" << QStringList{"http://Mixed.Test/", "a.test"};
        QTest::newRow("the 26th distinct removes the oldest") << numbered(25) << "new.test" << (QStringList{"new.test"} + numbered(24));
        QTest::newRow("a known one in a full list removes nothing") << numbered(25) << "http://site25.test/" << (QStringList{"http://site25.test/"} + numbered(24));
        // clang-format on
    }

    void record()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, address);
        TypedUrlList list;
        list.SetItems(before);
        list.Record(address);
        QTEST(list.Items(), "after");
    }

    void saveReplacesEverythingThatWasThere()
    {
        store->setString(RegistryKeys::TypedUrls, QStringLiteral("url3"), QStringLiteral("old3"));
        store->setString(RegistryKeys::TypedUrls, QStringLiteral("other"), QStringLiteral("x"));
        TypedUrlList list;
        list.SetItems({QStringLiteral("http://b.test/"), QStringLiteral("a.test")});
        QVERIFY(list.Save(*store));
        QCOMPARE(store->valueNames(RegistryKeys::TypedUrls), QStringList({"url1", "url2"}));
        TypedUrlList loaded;
        loaded.Load(*store);
        QCOMPARE(loaded.Items(), list.Items());

        // An empty list leaves an empty key.
        QVERIFY(TypedUrlList().Save(*store));
        QVERIFY(store->keyExists(RegistryKeys::TypedUrls));
        QVERIFY(store->valueNames(RegistryKeys::TypedUrls).isEmpty());
    }

    void loadStops_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<int>("expectedCount");
        // clang-format off
        QTest::newRow("at a gap") << QStringList{"url1", "url2", "url4"} << QStringList{"a", "b", "d"} << 2;
        QTest::newRow("at an empty value") << QStringList{"url1", "url2", "url3"} << QStringList{"a", "", "c"} << 1;
        QTest::newRow("at a number") << QStringList{"url1", "url2", "url3"} << QStringList{"a", "#7", "c"} << 1;
        QTest::newRow("after 25") << numbered(30, QStringLiteral("url%1")) << numbered(30, QStringLiteral("v%1")) << 25;
        // clang-format on
    }

    void loadStops()
    {
        // A value of the wrong type ("#" marks a number) ends the list as a gap does.
        QFETCH(QStringList, names);
        QFETCH(QStringList, values);
        QFETCH(int, expectedCount);
        for (qsizetype i = 0; i < names.size(); ++i)
        {
            if (values[i].startsWith(u'#'))
                store->setDWord(RegistryKeys::TypedUrls, names[i], values[i].mid(1).toUInt());
            else
                store->setString(RegistryKeys::TypedUrls, names[i], values[i]);
        }
        TypedUrlList list;
        list.SetItems({QStringLiteral("stale")});
        list.Load(*store);
        QCOMPARE(list.Items(), values.mid(0, expectedCount));
    }
};

QTEST_GUILESS_MAIN(tst_TypedUrlList)
#include "tst_TypedUrlList.moc"

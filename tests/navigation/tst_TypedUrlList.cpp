// The list of typed addresses and its place in the store. What any stored
// value reads as, and that saving and loading keep the list, the fuzz target
// checks.

#include "TestStore.h"
#include "core/store/RegistryKeys.h"
#include "navigation/TypedUrlList.h"

#include <QTest>

class tst_TypedUrlList : public QObject
{
    Q_OBJECT

private slots:
    // The fuzz target checks the order and the limit; here, which spelling stays.
    void recordMovesAKnownAddressToTheTop()
    {
        TypedUrlList list;
        list.SetItems({"a.test", "http://Mixed.Test/", "c.test"});
        list.Record("HTTP://MIXED.TEST/");
        QCOMPARE(list.Items(), QStringList({"http://Mixed.Test/", "a.test", "c.test"}));
    }

    void saveAndLoad()
    {
        TestStore test;
        RegistryStore& store = *test.store;
        const auto load = [&]
        {
            TypedUrlList list;
            list.SetItems({QStringLiteral("stale")});
            list.Load(store);
            return list.Items();
        };
        // Loading stops at a gap, and after 25.
        for (const QString name : {"url1", "url2", "url4"})
            store.setString(RegistryKeys::TypedUrls, name, name);
        QCOMPARE(load(), QStringList({"url1", "url2"}));
        QStringList values;
        for (int i = 1; i <= 30; ++i)
        {
            values << QStringLiteral("v%1").arg(i);
            store.setString(RegistryKeys::TypedUrls, TypedUrlList::ValueName(i), values.last());
        }
        QCOMPARE(load(), values.mid(0, 25));
        // An empty list leaves an empty key.
        QVERIFY(TypedUrlList().Save(store));
        QVERIFY(store.keyExists(RegistryKeys::TypedUrls));
        QVERIFY(store.valueNames(RegistryKeys::TypedUrls).isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_TypedUrlList)
#include "tst_TypedUrlList.moc"

#include "TestStore.h"
#include "chrome/BandLayoutStore.h"
#include "core/store/RegistryKeys.h"

#include <QTest>

namespace
{
// The bands as the window places them at first; minimums of 50 stand in
// for the bands' own.
const QList<BandState> Design = {{QStringLiteral("Menu"), 626, false, 50},
                                 {QStringLiteral("Tool"), 626, true, 50},
                                 {QStringLiteral("Address"), 551, true, 50},
                                 {QStringLiteral("Links"), 73, false, 50}};

QStringList Names(const QList<BandState>& bands)
{
    QStringList names;
    for (const BandState& band : bands)
        names << band.name;
    return names;
}

QString Written(const QList<BandState>& bands)
{
    QStringList items;
    for (const BandState& band : bands)
        items
            << QStringLiteral("%1:%2:%3").arg(band.name).arg(band.width).arg(int(band.breakBefore));
    return items.join(QLatin1Char(' '));
}
} // namespace

class tst_BandLayoutStore : public QObject
{
    Q_OBJECT
private slots:
    void savesUnderTheKeysAsNamed()
    {
        TestStore test;
        const QString bands = RegistryKeys::ValueKey + QStringLiteral("\\Bands");
        test.store->setString(bands + QStringLiteral("\\Band7"), QStringLiteral("Name"), "Menu");
        QList<BandState> saved = Design;
        saved[2].name.clear(); // a band that holds some other control
        QVERIFY(BandLayoutStore::Save(*test.store, saved));

        QCOMPARE(test.store->subKeyNames(bands), QStringList({"Band0", "Band1", "Band3"}));
        const QString band1 = bands + QStringLiteral("\\Band1");
        QCOMPARE(test.store->valueNames(band1), QStringList({"Name", "Width", "Break"}));
        QCOMPARE(test.store->value(band1, "Name"), RegValue::fromString("Tool"));
        QCOMPARE(test.store->value(band1, "Width"), RegValue::fromDWord(626));
        QCOMPARE(test.store->value(band1, "Break"), RegValue::fromDWord(1));
        QCOMPARE(test.store->value(bands + QStringLiteral("\\Band3"), "Break"),
                 RegValue::fromDWord(0));

        const auto loaded = BandLayoutStore::Load(*test.store, Names(Design));
        QCOMPARE(loaded.size(), 4);
        QVERIFY(!loaded.at(2));
        QCOMPARE(loaded.at(3)->name, QStringLiteral("Links"));
        QCOMPARE(Written(BandLayoutStore::Apply(Design, loaded)), Written(Design));
    }

    void load()
    {
        // Each stored band: "position:Name:Width:Break"; an empty part is not
        // stored, a name written "#" is a number, a width written "'300" is text.
        // clang-format off
        const QList<QPair<QString, QString>> rows = {
            {"", "Menu:626:0 Tool:626:1 Address:551:1 Links:73:0"},
            {"0:Menu:626:0 1:Tool:300:1 2:Address:400:0 3:Links:73:1", "Menu:626:0 Tool:300:1 Address:400:0 Links:73:1"}, // Address beside Tool
            {"0:Bogus:10:1 2:Menu:500:1", "Tool:626:1 Address:551:1 Menu:500:1 Links:73:0"}, // unknown name and missing key skipped
            {"0:Links::", "Links:73:0 Menu:626:0 Tool:626:1 Address:551:1"}, // missing width and break kept
            {"0:Menu:0:0 1:Tool:4294967295:1", "Menu:50:0 Tool:50:1 Address:551:1 Links:73:0"}, // zero and absurd widths raised to the minimum
            {"0:#:100:1 1:Links:'300:1", "Menu:626:0 Links:73:1 Tool:626:1 Address:551:1"}, // values of the wrong type ignored
            {"0:Tool:100:0 1:Tool:200:1", "Menu:626:0 Tool:200:1 Address:551:1 Links:73:0"}, // a name twice loses no band
            {"4:Menu:10:1", "Menu:626:0 Tool:626:1 Address:551:1 Links:73:0"}, // positions past the last band unread
        };
        // clang-format on
        for (const auto& [stored, after] : rows)
        {
            TestStore test;
            for (const QString& item : stored.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            {
                const QStringList parts = item.split(QLatin1Char(':'));
                const QString key = BandLayoutStore::BandKey(parts.at(0).toInt());
                if (parts.at(1) == QLatin1String("#"))
                    test.store->setDWord(key, "Name", 0);
                else
                    test.store->setString(key, "Name", parts.at(1));
                if (parts.at(2).startsWith(QLatin1Char('\'')))
                    test.store->setString(key, "Width", parts.at(2).mid(1));
                else if (!parts.at(2).isEmpty())
                    test.store->setDWord(key, "Width", parts.at(2).toUInt());
                if (!parts.at(3).isEmpty())
                    test.store->setDWord(key, "Break", parts.at(3).toUInt());
            }
            const auto loaded = BandLayoutStore::Load(*test.store, Names(Design));
            QCOMPARE(Written(BandLayoutStore::Apply(Design, loaded)), after);
        }
    }
};

QTEST_GUILESS_MAIN(tst_BandLayoutStore)
#include "tst_BandLayoutStore.moc"

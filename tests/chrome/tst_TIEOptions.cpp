// The engine's content switches as stored: what each stored value means,
// what the setters write, and the change announcement.

#include "TestStore.h"

#include "chrome/SettingsBroadcast.h"
#include "chrome/TIEOptions.h"
#include "core/store/RegistryKeys.h"

#include <QSignalSpy>
#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(std::optional<RegValue>)

class tst_TIEOptions : public QObject
{
    Q_OBJECT

private slots:
    void readsEachSwitch_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<std::optional<RegValue>>("value");
        QTest::addColumn<bool>("on");
        const std::optional<RegValue> missing;
        for (const QString& name : {TIEOptions::ImagesValue, TIEOptions::VideosValue,
                                    TIEOptions::SoundsValue, TIEOptions::AnimationsValue})
        {
            const QByteArray n = name.toUtf8();
            QTest::newRow(n + " missing") << name << missing << true;
            QTest::newRow(n + " yes") << name << std::optional(RegValue::fromString("yes")) << true;
            QTest::newRow(n + " no") << name << std::optional(RegValue::fromString("no")) << false;
        }
        const QString images = TIEOptions::ImagesValue;
        QTest::newRow("hand-typed No")
            << images << std::optional(RegValue::fromString("No")) << false;
        QTest::newRow("blanks around")
            << images << std::optional(RegValue::fromString(" no ")) << false;
        QTest::newRow("junk") << images << std::optional(RegValue::fromString("nope")) << true;
        QTest::newRow("empty") << images << std::optional(RegValue::fromString("")) << true;
        QTest::newRow("number") << images << std::optional(RegValue::fromDWord(0)) << true;
    }
    void readsEachSwitch()
    {
        QFETCH(QString, name);
        QFETCH(std::optional<RegValue>, value);
        QFETCH(bool, on);
        TestStore test;
        if (value)
            QVERIFY(test.store->setValue(RegistryKeys::EngineMain, name, *value));
        const TIEOptions options(test.store.get());
        const TIEOptions::Switches read = options.ReadSwitches();
        const QList<std::pair<QString, bool>> switches = {
            {TIEOptions::ImagesValue, read.images},
            {TIEOptions::VideosValue, read.videos},
            {TIEOptions::SoundsValue, read.sounds},
            {TIEOptions::AnimationsValue, read.animations}};
        // Only the switch of that value follows it.
        for (const auto& [switchName, switchOn] : switches)
            QCOMPARE(switchOn, switchName == name ? on : true);
    }

    void settersWriteYesOrNo()
    {
        TestStore test;
        TIEOptions options(test.store.get());
        QVERIFY(options.SetLoadImages(false));
        QVERIFY(options.SetLoadVideos(false));
        QVERIFY(options.SetPlaySounds(true));
        QVERIFY(options.SetPlayAnimations(false));
        const auto text = [&](const QString& name)
        { return test.store->value(RegistryKeys::EngineMain, name).value_or(RegValue()).text; };
        QCOMPARE(text(TIEOptions::ImagesValue), QStringLiteral("no"));
        QCOMPARE(text(TIEOptions::VideosValue), QStringLiteral("no"));
        QCOMPARE(text(TIEOptions::SoundsValue), QStringLiteral("yes"));
        QCOMPARE(text(TIEOptions::AnimationsValue), QStringLiteral("no"));
        QCOMPARE(options.ReadSwitches(), (TIEOptions::Switches{false, false, true, false}));
    }

    void announcesTheEnginesArea()
    {
        QSignalSpy spy(SettingsBroadcast::instance(), &SettingsBroadcast::settingsChanged);
        TIEOptions::NotifySettingsChanged();
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toString(),
                 QStringLiteral("Software\\Microsoft\\Internet Explorer\\"));
    }
};

QTEST_GUILESS_MAIN(tst_TIEOptions)
#include "tst_TIEOptions.moc"

// The engine's content switches as stored: what each stored value means,
// what the setters write, and the change announcement.

#include "TestStore.h"

#include "chrome/SettingsBroadcast.h"
#include "chrome/TIEOptions.h"
#include "core/store/RegistryKeys.h"

#include <QSignalSpy>
#include <QTest>

#include <optional>

class tst_TIEOptions : public QObject
{
    Q_OBJECT

private slots:
    // Only "no", in any case and with blanks around, switches off; only the
    // switch of that value follows it.
    void readsEachSwitch()
    {
        const QList<QPair<std::optional<RegValue>, bool>> values = {
            {std::nullopt, true},
            {RegValue::fromString("yes"), true},
            {RegValue::fromString("no"), false},
            {RegValue::fromString("No"), false},
            {RegValue::fromString(" no "), false},
            {RegValue::fromString("nope"), true},
            {RegValue::fromString(""), true},
            {RegValue::fromDWord(0), true}};
        for (const QString& name : {TIEOptions::ImagesValue, TIEOptions::VideosValue,
                                    TIEOptions::SoundsValue, TIEOptions::AnimationsValue})
            for (const auto& [value, on] : values)
            {
                TestStore test;
                if (value)
                    QVERIFY(test.store->setValue(RegistryKeys::EngineMain, name, *value));
                const TIEOptions::Switches read = TIEOptions(test.store.get()).ReadSwitches();
                const QList<std::pair<QString, bool>> switches = {
                    {TIEOptions::ImagesValue, read.images},
                    {TIEOptions::VideosValue, read.videos},
                    {TIEOptions::SoundsValue, read.sounds},
                    {TIEOptions::AnimationsValue, read.animations}};
                for (const auto& [switchName, switchOn] : switches)
                    QVERIFY2(switchOn == (switchName == name ? on : true), qPrintable(name));
            }
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

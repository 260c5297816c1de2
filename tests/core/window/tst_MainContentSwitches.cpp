// The window's content switches: the Tools items and the picture button
// show what is stored, and a switch chosen twice stores "no" and then
// "yes", each announced once and followed by a refresh of every tab.

#include "MainWindowFixture.h"

#include "chrome/SettingsBroadcast.h"
#include "chrome/TIEOptions.h"
#include "chrome/TQWToolBar.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "core/window/MainBars.h"
#include "core/window/TMainMenu.h"
#include "core/window/TfrmMain.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

namespace
{
constexpr int LoadImagesButton = 15;

QString storedText(const QString& name)
{
    RegistryStore store;
    const std::optional<RegValue> value = store.value(RegistryKeys::EngineMain, name);
    return value ? value->text : QStringLiteral("<missing>");
}
} // namespace

class tst_MainContentSwitches : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_f = std::make_unique<MainWindowFixture>(); }
    void cleanup() { QW_FINISH_MAIN_WINDOW(m_f); }

    // Missing values show on and write nothing; opening Tools reads the store again.
    void itemsShowTheStore()
    {
        TfrmMain* window = m_f->create();
        const auto checks = [&]
        {
            QList<bool> checked;
            for (QAction* item : window->MainMenu()->ContentSwitchItems())
                checked << (item->isCheckable() && item->isChecked());
            return checked << window->Bars()->ToolBar()->IsDown(LoadImagesButton);
        };
        QCOMPARE(checks(), (QList<bool>{true, true, true, true, true}));
        QCOMPARE(storedText(TIEOptions::ImagesValue), QStringLiteral("<missing>"));

        TIEOptions options;
        QVERIFY(options.SetLoadImages(false) && options.SetPlayAnimations(false));
        emit window->MainMenu()->ToolsMenu()->aboutToShow();
        QCOMPARE(checks(), (QList<bool>{false, true, true, false, false}));
    }

    void choosingTwiceStoresNoThenYes()
    {
        TfrmMain* window = m_f->createActive(2);
        QSignalSpy announced(SettingsBroadcast::instance(), &SettingsBroadcast::settingsChanged);
        const QString names[] = {TIEOptions::ImagesValue, TIEOptions::VideosValue,
                                 TIEOptions::SoundsValue, TIEOptions::AnimationsValue};
        for (int item = 0; item < 4; ++item)
        {
            QAction* action = window->MainMenu()->ContentSwitchItems().at(item);
            action->trigger();
            QCOMPARE(storedText(names[item]), QStringLiteral("no"));
            QVERIFY(!action->isChecked());
            QCOMPARE(window->Bars()->ToolBar()->IsDown(LoadImagesButton), item != 0);
            QCOMPARE(announced.size(), 2 * item + 1);
            action->trigger();
            QCOMPARE(storedText(names[item]), QStringLiteral("yes"));
            QVERIFY(action->isChecked());
            QCOMPARE(announced.size(), 2 * item + 2);
            for (FakeBrowserControl* page : m_f->made)
                QCOMPARE(page->refreshes.size(), 2 * item + 2);
        }
    }

private:
    std::unique_ptr<MainWindowFixture> m_f;
};

QTEST_MAIN(tst_MainContentSwitches)
#include "tst_MainContentSwitches.moc"

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

    void missingValuesShowOnAndWriteNothing()
    {
        TfrmMain* window = m_f->create();
        for (QAction* item : window->MainMenu()->ContentSwitchItems())
        {
            QVERIFY(item && item->isCheckable());
            QVERIFY2(item->isChecked(), qPrintable(item->objectName()));
        }
        QVERIFY(window->Bars()->ToolBar()->IsDown(LoadImagesButton));
        QCOMPARE(storedText(TIEOptions::ImagesValue), QStringLiteral("<missing>"));
    }

    void openingToolsReadsTheStore()
    {
        TfrmMain* window = m_f->create();
        TIEOptions options;
        QVERIFY(options.SetLoadImages(false) && options.SetPlayAnimations(false));
        emit window->MainMenu()->ToolsMenu()->aboutToShow();
        QList<bool> checks;
        for (QAction* item : window->MainMenu()->ContentSwitchItems())
            checks << item->isChecked();
        QCOMPARE(checks, (QList<bool>{false, true, true, false}));
        QVERIFY(!window->Bars()->ToolBar()->IsDown(LoadImagesButton));
    }

    void choosingTwiceStoresNoThenYes_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("name");
        QTest::newRow("pictures") << 0 << TIEOptions::ImagesValue;
        QTest::newRow("videos") << 1 << TIEOptions::VideosValue;
        QTest::newRow("sounds") << 2 << TIEOptions::SoundsValue;
        QTest::newRow("animations") << 3 << TIEOptions::AnimationsValue;
    }
    void choosingTwiceStoresNoThenYes()
    {
        QFETCH(int, item);
        QFETCH(QString, name);
        TfrmMain* window = m_f->createActive(2);
        QAction* action = window->MainMenu()->ContentSwitchItems().at(item);
        QSignalSpy announced(SettingsBroadcast::instance(), &SettingsBroadcast::settingsChanged);

        action->trigger();
        QCOMPARE(storedText(name), QStringLiteral("no"));
        QVERIFY(!action->isChecked());
        QCOMPARE(window->Bars()->ToolBar()->IsDown(LoadImagesButton), item != 0);
        QCOMPARE(announced.size(), 1);
        action->trigger();
        QCOMPARE(storedText(name), QStringLiteral("yes"));
        QVERIFY(action->isChecked());
        QCOMPARE(announced.size(), 2);
        for (FakeBrowserControl* page : m_f->made)
            QCOMPARE(page->refreshes.size(), 2);
    }

private:
    std::unique_ptr<MainWindowFixture> m_f;
};

QTEST_MAIN(tst_MainContentSwitches)
#include "tst_MainContentSwitches.moc"

#include "MainWindowFixture.h"
#include "components/TQWStatusBar.h"
#include "core/dialogs/TfrmDownloads.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/TDownloadList.h"
#include "core/engine/TDownloadManager.h"
#include "core/instance/TStWMDataCopy.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainGroups.h"
#include "core/window/MainViewSettings.h"
#include "core/window/TApplication.h"
#include "core/window/TMainMenu.h"
#include "core/window/TfrmMain.h"
#include "groups/TVostelGroup.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

// What the main window reads and writes between runs, how it closes, what
// it does with what a later start forwards, and what it reports.
namespace
{
// "Name=text Name=text": the values a row seeds or expects.
QList<std::pair<QString, QString>> pairs(const QString& text)
{
    QList<std::pair<QString, QString>> list;
    for (const QString& pair : text.split(u' ', Qt::SkipEmptyParts))
        list.append({pair.section(u'=', 0, 0), pair.section(u'=', 1)});
    return list;
}
} // namespace

class tst_TfrmMain : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_f;

    void seed(const QString& name, const QString& text) { QVERIFY(m_f->seed(name, text)); }
    QString stored(const QString& name) const { return m_f->stored(name); }

private slots:
    void init() { QVERIFY((m_f = std::make_unique<MainWindowFixture>())->isValid()); }
    void cleanup() { QW_FINISH_MAIN_WINDOW(m_f); }

    // The window speaks the language chosen and stores what it fell back to;
    // the installed languages stay in the menu beside the user's.
    void languageFile()
    {
        using Row = std::array<QString, 4>; // userFile: name=content in the user's folder
        for (const auto& [userFile, configured, storedAfter, fileMenu] :
             {Row{"", "qwxyz.ini", "qweng.ini", "&File"},
              Row{"mine.ini=[MAIN]\nMenuFile=&Mine", "mine.ini", "mine.ini", "&Mine"}})
        {
            QDir user(m_f->home().filePath(u"Languages"_s));
            for (const auto& [name, content] : pairs(userFile))
            {
                QVERIFY(user.removeRecursively() && user.mkpath(u"."_s));
                QFile file(user.filePath(name));
                QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content.toUtf8()) > 0);
            }
            seed(u"LanguageFile"_s, configured);
            TfrmMain* window = m_f->create();
            QCOMPARE(stored(u"LanguageFile"_s), storedAfter);
            QCOMPARE(window->findChild<QToolButton*>("tbMenuFile")->text(), fileMenu);
            emit window->LanguagesMenu()->aboutToShow(); // the submenu is filled as it opens
            QStringList offered;
            for (QAction* action : window->LanguagesMenu()->actions())
                offered << action->data().toString().section(u'/', -1);
            QVERIFY(offered.contains(u"qweng.ini"_s) && offered.contains(u"qwdeu.ini"_s));
        }
    }

    void storedValuesSurviveTheRun_data()
    {
        QTest::addColumn<QString>("seeded"); // and stored after the run
        // Every value of the first row differs from its default, so a value
        // that is not read back or not written back shows.
        // clang-format off
        QTest::newRow("values read and written back") << "DisableALTShortcuts=1 OpenNewInForeground=1 AddressNewWin=1 QuickSearchNewWin=0 AutoCompleteStyle=IE4 ShowGo=1 VBAutoExpand=0 OpenNewAtEnd=1 VostelBarWidth=300 LimitTitleLength=20 SearchBar=http://127.0.0.1/search UsePopupVostel=0 ViewVostelBar=1 ViewToolbar=0 ViewAddressBar=0 ViewLinksBar=0 ViewStatusBar=0 VGCloseFirst=1 Left=40 Top=50 Width=640 Height=480";
        QTest::newRow("maximized keeps the stored position") << "Maximized=1 Left=123 Top=77 Width=501 Height=402";
        QTest::newRow("full screen keeps the window before it") << "FullScreen=1 Maximized=1 ViewStatusBar=0 Left=33";
        // clang-format on
    }
    void storedValuesSurviveTheRun()
    {
        QFETCH(QString, seeded);
        for (const auto& [name, text] : pairs(seeded))
            seed(name, text);
        TfrmMain* window = m_f->create();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        if (seeded.startsWith("Maximized=1"_L1))
            QVERIFY(window->isMaximized());
        if (seeded.contains("Width=640"_L1))
        {
            QVERIFY(window->StatusBar()->isHidden());
            QVERIFY(window->findChild<QWidget*>("pnlAddress")->isHidden());
            QCOMPARE(window->geometry().size(), QSize(640, 480));
        }
        m_f->closeWindow();

        for (const auto& [name, text] : pairs(seeded))
            QCOMPARE(name + u'=' + stored(name), name + u'=' + text);
        // Whatever is written is text, as every reader of the key expects.
        RegistryStore store(m_f->home().filePath(u"settings.sqlite"_s));
        for (const QString& name : store.valueNames(RegistryKeys::ValueKey))
            QVERIFY2(store.value(RegistryKeys::ValueKey, name)->type == RegValue::String,
                     qPrintable(name));
    }

    void settingsChangedDuringTheRunSurviveTheExit()
    {
        seed(u"OpenNewInForeground"_s, u"0"_s);
        seed(u"AutoRefresh"_s, u"30000"_s);
        // A value of the wrong type never stops the exit.
        QVERIFY(RegistryStore(m_f->home().filePath(u"settings.sqlite"_s))
                    .setDWord(RegistryKeys::ValueKey, u"StartupMode"_s, 1));
        TfrmMain* window = m_f->create();
        // Ctrl+F12 is for this run only.
        window->RunCommand(MainCommand::FlipOpenInForeground);
        QVERIFY(window->TabSet()->OpenNewInForeground);
        // A dialog's change is stored at once and is what the exit writes.
        window->ViewSettings()->SetViewToolbar(false);
        window->ViewSettings()->SetVostelBarWidth(-5);
        QCOMPARE(stored(u"ViewToolbar"_s), u"0"_s);
        m_f->closeWindow();
        // ViewStatusBar is written after the remembered sites, which read the
        // bad value. Never activated, the window never applied auto refresh,
        // so it does not store it.
        for (const auto& [name, text] :
             pairs(u"OpenNewInForeground=0 ViewToolbar=0 VostelBarWidth=234 "
                   "ViewStatusBar=1 AutoRefresh=30000"_s))
            QCOMPARE(name + u'=' + stored(name), name + u'=' + text);
    }

    void newTabFocusesTheAddressBox()
    {
        TfrmMain* window = m_f->createActive();
        QVERIFY(window);
        window->RunCommand(MainCommand::NewTab);
        QLineEdit* edit = window->findChild<QComboBox*>("cboAddress")->lineEdit();
        QTRY_COMPARE(QApplication::focusWidget(), edit->parentWidget());
        QCOMPARE(edit->selectedText(), edit->text());
        // The new tab's page arrives after the focus: typing still replaces it.
        window->ShowAddress(u"http://home.test/"_s);
        window->ShowAddress(u"http://home.test/arrived"_s);
        QTest::keyClicks(edit, u"typed"_s);
        QCOMPARE(edit->text(), u"typed"_s);
        // The text box keeps its own edit keys: the page gets none of them.
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(edit->selectedText(), u"typed"_s);
        QTest::qWait(50);
        QVERIFY(m_f->made.last()->editCommands.isEmpty());
    }

    // Answered either way with "don't ask again" checked, it is not asked again.
    void closeQuery()
    {
        m_f->expectDialogs();
        for (const auto& row : {std::pair{"cmdCancel", false}, std::pair{"cmdOK", true}})
        {
            seed(u"ConfirmShutdown"_s, u"1"_s);
            TfrmMain* window = m_f->create();
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            bool startedUnchecked = false;
            ModalDialogAnswerer answerer(
                [&](QWidget* dialog)
                {
                    auto* box = dialog->findChild<QCheckBox*>("chkConfirm");
                    startedUnchecked = !box->isChecked();
                    box->click();
                    dialog->findChild<QPushButton*>(row.first)->click();
                });
            QCOMPARE(window->close(), row.second);
            QVERIFY(startedUnchecked);
            QCOMPARE(window->isVisible(), !row.second);
            QCOMPARE(stored(u"ConfirmShutdown"_s), u"0"_s);
            QVERIFY(window->close());
            QCOMPARE(answerer.count(), 1);
        }
    }

    void downloadsGoWithTheWindow()
    {
        seed(u"ConfirmShutdown"_s, u"0"_s);
        TfrmMain* window = m_f->create();
        window->show();
        window->RunCommand(MainCommand::Downloads);
        const QPointer<TfrmDownloads> downloads = window->findChild<TfrmDownloads*>();
        QVERIFY(downloads && downloads->isVisible());

        // A download still running asks before the window closes.
        TDownloadList* list = TDownloadManager::instance()->list();
        const int row = list->add(u"/tmp/running.bin"_s, 100, {});
        m_f->expectDialogs();
        const char* button = "cmdCancel";
        ModalDialogAnswerer answerer([&](QWidget* dialog)
                                     { dialog->findChild<QPushButton*>(button)->click(); });
        QVERIFY(!window->close());
        button = "cmdOK";
        QVERIFY(window->close());
        QCOMPARE(answerer.count(), 2);
        list->setState(row, TDownloadList::Cancelled);
        m_f->closeWindow();
        QVERIFY(!downloads);
    }

    // F7 saves the tabs through the save dialog, F6 adds the front tab
    // through the open dialog, and the groups menu lists the new group and
    // opens it behind the tabs.
    void groupsThroughTheirMenu()
    {
        m_f->expectDialogs();
        TfrmMain* window = m_f->createActive(2);
        QVERIFY(window);
        m_f->made[0]->locationUrl = u"http://one.test/"_s;
        m_f->made[1]->locationUrl = u"http://two.test/"_s;
        const QString work = QDir(window->Groups()->RootFolder()).filePath("work.vgp");
        ModalDialogAnswerer answerer(
            [&](QWidget* dialog)
            {
                // Typed as a user types it: the dialog takes it however
                // far it has read its folder.
                auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                QVERIFY(name);
                name->setText(work);
                QTest::keyClick(name, Qt::Key_Return);
            });
        window->RunCommand(MainCommand::SaveTabsAsVostelGroup);
        window->RunCommand(MainCommand::AddToVostelGroup);
        QCOMPARE(answerer.count(), 2);
        const QString front = window->GetActivePage()->GetLocationURL();
        QCOMPARE(
            QStringList(TVostelGroup(nullptr, work)),
            (QStringList{"blank1=http://one.test/", "blank2=http://two.test/", "blank3=" + front}));

        QMenu* menu = window->MainMenu()->VostelGroupsMenu();
        emit menu->aboutToShow();
        QAction* item = menu->actions().constLast();
        QCOMPARE(item->text(), u"work"_s);
        item->trigger();
        QCOMPARE(window->TabSet()->Count(), 5);
        QCOMPARE(m_f->made.last()->navigations, QStringList{front});
    }

    void forwardsDuringTheStartQuestionWait()
    {
        m_f->expectDialogs();
        seed(u"AskDefaultBrowser"_s, u"1"_s);
        ModalDialogAnswerer answerer(
            [&](QWidget* dialog)
            {
                // A later copy forwards while the question is open.
                auto* receiver = dialog->parentWidget()->findChild<TStWMDataCopy*>("wmCopyData");
                QVERIFY(receiver);
                emit receiver->OnDataReceived(u"http://first.test/"_s);
                emit receiver->OnDataReceived(u"http://second.test/"_s);
                dialog->findChild<QPushButton*>("cmdCancel")->click();
            });
        m_f->create();
        QCOMPARE(answerer.count(), 1);
        QTRY_COMPARE(m_f->made.size(), 3);
        QCOMPARE(m_f->made[1]->navigations, QStringList{u"http://first.test/"_s});
        QCOMPARE(m_f->made[2]->navigations, QStringList{u"http://second.test/"_s});
    }

    // A script address from the command line or forwarded by a later start
    // is refused alike; a later start with nothing to open brings the
    // running window back.
    void forwardedAndScriptAddresses()
    {
        seed(u"CommandLine"_s, u"javascript:alert(1)"_s);
        TfrmMain* window = m_f->create();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QString refused = window->Services()->GetGlobalText(u"ScriptAddressRefused"_s);
        QTRY_COMPARE(window->StatusBar()->panelText(0), refused);
        // Pointing at things on the way to reading it must not wipe it.
        QStatusTipEvent passing{QString()};
        QApplication::sendEvent(window, &passing);
        QCOMPARE(window->StatusBar()->panelText(0), refused);

        window->ShowMessage(QString());
        window->wmCopyDataDataReceived(u" JavaScript:alert(2)"_s);
        QCOMPARE(window->StatusBar()->panelText(0), refused);

        window->showMinimized();
        QTRY_VERIFY(window->isMinimized());
        window->wmCopyDataDataReceived(QString());
        QTRY_VERIFY(!window->isMinimized());
    }
};

int main(int argc, char* argv[])
{
    // Before anything reads them: nothing of the real home is touched, even
    // by what runs before the first test.
    QTemporaryDir root(QDir::tempPath() + u"/qw-frm-root-XXXXXX"_s);
    if (!root.isValid())
        return 1;
    for (const char* name : {"QUILLWAVE_HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
        qputenv(name, QFile::encodeName(root.filePath(QString::fromLatin1(name))));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    TApplication app(argc, argv);
    tst_TfrmMain test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_TfrmMain.moc"

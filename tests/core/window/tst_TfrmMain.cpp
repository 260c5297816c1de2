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
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace
{
template <typename T> T* child(QWidget* parent, const char* name)
{
    return parent->findChild<T*>(QString::fromLatin1(name));
}

QAction* languageItem(QMenu* menu, const QString& fileName)
{
    emit menu->aboutToShow(); // the submenu is filled as it opens
    for (QAction* action : menu->actions())
        if (action->data().toString().endsWith(QLatin1Char('/') + fileName))
            return action;
    return nullptr;
}

// "Name=text Name=text": the values a row seeds or expects.
QList<std::pair<QString, QString>> pairs(const QString& text)
{
    QList<std::pair<QString, QString>> list;
    for (const QString& pair : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        list.append({pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1)});
    return list;
}
} // namespace

class tst_TfrmMain : public QObject
{
    Q_OBJECT

private slots:
    // A second start with nothing to open brings the running window back.
    void forwardedArgumentRestoresWindow()
    {
        TfrmMain* window = m_f->create();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->showMinimized();
        QTRY_VERIFY(window->isMinimized());
        window->wmCopyDataDataReceived(QString());
        QTRY_VERIFY(!window->isMinimized());
    }
    void init()
    {
        m_f = std::make_unique<MainWindowFixture>();
        QVERIFY(m_f->isValid());
    }

    void cleanup() { QW_FINISH_MAIN_WINDOW(m_f); }

    void languageFile_data()
    {
        QTest::addColumn<QString>("userFile"); // name=content in the user's folder
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("storedAfter");
        QTest::addColumn<QString>("fileMenu");

        // The window speaks the language chosen and stores what it fell back to.
        // clang-format off
        QTest::newRow("missing file")                  << ""                                  << "qwxyz.ini"              << "qweng.ini" << "&File";
        QTest::newRow("own language, texts missing")   << "mine.ini=[MAIN]\nMenuFile=&Mine"   << "mine.ini"               << "mine.ini"  << "&Mine";
        // clang-format on
    }

    void languageFile()
    {
        QFETCH(QString, userFile);
        QFETCH(QString, configured);
        QFETCH(QString, storedAfter);
        QFETCH(QString, fileMenu);

        if (!userFile.isEmpty())
        {
            QDir user(m_f->home().filePath(QStringLiteral("Languages")));
            QVERIFY(user.removeRecursively() && user.mkpath(QStringLiteral(".")));
            QFile file(user.filePath(userFile.section(QLatin1Char('='), 0, 0)));
            const QString content = userFile.section(QLatin1Char('='), 1);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content.toUtf8()) > 0);
        }
        seed(QStringLiteral("LanguageFile"), configured);

        TfrmMain* window = m_f->create();
        QCOMPARE(stored(QStringLiteral("LanguageFile")), storedAfter);
        QCOMPARE(child<QToolButton>(window, "tbMenuFile")->text(), fileMenu);
        // The installed languages stay in the menu beside the user's.
        QVERIFY(languageItem(window->LanguagesMenu(), QStringLiteral("qweng.ini")));
        QVERIFY(languageItem(window->LanguagesMenu(), QStringLiteral("qwdeu.ini")));
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
        if (seeded.startsWith(QLatin1String("Maximized=1")))
            QVERIFY(window->isMaximized());
        if (seeded.contains(QLatin1String("Width=640")))
        {
            QVERIFY(window->StatusBar()->isHidden());
            QVERIFY(child<QWidget>(window, "pnlAddress")->isHidden());
            QCOMPARE(window->geometry().size(), QSize(640, 480));
        }
        m_f->closeWindow();

        for (const auto& [name, text] : pairs(seeded))
            QCOMPARE(name + QLatin1Char('=') + stored(name), name + QLatin1Char('=') + text);
        // Whatever is written is text, as every reader of the key expects.
        RegistryStore store(m_f->home().filePath(QStringLiteral("settings.sqlite")));
        for (const QString& name : store.valueNames(RegistryKeys::ValueKey))
            QVERIFY2(store.value(RegistryKeys::ValueKey, name)->type == RegValue::String,
                     qPrintable(name));
    }

    void settingsChangedDuringTheRunSurviveTheExit()
    {
        seed(QStringLiteral("OpenNewInForeground"), QStringLiteral("0"));
        TfrmMain* window = m_f->create();
        // Ctrl+F12 is for this run only.
        window->RunCommand(MainCommand::FlipOpenInForeground);
        QVERIFY(window->TabSet()->OpenNewInForeground);
        // A dialog's change is stored at once and is what the exit writes.
        window->ViewSettings()->SetViewToolbar(false);
        window->ViewSettings()->SetVostelBarWidth(-5);
        QCOMPARE(stored(QStringLiteral("ViewToolbar")), QStringLiteral("0"));
        m_f->closeWindow();
        QCOMPARE(stored(QStringLiteral("OpenNewInForeground")), QStringLiteral("0"));
        QCOMPARE(stored(QStringLiteral("ViewToolbar")), QStringLiteral("0"));
        QCOMPARE(stored(QStringLiteral("VostelBarWidth")), QStringLiteral("234"));
    }

    void wrongTypeNeverStopsTheExit()
    {
        seed(QStringLiteral("AutoRefresh"), QStringLiteral("30000"));
        {
            RegistryStore store(m_f->home().filePath(QStringLiteral("settings.sqlite")));
            QVERIFY(store.setDWord(RegistryKeys::ValueKey, QStringLiteral("StartupMode"), 1));
        }
        m_f->create();
        m_f->closeWindow();
        // Written after the remembered sites, which read the bad value.
        QCOMPARE(stored(QStringLiteral("ViewStatusBar")), QStringLiteral("1"));
        // Never activated: auto refresh was never applied, so it is not stored.
        QCOMPARE(stored(QStringLiteral("AutoRefresh")), QStringLiteral("30000"));
    }

    void newTabFocusesTheAddressBox()
    {
        TfrmMain* window = m_f->createActive();
        QVERIFY(window);
        window->RunCommand(MainCommand::NewTab);
        auto* box = child<QComboBox>(window, "cboAddress");
        QTRY_COMPARE(QApplication::focusWidget(), box);
        QCOMPARE(box->lineEdit()->selectedText(), box->lineEdit()->text());
        // The new tab's page arrives after the focus: typing still replaces it.
        window->ShowAddress(QStringLiteral("http://home.test/"));
        window->ShowAddress(QStringLiteral("http://home.test/arrived"));
        QTest::keyClicks(box->lineEdit(), QStringLiteral("typed"));
        QCOMPARE(box->lineEdit()->text(), QStringLiteral("typed"));
    }

    void closeQuery_data()
    {
        // Answered with "don't ask again" checked.
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("closes");
        QTest::newRow("no, don't ask again") << "cmdCancel" << false;
        QTest::newRow("yes, don't ask again") << "cmdOK" << true;
    }

    void closeQuery()
    {
        QFETCH(QString, button);
        QFETCH(bool, closes);

        m_f->expectDialogs();
        TfrmMain* window = m_f->create();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        bool startedUnchecked = false;
        ModalDialogAnswerer answerer(
            [&](QWidget* dialog)
            {
                auto* box = child<QCheckBox>(dialog, "chkConfirm");
                startedUnchecked = !box->isChecked();
                box->click();
                child<QPushButton>(dialog, button.toLatin1().constData())->click();
            });
        QCOMPARE(window->close(), closes);
        QCOMPARE(answerer.count(), 1);
        QVERIFY(startedUnchecked);
        QCOMPARE(window->isVisible(), !closes);
        QCOMPARE(stored(QStringLiteral("ConfirmShutdown")), QStringLiteral("0"));
        if (closes)
            return;
        // Not asked again.
        QVERIFY(window->close());
        QCOMPARE(answerer.count(), 1);
    }

    void downloadsGoWithTheWindow()
    {
        seed(QStringLiteral("ConfirmShutdown"), QStringLiteral("0"));
        TfrmMain* window = m_f->create();
        window->show();
        window->RunCommand(MainCommand::Downloads);
        const QPointer<TfrmDownloads> downloads = window->findChild<TfrmDownloads*>();
        QVERIFY(downloads && downloads->isVisible());

        // A download still running asks before the window closes.
        TDownloadList* list = TDownloadManager::instance()->list();
        const int row = list->add(QStringLiteral("/tmp/running.bin"), 100, {});
        m_f->expectDialogs();
        const char* button = "cmdCancel";
        ModalDialogAnswerer answerer([&](QWidget* dialog)
                                     { child<QPushButton>(dialog, button)->click(); });
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
        m_f->made[0]->locationUrl = QStringLiteral("http://one.test/");
        m_f->made[1]->locationUrl = QStringLiteral("http://two.test/");
        const QString work = QDir(window->Groups()->RootFolder()).filePath("work.vgp");
        ModalDialogAnswerer answerer(
            [&](QWidget* dialog)
            {
                auto* files = qobject_cast<QFileDialog*>(dialog);
                QVERIFY(files);
                // Typed as a user types it: the dialog takes it however
                // far it has read its folder.
                auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
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
        QCOMPARE(item->text(), QStringLiteral("work"));
        item->trigger();
        QCOMPARE(window->TabSet()->Count(), 5);
        QCOMPARE(m_f->made.last()->navigations, QStringList{front});
    }

    void forwardsDuringTheStartQuestionWait()
    {
        m_f->expectDialogs();
        seed(QStringLiteral("AskDefaultBrowser"), QStringLiteral("1"));
        ModalDialogAnswerer answerer(
            [&](QWidget* dialog)
            {
                // A later copy forwards while the question is open.
                auto* receiver = dialog->parentWidget()->findChild<TStWMDataCopy*>("wmCopyData");
                QVERIFY(receiver);
                emit receiver->OnDataReceived(QStringLiteral("http://first.test/"));
                emit receiver->OnDataReceived(QStringLiteral("http://second.test/"));
                child<QPushButton>(dialog, "cmdCancel")->click();
            });
        m_f->create();
        QCOMPARE(answerer.count(), 1);
        QTRY_COMPARE(m_f->made.size(), 3);
        QCOMPARE(m_f->made[1]->navigations, QStringList{QStringLiteral("http://first.test/")});
        QCOMPARE(m_f->made[2]->navigations, QStringList{QStringLiteral("http://second.test/")});
    }

    void scriptAddressesAreReportedAlike()
    {
        seed(QStringLiteral("CommandLine"), QStringLiteral("javascript:alert(1)"));
        TfrmMain* window = m_f->create();
        const QString refused =
            window->Services()->GetGlobalText(QStringLiteral("ScriptAddressRefused"));
        QTRY_COMPARE(window->StatusBar()->panelText(0), refused);
        // Pointing at things on the way to reading it must not wipe it.
        QStatusTipEvent passing{QString()};
        QApplication::sendEvent(window, &passing);
        QCOMPARE(window->StatusBar()->panelText(0), refused);

        window->ShowMessage(QString());
        window->wmCopyDataDataReceived(QStringLiteral(" JavaScript:alert(2)"));
        QCOMPARE(window->StatusBar()->panelText(0), refused);
    }

private:
    void seed(const QString& name, const QString& text) { QVERIFY(m_f->seed(name, text)); }
    QString stored(const QString& name) const { return m_f->stored(name); }

    std::unique_ptr<MainWindowFixture> m_f;
};

int main(int argc, char* argv[])
{
    // Before anything reads them: nothing of the real home is touched, even
    // by what runs before the first test.
    QTemporaryDir root(QDir::tempPath() + QStringLiteral("/qw-frm-root-XXXXXX"));
    if (!root.isValid())
        return 1;
    qputenv("QUILLWAVE_HOME", QFile::encodeName(root.filePath(QStringLiteral("home"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(root.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath(QStringLiteral("data"))));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    TApplication app(argc, argv);
    tst_TfrmMain test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_TfrmMain.moc"

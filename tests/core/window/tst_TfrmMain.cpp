#include "FakeBrowserControl.h"
#include "MainWindowHome.h"
#include "ModalDialogAnswerer.h"
#include "chrome/TDefaultBrowser.h"
#include "chrome/TUserAgentToken.h"
#include "components/TQWStatusBar.h"
#include "core/dialogs/TfrmConfirm.h"
#include "core/dialogs/TfrmDownloads.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/TDownloadList.h"
#include "core/engine/TDownloadManager.h"
#include "core/instance/TStWMDataCopy.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainViewSettings.h"
#include "core/window/TApplication.h"
#include "core/window/TfrmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace
{
const QString Missing = QStringLiteral("<missing>");

// Every text a user can see on obj that still holds a language placeholder
// or a failed lookup, as "object.property: text".
QStringList untranslatedTexts(QObject* root)
{
    static const char* const properties[] = {"windowTitle", "toolTip",        "statusTip",
                                             "whatsThis",   "text",           "title",
                                             "iconText",    "placeholderText"};
    QStringList found;
    QList<QObject*> objects = root->findChildren<QObject*>();
    objects.prepend(root);
    for (QObject* object : std::as_const(objects))
    {
        for (const char* property : properties)
        {
            const QVariant value = object->property(property);
            if (value.typeId() != QMetaType::QString)
                continue;
            const QString text = value.toString();
            if (text.contains(QLatin1String("__")) || text.contains(QLatin1String("~~")) ||
                text.contains(QLatin1String("UNDEFINED")))
            {
                found << QStringLiteral("%1(%2).%3: %4")
                             .arg(QString::fromLatin1(object->metaObject()->className()),
                                  object->objectName(), QString::fromLatin1(property), text);
            }
        }
    }
    return found;
}

template <typename T> T* child(QWidget* parent, const char* name)
{
    return parent->findChild<T*>(QString::fromLatin1(name));
}

QAction* languageItem(QMenu* menu, const QString& fileName)
{
    emit menu->aboutToShow(); // the submenu is filled as it opens
    for (QAction* action : menu->actions())
    {
        if (action->data().toString().endsWith(QLatin1Char('/') + fileName))
            return action;
    }
    return nullptr;
}
} // namespace

class tst_TfrmMain : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void caption_data();
    void caption();
    void noPlaceholderLeft_data();
    void noPlaceholderLeft();
    void languageFile_data();
    void languageFile();
    void userLanguageFolder_data();
    void userLanguageFolder();

    void destroyWritesEverythingAsStrings();
    void destroyKeepsStoredValues();
    void settingsChangedDuringTheRunSurviveTheExit();
    void wrongTypeNeverStopsTheExit();
    void hiddenAddressBarStaysHidden();
    void newTabFocusesTheAddressBox();
    void maximizedKeepsStoredPosition();
    void fullScreenKeepsStatusBarSetting();
    void negativePositionStoredAsZero();
    void userAgentTokenLivesWithWindow();

    void closeQuery_data();
    void closeQuery();
    void noQuestionAfterDontAsk();
    void closeWithoutQuestionsNeverAsks();
    void closeWithoutQuestionsEndsOpenQuestion();

    void hintShowsLongPart_data();
    void hintShowsLongPart();
    void languageSwitchShowsRestartNote();
    void forwardedArgumentRestoresWindow_data();
    void forwardedArgumentRestoresWindow();
    void defaultBrowserPrompt_data();
    void defaultBrowserPrompt();
    void forwardsDuringTheStartQuestionWait();
    void scriptAddressesAreReportedAlike();
    void downloadsGoWithTheWindow();

private:
    std::unique_ptr<TfrmMain> createWindow();
    void seed(const QString& name, const QString& text) { QVERIFY(m_home->seed(name, text)); }
    QString stored(const QString& name) const { return m_home->stored(name); }
    QString homePath() const { return m_home->path(); }

    std::unique_ptr<MainWindowHome> m_home;
    // Rejects and counts any question a test does not expect, so that an
    // unexpected dialog fails the test instead of hanging it.
    std::unique_ptr<ModalDialogAnswerer> m_unexpected;
};

void tst_TfrmMain::init()
{
    // The program folder, and the desktop's folders the default-browser
    // check reads and writes, all belong to this test.
    m_home = std::make_unique<MainWindowHome>();
    QVERIFY(m_home->isValid());
    m_unexpected = std::make_unique<ModalDialogAnswerer>();
}

void tst_TfrmMain::cleanup()
{
    const QStringList dialogs = m_unexpected->classNames();
    m_unexpected.reset();
    m_home.reset();
    QVERIFY2(dialogs.isEmpty(), qPrintable(QStringLiteral("unexpected dialogs: ") +
                                           dialogs.join(QStringLiteral(", "))));
}

std::unique_ptr<TfrmMain> tst_TfrmMain::createWindow()
{
    // The window's life cycle does not need the engine; the program's own
    // end-to-end test runs it with the real one.
    return std::make_unique<TfrmMain>(FakeBrowserControl::factory());
}

void tst_TfrmMain::caption_data()
{
    QTest::addColumn<QString>("sponsor");
    QTest::addColumn<QString>("caption");

    QTest::newRow("empty store") << QString() << "Quillwave";
    QTest::newRow("empty sponsor") << ""
                                   << "Quillwave";
    QTest::newRow("sponsor") << "Acme"
                             << "Acme - Quillwave";
}

void tst_TfrmMain::caption()
{
    QFETCH(QString, sponsor);
    QFETCH(QString, caption);
    if (!sponsor.isNull())
        seed(QStringLiteral("SponsorCaption"), sponsor);
    auto window = createWindow();
    QCOMPARE(window->windowTitle(), caption);
}

void tst_TfrmMain::noPlaceholderLeft_data()
{
    QTest::addColumn<QString>("languageFile");
    QTest::newRow("English") << "qweng.ini";
    QTest::newRow("German") << "qwdeu.ini";
}

void tst_TfrmMain::noPlaceholderLeft()
{
    QFETCH(QString, languageFile);
    seed(QStringLiteral("LanguageFile"), languageFile);
    auto window = createWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    // The languages submenu is filled when it opens: open it too.
    QVERIFY(languageItem(window->LanguagesMenu(), QStringLiteral("qweng.ini")));
    const QStringList left = untranslatedTexts(window.get());
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));
}

void tst_TfrmMain::languageFile_data()
{
    QTest::addColumn<QString>("configured");
    QTest::addColumn<QString>("storedAfter");
    QTest::addColumn<QString>("fileMenu");
    QTest::addColumn<QString>("exitItem");

    QTest::newRow("nothing stored") << QString() << Missing << "&File"
                                    << "E&xit";
    QTest::newRow("missing file") << "qwxyz.ini"
                                  << "qweng.ini"
                                  << "&File"
                                  << "E&xit";
    QTest::newRow("outside the folder") << "../Languages/qwdeu.ini"
                                        << "qweng.ini"
                                        << "&File"
                                        << "E&xit";
    QTest::newRow("German") << "qwdeu.ini"
                            << "qwdeu.ini"
                            << "Datei"
                            << "&Beenden";
}

void tst_TfrmMain::languageFile()
{
    QFETCH(QString, configured);
    QFETCH(QString, storedAfter);
    QFETCH(QString, fileMenu);
    QFETCH(QString, exitItem);

    if (!configured.isNull())
        seed(QStringLiteral("LanguageFile"), configured);
    auto window = createWindow();
    QCOMPARE(stored(QStringLiteral("LanguageFile")), storedAfter);
    QCOMPARE(child<QToolButton>(window.get(), "tbMenuFile")->text(), fileMenu);
    auto* exit = window->findChild<QAction*>(QStringLiteral("mnuExit"));
    QVERIFY(exit);
    QCOMPARE(exit->text(), exitItem);
}

void tst_TfrmMain::userLanguageFolder_data()
{
    QTest::addColumn<QString>("userFiles"); // name=content; content "BIG" makes a 17 MiB file
    QTest::addColumn<QString>("configured");
    QTest::addColumn<QString>("storedAfter");
    QTest::addColumn<QString>("fileMenu");
    QTest::addColumn<QString>("exitItem");

    // The installed files are those beside the test program; the user's
    // folder is the home's.
    // clang-format off
    QTest::newRow("junk file beside")           << "junk.ini=\x01\x02[[[=" << QString()   << Missing     << "&File"  << "E&xit";
    QTest::newRow("junk file, German chosen")   << "junk.ini=\x01\x02[[[=" << "qwdeu.ini" << "qwdeu.ini" << "Datei"  << "&Beenden";
    QTest::newRow("oversized file beside")      << "big.ini=BIG"             << "qweng.ini" << "qweng.ini" << "&File"  << "E&xit";
    QTest::newRow("oversized file chosen")      << "big.ini=BIG"             << "big.ini"   << "big.ini"   << "&File"  << "E&xit";
    QTest::newRow("own language, texts missing") << "mine.ini=[MAIN]\nMenuFile=&Mine" << "mine.ini" << "mine.ini" << "&Mine" << "E&xit";
    QTest::newRow("own copy of an installed name") << "qwdeu.ini=[MAIN]\nMenuFile=&Meine" << "qwdeu.ini" << "qwdeu.ini" << "&Meine" << "E&xit";
    QTest::newRow("chosen file gone")           << "junk.ini=x"              << "gone.ini"  << "qweng.ini" << "&File"  << "E&xit";
    // clang-format on
}

void tst_TfrmMain::userLanguageFolder()
{
    QFETCH(QString, userFiles);
    QFETCH(QString, configured);
    QFETCH(QString, storedAfter);
    QFETCH(QString, fileMenu);
    QFETCH(QString, exitItem);

    QDir user(m_home->filePath(QStringLiteral("Languages")));
    QVERIFY(user.removeRecursively() && user.mkpath(QStringLiteral(".")));
    {
        const QString& pair = userFiles;
        const QString name = pair.section(QLatin1Char('='), 0, 0);
        const QString content = pair.section(QLatin1Char('='), 1, -1);
        QFile file(user.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (content == QLatin1String("BIG"))
            QVERIFY(file.write("[MAIN]\nMenuFile=Big\n") > 0 && file.resize(17 * 1024 * 1024));
        else
            QVERIFY(file.write(content.toUtf8()) >= 0);
    }
    if (!configured.isNull())
        seed(QStringLiteral("LanguageFile"), configured);

    auto window = createWindow();
    QCOMPARE(stored(QStringLiteral("LanguageFile")), storedAfter);
    QCOMPARE(child<QToolButton>(window.get(), "tbMenuFile")->text(), fileMenu);
    auto* exit = window->findChild<QAction*>(QStringLiteral("mnuExit"));
    QVERIFY(exit);
    QCOMPARE(exit->text(), exitItem);
    // The installed languages stay in the menu beside the user's.
    QVERIFY(languageItem(window->LanguagesMenu(), QStringLiteral("qweng.ini")));
    QVERIFY(languageItem(window->LanguagesMenu(), QStringLiteral("qwdeu.ini")));
}

void tst_TfrmMain::destroyWritesEverythingAsStrings()
{
    createWindow().reset();
    // Which values come back is destroyKeepsStoredValues' question; here:
    // whatever came back is text, as every reader of the key expects.
    RegistryStore store(m_home->filePath(QStringLiteral("settings.sqlite")));
    const QStringList written = store.valueNames(RegistryKeys::ValueKey);
    QVERIFY(!written.isEmpty());
    for (const QString& name : written)
        QVERIFY2(store.value(RegistryKeys::ValueKey, name)->type == RegValue::String,
                 qPrintable(name));
    // Defaults are written in their stored form.
    QCOMPARE(stored(QStringLiteral("ViewStatusBar")), QStringLiteral("1"));
    QCOMPARE(stored(QStringLiteral("Maximized")), QStringLiteral("0"));
    QCOMPARE(stored(QStringLiteral("AutoCompleteStyle")), QStringLiteral("IE5"));
    QCOMPARE(stored(QStringLiteral("LimitTitleLength")), QStringLiteral("35"));
}

void tst_TfrmMain::destroyKeepsStoredValues()
{
    // Every value differs from its default, so a value that is not read back
    // or not written back shows.
    const QList<std::pair<QString, QString>> values = {{"DisableALTShortcuts", "1"},
                                                       {"OpenNewInForeground", "1"},
                                                       {"AddressNewWin", "1"},
                                                       {"QuickSearchNewWin", "0"},
                                                       {"AutoCompleteStyle", "IE4"},
                                                       {"ShowGo", "1"},
                                                       {"VBAutoExpand", "0"},
                                                       {"OpenNewAtEnd", "1"},
                                                       {"VostelBarWidth", "300"},
                                                       {"LimitTitleLength", "20"},
                                                       {"SearchBar", "http://127.0.0.1/search"},
                                                       {"UsePopupVostel", "0"},
                                                       {"ViewVostelBar", "1"},
                                                       {"ViewToolbar", "0"},
                                                       {"ViewAddressBar", "0"},
                                                       {"ViewLinksBar", "0"},
                                                       {"ViewStatusBar", "0"},
                                                       {"VGCloseFirst", "1"},
                                                       {"Left", "40"},
                                                       {"Top", "50"},
                                                       {"Width", "640"},
                                                       {"Height", "480"}};
    for (const auto& [name, text] : values)
        seed(name, text);

    auto window = createWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(window->StatusBar()->isHidden());
    QCOMPARE(window->geometry().size(), QSize(640, 480));
    window.reset();

    for (const auto& [name, text] : values)
        QCOMPARE(name + QLatin1Char('=') + stored(name), name + QLatin1Char('=') + text);
}

void tst_TfrmMain::settingsChangedDuringTheRunSurviveTheExit()
{
    seed(QStringLiteral("OpenNewInForeground"), QStringLiteral("0"));
    auto window = createWindow();
    // Ctrl+F12 is for this run only.
    window->RunCommand(MainCommand::FlipOpenInForeground);
    QVERIFY(window->TabSet()->OpenNewInForeground);
    // A dialog's change is stored at once and is what the exit writes.
    window->ViewSettings()->SetViewToolbar(false);
    window->ViewSettings()->SetVostelBarWidth(-5);
    QCOMPARE(stored(QStringLiteral("ViewToolbar")), QStringLiteral("0"));
    window.reset();
    QCOMPARE(stored(QStringLiteral("OpenNewInForeground")), QStringLiteral("0"));
    QCOMPARE(stored(QStringLiteral("ViewToolbar")), QStringLiteral("0"));
    QCOMPARE(stored(QStringLiteral("VostelBarWidth")), QStringLiteral("234"));
}

void tst_TfrmMain::wrongTypeNeverStopsTheExit()
{
    seed(QStringLiteral("AutoRefresh"), QStringLiteral("30000"));
    {
        RegistryStore store(m_home->filePath(QStringLiteral("settings.sqlite")));
        QVERIFY(store.setDWord(RegistryKeys::ValueKey, QStringLiteral("StartupMode"), 1));
    }
    createWindow().reset();
    // Written after the remembered sites, which read the bad value.
    QCOMPARE(stored(QStringLiteral("ViewStatusBar")), QStringLiteral("1"));
    // Never activated: auto refresh was never applied, so it is not stored.
    QCOMPARE(stored(QStringLiteral("AutoRefresh")), QStringLiteral("30000"));
}

void tst_TfrmMain::hiddenAddressBarStaysHidden()
{
    seed(QStringLiteral("ViewAddressBar"), QStringLiteral("0"));
    auto window = createWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(child<QWidget>(window.get(), "pnlAddress")->isHidden());
    window.reset();
    QCOMPARE(stored(QStringLiteral("ViewAddressBar")), QStringLiteral("0"));
}

void tst_TfrmMain::newTabFocusesTheAddressBox()
{
    auto window = createWindow();
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    window->RunCommand(MainCommand::NewTab);
    auto* box = child<QComboBox>(window.get(), "cboAddress");
    QTRY_COMPARE(QApplication::focusWidget(), box);
    QCOMPARE(box->lineEdit()->selectedText(), box->lineEdit()->text());
    // The new tab's page arrives after the focus: typing still replaces it.
    window->ShowAddress(QStringLiteral("http://home.test/"));
    window->ShowAddress(QStringLiteral("http://home.test/arrived"));
    QTest::keyClicks(box->lineEdit(), QStringLiteral("typed"));
    QCOMPARE(box->lineEdit()->text(), QStringLiteral("typed"));
}

void tst_TfrmMain::maximizedKeepsStoredPosition()
{
    seed(QStringLiteral("Maximized"), QStringLiteral("1"));
    seed(QStringLiteral("Left"), QStringLiteral("123"));
    seed(QStringLiteral("Top"), QStringLiteral("77"));
    seed(QStringLiteral("Width"), QStringLiteral("501"));
    seed(QStringLiteral("Height"), QStringLiteral("402"));

    auto window = createWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(window->isMaximized());
    QVERIFY(window->size() != QSize(501, 402));
    window.reset();

    QCOMPARE(stored(QStringLiteral("Maximized")), QStringLiteral("1"));
    QCOMPARE(stored(QStringLiteral("Left")), QStringLiteral("123"));
    QCOMPARE(stored(QStringLiteral("Top")), QStringLiteral("77"));
    QCOMPARE(stored(QStringLiteral("Width")), QStringLiteral("501"));
    QCOMPARE(stored(QStringLiteral("Height")), QStringLiteral("402"));
}

void tst_TfrmMain::fullScreenKeepsStatusBarSetting()
{
    seed(QStringLiteral("FullScreen"), QStringLiteral("1"));
    seed(QStringLiteral("Maximized"), QStringLiteral("1"));
    seed(QStringLiteral("ViewStatusBar"), QStringLiteral("0"));
    seed(QStringLiteral("Left"), QStringLiteral("33"));

    createWindow().reset();

    QCOMPARE(stored(QStringLiteral("FullScreen")), QStringLiteral("1"));
    QCOMPARE(stored(QStringLiteral("Maximized")), QStringLiteral("0"));
    QCOMPARE(stored(QStringLiteral("ViewStatusBar")), QStringLiteral("0"));
    QCOMPARE(stored(QStringLiteral("Left")), QStringLiteral("33"));
}

void tst_TfrmMain::negativePositionStoredAsZero()
{
    seed(QStringLiteral("Width"), QStringLiteral("600"));
    seed(QStringLiteral("Height"), QStringLiteral("400"));
    auto window = createWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->move(-50, -30);
    QTRY_COMPARE(window->pos(), QPoint(-50, -30));
    window.reset();

    QCOMPARE(stored(QStringLiteral("Left")), QStringLiteral("0"));
    QCOMPARE(stored(QStringLiteral("Top")), QStringLiteral("0"));
    QCOMPARE(stored(QStringLiteral("Width")), QStringLiteral("600"));
    QCOMPARE(stored(QStringLiteral("Height")), QStringLiteral("400"));
}

void tst_TfrmMain::userAgentTokenLivesWithWindow()
{
    const auto tokens = [this]
    { return TUserAgentToken::Tokens(RegistryStore(m_home->filePath("settings.sqlite"))); };
    QVERIFY(!tokens().contains(TUserAgentToken::TokenName));
    auto window = createWindow();
    QVERIFY(tokens().contains(TUserAgentToken::TokenName));
    QCOMPARE(tokens().count(TUserAgentToken::TokenName), 1);
    window.reset();
    QVERIFY(!tokens().contains(TUserAgentToken::TokenName));
}

void tst_TfrmMain::closeQuery_data()
{
    QTest::addColumn<bool>("check");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("confirmAfter");

    QTest::newRow("yes") << false << "cmdOK" << true << Missing;
    QTest::newRow("no") << false << "cmdCancel" << false << Missing;
    QTest::newRow("no, don't ask again") << true << "cmdCancel" << false << "0";
    QTest::newRow("yes, don't ask again") << true << "cmdOK" << true << "0";
}

void tst_TfrmMain::closeQuery()
{
    QFETCH(bool, check);
    QFETCH(QString, button);
    QFETCH(bool, closes);
    QFETCH(QString, confirmAfter);

    m_unexpected->stop();
    auto window = createWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    QStringList texts;
    bool startedUnchecked = false;
    ModalDialogAnswerer answerer(
        [&](QWidget* dialog)
        {
            QVERIFY(qobject_cast<TfrmConfirm*>(dialog));
            auto* box = child<QCheckBox>(dialog, "chkConfirm");
            texts << dialog->windowTitle() << child<QLabel>(dialog, "lblTitle")->text()
                  << child<QPlainTextEdit>(dialog, "mmoPrompt2")->toPlainText()
                  << child<QPushButton>(dialog, "cmdOK")->text()
                  << child<QPushButton>(dialog, "cmdCancel")->text() << box->text();
            startedUnchecked = !box->isChecked();
            if (check)
                box->click();
            child<QPushButton>(dialog, button.toLatin1().constData())->click();
        });
    QCOMPARE(window->close(), closes);
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(texts, QStringList({"Exit Quillwave", "Exit Quillwave?", "Do you want to continue?",
                                 "Yes", "No", "Don't ask me again"}));
    QVERIFY(startedUnchecked);
    QCOMPARE(window->isVisible(), !closes);
    QCOMPARE(stored(QStringLiteral("ConfirmShutdown")), confirmAfter);
}

void tst_TfrmMain::noQuestionAfterDontAsk()
{
    m_unexpected->stop();
    auto window = createWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    {
        ModalDialogAnswerer answerer(
            [](QWidget* dialog)
            {
                child<QCheckBox>(dialog, "chkConfirm")->click();
                child<QPushButton>(dialog, "cmdCancel")->click();
            });
        QVERIFY(!window->close());
        QCOMPARE(answerer.count(), 1);
    }
    QVERIFY(window->isVisible());
    QCOMPARE(stored(QStringLiteral("ConfirmShutdown")), QStringLiteral("0"));

    ModalDialogAnswerer watchdog;
    QVERIFY(window->close());
    QCOMPARE(watchdog.count(), 0);
    QVERIFY(!window->isVisible());
}

void tst_TfrmMain::closeWithoutQuestionsNeverAsks()
{
    seed(QStringLiteral("ConfirmShutdown"), QStringLiteral("1"));
    auto window = createWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->CloseWithoutQuestions();
    QVERIFY(!window->isVisible());
    QCOMPARE(m_unexpected->count(), 0);
    QCOMPARE(stored(QStringLiteral("ConfirmShutdown")), QStringLiteral("1"));
}

void tst_TfrmMain::closeWithoutQuestionsEndsOpenQuestion()
{
    // A termination signal arriving while the shut-down question is open.
    m_unexpected->stop();
    auto window = createWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    ModalDialogAnswerer answerer([&](QWidget*) { window->CloseWithoutQuestions(); });
    window->close();
    QCOMPARE(answerer.count(), 1);
    QVERIFY(!window->isVisible());
    QVERIFY(!QApplication::activeModalWidget());
}

void tst_TfrmMain::hintShowsLongPart_data()
{
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("panel");

    // clang-format off
    QTest::newRow("short, long and more") << "short|long\nmore" << "more";
    QTest::newRow("plain") << "plain" << "plain";
    QTest::newRow("short and long") << "Open|Opens a page" << "Opens a page";
    // The hint is gone: the program's message that was there comes back.
    QTest::newRow("hint ends") << "" << "before";
    // clang-format on
}

void tst_TfrmMain::hintShowsLongPart()
{
    QFETCH(QString, hint);
    QFETCH(QString, panel);
    auto window = createWindow();
    window->StatusBar()->setPanelText(0, QStringLiteral("before"));
    QStatusTipEvent tip(hint);
    QApplication::sendEvent(window.get(), &tip);
    QCOMPARE(window->StatusBar()->panelText(0), panel);

    // Hints of the window's own items arrive the same way.
    auto* exit = window->findChild<QAction*>(QStringLiteral("mnuExit"));
    exit->showStatusText(window.get());
    QCOMPARE(window->StatusBar()->panelText(0), QStringLiteral("Closes Quillwave"));
}

void tst_TfrmMain::languageSwitchShowsRestartNote()
{
    m_unexpected->stop();
    auto window = createWindow();
    QAction* german = languageItem(window->LanguagesMenu(), QStringLiteral("qwdeu.ini"));
    QVERIFY(german);
    QAction* english = languageItem(window->LanguagesMenu(), QStringLiteral("qweng.ini"));
    QVERIFY(english && english->isChecked());
    german = languageItem(window->LanguagesMenu(), QStringLiteral("qwdeu.ini"));

    struct Seen
    {
        QString caption, prompt, ok;
        bool okShown = false, cancelShown = true, boxShown = true, titleShown = true;
    } seen;
    ModalDialogAnswerer answerer(
        [&](QWidget* dialog)
        {
            QVERIFY(qobject_cast<TfrmConfirm*>(dialog));
            seen.caption = dialog->windowTitle();
            seen.prompt = child<QPlainTextEdit>(dialog, "mmoPrompt2")->toPlainText();
            seen.ok = child<QPushButton>(dialog, "cmdOK")->text();
            seen.okShown = child<QPushButton>(dialog, "cmdOK")->isVisible();
            seen.cancelShown = child<QPushButton>(dialog, "cmdCancel")->isVisible();
            seen.boxShown = child<QCheckBox>(dialog, "chkConfirm")->isVisible();
            seen.titleShown = child<QLabel>(dialog, "lblTitle")->isVisible();
            child<QPushButton>(dialog, "cmdOK")->click();
        });
    german->trigger();
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(stored(QStringLiteral("LanguageFile")), QStringLiteral("qwdeu.ini"));
    QCOMPARE(seen.caption, QStringLiteral("Quillwave"));
    QCOMPARE(seen.prompt,
             QStringLiteral("The new language will be used the next time you start Quillwave."));
    QCOMPARE(seen.ok, QStringLiteral("OK"));
    QVERIFY(seen.okShown);
    QVERIFY(!seen.cancelShown);
    QVERIFY(!seen.boxShown);
    QVERIFY(!seen.titleShown);
    // The running window keeps its language until the next start.
    QCOMPARE(child<QToolButton>(window.get(), "tbMenuFile")->text(), QStringLiteral("&File"));

    // The next start speaks German.
    window.reset();
    answerer.stop();
    window = createWindow();
    QCOMPARE(child<QToolButton>(window.get(), "tbMenuFile")->text(), QStringLiteral("Datei"));
}

void tst_TfrmMain::forwardedArgumentRestoresWindow_data()
{
    QTest::addColumn<QString>("argument");
    QTest::newRow("no argument") << "";
    QTest::newRow("address") << "http://127.0.0.1/";
}

void tst_TfrmMain::forwardedArgumentRestoresWindow()
{
    QFETCH(QString, argument);
    auto window = createWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->showMinimized();
    QTRY_VERIFY(window->isMinimized());

    window->wmCopyDataDataReceived(argument);
    QTRY_VERIFY(!window->isMinimized());
    QVERIFY(window->isVisible());
}

void tst_TfrmMain::defaultBrowserPrompt_data()
{
    QTest::addColumn<QString>("ask");
    QTest::addColumn<bool>("uncheck");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QString>("askAfter");

    QTest::newRow("yes") << "1" << false << "cmdOK" << 1 << true << "1";
    QTest::newRow("no") << "1" << false << "cmdCancel" << 1 << false << "1";
    QTest::newRow("no, stop asking") << "1" << true << "cmdCancel" << 1 << false << "0";
    QTest::newRow("yes, stop asking") << "1" << true << "cmdOK" << 1 << true << "0";
    QTest::newRow("asking switched off") << "0" << false << "" << 0 << false << "0";
}

void tst_TfrmMain::defaultBrowserPrompt()
{
    QFETCH(QString, ask);
    QFETCH(bool, uncheck);
    QFETCH(QString, button);
    QFETCH(int, questions);
    QFETCH(bool, registered);
    QFETCH(QString, askAfter);

    m_unexpected->stop();
    seed(QStringLiteral("AskDefaultBrowser"), ask);
    // Nothing of the real desktop is read or written.
    QVERIFY(TDefaultBrowser::DesktopEntryPath().startsWith(homePath()));
    QVERIFY(!TDefaultBrowser::IsDefaultBrowser());

    bool startedChecked = false;
    ModalDialogAnswerer answerer(
        [&](QWidget* dialog)
        {
            QVERIFY(qobject_cast<TfrmConfirm*>(dialog));
            auto* box = child<QCheckBox>(dialog, "chkConfirm");
            startedChecked = box->isChecked();
            if (uncheck)
                box->click();
            if (!button.isEmpty())
                child<QPushButton>(dialog, button.toLatin1().constData())->click();
        });
    auto window = createWindow();
    QCOMPARE(answerer.count(), questions);
    if (questions > 0)
        QVERIFY(startedChecked);
    QCOMPARE(TDefaultBrowser::IsDefaultBrowser(), registered);
    QCOMPARE(stored(QStringLiteral("AskDefaultBrowser")), askAfter);
    QCOMPARE(window->windowTitle(), QStringLiteral("Quillwave"));
}

void tst_TfrmMain::forwardsDuringTheStartQuestionWait()
{
    m_unexpected->stop();
    seed(QStringLiteral("AskDefaultBrowser"), QStringLiteral("1"));
    QList<FakeBrowserControl*> controls;
    ModalDialogAnswerer answerer(
        [&](QWidget* dialog)
        {
            // A later copy forwards while the question is open.
            auto* window = qobject_cast<TfrmMain*>(dialog->parentWidget());
            QVERIFY(window);
            auto* receiver = window->findChild<TStWMDataCopy*>(QStringLiteral("wmCopyData"));
            QVERIFY(receiver);
            emit receiver->OnDataReceived(QStringLiteral("http://first.test/"));
            emit receiver->OnDataReceived(QStringLiteral("http://second.test/"));
            child<QPushButton>(dialog, "cmdCancel")->click();
        });
    TfrmMain window(FakeBrowserControl::factory(&controls));
    QCOMPARE(answerer.count(), 1);
    QTRY_COMPARE(controls.size(), 3);
    QCOMPARE(controls[1]->navigations, QStringList{QStringLiteral("http://first.test/")});
    QCOMPARE(controls[2]->navigations, QStringList{QStringLiteral("http://second.test/")});
}

void tst_TfrmMain::scriptAddressesAreReportedAlike()
{
    seed(QStringLiteral("CommandLine"), QStringLiteral("javascript:alert(1)"));
    auto window = createWindow();
    const QString refused =
        window->Services()->GetGlobalText(QStringLiteral("ScriptAddressRefused"));
    QTRY_COMPARE(window->StatusBar()->panelText(0), refused);
    // Pointing at things on the way to reading it must not wipe it.
    QStatusTipEvent passing(QString{});
    QApplication::sendEvent(window.get(), &passing);
    window->SetStatusText(QString());
    QCOMPARE(window->StatusBar()->panelText(0), refused);

    window->ShowMessage(QString());
    window->wmCopyDataDataReceived(QStringLiteral(" JavaScript:alert(2)"));
    QCOMPARE(window->StatusBar()->panelText(0), refused);
    QApplication::sendEvent(window.get(), &passing);
    QCOMPARE(window->StatusBar()->panelText(0), refused);
}

void tst_TfrmMain::downloadsGoWithTheWindow()
{
    seed(QStringLiteral("ConfirmShutdown"), QStringLiteral("0"));
    auto window = createWindow();
    window->show();
    window->RunCommand(MainCommand::Downloads);
    const QPointer<TfrmDownloads> downloads = window->findChild<TfrmDownloads*>();
    QVERIFY(downloads && downloads->isVisible());

    TDownloadList* list = TDownloadManager::instance()->list();
    const int row = list->add(QStringLiteral("/tmp/running.bin"), 100, {});
    m_unexpected->stop();
    const char* button = "cmdCancel";
    ModalDialogAnswerer answerer([&](QWidget* dialog)
                                 { child<QPushButton>(dialog, button)->click(); });
    QVERIFY(!window->close());
    QCOMPARE(answerer.count(), 1);
    button = "cmdOK";
    QVERIFY(window->close());
    QCOMPARE(answerer.count(), 2);
    list->setState(row, TDownloadList::Cancelled);
    window.reset();
    QVERIFY(!downloads);
}

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

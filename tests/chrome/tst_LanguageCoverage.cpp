// Every text the program asks for must be in every language file it ships,
// so that no user ever sees a placeholder or an "UNDEFINED:" text. The keys
// are the ones the program itself asks for while the test drives its
// windows, menus and dialogs.

#include "FakeBrowserControl.h"
#include "MainWindowHome.h"
#include "ModalDialogAnswerer.h"
#include "chrome/LanguageKeyRecorder.h"
#include "chrome/TLanguageFile.h"
#include "core/dialogs/TPageDialogs.h"
#include "core/dialogs/TfrmDownloads.h"
#include "core/dialogs/TfrmProperties.h"
#include "core/engine/TDownloadList.h"
#include "core/settings/TQWOptions.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TPopupCapture.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainCommand.h"
#include "core/window/TfrmMain.h"
#include "navigation/TAddressController.h"
#include "navigation/TfrmSearchEngine.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QRegularExpression>
#include <QtTest>

namespace
{
const QString LanguagesDir = QStringLiteral(QW_SOURCE_DIR "/data/Languages");
const QStringList ShippedFiles = {QStringLiteral("qweng.ini"), QStringLiteral("qwdeu.ini")};

// Commands that ask something or show a text of their own; the answerer
// turns every question down.
const QList<MainCommand> Commands = {
    MainCommand::StickyTitle,
    MainCommand::AddToPopupList,
    MainCommand::Properties,
    MainCommand::NewClipboardTab,
    MainCommand::OrganizeSearchEngines,
    MainCommand::OrganizeSearchBar,
    MainCommand::Downloads,
    MainCommand::About,
    MainCommand::CloseAllShowList,
    MainCommand::CloseAll,
    MainCommand::CloseAllKeepCurrent,
    MainCommand::OpenDialog,
    MainCommand::SaveAs,
};

const QList<QWebEnginePage::Feature> Features = {
    QWebEnginePage::Notifications,
    QWebEnginePage::Geolocation,
    QWebEnginePage::MediaAudioCapture,
    QWebEnginePage::MediaVideoCapture,
    QWebEnginePage::MediaAudioVideoCapture,
    QWebEnginePage::MouseLock,
    QWebEnginePage::DesktopVideoCapture,
    QWebEnginePage::DesktopAudioVideoCapture,
    QWebEnginePage::Feature(-1),
};

void drivePageQuestions(QWidget* window)
{
    for (const QWebEnginePage::Feature feature : Features)
        TPageDialogs::askPermission(window, QUrl(QStringLiteral("http://a.test/")), feature);
    TPageDialogs::askCertificate(window, QStringLiteral("a.test"), QStringLiteral("expired"));
    TPageDialogs::Credentials credentials;
    for (const bool proxy : {false, true})
        TPageDialogs::askCredentials(window, QStringLiteral("a.test"), QStringLiteral("realm"),
                                     proxy, credentials);
}

void driveProperties(const TLanguage& language)
{
    for (const char* url : {"http://a/", "https://a/", "file:///a", "ftp://a/", "about:blank",
                            "data:,x", "gopher://a/", ""})
        TfrmProperties::ProtocolText(QString::fromLatin1(url), language);
    for (const qint64 size : {1, 2})
        TfrmProperties::SizeText(size, language, QLocale());
    TfrmProperties::TypeText(QStringLiteral("application/x-unknown"), language);
    TfrmProperties::ModifiedText(QDateTime(), language, QLocale());
    TfrmProperties dialog(&language);
}

void driveDownloads(TfrmMain& window)
{
    TDownloadList list;
    list.add(QStringLiteral("/tmp/known"), 100, {});
    list.add(QStringLiteral("/tmp/unknown"), 0, {});
    list.setState(list.add(QStringLiteral("/tmp/done"), 5, {}), TDownloadList::Finished);
    list.setState(list.add(QStringLiteral("/tmp/gone"), 5, {}), TDownloadList::Cancelled);
    list.setState(list.add(QStringLiteral("/tmp/bad"), 5, {}), TDownloadList::Interrupted);
    delete new TfrmDownloads(&list, window.Services(), &window);
}

void driveAddressBox(TfrmMain& window)
{
    TAddressController* address = window.Address();
    for (const auto error :
         {SearchTemplate::Error::NoPlaceholder, SearchTemplate::Error::SecondPlaceholder,
          SearchTemplate::Error::StrayPercent})
        address->BadTemplateMessage({QuickSearch::Outcome::BadTemplate, QString(),
                                     QStringLiteral("k"), QStringLiteral("%d"), error});
    address->uoAddressComboDrop(QStringLiteral("javascript:alert(1)"));
    for (const int style : {1, 2})
    {
        address->SetAutoCompleteStyle(style);
        address->mnuToolsFavsClick();
    }
}

void drivePopupCapture(TfrmMain& window)
{
    window.Options()->WritePopupVostel({QStringLiteral("http://ads.test/*")});
    TPopupCapture capture(window.Options(), window.Services());
    capture.LoadPopupList();
    capture.SetUsePopupVostel(true);
    capture.SetPopupVostelNotify(true);
    capture.PopupMatch(QStringLiteral("http://ads.test/x"));
}

// The window from its first question to its last: every menu as it opens,
// the commands that ask or tell something, the dialogs of its parts.
QSet<LanguageKeyRecorder::Entry> askedWhileDriving()
{
    MainWindowHome home;
    if (!home.isValid() || !home.seed(QStringLiteral("AskDefaultBrowser"), QStringLiteral("1")))
        return {};
    LanguageKeyRecorder recorder;
    ModalDialogAnswerer answerer;
    TfrmMain window(FakeBrowserControl::factory());
    window.show();
    window.TabSet()->AddTab();
    window.TabSet()->AddTab()->Navigate(QStringLiteral("http://a.test/"));
    window.TabSet()->AddTab()->Navigate(QStringLiteral("/dev/zero"));
    TBrowserTab* popup = window.TabSet()->AddHiddenTab();
    dynamic_cast<FakeBrowserControl*>(popup->Browser())
        ->simulateNavigation(QStringLiteral("http://b.test/"));
    for (QMenu* menu : window.findChildren<QMenu*>())
        emit menu->aboutToShow();
    QGuiApplication::clipboard()->setText(QStringLiteral("javascript:alert(1)"));
    for (const MainCommand command : Commands)
        window.RunCommand(command);
    window.wmCopyDataDataReceived(QStringLiteral("javascript:alert(1)"));
    for (QAction* language : window.LanguagesMenu()->actions())
        language->trigger();

    for (int mode = 0; mode < 3; ++mode)
        TfrmSearchEngine(&window, mode, window.Options(), window.Language());
    driveAddressBox(window);
    drivePopupCapture(window);
    driveDownloads(window);
    driveProperties(*window.Language());
    drivePageQuestions(&window);
    window.close();
    window.CloseWithoutQuestions();
    return recorder.Entries();
}

QStringList readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll())
        .split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
}

// Lower-cased "SECTION > key" for every entry.
QSet<QString> entryNames(const TLanguageFile& file)
{
    QSet<QString> names;
    for (const QString& section : file.sections())
    {
        for (const QString& key : file.keys(section))
            names.insert((section + QStringLiteral(" > ") + key).toLower());
    }
    return names;
}
} // namespace

class tst_LanguageCoverage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void askedKeysAreShipped_data();
    void askedKeysAreShipped();
    void shippedFilesHaveTheSameKeys();
    void noRepeatedEntries_data() { askedKeysAreShipped_data(); }
    void noRepeatedEntries();

private:
    QSet<LanguageKeyRecorder::Entry> m_asked;
};

void tst_LanguageCoverage::initTestCase()
{
    m_asked = askedWhileDriving();
    // The drive reached every kind of window and question.
    QSet<QString> sections;
    for (const auto& [section, key] : std::as_const(m_asked))
        sections.insert(section);
    for (const char* section : {"MAIN", "GLOBAL", "CONFIRM", "Default", "SEARCH_ENGINE",
                                "QUICK_SEARCH", "CLOSE_ALL_LIST", "Properties"})
        QVERIFY2(sections.contains(QLatin1String(section)), section);
    QVERIFY(m_asked.size() > 200);
}

void tst_LanguageCoverage::askedKeysAreShipped_data()
{
    QTest::addColumn<QString>("path");
    for (const QString& name : ShippedFiles)
        QTest::newRow(qPrintable(name)) << LanguagesDir + QLatin1Char('/') + name;
}

void tst_LanguageCoverage::askedKeysAreShipped()
{
    QFETCH(QString, path);
    TLanguageFile file;
    QVERIFY(file.load(path));
    QStringList missing;
    for (const auto& [section, key] : std::as_const(m_asked))
    {
        if (!file.contains(section, key))
            missing << section + QStringLiteral(" > ") + key;
    }
    missing.sort();
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("missing in ") + path +
                                           QStringLiteral(":\n  ") + missing.join("\n  ")));
}

void tst_LanguageCoverage::shippedFilesHaveTheSameKeys()
{
    TLanguageFile english;
    TLanguageFile german;
    QVERIFY(english.load(LanguagesDir + QStringLiteral("/qweng.ini")));
    QVERIFY(german.load(LanguagesDir + QStringLiteral("/qwdeu.ini")));
    QStringList onlyEnglish = (entryNames(english) - entryNames(german)).values();
    QStringList onlyGerman = (entryNames(german) - entryNames(english)).values();
    onlyEnglish.sort();
    onlyGerman.sort();
    QVERIFY2(onlyEnglish.isEmpty() && onlyGerman.isEmpty(),
             qPrintable(QStringLiteral("only English: %1\nonly German: %2")
                            .arg(onlyEnglish.join(", "), onlyGerman.join(", "))));
}

void tst_LanguageCoverage::noRepeatedEntries()
{
    // A repeated key or section is never read (the first one wins), so a
    // second entry is an editing slip that silently hides a text.
    QFETCH(QString, path);
    QSet<QString> seen;
    QString section;
    QStringList repeated;
    for (const QString& line : readLines(path))
    {
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        const bool isSection = line.startsWith(u'[') && line.endsWith(u']');
        if (!isSection && !line.contains(u'='))
            repeated << QStringLiteral("not an entry: ") + line;
        if (isSection)
            section = line.toLower();
        const QString name = isSection ? section : section + line.section(u'=', 0, 0).toLower();
        if (seen.contains(name))
            repeated << line;
        seen.insert(name);
    }
    QVERIFY2(repeated.isEmpty(), qPrintable(repeated.join(u'\n')));
}

QTEST_MAIN(tst_LanguageCoverage)
#include "tst_LanguageCoverage.moc"

// Every text the program asks for must be in every language file it ships,
// so that no user ever sees a placeholder or an "UNDEFINED:" text. The keys
// are the ones the program itself asks for while the test drives its
// windows, menus and dialogs.

#include "FakeBrowserControl.h"
#include "MainWindowHome.h"
#include "ModalDialogAnswerer.h"
#include "chrome/EnginePrivacyPage.h"
#include "chrome/EngineZonesPage.h"
#include "chrome/LanguageKeyRecorder.h"
#include "chrome/TLanguage.h"
#include "chrome/TQWToolBar.h"
#include "chrome/TfrmCustomizeToolbar.h"
#include "chrome/TfrmEngineSettings.h"
#include "core/dialogs/TPageDialogs.h"
#include "core/dialogs/TfrmDownloads.h"
#include "core/dialogs/TfrmProperties.h"
#include "core/engine/TDownloadList.h"
#include "core/engine/THistoryIndex.h"
#include "core/settings/TQWOptions.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TPopupCapture.h"
#include "core/tabs/TTabSet.h"
#include "core/window/TfrmMain.h"
#include "groups/HistoryTreeModel.h"
#include "groups/TFavoritesTransfer.h"
#include "groups/THistoryPage.h"
#include "groups/TfrmAddFavorite.h"
#include "groups/TfrmOrganizeFavorites.h"
#include "groups/TfrmVostelGroup.h"
#include "navigation/TAddressController.h"
#include "navigation/TfrmSearchEngine.h"

#include <QClipboard>
#include <QMetaEnum>
#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>

namespace
{
const QString LanguagesDir = QStringLiteral(QW_SOURCE_DIR "/data/Languages");

// Every kind of history period, a page's properties and Clear History.
void driveHistory(TfrmMain& window)
{
    const QDate today = QDate::currentDate();
    THistoryIndex::recordVisit("file:///a.html", "a");
    window.RunCommand(MainCommand::SideBarHistory);
    auto* page = window.findChild<THistoryPage*>();
    QStringList periods;
    for (int day = 0; day < 7; ++day)
        periods << "day-" + today.addDays(day).toString(Qt::ISODate);
    for (const int weeks : {1, 2})
        periods << "week-" +
                       THistoryIndex::weekStart(today).addDays(-7 * weeks).toString(Qt::ISODate);
    for (const QString& name : periods)
        page->model()->periodCaption(THistoryIndexReader::periodFromName(name), today);
    page->model()->periodCaption({}, today);
    const QModelIndex period = page->model()->index(0, 0);
    page->HistoryTreeNode = page->model()->index(0, 0, page->model()->index(0, 0, period));
    page->pmHistoryPropertiesClick();
    page->spdClearHistoryClick();
}

// The parts' own dialogs and questions, each in every state that has a text.
void driveParts(TfrmMain& window)
{
    const TLanguage& language = *window.Language();
    TAddressController* address = window.Address();
    for (const auto error :
         {SearchTemplate::Error::NoPlaceholder, SearchTemplate::Error::SecondPlaceholder,
          SearchTemplate::Error::StrayPercent})
        address->BadTemplateMessage({QuickSearch::Outcome::BadTemplate, {}, "k", "%d", error});
    address->uoAddressComboDrop("javascript:alert(1)");
    for (const int style : {1, 2})
    {
        address->SetAutoCompleteStyle(style);
        address->mnuToolsFavsClick();
    }
    driveHistory(window);

    window.Options()->WritePopupVostel({"http://ads.test/*"});
    TPopupCapture capture(window.Options(), window.Services());
    capture.LoadPopupList();
    capture.SetUsePopupVostel(true);
    capture.SetPopupVostelNotify(true);
    capture.PopupMatch("http://ads.test/x");

    TDownloadList list;
    list.add("/tmp/known", 100, {});
    list.add("/tmp/unknown", 0, {});
    for (const auto state :
         {TDownloadList::Finished, TDownloadList::Cancelled, TDownloadList::Interrupted})
        list.setState(list.add("/tmp/" + QString::number(int(state)), 5, {}), state);
    delete new TfrmDownloads(&list, window.Services(), &window);

    for (const char* url : {"http://a/", "https://a/", "file:///a", "ftp://a/", "about:blank",
                            "data:,x", "gopher://a/", ""})
        TfrmProperties::ProtocolText(QString::fromLatin1(url), language);
    for (const qint64 size : {1, 2})
        TfrmProperties::SizeText(size, language, QLocale());
    TfrmProperties::TypeText("application/x-unknown", language);
    TfrmProperties::ModifiedText(QDateTime(), language, QLocale());
    TfrmProperties properties(&language);

    // Every feature the engine may ask about, and one it does not know yet.
    const QMetaEnum features = QMetaEnum::fromType<QWebEnginePage::Feature>();
    for (int i = -1; i < features.keyCount(); ++i)
        TPageDialogs::askPermission(&window, QUrl("http://a.test/"),
                                    QWebEnginePage::Feature(i < 0 ? -1 : features.value(i)));
    TPageDialogs::askCertificate(&window, "a.test", "expired");
    TPageDialogs::Credentials credentials;
    for (const bool proxy : {false, true})
        TPageDialogs::askCredentials(&window, "a.test", "realm", proxy, credentials);

    // A typed text that names no site, a site moved between zones, and the
    // question before clearing.
    EngineSettingsValues values;
    values.Sites[ZoneRules::Restricted] = QStringList{"http://a.test"};
    TfrmEngineSettings dialog(values, window.Services(), &window);
    for (const char* typed : {"no site", "http://a.test/"})
    {
        dialog.tsZones->edtSite->setText(QLatin1String(typed));
        dialog.tsZones->cmdAddSiteClick();
    }
    dialog.tsPrivacy->Box(EngineSettingsValues::ClearCache)->setChecked(true);
    dialog.cmdOKClick();
}

// The window from its first question to its last: every menu as it opens,
// the commands that ask or tell something (the answerer turns every
// question down), the dialogs of its parts.
QSet<LanguageKeyRecorder::Entry> askedWhileDriving()
{
    MainWindowHome home;
    if (!home.isValid() || !home.seed("AskDefaultBrowser", "1"))
        return {};
    LanguageKeyRecorder recorder;
    ModalDialogAnswerer answerer;
    TfrmMain window(FakeBrowserControl::factory());
    window.show();
    window.TabSet()->AddTab();
    window.TabSet()->AddTab()->Navigate("http://a.test/");
    window.TabSet()->AddTab()->Navigate("/dev/zero");
    TBrowserTab* popup = window.TabSet()->AddHiddenTab();
    dynamic_cast<FakeBrowserControl*>(popup->Browser())->simulateNavigation("http://b.test/");
    for (QMenu* menu : window.findChildren<QMenu*>())
        emit menu->aboutToShow();
    QGuiApplication::clipboard()->setText("javascript:alert(1)");
    using C = MainCommand;
    for (const C command : {C::StickyTitle, C::AddToPopupList, C::Properties, C::NewClipboardTab,
                            C::OrganizeSearchEngines, C::OrganizeSearchBar, C::Downloads, C::About,
                            C::CloseAllShowList, C::CloseAll, C::CloseAllKeepCurrent, C::OpenDialog,
                            C::SaveAs, C::FavoritesPane, C::Options})
        window.RunCommand(command);
    window.wmCopyDataDataReceived("javascript:alert(1)");
    for (QAction* language : window.LanguagesMenu()->actions())
        language->trigger();

    for (int mode = 0; mode < 3; ++mode)
        TfrmSearchEngine(&window, mode, window.Options(), window.Language());
    {
        TfrmVostelGroup editor(QString(), window.Services(), &window);
        window.Language()->TranslateComponent(&editor, "VostelGroups");
    }
    {
        QTemporaryDir favorites;
        TfrmAddFavorite add(favorites.path(), "t", "http://a/", window.Services(), &window);
        TfrmOrganizeFavorites organize(favorites.path(), window.Services(), &window);
        // The outcomes of a transfer: written, nothing found, not written.
        const QString file = favorites.filePath("b.html");
        TFavoritesTransfer::ExportFile(favorites.path(), file, window.Services());
        TFavoritesTransfer::ImportFile(file, favorites.path(), window.Services());
        TFavoritesTransfer::ExportFile(favorites.path(), file + "/x", window.Services());
        TFavoritesTransfer::ImportFile("/dev/null", favorites.path(), window.Services());
    }
    {
        // Every button's hint, the chevron's menu and the customize dialog.
        TQWToolBar toolbar(window.Services());
        toolbar.BuildDefaultToolbar();
        emit toolbar.pmToolBarExtender->aboutToShow();
        TfrmCustomizeToolbar customize(&toolbar, window.Language(), &window);
    }
    driveParts(window);
    window.close();
    window.CloseWithoutQuestions();
    return recorder.Entries();
}

// Lower-cased "SECTION > key" for every entry.
QStringList entryNames(const TLanguageFile& file)
{
    QStringList names;
    for (const QString& section : file.sections())
        for (const QString& key : file.keys(section))
            names << (section + " > " + key).toLower();
    names.sort();
    return names;
}
} // namespace

class tst_LanguageCoverage : public QObject
{
    Q_OBJECT

    QSet<LanguageKeyRecorder::Entry> m_asked;
    TLanguageFile m_english;

private slots:
    void initTestCase()
    {
        m_asked = askedWhileDriving();
        // The drive reached every kind of window and question.
        QSet<QString> sections;
        for (const auto& [section, key] : std::as_const(m_asked))
            sections.insert(section);
        for (const char* section :
             {"MAIN", "GLOBAL", "CONFIRM", "Default", "SEARCH_ENGINE", "QUICK_SEARCH",
              "CLOSE_ALL_LIST", "Properties", "VostelGroups", "ADD_FAVORITE", "ORGANIZE_FAVORITES",
              "FAVORITES_TRANSFER", "CUSTOMIZE_TOOLBAR", "FAVORITES_POPUP", "ENGINE_SETTINGS"})
            QVERIFY2(sections.contains(QLatin1String(section)), section);
        QVERIFY(m_asked.size() > 200);
        QVERIFY(m_english.load(LanguagesDir + "/qweng.ini"));
    }

    void shippedFile_data()
    {
        QTest::addColumn<QString>("path");
        for (const char* name : {"qweng.ini", "qwdeu.ini"})
            QTest::newRow(name) << LanguagesDir + '/' + name;
    }

    void shippedFile()
    {
        QFETCH(QString, path);
        TLanguageFile file;
        QVERIFY(file.load(path));
        QStringList missing;
        for (const auto& [section, key] : std::as_const(m_asked))
            if (!file.contains(section, key))
                missing << section + " > " + key;
        missing.sort();
        QVERIFY2(missing.isEmpty(),
                 qPrintable("asked for but missing:\n  " + missing.join("\n  ")));

        // A text only some languages have is a text the others lose.
        QCOMPARE(entryNames(file), entryNames(m_english));

        // A repeated key or section is never read (the first one wins), nor is
        // a line that is no entry: each is an editing slip that hides a text,
        // and the file then holds more lines than were read.
        QFile raw(path);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        qsizetype lines = 0;
        for (const QString& line :
             QString::fromUtf8(raw.readAll()).split(QRegularExpression("\r\n|\r|\n")))
            lines += !line.isEmpty() && !line.startsWith(u';');
        QCOMPARE(lines, file.sections().size() + entryNames(file).size());
    }
};

QTEST_MAIN(tst_LanguageCoverage)
#include "tst_LanguageCoverage.moc"

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
#include "chrome/TLanguageFile.h"
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
#include "core/window/MainCommand.h"
#include "core/window/TfrmMain.h"
#include "groups/HistoryTreeModel.h"
#include "groups/TFavoritesTransfer.h"
#include "groups/THistoryPage.h"
#include "groups/TfrmAddFavorite.h"
#include "groups/TfrmOrganizeFavorites.h"
#include "groups/TfrmVostelGroup.h"
#include "navigation/TAddressController.h"
#include "navigation/TfrmSearchEngine.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMetaEnum>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
const QString LanguagesDir = QStringLiteral(QW_SOURCE_DIR "/data/Languages");
const QStringList ShippedFiles = {QStringLiteral("qweng.ini"), QStringLiteral("qwdeu.ini")};

// Commands that ask something or show a text of their own; the answerer
// turns every question down.
// clang-format off
const QList<MainCommand> Commands = {
    MainCommand::StickyTitle, MainCommand::AddToPopupList, MainCommand::Properties,
    MainCommand::NewClipboardTab, MainCommand::OrganizeSearchEngines, MainCommand::OrganizeSearchBar,
    MainCommand::Downloads, MainCommand::About, MainCommand::CloseAllShowList, MainCommand::CloseAll,
    MainCommand::CloseAllKeepCurrent, MainCommand::OpenDialog, MainCommand::SaveAs,
    MainCommand::FavoritesPane, MainCommand::Options};
// clang-format on

void drivePageQuestions(QWidget* window)
{
    // Every feature the engine may ask about, and one it does not know yet.
    const QMetaEnum features = QMetaEnum::fromType<QWebEnginePage::Feature>();
    for (int i = -1; i < features.keyCount(); ++i)
        TPageDialogs::askPermission(window, QUrl(QStringLiteral("http://a.test/")),
                                    QWebEnginePage::Feature(i < 0 ? -1 : features.value(i)));
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

// Every kind of history period, a page's properties and Clear History.
void driveHistory(TfrmMain& window)
{
    const QDate today = QDate::currentDate();
    THistoryIndex::recordVisit(QStringLiteral("file:///a.html"), QStringLiteral("a"));
    window.RunCommand(MainCommand::SideBarHistory);
    auto* page = window.findChild<THistoryPage*>();
    for (int day = 0; day < 7; ++day)
        page->model()->periodCaption(
            THistoryIndexReader::periodFromName(QStringLiteral("day-") +
                                                today.addDays(day).toString(Qt::ISODate)),
            today);
    for (const int weeks : {1, 2})
        page->model()->periodCaption(
            THistoryIndexReader::periodFromName(
                QStringLiteral("week-") +
                THistoryIndex::weekStart(today).addDays(-7 * weeks).toString(Qt::ISODate)),
            today);
    page->model()->periodCaption({}, today);
    const QModelIndex period = page->model()->index(0, 0);
    page->HistoryTreeNode = page->model()->index(0, 0, page->model()->index(0, 0, period));
    page->pmHistoryPropertiesClick();
    page->spdClearHistoryClick();
}

// The engine-settings dialog with a typed text that names no site, a site
// moved between zones, and the question before clearing.
void driveEngineSettings(TfrmMain& window)
{
    EngineSettingsValues values;
    values.Sites[ZoneRules::Restricted] = QStringList{QStringLiteral("http://a.test")};
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
    {
        TfrmVostelGroup editor(QString(), window.Services(), &window);
        window.Language()->TranslateComponent(&editor, QStringLiteral("VostelGroups"));
    }
    {
        QTemporaryDir favorites;
        TfrmAddFavorite add(favorites.path(), QStringLiteral("t"), QStringLiteral("http://a/"),
                            window.Services(), &window);
        TfrmOrganizeFavorites organize(favorites.path(), window.Services(), &window);
        // The outcomes of a transfer: written, nothing found, not written.
        const QString file = favorites.filePath(QStringLiteral("b.html"));
        TFavoritesTransfer::ExportFile(favorites.path(), file, window.Services());
        TFavoritesTransfer::ImportFile(file, favorites.path(), window.Services());
        TFavoritesTransfer::ExportFile(favorites.path(), file + QStringLiteral("/x"),
                                       window.Services());
        TFavoritesTransfer::ImportFile(QStringLiteral("/dev/null"), favorites.path(),
                                       window.Services());
    }
    {
        // Every button's hint, the chevron's menu and the customize dialog.
        TQWToolBar toolbar(window.Services());
        toolbar.BuildDefaultToolbar();
        emit toolbar.pmToolBarExtender->aboutToShow();
        TfrmCustomizeToolbar customize(&toolbar, window.Language(), &window);
    }
    driveAddressBox(window);
    driveHistory(window);
    drivePopupCapture(window);
    driveDownloads(window);
    driveProperties(*window.Language());
    drivePageQuestions(&window);
    driveEngineSettings(window);
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
            names << (section + QStringLiteral(" > ") + key).toLower();
    names.sort();
    return names;
}
} // namespace

class tst_LanguageCoverage : public QObject
{
    Q_OBJECT

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
        QVERIFY(m_english.load(LanguagesDir + QStringLiteral("/qweng.ini")));
    }

    void shippedFile_data()
    {
        QTest::addColumn<QString>("path");
        for (const QString& name : ShippedFiles)
            QTest::newRow(qPrintable(name)) << LanguagesDir + QLatin1Char('/') + name;
    }

    void shippedFile()
    {
        QFETCH(QString, path);
        TLanguageFile file;
        QVERIFY(file.load(path));
        QStringList missing;
        for (const auto& [section, key] : std::as_const(m_asked))
            if (!file.contains(section, key))
                missing << section + QStringLiteral(" > ") + key;
        missing.sort();
        QVERIFY2(missing.isEmpty(),
                 qPrintable("asked for but missing:\n  " + missing.join("\n  ")));

        // A text only some languages have is a text the others lose.
        QCOMPARE(entryNames(file), entryNames(m_english));

        // A repeated key or section is never read (the first one wins), so a
        // second entry is an editing slip that silently hides a text.
        QSet<QString> seen;
        QString section;
        QStringList repeated;
        QFile raw(path);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(raw.readAll());
        for (const QString& line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))))
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

private:
    QSet<LanguageKeyRecorder::Entry> m_asked;
    TLanguageFile m_english;
};

QTEST_MAIN(tst_LanguageCoverage)
#include "tst_LanguageCoverage.moc"

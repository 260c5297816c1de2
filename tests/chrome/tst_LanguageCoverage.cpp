#include "chrome/TLanguageFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

// Every text the program looks up must be in every language file it ships,
// so that no user ever sees a placeholder or an "UNDEFINED:" text.
namespace
{
const QString SourceDir = QStringLiteral(QW_SOURCE_DIR);

// section -> keys
using KeySet = QMap<QString, QSet<QString>>;

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// Comments may quote placeholders ("__MenuFileOpen") without using them.
QString stripComments(const QString& code)
{
    QString out;
    out.reserve(code.size());
    enum State
    {
        Code,
        Line,
        Block,
        String,
        Char
    } state = Code;
    for (qsizetype i = 0; i < code.size(); ++i)
    {
        const QChar c = code[i];
        const QChar next = i + 1 < code.size() ? code[i + 1] : QChar();
        switch (state)
        {
        case Code:
            if (c == u'/' && next == u'/')
            {
                state = Line;
                ++i;
                continue;
            }
            if (c == u'/' && next == u'*')
            {
                state = Block;
                ++i;
                continue;
            }
            if (c == u'"')
                state = String;
            else if (c == u'\'')
                state = Char;
            out += c;
            break;
        case Line:
            if (c == u'\n')
            {
                state = Code;
                out += c;
            }
            break;
        case Block:
            if (c == u'*' && next == u'/')
            {
                state = Code;
                ++i;
            }
            else if (c == u'\n')
                out += c;
            break;
        case String:
        case Char:
            out += c;
            if (c == u'\\' && i + 1 < code.size())
            {
                out += next;
                ++i;
            }
            else if ((state == String && c == u'"') || (state == Char && c == u'\''))
                state = Code;
            break;
        }
    }
    return out;
}

// A string literal, bare or wrapped the ways Qt code writes them.
const QString Literal = QStringLiteral(
    "(?:(?:QStringLiteral|QLatin1String|QLatin1StringView|QString|QStringView)\\s*\\(\\s*)?"
    "u?\"([^\"\\\\]*)\"");

struct SourceScan
{
    KeySet lookups;                          // GetLangText / GetGlobalText calls
    QMap<QString, QSet<QString>> ownKeys;    // unit -> "__" keys
    QMap<QString, QSet<QString>> globalKeys; // unit -> "~~" keys
    QMap<QString, QStringList> ownSections;  // unit -> sections of TranslateComponent(this, ...)
    QMap<QString, QStringList> allSections;  // unit -> sections of any TranslateComponent call
    QMap<QString, QStringList> includes;     // unit -> included headers' units
    QMap<QString, QString> unitFile;         // unit -> a file of it, for messages
};

// The text of a call's argument list, from just after "(".
QString callArguments(const QString& code, qsizetype open)
{
    int depth = 1;
    bool inString = false;
    for (qsizetype i = open; i < code.size(); ++i)
    {
        const QChar c = code[i];
        if (inString)
        {
            if (c == u'\\')
                ++i;
            else if (c == u'"')
                inString = false;
            continue;
        }
        if (c == u'"')
            inString = true;
        else if (c == u'(')
            ++depth;
        else if (c == u')' && --depth == 0)
            return code.mid(open, i - open);
    }
    return {};
}

void scanTranslateCalls(const QString& code, const QString& unit, SourceScan& scan)
{
    static const QRegularExpression call(QStringLiteral("\\bTranslateComponent\\s*\\("));
    static const QRegularExpression literal(Literal);
    auto it = call.globalMatch(code);
    while (it.hasNext())
    {
        const auto match = it.next();
        const QString args = callArguments(code, match.capturedEnd());
        const qsizetype comma = args.indexOf(u',');
        if (comma < 0)
            continue;
        const QString target = args.left(comma).trimmed();
        QStringList sections;
        auto lit = literal.globalMatch(args.mid(comma + 1));
        while (lit.hasNext())
            sections.append(lit.next().captured(1));
        scan.allSections[unit] += sections;
        if (target == QLatin1String("this") || target == QLatin1String("*this"))
            scan.ownSections[unit] += sections;
    }
}

void scanCode(const QString& code, const QString& unit, SourceScan& scan)
{
    static const QRegularExpression langText(QStringLiteral("\\bGetLangText\\s*\\(\\s*") + Literal +
                                             QStringLiteral("\\s*\\)?\\s*,\\s*") + Literal);
    static const QRegularExpression globalText(QStringLiteral("\\bGetGlobalText\\s*\\(\\s*") +
                                               Literal);
    static const QRegularExpression placeholder(QStringLiteral("\"(__|~~)([^\"\\\\\\s]+)\""));
    static const QRegularExpression include(QStringLiteral("#include\\s*[\"<]([^\">]+)[\">]"));

    auto it = langText.globalMatch(code);
    while (it.hasNext())
    {
        const auto m = it.next();
        scan.lookups[m.captured(1)].insert(m.captured(2));
    }
    it = globalText.globalMatch(code);
    while (it.hasNext())
        scan.lookups[QStringLiteral("GLOBAL")].insert(it.next().captured(1));
    it = placeholder.globalMatch(code);
    while (it.hasNext())
    {
        const auto m = it.next();
        (m.captured(1) == QLatin1String("__") ? scan.ownKeys : scan.globalKeys)[unit].insert(
            m.captured(2));
    }
    it = include.globalMatch(code);
    while (it.hasNext())
    {
        const QString header = it.next().captured(1);
        if (header.endsWith(QLatin1String(".h")))
            scan.includes[unit].append(QFileInfo(header).completeBaseName());
    }
    scanTranslateCalls(code, unit, scan);
}

void scanUi(const QString& xml, const QString& unit, SourceScan& scan)
{
    static const QRegularExpression placeholder(
        QStringLiteral("<string[^>]*>(__|~~)([^<\\s]+)</string>"));
    auto it = placeholder.globalMatch(xml);
    while (it.hasNext())
    {
        const auto m = it.next();
        (m.captured(1) == QLatin1String("__") ? scan.ownKeys : scan.globalKeys)[unit].insert(
            m.captured(2));
    }
}

// A window's .cpp, .h and .ui share a base name: they form one unit.
SourceScan scanSources(const QString& root)
{
    SourceScan scan;
    QDirIterator files(root,
                       {QStringLiteral("*.cpp"), QStringLiteral("*.h"), QStringLiteral("*.ui")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
    {
        const QString path = files.next();
        const QFileInfo info(path);
        const QString unit = info.completeBaseName();
        scan.unitFile.insert(unit, QDir(root).relativeFilePath(path));
        const QString text = readText(path);
        if (info.suffix() == QLatin1String("ui"))
            scanUi(text, unit, scan);
        else
            scanCode(stripComments(text), unit, scan);
    }
    return scan;
}

// The sections a unit's "__" placeholders are looked up in. A window that
// translates itself (TranslateComponent(this, ...), or any call when it has
// none with this) needs them in every such section. A part of a window, or a
// dialog its caller translates, has no call of its own: the files including
// it translate it, with one of their sections (which one is not known here).
// Empty when nothing translates the unit.
struct UnitSections
{
    QStringList sections;
    bool anyOfThem = false;
};

UnitSections sectionsOf(const SourceScan& scan, const QString& unit)
{
    if (!scan.ownSections.value(unit).isEmpty())
        return {scan.ownSections.value(unit), false};
    if (!scan.allSections.value(unit).isEmpty())
        return {scan.allSections.value(unit), false};
    QStringList inherited;
    for (auto it = scan.includes.cbegin(); it != scan.includes.cend(); ++it)
    {
        if (it.key() != unit && it.value().contains(unit))
            inherited += scan.allSections.value(it.key());
    }
    inherited.removeDuplicates();
    return {inherited, true};
}

// What the sources ask of every language file.
struct Requirements
{
    KeySet keys; // each key must be in its section
    struct Choice
    {
        QStringList sections; // the key must be in one of them
        QString key;
    };
    QVector<Choice> oneOf;
    QStringList problems;
};

Requirements requiredFromSources()
{
    const SourceScan scan = scanSources(SourceDir + QStringLiteral("/src"));
    Requirements required;
    required.keys = scan.lookups;
    for (auto it = scan.globalKeys.cbegin(); it != scan.globalKeys.cend(); ++it)
        required.keys[QStringLiteral("GLOBAL")] += it.value();
    for (auto it = scan.ownKeys.cbegin(); it != scan.ownKeys.cend(); ++it)
    {
        if (it.value().isEmpty())
            continue;
        const UnitSections unit = sectionsOf(scan, it.key());
        if (unit.sections.isEmpty())
        {
            required.problems.append(scan.unitFile.value(it.key()) +
                                     QStringLiteral(" holds \"__\" placeholders but neither it "
                                                    "nor a window including it calls "
                                                    "TranslateComponent with a literal section"));
        }
        else if (unit.anyOfThem)
        {
            for (const QString& key : it.value())
                required.oneOf.append({unit.sections, key});
        }
        else
        {
            for (const QString& section : unit.sections)
                required.keys[section] += it.value();
        }
    }
    return required;
}

// The keys that code looks up besides the placeholders of the forms, and the
// placeholders that the design names for the windows still to be written.
KeySet fixedKeys()
{
    const QMap<QString, QString> table = {
        {"INFO", "Language"},
        {"GLOBAL",
         "Yes No OK Insert Update Blank NewItem Links Customize Loading NoItems EmptyFolder "
         "OpenAllFavorites VostelGroup VostelGroupDuplicate RenameVostelGroup StartupVostelGroup "
         "PopupVostel PopupVostelUrl PopupNotifyCaption PopupNotifyMessage PopupNotifyDontAsk "
         "StickyNameTitle StickyNamePrompt StickyNameSet StickyNameClear ClearGlobalHistory "
         "ClearAddressHistory ClearAddressHistoryNote IEVersion OnlyInIE5 ChangeRestart "
         "VersionNotifyCaption VersionNotifyLabel VersionNotifyPrompt "
         // shared words of the forms
         "Cancel Delete Up Down Reset Find OpenAllFavoritesHint"},
        {"MAIN",
         "SecurityAllow SecurityQuery SecurityDisallow SecurityCurrentZone SecurityAdd "
         "SecurityAddHint SecurityRemove SecurityRemoveHint SecurityCookies SecuritySessionCookies "
         "SecurityScripting SecurityActiveX TrayRestore TrayMinimize CustomizeLinks "
         "CustomizeLinksHint SideSearchFavsPrompt VostelGroupFilter MenuToolsClearAddressesHint "
         // toolbar button hints
         "MenuFileNewHint MenuFileOpenHint MenuGoBackHint MenuGoForwardHint MenuViewStopHint "
         "MenuViewRefreshHint MenuGoHomeHint MenuGoSearchHint MenuFavoritesAddHint "
         "MenuViewVostelBarHint MailReadHint FontSizeHint MenuFilePrintHint MenuViewSourceHint "
         "MenuOptionsLoadImagesHint MenuViewFullscreenHint MenuEditFindHint MenuFileSaveAsHint "
         "MenuViewStopAllHint MenuViewRefreshAllHint SecurityHint "
         // menu bar
         "MenuFile MenuFileHint MenuEdit MenuEditHint MenuView MenuViewHint MenuFavorites "
         "MenuFavoritesHint MenuVostelGroups MenuVostelGroupsHint MenuTools MenuToolsHint "
         "MenuTabs MenuTabsHint MenuSecurity MenuSecurityHint MenuHelp MenuHelpHint "
         // placeholders named for the main window's components
         "MenuViewLanguages MenuViewLanguagesHint CloseHint CloseAllHint TabCloseAll "
         "TabCloseAllHint FontSize FontLargest FontLargestHint FontLarge FontLargeHint FontMedium "
         "FontMediumHint FontSmaller FontSmallerHint FontSmallest FontSmallestHint "
         "MenuOptionsLoadImages MenuOptionsLoadVideos MenuOptionsLoadVideosHint "
         "MenuOptionsLoadSounds MenuOptionsLoadSoundsHint MenuOptionsLoadAnimations "
         "MenuOptionsLoadAnimationsHint SecurityAllowHint SecurityQueryHint SecurityDisallowHint "
         "SecurityCookiesHint SecuritySessionCookiesHint SecurityScriptingHint "
         "SecurityActiveXHint SecurityCurrentHint SecuritySettings SecuritySettingsHint "
         "CustomizeViewAddressBar CustomizeViewAddressBarHint CustomizeViewToolbar "
         "CustomizeViewToolbarHint CustomizeViewMenubar CustomizeViewMenubarHint "
         "CustomizeViewLinksBar CustomizeViewLinksBarHint CustomizeToolbar CustomizeToolbarHint "
         "CustomizeClearAddresses CustomizeClearAddressesHint TrayRestoreHint TrayExit "
         "TrayExitHint VostelBarFavoritesHint VostelBarHistoryHint VostelBarSearchHint "
         "VostelBarVostelGroupsHint VostelBarHistoryClear"},
        {"FAVORITES_POPUP", "ShowFavoritesHint"},
        {"OPTIONS",
         "NewFromFavorites NewFromHistory NewFromSearch NewFromLinks NewFromAddress "
         "NewFromQuickSearch Caption SecGeneral SecBrowserTabs SecTabColors SecNewTabs SecStartup "
         "SecDomainCompletion SecPopupVostel SecAddressBar SecConfirmations SecFavorites "
         "SecDefBrowser AllowMultiInstance MinToTray CloseUnusedFolders DisableAlt ColorToolbars "
         "VersionCheck LoadBrowserHelperObjects MultipleLines TabsDown NewInFront CloseOnVGOpen "
         "LimitTitleLength OpenAtEnd StandardColors ReverseColors CustomColors Browse NewBlank "
         "NewCurrent NewHome StartupHome StartupLast StartupVostelGroup StartupBlank "
         "UsePopupVostel ShowGoButton AddressNew AutoCompleteIE5 AutoCompleteIE4 "
         "AutoCompleteNone ConfirmCloseAll ConfirmShutdown PopupVostelNotify BreakFavoritesMenu "
         "UseCustomIcons ShowOpenAllFavorites AskDefaultBrowser ActiveTab InactiveTab "
         "ChooseStartupVostelGroup VostelGroupFilter"},
        {"OPEN", "Prompt Label Browse CheckPrompt BrowseFilter BrowseTitle"},
        {"CUSTOMIZE_TOOLBAR", "Separator Caption Add Remove CurrentBtns AvailableBtns"},
        {"SEARCH_ENGINE",
         "OrganizeSearchBar OrganizeSearchEngines TitleColumn LocationColumn Title Location"},
        {"QUICK_SEARCH", "OrganizeQuickSearch TitleColumn LocationColumn Title Location"},
        {"VostelGroups",
         "VostelGroup StickyMessage StickyNameColumn LocationColumn LockedColumn StickyName "
         "Location TabLocked"},
        {"CLOSE_ALL_LIST", "Caption SelectAll DeselectAll Close"},
        {"CONFIRM", "CloseAllPrompt ShutDownPrompt Proceed DontAsk CloseAll ShutDown"},
        {"Default", "NotCurrent AskDefault AlwaysAsk"},
    };
    KeySet keys;
    for (auto it = table.cbegin(); it != table.cend(); ++it)
    {
        const QStringList words = it.value().split(u' ', Qt::SkipEmptyParts);
        keys[it.key()] = QSet<QString>(words.cbegin(), words.cend());
    }
    return keys;
}

QStringList shippedFiles()
{
    const QDir dir(SourceDir + QStringLiteral("/data/Languages"));
    QStringList files;
    for (const QString& name : dir.entryList({QStringLiteral("*.ini")}, QDir::Files, QDir::Name))
        files.append(dir.filePath(name));
    return files;
}

QStringList missingKeys(const TLanguageFile& file, const KeySet& keys)
{
    QStringList missing;
    for (auto it = keys.cbegin(); it != keys.cend(); ++it)
    {
        for (const QString& key : it.value())
        {
            if (!file.contains(it.key(), key))
                missing.append(it.key() + QStringLiteral(" > ") + key);
        }
    }
    missing.sort();
    return missing;
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
    void scannerRecognisesLookups();
    void unitSectionsFollowTheTranslatingWindow();
    void shippedFilesExist();
    void sourceLookupsPresent_data();
    void sourceLookupsPresent();
    void placeholdersHaveASection();
    void designKeysPresent_data();
    void designKeysPresent();
    void shippedFilesHaveTheSameKeys();
    void germanNamesItself();
    void noDuplicatesInShippedFiles_data();
    void noDuplicatesInShippedFiles();
};

void tst_LanguageCoverage::scannerRecognisesLookups()
{
    const QString code = stripComments(QStringLiteral(
        "// GetGlobalText(\"Commented\") and \"__InComment\"\n"
        "void f() {\n"
        "  a = GetLangText(QStringLiteral(\"MAIN\"), QStringLiteral(\"Wrapped\"));\n"
        "  b = lang->GetLangText(\"CONFIRM\",\n      \"Plain\");\n"
        "  c = GetGlobalText(QLatin1String(\"Latin\"));\n"
        "  d = GetGlobalText(u\"Utf16\");\n"
        "  e = QStringLiteral(\"__MenuFileOpen\"); f = \"~~OK\"; g = \"__\"; h = \"http://x\";\n"
        "  /* \"__Block\" */ i = \"//__NotAComment\";\n"
        "  m_language->TranslateComponent(this, mode == 2 ? QStringLiteral(\"QUICK_SEARCH\")\n"
        "                                                 : QStringLiteral(\"SEARCH_ENGINE\"));\n"
        "  m_language->TranslateComponent(dialog, QStringLiteral(\"OPEN\"));\n"
        "}\n"));
    SourceScan scan;
    scanCode(code, QStringLiteral("unit"), scan);
    scanUi(QStringLiteral("<property name=\"text\"><string>__Prompt</string></property>"
                          "<property name=\"title\"><string notr=\"true\">~~Cancel</string>"
                          "</property><string>Plain</string>"),
           QStringLiteral("unit"), scan);

    QCOMPARE(scan.lookups.value(QStringLiteral("MAIN")), QSet<QString>({"Wrapped"}));
    QCOMPARE(scan.lookups.value(QStringLiteral("CONFIRM")), QSet<QString>({"Plain"}));
    QCOMPARE(scan.lookups.value(QStringLiteral("GLOBAL")), QSet<QString>({"Latin", "Utf16"}));
    QCOMPARE(scan.ownKeys.value(QStringLiteral("unit")), QSet<QString>({"MenuFileOpen", "Prompt"}));
    QCOMPARE(scan.globalKeys.value(QStringLiteral("unit")), QSet<QString>({"OK", "Cancel"}));
    QCOMPARE(scan.ownSections.value(QStringLiteral("unit")),
             QStringList({"QUICK_SEARCH", "SEARCH_ENGINE"}));
    QCOMPARE(scan.allSections.value(QStringLiteral("unit")),
             QStringList({"QUICK_SEARCH", "SEARCH_ENGINE", "OPEN"}));
}

void tst_LanguageCoverage::unitSectionsFollowTheTranslatingWindow()
{
    SourceScan scan;
    scanCode(QStringLiteral("#include \"core/TLogoPanel.h\"\n"
                            "#include \"navigation/TfrmOpen.h\"\n"
                            "void TfrmMain::FormCreate() {\n"
                            "  m_language->TranslateComponent(this, QStringLiteral(\"MAIN\"));\n"
                            "  m_language->TranslateComponent(&dialog, QStringLiteral(\"OPEN\"));\n"
                            "  a = QStringLiteral(\"__MenuFile\");\n}\n"),
             QStringLiteral("TfrmMain"), scan);
    scanCode(QStringLiteral("b = QStringLiteral(\"__CloseHint\");"), QStringLiteral("TLogoPanel"),
             scan);
    scanUi(QStringLiteral("<string>__Prompt</string>"), QStringLiteral("TfrmOpen"), scan);
    scanCode(QStringLiteral("c = \"__Lonely\";"), QStringLiteral("TOrphan"), scan);

    const UnitSections main = sectionsOf(scan, QStringLiteral("TfrmMain"));
    QCOMPARE(main.sections, QStringList({"MAIN"}));
    QVERIFY(!main.anyOfThem);
    // A part of a window, or a dialog its caller translates: which of the
    // including file's sections applies is not known, so any one will do.
    const UnitSections logo = sectionsOf(scan, QStringLiteral("TLogoPanel"));
    QCOMPARE(logo.sections, QStringList({"MAIN", "OPEN"}));
    QVERIFY(logo.anyOfThem);
    QCOMPARE(sectionsOf(scan, QStringLiteral("TfrmOpen")).sections, QStringList({"MAIN", "OPEN"}));
    QVERIFY(sectionsOf(scan, QStringLiteral("TOrphan")).sections.isEmpty());
}

void tst_LanguageCoverage::shippedFilesExist()
{
    const QStringList files = shippedFiles();
    QVERIFY(files.contains(SourceDir + QStringLiteral("/data/Languages/qweng.ini")));
    QVERIFY(files.contains(SourceDir + QStringLiteral("/data/Languages/qwdeu.ini")));
}

void tst_LanguageCoverage::sourceLookupsPresent_data()
{
    QTest::addColumn<QString>("path");
    for (const QString& path : shippedFiles())
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
}

void tst_LanguageCoverage::sourceLookupsPresent()
{
    QFETCH(QString, path);
    TLanguageFile file;
    QVERIFY(file.load(path));

    const Requirements required = requiredFromSources();
    QStringList missing = missingKeys(file, required.keys);
    for (const Requirements::Choice& choice : required.oneOf)
    {
        const bool found =
            std::any_of(choice.sections.cbegin(), choice.sections.cend(),
                        [&](const QString& section) { return file.contains(section, choice.key); });
        if (!found)
            missing.append(choice.sections.join(u'/') + QStringLiteral(" > ") + choice.key);
    }
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("missing in ") + path +
                                           QStringLiteral(":\n  ") + missing.join("\n  ")));
}

void tst_LanguageCoverage::placeholdersHaveASection()
{
    const QStringList problems = requiredFromSources().problems;
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void tst_LanguageCoverage::designKeysPresent_data()
{
    sourceLookupsPresent_data();
}

void tst_LanguageCoverage::designKeysPresent()
{
    QFETCH(QString, path);
    TLanguageFile file;
    QVERIFY(file.load(path));
    const QStringList missing = missingKeys(file, fixedKeys());
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("missing in ") + path +
                                           QStringLiteral(":\n  ") + missing.join("\n  ")));
}

void tst_LanguageCoverage::shippedFilesHaveTheSameKeys()
{
    const QStringList files = shippedFiles();
    QVERIFY(files.size() >= 2);
    TLanguageFile reference;
    QVERIFY(reference.load(files.first()));
    const QSet<QString> referenceNames = entryNames(reference);
    QVERIFY(referenceNames.size() > 100);
    for (const QString& path : files.mid(1))
    {
        TLanguageFile other;
        QVERIFY(other.load(path));
        const QSet<QString> names = entryNames(other);
        QStringList onlyInReference = (referenceNames - names).values();
        QStringList onlyInOther = (names - referenceNames).values();
        onlyInReference.sort();
        onlyInOther.sort();
        QVERIFY2(onlyInReference.isEmpty() && onlyInOther.isEmpty(),
                 qPrintable(QStringLiteral("%1 lacks: %2\n%3 lacks: %4")
                                .arg(path, onlyInReference.join(", "), files.first(),
                                     onlyInOther.join(", "))));
    }
}

void tst_LanguageCoverage::germanNamesItself()
{
    TLanguageFile file;
    QVERIFY(file.load(SourceDir + QStringLiteral("/data/Languages/qwdeu.ini")));
    QCOMPARE(file.read(QStringLiteral("INFO"), QStringLiteral("Language"), QString()),
             QStringLiteral("Deutsch"));
    TLanguageFile english;
    QVERIFY(english.load(SourceDir + QStringLiteral("/data/Languages/qweng.ini")));
    QCOMPARE(english.read(QStringLiteral("INFO"), QStringLiteral("Language"), QString()),
             QStringLiteral("English"));
}

void tst_LanguageCoverage::noDuplicatesInShippedFiles_data()
{
    sourceLookupsPresent_data();
}

void tst_LanguageCoverage::noDuplicatesInShippedFiles()
{
    // A repeated key or section is never read (the first one wins), so a
    // second entry is an editing slip that silently hides a text.
    QFETCH(QString, path);
    const QStringList lines =
        readText(path).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    QSet<QString> sections;
    QSet<QString> keys;
    QString section;
    QStringList repeated;
    for (const QString& line : lines)
    {
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']'))
        {
            section = line.toLower();
            if (sections.contains(section))
                repeated.append(line);
            sections.insert(section);
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
        {
            repeated.append(QStringLiteral("not an entry: ") + line);
            continue;
        }
        const QString name = section + line.left(equals).toLower();
        if (keys.contains(name))
            repeated.append(line);
        keys.insert(name);
    }
    QVERIFY2(repeated.isEmpty(), qPrintable(repeated.join(u'\n')));
}

QTEST_MAIN(tst_LanguageCoverage)
#include "tst_LanguageCoverage.moc"

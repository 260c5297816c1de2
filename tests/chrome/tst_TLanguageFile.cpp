#include "chrome/LanguageFolders.h"
#include "chrome/TLanguage.h"
#include "chrome/TLanguageFile.h"
#include "chrome/TLanguageMenu.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace
{
void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(content);
}

// A file larger than a language file may be.
void writeOversized(const QString& path)
{
    writeFile(path, "[MAIN]\nA=big\n");
    QFile grow(path);
    QVERIFY(grow.resize(TLanguageFile::MaximumFileSize + 1));
}

QString text(const TLanguageFile& file, const char* section, const char* key)
{
    return file.read(QLatin1String(section), QLatin1String(key), QStringLiteral("<none>"));
}

// A languages folder with named languages, one file without INFO and
// entries that are not language files.
struct LanguageFolder
{
    QTemporaryDir dir;
    LanguageFolder()
    {
        writeFile(dir.filePath(QStringLiteral("qweng.ini")), "[INFO]\nLanguage=English\n");
        writeFile(dir.filePath(QStringLiteral("qwdeu.ini")), "[info]\nlanguage=Deutsch\n");
        writeFile(dir.filePath(QStringLiteral("tj.ini")), "[INFO]\nLanguage=Tom & Jerry\n");
        writeFile(dir.filePath(QStringLiteral("bare.ini")), "[GLOBAL]\nOK=OK\n");
        writeFile(dir.filePath(QStringLiteral("readme.txt")), "[INFO]\nLanguage=Text\n");
        QDir(dir.path()).mkpath(QStringLiteral("folder.ini"));
    }
    QString path(const QString& name) const { return QDir(dir.path()).absoluteFilePath(name); }
};

// Item text by file name, "*" marking the checked one.
QMap<QString, QString> itemsByFile(QMenu& menu)
{
    QMap<QString, QString> items;
    for (QAction* action : menu.actions())
        items.insert(QFileInfo(action->data().toString()).fileName(),
                     action->text() + (action->isChecked() ? QStringLiteral("*") : QString()));
    return items;
}
} // namespace

class tst_TLanguageFile : public QObject
{
    Q_OBJECT

private slots:
    void lineRules()
    {
        // File text, section and key asked for, found, text read.
        // clang-format off
        const QList<std::tuple<QByteArray, QString, QString, bool, QString>> rows = {
            {"[S]\r\nA=1\r\nB=2\r\n", "S", "B", true, "2"},
            {"[main]\nmenuFILE=1", "MAIN", "MenuFile", true, "1"}, // section and key in any case
            {"[S]\nA=1\na=2\n[s]\nA=3", "S", "A", true, "1"}, // the first key wins
            {"[S]\nA=1\n[s]\nB=2", "S", "B", false, ""}, // a repeated section is not searched
            {"[S]\nA=Gr\xc3\xb6\xc3\x9f\x65", "S", "A", true, QString::fromUtf8("Größe")},
            {"\xef\xbb\xbf[S]\nA=1", "S", "A", true, "1"}, // byte-order mark
        };
        // clang-format on
        for (const auto& [content, section, key, present, text] : rows)
        {
            TLanguageFile file;
            file.loadFromData(content);
            QCOMPARE(file.contains(section, key), present);
            QCOMPARE(file.read(section, key, QStringLiteral("<default>")),
                     present ? text : QStringLiteral("<default>"));
        }
    }

    // A load replaces what was loaded, or leaves nothing; a pipe is never
    // waited for.
    void loadReplacesOrEmpties()
    {
        for (const QString kind : {"file", "oversized", "pipe"})
        {
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("x.ini"));
            if (kind == QLatin1String("file"))
                writeFile(path, "[S]\nB=2\n");
            else if (kind == QLatin1String("oversized"))
                writeOversized(path);
            else
                QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            const bool loaded = kind == QLatin1String("file");
            TLanguageFile file;
            file.loadFromData("[S]\nA=1\n");
            QCOMPARE(file.load(path), loaded);
            QVERIFY(!file.contains(QStringLiteral("S"), QStringLiteral("A")));
            QCOMPARE(file.isEmpty(), !loaded);
            // Only a readable file counts as a language.
            QCOMPARE(LanguageFolders({dir.path()}).filePath(QStringLiteral("x.ini")).isEmpty(),
                     kind == QLatin1String("pipe"));
        }
    }

    void sectionsAndEntriesAreBounded()
    {
        // A file as large as allowed, made of nothing but tiny sections.
        QByteArray data;
        for (int i = 0; data.size() < TLanguageFile::MaximumFileSize - 16; ++i)
            data += "[s" + QByteArray::number(i) + "]\nk=v\n";
        TLanguageFile file;
        file.loadFromData(data);
        QCOMPARE(file.sections().size(), TLanguageFile::MaximumSections);
        QCOMPARE(text(file, "s0", "k"), QStringLiteral("v"));

        data = "[S]\n";
        for (int i = 0; i < TLanguageFile::MaximumEntries + 10; ++i)
            data += "k" + QByteArray::number(i) + "=v\n";
        file.loadFromData(data);
        QCOMPARE(file.keys(QStringLiteral("S")).size(), TLanguageFile::MaximumEntries);
    }

    void missingTextsComeFromTheDefault()
    {
        TLanguageFile shipped;
        shipped.loadFromData("[MAIN]\nA=shipped a\nB=shipped b\n[GLOBAL]\nOK=OK\n");
        // A file that used up its bounds still gets every text it lacks.
        QByteArray data = "[main]\na=own a\nEmpty=\n";
        for (int i = 0; i < TLanguageFile::MaximumSections; ++i)
            data += "[s" + QByteArray::number(i) + "]\n";
        TLanguageFile own;
        own.loadFromData(data);
        own.addMissingFrom(shipped);
        QCOMPARE(text(own, "MAIN", "A"), QStringLiteral("own a"));
        QCOMPARE(text(own, "MAIN", "B"), QStringLiteral("shipped b"));
        QCOMPARE(text(own, "GLOBAL", "OK"), QStringLiteral("OK"));
        QCOMPARE(text(own, "MAIN", "Empty"), QString());
    }

    // An oversized chosen file is still the language, its texts the shipped
    // ones; a chosen file gone since falls back to the shipped language.
    void chosenFileFallsBackPerText()
    {
        for (const bool oversized : {true, false})
        {
            QTemporaryDir user;
            QTemporaryDir installed;
            writeFile(installed.filePath(QStringLiteral("qweng.ini")),
                      "[MAIN]\nA=shipped a\nB=shipped b\n");
            if (oversized)
                writeOversized(user.filePath(QStringLiteral("own.ini")));
            const QString used =
                oversized ? QStringLiteral("own.ini") : QStringLiteral("qweng.ini");
            TLanguage language;
            QCOMPARE(language.LoadChosen(LanguageFolders({user.path(), installed.path()}),
                                         QStringLiteral("own.ini")),
                     used);
            QCOMPARE(language.FileName(), used);
            QCOMPARE(language.GetLangText(QStringLiteral("MAIN"), QStringLiteral("A")),
                     "shipped a");
            QCOMPARE(language.GetLangText(QStringLiteral("MAIN"), QStringLiteral("B")),
                     "shipped b");
        }
    }

    void langText()
    {
        TLanguage language;
        language.LoadFromData("[MAIN]\nMenuFile=&File\nEmpty=\n[GLOBAL]\nChangeRestart=\nOK=OK\n");
        QCOMPARE(language.GetLangText("MAIN", "MenuFile"), "&File");
        QCOMPARE(language.GetLangText("MAIN", "Nothing"), "UNDEFINED: MAIN > Nothing");
    }

    // Placeholders: "~~Key" is a GLOBAL text, "__Key" one of the section.
    void translateText()
    {
        TLanguage language;
        language.LoadFromData(
            "[GLOBAL]\nOK=OK\n[MAIN]\nOpen=&Open\nEmpty=\n_Under=under\nChain=__Open\n");
        const auto translated = [&](const char* value)
        { return language.TranslateText(QString::fromLatin1(value), QStringLiteral("MAIN")); };
        QCOMPARE(translated("~~OK"), "OK");
        QCOMPARE(translated("__Empty"), "__Empty"); // an empty entry leaves the placeholder
        QCOMPARE(translated("___Under"), "under");
        QCOMPARE(translated("__Chain"), "__Open"); // a replacement is not looked up again
    }

    void resolveFileName()
    {
        QTemporaryDir root;
        QDir(root.path()).mkpath(QStringLiteral("Languages/folder.ini"));
        const QString folder = root.filePath(QStringLiteral("Languages"));
        writeFile(folder + QStringLiteral("/qwdeu.ini"), "[INFO]\nLanguage=Deutsch\n");
        writeFile(root.filePath(QStringLiteral("outside.ini")), "[INFO]\n");
        QCOMPARE(TLanguage::ResolveFileName(folder, "qwdeu.ini"), "qwdeu.ini");
        QCOMPARE(TLanguage::ResolveFileName(folder, "QWDEU.INI"), "qweng.ini");
        QCOMPARE(TLanguage::ResolveFileName(folder, "../outside.ini"), "qweng.ini");
    }

    void languageMenuListsEveryFileOnceAndReportsExistingOnes()
    {
        LanguageFolder folder;
        QMenu menu;
        menu.addAction(QString()); // the design-time item that makes the entry a submenu
        TLanguageMenu languages;
        languages.RebuildLanguageMenu(&menu, folder.dir.path(), QStringLiteral("qwdeu.ini"));
        languages.RebuildLanguageMenu(&menu, folder.dir.path(), QStringLiteral("qwdeu.ini"));

        const QMap<QString, QString> expected = {{"bare.ini", ""},
                                                 {"qwdeu.ini", "Deutsch*"},
                                                 {"qweng.ini", "English"},
                                                 {"tj.ini", "Tom && Jerry"}};
        QCOMPARE(itemsByFile(menu), expected);

        // Choosing the language already in use is still a choice; a file
        // gone since the menu was built is not.
        QSignalSpy chosen(&languages, &TLanguageMenu::languageChosen);
        QMap<QString, QAction*> items;
        for (QAction* action : menu.actions())
            items.insert(QFileInfo(action->data().toString()).fileName(), action);
        items[QStringLiteral("qwdeu.ini")]->trigger();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.at(0).at(0).toString(), folder.path(QStringLiteral("qwdeu.ini")));
        QVERIFY(QFile::remove(folder.path(QStringLiteral("qweng.ini"))));
        items[QStringLiteral("qweng.ini")]->trigger();
        QCOMPARE(chosen.size(), 1);
    }
};

QTEST_MAIN(tst_TLanguageFile)
#include "tst_TLanguageFile.moc"

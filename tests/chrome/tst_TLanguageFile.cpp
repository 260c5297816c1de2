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
    void lineRules_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("CR LF") << QByteArray("[S]\r\nA=1\r\nB=2\r\n") << "S" << "B" << true << "2";
        QTest::newRow("section and key case") << QByteArray("[main]\nmenuFILE=1") << "MAIN" << "MenuFile" << true << "1";
        QTest::newRow("first key wins") << QByteArray("[S]\nA=1\na=2\n[s]\nA=3") << "S" << "A" << true << "1";
        QTest::newRow("repeated section is not searched") << QByteArray("[S]\nA=1\n[s]\nB=2") << "S" << "B" << false << "";
        QTest::newRow("UTF-8") << QByteArray("[S]\nA=Gr\xc3\xb6\xc3\x9f\x65") << "S" << "A" << true << QString::fromUtf8("Größe");
        QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf[S]\nA=1") << "S" << "A" << true << "1";
        // clang-format on
    }

    void lineRules()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(bool, present);
        QFETCH(QString, text);

        TLanguageFile file;
        file.loadFromData(content);
        QCOMPARE(file.contains(section, key), present);
        QCOMPARE(file.read(section, key, QStringLiteral("<default>")),
                 present ? text : QStringLiteral("<default>"));
    }

    void loadReplacesOrEmpties_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("loaded");
        // clang-format off
        QTest::newRow("file") << "file" << true;
        QTest::newRow("oversized") << "oversized" << false;
        QTest::newRow("pipe, never waited for") << "pipe" << false;
        // clang-format on
    }

    void loadReplacesOrEmpties()
    {
        QFETCH(QString, kind);
        QFETCH(bool, loaded);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("x.ini"));
        if (kind == QLatin1String("file"))
            writeFile(path, "[S]\nB=2\n");
        else if (kind == QLatin1String("oversized"))
            writeOversized(path);
        else if (kind == QLatin1String("pipe"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);

        TLanguageFile file;
        file.loadFromData("[S]\nA=1\n");
        QCOMPARE(file.load(path), loaded);
        QVERIFY(!file.contains(QStringLiteral("S"), QStringLiteral("A")));
        QCOMPARE(file.isEmpty(), !loaded);
        // Only a readable file counts as a language.
        QCOMPARE(LanguageFolders({dir.path()}).filePath(QStringLiteral("x.ini")).isEmpty(),
                 kind != QLatin1String("file") && kind != QLatin1String("oversized"));
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

    void chosenFileFallsBackPerText_data()
    {
        QTest::addColumn<QByteArray>("chosen"); // "BIG": larger than a language file may be
        QTest::addColumn<QString>("used");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        // clang-format off
        QTest::newRow("oversized")    << QByteArray("BIG")             << "own.ini"   << "shipped a" << "shipped b";
        QTest::newRow("gone")         << QByteArray()                  << "qweng.ini" << "shipped a" << "shipped b";
        // clang-format on
    }

    void chosenFileFallsBackPerText()
    {
        QFETCH(QByteArray, chosen);
        QFETCH(QString, used);
        QFETCH(QString, a);
        QFETCH(QString, b);
        QTemporaryDir user;
        QTemporaryDir installed;
        writeFile(installed.filePath(QStringLiteral("qweng.ini")),
                  "[MAIN]\nA=shipped a\nB=shipped b\n");
        const QString own = user.filePath(QStringLiteral("own.ini"));
        if (chosen == "BIG")
            writeOversized(own);
        else if (!chosen.isEmpty())
            writeFile(own, chosen);

        TLanguage language;
        QCOMPARE(language.LoadChosen(LanguageFolders({user.path(), installed.path()}),
                                     QStringLiteral("own.ini")),
                 used);
        QCOMPARE(language.FileName(), used);
        QCOMPARE(language.GetLangText(QStringLiteral("MAIN"), QStringLiteral("A")), a);
        QCOMPARE(language.GetLangText(QStringLiteral("MAIN"), QStringLiteral("B")), b);
    }

    void langText_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("present") << "MAIN" << "MenuFile" << "&File";
        QTest::newRow("missing key") << "MAIN" << "Nothing" << "UNDEFINED: MAIN > Nothing";
        // clang-format on
    }

    void langText()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        TLanguage language;
        language.LoadFromData("[MAIN]\nMenuFile=&File\nEmpty=\n[GLOBAL]\nChangeRestart=\nOK=OK\n");
        QCOMPARE(language.GetLangText(section, key), expected);
        if (section == TLanguage::GlobalSection())
            QCOMPARE(language.GetGlobalText(key), expected);
    }

    void translateText_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("global") << "~~OK" << "OK";
        QTest::newRow("empty entry stays placeholder") << "__Empty" << "__Empty";
        QTest::newRow("key starting with underscore") << "___Under" << "under";
        QTest::newRow("replacement is not looked up again") << "__Chain" << "__Open";
        // clang-format on
    }

    void translateText()
    {
        QFETCH(QString, value);
        QFETCH(QString, expected);
        TLanguage language;
        language.LoadFromData(
            "[GLOBAL]\nOK=OK\n[MAIN]\nOpen=&Open\nEmpty=\n_Under=under\nChain=__Open\n");
        QCOMPARE(language.TranslateText(value, QStringLiteral("MAIN")), expected);
    }

    void resolveFileName_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("present") << "qwdeu.ini" << "qwdeu.ini";
        QTest::newRow("other case") << "QWDEU.INI" << "qweng.ini";
        QTest::newRow("parent folder") << "../outside.ini" << "qweng.ini";
        // clang-format on
    }

    void resolveFileName()
    {
        QFETCH(QString, configured);
        QFETCH(QString, expected);
        QTemporaryDir root;
        QDir(root.path()).mkpath(QStringLiteral("Languages/folder.ini"));
        const QString folder = root.filePath(QStringLiteral("Languages"));
        writeFile(folder + QStringLiteral("/qwdeu.ini"), "[INFO]\nLanguage=Deutsch\n");
        writeFile(root.filePath(QStringLiteral("outside.ini")), "[INFO]\n");
        QCOMPARE(TLanguage::ResolveFileName(folder, configured), expected);
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

// Language files: how they are read, which one is the language, the menu
// that lists them, and the translation of a window's texts.

#include "chrome/ITranslatableItems.h"
#include "chrome/LanguageFolders.h"
#include "chrome/TLanguage.h"
#include "chrome/TLanguageFile.h"
#include "chrome/TLanguageMenu.h"

#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>

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
    QVERIFY(QFile(path).resize(TLanguageFile::MaximumFileSize + 1));
}

// clang-format off
const QByteArray LanguageText =
    "[GLOBAL]\nOK=Okay\nLinks=Bookmarks\n"
    "[MAIN]\nCaption=Main Title\nMenuFile=&File\nMenuFileHint=File|The file commands\n"
    "MenuFileOpen=&Open...\nMenuFileOpenHint=Open|Opens a page\nMenuFileExit=E&xit\n"
    "PlainHint=Just one form\nChain=__Final\nFinal=should never appear\n"
    "Group=Options\nEdit=edit text\nEditPrompt=type here\nDock=Side bar\n"
    "Tab1=First\nTab1Hint=First tab|The first tab\nNameColumn=Name\nNode=Translated node\n"
    "Child=Translated child\nBand=Address band\n"
    "BrowseTitle=Choose a File\nBrowseFilter=Pages (*.htm *.html);;All files (*)\n";
// clang-format on

// Placeholders are "__Key" (the form's own section) or "~~Key" (GLOBAL).
void translate(QWidget* window)
{
    TLanguage language;
    language.LoadFromData(LanguageText, "test.ini");
    language.TranslateComponent(window, "MAIN");
}

// Stands for a cool bar: texts that are not objects of their own.
class BandBar : public QWidget, public ITranslatableItems
{
public:
    using QWidget::QWidget;
    QStringList bands;
    QStringList translatableTexts() const override { return bands; }
    void setTranslatableText(int index, const QString& text) override { bands[index] = text; }
};
} // namespace

class tst_TLanguageFile : public QObject
{
    Q_OBJECT

    static QString text(const TLanguageFile& file, const QString& section, const QString& key)
    {
        return file.read(section, key, "<none>");
    }

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
            {"\xef\xbb\xbf[S]\nA=1", "S", "A", true, "1"}}; // byte-order mark
        // clang-format on
        for (const auto& [content, section, key, present, text] : rows)
        {
            TLanguageFile file;
            file.loadFromData(content);
            QCOMPARE(file.contains(section, key), present);
            QCOMPARE(file.read(section, key, "<default>"), present ? text : "<default>");
        }
    }

    // A load replaces what was loaded, or leaves nothing; a pipe is never
    // waited for, and only a readable file counts as a language.
    void loadReplacesOrEmpties()
    {
        for (const QString kind : {"file", "oversized", "pipe"})
        {
            QTemporaryDir dir;
            const QString path = dir.filePath("x.ini");
            if (kind == "file")
                writeFile(path, "[S]\nB=2\n");
            else if (kind == "oversized")
                writeOversized(path);
            else
                QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            TLanguageFile file;
            file.loadFromData("[S]\nA=1\n");
            QCOMPARE(file.load(path), kind == "file");
            QVERIFY(!file.contains("S", "A"));
            QCOMPARE(file.isEmpty(), kind != "file");
            QCOMPARE(LanguageFolders({dir.path()}).filePath("x.ini").isEmpty(), kind == "pipe");
        }
    }

    // A file as large as allowed, made of nothing but tiny sections or
    // entries, stops at the bounds.
    void sectionsAndEntriesAreBounded()
    {
        QByteArray sections, entries = "[S]\n";
        for (int i = 0; sections.size() < TLanguageFile::MaximumFileSize - 16; ++i)
            sections += "[s" + QByteArray::number(i) + "]\nk=v\n";
        for (int i = 0; i < TLanguageFile::MaximumEntries + 10; ++i)
            entries += "k" + QByteArray::number(i) + "=v\n";
        TLanguageFile file, one;
        file.loadFromData(sections);
        one.loadFromData(entries);
        QCOMPARE(file.sections().size(), TLanguageFile::MaximumSections);
        QCOMPARE(text(file, "s0", "k"), "v");
        QCOMPARE(one.keys("S").size(), TLanguageFile::MaximumEntries);
    }

    // A file that used up its bounds still gets every text it lacks.
    void missingTextsComeFromTheDefault()
    {
        TLanguageFile shipped, own;
        shipped.loadFromData("[MAIN]\nA=shipped a\nB=shipped b\n[GLOBAL]\nOK=OK\n");
        QByteArray data = "[main]\na=own a\nEmpty=\n";
        for (int i = 0; i < TLanguageFile::MaximumSections; ++i)
            data += "[s" + QByteArray::number(i) + "]\n";
        own.loadFromData(data);
        own.addMissingFrom(shipped);
        QCOMPARE(QStringList({text(own, "MAIN", "A"), text(own, "MAIN", "B"),
                              text(own, "GLOBAL", "OK"), text(own, "MAIN", "Empty")}),
                 QStringList({"own a", "shipped b", "OK", ""}));
    }

    // An oversized chosen file is still the language, its texts the shipped
    // ones; a chosen file gone since falls back to the shipped language.
    void chosenFileFallsBackPerText()
    {
        for (const bool oversized : {true, false})
        {
            QTemporaryDir user, installed;
            writeFile(installed.filePath("qweng.ini"), "[MAIN]\nA=shipped a\nB=shipped b\n");
            if (oversized)
                writeOversized(user.filePath("own.ini"));
            const QString used = oversized ? "own.ini" : "qweng.ini";
            TLanguage language;
            QCOMPARE(
                language.LoadChosen(LanguageFolders({user.path(), installed.path()}), "own.ini"),
                used);
            QCOMPARE(language.FileName(), used);
            QCOMPARE(language.GetLangText("MAIN", "A") + ',' + language.GetLangText("MAIN", "B"),
                     "shipped a,shipped b");
        }
    }

    // Placeholders: "~~Key" is a GLOBAL text, "__Key" one of the section.
    void langAndTranslateText()
    {
        TLanguage language;
        language.LoadFromData(
            "[GLOBAL]\nOK=OK\n[MAIN]\nOpen=&Open\nEmpty=\n_Under=under\nChain=__Open\n");
        QCOMPARE(language.GetLangText("MAIN", "Open"), "&Open");
        QCOMPARE(language.GetLangText("MAIN", "Nothing"), "UNDEFINED: MAIN > Nothing");
        const auto translated = [&](const char* value)
        { return language.TranslateText(QString::fromLatin1(value), "MAIN"); };
        QCOMPARE(translated("~~OK"), "OK");
        QCOMPARE(translated("__Empty"), "__Empty"); // an empty entry leaves the placeholder
        QCOMPARE(translated("___Under"), "under");
        QCOMPARE(translated("__Chain"), "__Open"); // a replacement is not looked up again
    }

    // Only a file of the folder, named in its own case, is a language.
    void resolveFileName()
    {
        QTemporaryDir root;
        QDir(root.path()).mkpath("Languages/folder.ini");
        const QString folder = root.filePath("Languages");
        writeFile(folder + "/qwdeu.ini", "[INFO]\nLanguage=Deutsch\n");
        writeFile(root.filePath("outside.ini"), "[INFO]\n");
        for (const char* name : {"qwdeu.ini", "QWDEU.INI", "../outside.ini", "folder.ini"})
            QCOMPARE(TLanguage::ResolveFileName(folder, name),
                     name == QLatin1String("qwdeu.ini") ? "qwdeu.ini" : "qweng.ini");
    }

    // Named languages, one file without INFO and entries that are not
    // language files; built twice, each file is listed once.
    void languageMenuListsEveryFileOnceAndReportsExistingOnes()
    {
        QTemporaryDir dir;
        // clang-format off
        const QList<std::pair<QString, QByteArray>> files = {
            {"qweng.ini", "[INFO]\nLanguage=English\n"}, {"qwdeu.ini", "[info]\nlanguage=Deutsch\n"},
            {"tj.ini", "[INFO]\nLanguage=Tom & Jerry\n"}, {"bare.ini", "[GLOBAL]\nOK=OK\n"},
            {"readme.txt", "[INFO]\nLanguage=Text\n"}};
        // clang-format on
        for (const auto& [name, content] : files)
            writeFile(dir.filePath(name), content);
        QDir(dir.path()).mkpath("folder.ini");
        QMenu menu;
        menu.addAction(QString()); // the design-time item that makes the entry a submenu
        TLanguageMenu languages;
        languages.RebuildLanguageMenu(&menu, dir.path(), "qwdeu.ini");
        languages.RebuildLanguageMenu(&menu, dir.path(), "qwdeu.ini");
        // Item text by file name, "*" marking the checked one.
        QMap<QString, QString> texts;
        QMap<QString, QAction*> items;
        for (QAction* action : menu.actions())
        {
            const QString file = QFileInfo(action->data().toString()).fileName();
            texts.insert(file, action->text() + (action->isChecked() ? "*" : ""));
            items.insert(file, action);
        }
        const QMap<QString, QString> expected = {{"bare.ini", ""},
                                                 {"qwdeu.ini", "Deutsch*"},
                                                 {"qweng.ini", "English"},
                                                 {"tj.ini", "Tom && Jerry"}};
        QCOMPARE(texts, expected);

        // Choosing the language already in use is still a choice; a file
        // gone since the menu was built is not.
        QSignalSpy chosen(&languages, &TLanguageMenu::languageChosen);
        items["qwdeu.ini"]->trigger();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.at(0).at(0).toString(), QDir(dir.path()).absoluteFilePath("qwdeu.ini"));
        QVERIFY(QFile::remove(dir.filePath("qweng.ini")));
        items["qweng.ini"]->trigger();
        QCOMPARE(chosen.size(), 1);
    }

    // A window's texts: placeholders in every kind of control, menu, view
    // and item list replaced by the language's texts.
    void translateMainWindowMenusActionsAndBands()
    {
        QMainWindow window;
        window.setWindowTitle("__Caption");
        QMenu* file = window.menuBar()->addMenu("__MenuFile");
        QAction* open = file->addAction("__MenuFileOpen");
        open->setToolTip("__MenuFileOpenHint");
        open->setStatusTip("__MenuFileOpenHint");
        auto* sub = new QMenu("__MenuFile", file);
        sub->setStatusTip("__MenuFileHint");
        file->addMenu(sub);
        // An action reached from a menu though owned elsewhere.
        QObject owner;
        auto* exit = new QAction("__MenuFileExit", &owner);
        file->addAction(exit);
        // One reached three ways is translated once.
        auto* shared = new QAction("__Chain", &window);
        file->addAction(shared);
        window.menuBar()->addMenu("two")->addAction(shared);
        window.addToolBar("bar")->addAction(shared);
        auto* bands = new BandBar(&window);
        bands->bands = {"__Band", "~~Links", "Menu", "__Missing"};
        auto* dock = new QDockWidget("__Dock", &window);
        window.addDockWidget(Qt::LeftDockWidgetArea, dock);
        auto* radio = new QAction("__MenuFileExit", new QActionGroup(&window));

        translate(&window);
        // A submenu's hint reaches the item that opens it; with no hint
        // designed for it, the tool tip still follows the caption.
        // clang-format off
        QCOMPARE(QStringList({window.windowTitle(), open->toolTip(), open->statusTip(),
                              sub->menuAction()->statusTip(), sub->menuAction()->toolTip(),
                              exit->toolTip(), shared->text(), dock->windowTitle(), radio->text()}),
                 QStringList({"Main Title", "Open", "Opens a page", "The file commands", "File",
                              "Exit", "__Final", "Side bar", "E&xit"}));
        // clang-format on
        QCOMPARE(bands->bands, QStringList({"Address band", "Bookmarks", "Menu", "__Missing"}));
    }

    void translateWidgetTextsHintsAndItemViews()
    {
        QDialog window;
        auto* ok = new QPushButton("~~OK", &window);
        auto* group = new QGroupBox("__Group", &window);
        auto* edit = new QLineEdit("__Edit", group);
        edit->setPlaceholderText("__EditPrompt");
        auto* combo = new QComboBox(&window);
        combo->setEditable(true);
        combo->setEditText("__Edit");
        combo->setPlaceholderText("__EditPrompt");
        auto* memo = new QPlainTextEdit("__Edit", &window);
        auto* tabs = new QTabWidget(&window);
        tabs->addTab(new QWidget, "__Tab1");
        tabs->setTabToolTip(0, "__Tab1Hint");
        auto* button = new QToolButton(&window);
        button->setToolTip("__PlainHint");
        auto* statusOnly = new QPushButton(&window);
        statusOnly->setStatusTip("__MenuFileOpenHint");
        auto* separate = new QPushButton(&window);
        separate->setToolTip("__MenuFileOpenHint");
        separate->setStatusTip("kept as designed");
        auto* browse = new QFileDialog(&window);
        browse->setWindowTitle("__BrowseTitle");
        browse->setNameFilter("__BrowseFilter");

        auto* tree = new QTreeWidget(&window);
        tree->setHeaderLabels({"__NameColumn", "~~OK"});
        auto* top = new QTreeWidgetItem(tree, {"__Node", "__Child"});
        auto* grandChild = new QTreeWidgetItem(new QTreeWidgetItem(top, {"__Child"}), {"~~OK"});
        // Rows of a list view are user data: a sticky name that happens to
        // look like a placeholder must survive.
        auto* list = new QTreeWidget(&window);
        list->setRootIsDecorated(false);
        list->setHeaderLabels({"__NameColumn"});
        auto* row = new QTreeWidgetItem(list, {"__Node"});
        auto* table = new QTableWidget(2, 2, &window);
        table->setHorizontalHeaderLabels({"__NameColumn", "Plain"});
        table->setVerticalHeaderLabels({"~~OK", "__Missing"});
        table->setItem(0, 0, new QTableWidgetItem("__Node"));
        auto* view = new QTreeView(&window);
        auto* model = new QStandardItemModel(view);
        model->setHorizontalHeaderLabels({"__NameColumn"});
        auto* node = new QStandardItem("__Node");
        auto* child = new QStandardItem("__Child");
        node->appendRow(child);
        model->appendRow(node);
        view->setModel(model);

        translate(&window);
        // A hint without a bar is both forms; a designed status tip stays.
        // clang-format off
        QCOMPARE(QStringList({ok->text(), group->title(), edit->placeholderText(),
                              combo->placeholderText(), memo->toPlainText(), tabs->tabToolTip(0),
                              button->statusTip(), statusOnly->toolTip(), separate->statusTip()}),
                 QStringList({"Okay", "Options", "type here", "type here", "edit text", "First tab",
                              "Just one form", "Open", "kept as designed"}));
        QCOMPARE(browse->nameFilters(), QStringList({"Pages (*.htm *.html)", "All files (*)"}));
        QCOMPARE(QStringList({tree->headerItem()->text(1), top->text(1), grandChild->text(0),
                              list->headerItem()->text(0), row->text(0),
                              table->horizontalHeaderItem(0)->text(), table->verticalHeaderItem(0)->text(),
                              table->verticalHeaderItem(1)->text(), table->item(0, 0)->text(),
                              model->horizontalHeaderItem(0)->text(), child->text()}),
                 QStringList({"Okay", "Translated child", "Okay", "Name", "__Node", "Name", "Okay",
                              "__Missing", "__Node", "Name", "Translated child"}));
        // clang-format on
    }
};

QTEST_MAIN(tst_TLanguageFile)
#include "tst_TLanguageFile.moc"

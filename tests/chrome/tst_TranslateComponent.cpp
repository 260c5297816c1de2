#include "chrome/ITranslatableItems.h"
#include "chrome/TLanguage.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

namespace
{
const QByteArray LanguageText =
    "[GLOBAL]\nOK=Okay\nLinks=Bookmarks\n"
    "[MAIN]\nCaption=Main Title\nMenuFile=&File\n"
    "MenuFileHint=File|The file commands\nMenuFileOpen=&Open...\n"
    "MenuFileOpenHint=Open|Opens a page\nMenuFileExit=E&xit\n"
    "PlainHint=Just one form\nChain=__Final\nFinal=should never appear\n"
    "Prompt=Type an address\nCheck=Open in a new tab\nGroup=Options\nEdit=edit text\n"
    "EditPrompt=type here\nDock=Side bar\nTab1=First\n"
    "Tab1Hint=First tab|The first tab\nNameColumn=Name\nNode=Translated node\n"
    "Child=Translated child\nBand=Address band\n"
    "BrowseTitle=Choose a File\nBrowseFilter=Pages (*.htm *.html);;All files (*)\n";

TLanguage makeLanguage()
{
    TLanguage language;
    language.LoadFromData(LanguageText, QStringLiteral("test.ini"));
    return language;
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

// Placeholders are "__Key" (the form's own section) or "~~Key" (GLOBAL).
const QString Section = QStringLiteral("MAIN");

class tst_TranslateComponent : public QObject
{
    Q_OBJECT

private slots:
    void mainWindowMenusActionsAndBands()
    {
        QMainWindow window;
        window.setWindowTitle(QStringLiteral("__Caption"));
        QMenu* file = window.menuBar()->addMenu(QStringLiteral("__MenuFile"));
        QAction* open = file->addAction(QStringLiteral("__MenuFileOpen"));
        open->setToolTip(QStringLiteral("__MenuFileOpenHint"));
        open->setStatusTip(QStringLiteral("__MenuFileOpenHint"));
        auto* sub = new QMenu(QStringLiteral("__MenuFile"), file);
        sub->setStatusTip(QStringLiteral("__MenuFileHint"));
        file->addMenu(sub);
        // An action reached from a menu though owned elsewhere.
        QObject owner;
        auto* exit = new QAction(QStringLiteral("__MenuFileExit"), &owner);
        file->addAction(exit);
        // One reached three ways is translated once.
        auto* shared = new QAction(QStringLiteral("__Chain"), &window);
        file->addAction(shared);
        window.menuBar()->addMenu(QStringLiteral("two"))->addAction(shared);
        window.addToolBar(QStringLiteral("bar"))->addAction(shared);
        auto* bands = new BandBar(&window);
        bands->bands = {QStringLiteral("__Band"), QStringLiteral("~~Links"), QStringLiteral("Menu"),
                        QStringLiteral("__Missing")};
        auto* dock = new QDockWidget(QStringLiteral("__Dock"), &window);
        window.addDockWidget(Qt::LeftDockWidgetArea, dock);
        auto* radio = new QAction(QStringLiteral("__MenuFileExit"), new QActionGroup(&window));

        makeLanguage().TranslateComponent(&window, Section);

        QCOMPARE(window.windowTitle(), QStringLiteral("Main Title"));
        QCOMPARE(open->toolTip(), QStringLiteral("Open"));
        QCOMPARE(open->statusTip(), QStringLiteral("Opens a page"));
        // A submenu's hint reaches the item that opens it.
        QCOMPARE(sub->menuAction()->statusTip(), QStringLiteral("The file commands"));
        QCOMPARE(sub->menuAction()->toolTip(), QStringLiteral("File"));
        // No hint was designed for it: the tool tip still follows the caption.
        QCOMPARE(exit->toolTip(), QStringLiteral("Exit"));
        QCOMPARE(shared->text(), QStringLiteral("__Final"));
        QCOMPARE(bands->bands,
                 QStringList({QStringLiteral("Address band"), QStringLiteral("Bookmarks"),
                              QStringLiteral("Menu"), QStringLiteral("__Missing")}));
        QCOMPARE(dock->windowTitle(), QStringLiteral("Side bar"));
        QCOMPARE(radio->text(), QStringLiteral("E&xit"));
    }

    void widgetTextsAndHints()
    {
        QDialog window;
        auto* ok = new QPushButton(QStringLiteral("~~OK"), &window);
        new QLabel(QStringLiteral("__Prompt"), &window);
        auto* group = new QGroupBox(QStringLiteral("__Group"), &window);
        auto* check = new QCheckBox(QStringLiteral("__Check"), group);
        auto* edit = new QLineEdit(QStringLiteral("__Edit"), group);
        edit->setPlaceholderText(QStringLiteral("__EditPrompt"));
        auto* combo = new QComboBox(&window);
        combo->setEditable(true);
        combo->setEditText(QStringLiteral("__Edit"));
        combo->setPlaceholderText(QStringLiteral("__EditPrompt"));
        auto* memo = new QPlainTextEdit(QStringLiteral("__Edit"), &window);
        auto* tabs = new QTabWidget(&window);
        tabs->addTab(new QWidget, QStringLiteral("__Tab1"));
        tabs->setTabToolTip(0, QStringLiteral("__Tab1Hint"));
        tabs->addTab(new QWidget, QStringLiteral("Page title"));
        auto* button = new QToolButton(&window);
        button->setToolTip(QStringLiteral("__PlainHint"));
        auto* statusOnly = new QPushButton(&window);
        statusOnly->setStatusTip(QStringLiteral("__MenuFileOpenHint"));
        auto* separate = new QPushButton(&window);
        separate->setToolTip(QStringLiteral("__MenuFileOpenHint"));
        separate->setStatusTip(QStringLiteral("kept as designed"));
        auto* browse = new QFileDialog(&window);
        browse->setWindowTitle(QStringLiteral("__BrowseTitle"));
        browse->setNameFilter(QStringLiteral("__BrowseFilter"));

        makeLanguage().TranslateComponent(&window, Section);
        QCOMPARE(ok->text(), QStringLiteral("Okay"));
        QCOMPARE(group->title(), QStringLiteral("Options"));
        QCOMPARE(check->text(), QStringLiteral("Open in a new tab"));
        QCOMPARE(edit->placeholderText(), QStringLiteral("type here"));
        QCOMPARE(combo->placeholderText(), QStringLiteral("type here"));
        QCOMPARE(memo->toPlainText(), QStringLiteral("edit text"));
        QCOMPARE(tabs->tabToolTip(0), QStringLiteral("First tab"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Page title"));
        // A hint without a bar is both forms; a designed status tip stays.
        QCOMPARE(button->statusTip(), QStringLiteral("Just one form"));
        QCOMPARE(statusOnly->toolTip(), QStringLiteral("Open"));
        QCOMPARE(separate->statusTip(), QStringLiteral("kept as designed"));
        QCOMPARE(browse->nameFilters(), QStringList({QStringLiteral("Pages (*.htm *.html)"),
                                                     QStringLiteral("All files (*)")}));
    }

    void itemViews()
    {
        QWidget window;
        auto* tree = new QTreeWidget(&window);
        tree->setHeaderLabels({QStringLiteral("__NameColumn"), QStringLiteral("~~OK")});
        auto* top =
            new QTreeWidgetItem(tree, {QStringLiteral("__Node"), QStringLiteral("__Child")});
        auto* grandChild = new QTreeWidgetItem(
            new QTreeWidgetItem(top, {QStringLiteral("__Child")}), {QStringLiteral("~~OK")});
        auto* ordinary = new QTreeWidgetItem(tree, {QStringLiteral("Ordinary text")});
        // Rows of a list view are user data: a sticky name that happens to
        // look like a placeholder must survive.
        auto* list = new QTreeWidget(&window);
        list->setRootIsDecorated(false);
        list->setHeaderLabels({QStringLiteral("__NameColumn")});
        auto* row = new QTreeWidgetItem(list, {QStringLiteral("__Node")});
        auto* table = new QTableWidget(2, 2, &window);
        table->setHorizontalHeaderLabels({QStringLiteral("__NameColumn"), QStringLiteral("Plain")});
        table->setVerticalHeaderLabels({QStringLiteral("~~OK"), QStringLiteral("__Missing")});
        table->setItem(0, 0, new QTableWidgetItem(QStringLiteral("__Node")));
        auto* view = new QTreeView(&window);
        auto* model = new QStandardItemModel(view);
        model->setHorizontalHeaderLabels({QStringLiteral("__NameColumn")});
        auto* node = new QStandardItem(QStringLiteral("__Node"));
        auto* child = new QStandardItem(QStringLiteral("__Child"));
        node->appendRow(child);
        model->appendRow(node);
        view->setModel(model);

        makeLanguage().TranslateComponent(&window, Section);
        QCOMPARE(tree->headerItem()->text(1), QStringLiteral("Okay"));
        QCOMPARE(top->text(1), QStringLiteral("Translated child"));
        QCOMPARE(grandChild->text(0), QStringLiteral("Okay"));
        QCOMPARE(ordinary->text(0), QStringLiteral("Ordinary text"));
        QCOMPARE(list->headerItem()->text(0), QStringLiteral("Name"));
        QCOMPARE(row->text(0), QStringLiteral("__Node"));
        QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("Name"));
        QCOMPARE(table->verticalHeaderItem(0)->text(), QStringLiteral("Okay"));
        QCOMPARE(table->verticalHeaderItem(1)->text(), QStringLiteral("__Missing"));
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("__Node"));
        QCOMPARE(model->horizontalHeaderItem(0)->text(), QStringLiteral("Name"));
        QCOMPARE(child->text(), QStringLiteral("Translated child"));
    }
};

QTEST_MAIN(tst_TranslateComponent)
#include "tst_TranslateComponent.moc"

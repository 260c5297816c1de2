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
    "[INFO]\nLanguage=Test\n"
    "[GLOBAL]\nOK=Okay\nCancel=Abort\nLinks=Bookmarks\n"
    "[MAIN]\nCaption=Main Title\nMenuFile=&File\n"
    "MenuFileHint=File|The file commands\nMenuFileOpen=&Open...\n"
    "MenuFileOpenHint=Open|Opens a page\nMenuFileExit=E&xit\n"
    "PlainHint=Just one form\nChain=__Final\nFinal=should never appear\n"
    "Prompt=Type an address\nCheck=Open in a new tab\nGroup=Options\nEdit=edit text\n"
    "EditPrompt=type here\nDock=Side bar\nTab1=First\n"
    "Tab1Hint=First tab|The first tab\nNameColumn=Name\nNode=Translated node\n"
    "Child=Translated child\nBand=Address band\n"
    "[OPEN]\nCaption=Open\nBrowseTitle=Choose a File\n"
    "BrowseFilter=Pages (*.htm *.html);;All files (*)\n";

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

class tst_TranslateComponent : public QObject
{
    Q_OBJECT

private slots:
    void mainWindowMenusAndActions();
    void submenuHintReachesItsItem();
    void hintWithoutBarFillsBoth();
    void widgetTextsAndHints();
    void dialogWithFileDialog();
    void treeNodesInIndexOrder();
    void flatTreeIsAListViewOfColumns();
    void tableHeaders();
    void standardModelTree();
    void itemsOfNonObjects();
    void objectsOutsideTheRootAreUntouched();
};

void tst_TranslateComponent::mainWindowMenusAndActions()
{
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("__Caption"));
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("__MenuFile"));
    QAction* open = file->addAction(QStringLiteral("__MenuFileOpen"));
    open->setToolTip(QStringLiteral("__MenuFileOpenHint"));
    open->setStatusTip(QStringLiteral("__MenuFileOpenHint"));
    // An action reached from a menu though owned elsewhere.
    QObject owner;
    auto* exit = new QAction(QStringLiteral("__MenuFileExit"), &owner);
    file->addAction(exit);
    // One reached three ways is translated once.
    auto* shared = new QAction(QStringLiteral("__Chain"), &window);
    file->addAction(shared);
    window.menuBar()->addMenu(QStringLiteral("two"))->addAction(shared);
    window.addToolBar(QStringLiteral("bar"))->addAction(shared);

    makeLanguage().TranslateComponent(&window, QStringLiteral("MAIN"));

    QCOMPARE(window.windowTitle(), QStringLiteral("Main Title"));
    QCOMPARE(file->title(), QStringLiteral("&File"));
    QCOMPARE(open->text(), QStringLiteral("&Open..."));
    QCOMPARE(open->toolTip(), QStringLiteral("Open"));
    QCOMPARE(open->statusTip(), QStringLiteral("Opens a page"));
    QCOMPARE(exit->text(), QStringLiteral("E&xit"));
    // No hint was designed for it: the tool tip still follows the caption.
    QCOMPARE(exit->statusTip(), QString());
    QCOMPARE(exit->toolTip(), QStringLiteral("Exit"));
    QCOMPARE(shared->text(), QStringLiteral("__Final"));
}

void tst_TranslateComponent::submenuHintReachesItsItem()
{
    QMenu top;
    auto* sub = new QMenu(QStringLiteral("__MenuFile"), &top);
    sub->setStatusTip(QStringLiteral("__MenuFileHint"));
    top.addMenu(sub);

    makeLanguage().TranslateComponent(&top, QStringLiteral("MAIN"));
    QCOMPARE(sub->title(), QStringLiteral("&File"));
    QCOMPARE(sub->menuAction()->text(), QStringLiteral("&File"));
    QCOMPARE(sub->statusTip(), QStringLiteral("The file commands"));
    QCOMPARE(sub->menuAction()->statusTip(), QStringLiteral("The file commands"));
    QCOMPARE(sub->menuAction()->toolTip(), QStringLiteral("File"));
}

void tst_TranslateComponent::hintWithoutBarFillsBoth()
{
    QWidget window;
    auto* button = new QToolButton(&window);
    button->setToolTip(QStringLiteral("__PlainHint"));
    auto* statusOnly = new QPushButton(&window);
    statusOnly->setStatusTip(QStringLiteral("__MenuFileOpenHint"));
    auto* separate = new QPushButton(&window);
    separate->setToolTip(QStringLiteral("__MenuFileOpenHint"));
    separate->setStatusTip(QStringLiteral("kept as designed"));

    makeLanguage().TranslateComponent(&window, QStringLiteral("MAIN"));
    QCOMPARE(button->toolTip(), QStringLiteral("Just one form"));
    QCOMPARE(button->statusTip(), QStringLiteral("Just one form"));
    QCOMPARE(statusOnly->statusTip(), QStringLiteral("Opens a page"));
    QCOMPARE(statusOnly->toolTip(), QStringLiteral("Open"));
    QCOMPARE(separate->toolTip(), QStringLiteral("Open"));
    QCOMPARE(separate->statusTip(), QStringLiteral("kept as designed"));
}

void tst_TranslateComponent::widgetTextsAndHints()
{
    QWidget window;
    auto* ok = new QPushButton(QStringLiteral("~~OK"), &window);
    auto* label = new QLabel(QStringLiteral("__Prompt"), &window);
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
    const int tab = tabs->addTab(new QWidget, QStringLiteral("__Tab1"));
    tabs->setTabToolTip(tab, QStringLiteral("__Tab1Hint"));
    tabs->addTab(new QWidget, QStringLiteral("Page title"));

    makeLanguage().TranslateComponent(&window, QStringLiteral("MAIN"));
    QCOMPARE(ok->text(), QStringLiteral("Okay"));
    QCOMPARE(label->text(), QStringLiteral("Type an address"));
    QCOMPARE(group->title(), QStringLiteral("Options"));
    QCOMPARE(check->text(), QStringLiteral("Open in a new tab"));
    QCOMPARE(edit->text(), QStringLiteral("edit text"));
    QCOMPARE(edit->placeholderText(), QStringLiteral("type here"));
    QCOMPARE(combo->currentText(), QStringLiteral("edit text"));
    QCOMPARE(combo->placeholderText(), QStringLiteral("type here"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("edit text"));
    QCOMPARE(tabs->tabText(0), QStringLiteral("First"));
    QCOMPARE(tabs->tabToolTip(0), QStringLiteral("First tab"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Page title"));
}

void tst_TranslateComponent::dialogWithFileDialog()
{
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("__Caption"));
    auto* browse = new QFileDialog(&dialog);
    browse->setWindowTitle(QStringLiteral("__BrowseTitle"));
    browse->setNameFilter(QStringLiteral("__BrowseFilter"));
    auto* cancel = new QPushButton(QStringLiteral("~~Cancel"), &dialog);

    makeLanguage().TranslateComponent(&dialog, QStringLiteral("OPEN"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Open"));
    QCOMPARE(browse->windowTitle(), QStringLiteral("Choose a File"));
    QCOMPARE(browse->nameFilters(), QStringList({QStringLiteral("Pages (*.htm *.html)"),
                                                 QStringLiteral("All files (*)")}));
    QCOMPARE(cancel->text(), QStringLiteral("Abort"));
}

void tst_TranslateComponent::treeNodesInIndexOrder()
{
    QWidget window;
    auto* tree = new QTreeWidget(&window);
    tree->setColumnCount(2);
    tree->setHeaderLabels({QStringLiteral("__NameColumn"), QStringLiteral("~~OK")});
    auto* top = new QTreeWidgetItem(tree, {QStringLiteral("__Node"), QStringLiteral("__Child")});
    auto* child = new QTreeWidgetItem(top, {QStringLiteral("__Child")});
    auto* grandChild = new QTreeWidgetItem(child, {QStringLiteral("~~OK")});
    auto* ordinary = new QTreeWidgetItem(tree, {QStringLiteral("Ordinary text")});

    makeLanguage().TranslateComponent(&window, QStringLiteral("MAIN"));
    QCOMPARE(tree->headerItem()->text(0), QStringLiteral("Name"));
    QCOMPARE(tree->headerItem()->text(1), QStringLiteral("Okay"));
    QCOMPARE(top->text(0), QStringLiteral("Translated node"));
    QCOMPARE(top->text(1), QStringLiteral("Translated child"));
    QCOMPARE(child->text(0), QStringLiteral("Translated child"));
    QCOMPARE(grandChild->text(0), QStringLiteral("Okay"));
    QCOMPARE(ordinary->text(0), QStringLiteral("Ordinary text"));
}

void tst_TranslateComponent::flatTreeIsAListViewOfColumns()
{
    QWidget window;
    auto* list = new QTreeWidget(&window);
    list->setRootIsDecorated(false);
    list->setHeaderLabels({QStringLiteral("__NameColumn")});
    // Rows of a list view are user data: a sticky name that happens to look
    // like a placeholder must survive.
    auto* row = new QTreeWidgetItem(list, {QStringLiteral("__Node")});

    makeLanguage().TranslateComponent(&window, QStringLiteral("MAIN"));
    QCOMPARE(list->headerItem()->text(0), QStringLiteral("Name"));
    QCOMPARE(row->text(0), QStringLiteral("__Node"));
}

void tst_TranslateComponent::tableHeaders()
{
    QWidget window;
    auto* table = new QTableWidget(2, 2, &window);
    table->setHorizontalHeaderLabels({QStringLiteral("__NameColumn"), QStringLiteral("Plain")});
    table->setVerticalHeaderLabels({QStringLiteral("~~OK"), QStringLiteral("__Missing")});
    table->setItem(0, 0, new QTableWidgetItem(QStringLiteral("__Node")));

    makeLanguage().TranslateComponent(&window, QStringLiteral("MAIN"));
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("Name"));
    QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("Plain"));
    QCOMPARE(table->verticalHeaderItem(0)->text(), QStringLiteral("Okay"));
    QCOMPARE(table->verticalHeaderItem(1)->text(), QStringLiteral("__Missing"));
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("__Node"));
}

void tst_TranslateComponent::standardModelTree()
{
    QWidget window;
    auto* view = new QTreeView(&window);
    auto* model = new QStandardItemModel(view);
    model->setHorizontalHeaderLabels({QStringLiteral("__NameColumn")});
    auto* top = new QStandardItem(QStringLiteral("__Node"));
    auto* child = new QStandardItem(QStringLiteral("__Child"));
    top->appendRow(child);
    model->appendRow(top);
    model->appendRow(new QStandardItem(QStringLiteral("Ordinary text")));
    view->setModel(model);

    makeLanguage().TranslateComponent(&window, QStringLiteral("MAIN"));
    QCOMPARE(model->horizontalHeaderItem(0)->text(), QStringLiteral("Name"));
    QCOMPARE(top->text(), QStringLiteral("Translated node"));
    QCOMPARE(child->text(), QStringLiteral("Translated child"));
    QCOMPARE(model->item(1)->text(), QStringLiteral("Ordinary text"));
}

void tst_TranslateComponent::itemsOfNonObjects()
{
    QMainWindow window;
    auto* bands = new BandBar(&window);
    bands->bands = {QStringLiteral("__Band"), QStringLiteral("~~Links"), QStringLiteral("Menu"),
                    QStringLiteral("__Missing")};
    auto* dock = new QDockWidget(QStringLiteral("__Dock"), &window);
    window.addDockWidget(Qt::LeftDockWidgetArea, dock);
    auto* group = new QActionGroup(&window);
    auto* radio = new QAction(QStringLiteral("__MenuFileExit"), group);

    makeLanguage().TranslateComponent(&window, QStringLiteral("MAIN"));
    QCOMPARE(bands->bands, QStringList({QStringLiteral("Address band"), QStringLiteral("Bookmarks"),
                                        QStringLiteral("Menu"), QStringLiteral("__Missing")}));
    QCOMPARE(dock->windowTitle(), QStringLiteral("Side bar"));
    QCOMPARE(radio->text(), QStringLiteral("E&xit"));
}

void tst_TranslateComponent::objectsOutsideTheRootAreUntouched()
{
    QWidget window;
    auto* inside = new QLabel(QStringLiteral("__Prompt"), &window);
    QLabel outside(QStringLiteral("__Prompt"));
    QWidget sibling;
    auto* siblingChild = new QLabel(QStringLiteral("__Prompt"), &sibling);

    makeLanguage().TranslateComponent(inside, QStringLiteral("MAIN"));
    QCOMPARE(inside->text(), QStringLiteral("Type an address"));
    QCOMPARE(outside.text(), QStringLiteral("__Prompt"));
    QCOMPARE(siblingChild->text(), QStringLiteral("__Prompt"));
}

QTEST_MAIN(tst_TranslateComponent)
#include "tst_TranslateComponent.moc"

#pragma once

#include <QSet>
#include <QString>

class QAction;
class QObject;
class QStandardItem;
class QStandardItemModel;
class QTreeWidgetItem;
class QWidget;
class TLanguageFile;

// The walk that replaces the placeholders of a window. Windows are designed
// with texts such as "__MenuFileOpen" (key in the window's own section) or
// "~~OK" (key in "GLOBAL"); a placeholder whose entry is missing or empty
// stays visible as written, anything else is never touched.
//
// The five design-time properties and what they are on Qt classes:
//   Caption  QWidget::windowTitle (every widget: a window's title bar, a dock
//            widget's title), QAction::text, QAbstractButton::text,
//            QLabel::text, QGroupBox::title, QMenu::title
//   Title    a dialog's windowTitle, QFileDialog included (same property as
//            a window's Caption, so it is handled once)
//   Filter   QFileDialog::nameFilters; the text holds Qt filters separated by
//            ";;" ("Pages (*.htm *.html);;All files (*)")
//   Hint     toolTip and statusTip of QWidget and QAction. The text holds
//            "short|long": the tool tip gets the short part, the status tip
//            the long one; without "|" both get the whole text. A menu's hint
//            also goes to its menu action (the item that opens it) when that
//            has none, so that the status bar shows it.
//   Text     QLineEdit::text and placeholderText (an editable combo box's
//            edit is such a line edit), QComboBox::placeholderText,
//            QPlainTextEdit plain text and placeholderText,
//            QTextEdit::placeholderText
// Items that are not objects:
//   QTabBar / QTabWidget  tab texts (Caption) and tab tool tips (Hint, short)
//   QToolBox              item texts and item tool tips
//   QTreeWidget           header labels; node texts of every column, depth
//                         first in index order, when the widget shows a tree
//                         (rootIsDecorated); a flat QTreeWidget is a list view
//                         whose rows are data and are left alone
//   QTableWidget          horizontal and vertical header labels
//   other item views over a QStandardItemModel: header labels; node texts
//                         too for a QTreeView that shows a tree
//   ITranslatableItems    every text it exposes (bands of a cool bar)
// Every object is handled once, then its children in QObject::children()
// order, then a widget's actions() and an action's menu that it does not own.
class TComponentTranslator
{
public:
    TComponentTranslator(const TLanguageFile& file, const QString& section);

    void translate(QObject* root);

    // value's replacement, or value unchanged.
    QString translateText(const QString& value) const;

private:
    // True when value was a placeholder with a non-empty entry; value then
    // holds the entry's text.
    bool replace(QString& value) const;

    void walk(QObject* object);
    void translateObject(QObject* object);
    void translateCaption(QObject* object);
    void translateFilter(QObject* object);
    void translateHint(QObject* object);
    void translateEditText(QObject* object);
    void translateItems(QObject* object);
    void translateTreeItem(QTreeWidgetItem* item);
    void translateStandardItems(QStandardItemModel* model, bool nodes);
    void translateStandardChildren(QStandardItem* parent);
    void translateActionHint(QAction* action);
    void translateWidgetHint(QWidget* widget);

    const TLanguageFile& m_file;
    QString m_section;
    QSet<QObject*> m_visited;
};

#include "chrome/TComponentTranslator.h"

#include "chrome/ITranslatableItems.h"
#include "chrome/LanguageKeyRecorder.h"
#include "chrome/TLanguage.h"
#include "chrome/TLanguageFile.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolBox>
#include <QTreeView>
#include <QTreeWidget>

namespace
{
// QAction::toolTip() falls back to the text stripped of "&" and "..." when no
// tool tip was set; such a derived tool tip is not a hint of its own.
QString strippedActionText(QString text)
{
    text.remove(QStringLiteral("..."));
    text.remove(QLatin1Char('&'));
    return text.trimmed();
}

const QString FilterSeparator = QStringLiteral(";;");
} // namespace

TComponentTranslator::TComponentTranslator(const TLanguageFile& file, const QString& section)
    : m_file(file), m_section(section)
{
}

bool TComponentTranslator::replace(QString& value) const
{
    if (value.size() < 3)
        return false;
    QString lookupSection;
    if (value.startsWith(QLatin1String("__")))
        lookupSection = m_section;
    else if (value.startsWith(QLatin1String("~~")))
        lookupSection = TLanguage::GlobalSection();
    else
        return false;
    LanguageKeyRecorder::Note(lookupSection, value.mid(2));
    const QString text = m_file.read(lookupSection, value.mid(2), QString());
    if (text.isEmpty())
        return false;
    value = text;
    return true;
}

QString TComponentTranslator::translateText(const QString& value) const
{
    QString result = value;
    replace(result);
    return result;
}

void TComponentTranslator::translate(QObject* root)
{
    m_visited.clear();
    walk(root);
}

void TComponentTranslator::walk(QObject* object)
{
    if (!object || m_visited.contains(object))
        return;
    m_visited.insert(object);
    translateObject(object);

    const QObjectList children = object->children();
    for (QObject* child : children)
        walk(child);
    // Actions shown by a widget may belong to another object (the window);
    // a submenu attached to an action need not belong to anyone here.
    if (auto* widget = qobject_cast<QWidget*>(object))
    {
        const QList<QAction*> actions = widget->actions();
        for (QAction* action : actions)
            walk(action);
    }
    if (auto* action = qobject_cast<QAction*>(object))
        walk(action->menu<QMenu*>());
}

void TComponentTranslator::translateObject(QObject* object)
{
    translateCaption(object);
    translateFilter(object);
    translateHint(object);
    translateEditText(object);
    translateItems(object);
}

void TComponentTranslator::translateCaption(QObject* object)
{
    QString value;
    if (auto* widget = qobject_cast<QWidget*>(object))
    {
        value = widget->windowTitle();
        if (replace(value))
            widget->setWindowTitle(value);
    }
    if (auto* action = qobject_cast<QAction*>(object))
    {
        value = action->text();
        if (replace(value))
            action->setText(value);
    }
    else if (auto* button = qobject_cast<QAbstractButton*>(object))
    {
        value = button->text();
        if (replace(value))
            button->setText(value);
    }
    else if (auto* label = qobject_cast<QLabel*>(object))
    {
        value = label->text();
        if (replace(value))
            label->setText(value);
    }
    else if (auto* group = qobject_cast<QGroupBox*>(object))
    {
        value = group->title();
        if (replace(value))
            group->setTitle(value);
    }
    else if (auto* menu = qobject_cast<QMenu*>(object))
    {
        value = menu->title();
        if (replace(value))
            menu->setTitle(value);
    }
}

void TComponentTranslator::translateFilter(QObject* object)
{
    auto* dialog = qobject_cast<QFileDialog*>(object);
    if (!dialog)
        return;
    QString value = dialog->nameFilters().join(FilterSeparator);
    if (replace(value))
        dialog->setNameFilters(value.split(FilterSeparator, Qt::SkipEmptyParts));
}

void TComponentTranslator::translateHint(QObject* object)
{
    if (auto* action = qobject_cast<QAction*>(object))
        translateActionHint(action);
    else if (auto* widget = qobject_cast<QWidget*>(object))
        translateWidgetHint(widget);
}

void TComponentTranslator::translateActionHint(QAction* action)
{
    QString toolTip = action->toolTip();
    if (toolTip == strippedActionText(action->text()))
        toolTip.clear();
    const QString statusTip = action->statusTip();

    QString value = toolTip;
    if (replace(value))
    {
        action->setToolTip(TLanguage::ShortHint(value));
        if (statusTip.isEmpty() || statusTip == toolTip)
            action->setStatusTip(TLanguage::LongHint(value));
    }
    value = action->statusTip();
    if (replace(value))
    {
        action->setStatusTip(TLanguage::LongHint(value));
        if (toolTip.isEmpty())
            action->setToolTip(TLanguage::ShortHint(value));
    }
}

void TComponentTranslator::translateWidgetHint(QWidget* widget)
{
    const QString toolTip = widget->toolTip();
    const QString statusTip = widget->statusTip();

    QString value = toolTip;
    if (replace(value))
    {
        widget->setToolTip(TLanguage::ShortHint(value));
        if (statusTip.isEmpty() || statusTip == toolTip)
            widget->setStatusTip(TLanguage::LongHint(value));
    }
    value = widget->statusTip();
    if (replace(value))
    {
        widget->setStatusTip(TLanguage::LongHint(value));
        if (widget->toolTip().isEmpty())
            widget->setToolTip(TLanguage::ShortHint(value));
    }

    // The item that opens a submenu is where the status bar looks for its hint.
    if (auto* menu = qobject_cast<QMenu*>(widget))
    {
        QAction* opener = menu->menuAction();
        const QString ownTip = opener->toolTip();
        const bool derived = ownTip == strippedActionText(opener->text());
        if (opener->statusTip().isEmpty() && !widget->statusTip().isEmpty())
            opener->setStatusTip(widget->statusTip());
        if (derived && !widget->toolTip().isEmpty())
            opener->setToolTip(widget->toolTip());
    }
}

void TComponentTranslator::translateEditText(QObject* object)
{
    QString value;
    if (auto* edit = qobject_cast<QLineEdit*>(object))
    {
        value = edit->text();
        if (replace(value))
            edit->setText(value);
        value = edit->placeholderText();
        if (replace(value))
            edit->setPlaceholderText(value);
    }
    else if (auto* combo = qobject_cast<QComboBox*>(object))
    {
        value = combo->placeholderText();
        if (replace(value))
            combo->setPlaceholderText(value);
    }
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(object))
    {
        value = plain->toPlainText();
        if (replace(value))
            plain->setPlainText(value);
        value = plain->placeholderText();
        if (replace(value))
            plain->setPlaceholderText(value);
    }
    else if (auto* rich = qobject_cast<QTextEdit*>(object))
    {
        value = rich->placeholderText();
        if (replace(value))
            rich->setPlaceholderText(value);
    }
}

void TComponentTranslator::translateItems(QObject* object)
{
    QString value;
    if (auto* tabs = qobject_cast<QTabBar*>(object))
    {
        for (int i = 0; i < tabs->count(); ++i)
        {
            value = tabs->tabText(i);
            if (replace(value))
                tabs->setTabText(i, value);
            value = tabs->tabToolTip(i);
            if (replace(value))
                tabs->setTabToolTip(i, TLanguage::ShortHint(value));
        }
    }
    else if (auto* toolBox = qobject_cast<QToolBox*>(object))
    {
        for (int i = 0; i < toolBox->count(); ++i)
        {
            value = toolBox->itemText(i);
            if (replace(value))
                toolBox->setItemText(i, value);
            value = toolBox->itemToolTip(i);
            if (replace(value))
                toolBox->setItemToolTip(i, TLanguage::ShortHint(value));
        }
    }
    else if (auto* tree = qobject_cast<QTreeWidget*>(object))
    {
        if (QTreeWidgetItem* header = tree->headerItem())
        {
            for (int column = 0; column < header->columnCount(); ++column)
            {
                value = header->text(column);
                if (replace(value))
                    header->setText(column, value);
            }
        }
        if (tree->rootIsDecorated())
        {
            for (int i = 0; i < tree->topLevelItemCount(); ++i)
                translateTreeItem(tree->topLevelItem(i));
        }
    }
    else if (auto* table = qobject_cast<QTableWidget*>(object))
    {
        for (int column = 0; column < table->columnCount(); ++column)
        {
            if (QTableWidgetItem* item = table->horizontalHeaderItem(column))
            {
                value = item->text();
                if (replace(value))
                    item->setText(value);
            }
        }
        for (int row = 0; row < table->rowCount(); ++row)
        {
            if (QTableWidgetItem* item = table->verticalHeaderItem(row))
            {
                value = item->text();
                if (replace(value))
                    item->setText(value);
            }
        }
    }
    else if (auto* view = qobject_cast<QAbstractItemView*>(object))
    {
        if (auto* model = qobject_cast<QStandardItemModel*>(view->model()))
        {
            auto* treeView = qobject_cast<QTreeView*>(view);
            translateStandardItems(model, treeView && treeView->rootIsDecorated());
        }
    }

    if (auto* items = dynamic_cast<ITranslatableItems*>(object))
    {
        const QStringList texts = items->translatableTexts();
        for (int i = 0; i < texts.size(); ++i)
        {
            value = texts[i];
            if (replace(value))
                items->setTranslatableText(i, value);
        }
    }
}

void TComponentTranslator::translateTreeItem(QTreeWidgetItem* item)
{
    QString value;
    for (int column = 0; column < item->columnCount(); ++column)
    {
        value = item->text(column);
        if (replace(value))
            item->setText(column, value);
    }
    for (int i = 0; i < item->childCount(); ++i)
        translateTreeItem(item->child(i));
}

void TComponentTranslator::translateStandardItems(QStandardItemModel* model, bool nodes)
{
    QString value;
    for (int column = 0; column < model->columnCount(); ++column)
    {
        if (QStandardItem* item = model->horizontalHeaderItem(column))
        {
            value = item->text();
            if (replace(value))
                item->setText(value);
        }
    }
    for (int row = 0; row < model->rowCount(); ++row)
    {
        if (QStandardItem* item = model->verticalHeaderItem(row))
        {
            value = item->text();
            if (replace(value))
                item->setText(value);
        }
    }
    if (nodes)
        translateStandardChildren(model->invisibleRootItem());
}

void TComponentTranslator::translateStandardChildren(QStandardItem* parent)
{
    QString value;
    for (int row = 0; row < parent->rowCount(); ++row)
    {
        for (int column = 0; column < parent->columnCount(); ++column)
        {
            QStandardItem* item = parent->child(row, column);
            if (!item)
                continue;
            value = item->text();
            if (replace(value))
                item->setText(value);
        }
        if (QStandardItem* first = parent->child(row, 0))
            translateStandardChildren(first);
    }
}

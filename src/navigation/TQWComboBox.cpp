#include "navigation/TQWComboBox.h"

#include "navigation/InlineCompletion.h"
#include "navigation/TSHAutoComplete.h"

#include <QCompleter>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace
{
bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Enter and Ctrl+Enter also arrive as characters; so do Ctrl+P and Ctrl+Q.
bool isSwallowedCharacter(const QString& text)
{
    if (text.size() != 1)
        return false;
    const char16_t c = text.at(0).unicode();
    return c == 13 || c == 10 || c == 16 || c == 17;
}
} // namespace

TQWComboBox::TQWComboBox(const QString& historyRoot, QWidget* parent) : QComboBox(parent)
{
    auto* edit = new QLineEdit(this);
    // Connected before the combo box connects itself, so the flag is up
    // while the combo box reacts to the signal.
    connect(edit, &QLineEdit::editingFinished, this, [this] { m_editingFinished = true; });
    setEditable(true);
    setLineEdit(edit);
    connect(edit, &QLineEdit::editingFinished, this, [this] { m_editingFinished = false; });
    // The combo box's own completer would complete from the list on every key.
    edit->setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(8);
    edit->installEventFilter(this);

    m_autoComplete = new TSHAutoComplete(
        edit, [this] { return Items(); }, historyRoot, this);
    connect(m_autoComplete, &TSHAutoComplete::chosen, this,
            [this](const QString& address) { emit submitted(address, true); });
    // Enter reaches the edit directly while the suggestions are open.
    connect(edit, &QLineEdit::returnPressed, this,
            [this]
            {
                m_autoComplete->AcceptSelected();
                HandleEnter(QGuiApplication::keyboardModifiers());
            });
    connect(this, &QComboBox::activated, this, &TQWComboBox::ListChosen);
}

TQWComboBox::~TQWComboBox() = default;

void TQWComboBox::SetItems(const QStringList& items)
{
    QLineEdit* edit = lineEdit();
    const QString text = edit->text();
    const int cursor = edit->cursorPosition();
    const int selectionStart = edit->selectionStart();
    const int selectionLength = int(edit->selectedText().size());
    {
        const QSignalBlocker blocker(this);
        clear();
        addItems(items);
        setCurrentIndex(-1);
    }
    edit->setText(text);
    if (selectionStart >= 0)
        edit->setSelection(selectionStart, selectionLength);
    else
        edit->setCursorPosition(cursor);
}

QStringList TQWComboBox::Items() const
{
    QStringList items;
    items.reserve(count());
    for (int i = 0; i < count(); ++i)
        items << itemText(i);
    return items;
}

void TQWComboBox::ListChosen()
{
    if (m_editingFinished)
        return;
    emit submitted(currentText(), false);
}

void TQWComboBox::HandleEnter(Qt::KeyboardModifiers modifiers)
{
    const QString text = lineEdit()->text();
    const QString affixed = m_affixes.Apply(text, modifiers.testFlag(Qt::ControlModifier),
                                            modifiers.testFlag(Qt::ShiftModifier));
    if (affixed != text)
        lineEdit()->setText(affixed);
    emit submitted(affixed, true);
}

bool TQWComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::KeyPress)
    {
        auto* key = static_cast<QKeyEvent*>(event);
        if (cboAddressKeyDown(key) || cboAddressKeyPress(key))
            return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void TQWComboBox::keyPressEvent(QKeyEvent* event)
{
    if (cboAddressKeyDown(event) || cboAddressKeyPress(event))
    {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

bool TQWComboBox::cboAddressKeyDown(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Shift || key == Qt::Key_Control)
        return true;
    if (!isEnterKey(key))
        return false;
    event->accept();
    HandleEnter(event->modifiers());
    return true;
}

bool TQWComboBox::cboAddressKeyPress(QKeyEvent* event)
{
    const QString text = event->text();
    if (isSwallowedCharacter(text))
        return true;
    if (m_completionStyle != 1 || !InlineCompletion::IsCompletingText(text))
        return false;
    QLineEdit* edit = lineEdit();
    const int caret = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const std::optional<InlineCompletion::Result> completion =
        InlineCompletion::Complete(Items(), edit->text().left(caret), text);
    if (!completion)
        return false;
    {
        // Showing an entry is not choosing it.
        const QSignalBlocker blocker(this);
        setCurrentIndex(completion->index);
    }
    edit->setText(completion->text);
    edit->setSelection(completion->selectionStart, completion->selectionLength);
    return true;
}

void TQWComboBox::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}

#include "core/window/TKeyFilter.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

#include <memory>

namespace
{
// X keysyms of the Latin letters, whatever the layout shows for them.
int latinLetterFromNative(const QKeyEvent& event)
{
    const quint32 sym = event.nativeVirtualKey();
    if (sym >= 'a' && sym <= 'z')
        return Qt::Key_A + int(sym - 'a');
    if (sym >= 'A' && sym <= 'Z')
        return Qt::Key_A + int(sym - 'A');
    return 0;
}
} // namespace

TKeyFilter::TKeyFilter(StateFn state, QObject* parent) : QObject(parent), m_state(std::move(state))
{
}

TKeyDecision::Stroke TKeyFilter::StrokeFor(const QKeyEvent& event)
{
    TKeyDecision::Stroke stroke;
    stroke.modifiers =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    stroke.key = event.key();
    if (stroke.key == Qt::Key_Backtab)
    {
        stroke.key = Qt::Key_Tab;
        stroke.modifiers |= Qt::ShiftModifier;
    }
    // With a non-Latin layout Ctrl+N still means Ctrl+N.
    const bool letter = stroke.key >= Qt::Key_A && stroke.key <= Qt::Key_Z;
    if (!letter && (stroke.modifiers & (Qt::ControlModifier | Qt::AltModifier)))
        if (const int latin = latinLetterFromNative(event))
            stroke.key = latin;
    const bool system = stroke.modifiers.testFlag(Qt::AltModifier) &&
                        !stroke.modifiers.testFlag(Qt::ControlModifier);
    const bool press = event.type() != QEvent::KeyRelease;
    stroke.kind = press ? (system ? TKeyDecision::SysKeyDown : TKeyDecision::KeyDown)
                        : (system ? TKeyDecision::SysKeyUp : TKeyDecision::KeyUp);
    return stroke;
}

bool TKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    // A stroke reaches the filter once for the window and again for each
    // widget it travels through; windows are skipped, and a stroke a widget
    // ignored asks the same question again on its parent.
    if (!watched->isWidgetType())
        return false;
    if (m_commandPending && type != QEvent::ShortcutOverride)
    {
        // Keys typed on the heels of a command belong where the command
        // leaves the focus: after Alt+D the typing goes to the address box,
        // not to the page the window system already aimed it at. Only typing
        // moves: a modifier key alone, or a key the page hands back unused
        // (not from the window system), would land in the menu the command
        // just opened, and an Alt there closes it.
        const int pressed = static_cast<QKeyEvent*>(event)->key();
        if (!event->spontaneous() || pressed == Qt::Key_Alt || pressed == Qt::Key_Shift ||
            pressed == Qt::Key_Control || pressed == Qt::Key_Meta || pressed == Qt::Key_AltGr)
            return true;
        std::shared_ptr<QEvent> later(event->clone());
        QMetaObject::invokeMethod(
            this,
            [later]
            {
                if (QWidget* target = QApplication::focusWidget())
                    QCoreApplication::sendEvent(target, later.get());
            },
            Qt::QueuedConnection);
        return true;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const TKeyDecision::Stroke stroke = StrokeFor(*key);
    const TKeyDecision::WindowState state = m_state();
    const TKeyDecision::Outcome outcome = TKeyDecision::Decide(stroke, state);

    if (type == QEvent::ShortcutOverride)
    {
        // Taking the override keeps Qt's own shortcuts (the menu items' keys,
        // button mnemonics) from firing: the press then comes here, or for
        // an Alt stroke the window leaves alone, goes to the page. Dialogs
        // keep their mnemonics.
        const bool altForPage =
            stroke.modifiers.testFlag(Qt::AltModifier) && state.mainWindowInFront;
        if (outcome.handled || altForPage)
        {
            event->accept();
            return true;
        }
        return false;
    }
    if (!outcome.handled)
        return false;
    if (outcome.command != MainCommand::None)
    {
        const MainCommand command = outcome.command;
        m_commandPending = true;
        QMetaObject::invokeMethod(
            this,
            [this, command]
            {
                m_commandPending = false;
                emit this->command(command);
            },
            Qt::QueuedConnection);
    }
    return true;
}

bool TKeyFilter::IsTextBox(const QWidget* widget)
{
    const auto* combo = qobject_cast<const QComboBox*>(widget);
    return (combo && combo->isEditable()) || qobject_cast<const QLineEdit*>(widget) ||
           qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget);
}

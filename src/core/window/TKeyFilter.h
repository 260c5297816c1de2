#pragma once

#include "core/window/TKeyDecision.h"

#include <QObject>

#include <functional>

class QKeyEvent;
class QWidget;

// The application-wide key filter of the main window: it sees every key
// stroke before the widget with the focus does (a page's own widget
// included), asks TKeyDecision what the stroke means and drops the strokes
// the window takes. The command runs from the event loop, after the filter
// has returned, so that a command may close the very tab whose page had
// the key, or open a menu, without running inside the page's key handling.
class TKeyFilter : public QObject
{
    Q_OBJECT
public:
    using StateFn = std::function<TKeyDecision::WindowState()>;

    // state is asked for on every stroke the filter considers.
    explicit TKeyFilter(StateFn state, QObject* parent = nullptr);

    // The stroke a key event (press, release or shortcut override) stands for.
    static TKeyDecision::Stroke StrokeFor(const QKeyEvent& event);
    // Whether widget edits text of its own, where the clipboard keys and
    // Shift+Ins/Del belong to it.
    static bool IsTextBox(const QWidget* widget);

signals:
    void command(MainCommand command);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    StateFn m_state;
    // A command waits in the event loop; key strokes wait behind it.
    bool m_commandPending = false;
};

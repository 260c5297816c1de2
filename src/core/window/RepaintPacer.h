#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class QWidget;

// Paces the compositions of a top-level window that holds a page view.
//
// Such a window is drawn through OpenGL: every repaint, however small (the
// busy animation's next frame, a tab's new title, the status bar's text),
// composes the whole window again, which a software renderer does in tens
// of milliseconds on the UI thread, the thread the engine also needs to
// load pages. While pages load, repaints come from many events one after
// the other, each composed on its own. The pacer holds a repaint back until
// the UI thread has had at least as long again as the last composition
// took, so that the repaints asked for meanwhile are composed together and
// composing never takes more than half of the thread. A fast renderer
// composes in a millisecond or two and is held back by no more than that;
// nothing asked for is lost, only joined with what comes next.
class RepaintPacer : public QObject
{
    Q_OBJECT
public:
    // The longest a repaint is held back, whatever a composition took.
    static constexpr int MaxHoldMs = 50;

    // Paces window's compositions for as long as both exist.
    explicit RepaintPacer(QWidget* window);

    // How long a repaint asked for now waits: the last composition took
    // lastDurationMs and ended sinceLastEndMs ago (negative: none yet).
    static int holdMs(qint64 sinceLastEndMs, qint64 lastDurationMs);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void compose();

    QWidget* m_window;
    QTimer m_held;
    QElapsedTimer m_sinceLastEnd;
    qint64 m_lastDurationMs = 0;
    bool m_composing = false;
};

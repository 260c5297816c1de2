#include "core/window/RepaintPacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

RepaintPacer::RepaintPacer(QWidget* window) : QObject(window), m_window(window)
{
    m_held.setSingleShot(true);
    connect(&m_held, &QTimer::timeout, this, &RepaintPacer::compose);
    window->installEventFilter(this);
}

int RepaintPacer::holdMs(qint64 sinceLastEndMs, qint64 lastDurationMs)
{
    if (sinceLastEndMs < 0 || lastDurationMs <= 0)
        return 0;
    const qint64 gap = qMin<qint64>(lastDurationMs, MaxHoldMs);
    return int(qMax<qint64>(0, gap - sinceLastEndMs));
}

bool RepaintPacer::eventFilter(QObject* watched, QEvent* event)
{
    // The window's repaint request is where its widgets' changes are
    // painted and composed; everything else goes its way.
    if (watched != m_window || event->type() != QEvent::UpdateRequest || m_composing)
        return false;
    const qint64 since = m_sinceLastEnd.isValid() ? m_sinceLastEnd.elapsed() : -1;
    const int hold = holdMs(since, m_lastDurationMs);
    if (hold > 0)
    {
        // Qt asks for no further repaint until this one is done, so the
        // changes made meanwhile are all composed when it comes.
        if (!m_held.isActive())
            m_held.start(hold);
        return true;
    }
    m_held.stop();
    QElapsedTimer duration;
    duration.start();
    m_composing = true;
    QCoreApplication::sendEvent(m_window, event);
    m_composing = false;
    m_lastDurationMs = duration.elapsed();
    m_sinceLastEnd.start();
    return true;
}

void RepaintPacer::compose()
{
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(m_window, &request);
}

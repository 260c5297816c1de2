#include "components/TQWAnimate.h"

#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

namespace
{
constexpr int FrameCount = 24;
constexpr int FrameIntervalMs = 50;
} // namespace

// The resources live in a static library and must be registered by hand.
static void initResources()
{
    Q_INIT_RESOURCE(quillwave);
}

TQWAnimate::TQWAnimate(QWidget* parent) : QWidget(parent)
{
    initResources();
    m_logo = new QSvgRenderer(QStringLiteral(":/quillwave/quillwave.svg"), this);
    setFixedSize(32, 32);
    setCursor(Qt::PointingHandCursor);
    m_timer.setInterval(FrameIntervalMs);
    connect(&m_timer, &QTimer::timeout, this,
            [this]
            {
                m_frame = (m_frame + 1) % FrameCount;
                update();
            });
}

void TQWAnimate::setActive(bool active)
{
    if (active == m_timer.isActive())
        return;
    if (active)
        m_timer.start();
    else
    {
        m_timer.stop();
        m_frame = 0;
    }
    update();
}

void TQWAnimate::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(3, 3, -3, -3);
    m_logo->render(&painter, box);
    if (!m_timer.isActive())
        return;
    QPen pen(palette().color(QPalette::Highlight), 3);
    pen.setCapStyle(Qt::RoundCap);
    painter.setPen(pen);
    const int startAngle = -m_frame * (360 * 16 / FrameCount);
    painter.drawArc(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), startAngle, 100 * 16);
}

void TQWAnimate::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

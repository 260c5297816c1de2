#include "components/TCoolBar.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

namespace
{
// Room between two rows, for the etched line that parts them.
constexpr int RowGap = 2;
// Room around a band's text.
constexpr int TextPadding = 4;
// How far below the bar a gripper must be dragged to open a new row. Without
// it, a band that leaves a row of its own for the last row shrinks the bar
// under the pointer and at once falls out below it again.
constexpr int NewRowMargin = 4;
} // namespace

TCoolBar::TCoolBar(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    // The rows come from the bands' breaks alone, so the bar's height does
    // not depend on its width.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

TCoolBar::~TCoolBar()
{
    // The children outlive this part of the bar while QWidget deletes them.
    for (const Band& band : std::as_const(m_bands))
        if (band.child)
            disconnect(band.child, nullptr, this, nullptr);
}

void TCoolBar::AddBand(QWidget* child, const QString& name, const BandOptions& options)
{
    if (!child || BandPosition(child) >= 0)
        return;
    Band band;
    band.child = child;
    band.name = name;
    band.text = options.text;
    band.minWidth = std::max(0, options.minWidth);
    band.minHeight = std::max(0, options.minHeight);
    band.width = std::max(0, options.width);
    band.breakBefore = options.breakBefore;
    m_bands.append(band);
    child->setParent(this);
    connect(child, &QObject::destroyed, this,
            [this](QObject* gone)
            {
                m_bands.removeIf([gone](const Band& b)
                                 { return b.child.isNull() || b.child.data() == gone; });
                Relayout(true);
            });
    Relayout(true);
}

QWidget* TCoolBar::BandChild(int position) const
{
    return position >= 0 && position < BandCount() ? m_bands.at(position).child.data() : nullptr;
}

int TCoolBar::BandPosition(const QWidget* child) const
{
    for (int i = 0; i < BandCount(); ++i)
        if (child && m_bands.at(i).child == child)
            return i;
    return -1;
}

QString TCoolBar::BandName(int position) const
{
    return position >= 0 && position < BandCount() ? m_bands.at(position).name : QString();
}

int TCoolBar::BandMinWidth(int position) const
{
    if (position < 0 || position >= BandCount())
        return 0;
    return CoolBarLayout::LeastWidth(Geometry().at(position), MetricsFor(width()));
}

void TCoolBar::MoveBand(int from, int to)
{
    if (from < 0 || from >= BandCount() || to < 0 || to >= BandCount() || from == to)
        return;
    m_bands.move(from, to);
    Relayout(true);
}

int TCoolBar::BandWidth(int position) const
{
    return position >= 0 && position < BandCount() ? m_bands.at(position).width : 0;
}

void TCoolBar::SetBandWidth(int position, int width)
{
    if (position < 0 || position >= BandCount() || m_bands.at(position).width == width)
        return;
    m_bands[position].width = std::max(0, width);
    Relayout(true);
}

bool TCoolBar::BandBreak(int position) const
{
    return position >= 0 && position < BandCount() && m_bands.at(position).breakBefore;
}

void TCoolBar::SetBandBreak(int position, bool breakBefore)
{
    if (position < 0 || position >= BandCount() || m_bands.at(position).breakBefore == breakBefore)
        return;
    m_bands[position].breakBefore = breakBefore;
    Relayout(true);
}

bool TCoolBar::BandVisible(const QWidget* child) const
{
    const int position = BandPosition(child);
    return position >= 0 && m_bands.at(position).visible;
}

void TCoolBar::SetBandVisible(QWidget* child, bool visible)
{
    const int position = BandPosition(child);
    if (position < 0 || m_bands.at(position).visible == visible)
        return;
    m_bands[position].visible = visible;
    Relayout(true);
}

QString TCoolBar::BandText(const QWidget* child) const
{
    const int position = BandPosition(child);
    return position >= 0 ? m_bands.at(position).text : QString();
}

void TCoolBar::SetBandText(QWidget* child, const QString& text)
{
    const int position = BandPosition(child);
    if (position < 0 || m_bands.at(position).text == text)
        return;
    m_bands[position].text = text;
    Relayout(false);
    update();
}

QStringList TCoolBar::translatableTexts() const
{
    QStringList texts;
    for (const Band& band : m_bands)
        texts.append(band.text);
    return texts;
}

void TCoolBar::setTranslatableText(int index, const QString& text)
{
    SetBandText(BandChild(index), text);
}

QRect TCoolBar::BandRect(int position) const
{
    return position >= 0 && position < m_layout.rects.size() ? m_layout.rects.at(position)
                                                             : QRect();
}

QRect TCoolBar::GripperRect(int position) const
{
    const QRect band = BandRect(position);
    if (band.isEmpty())
        return {};
    return {band.left(), band.top(), std::min(GripperWidth(), band.width()), band.height()};
}

int TCoolBar::GripperWidth() const
{
    return style()->pixelMetric(QStyle::PM_ToolBarHandleExtent, nullptr, this) + 2;
}

int TCoolBar::TextWidth(const QString& text) const
{
    return text.isEmpty() ? 0 : fontMetrics().horizontalAdvance(text) + 2 * TextPadding;
}

QList<CoolBand> TCoolBar::Geometry() const
{
    QList<CoolBand> bands;
    for (const Band& band : m_bands)
    {
        CoolBand geometry;
        geometry.visible = band.visible;
        geometry.width = band.width;
        geometry.minWidth = band.minWidth;
        const int childHeight = band.child ? band.child->sizeHint().height() : 0;
        geometry.minHeight = std::max(band.minHeight, childHeight);
        geometry.breakBefore = band.breakBefore;
        geometry.textWidth = TextWidth(band.text);
        bands.append(geometry);
    }
    return bands;
}

CoolBarLayout::Metrics TCoolBar::MetricsFor(int width) const
{
    return {width, GripperWidth(), RowGap};
}

void TCoolBar::TakeGeometry(const QList<CoolBand>& bands)
{
    for (qsizetype i = 0; i < bands.size() && i < m_bands.size(); ++i)
    {
        m_bands[i].width = bands.at(i).width;
        m_bands[i].breakBefore = bands.at(i).breakBefore;
    }
}

QSize TCoolBar::sizeHint() const
{
    // As wide as its widest row wants to be.
    const QList<CoolBand> bands = Geometry();
    const CoolBarLayout::Result natural = CoolBarLayout::Compute(bands, MetricsFor(0));
    QList<int> rowWidths(natural.rowTops.size(), 0);
    for (qsizetype i = 0; i < bands.size(); ++i)
        if (natural.rows.at(i) >= 0)
            rowWidths[natural.rows.at(i)] +=
                std::max(bands.at(i).width, CoolBarLayout::LeastWidth(bands.at(i), MetricsFor(0)));
    const int wanted =
        rowWidths.isEmpty() ? 0 : *std::max_element(rowWidths.begin(), rowWidths.end());
    return {wanted, m_height};
}

QSize TCoolBar::minimumSizeHint() const
{
    // Bands that do not fit are cut at the edge, so any width will do.
    return {GripperWidth(), m_height};
}

void TCoolBar::Relayout(bool modelChanged)
{
    if (m_relayingOut)
        return;
    m_relayingOut = true;
    m_layout = CoolBarLayout::Compute(Geometry(), MetricsFor(width()));
    for (int i = 0; i < BandCount(); ++i)
    {
        QWidget* child = m_bands.at(i).child;
        if (!child)
            continue;
        const QRect band = m_layout.rects.at(i);
        const int header = GripperWidth() + TextWidth(m_bands.at(i).text);
        const QRect room(band.left() + header, band.top(), band.width() - header, band.height());
        const bool shown = m_bands.at(i).visible && room.width() > 0;
        if (shown && child->geometry() != room)
            child->setGeometry(room);
        if (child->isVisibleTo(this) != shown)
            child->setVisible(shown);
    }
    m_relayingOut = false;
    update();
    if (m_layout.height != m_height)
    {
        m_height = m_layout.height;
        updateGeometry();
        emit heightChanged(m_height);
    }
    if (modelChanged)
        emit layoutChanged();
}

void TCoolBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (int i = 0; i < BandCount(); ++i)
    {
        const QRect band = BandRect(i);
        if (band.isEmpty())
            continue;
        QStyleOption option;
        option.initFrom(this);
        option.rect = GripperRect(i).adjusted(1, 2, -1, -2);
        option.state |= QStyle::State_Horizontal;
        style()->drawPrimitive(QStyle::PE_IndicatorToolBarHandle, &option, &painter, this);
        const QString& text = m_bands.at(i).text;
        if (!text.isEmpty())
        {
            const QRect textRect(band.left() + GripperWidth() + TextPadding, band.top(),
                                 TextWidth(text) - 2 * TextPadding, band.height());
            style()->drawItemText(&painter, textRect, Qt::AlignVCenter | Qt::AlignLeft, palette(),
                                  isEnabled(), text, QPalette::WindowText);
        }
    }
    // An etched line between two rows.
    for (qsizetype row = 1; row < m_layout.rowTops.size(); ++row)
    {
        const int y = m_layout.rowTops.at(row) - RowGap;
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(0, y, width(), y);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(0, y + 1, width(), y + 1);
    }
}

void TCoolBar::resizeEvent(QResizeEvent*)
{
    Relayout(false);
}

int TCoolBar::GripperAt(const QPoint& pos) const
{
    for (int i = 0; i < BandCount(); ++i)
        if (GripperRect(i).contains(pos))
            return i;
    return -1;
}

void TCoolBar::mousePressEvent(QMouseEvent* event)
{
    const int band = GripperAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || band < 0)
    {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragged = m_bands.at(band).child;
    m_grabOffset = event->position().toPoint().x() - BandRect(band).left();
}

void TCoolBar::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_dragged)
    {
        DragTo(pos);
        return;
    }
    if (GripperAt(pos) >= 0)
        setCursor(Qt::SizeAllCursor);
    else
        unsetCursor();
}

void TCoolBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragged && event->button() == Qt::LeftButton)
        m_dragged = nullptr;
    else
        QWidget::mouseReleaseEvent(event);
}

void TCoolBar::DragTo(const QPoint& pos)
{
    const int index = BandPosition(m_dragged);
    if (index < 0 || m_layout.rows.value(index, -1) < 0)
        return;
    const QList<CoolBand> bands = Geometry();
    const CoolBarLayout::Metrics metrics = MetricsFor(width());
    const int left = pos.x() - m_grabOffset;
    CoolBarLayout::Move move{bands, index};
    if (pos.y() < 0)
        move = CoolBarLayout::MoveToNewRow(bands, metrics, index, true);
    else if (pos.y() >= m_layout.height + NewRowMargin)
        move = CoolBarLayout::MoveToNewRow(bands, metrics, index, false);
    else
        move = CoolBarLayout::MoveToRow(bands, metrics, index, m_layout.RowAt(pos.y()), left);

    bool changed = move.index != index;
    for (qsizetype i = 0; i < bands.size() && !changed; ++i)
        changed = move.bands.at(i).width != bands.at(i).width ||
                  move.bands.at(i).breakBefore != bands.at(i).breakBefore;
    if (!changed)
        return;
    m_bands.move(index, move.index);
    TakeGeometry(move.bands);
    Relayout(true);
}

void TCoolBar::contextMenuEvent(QContextMenuEvent* event)
{
    emit contextMenuRequested(event->globalPos());
    event->accept();
}

void TCoolBar::changeEvent(QEvent* event)
{
    // Texts and grippers take their sizes from the font and the style.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        Relayout(false);
    QWidget::changeEvent(event);
}

bool TCoolBar::event(QEvent* event)
{
    // A child whose size hint changed asks its parent for a new layout.
    if (event->type() == QEvent::LayoutRequest)
        Relayout(false);
    return QWidget::event(event);
}

#include "components/TQWTabStrip.h"

#include "components/TabStripLayout.h"
#include "components/TabStripPainter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

TQWTabStrip::TQWTabStrip(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("tabStrip"));
    // Focus stays in the pages; the keyboard commands for tabs live elsewhere.
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_inactiveTabColor = palette().color(QPalette::Dark);
    m_inactiveFontColor = palette().color(QPalette::HighlightedText);
}

void TQWTabStrip::insertTab(int index, const QString& caption, const QIcon& icon,
                            const QString& hint)
{
    index = std::clamp(index, 0, count());
    Tab tab;
    tab.caption = caption;
    tab.text = displayCaption(caption);
    tab.textWidth = captionWidth(tab.text);
    tab.icon = icon;
    tab.hint = hint;
    m_tabs.insert(index, tab);
    if (m_current >= index)
        ++m_current;
    if (m_dragIndex >= index)
        ++m_dragIndex;
    structureChanged();
}

void TQWTabStrip::removeTab(int index)
{
    if (index < 0 || index >= count())
        return;
    m_tabs.removeAt(index);
    if (m_current == index)
        m_current = -1;
    else if (m_current > index)
        --m_current;
    // A drop must never move a tab other than the one the user took.
    if (m_dragIndex == index)
        cancelDrag();
    else if (m_dragIndex > index)
        --m_dragIndex;
    structureChanged();
}

void TQWTabStrip::moveTab(int from, int to)
{
    if (from < 0 || from >= count() || to < 0 || to >= count() || from == to)
        return;
    m_tabs.move(from, to);
    if (m_current >= 0)
        m_current = TabStripLayout::IndexAfterMove(m_current, from, to);
    if (m_dragIndex >= 0)
        m_dragIndex = TabStripLayout::IndexAfterMove(m_dragIndex, from, to);
    structureChanged();
}

void TQWTabStrip::setTabCaption(int index, const QString& caption)
{
    if (index < 0 || index >= count() || m_tabs[index].caption == caption)
        return;
    Tab& tab = m_tabs[index];
    tab.caption = caption;
    tab.text = displayCaption(caption);
    tab.textWidth = captionWidth(tab.text);
    invalidate();
}

QString TQWTabStrip::tabCaption(int index) const
{
    return index >= 0 && index < count() ? m_tabs[index].caption : QString();
}

void TQWTabStrip::setTabIcon(int index, const QIcon& icon)
{
    if (index < 0 || index >= count())
        return;
    Tab& tab = m_tabs[index];
    const bool widthChanges = tab.icon.isNull() != icon.isNull();
    tab.icon = icon;
    if (widthChanges)
        invalidate();
    else
        update(tabRect(index));
}

QIcon TQWTabStrip::tabIcon(int index) const
{
    return index >= 0 && index < count() ? m_tabs[index].icon : QIcon();
}

void TQWTabStrip::setTabHint(int index, const QString& hint)
{
    if (index < 0 || index >= count())
        return;
    m_tabs[index].hint = hint;
    if (index == m_hovered)
        setToolTip(hint);
}

QString TQWTabStrip::tabHint(int index) const
{
    return index >= 0 && index < count() ? m_tabs[index].hint : QString();
}

void TQWTabStrip::setCurrentIndex(int index)
{
    if (index < -1 || index >= count() || index == m_current)
        return;
    m_current = index;
    m_revealCurrent = true;
    // In rows the selected row moves next to the pages, so every tab moves.
    invalidate();
}

void TQWTabStrip::setInactiveTabColor(const QColor& color)
{
    if (color == m_inactiveTabColor)
        return;
    m_inactiveTabColor = color;
    update();
}

void TQWTabStrip::setInactiveFontColor(const QColor& color)
{
    if (color == m_inactiveFontColor)
        return;
    m_inactiveFontColor = color;
    update();
}

void TQWTabStrip::setMultipleLines(bool multiple)
{
    if (multiple == m_multipleLines)
        return;
    m_multipleLines = multiple;
    if (multiple)
        cancelDrag();
    m_firstShown = 0;
    m_revealCurrent = true;
    invalidate();
}

void TQWTabStrip::setTabsAtBottom(bool bottom)
{
    if (bottom == m_tabsAtBottom)
        return;
    m_tabsAtBottom = bottom;
    invalidate();
}

void TQWTabStrip::setShiftingAllowed(bool allowed)
{
    m_shiftingAllowed = allowed;
    if (!allowed)
        cancelDrag();
}

int TQWTabStrip::tabAt(const QPoint& pos) const
{
    ensureLayout();
    if (m_scrolling && !tabArea().contains(pos))
        return -1;
    for (int i = 0; i < count(); ++i)
        if (m_tabs[i].rect.contains(pos))
            return i;
    return -1;
}

QRect TQWTabStrip::tabRect(int index) const
{
    if (index < 0 || index >= count())
        return {};
    ensureLayout();
    const QRect rect = m_tabs[index].rect;
    return m_scrolling ? rect.intersected(tabArea()) : rect;
}

int TQWTabStrip::rowCount() const
{
    ensureLayout();
    return m_rows;
}

int TQWTabStrip::tabHeight() const
{
    return std::max(IconSize, fontMetrics().height()) + 8;
}

bool TQWTabStrip::isScrolling() const
{
    ensureLayout();
    return m_scrolling;
}

int TQWTabStrip::firstShownTab() const
{
    ensureLayout();
    return m_firstShown;
}

void TQWTabStrip::scrollBy(int tabs)
{
    ensureLayout();
    if (!m_scrolling || tabs == 0)
        return;
    m_firstShown += tabs; // clamped by the layout
    invalidate();
    refreshHover();
}

QRect TQWTabStrip::scrollLeftRect() const
{
    if (!isScrolling())
        return {};
    const int y = m_tabsAtBottom ? EdgeMargin : 1;
    return {tabArea().right() + 1, y, ScrollButtonWidth, tabHeight()};
}

QRect TQWTabStrip::scrollRightRect() const
{
    const QRect left = scrollLeftRect();
    return left.isNull() ? QRect() : left.translated(ScrollButtonWidth, 0);
}

QString TQWTabStrip::displayCaption(const QString& caption)
{
    QString text = caption.trimmed();
    text.replace(QLatin1String("&&"), QLatin1String("&"));
    // One line: line breaks in a title would otherwise be drawn as blanks anyway.
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return text;
}

QString TQWTabStrip::drawnCaption(int index) const
{
    if (index < 0 || index >= count())
        return {};
    ensureLayout();
    return fontMetrics().elidedText(m_tabs[index].text, Qt::ElideRight,
                                    std::max(0, textRoom(index)));
}

int TQWTabStrip::captionWidth(const QString& text) const
{
    // Glyph advances are fractional: a width rounded down leaves the text a
    // fraction of a pixel short of its room, and the last letters are elided.
    return int(std::ceil(QFontMetricsF(font()).horizontalAdvance(text)));
}

int TQWTabStrip::heightForWidth(int width) const
{
    return heightForRows(m_multipleLines ? rowsForWidth(width) : 1);
}

QSize TQWTabStrip::sizeHint() const
{
    return {minTabWidth() * 4, heightForWidth(width())};
}

QSize TQWTabStrip::minimumSizeHint() const
{
    return {minTabWidth(), heightForRows(1)};
}

void TQWTabStrip::setFixedTabWidth(int width)
{
    m_fixedTabWidth = std::max(0, width);
    m_firstShown = 0;
    invalidate();
}

int TQWTabStrip::naturalWidth(const Tab& tab) const
{
    if (m_fixedTabWidth > 0)
        return m_fixedTabWidth;
    const int iconPart = tab.icon.isNull() ? 0 : IconSize + IconGap;
    const int width = IconLeft + iconPart + tab.textWidth + RightPadding + SelectedShift;
    return std::clamp(width, MinTabWidth, MaxTabWidth);
}

int TQWTabStrip::rowsForWidth(int width) const
{
    if (width <= 0 || m_tabs.isEmpty())
        return 1;
    return TabStripLayout::WrapRows(naturalWidths(), width).count;
}

QList<int> TQWTabStrip::naturalWidths() const
{
    QList<int> widths;
    for (const Tab& tab : m_tabs)
        widths << naturalWidth(tab);
    return widths;
}

int TQWTabStrip::heightForRows(int rows) const
{
    return rows * tabHeight() + EdgeMargin + 1;
}

int TQWTabStrip::textRoom(int index) const
{
    const Tab& tab = m_tabs[index];
    const int iconPart = tab.icon.isNull() ? 0 : IconSize + IconGap;
    const int shift = index == m_current ? SelectedShift : 0;
    return tab.rect.width() - IconLeft - iconPart - RightPadding - shift;
}

QRect TQWTabStrip::tabArea() const
{
    if (!m_scrolling)
        return rect();
    return {0, 0, std::max(0, width() - 2 * ScrollButtonWidth), height()};
}

void TQWTabStrip::ensureLayout() const
{
    // A strip that is not shown yet learns its new width without a resize event.
    if (!m_dirty && m_layoutWidth == width())
        return;
    m_dirty = false;
    m_layoutWidth = width();
    if (m_multipleLines)
        layoutRows();
    else
        layoutSingleRow();
    m_revealCurrent = false;
}

void TQWTabStrip::layoutSingleRow() const
{
    m_rows = 1;
    m_scrolling = false;
    const int n = count();
    if (n == 0)
        return;
    const QList<int> widths =
        TabStripLayout::FitRow(naturalWidths(), std::max(1, width()), minTabWidth(), &m_scrolling);
    m_firstShown = m_scrolling
                       ? TabStripLayout::FirstShown(m_firstShown, m_current,
                                                    std::max(1, tabArea().width() / minTabWidth()),
                                                    n, m_revealCurrent)
                       : 0;
    const int y = m_tabsAtBottom ? EdgeMargin : 1;
    int x = -m_firstShown * minTabWidth();
    for (int i = 0; i < n; ++i)
    {
        Tab& tab = const_cast<Tab&>(m_tabs[i]);
        tab.row = 0;
        tab.rect = QRect(x, y, widths[i], tabHeight());
        x += widths[i];
    }
}

void TQWTabStrip::layoutRows() const
{
    m_scrolling = false;
    m_firstShown = 0;
    const int height = tabHeight();
    const TabStripLayout::Rows rows =
        TabStripLayout::WrapRows(naturalWidths(), std::max(1, this->width()));
    m_rows = rows.count;
    const int selectedRow = m_current >= 0 ? rows.row[m_current] : 0;
    for (int i = 0; i < count(); ++i)
    {
        Tab& tab = const_cast<Tab&>(m_tabs[i]);
        tab.row = rows.row[i];
        const int distance = TabStripLayout::DistanceFromPages(tab.row, selectedRow, m_rows);
        const int y =
            m_tabsAtBottom ? EdgeMargin + distance * height : 1 + (m_rows - 1 - distance) * height;
        tab.rect = QRect(rows.x[i], y, rows.width[i], height);
    }
}

void TQWTabStrip::invalidate()
{
    m_dirty = true;
    update();
    const int required = heightForWidth(width());
    if (required != m_lastRequiredHeight)
    {
        m_lastRequiredHeight = required;
        updateGeometry();
        emit requiredHeightChanged();
    }
}

void TQWTabStrip::structureChanged()
{
    m_revealCurrent = true;
    invalidate();
    refreshHover();
}

void TQWTabStrip::setHovered(int index)
{
    if (index == m_hovered)
        return;
    m_hovered = index;
    // The hint shown belongs to the tab that was under the mouse.
    QToolTip::hideText();
    setToolTip(index >= 0 ? m_tabs[index].hint : QString());
}

void TQWTabStrip::refreshHover()
{
    m_hovered = -1;
    if (underMouse())
        setHovered(tabAt(mapFromGlobal(QCursor::pos())));
    else
        setToolTip(QString());
}

void TQWTabStrip::updateDragCursor(const QPoint& pos)
{
    const int target = tabAt(pos);
    if (target < 0)
        setCursor(Qt::ForbiddenCursor);
    else if (target == m_dragIndex)
        setCursor(Qt::ArrowCursor);
    else
        setCursor(Qt::DragMoveCursor);
}

void TQWTabStrip::cancelDrag()
{
    if (m_dragIndex < 0)
        return;
    m_dragIndex = -1;
    unsetCursor();
}

void TQWTabStrip::paintEvent(QPaintEvent* event)
{
    ensureLayout();
    QPainter painter(this);
    TabStripPainter draw(painter, this, m_inactiveTabColor, m_inactiveFontColor, m_tabsAtBottom);
    draw.background(rect(), m_tabsAtBottom ? 0 : heightForRows(m_rows) - 1);

    if (m_scrolling)
        painter.setClipRect(tabArea());
    for (int i = 0; i < count(); ++i)
        if (i != m_current && m_tabs[i].rect.intersects(event->rect()))
            draw.tab(m_tabs[i].rect, m_tabs[i].icon, m_tabs[i].text, false);
    if (m_current >= 0)
        draw.tab(m_tabs[m_current].rect, m_tabs[m_current].icon, m_tabs[m_current].text, true);
    painter.setClipping(false);
    if (m_scrolling)
    {
        const int shown = std::max(1, tabArea().width() / minTabWidth());
        draw.scrollButtons(scrollLeftRect(), scrollRightRect(), m_firstShown > 0,
                           m_firstShown + shown < count());
    }
}

void TQWTabStrip::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const QPoint globalPos = event->globalPosition().toPoint();
    const Qt::MouseButton button = event->button();
    event->accept();
    if (isScrolling() && button == Qt::LeftButton)
    {
        if (scrollLeftRect().contains(pos))
            scrollBy(-1);
        else if (scrollRightRect().contains(pos))
            scrollBy(1);
    }
    const int index = tabAt(pos);
    const bool pressedActive = index >= 0 && index == m_current;
    if (button == Qt::LeftButton && index >= 0 && !pressedActive)
    {
        setCurrentIndex(index);
        emit currentChanged(index);
    }
    emit tabPressed(button, index, globalPos);
    // Only the active tab can be taken, and only while the tabs form one row.
    if (button == Qt::LeftButton && pressedActive && index == m_current && m_shiftingAllowed &&
        !m_multipleLines)
    {
        m_dragIndex = index;
        updateDragCursor(pos);
    }
}

void TQWTabStrip::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    setHovered(tabAt(pos));
    if (m_dragIndex >= 0)
        updateDragCursor(pos);
}

void TQWTabStrip::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_dragIndex < 0)
        return;
    const int from = m_dragIndex;
    cancelDrag();
    const int to = tabAt(event->position().toPoint());
    if (to >= 0 && to != from)
        emit tabDropped(from, to);
}

void TQWTabStrip::wheelEvent(QWheelEvent* event)
{
    if (!isScrolling())
    {
        event->ignore();
        return;
    }
    const QPoint delta = event->angleDelta();
    const int step = delta.y() != 0 ? delta.y() : delta.x();
    if (step != 0)
        scrollBy(step > 0 ? -1 : 1);
    event->accept();
}

void TQWTabStrip::leaveEvent(QEvent* event)
{
    setHovered(-1);
    QWidget::leaveEvent(event);
}

void TQWTabStrip::hideEvent(QHideEvent* event)
{
    cancelDrag();
    setHovered(-1);
    QWidget::hideEvent(event);
}

void TQWTabStrip::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_revealCurrent = true;
    invalidate();
}

void TQWTabStrip::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
    {
        for (Tab& tab : m_tabs)
            tab.textWidth = captionWidth(tab.text);
        invalidate();
    }
    else if (event->type() == QEvent::PaletteChange)
        update();
    QWidget::changeEvent(event);
}

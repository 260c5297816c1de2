#include "components/TabStripPainter.h"

#include "components/TQWTabStrip.h"

#include <QIcon>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

TabStripPainter::TabStripPainter(QPainter& painter, const QWidget* strip, const QColor& inactiveTab,
                                 const QColor& inactiveFont, bool tabsAtBottom)
    : m_painter(painter), m_strip(strip), m_inactiveTab(inactiveTab), m_inactiveFont(inactiveFont),
      m_tabsAtBottom(tabsAtBottom)
{
}

void TabStripPainter::background(const QRect& area, int edgeY)
{
    const QPalette& pal = m_strip->palette();
    m_painter.fillRect(area, pal.color(QPalette::Window));
    m_painter.setPen(pal.color(QPalette::Mid));
    m_painter.drawLine(area.left(), edgeY, area.right(), edgeY);
}

void TabStripPainter::tab(const QRect& rect, const QIcon& icon, const QString& text, bool selected)
{
    const QPalette& pal = m_strip->palette();
    QRect back = rect.adjusted(0, 0, -2, 0);
    if (selected)
    {
        // The selected tab reaches over the margin and joins its page.
        if (m_tabsAtBottom)
            back.setTop(0);
        else
            back.setBottom(back.bottom() + TQWTabStrip::EdgeMargin);
    }
    m_painter.fillRect(back, selected ? pal.color(QPalette::Button) : m_inactiveTab);
    m_painter.setPen(pal.color(QPalette::Mid));
    if (selected && m_tabsAtBottom)
        m_painter.drawPolyline(
            QList<QPoint>{back.topLeft(), back.bottomLeft(), back.bottomRight(), back.topRight()});
    else if (selected)
        m_painter.drawPolyline(
            QList<QPoint>{back.bottomLeft(), back.topLeft(), back.topRight(), back.bottomRight()});
    else
        m_painter.drawRect(back.adjusted(0, 0, -1, -1));

    QRect content = rect.translated(0, m_tabsAtBottom ? -2 : 1);
    if (selected)
        content.translate(TQWTabStrip::SelectedShift, 0);
    int textLeft = content.left() + TQWTabStrip::IconLeft;
    if (!icon.isNull())
    {
        const int size = TQWTabStrip::IconSize;
        const QRect iconRect(textLeft, content.top() + (content.height() - size) / 2, size, size);
        icon.paint(&m_painter, iconRect);
        textLeft = iconRect.right() + 1 + TQWTabStrip::IconGap;
    }
    const QRect textRect(textLeft, content.top(),
                         rect.right() - TQWTabStrip::RightPadding - textLeft + 1, content.height());
    if (textRect.width() <= 0)
        return;
    m_painter.setPen(selected ? pal.color(QPalette::WindowText) : m_inactiveFont);
    // No mnemonic flag: an "&" in a page title is text, not an accelerator.
    m_painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                       m_strip->fontMetrics().elidedText(text, Qt::ElideRight, textRect.width()));
}

void TabStripPainter::scrollButtons(const QRect& left, const QRect& right, bool canLeft,
                                    bool canRight)
{
    const QRect rects[2] = {left, right};
    const QStyle::PrimitiveElement arrows[2] = {QStyle::PE_IndicatorArrowLeft,
                                                QStyle::PE_IndicatorArrowRight};
    const bool enabled[2] = {canLeft, canRight};
    for (int i = 0; i < 2; ++i)
    {
        m_painter.fillRect(rects[i], m_strip->palette().color(QPalette::Button));
        m_painter.setPen(m_strip->palette().color(QPalette::Mid));
        m_painter.drawRect(rects[i].adjusted(0, 0, -1, -1));
        QStyleOption option;
        option.initFrom(m_strip);
        option.rect = rects[i].adjusted(3, 3, -3, -3);
        if (!enabled[i])
            option.state &= ~QStyle::State_Enabled;
        m_strip->style()->drawPrimitive(arrows[i], &option, &m_painter, m_strip);
    }
}

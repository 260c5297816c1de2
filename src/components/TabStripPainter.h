#pragma once

#include <QColor>
#include <QRect>

class QIcon;
class QPainter;
class QString;
class QWidget;

// How the tab strip looks: its background and edge, each tab, the scroll
// arrows. The strip decides where things go; this draws them there in the
// strip's palette, font and style.
class TabStripPainter
{
public:
    TabStripPainter(QPainter& painter, const QWidget* strip, const QColor& inactiveTab,
                    const QColor& inactiveFont, bool tabsAtBottom);

    // The whole strip, with the line along the pages' edge at edgeY.
    void background(const QRect& area, int edgeY);
    void tab(const QRect& rect, const QIcon& icon, const QString& text, bool selected);
    void scrollButtons(const QRect& left, const QRect& right, bool canLeft, bool canRight);

private:
    QPainter& m_painter;
    const QWidget* m_strip;
    QColor m_inactiveTab;
    QColor m_inactiveFont;
    bool m_tabsAtBottom;
};

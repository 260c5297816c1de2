#pragma once

#include <QColor>
#include <QIcon>
#include <QList>
#include <QRect>
#include <QWidget>

// The tab strip of TQWPageControl, drawn by hand: QTabBar has no rows.
// One row that shrinks its tabs and then scrolls, or several wrapped rows
// with the selected tab's row next to the pages. The strip knows only the
// tabs it shows; every index here is a visible-tab index.
class TQWTabStrip : public QWidget
{
    Q_OBJECT
public:
    static constexpr int IconSize = 16;
    static constexpr int IconLeft = 5; // icon from the tab's left edge
    static constexpr int IconGap = 5;  // caption after the icon
    static constexpr int RightPadding = 8;
    static constexpr int SelectedShift = 2; // the selected tab's contents sit further right
    static constexpr int MinTabWidth = 64;
    static constexpr int MaxTabWidth = 220;
    static constexpr int EdgeMargin = 2; // between the pages and the nearest row
    static constexpr int ScrollButtonWidth = 18;

    explicit TQWTabStrip(QWidget* parent = nullptr);

    // Every tab this wide, whatever its caption; 0 gives each tab its
    // natural width again.
    void setFixedTabWidth(int width);

    int count() const { return int(m_tabs.size()); }
    void insertTab(int index, const QString& caption, const QIcon& icon, const QString& hint);
    void removeTab(int index);
    void moveTab(int from, int to);

    void setTabCaption(int index, const QString& caption);
    QString tabCaption(int index) const;
    void setTabIcon(int index, const QIcon& icon);
    QIcon tabIcon(int index) const;
    void setTabHint(int index, const QString& hint);
    QString tabHint(int index) const;

    int currentIndex() const { return m_current; }
    // Selects without telling anyone: currentChanged is for the user's clicks.
    void setCurrentIndex(int index);

    QColor inactiveTabColor() const { return m_inactiveTabColor; }
    void setInactiveTabColor(const QColor& color);
    QColor inactiveFontColor() const { return m_inactiveFontColor; }
    void setInactiveFontColor(const QColor& color);
    bool multipleLines() const { return m_multipleLines; }
    void setMultipleLines(bool multiple);
    bool tabsAtBottom() const { return m_tabsAtBottom; }
    void setTabsAtBottom(bool bottom);
    bool shiftingAllowed() const { return m_shiftingAllowed; }
    void setShiftingAllowed(bool allowed);

    // Hit test in strip coordinates; a tab scrolled out of view is never hit.
    int tabAt(const QPoint& pos) const;
    // The part of the tab that is on screen (empty when scrolled out).
    QRect tabRect(int index) const;
    int rowCount() const;
    int tabHeight() const;

    // One row with more tabs than fit: arrows scroll it by whole tabs.
    bool isScrolling() const;
    int firstShownTab() const;
    void scrollBy(int tabs);
    QRect scrollLeftRect() const;
    QRect scrollRightRect() const;

    int hoveredIndex() const { return m_hovered; }
    int draggedIndex() const { return m_dragIndex; }

    // The caption as a tab shows it: trimmed, one line, and the "&&" that
    // stands for a literal ampersand shown as a single "&".
    static QString displayCaption(const QString& caption);
    // What is drawn on the tab now, elided to the tab's room.
    QString drawnCaption(int index) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user picked another tab with the mouse.
    void currentChanged(int index);
    // Any button pressed on the strip; index -1 away from tabs.
    void tabPressed(Qt::MouseButton button, int index, const QPoint& globalPos);
    // The active tab was dragged and released over another tab.
    void tabDropped(int from, int to);
    // The strip needs another height (rows came or went).
    void requiredHeightChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int minTabWidth() const { return m_fixedTabWidth > 0 ? m_fixedTabWidth : MinTabWidth; }

    struct Tab
    {
        QString caption;
        QString text; // as displayed
        QIcon icon;
        QString hint;
        int textWidth = 0;
        int row = 0;
        QRect rect;
    };

    // The room a caption needs when drawn in the strip's font.
    int captionWidth(const QString& text) const;
    int naturalWidth(const Tab& tab) const;
    int rowsForWidth(int width) const;
    QList<int> naturalWidths() const;
    int heightForRows(int rows) const;
    int textRoom(int index) const;
    QRect tabArea() const;
    void ensureLayout() const;
    void layoutSingleRow() const;
    void layoutRows() const;
    void invalidate();
    void structureChanged();
    void setHovered(int index);
    void refreshHover();
    void updateDragCursor(const QPoint& pos);
    void cancelDrag();

    QList<Tab> m_tabs;
    int m_current = -1;
    int m_hovered = -1;
    int m_dragIndex = -1;
    QColor m_inactiveTabColor;
    QColor m_inactiveFontColor;
    bool m_multipleLines = false;
    int m_fixedTabWidth = 0;
    bool m_tabsAtBottom = true;
    bool m_shiftingAllowed = true;
    int m_lastRequiredHeight = -1;

    // Geometry is worked out on demand and kept until something changes.
    mutable bool m_dirty = true;
    mutable int m_layoutWidth = -1;
    mutable bool m_scrolling = false;
    mutable bool m_revealCurrent = false;
    mutable int m_rows = 1;
    mutable int m_firstShown = 0;
};

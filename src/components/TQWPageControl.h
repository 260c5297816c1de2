#pragma once

#include <QColor>
#include <QIcon>
#include <QList>
#include <QWidget>

class QStackedWidget;
class TQWTabStrip;

// A page control of our own: a tab strip drawn by us (several rows, tabs
// at the bottom or top, inactive colours, shifting tabs by dragging,
// per-tab hints) over a stack of pages. Pages can be hidden: a hidden
// page has no tab and takes no place, and is never the active page.
//
// Indexes: "index" counts every page (hidden ones too) in tab order;
// "visible index" counts only pages that have a tab.
class TQWPageControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor InactiveTabColor READ InactiveTabColor WRITE SetInactiveTabColor)
    Q_PROPERTY(QColor InactiveFontColor READ InactiveFontColor WRITE SetInactiveFontColor)
    Q_PROPERTY(bool AllowTabShifting READ AllowTabShifting WRITE SetAllowTabShifting)
    Q_PROPERTY(bool MultipleLines READ MultipleLines WRITE SetMultipleLines)
    Q_PROPERTY(bool TabsAtBottom READ TabsAtBottom WRITE SetTabsAtBottom)
public:
    explicit TQWPageControl(QWidget* parent = nullptr);
    ~TQWPageControl() override;

    int count() const;
    QWidget* page(int index) const;
    int indexOf(const QWidget* page) const;
    // Takes ownership; a hidden page gets no tab until shown.
    void insertPage(int index, QWidget* page, bool visible = true);
    void addPage(QWidget* page, bool visible = true) { insertPage(count(), page, visible); }
    // Releases ownership (the caller deletes the page). Another visible page
    // becomes active when the removed one was.
    void removePage(QWidget* page);
    void movePage(int from, int to);

    void setPageVisible(QWidget* page, bool visible);
    bool isPageVisible(const QWidget* page) const;
    int visibleCount() const;
    int visibleIndexOf(const QWidget* page) const; // -1 when hidden or absent
    QWidget* visiblePage(int visibleIndex) const;

    QWidget* activePage() const;
    // Does not emit pageChanged (that is for the user's own choices).
    void setActivePage(QWidget* page);

    void setPageCaption(QWidget* page, const QString& caption);
    QString pageCaption(const QWidget* page) const;
    // The full text shown as the tab's tooltip.
    void setPageHint(QWidget* page, const QString& hint);
    QString pageHint(const QWidget* page) const;
    // An index into images(); -1 shows icon (favicon or none).
    void setPageImageIndex(QWidget* page, int imageIndex);
    int pageImageIndex(const QWidget* page) const;
    // Shown when the image index is -1 (the page's own icon); may be null.
    void setPageIcon(QWidget* page, const QIcon& icon);
    void setImages(const QList<QIcon>& images);
    QList<QIcon> images() const;
    // The tab state images shipped with the program, in image-index order:
    // busy, unseen, arrived, locked, crashed.
    static QList<QIcon> defaultTabImages();

    // Which visible tab is at pos (in this widget's coordinates): a hit
    // anywhere on a tab's icon or label counts. -1 when none.
    int tabAt(const QPoint& pos) const;
    QRect tabRect(int visibleIndex) const;
    QWidget* tabStrip() const;

    // Suspends repainting of the tab strip (nests).
    void beginUpdate();
    void endUpdate();

    QColor InactiveTabColor() const;
    void SetInactiveTabColor(const QColor& color);
    QColor InactiveFontColor() const;
    void SetInactiveFontColor(const QColor& color);
    // The colours of inactive tabs by scheme: "std" the button face and
    // window text, "rev" the inactive highlight and highlighted text, any
    // other the given colours, stored as 0xBBGGRR.
    void ApplyColorScheme(const QString& scheme, int storedTabColor, int storedFontColor);
    bool AllowTabShifting() const;
    void SetAllowTabShifting(bool allow);
    bool MultipleLines() const; // several rows; switches shifting off
    void SetMultipleLines(bool multiple);
    bool TabsAtBottom() const;
    void SetTabsAtBottom(bool bottom);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user chose another tab (click or keyboard on the strip).
    void pageChanged(QWidget* page);
    // A mouse button was pressed on the strip: visibleIndex under it or -1.
    void tabMouseDown(Qt::MouseButton button, int visibleIndex, const QPoint& globalPos);
    // The user dragged a tab to another place (indexes of all pages, as movePage).
    void pageMoved(int from, int to);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Private;
    Private* d;
};

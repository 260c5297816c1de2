#pragma once

#include <QObject>
#include <QPoint>

class QDropEvent;
class QMimeData;
class TfrmMain;

// Drag and drop between the window and the desktop: the address band's
// page-link image imgIELink gives the page away (dragged: an Internet
// shortcut, its address as text; clicked: the page in the desktop's own
// browser), and the tab strip takes addresses, links and shortcut files.
class MainDragDrop : public QObject
{
    Q_OBJECT
public:
    // The window's address band, page control and shell part exist.
    explicit MainDragDrop(TfrmMain* window);

    // What a drag of the page link carries for the active tab; null when
    // there is no tab or no shortcut file could be written.
    QMimeData* PageLinkData() const;
    // A drop at pos (tab strip coordinates): a tab header other than the
    // active tab's navigates, the active tab's or free space adds a tab.
    // False when the data holds nothing the strip takes.
    bool uoDropPageDrop(const QMimeData* data, const QPoint& pos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool imgIELinkMouse(QEvent* event);
    void StartPageLinkDrag();

    TfrmMain* m_window;
    QObject* m_link;
    QObject* m_strip;
    QPoint m_pressedAt;
    bool m_pressed = false;
};

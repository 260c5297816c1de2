#pragma once

#include "chrome/ITranslatableItems.h"
#include "components/CoolBarLayout.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

// A bar of movable bands, each holding one child widget behind a gripper
// and an optional text. Dragging a gripper sideways resizes the band before
// it; dragging it onto another row moves the band there, and dragging it
// above or below the bar puts the band on a row of its own. The bar is as
// high as its rows; each child gets its band's room, so children that keep
// a chevron for what does not fit show it as their band narrows. The bands'
// texts may be placeholders ("~~Links") that translating the window
// replaces.
class TCoolBar : public QWidget, public ITranslatableItems
{
    Q_OBJECT
public:
    struct BandOptions
    {
        int minWidth = 0;
        int minHeight = 0;
        // The band's whole width, gripper and text included.
        int width = 0;
        bool breakBefore = false;
        QString text;
    };

    explicit TCoolBar(QWidget* parent = nullptr);
    ~TCoolBar() override;

    // Adds a band at the end; the bar takes the child over. A child that
    // already has a band, or none, adds nothing.
    void AddBand(QWidget* child, const QString& name, const BandOptions& options);

    int BandCount() const { return int(m_bands.size()); }
    QWidget* BandChild(int position) const;
    // -1 for a widget that is no band's child.
    int BandPosition(const QWidget* child) const;
    // The name the band was added under; empty out of range.
    QString BandName(int position) const;
    int BandMinWidth(int position) const;
    // Moves the band at from to position to; the others keep their order.
    void MoveBand(int from, int to);
    int BandWidth(int position) const;
    void SetBandWidth(int position, int width);
    bool BandBreak(int position) const;
    void SetBandBreak(int position, bool breakBefore);
    bool BandVisible(const QWidget* child) const;
    void SetBandVisible(QWidget* child, bool visible);
    QString BandText(const QWidget* child) const;
    void SetBandText(QWidget* child, const QString& text);

    // Every band's text, in band order.
    QStringList translatableTexts() const override;
    void setTranslatableText(int index, const QString& text) override;

    // Where the band at position is shown, gripper included; empty while it
    // is hidden.
    QRect BandRect(int position) const;
    // The gripper's part of that rectangle.
    QRect GripperRect(int position) const;
    int GripperWidth() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void heightChanged(int height);
    // The order, widths, breaks or visibility of the bands changed.
    void layoutChanged();
    // A right click on the bar itself: its grippers, texts and empty room,
    // or a child that leaves its context menu to its parent.
    void contextMenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Band
    {
        QPointer<QWidget> child;
        QString name;
        QString text;
        int minWidth = 0;
        int minHeight = 0;
        int width = 0;
        bool breakBefore = false;
        bool visible = true;
    };

    QList<CoolBand> Geometry() const;
    CoolBarLayout::Metrics MetricsFor(int width) const;
    void TakeGeometry(const QList<CoolBand>& bands);
    // Lays the children out again; tells when the model changed as well.
    void Relayout(bool modelChanged);
    int GripperAt(const QPoint& pos) const;
    void DragTo(const QPoint& pos);
    int TextWidth(const QString& text) const;

    QList<Band> m_bands;
    CoolBarLayout::Result m_layout;
    int m_height = 0;
    QPointer<QWidget> m_dragged;
    int m_grabOffset = 0;
    bool m_relayingOut = false;
};

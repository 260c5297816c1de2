#pragma once

#include <QWidget>

class QAction;
class QLabel;
class QMimeData;
class QToolBar;
class TLanguage;
class TQWComboBox;

// The address band pnlAddress: the label, the page-link image, the address
// box and the small tool bar with the Go button, laid out from left to
// right with the box taking what the others leave. Dropped addresses and
// text on the box are handed on, not inserted.
class TAddressBand : public QWidget
{
    Q_OBJECT
public:
    // historyRoot: the History folder the box's system-style completion reads.
    explicit TAddressBand(const QString& historyRoot, QWidget* parent = nullptr);

    QLabel* lblAddress;
    QLabel* imgIELink;
    TQWComboBox* cboAddress;
    QToolBar* tbAddressButton;
    QAction* tbGo;

    // Texts of the main window's section.
    void Translate(const TLanguage& language);

    // Shows or hides the Go button; the tool bar is as wide as its visible
    // buttons; then the band is laid out again.
    void ApplyShowGo(bool show);
    bool ShowGo() const;

    // The box takes the band's width from its left edge, less 2 pixels and
    // the tool bar's width.
    void pnlAddressResize();

    // What a drop on the box offers as an address: the first address of a
    // dropped link or file, else the dropped text without surrounding
    // blanks and line breaks. Empty when the drop carries neither.
    static QString DroppedText(const QMimeData* data);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void tbGoClick();
    void uoAddressComboDrop(const QString& text);
    // The band's minimise/maximise belongs to the bar that holds it.
    void lblAddressDblClick();

protected:
    // A part whose text changed (translation, a new language) asks for a
    // new layout: the widths are measured again.
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool HandleDrag(QEvent* event);
    int ButtonsWidth() const;
};

#pragma once

#include <QList>
#include <QWidget>

class QMenu;
class QToolButton;

// The menu bar as a flat band of buttons that each drop a menu. When the
// band is too narrow for all of them, the buttons that do not fit are
// hidden and the chevron tbxMenu at the right edge offers every lending
// menu as a submenu of pmMenuExtender instead.
class TMenuBand : public QWidget
{
    Q_OBJECT
public:
    explicit TMenuBand(QWidget* parent = nullptr);

    // The button shows captionKey until the window is translated; its hint
    // is the caption key plus "Hint". A lending menu also appears under
    // the chevron.
    QToolButton* AddMenuButton(const QString& name, const QString& captionKey, QMenu* menu,
                               bool lends = true);
    QList<QToolButton*> Buttons() const { return m_buttons; }
    QToolButton* Chevron() const { return tbxMenu; }
    QMenu* Extender() const { return pmMenuExtender; }

    // Drops button's menu below it, its first item selected; a button hidden
    // for lack of room drops it under the chevron. Returns at once.
    void DropMenu(QToolButton* button);

    // How many of the buttons, of these widths, fit in available pixels; when
    // not all fit, the chevron's width is kept free as well.
    static int FittingButtons(const QList<int>& widths, int available, int chevronWidth);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Relayout();
    void FillExtender();

    QList<QToolButton*> m_buttons;
    QList<bool> m_lends;
    QToolButton* tbxMenu;
    QMenu* pmMenuExtender;
};

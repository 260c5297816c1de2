#pragma once

#include <QColor>
#include <QWidget>

class QFrame;
class QPushButton;
class QRadioButton;
class TQWPageControl;

// The tab-colour page of the options dialog: the three schemes, the two
// custom colours and a small page control that shows the chosen scheme live.
class TabColorsPage : public QWidget
{
    Q_OBJECT
public:
    // The captions of the preview's two tabs; they swap with the selection
    // so that the selected tab always reads as the active one.
    TabColorsPage(const QString& activeText, const QString& inactiveText,
                  QWidget* parent = nullptr);

    // "std" and "custom" select their scheme, anything else the reversed
    // one. The stored colours only count for "custom": other schemes leave
    // the panels at their design colours, so a switch to custom starts there.
    void Load(const QString& scheme, const QColor& tabColor, const QColor& fontColor);
    // "std", "rev" or "custom".
    QString Scheme() const;
    QColor TabColor() const { return m_tabColor; }
    QColor FontColor() const { return m_fontColor; }

    void radColorClick();
    void btnGetTabColorClick();
    void btnGetFontColorClick();
    void pgChange(QWidget* page);

private:
    void CreateControls();
    void ShowColors();
    void SetPanelColor(QFrame* panel, const QColor& color);

    QRadioButton* radColorStandard;
    QRadioButton* radColorReverse;
    QRadioButton* radColorCustom;
    QWidget* pnlCustomColors;
    QFrame* pnlTabColor;
    QFrame* pnlFontColor;
    QPushButton* btnGetTabColor;
    QPushButton* btnGetFontColor;
    TQWPageControl* pg;
    QWidget* ts1;
    QWidget* ts2;

    QString m_activeText;
    QString m_inactiveText;
    QColor m_tabColor;
    QColor m_fontColor;
};

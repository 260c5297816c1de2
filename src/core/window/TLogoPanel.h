#pragma once

#include <QFrame>
#include <QRect>

class QToolButton;
class TQWAnimate;

// Where the logo panel's parts go for a given panel height.
struct LogoLayout
{
    int panelWidth = 0;
    QRect bevel;        // pnlLogoBevel inside the panel
    QRect closeButtons; // pnlCloseButtons inside the panel
    int closeTop = 0;   // top of spdClose and spdCloseAll inside pnlCloseButtons

    // A tall panel stacks the animation over the close buttons; a short one
    // puts them side by side.
    static LogoLayout compute(int panelHeight, int bevelSize, int bandContainerHeight,
                              int buttonHeight);
};

// The logo panel at the right end of the bands: busy animation and the
// two close buttons.
class TLogoPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TLogoPanel(QWidget* parent = nullptr);

    TQWAnimate* aniLogo;
    QFrame* pnlLogoBevel;
    QFrame* pnlCloseButtons;
    QToolButton* spdClose;
    QToolButton* spdCloseAll;

    void setBandContainerHeight(int height);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void pnlLogoResize();
    int m_bandContainerHeight = 0;
};

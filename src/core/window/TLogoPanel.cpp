#include "core/window/TLogoPanel.h"

#include "components/TQWAnimate.h"

#include <QIcon>
#include <QToolButton>

namespace
{
constexpr int BevelSize = 34; // the 32-pixel animation inside a 1-pixel bevel
constexpr int ButtonSize = 16;
constexpr int CloseRowHeight = 21;

QToolButton* makeCloseButton(QWidget* parent, const QString& name, const QString& themeIcon,
                             const QString& glyph, const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setFixedSize(ButtonSize, ButtonSize);
    const QIcon icon = QIcon::fromTheme(themeIcon);
    if (icon.isNull())
        button->setText(glyph);
    else
        button->setIcon(icon);
    button->setToolTip(hint);
    return button;
}
} // namespace

LogoLayout LogoLayout::compute(int panelHeight, int bevelSize, int bandContainerHeight,
                               int buttonHeight)
{
    LogoLayout layout;
    if (panelHeight >= bevelSize + CloseRowHeight)
    {
        layout.panelWidth = 36;
        layout.bevel = QRect(0, 0, bevelSize, bevelSize);
        layout.closeButtons =
            QRect(0, panelHeight - CloseRowHeight, layout.panelWidth, CloseRowHeight);
        layout.closeTop = 3;
    }
    else
    {
        layout.panelWidth = 72;
        layout.bevel = QRect(layout.panelWidth - bevelSize, 0, bevelSize, bevelSize);
        const int height = bandContainerHeight;
        layout.closeButtons = QRect(0, panelHeight - height, layout.panelWidth - bevelSize, height);
        layout.closeTop = height - buttonHeight - 2;
    }
    return layout;
}

TLogoPanel::TLogoPanel(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("pnlLogo"));
    pnlLogoBevel = new QFrame(this);
    pnlLogoBevel->setObjectName(QStringLiteral("pnlLogoBevel"));
    pnlLogoBevel->setFrameShape(QFrame::StyledPanel);
    pnlLogoBevel->setFrameShadow(QFrame::Sunken);
    aniLogo = new TQWAnimate(pnlLogoBevel);
    aniLogo->setObjectName(QStringLiteral("aniLogo"));
    aniLogo->move(1, 1);

    pnlCloseButtons = new QFrame(this);
    pnlCloseButtons->setObjectName(QStringLiteral("pnlCloseButtons"));
    spdClose =
        makeCloseButton(pnlCloseButtons, QStringLiteral("spdClose"), QStringLiteral("window-close"),
                        QStringLiteral("\u2715"), QStringLiteral("__CloseHint"));
    spdCloseAll = makeCloseButton(pnlCloseButtons, QStringLiteral("spdCloseAll"),
                                  QStringLiteral("tab-close-other"), QStringLiteral("\u2716"),
                                  QStringLiteral("__CloseAllHint"));
    setMinimumHeight(BevelSize);
    pnlLogoResize();
}

void TLogoPanel::setBandContainerHeight(int height)
{
    m_bandContainerHeight = height;
    pnlLogoResize();
}

void TLogoPanel::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    pnlLogoResize();
}

void TLogoPanel::pnlLogoResize()
{
    const int bandHeight = m_bandContainerHeight > 0 ? m_bandContainerHeight : height();
    const LogoLayout layout = LogoLayout::compute(height(), BevelSize, bandHeight, ButtonSize);
    setFixedWidth(layout.panelWidth);
    pnlLogoBevel->setGeometry(layout.bevel);
    pnlCloseButtons->setGeometry(layout.closeButtons);
    const int left = (layout.closeButtons.width() - 2 * ButtonSize) / 2;
    spdClose->move(left, layout.closeTop);
    spdCloseAll->move(left + ButtonSize, layout.closeTop);
}

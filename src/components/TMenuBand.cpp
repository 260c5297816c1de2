#include "components/TMenuBand.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QToolButton>

namespace
{
constexpr int ButtonHeight = 21;
}

TMenuBand::TMenuBand(QWidget* parent) : QWidget(parent)
{
    tbxMenu = new QToolButton(this);
    tbxMenu->setObjectName(QStringLiteral("tbxMenu"));
    tbxMenu->setText(QStringLiteral("\u00BB"));
    tbxMenu->setAutoRaise(true);
    tbxMenu->setPopupMode(QToolButton::InstantPopup);
    tbxMenu->setStyleSheet(
        QStringLiteral("QToolButton::menu-indicator { image: none; width: 0; }"));
    pmMenuExtender = new QMenu(this);
    pmMenuExtender->setObjectName(QStringLiteral("pmMenuExtender"));
    tbxMenu->setMenu(pmMenuExtender);
    tbxMenu->hide();
    connect(pmMenuExtender, &QMenu::aboutToShow, this, &TMenuBand::FillExtender);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QToolButton* TMenuBand::AddMenuButton(const QString& name, const QString& captionKey, QMenu* menu,
                                      bool lends)
{
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(captionKey);
    button->setToolTip(captionKey + QStringLiteral("Hint"));
    button->setStatusTip(captionKey + QStringLiteral("Hint"));
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    button->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0; }"));
    button->setMenu(menu);
    m_buttons.append(button);
    m_lends.append(lends);
    Relayout();
    updateGeometry();
    return button;
}

int TMenuBand::FittingButtons(const QList<int>& widths, int available, int chevronWidth)
{
    int total = 0;
    for (int width : widths)
        total += width;
    if (total <= available)
        return int(widths.size());
    int used = chevronWidth;
    int count = 0;
    for (int width : widths)
    {
        if (used + width > available)
            break;
        used += width;
        ++count;
    }
    return count;
}

void TMenuBand::Relayout()
{
    QList<int> widths;
    for (QToolButton* button : m_buttons)
        widths.append(button->sizeHint().width());
    const int height = qMax(ButtonHeight, this->height());
    const int chevronWidth = tbxMenu->sizeHint().width();
    const int fitting = FittingButtons(widths, width(), chevronWidth);
    int x = 0;
    for (int i = 0; i < m_buttons.size(); ++i)
    {
        QToolButton* button = m_buttons.at(i);
        const bool fits = i < fitting;
        if (fits)
        {
            button->setGeometry(x, 0, widths.at(i), height);
            x += widths.at(i);
        }
        button->setVisible(fits);
    }
    const bool chevron = fitting < m_buttons.size();
    tbxMenu->setVisible(chevron);
    if (chevron)
        tbxMenu->setGeometry(width() - chevronWidth, 0, chevronWidth, height);
}

void TMenuBand::FillExtender()
{
    // The menus stay where they are: the chevron's entries show the very
    // same menus, so nothing has to be given back when it closes.
    pmMenuExtender->clear();
    for (int i = 0; i < m_buttons.size(); ++i)
    {
        if (!m_lends.at(i))
            continue;
        QToolButton* button = m_buttons.at(i);
        QAction* entry = pmMenuExtender->addMenu(button->menu());
        entry->setText(button->text());
    }
}

void TMenuBand::DropMenu(QToolButton* button)
{
    if (!button || !button->menu())
        return;
    // Not the button's own modal drop: the key that asked for the menu has
    // its handling to finish first.
    QMenu* menu = button->menu();
    const QWidget* under = button->isVisible() ? static_cast<QWidget*>(button) : tbxMenu;
    menu->popup(under->mapToGlobal(QPoint(0, under->height())));
    // Opened from the keyboard, the menu is worked with the keyboard: its
    // first item is selected as an arrow key selects it, which leaves a
    // submenu closed until asked for.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(menu, &down);
}

QSize TMenuBand::sizeHint() const
{
    int width = 0;
    int height = ButtonHeight;
    for (const QToolButton* button : m_buttons)
    {
        width += button->sizeHint().width();
        height = qMax(height, button->sizeHint().height());
    }
    return {width, height};
}

QSize TMenuBand::minimumSizeHint() const
{
    return {tbxMenu->sizeHint().width(), sizeHint().height()};
}

void TMenuBand::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Relayout();
}

bool TMenuBand::event(QEvent* event)
{
    // Translated captions change the buttons' widths.
    switch (event->type())
    {
    case QEvent::LayoutRequest:
    case QEvent::FontChange:
        updateGeometry();
        Relayout();
        break;
    case QEvent::Show:
        Relayout();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

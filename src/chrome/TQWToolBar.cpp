#include "chrome/TQWToolBar.h"

#include "chrome/TLanguage.h"
#include "chrome/ToolbarButtonTable.h"
#include "components/ToolbarImages.h"
#include "core/dialogs/WindowServices.h"

#include <QEvent>
#include <QFrame>
#include <QMenu>
#include <QToolButton>

namespace
{
const char* const NumberProperty = "toolbarNumber";
constexpr int SeparatorWidth = 5;
constexpr int IconSize = 24;
const QString NoIndicator =
    QStringLiteral("QToolButton::menu-indicator { image: none; width: 0; }");
} // namespace

TQWToolBar::TQWToolBar(WindowServices* services, QWidget* parent)
    : QWidget(parent), m_services(services)
{
    pnlToolbarMain = new QWidget(this);
    pnlToolbarMain->setObjectName(QStringLiteral("pnlToolbarMain"));
    pnlToolbarRight = new QWidget(this);
    pnlToolbarRight->setObjectName(QStringLiteral("pnlToolbarRight"));
    tbxBar = new QToolButton(pnlToolbarRight);
    tbxBar->setObjectName(QStringLiteral("tbxBar"));
    tbxBar->setText(QStringLiteral("\u00BB"));
    tbxBar->setAutoRaise(true);
    tbxBar->setPopupMode(QToolButton::InstantPopup);
    tbxBar->setStyleSheet(NoIndicator);
    pmToolBarExtender = new QMenu(this);
    pmToolBarExtender->setObjectName(QStringLiteral("pmToolBarExtender"));
    tbxBar->setMenu(pmToolBarExtender);
    pnlToolbarRight->hide();
    connect(pmToolBarExtender, &QMenu::aboutToShow, this, &TQWToolBar::pmToolBarExtenderPopup);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TQWToolBar::SetAvailability(Availability available)
{
    m_available = std::move(available);
    RefreshAvailability();
}

void TQWToolBar::SetDropDownMenu(int number, QMenu* menu)
{
    if (!ToolbarButtonTable::IsButtonNumber(number))
        return;
    m_menus.insert(number, menu);
    if (QToolButton* button = Button(number))
        ApplyState(button, number);
    pnlToolbarResize();
}

QMenu* TQWToolBar::DropDownMenu(int number) const
{
    return m_menus.value(number);
}

void TQWToolBar::RefreshAvailability()
{
    for (const Place& place : std::as_const(m_places))
        if (auto* button = qobject_cast<QToolButton*>(place.widget))
            ApplyState(button, place.number);
}

void TQWToolBar::SetButtonEnabled(int number, bool enabled)
{
    if (enabled)
        m_disabled.remove(number);
    else
        m_disabled.insert(number);
    if (QToolButton* button = Button(number))
        ApplyState(button, number);
}

void TQWToolBar::SetDown(int number, bool down)
{
    if (down)
        m_down.insert(number);
    else
        m_down.remove(number);
    if (QToolButton* button = Button(number))
        button->setChecked(down);
}

void TQWToolBar::SetShowColor(bool showColor)
{
    m_showColor = showColor;
    for (const Place& place : std::as_const(m_places))
        if (auto* button = qobject_cast<QToolButton*>(place.widget))
            button->setIcon(ButtonImage(place.number));
}

QIcon TQWToolBar::ButtonImage(int number) const
{
    if (!ToolbarButtonTable::IsButtonNumber(number))
        return {};
    auto found = m_colourIcons.constFind(number);
    if (found == m_colourIcons.constEnd())
        found = const_cast<TQWToolBar*>(this)->m_colourIcons.insert(
            number, ToolbarButtonTable::ColourIcon(number));
    return ToolbarImages::ForBar(*found, m_showColor);
}

QString TQWToolBar::ButtonCaption(int number) const
{
    if (const QToolButton* button = Button(number))
        return button->toolTip();
    return TLanguage::ShortHint(Hint(number));
}

QString TQWToolBar::Hint(int number) const
{
    const ToolbarButtonInfo* info = ToolbarButtonTable::Find(number);
    if (!info)
        return {};
    return m_services ? m_services->GetLangText(info->hintSection, info->hintKey) : info->hintKey;
}

QWidget* TQWToolBar::CreateToolbarButton(int number)
{
    QWidget* widget = nullptr;
    if (number == ToolbarButtonTable::Separator)
    {
        auto* line = new QFrame(pnlToolbarMain);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setFixedWidth(SeparatorWidth);
        widget = line;
    }
    else if (ToolbarButtonTable::IsButtonNumber(number))
        widget = MakeButton(number);
    if (!widget)
        return nullptr;
    widget->setProperty(NumberProperty, number);
    widget->show();
    m_places.prepend({widget, number, true});
    pnlToolbarResize();
    updateGeometry();
    return widget;
}

QToolButton* TQWToolBar::MakeButton(int number)
{
    const ToolbarButtonInfo& info = *ToolbarButtonTable::Find(number);
    auto* button = new QToolButton(pnlToolbarMain);
    button->setObjectName(info.name);
    button->setAutoRaise(true);
    button->setIconSize({IconSize, IconSize});
    button->setIcon(ButtonImage(number));
    const QString hint = Hint(number);
    button->setToolTip(TLanguage::ShortHint(hint));
    button->setStatusTip(TLanguage::LongHint(hint));
    switch (info.kind)
    {
    case ToolbarButtonKind::Button:
        break;
    case ToolbarButtonKind::DropDown:
        button->setPopupMode(QToolButton::MenuButtonPopup);
        break;
    case ToolbarButtonKind::Check:
        button->setCheckable(true);
        button->setChecked(m_down.contains(number));
        break;
    case ToolbarButtonKind::MenuButton:
        button->setPopupMode(QToolButton::InstantPopup);
        break;
    }
    if (info.kind != ToolbarButtonKind::MenuButton)
        connect(button, &QToolButton::clicked, this, [this, number] { ButtonClicked(number); });
    ApplyState(button, number);
    return button;
}

void TQWToolBar::ButtonClicked(int number)
{
    const ToolbarButtonInfo& info = *ToolbarButtonTable::Find(number);
    // A check button shows the window's state, not the click: the command
    // may refuse, and the window says what became of it through SetDown.
    if (info.kind == ToolbarButtonKind::Check)
        if (QToolButton* button = Button(number))
            button->setChecked(m_down.contains(number));
    emit command(info.command);
}

void TQWToolBar::ApplyState(QToolButton* button, int number)
{
    const ToolbarButtonInfo& info = *ToolbarButtonTable::Find(number);
    QMenu* menu = m_menus.value(number);
    if (info.kind == ToolbarButtonKind::DropDown || info.kind == ToolbarButtonKind::MenuButton)
        button->setMenu(menu);
    bool enabled = !m_disabled.contains(number);
    if (info.kind == ToolbarButtonKind::MenuButton)
        enabled = enabled && menu;
    else
        enabled = enabled && (!m_available || m_available(info.command));
    button->setEnabled(enabled);
}

QToolButton* TQWToolBar::Button(int number) const
{
    if (!ToolbarButtonTable::IsButtonNumber(number))
        return nullptr;
    for (const Place& place : m_places)
        if (place.number == number)
            return qobject_cast<QToolButton*>(place.widget);
    return nullptr;
}

QList<QWidget*> TQWToolBar::Places() const
{
    QList<QWidget*> widgets;
    for (const Place& place : m_places)
        widgets.append(place.widget);
    return widgets;
}

int TQWToolBar::NumberOf(const QWidget* place)
{
    const QVariant number = place ? place->property(NumberProperty) : QVariant();
    return number.isValid() ? number.toInt() : ToolbarButtonTable::Separator;
}

QList<ToolbarEntry> TQWToolBar::Entries() const
{
    QList<ToolbarEntry> entries;
    for (const Place& place : m_places)
        entries.append({place.number, place.shown});
    return entries;
}

void TQWToolBar::Clear()
{
    // Later, not now: the click that led here may come from one of them.
    for (const Place& place : std::as_const(m_places))
    {
        place.widget->hide();
        place.widget->setParent(nullptr);
        place.widget->deleteLater();
    }
    m_places.clear();
}

void TQWToolBar::SetEntries(const QList<ToolbarEntry>& entries)
{
    setUpdatesEnabled(false);
    Clear();
    QSet<int> placed;
    QList<ToolbarEntry> kept;
    for (const ToolbarEntry& entry : entries)
        if (entry.IsSeparator() ||
            (ToolbarButtonTable::IsButtonNumber(entry.number) && !placed.contains(entry.number)))
        {
            placed.insert(entry.number);
            kept.append(entry);
        }
    for (auto entry = kept.crbegin(); entry != kept.crend(); ++entry)
    {
        QWidget* widget = CreateToolbarButton(entry->number);
        m_places.first().shown = entry->shown;
        widget->setVisible(entry->shown);
    }
    setUpdatesEnabled(true);
    pnlToolbarResize();
    updateGeometry();
}

void TQWToolBar::LoadToolbarLayout(const QString& path)
{
    SetEntries(ToolbarLayout::Read(path).value_or(ToolbarLayout::DefaultLayout()));
}

bool TQWToolBar::SaveToolbarLayout(const QString& path, QString* error)
{
    return ToolbarLayout::Write(path, Entries(), error);
}

void TQWToolBar::BuildDefaultToolbar()
{
    SetEntries(ToolbarLayout::DefaultLayout());
}

int TQWToolBar::ButtonHeight() const
{
    int height = tbxBar->sizeHint().height();
    for (const Place& place : m_places)
        if (place.number >= 0)
            height = qMax(height, place.widget->sizeHint().height());
    return height;
}

QList<ToolbarOverflow::Place> TQWToolBar::ShownPlaces(QList<int>* indexes) const
{
    QList<ToolbarOverflow::Place> shown;
    for (int i = 0; i < m_places.size(); ++i)
    {
        const Place& place = m_places.at(i);
        if (!place.shown)
            continue;
        shown.append({place.widget->geometry().right() + 1, place.number < 0});
        if (indexes)
            indexes->append(i);
    }
    return shown;
}

void TQWToolBar::pnlToolbarResize()
{
    const int height = qMax(ButtonHeight(), this->height());
    int x = 0;
    for (const Place& place : std::as_const(m_places))
    {
        if (!place.shown)
            continue;
        const int width = place.number < 0 ? SeparatorWidth : place.widget->sizeHint().width();
        place.widget->setGeometry(x, 0, width, height);
        x += width;
    }
    const int chevronWidth = tbxBar->sizeHint().width();
    const int mainWidth = ToolbarOverflow::MainWidth(ShownPlaces(nullptr), width(), chevronWidth);
    // A button half on the bar would be one the chevron offers as well.
    for (const Place& place : std::as_const(m_places))
        if (place.shown)
            place.widget->setVisible(place.widget->geometry().right() < mainWidth);
    pnlToolbarMain->setGeometry(0, 0, mainWidth, height);
    pnlToolbarRight->setGeometry(mainWidth, 0, width() - mainWidth, height);
    tbxBar->setGeometry(0, 0, chevronWidth, height);
    pnlToolbarRight->setVisible(mainWidth < width());
}

void TQWToolBar::pmToolBarExtenderPopup()
{
    pmToolBarExtender->clear();
    qDeleteAll(m_extenderMenus);
    m_extenderMenus.clear();
    QList<int> indexes;
    const QList<int> cutOff =
        ToolbarOverflow::CutOff(ShownPlaces(&indexes), pnlToolbarMain->width());
    for (int item : cutOff)
    {
        const Place& place = m_places.at(indexes.at(item));
        if (place.number < 0)
            pmToolBarExtender->addSeparator();
        else
            AddExtenderItem(qobject_cast<QToolButton*>(place.widget), place.number);
    }
    if (!pmToolBarExtender->isEmpty())
        pmToolBarExtender->addSeparator();
    QAction* customize = pmToolBarExtender->addAction(
        m_services ? m_services->GetGlobalText(QStringLiteral("Customize"))
                   : QStringLiteral("Customize"));
    customize->setObjectName(QStringLiteral("Customize"));
    connect(customize, &QAction::triggered, this, &TQWToolBar::customizeRequested);
}

void TQWToolBar::AddExtenderItem(QToolButton* button, int number)
{
    const ToolbarButtonInfo& info = *ToolbarButtonTable::Find(number);
    QAction* item = pmToolBarExtender->addAction(button->icon(), button->toolTip());
    item->setObjectName(info.name);
    item->setStatusTip(button->statusTip());
    item->setEnabled(button->isEnabled());
    if (info.kind == ToolbarButtonKind::Check)
    {
        item->setCheckable(true);
        item->setChecked(m_down.contains(number));
    }
    QMenu* menu = button->menu();
    if (!menu)
    {
        connect(item, &QAction::triggered, this, [this, number] { ButtonClicked(number); });
        return;
    }
    // Menus that fill themselves as they open are filled before they are copied.
    emit menu->aboutToShow();
    auto* copy = new QMenu(this);
    m_extenderMenus.append(copy);
    for (QAction* original : menu->actions())
    {
        if (original->isSeparator())
        {
            copy->addSeparator();
            continue;
        }
        QAction* sub = copy->addAction(original->icon(), original->text());
        sub->setShortcut(original->shortcut());
        // Shown only: the original keeps the key.
        sub->setShortcutContext(Qt::WidgetShortcut);
        sub->setStatusTip(original->statusTip());
        sub->setEnabled(original->isEnabled());
        sub->setCheckable(original->isCheckable());
        sub->setChecked(original->isChecked());
        sub->setMenu(original->menu());
        connect(sub, &QAction::triggered, original, [original] { original->trigger(); });
    }
    item->setMenu(copy);
}

QSize TQWToolBar::sizeHint() const
{
    int width = 0;
    for (const Place& place : m_places)
        if (place.shown)
            width += place.number < 0 ? SeparatorWidth : place.widget->sizeHint().width();
    return {width, ButtonHeight()};
}

QSize TQWToolBar::minimumSizeHint() const
{
    return {tbxBar->sizeHint().width(), ButtonHeight()};
}

void TQWToolBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    pnlToolbarResize();
}

bool TQWToolBar::event(QEvent* event)
{
    switch (event->type())
    {
    case QEvent::LayoutRequest:
    case QEvent::FontChange:
    case QEvent::Show:
        updateGeometry();
        pnlToolbarResize();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

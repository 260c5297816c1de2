#pragma once

#include "chrome/ToolbarLayout.h"
#include "chrome/ToolbarOverflow.h"
#include "core/window/MainCommand.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QWidget>

#include <functional>

class QMenu;
class QToolButton;
class WindowServices;

// The main toolbar with its chevron: the buttons of ToolbarButtonTable in
// the user's order in pnlToolbarMain, and in pnlToolbarRight the chevron
// tbxBar, shown when the last shown button is cut off, whose menu
// pmToolBarExtender offers the cut-off buttons and Customize. The whole
// widget is the toolbar band's content.
//
// Buttons only name commands; the window runs them and tells the toolbar
// what it needs to show (which commands it has, check states, menus).
class TQWToolBar : public QWidget
{
    Q_OBJECT
public:
    using Availability = std::function<bool(MainCommand)>;

    // Hints come from services, looked up when a button is made.
    explicit TQWToolBar(WindowServices* services, QWidget* parent = nullptr);

    // Which commands the window can run; without one, all of them. A button
    // whose command is missing stays in its place, disabled.
    void SetAvailability(Availability available);
    // The menu a drop-down button's arrow (or button 21 itself) drops. The
    // toolbar does not own it.
    void SetDropDownMenu(int number, QMenu* menu);
    QMenu* DropDownMenu(int number) const;
    // Re-reads availability, menus and the window's enabled states.
    void RefreshAvailability();
    // Commands that apply only sometimes (Back without history): the button
    // is disabled while the window says so.
    void SetButtonEnabled(int number, bool enabled);
    // A check button's state (side bar shown, pictures load, full screen).
    void SetDown(int number, bool down);
    bool IsDown(int number) const { return m_down.contains(number); }
    // Grey pictures that turn to colour under the mouse, or colour always.
    void SetShowColor(bool showColor);
    bool ShowColor() const { return m_showColor; }

    // Makes button number (0 to 21) or a separator (-1) and puts it at the
    // leftmost place, shown. Null for any other number.
    QWidget* CreateToolbarButton(int number);
    // The button of number, when the toolbar has it.
    QToolButton* Button(int number) const;
    // Every place from left to right, separators included.
    QList<QWidget*> Places() const;
    static int NumberOf(const QWidget* place);
    // The picture button number shows, in the toolbar's current look.
    QIcon ButtonImage(int number) const;
    // The short hint of button number: the caption of its list and menu items.
    QString ButtonCaption(int number) const;

    QList<ToolbarEntry> Entries() const;
    // Rebuilds the toolbar from entries; a button number met again is left
    // out, hidden places are kept invisible.
    void SetEntries(const QList<ToolbarEntry>& entries);
    // The layout in path; the default one when there is no such file.
    void LoadToolbarLayout(const QString& path);
    // False with *error saying why when the file could not be replaced; the
    // old file is then unchanged.
    bool SaveToolbarLayout(const QString& path, QString* error = nullptr);
    void BuildDefaultToolbar();

    QWidget* pnlToolbarMain;
    QWidget* pnlToolbarRight;
    QToolButton* tbxBar;
    QMenu* pmToolBarExtender;

    // Lays the places out and shows the chevron exactly when needed.
    void pnlToolbarResize();
    // Fills the chevron's menu; run each time it opens.
    void pmToolBarExtenderPopup();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void command(MainCommand command);
    void customizeRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Place
    {
        QWidget* widget;
        int number;
        bool shown;
    };

    QToolButton* MakeButton(int number);
    QString Hint(int number) const;
    void ButtonClicked(int number);
    void ApplyState(QToolButton* button, int number);
    void Clear();
    QList<ToolbarOverflow::Place> ShownPlaces(QList<int>* indexes) const;
    void AddExtenderItem(QToolButton* button, int number);
    int ButtonHeight() const;

    QPointer<WindowServices> m_services;
    Availability m_available;
    QList<Place> m_places;
    QHash<int, QPointer<QMenu>> m_menus;
    QSet<int> m_down;
    QSet<int> m_disabled;
    bool m_showColor = false;
    QHash<int, QIcon> m_colourIcons;
    QList<QMenu*> m_extenderMenus;
};

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QIcon;
class QMenu;
class QSystemTrayIcon;
class QWidget;

// The program's icon in the desktop's notification area, and minimizing
// into it: while the icon is active, a minimized window leaves the task
// bar and only the icon stays; the icon, its menu or a command bring the
// window back as it was (normal, maximized or full screen).
//
// Where the desktop has no notification area the icon never shows and the
// window minimizes as usual.
class TPGTrayIcon : public QObject
{
    Q_OBJECT
public:
    // window is the one that goes to the tray; it must outlive the icon.
    explicit TPGTrayIcon(QWidget* window);
    // trayPresent stands for the desktop's answer (tests without a
    // notification area).
    TPGTrayIcon(QWidget* window, bool trayPresent);
    ~TPGTrayIcon() override;

    // Whether this desktop has a notification area at all.
    static bool Available();

    bool Active() const { return m_active; }
    // Switching the icon off while the window is in the tray brings the
    // window back: it could not be reached otherwise.
    void SetActive(bool active);
    QString Hint() const { return m_hint; }
    void SetHint(const QString& hint);
    QMenu* PopupMenu() const { return m_popupMenu; }
    // Shown on a right click; owned by the caller.
    void SetPopupMenu(QMenu* menu);
    void SetIcon(const QIcon& icon);

    // Whether the window is hidden in the tray.
    bool InTray() const { return m_inTray; }
    // Both do nothing unless the icon is active and can be shown.
    void MinimizeToTray();
    void RestoreFromTray();

signals:
    void OnAppMinimize();
    void OnAppRestore();
    // The user activated the icon. Desktops report this in their own way:
    // freedesktop trays send one activation per click and often no double
    // click at all, so the first click of a double click is what counts,
    // and the double click that follows it is not a second activation.
    void OnDblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Usable() const { return m_active && m_trayPresent; }
    void UpdateVisibility();

    QWidget* m_window;
    bool m_trayPresent;
    QSystemTrayIcon* m_icon = nullptr;
    QPointer<QMenu> m_popupMenu;
    QString m_hint;
    bool m_active = false;
    bool m_inTray = false;
    // The window's state before it went to the tray, minimized bit removed.
    Qt::WindowStates m_stateBefore;
};

#include "components/TPGTrayIcon.h"

#include <QEvent>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <QWindowStateChangeEvent>

TPGTrayIcon::TPGTrayIcon(QWidget* window) : TPGTrayIcon(window, Available()) {}

TPGTrayIcon::TPGTrayIcon(QWidget* window, bool trayPresent)
    : QObject(window), m_window(window), m_trayPresent(trayPresent)
{
    m_window->installEventFilter(this);
    // Without a notification area no icon object is made: asking for one
    // would only give warnings.
    if (!Available())
        return;
    m_icon = new QSystemTrayIcon(this);
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason)
            {
                if (reason == QSystemTrayIcon::Trigger)
                    emit OnDblClick();
            });
}

TPGTrayIcon::~TPGTrayIcon()
{
    m_window->removeEventFilter(this);
}

bool TPGTrayIcon::Available()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TPGTrayIcon::SetActive(bool active)
{
    if (!active && m_inTray)
        RestoreFromTray();
    m_active = active;
    UpdateVisibility();
}

void TPGTrayIcon::SetHint(const QString& hint)
{
    m_hint = hint;
    if (m_icon)
        m_icon->setToolTip(hint);
}

void TPGTrayIcon::SetPopupMenu(QMenu* menu)
{
    m_popupMenu = menu;
    if (m_icon)
        m_icon->setContextMenu(menu);
}

void TPGTrayIcon::SetIcon(const QIcon& icon)
{
    if (m_icon)
        m_icon->setIcon(icon);
}

void TPGTrayIcon::UpdateVisibility()
{
    if (m_icon)
        m_icon->setVisible(Usable());
}

void TPGTrayIcon::MinimizeToTray()
{
    if (!Usable() || m_inTray)
        return;
    m_stateBefore = m_window->windowState() & ~Qt::WindowMinimized;
    m_inTray = true;
    m_window->hide();
    emit OnAppMinimize();
}

void TPGTrayIcon::RestoreFromTray()
{
    if (!m_inTray)
        return;
    m_inTray = false;
    m_window->setWindowState(m_stateBefore);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    emit OnAppRestore();
}

bool TPGTrayIcon::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::WindowStateChange && Usable() &&
        !m_inTray && (m_window->windowState() & Qt::WindowMinimized))
    {
        // The state the window had before it was minimized is the one to
        // give back; hiding is left until the window system has finished
        // minimizing, which it does not like to be interrupted in.
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        const Qt::WindowStates before = change->oldState() & ~Qt::WindowMinimized;
        QTimer::singleShot(0, this,
                           [this, before]
                           {
                               if (!(m_window->windowState() & Qt::WindowMinimized) || m_inTray)
                                   return;
                               MinimizeToTray();
                               m_stateBefore = before;
                           });
    }
    return QObject::eventFilter(watched, event);
}

#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QWidget;
class TPGTrayIcon;
class WindowServices;

// The main window's tray icon: its menu (restore or minimize, exit), its
// tooltip naming the page the window was showing when it went to the tray,
// and the icon's activation, which brings the window back or sends it
// there.
class MainTray : public QObject
{
    Q_OBJECT
public:
    // activeTitle answers the active tab's page title (empty when none).
    // The menu belongs to window, whose translation gives it its texts.
    MainTray(QWidget* window, WindowServices* services, std::function<QString()> activeTitle);
    // trayPresent stands for the desktop's answer (tests).
    MainTray(QWidget* window, WindowServices* services, std::function<QString()> activeTitle,
             bool trayPresent);

    TPGTrayIcon* Tray() const { return pgTray; }
    QMenu* Menu() const { return pmTray; }
    QAction* RestoreItem() const { return pmTrayRestore; }
    QAction* ExitItem() const { return pmTrayExit; }
    // MinToTray: the icon's state.
    bool Active() const;
    void SetActive(bool active);

    // The tooltip: the program's name, and in the tray the page's title.
    static QString HintText(bool inTray, const QString& pageTitle);
    // The key of section MAIN that the default item shows.
    static QString RestoreCaptionKey(bool inTray);

private:
    void pmTrayPopup();
    void pmTrayRestoreClick();
    void pgTrayAppMinimize();
    void pgTrayAppRestore();

    QWidget* m_window;
    WindowServices* m_services;
    std::function<QString()> m_activeTitle;
    TPGTrayIcon* pgTray;
    QMenu* pmTray;
    QAction* pmTrayRestore;
    QAction* pmTrayExit;
};

#pragma once

#include <QObject>

class QTimer;
class TfrmMain;
class VersionCheck;

// The main window's version check: made at the window's first activation,
// it waits DelayMs so that the start-up pages load first, then runs the
// check once. With VersionCheck 0 in the settings it does nothing at all.
// A release page the user accepts opens in a new tab.
class MainVersionCheck : public QObject
{
    Q_OBJECT
public:
    static constexpr int DelayMs = 5000;

    explicit MainVersionCheck(TfrmMain* window);

    // The one-shot timer; null when the check is switched off.
    QTimer* Timer() const { return tmrVersionCheck; }
    VersionCheck* Check() const { return m_check; }

    void tmrVersionCheckTimer();

private:
    TfrmMain* m_window;
    VersionCheck* m_check = nullptr;
    QTimer* tmrVersionCheck = nullptr;
};

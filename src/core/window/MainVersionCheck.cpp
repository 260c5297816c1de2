#include "core/window/MainVersionCheck.h"

#include "chrome/VersionCheck.h"
#include "core/settings/TQWOptions.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/TfrmMain.h"

#include <QTimer>

MainVersionCheck::MainVersionCheck(TfrmMain* window) : QObject(window), m_window(window)
{
    if (window->Options()->VersionCheck() == 0)
        return;
    m_check = new VersionCheck(
        window->Options(), window->Services(),
        [window](const QString& address)
        {
            if (TBrowserTab* tab = window->TabSet()->AddTab())
                tab->NavigateTo(address);
        },
        this);
    tmrVersionCheck = new QTimer(this);
    tmrVersionCheck->setSingleShot(true);
    tmrVersionCheck->setInterval(DelayMs);
    connect(tmrVersionCheck, &QTimer::timeout, this, &MainVersionCheck::tmrVersionCheckTimer);
    tmrVersionCheck->start();
}

void MainVersionCheck::tmrVersionCheckTimer()
{
    tmrVersionCheck->stop();
    // The options dialog may have switched the check off since the start.
    if (!m_check || m_window->Options()->VersionCheck() == 0)
        return;
    m_check->Check();
}

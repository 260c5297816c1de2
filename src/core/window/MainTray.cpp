#include "core/window/MainTray.h"

#include "chrome/MenuPlaceholders.h"
#include "components/TPGTrayIcon.h"
#include "core/dialogs/WindowServices.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QWidget>

namespace
{
const QString ProductName = QStringLiteral("Quillwave");
} // namespace

MainTray::MainTray(QWidget* window, WindowServices* services, std::function<QString()> activeTitle)
    : MainTray(window, services, std::move(activeTitle), TPGTrayIcon::Available())
{
}

MainTray::MainTray(QWidget* window, WindowServices* services, std::function<QString()> activeTitle,
                   bool trayPresent)
    : QObject(window), m_window(window), m_services(services),
      m_activeTitle(std::move(activeTitle)), pgTray(new TPGTrayIcon(window, trayPresent)),
      pmTray(new QMenu(window))
{
    pgTray->setObjectName(QStringLiteral("pgTray"));
    pmTray->setObjectName(QStringLiteral("pmTray"));
    pmTrayRestore = AddPlaceholderItem(pmTray, QStringLiteral("pmTrayRestore"),
                                       QStringLiteral("__TrayRestore"));
    pmTray->addSeparator();
    pmTrayExit =
        AddPlaceholderItem(pmTray, QStringLiteral("pmTrayExit"), QStringLiteral("__TrayExit"));
    pmTray->setDefaultAction(pmTrayRestore);

    pgTray->SetIcon(QIcon(QStringLiteral(":/quillwave/quillwave.svg")));
    pgTray->SetHint(HintText(false, QString()));
    pgTray->SetPopupMenu(pmTray);

    connect(pmTray, &QMenu::aboutToShow, this, &MainTray::pmTrayPopup);
    connect(pmTrayRestore, &QAction::triggered, this, &MainTray::pmTrayRestoreClick);
    connect(pgTray, &TPGTrayIcon::OnDblClick, this, &MainTray::pmTrayRestoreClick);
    // The window's own close: its questions come first, and a No keeps it.
    connect(pmTrayExit, &QAction::triggered, m_window, &QWidget::close);
    connect(pgTray, &TPGTrayIcon::OnAppMinimize, this, &MainTray::pgTrayAppMinimize);
    connect(pgTray, &TPGTrayIcon::OnAppRestore, this, &MainTray::pgTrayAppRestore);
}

bool MainTray::Active() const
{
    return pgTray->Active();
}

void MainTray::SetActive(bool active)
{
    pgTray->SetActive(active);
}

QString MainTray::HintText(bool inTray, const QString& pageTitle)
{
    return inTray ? ProductName + QStringLiteral(" - ") + pageTitle : ProductName;
}

QString MainTray::RestoreCaptionKey(bool inTray)
{
    return inTray ? QStringLiteral("TrayRestore") : QStringLiteral("TrayMinimize");
}

void MainTray::pmTrayPopup()
{
    pmTrayRestore->setText(
        m_services->GetLangText(QStringLiteral("MAIN"), RestoreCaptionKey(pgTray->InTray())));
}

void MainTray::pmTrayRestoreClick()
{
    if (pgTray->InTray())
        pgTray->RestoreFromTray();
    else
        pgTray->MinimizeToTray();
}

void MainTray::pgTrayAppMinimize()
{
    pgTray->SetHint(HintText(true, m_activeTitle ? m_activeTitle() : QString()));
}

void MainTray::pgTrayAppRestore()
{
    pgTray->SetHint(HintText(false, QString()));
}

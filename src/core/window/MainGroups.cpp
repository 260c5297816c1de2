#include "core/window/MainGroups.h"

#include "components/TFolderMonitor.h"
#include "core/dialogs/WindowServices.h"
#include "core/store/ProgramPaths.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/TTabSet.h"
#include "core/window/MainViewSettings.h"
#include "core/window/TMainMenu.h"
#include "core/window/TfrmMain.h"
#include "groups/TKoncoBar.h"
#include "groups/TVostelGroup.h"
#include "groups/TVostelGroupMenu.h"
#include "groups/TfrmVostelGroup.h"
#include "groups/VostelGroupTabs.h"

#include <QMenu>

MainGroups::MainGroups(TfrmMain* window)
    : QObject(window), m_window(window), m_rootFolder(ProgramPaths::vostelGroupsFolder())
{
    // The groups follow the menu's own items.
    QMenu* popup = window->MainMenu()->VostelGroupsMenu();
    m_menu = new TVostelGroupMenu(popup, int(popup->actions().size()), m_rootFolder,
                                  window->Services(), this);
    connect(m_menu, &TVostelGroupMenu::groupChosen, this, &MainGroups::OpenChosenGroup);
    connect(window->MainMenu(), &TMainMenu::tabAddToVostelGroupChosen, this,
            &MainGroups::pmTabAddToVostelGroupClick);

    m_monitor = new TFolderMonitor(m_rootFolder, this);
    connect(m_monitor, &TFolderMonitor::changed, this, &MainGroups::FolderChanged);

    if (TKoncoBar* bar = window->KoncoBar())
    {
        connect(bar, &TKoncoBar::openGroupRequested, this, &MainGroups::OpenChosenGroup);
        connect(bar, &TKoncoBar::organizeGroupRequested, this,
                [this, bar](const QString& path)
                {
                    Organize(path);
                    MarkChanged();
                    bar->refreshVostelGroups();
                });
        connect(bar, &TKoncoBar::groupsChanged, this, &MainGroups::MarkChanged);
        connect(this, &MainGroups::groupsFolderChanged, bar, &TKoncoBar::refreshVostelGroups);
    }
}

MainGroups::~MainGroups() = default;

void MainGroups::OpenVostelGroup(const QString& path, bool closeFirst, bool startup)
{
    const VostelGroupTabs::Opened opened =
        VostelGroupTabs::open(*m_window->TabSet(), path, closeFirst, startup);
    if (opened.refused > 0)
        m_window->ShowMessage(
            m_window->Services()->GetGlobalText(QStringLiteral("ScriptAddressRefused")));
}

void MainGroups::OpenChosenGroup(const QString& path)
{
    OpenVostelGroup(path, m_window->ViewSettings()->VGCloseFirst(), false);
}

void MainGroups::actSaveAsVostelGroupExecute()
{
    TVostelGroup group = VostelGroupTabs::ofTabs(*m_window->TabSet(), m_window->Services());
    group.Save();
    MarkChanged();
}

void MainGroups::pmAddToVostelGroupClick()
{
    AddToGroup(m_window->TabSet()->GetActivePage());
}

void MainGroups::pmTabAddToVostelGroupClick()
{
    AddToGroup(m_window->TabSet()->GetPopupTab());
}

void MainGroups::AddToGroup(const TBrowserTab* tab)
{
    if (tab)
        if (const QString path = ChooseGroupFile(); !path.isEmpty())
        {
            TVostelGroup group(m_window->Services(), path);
            VostelGroupTabs::addTab(group, *tab);
            group.Save();
        }
    MarkChanged();
}

void MainGroups::actOrganizeVostelGroupsExecute()
{
    if (const QString path = ChooseGroupFile(); !path.isEmpty())
        Organize(path);
}

bool MainGroups::Organize(const QString& path)
{
    return TfrmVostelGroup::Organize(m_window, path, m_window->Language(), m_window->Services());
}

QString MainGroups::ChooseGroupFile() const
{
    WindowServices* services = m_window->Services();
    const QString path = services->chooseOpenFile(
        services->GetGlobalText(QStringLiteral("VostelGroup")), m_rootFolder,
        services->GetLangText(QStringLiteral("MAIN"), QStringLiteral("VostelGroupFilter")),
        TVostelGroup::FileSuffix);
    // Saving writes a group section into the file: any other file the
    // dialog's "All files" lets through would be changed by it.
    return TVostelGroup::IsVostelGroupFile(path) ? path : QString();
}

void MainGroups::MarkChanged()
{
    m_menu->MarkChanged();
}

void MainGroups::FolderChanged()
{
    // What the handlers change in the folder must not come back as a change.
    m_monitor->setActive(false);
    MarkChanged();
    emit groupsFolderChanged();
    m_monitor->setActive(true);
}

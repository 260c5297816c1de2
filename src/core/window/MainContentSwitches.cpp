#include "core/window/MainContentSwitches.h"

#include "chrome/TIEOptions.h"
#include "chrome/TQWToolBar.h"
#include "chrome/ToolbarButtonTable.h"
#include "core/settings/TQWOptions.h"
#include "core/window/MainBars.h"
#include "core/window/TMainMenu.h"
#include "core/window/TfrmMain.h"

#include <QAction>
#include <QMenu>

namespace
{
bool stored(const TIEOptions& options, MainContentSwitches::Switch which)
{
    switch (which)
    {
    case MainContentSwitches::Images:
        return options.LoadImages();
    case MainContentSwitches::Videos:
        return options.LoadVideos();
    case MainContentSwitches::Sounds:
        return options.PlaySounds();
    case MainContentSwitches::Animations:
        return options.PlayAnimations();
    }
    return true;
}

bool store(TIEOptions& options, MainContentSwitches::Switch which, bool on)
{
    switch (which)
    {
    case MainContentSwitches::Images:
        return options.SetLoadImages(on);
    case MainContentSwitches::Videos:
        return options.SetLoadVideos(on);
    case MainContentSwitches::Sounds:
        return options.SetPlaySounds(on);
    case MainContentSwitches::Animations:
        return options.SetPlayAnimations(on);
    }
    return false;
}
} // namespace

MainContentSwitches::MainContentSwitches(TfrmMain* window) : QObject(window), m_window(window)
{
    if (QMenu* tools = m_window->MainMenu()->ToolsMenu())
        connect(tools, &QMenu::aboutToShow, this, &MainContentSwitches::Refresh);
    Refresh();
}

void MainContentSwitches::Set(Switch which, bool on)
{
    TIEOptions options(m_window->Options()->Store());
    if (stored(options, which) != on)
    {
        if (store(options, which, on))
            TIEOptions::NotifySettingsChanged();
        else
            // What the store kept is what the pages show.
            on = stored(options, which);
    }
    m_on[which] = on;
    Show(which);
}

void MainContentSwitches::Toggle(Switch which)
{
    {
        TIEOptions options(m_window->Options()->Store());
        Set(which, !stored(options, which));
    }
    m_window->RunCommand(MainCommand::RefreshAll);
}

void MainContentSwitches::Refresh()
{
    TIEOptions options(m_window->Options()->Store());
    for (const Switch which : {Images, Videos, Sounds, Animations})
    {
        m_on[which] = stored(options, which);
        Show(which);
    }
}

void MainContentSwitches::Show(Switch which)
{
    const QList<QAction*> items = m_window->MainMenu()->ContentSwitchItems();
    if (which < items.size() && items[which])
        items[which]->setChecked(m_on[which]);
    if (which == Images)
        m_window->Bars()->ToolBar()->SetDown(ToolbarButtonTable::LoadImagesButton, m_on[which]);
}

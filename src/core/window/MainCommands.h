#pragma once

#include "core/window/MainCommand.h"
#include "core/window/TAppCommandFilter.h"
#include "core/window/TKeyDecision.h"

#include <QHash>

#include <functional>

class TfrmMain;

// The window's command table: every command the menus, the context menus
// and the keyboard can name, with what it does. A command that is not in
// the table is not available: the menus leave its item out and the key
// filter leaves its keys to the page, so no item is ever offered that does
// nothing.
class MainCommands
{
public:
    // The table lives as long as the window; the window's parts are asked
    // for when a command runs.
    explicit MainCommands(TfrmMain* window);

    bool available(MainCommand command) const { return m_commands.contains(command); }
    // Commands on the active tab do nothing when there is none.
    void run(MainCommand command);

    // A command of the keyboard's or mouse's application keys.
    void runAppCommand(TAppCommandFilter::AppCommand command);

    // What the key filter needs to know of the window for a stroke.
    TKeyDecision::WindowState keyState() const;

    // The menu-dropping commands, once the menu bar has its buttons.
    void addMenuDrops();
    // A command of a part that comes with its own commands.
    void add(MainCommand command, std::function<void()> run);
    // What command runs now, for a part that takes it over in some cases.
    std::function<void()> handler(MainCommand command) const { return m_commands.value(command); }

private:
    void addTabCommands();
    void addActiveTabCommands();
    void addWindowCommands();

    void focusAddressBox();
    void newTabFromClipboard();
    void showCloseAllList();
    void toggleWorkOffline();
    // page: a help file with an optional "#section".
    void openHelp(const QString& page);
    void organizeSearchList(int mode);
    void showAbout();

    TfrmMain* m_window;
    QHash<MainCommand, std::function<void()>> m_commands;
};

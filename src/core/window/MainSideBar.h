#pragma once

#include "groups/TKoncoBar.h"

class MainCommands;
class MainViewSettings;
class QAction;
class QSplitter;
class TMainMenu;
class TfrmMain;

// The side bar's place in the main window: a splitter with the side bar on
// the left and the tabs on the right, the commands that show and hide it or
// bring one of its pages to the front, and its width and visibility, read
// when the window is made and handed back when it ends.
class MainSideBar
{
public:
    // Makes the splitter the window's central widget with pages on its
    // right and adds the side bar's commands; the window's settings and
    // services must exist.
    MainSideBar(TfrmMain* window, QWidget* pages, MainCommands& commands);

    TKoncoBar* bar() const { return m_bar; }
    QSplitter* splitter() const { return m_splitter; }
    bool shown() const;
    void setShown(bool shown);
    // The menu item that shows and hides the bar carries a check mark.
    void attachMenu(TMainMenu* menu);
    // Gives the width and visibility to the settings written at exit.
    void writeBack(MainViewSettings& settings);

private:
    void showOn(TKoncoBar::Page page);
    void togglePage(TKoncoBar::Page page);
    void rememberWidth();

    TKoncoBar* m_bar;
    QSplitter* m_splitter;
    QAction* m_item = nullptr;
    // What the bar is given each time it appears; the user's drags change it.
    int m_width;
};

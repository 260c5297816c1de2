#pragma once

#include <functional>

class QWidget;

// A page's own full-screen mode (a video, a game): the view's top-level
// window goes full screen and comes back to exactly the state it had before
// (normal, maximized, or the program's own full-screen view). Esc asks the
// page to leave, as users expect of every browser; closing the tab while the
// page is full screen gives the window back as well.
class TPageFullScreen
{
public:
    // exitRequest is run when the user presses Esc; it should make the page
    // leave full screen, which then calls leave(). Without one, Esc leaves
    // directly. A second enter for the same window keeps the first state.
    static void enter(QWidget* view, std::function<void()> exitRequest = {});
    static void leave(QWidget* view);
    // Whether a page holds this window full screen.
    static bool isActive(const QWidget* window);
};

#pragma once

#include "core/window/FullScreenState.h"
#include "core/window/IBarsHost.h"

#include <QObject>

class MainViewSettings;
class QMainWindow;
class TQWOptions;

// The main window's full-screen mode: the window manager's full-screen
// state, the bars the user keeps for it, and the way back to exactly the
// window there was before. The status bar is switched here too, as its
// check mark and setting depend on the mode.
class MainFullScreen : public QObject
{
    Q_OBJECT
public:
    // All four must outlive this; window owns it.
    MainFullScreen(QMainWindow* window, TQWOptions* options, MainViewSettings* viewSettings,
                   IBarsHost* bars);

    bool IsFullScreen() const { return m_state.IsFullScreen(); }
    // What the window had before full screen (meaningful only in it).
    const WindowView& Remembered() const { return m_state.Remembered(); }

    // Enters or leaves full screen; the choice is kept as FullScreen.
    void SetFullScreen(bool on);
    // F11, pmFullScreen and tbFullScreen.
    void Toggle();
    // pmViewStatusBar, and the status bar's part of full screen.
    void ShowStatusBar(bool on);
    // pmViewMenuBar or pmCustomizeViewMenubar switched to on.
    void MenuBarToggled(bool on);

    // Writes the window's place and ViewStatusBar for the next start. In
    // full screen these are the window's own from before it: a start in
    // full screen then still leaves it to the place the user gave it.
    void StoreWindowState(TQWOptions& options) const;

private:
    WindowView CurrentView() const;
    void Apply(const FullScreenChange& change);
    void ApplyWindowMode(const FullScreenChange& change);
    void SetItem(IBarsHost::Item item, bool visible, bool checked);
    void SetItemChecked(IBarsHost::Item item, bool checked);

    QMainWindow* m_window;
    TQWOptions* m_options;
    MainViewSettings* m_viewSettings;
    IBarsHost* m_bars;
    FullScreenState m_state;
};

#pragma once

#include "core/window/FullScreenState.h"
#include "core/window/IBarsHost.h"

#include <QObject>
#include <QPointer>

class MainViewSettings;
class QMainWindow;
class QWindow;
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window manager may take the window out of full screen itself (its
    // own key or menu); the window then follows as if the user had left it
    // here, bars and all. Only a state the window system reports counts, and
    // only once it has shown the window in full screen: until then a report
    // may be one it sent before it saw the request.
    void WatchWindowSystem();
    void WindowSystemStateChanged(Qt::WindowStates states);
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
    QPointer<QWindow> m_watched;
    bool m_shownFullScreen = false;
};

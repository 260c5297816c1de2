#pragma once

#include <QObject>

class QAction;
class TfrmMain;

// The window's side of the engine's content switches: the Tools menu's
// four check items (read again each time the menu opens, since another copy
// or a later options dialog may have changed them), the toolbar's picture
// button, down while pictures load, and the setters that store a switch and
// announce the change, which the engine then applies to every page.
class MainContentSwitches : public QObject
{
    Q_OBJECT
public:
    enum Switch
    {
        Images,
        Videos,
        Sounds,
        Animations
    };

    // The window's menus and bars exist; the stored switches are shown,
    // nothing is written.
    explicit MainContentSwitches(TfrmMain* window);

    // Store the wanted state when it differs from the stored one, announce
    // it, and show it on the item (and for pictures on the button).
    void SetLoadImages(bool on) { Set(Images, on); }
    void SetLoadVideos(bool on) { Set(Videos, on); }
    void SetPlaySounds(bool on) { Set(Sounds, on); }
    void SetPlayAnimations(bool on) { Set(Animations, on); }
    void Set(Switch which, bool on);

    // The menu items' and the toolbar button's command: the opposite of the
    // stored state, then every tab loads again so that pages show it whole.
    void Toggle(Switch which);

    // The window's flag of a switch: what it last read or set.
    bool IsOn(Switch which) const { return m_on[which]; }

    // Reads the stored switches into the flags, the items and the button.
    void Refresh();

private:
    void Show(Switch which);

    TfrmMain* m_window;
    bool m_on[4] = {true, true, true, true};
};

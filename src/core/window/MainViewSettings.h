#pragma once

#include <QString>

class TQWOptions;

// The view settings of the main window whose parts do not exist yet (side
// bar, tray, tool bars, full screen, groups) and the choices the window
// keeps apart from what the run does with them. Read once when the window
// is created; written back when it is destroyed.
//
// A setter is how a dialog changes a value: it stores the value at once and
// becomes what the window writes back, so the exit never puts an older
// value over it. Values of the parts that exist (tab set, address box,
// pop-up capture, status bar, placement) are kept by those parts alone.
class MainViewSettings
{
public:
    // options must outlive the settings.
    explicit MainViewSettings(TQWOptions* options);

    bool DisableALTShortcuts() const { return m_disableAltShortcuts; }
    void SetDisableALTShortcuts(bool value);
    // The stored choice; Ctrl+F12 changes only the run's value, which the
    // tab set keeps.
    bool OpenNewInForeground() const { return m_openNewInForeground; }
    void SetOpenNewInForeground(bool value);
    bool MinToTray() const { return m_minToTray; }
    void SetMinToTray(bool value);
    bool VBAutoExpand() const { return m_vbAutoExpand; }
    void SetVBAutoExpand(bool value);
    int VostelBarWidth() const { return m_vostelBarWidth; }
    void SetVostelBarWidth(int value);
    QString SearchBar() const { return m_searchBar; }
    void SetSearchBar(const QString& value);
    // Changes the value written at exit, and nothing before.
    void RememberSearchBar(const QString& value) { m_searchBar = value; }
    bool FullScreen() const { return m_fullScreen; }
    void SetFullScreen(bool value);
    bool ViewVostelBar() const { return m_viewVostelBar; }
    void SetViewVostelBar(bool value);
    bool ViewToolbar() const { return m_viewToolbar; }
    void SetViewToolbar(bool value);
    bool ViewAddressBar() const { return m_viewAddressBar; }
    void SetViewAddressBar(bool value);
    bool ViewLinksBar() const { return m_viewLinksBar; }
    void SetViewLinksBar(bool value);
    bool VGCloseFirst() const { return m_vgCloseFirst; }
    void SetVGCloseFirst(bool value);

    // Writes every value kept here.
    void writeBack() const;

private:
    TQWOptions* m_options;
    bool m_disableAltShortcuts;
    bool m_openNewInForeground;
    bool m_minToTray;
    bool m_vbAutoExpand;
    int m_vostelBarWidth;
    QString m_searchBar;
    bool m_fullScreen;
    bool m_viewVostelBar;
    bool m_viewToolbar;
    bool m_viewAddressBar;
    bool m_viewLinksBar;
    bool m_vgCloseFirst;
};

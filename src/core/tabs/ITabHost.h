#pragma once

#include <QString>

class TBrowserTab;

// What a browser tab needs from the window that holds it. The main window
// implements it by forwarding to its parts; tests use a fake.
class ITabHost
{
public:
    virtual ~ITabHost() = default;

    // The setting LimitTitleLength as the window holds it (0 = default rule).
    virtual int TitleLimit() const = 0;
    // Whether the main window is the active window.
    virtual bool WindowActive() const = 0;
    virtual bool IsActiveTab(const TBrowserTab* tab) const = 0;

    // The address box: "about:blank" shows as an empty box.
    virtual void ShowAddress(const QString& url) = 0;
    // A top-level navigation of the active tab began.
    virtual void RecordTypedAddress(const QString& url) = 0;
    // Status bar: first panel, third panel.
    virtual void SetStatusText(const QString& text) = 0;
    virtual void SetProgressText(const QString& text) = 0;
    // Busy animation, back/forward/stop, secure indicator, from the active tab.
    virtual void RefreshIndicators() = 0;
    virtual void RefreshBackForward() = 0;

    virtual TBrowserTab* AddTabPerPreference() = 0;
    virtual TBrowserTab* AddHiddenTab() = 0;
    // Pop-up capture: whether the first real address of a hidden tab is
    // to be captured.
    virtual bool PopupMatch(const QString& url) = 0;
    virtual void StartCloseHiddenTimer() = 0;
    // The page closed its own window: this tab, and no other, goes.
    virtual void CloseTabRequested(TBrowserTab* tab) = 0;
};

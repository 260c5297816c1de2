#pragma once

#include <QString>

class TBrowserTab;

// What the address box needs from the window around it. The main window
// implements it by forwarding to its tab set and status bar; tests use a
// small fake over a real tab set.
class IAddressHost
{
public:
    virtual ~IAddressHost() = default;

    virtual TBrowserTab* GetActivePage() const = 0;
    virtual TBrowserTab* AddTabPerPreference() = 0;
    // The Shift key's state at this moment.
    virtual bool ShiftDown() const = 0;
    virtual void SetStatusText(const QString& text) = 0;
};

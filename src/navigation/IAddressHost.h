#pragma once

#include "core/dialogs/TfrmConfirm.h"

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
    virtual QString GetLangText(const QString& section, const QString& key) const = 0;
    // The program's yes/no dialog (see ShowConfirm).
    virtual ConfirmResult Confirm(const QString& caption, bool checked, const QString& title,
                                  const QString& prompt, const QString& okText,
                                  const QString& cancelText, const QString& checkText) = 0;
    // The program's general error message.
    virtual void ShowError(const QString& text) = 0;
};

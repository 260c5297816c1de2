#pragma once

#include "OptionsValues.h"

// What the options dialog needs from the program around it. The window part
// that opens the dialog implements it over the store and the running window;
// tests implement it over plain values.
class IOptionsHost
{
public:
    virtual ~IOptionsHost() = default;

    // The values to show, read afresh each time the dialog opens.
    virtual OptionsValues CurrentOptions() const = 0;

    // Registers or unregisters the program for each row's class after its
    // check mark. Called first on OK, even when the dialog then stays open.
    virtual void ApplyDefaultBrowser(const QList<OptionsValues::DefaultBrowserRow>& rows) = 0;

    // Stores every value and applies it to the running window. before is what
    // CurrentOptions() gave when the dialog opened, so that values applied
    // only on change (menus rebuilt, break setting) can tell.
    virtual void ApplyOptions(const OptionsValues& before, const OptionsValues& after) = 0;

    // The folder the start-up group browser opens in.
    virtual QString VostelGroupsFolder() const = 0;
};

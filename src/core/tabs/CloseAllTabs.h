#pragma once

class TBrowserTab;
class TTabSet;

// Close All of a tab set: asks first when the user wants to be asked, keeps
// the tabs kept from Close All (or resets the first one), closes the rest.
class CloseAllTabs
{
public:
    static void closeAll(TTabSet& set, bool silent);
    // Closes every tab but keep (and those kept on Close All); keep comes to
    // the front.
    static void closeAllBut(TTabSet& set, TBrowserTab* keep);
};

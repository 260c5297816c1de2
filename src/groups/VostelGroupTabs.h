#pragma once

#include "groups/TVostelGroup.h"

class TBrowserTab;
class TTabSet;
class WindowServices;

// What a saved group means for the tab set: its pages opened as tabs, and
// the open tabs turned into a group. Window-free, so every rule of opening
// and saving is tested on a tab set of fake pages.
class VostelGroupTabs
{
public:
    // What an opening did.
    struct Opened
    {
        int pages = 0;   // navigations started
        int refused = 0; // script addresses left out
    };

    // Opens the group file's pages, each in a tab of its own, in file order
    // at the end of the tab row. closeFirst closes the other tabs first
    // (silently); startup marks the tabs as restoring, so that a page that
    // never arrives is still remembered. An empty or missing group changes
    // nothing, not even with closeFirst.
    static Opened open(TTabSet& tabs, const QString& path, bool closeFirst, bool startup);

    // The tabs the user sees, in tab order, as a group without a file that
    // owner saves; pop-ups waiting to be closed are closed first and never
    // saved.
    static TVostelGroup ofTabs(TTabSet& tabs, WindowServices* owner);

    // Appends tab as the group's last page.
    static void addTab(TVostelGroup& group, const TBrowserTab& tab);

    // name, numbered "name (2)", "name (3)" ... when the group already has
    // an entry of that name in any case; for no name, the first free
    // "blank" number from the group's size on.
    static QString uniqueName(const TVostelGroup& group, const QString& name);

    // The tab name an entry's name stands for: none for "blank" and a number.
    static QString stickyNameOf(const QString& entryName);
};

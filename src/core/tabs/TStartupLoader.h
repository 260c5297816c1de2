#pragma once

#include <QStringList>

#include <functional>

class TBrowserTab;
class TQWOptions;
class TTabSet;

// The pages the window shows when the program starts (the one-shot start
// page, the start-up mode, then the command-line argument), and the list of
// tabs remembered at exit.
class TStartupLoader
{
public:
    // Opens a group file into tabs: path, close the other tabs first,
    // whether this is the start-up open. Unset while groups do not exist.
    using OpenGroupFn = std::function<void(const QString& path, bool closeFirst, bool startup)>;

    // Asked in "Last" mode, when there are remembered tabs, whether to open
    // them. Unset: always.
    using ConfirmRestoreFn = std::function<bool()>;

    TStartupLoader(TTabSet* tabs, TQWOptions* options, OpenGroupFn openGroup = {},
                   ConfirmRestoreFn confirmRestore = {});

    // The start-up work, run once from the start-up timer.
    void Run();

    // "url" + position + "=" + address for every tab worth remembering,
    // from the last tab to the first (the order the list is stored in).
    static QStringList RememberedSites(const QList<TBrowserTab*>& tabs);
    // Writes the remembered tabs in "Last" mode, and an empty list (which
    // removes the sub-key) in every other mode.
    static void WriteRememberedSites(TQWOptions& options, const QList<TBrowserTab*>& tabs);

    static bool IsLastMode(const QString& mode);

private:
    // The first page goes into the window's own tab, every later one into
    // a new tab.
    TBrowserTab* NextTab();
    void OpenStartupPage();
    void OpenMode();
    void OpenCommandLine();
    // The remembered tabs (lines as stored) with tabs that load when shown.
    void RestoreWaiting(const QStringList& lines);

    TTabSet* m_tabs;
    TQWOptions* m_options;
    OpenGroupFn m_openGroup;
    ConfirmRestoreFn m_confirmRestore;
    bool m_tabUsed = false;
};

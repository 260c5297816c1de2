#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Opens what the Favorites menu and the links bar point at: a file that
// exists goes to the desktop's program for it, a folder is no page, and
// anything else is an address for the browser.
class FavoriteLauncher
{
public:
    struct Host
    {
        // A file with the desktop's program for its type.
        std::function<void(const QString& path)> openFile;
        // An address in the current tab or, with newTab (inverted while
        // Shift is held), in a tab of its own.
        std::function<void(const QString& address, bool newTab)> openAddress;
        // The tab in front shows exactly a blank page and loads nothing.
        std::function<bool()> frontTabIsIdleBlank;
        std::function<void(const QString& address)> navigateFrontTab;
        std::function<void(const QString& address)> navigateNewTab;
        // Open all has put every address into its tab (may be unset).
        std::function<void()> finished;
    };

    enum class Target
    {
        Nothing,
        Folder,
        File,
        Address
    };
    static Target classify(const QString& target);

    explicit FavoriteLauncher(Host host) : m_host(std::move(host)) {}

    // A favorite or a link was chosen; newTab is FavoritesNewWin or
    // LinksNewWin. Folders open nothing.
    void open(const QString& target, bool newTab) const;
    // Every target of one folder: files with their programs, addresses in
    // tabs, the first into an idle blank tab in front if there is one, the
    // others into new tabs; sub-folders and empty targets are skipped.
    void openAll(const QStringList& targets) const;

private:
    Host m_host;
};

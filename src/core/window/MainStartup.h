#pragma once

#include <QStringList>

class TfrmMain;

// The window's start: the start-up pages once the message loop runs, and
// what later copies forward. A forward that arrives while a start-up
// question is open (default browser, restore after a crash) waits and opens
// after the start-up pages, in the order it came.
class MainStartup
{
public:
    explicit MainStartup(TfrmMain* window);

    // The default-browser question, when the settings ask for it.
    void AskDefaultBrowser();
    // The start-up timer fired: the pages of the start-up mode, then the
    // command line, then the forwards that waited.
    void OpenStartupPages();
    // A forwarded argument; it brings the window to the front.
    void Forwarded(const QString& text);

private:
    // An address handed in from outside the address box.
    void OpenOutsideAddress(const QString& text);
    void ShowGlobalMessage(const QString& key);

    TfrmMain* m_window;
    bool m_pagesOpened = false;
    QStringList m_waiting;
};

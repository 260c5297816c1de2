#pragma once

#include <QObject>

class THistoryPage;
class TfrmMain;

// The window's History: the side bar's History page, filled when it is
// first shown, and what its pages open. The page reads the one History
// folder the engine layer writes to.
class MainHistory : public QObject
{
    Q_OBJECT
public:
    // window's side bar, tab set and address box must exist.
    explicit MainHistory(TfrmMain* window);

    THistoryPage* Page() const { return m_page; }
    // Whether the tree has been rooted and filled since it was last reset.
    bool HistoryLoaded = false;

    // After the engine-settings dialog (which may have cleared the history):
    // the tree is read again when its page is in front, else at its next
    // showing.
    void EngineSettingsShown();

private:
    void PageShown();

    TfrmMain* m_window;
    THistoryPage* m_page;
};

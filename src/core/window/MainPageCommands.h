#pragma once

#include "core/engine/IBrowserControl.h"

#include <QObject>
#include <QPointer>

#include <memory>

class MainCommands;
class QPrintPreviewDialog;
class QPrinter;
class TBrowserTab;
class TFindBar;
class TfrmMain;

// The commands on the active tab's page that the engine carries out: Save
// As, print with and without the print dialog, print preview, page setup,
// the find bar, view source, and the edit commands with their focus rule
// (EditCommandTarget). Nothing here waits for the engine: dialogs open
// window-modal and return, and results arrive later. A tab without a page
// makes every command do nothing.
//
// One printer is kept for the run, so that the page setup holds for the
// prints after it. The engine prints one job at a time; while one runs,
// another print, preview or page setup is refused with a word in the
// status bar.
class MainPageCommands : public QObject
{
    Q_OBJECT
public:
    // The window's page control, status bar and services must exist; the
    // find bar goes under the pages.
    explicit MainPageCommands(TfrmMain* window);
    ~MainPageCommands() override;

    // Puts the commands into the window's table; they find the part through
    // the window when they run.
    static void AddCommands(MainCommands& commands, TfrmMain* window);

    void actSaveAsExecute();
    // prompt: with the print dialog (File > Print, Ctrl+P); without it the
    // default printer prints, or the dialog asks when there is none.
    void actPrintExecute(bool prompt);
    void pmFilePrintPreviewClick();
    void actPageSetupExecute();
    void actFindExecute();
    void actViewSourceExecute();
    void RunEdit(EditCommand command);

    TFindBar* FindBar() const { return m_findBar; }
    bool FindBarHasFocus() const;
    bool Printing() const { return m_printing; }

private:
    // The active tab when it shows a page.
    TBrowserTab* pageTab() const;
    bool refuseWhilePrinting() const;
    void startPrint(IBrowserControl* browser);
    // The preview's paint request: prints the page into printer and returns
    // when it is drawn, with the window running meanwhile.
    void paintPreview(QPrinter* printer, IBrowserControl* browser, QWidget* view);
    void find(const QString& text, bool backward, bool matchCase);
    void activeTabChanged();
    void placeFindBar();
    // A message box shown from the event loop, never inside the engine's
    // answer that caused it.
    void reportLater(const QString& key, const QString& argument = QString());
    QString text(const QString& key) const;

    TfrmMain* m_window;
    TFindBar* m_findBar;
    std::unique_ptr<QPrinter> m_printer;
    bool m_printing = false;
    QPointer<QPrintPreviewDialog> m_preview;
    bool m_previewPainting = false;
    bool m_previewClosed = false;
    // The page that shows the find highlight.
    IBrowserControl* m_findBrowser = nullptr;
    QPointer<QWidget> m_findView;
};

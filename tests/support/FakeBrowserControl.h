#pragma once

#include "core/engine/IBrowserControl.h"

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QWidget>

// A scripted browser control for tests of everything above the engine:
// it records what it is asked to do and raises, on request, the events a
// real engine would, in the order the test writes them. No page is ever
// loaded and nothing runs asynchronously.
//
//   auto* control = new FakeBrowserControl;       // the tab will own it
//   TBrowserTab tab(&host, control, false);
//   control->simulateNavigation("https://a.test/"); // before → nav → doc
//   QCOMPARE(control->navigations, QStringList{});  // Navigate() not called
//
// The widget is a plain QWidget, deleted with the control.
class FakeBrowserControl : public IBrowserControl
{
public:
    explicit FakeBrowserControl(QWidget* parent = nullptr);
    ~FakeBrowserControl() override;

    // A factory for code that makes its own controls; every control made
    // is appended to made when given (the list does not own them).
    static BrowserControlFactory factory(QList<FakeBrowserControl*>* made = nullptr);

    // IBrowserControl
    QWidget* widget() override;
    void setEvents(IBrowserEvents* events) override;
    void Navigate(const QString& url) override;
    void Stop() override;
    void Refresh(bool complete) override;
    void GoBack() override;
    void GoForward() override;
    bool Busy() const override { return busy; }
    int ReadyState() const override { return readyState; }
    QString LocationURL() const override { return locationUrl; }
    QString LocationName() const override { return locationName; }
    QIcon Icon() const override { return icon; }
    void LoadBlank(const QString& html) override;
    void WriteDocument(const QString& html) override;
    void FollowNextLink(const std::function<void(bool found)>& done) override;
    void FocusPage() override;
    void ExecEdit(EditCommand command) override;
    void QueryPageProperties(const std::function<void(const PageProperties&)>& done) override;
    void ToHtml(const std::function<void(const QString&)>& done) override { done(html); }
    double ZoomFactor() const override { return zoomFactor; }
    void SetZoomFactor(double factor) override;
    QString SelectedText() const override { return selectedText; }
    void FindText(const QString& text, bool backward, bool matchCase,
                  const std::function<void(const FindResult&)>& done) override;
    void SavePage(const QString& path, PageSaveFormat format,
                  const std::function<void(bool ok)>& done) override;
    bool PrintPage(QPrinter* printer, const std::function<void(bool ok)>& done) override;
    QByteArray SaveHistory() const override { return history; }
    bool RestoreHistory(const QByteArray& state) override;

    IBrowserEvents* events() const { return m_events; }

    // Answers the held property queries (holdPropertyQueries) in the order
    // they came, with pageProperties as it is now.
    void answerPropertyQueries();

    // What the control was asked to do
    // Every call in order: "Navigate <url>", "Stop", "Refresh normal",
    // "Refresh complete", "GoBack", "GoForward", "LoadBlank", "WriteDocument",
    // "FollowNextLink", "FocusPage", "ExecEdit Cut|Copy|Paste|SelectAll",
    // "QueryPageProperties", "FindText <text>[ backward][ case]",
    // "SavePage <format number> <path>", "PrintPage", "RestoreHistory".
    QStringList log;
    QStringList navigations; // addresses given to Navigate
    int stops = 0;
    QList<bool> refreshes; // the complete flag of each Refresh
    int backs = 0;
    int forwards = 0;
    QStringList blankPages;       // html given to LoadBlank
    QStringList writtenDocuments; // html given to WriteDocument
    int focusRequests = 0;
    int nextLinkRequests = 0;
    QList<EditCommand> editCommands; // every ExecEdit, in order
    int propertyQueries = 0;
    QList<double> zoomFactors; // every SetZoomFactor, in order

    // State the control reports (set freely)
    bool busy = false;
    int readyState = 4;
    QString locationUrl;
    QString locationName;
    QIcon icon;
    // FollowNextLink: the address of the page's next link; empty = none.
    // When there is one, the control navigates to it (Navigate) and
    // answers true at once.
    QString nextLinkUrl;
    // What ZoomFactor answers; SetZoomFactor sets it.
    double zoomFactor = 1.0;
    // When set, Navigate() runs simulateNavigation() (kind Program) at
    // once, as if the engine loaded the page instantly. LoadBlank() then
    // reports "about:blank" as navigated and complete as well (without a
    // before-navigate, as the engine does for blank documents).
    bool runNavigations = false;
    // What QueryPageProperties answers: at once, or, with
    // holdPropertyQueries, when answerPropertyQueries() is called.
    PageProperties pageProperties;
    // What ToHtml answers, at once.
    QString html;
    bool holdPropertyQueries = false;
    // What the page commands answer, at once.
    QString selectedText;
    FindResult findResult;
    bool saveSucceeds = true;
    bool printSucceeds = true;
    // What SaveHistory answers; RestoreHistory keeps what it is given here.
    QByteArray history;

    // Scripting: each raises one event on the listener (no-op and a
    // neutral answer when there is none)
    bool fireBeforeNavigate(const NavigationRequest& request);
    bool fireBeforeNavigate(const QString& url, FrameId frame = TopFrame,
                            NavigationRequest::Kind kind = NavigationRequest::LinkClicked,
                            bool userInitiated = false);
    // Returns the control the listener handed back (null = refused).
    IBrowserControl* fireNewWindow(const QString& url, bool userInitiated = true);
    void fireNavigateComplete(const QString& url, FrameId frame = TopFrame);
    void fireDocumentComplete(const QString& url, FrameId frame = TopFrame);
    void fireTitle(const QString& title);
    void fireStatusText(const QString& text);
    void fireProgress(int progress, int maximum);
    void fireCommandState(int command, bool enabled);
    void fireWindowClosing();
    void fireIcon(const QIcon& newIcon);
    void firePageCrashed();

    // One whole top-level load: before-navigate; when allowed, busy and
    // the location are set, navigate-complete, then (busy cleared, ready
    // state 4) document-complete. Returns whether it was allowed.
    bool simulateNavigation(const QString& url,
                            NavigationRequest::Kind kind = NavigationRequest::LinkClicked);
    // The same, with the frames' events where the engine puts them:
    // navigate-complete of the top, then each frame's navigate-complete and
    // document-complete, then the top's document-complete. Frames are
    // numbered 1, 2, ... Returns whether the top-level load was allowed.
    bool simulateFramedNavigation(const QString& url, const QStringList& frameUrls,
                                  NavigationRequest::Kind kind = NavigationRequest::LinkClicked);

private:
    QPointer<QWidget> m_widget;
    IBrowserEvents* m_events = nullptr;
    QList<std::function<void(const PageProperties&)>> m_heldPropertyQueries;
};

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QIcon>
#include <QString>

#include <functional>

class QPrinter;
class QWidget;
class IBrowserControl;

// Which document an event is about. The top-level document is TopFrame;
// sub-frames get positive numbers for the life of the frame; UnknownFrame
// where the engine does not say.
using FrameId = int;
inline constexpr FrameId TopFrame = 0;
inline constexpr FrameId UnknownFrame = -1;

// The element whose activation started a navigation, as its document
// reported it: the link the user clicked (or pressed Enter on). Not known
// when the navigation was not a link's or its report could not be matched.
struct ActivatedElement
{
    bool known = false;
    // As the document gives it: "A" in HTML documents, as written in XHTML.
    QString tag;
    QString target;     // the element's target attribute, possibly empty
    QString baseTarget; // of the document's first BASE element, possibly empty
};

// One navigation the engine is about to start, as a value the policy code
// decides on.
struct NavigationRequest
{
    enum Kind
    {
        Program,     // Navigate()/Refresh() and other program-started loads
        LinkClicked, // includes the first real address of a new window
        FormSubmitted,
        BackForward,
        Reload,
        Redirect,
        Other
    };
    QString url;
    FrameId frame = TopFrame;
    Kind kind = Other;
    bool userInitiated = false;
    ActivatedElement element;
};

// Command-state numbers as the tab knows them.
enum BrowserCommand
{
    CommandRefreshIndicators = 0,
    CommandForward = 1,
    CommandBack = 2
};

// The page commands of the Edit menu.
enum EditCommand
{
    EditCut,
    EditCopy,
    EditPaste,
    EditSelectAll
};

// How Save As writes a page.
enum class PageSaveFormat
{
    CompleteHtml, // the document, with its pictures and styles in a folder beside it
    SingleFile,   // one MHTML archive
    PlainText     // the page's text only
};

// Where a find in the page stands: the current match (1 = the first, 0 =
// none) of how many.
struct FindResult
{
    int active = 0;
    int count = 0;
};

// What the properties dialog tells about the page in a control.
struct PageProperties
{
    QString title;
    QString url;
    QString mimeType;   // empty when unknown
    qint64 size = -1;   // bytes; -1 when unknown
    QDateTime modified; // invalid when unknown
};

// What a browser control reports, in the engine's order. The tab is the
// only listener.
class IBrowserEvents
{
public:
    virtual ~IBrowserEvents() = default;
    // Every top-level and sub-frame navigation, program-started ones too.
    // Returning false cancels it: nothing is requested from the server.
    virtual bool BeforeNavigate(const NavigationRequest& request) = 0;
    // The page asks for a window. Return the control that is to show it (a
    // new hidden tab's), or nullptr to refuse the window.
    virtual IBrowserControl* NewWindow(const QString& requestedUrl, bool userInitiated) = 0;
    // The same with the element that asked for the window, for listeners
    // that decide by it.
    virtual IBrowserControl* NewWindowFor(const NavigationRequest& request)
    {
        return NewWindow(request.url, request.userInitiated);
    }
    virtual void NavigateComplete(FrameId frame, const QString& url) = 0;
    // Per frame, the top frame last.
    virtual void DocumentComplete(FrameId frame, const QString& url) = 0;
    virtual void TitleChange(const QString& title) = 0;
    virtual void StatusTextChange(const QString& text) = 0;
    virtual void ProgressChange(int progress, int maximum) = 0;
    virtual void CommandStateChange(int command, bool enabled) = 0;
    // The page closed its own window (window.close()).
    virtual void WindowClosing() = 0;
    // The page's icon changed (null when it has none).
    virtual void IconChange(const QIcon& icon) = 0;
    // Something of the current page arrived or was requested without
    // protection ("Mixed Content"), or the user let a bad certificate
    // through: the page is not to be shown as secure.
    virtual void InsecureContent() {}
    // The process that showed the page died. The control shows the
    // program's crash page under the page's address and title until the
    // next navigation.
    virtual void PageCrashed() {}
    // The page asked to be printed (a script's window.print()).
    virtual void PrintRequested() {}
};

// The seam between a tab and the engine. TVostelBrowser is the real one;
// tests use a scripted fake.
class IBrowserControl
{
public:
    virtual ~IBrowserControl() = default;

    virtual QWidget* widget() = 0;
    virtual void setEvents(IBrowserEvents* events) = 0;

    // Returns at once; stops a running load first.
    virtual void Navigate(const QString& url) = 0;
    virtual void Stop() = 0;
    // complete: bypass the cache.
    virtual void Refresh(bool complete) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;

    virtual bool Busy() const = 0;
    // 4 = complete, as the design counts.
    virtual int ReadyState() const = 0;
    virtual QString LocationURL() const = 0;
    virtual QString LocationName() const = 0;
    virtual QIcon Icon() const = 0;

    // Shows html as the document of "about:blank".
    virtual void LoadBlank(const QString& html) = 0;
    // Replaces the current document's content by html without a navigation
    // (the document is written and closed); its address stays.
    virtual void WriteDocument(const QString& html) = 0;
    // Navigates to the first link whose text, in upper case, contains
    // "NEXT"; done(true) when there was one. Asynchronous.
    virtual void FollowNextLink(const std::function<void(bool found)>& done) = 0;
    virtual void FocusPage() = 0;

    // Runs a clipboard or selection command on the page; the page gets the
    // keyboard focus first, as the command acts on its focused element.
    virtual void ExecEdit(EditCommand command) = 0;
    // Asks the page for its properties. done runs exactly once: with the
    // engine later, also when the page goes away or cannot answer (then
    // with what is known without it); a control that knows at once may run
    // it before returning.
    virtual void QueryPageProperties(const std::function<void(const PageProperties&)>& done) = 0;

    // The page's current document as HTML. done runs exactly once, later,
    // with an empty text when the page goes away first.
    virtual void ToHtml(const std::function<void(const QString&)>& done) = 0;

    // The page's magnification, 1.0 = as designed; it stays when the
    // control goes to another page.
    virtual double ZoomFactor() const = 0;
    virtual void SetZoomFactor(double factor) = 0;

    // The page commands run in the engine and return at once; each done
    // runs exactly once, later, also when the control goes away meanwhile
    // (then as a failure).
    //
    // The text selected in the page; empty when none.
    virtual QString SelectedText() const = 0;
    // Finds text in the page from the current match on and highlights it;
    // empty text clears the highlight (done gets an empty result).
    virtual void FindText(const QString& text, bool backward, bool matchCase,
                          const std::function<void(const FindResult&)>& done) = 0;
    // Writes the page to path. The engine's own formats show as a download.
    virtual void SavePage(const QString& path, PageSaveFormat format,
                          const std::function<void(bool ok)>& done) = 0;
    // Prints the page into printer, which must live until done runs. The
    // engine prints one page at a time: false (and done never runs) while
    // a print of this control is still running.
    virtual bool PrintPage(QPrinter* printer, const std::function<void(bool ok)>& done) = 0;

    // The back/forward history with its current page, as the engine keeps
    // it; empty when there is none.
    virtual QByteArray SaveHistory() const = 0;
    // Replaces the history by one SaveHistory() gave and goes to its
    // current page. False (and nothing loaded) when the engine cannot use
    // state: then the caller loads the page itself.
    virtual bool RestoreHistory(const QByteArray& state) = 0;
};

// Makes controls; the main window gives the real one, tests a fake.
using BrowserControlFactory = std::function<IBrowserControl*(QWidget* parent)>;

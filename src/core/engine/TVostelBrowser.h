#pragma once

#include "core/engine/EngineHistoryState.h"
#include "core/engine/IBrowserControl.h"
#include "core/engine/PageTitleReport.h"
#include "core/engine/SubFrameTracker.h"
#include "core/engine/TPageCommands.h"
#include "core/engine/TQuillwaveSchemeHandler.h"

#include <QList>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

class QWebEngineLoadingInfo;
class QWebEngineNewWindowRequest;
class TVostelPage;

// The browser control of a tab: the engine's view, raising the design's
// events in the design's order.
//
// Every top-level load the events see runs BeforeNavigate, NavigateComplete
// (when a document arrived), DocumentComplete. Sub-frames report through a
// probe script injected into every document; each sub-frame document gets a
// number that its BeforeNavigate, NavigateComplete and DocumentComplete
// share where the engine lets them be matched (by address).
//
// The listener must not delete the browser inside one of its events (the
// engine is still on the stack then); deleteLater() is the way.
class TVostelBrowser : public QWebEngineView, public IBrowserControl
{
    Q_OBJECT
public:
    explicit TVostelBrowser(QWidget* parent = nullptr);
    ~TVostelBrowser() override;

    // IBrowserControl
    QWidget* widget() override { return this; }
    void setEvents(IBrowserEvents* events) override;
    void Navigate(const QString& url) override;
    void Stop() override;
    void Refresh(bool complete) override;
    void GoBack() override;
    void GoForward() override;
    bool Busy() const override;
    int ReadyState() const override;
    QString LocationURL() const override;
    QString LocationName() const override;
    QIcon Icon() const override;
    void LoadBlank(const QString& html) override;
    void WriteDocument(const QString& html) override;
    void FollowNextLink(const std::function<void(bool found)>& done) override;
    void FocusPage() override;
    void ExecEdit(EditCommand command) override;
    void QueryPageProperties(const std::function<void(const PageProperties&)>& done) override;
    void ToHtml(const std::function<void(const QString&)>& done) override { page()->toHtml(done); }
    double ZoomFactor() const override;
    void SetZoomFactor(double factor) override;
    QString SelectedText() const override { return selectedText(); }
    void FindText(const QString& text, bool backward, bool matchCase,
                  const std::function<void(const FindResult&)>& done) override
    {
        m_commands->FindText(text, backward, matchCase, done);
    }
    void SavePage(const QString& path, PageSaveFormat format,
                  const std::function<void(bool ok)>& done) override
    {
        m_commands->SavePage(path, format, done);
    }
    bool PrintPage(QPrinter* printer, const std::function<void(bool ok)>& done) override
    {
        return m_commands->PrintPage(printer, done);
    }
    QByteArray SaveHistory() const override { return EngineHistoryState::save(*history()); }
    bool RestoreHistory(const QByteArray& state) override
    {
        return EngineHistoryState::restore(*history(), state);
    }

    TVostelPage* vostelPage() const { return m_page; }

    // The engine draws a page through OpenGL in a widget that it adds to
    // the view with the page's first load, and a top-level window that was
    // created for plain drawing is then destroyed and created anew. With a
    // window manager that is an unmap, a map and an activation more, each
    // of which the page's first frame waits for. Called for the views of a
    // window before it is first shown, this makes the engine set the page
    // up now, without loading anything, so that the window is created for
    // OpenGL from the start.
    static void PrepareDrawingIn(QWidget* window);

    // A page that does not answer the properties query in this time gets
    // its dialog with what is known without it.
    static constexpr int PropertiesTimeoutMs = 5000;

    // Reported by the page.
    // element: what the navigation's document reported of the link clicked.
    bool navigationRequested(const QUrl& url, QWebEnginePage::NavigationType type, bool isMainFrame,
                             const ActivatedElement& element = {});
    void frameReported(const QString& event, const QString& token, bool top, const QString& url);
    void insecureContentSeen();

    // The engine names an untitled document after its address until (or
    // unless) the document gives a title of its own.
    static bool isPlaceholderTitle(const QString& title, const QUrl& url);

private:
    enum class NavigationKind
    {
        Web,
        Blank,   // LoadBlank's document
        Internal // the program's crash page: the events do not announce it
    };

    void connectPage();
    void beginNavigation(const QUrl& url, NavigationKind kind);
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    void onUrlChanged(const QUrl& url);
    void onTitleChanged(const QString& title);
    void onNewWindowRequested(QWebEngineNewWindowRequest& request);
    void onRenderProcessTerminated(QWebEnginePage::RenderProcessTerminationStatus status);
    void loadStarted(const QWebEngineLoadingInfo& info);
    void loadEnded(const QWebEngineLoadingInfo& info);
    void suppressLoad(const QUrl& url);
    void startLoad();
    // Raises NavigateComplete for the top frame; false when the browser is gone.
    bool commit();
    bool raiseBeforeNavigate(const NavigationRequest& request, bool& destroyed);
    void showCrashPage();
    // While offline the engine would show its own error page for a blocked
    // address; the program's page says what happened instead.
    bool blockedOffline(const QUrl& url) const;
    void showOfflinePage(const QUrl& url);
    // The stand-in pages' texts, in the window's language.
    TQuillwaveSchemeHandler::TextLookup languageTexts() const;
    // Shows the program's html where address was to be; Refresh loads
    // address again.
    void showStandIn(const QString& html, const QUrl& address);
    // Raises the event through fn; false when the listener destroyed this
    // browser meanwhile (nothing of it may be touched then).
    template <typename Fn> bool raise(Fn fn);

    TVostelPage* m_page = nullptr;
    IBrowserEvents* m_events = nullptr;

    // Top-level navigation and load.
    bool m_loadActive = false;
    bool m_loadSuppressed = false; // the engine's traces of a refused navigation
    bool m_announced = false;      // accepted, its load has not started yet
    bool m_commitPending = false;  // NavigateComplete not yet raised
    NavigationKind m_navigationKind = NavigationKind::Web;
    QList<QUrl> m_navigationUrls;   // its address and the redirect targets
    QList<QUrl> m_refusedUrls;      // refused top-level navigations
    QList<QUrl> m_suppressedLoads;  // their loads, started and not yet ended
    bool m_blankPending = false;    // LoadBlank's document awaits its request
    bool m_internalPending = false; // the crash page awaits its request
    bool m_hasDocument = false;
    int m_readyState = 0;
    bool m_firstNavigationUserInitiated = false;

    // Titles: the first real title after each document arrives is raised.
    PageTitleReport m_titles;

    // Stand-in pages (crash, offline).
    QString m_lastGoodUrl;
    QString m_standInFor;
    bool m_showingStandIn = false;
    QUrl m_offlinePending; // the blocked address whose page is on its way

    SubFrameTracker m_subFrames;
    // Owned by the view as its child; gone with it.
    TPageCommands* m_commands = new TPageCommands(this);

    // Script answers may arrive while the page is being destroyed with the
    // view, when a QPointer to the view is still set: they hold a weak
    // reference to this, which expires before the page goes.
    std::shared_ptr<bool> m_lifetime = std::make_shared<bool>(true);
};

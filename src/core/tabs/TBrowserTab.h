#pragma once

#include "core/engine/IBrowserControl.h"
#include "core/tabs/TabTitleRules.h"

#include <QWidget>

class ITabHost;
class WindowServices;

// One page of the tab set: owns its browser control and turns the
// control's events into its caption, icon and the window's indicators.
class TBrowserTab : public QWidget, public IBrowserEvents
{
    Q_OBJECT
public:
    // Icon states; the tab image index is the state minus one.
    enum IconState
    {
        StateIdle = 0,
        StateBusy = 1,
        StateUnseen = 2,
        StateArrived = 3,
        StateLocked = 4
    };
    // The image shown, above every state, while the page's process is dead.
    static constexpr int CrashedImage = 4;
    // The image of a tab that has not loaded its page yet.
    static constexpr int UnloadedImage = 5;

    // control may be null (the engine could not make one): every operation
    // then does nothing. host and services must outlive the tab.
    TBrowserTab(ITabHost* host, WindowServices* services, IBrowserControl* control, bool hidden,
                QWidget* parent = nullptr);
    ~TBrowserTab() override;

    IBrowserControl* Browser() const { return m_browser; }

    // Operations
    void Navigate(const QString& url);
    void NavigateTo(const QString& url);
    void GoTabHome();
    void GoHome();
    void GoBack();
    void GoForward();
    void Stop();
    // Ctrl held (or complete) bypasses the cache.
    void Refresh(bool complete = false);
    void GoBlank();
    // An unloaded tab reports the page it will load, and the title known
    // for it (empty when none).
    QString GetLocationURL() const;
    QString GetLocationName() const;
    // The address to remember for this tab: its page's, or while its first
    // page is still loading, the one it is loading.
    QString RememberedAddress() const;
    void SetTitle(const QString& title);
    void SetStickyName(const QString& name);
    void PromptStickyName();
    void SetLocked(bool locked);
    void MarkSeen(bool seen);
    bool IsActive() const;
    void FocusPage();
    void FollowNextLink(const std::function<void(bool)>& done = {});

    // Makes the tab stand for url without loading it: url is its own start
    // address, and until the page is loaded (LoadNow(), by being shown,
    // refreshed or sent to any address) the tab reports url as its address
    // and shows knownTitle, else url's host. makeBrowser makes the control
    // at that moment for a tab that has none; without either nothing changes.
    void LoadOnShow(const QString& url, const QString& knownTitle,
                    std::function<IBrowserControl*()> makeBrowser = {});
    bool Unloaded() const { return !m_unloadedUrl.isEmpty(); }
    // Loads the page an unloaded tab stands for; nothing for any other tab.
    // A lock the tab got meanwhile takes hold when the page arrives.
    void LoadNow();

    // The title rule as a pure function: limit 0 = default of 50.
    static QString ShortenTitle(const QString& title, int limit, const QString& blankText)
    {
        return TabTitleRules::shortenTitle(title, limit, blankText);
    }
    // The status bar's progress text ("" clears the panel).
    static QString ProgressText(int progress, int maximum)
    {
        return TabTitleRules::progressText(progress, maximum);
    }
    // The program's blank page.
    static QString BlankPageHtml();
    // The start page address GoHome uses.
    static QString HomeUrl() { return QStringLiteral("quillwave:start?f=home"); }

    // State (names as the design's)
    QString Caption() const { return m_caption; }
    QString Hint() const { return m_hint; }
    int State() const { return m_state; }
    int ImageIndex() const
    {
        if (m_crashed)
            return CrashedImage;
        return Unloaded() && m_state != StateLocked ? UnloadedImage : m_state - 1;
    }
    QIcon PageIcon() const; // the favicon while idle, else null

    bool OpenedAsNewWindow = false;
    bool LockAfterLoad = false;
    bool CanGoBack = false;
    bool CanGoForward = false;
    QString PopupOriginalUrl;
    QString TabHome;
    bool Hidden = false;
    bool Killed = false;
    bool Secure = false;
    bool InsecureSeen = false;
    bool Seen = true;
    bool HideFromCloseAll = false;
    bool Busy = false;
    bool Restoring = false;
    int Zone = 0;
    bool Locked() const { return m_locked; }
    QString StickyName() const { return m_stickyName; }
    FrameId TrackedDispatch() const { return m_tracked; }
    // The page's process died and nothing was loaded since.
    bool Crashed() const { return m_crashed; }

signals:
    // Caption, hint or icon changed: the tab strip repaints this tab.
    void appearanceChanged(TBrowserTab* tab);
    // Hidden cleared: the tab strip shows the tab.
    void shown(TBrowserTab* tab);
    // The page asked to be printed.
    void printRequested(TBrowserTab* tab);

protected:
    // IBrowserEvents
    bool BeforeNavigate(const NavigationRequest& request) override;
    IBrowserControl* NewWindow(const QString& requestedUrl, bool userInitiated) override;
    void NavigateComplete(FrameId frame, const QString& url) override;
    void DocumentComplete(FrameId frame, const QString& url) override;
    void TitleChange(const QString& title) override;
    void StatusTextChange(const QString& text) override;
    void ProgressChange(int progress, int maximum) override;
    void CommandStateChange(int command, bool enabled) override;
    void WindowClosing() override;
    void IconChange(const QIcon& icon) override;
    void InsecureContent() override;
    void PageCrashed() override;
    void PrintRequested() override { emit printRequested(this); }

private:
    static inline const QString BlankAddress = QStringLiteral("about:blank");

    void AttachBrowser(IBrowserControl* control);
    // Whether the tab has a control, after making one for a tab that was
    // still to load its page (which it then no longer stands for).
    bool EnsureBrowser();
    bool HasPage() const { return m_browser || Unloaded(); }
    // Refuses a navigation to a local special file (path not empty), saying
    // so on the status bar; false when there is nothing to refuse.
    bool RefusedSpecialFile(const QString& path);
    void SetState(int state);
    void SetCaption(const QString& caption);
    void SetAppearance(const QString& caption, const QString& hint);
    // Completion phases 1 to 3; they leave a locked tab's icon alone.
    void ApplyPhase(int phase);
    void StartTracking(FrameId frame);
    void FinishTracking();
    // A locked tab keeps its page: the address goes to a new tab instead.
    void OpenInNewTab(const QString& url);

    ITabHost* m_host;
    WindowServices* m_services;
    IBrowserControl* m_browser;
    QString m_caption;
    QString m_hint;
    QString m_stickyName;
    QString m_lastTitle;
    QIcon m_icon;
    bool m_locked = false;
    bool m_crashed = false;
    int m_state = StateIdle;
    FrameId m_tracked = UnknownFrame;
    QString m_pendingUrl;
    QString m_unloadedUrl;
    QString m_unloadedTitle;
    std::function<IBrowserControl*()> m_makeBrowser;
    bool m_loadingFromWait = false;
};

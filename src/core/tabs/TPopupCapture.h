#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QTimer;
class TBrowserTab;
class TQWOptions;
class WindowServices;

// Pop-up capture: the user's list of address patterns that windows opened
// by pages are checked against, the capture notice, the add-to-list
// command and the timer that closes captured tabs.
//
// The window owns one. It keeps copies of UsePopupVostel and
// PopupVostelNotify (the options dialog changes them through the setters)
// and the list, which is written back when the capture is destroyed.
class TPopupCapture : public QObject
{
    Q_OBJECT
public:
    static constexpr int CloseHiddenInterval = 2000;

    // options and services must outlive the capture. Reads the two switches
    // from options; the list is read by LoadPopupList().
    TPopupCapture(TQWOptions* options, WindowServices* services, QObject* parent = nullptr);
    ~TPopupCapture() override;

    // Replaces the list with the stored one.
    void LoadPopupList();
    bool PopupListLoaded() const { return m_loaded; }
    const QStringList& PopupList() const { return m_popupList; }
    // Writes the list back when it was loaded.
    void WriteBack();

    bool UsePopupVostel() const { return m_usePopupVostel; }
    void SetUsePopupVostel(bool use) { m_usePopupVostel = use; }
    bool PopupVostelNotify() const { return m_popupVostelNotify; }
    void SetPopupVostelNotify(bool notify) { m_popupVostelNotify = notify; }

    // Whether a hidden tab's first real address is to be captured. On a
    // capture it may show the notice; whatever the user does there, the
    // answer stays yes. When the user asks there to open the pop-up this
    // once, openOnceRequested follows, later, outside the engine's event.
    bool PopupMatch(const QString& url);
    // The first pattern of the list that captures url, or an empty string.
    QString MatchingPattern(const QString& url) const;

    // The text proposed for the list: the pop-up's first address when it
    // has one, else the current address; cut before the first "?".
    static QString ProposedEntry(const QString& popupOriginalUrl, const QString& currentUrl);
    // pmAddToPopupVostelClick for tab (the tab under the last right-click).
    // On confirmation the entry is added to the stored list and the tab is
    // closed through closeTabRequested; the list is reloaded in every case.
    void AddToPopupList(TBrowserTab* tab);

    QTimer* CloseHiddenTimer() const { return tmrCloseHidden; }
    void StartCloseHiddenTimer();

signals:
    // The close-hidden timer fired: every tab marked Killed is to go.
    void closeKilledTabsRequested();
    // The tab whose address went into the list is to be closed.
    void closeTabRequested(TBrowserTab* tab);
    // The user let a captured pop-up's address open, as a tab of its own,
    // this once; the list stays as it is.
    void openOnceRequested(const QString& url);

private:
    void tmrCloseHiddenTimer();
    // Whether the user chose to open the pop-up this once.
    bool ShowNotice(const QString& url);
    QString GetGlobalText(const QString& key) const;

    TQWOptions* m_options;
    WindowServices* m_services;
    QStringList m_popupList;
    bool m_loaded = false;
    bool m_usePopupVostel = true;
    bool m_popupVostelNotify = true;
    QTimer* tmrCloseHidden;
};

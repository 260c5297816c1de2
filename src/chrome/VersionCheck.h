#pragma once

#include <QDate>
#include <QObject>
#include <QString>

#include <functional>

class TQWOptions;
class VersionFetch;
class WindowServices;

// The daily contact with the version service: whether to make it, the
// request, and what the answer stores and offers (VersionCheckRules). A
// failed load or an unreadable answer shows and stores nothing, so the
// next start tries again.
class VersionCheck : public QObject
{
    Q_OBJECT
public:
    // openInNewTab shows the release page when the user says Yes.
    VersionCheck(TQWOptions* options, WindowServices* services,
                 std::function<void(const QString& address)> openInNewTab,
                 QObject* parent = nullptr);

    // Whether the desktop reports no network at all; by default asked of
    // the system's network information where it has a backend (an unknown
    // state lets the check go ahead).
    void SetNetworkDown(std::function<bool()> networkDown)
    {
        m_networkDown = std::move(networkDown);
    }

    // Makes the contact when one is due on today; false when none is made
    // (working offline, no network, already acknowledged today, or no
    // usable service address).
    bool Check(const QDate& today = QDate::currentDate());
    // A request is on its way.
    bool Pending() const;

    static bool SystemReportsNoNetwork();

signals:
    // The contact ended: answered and handled (after the question), or
    // failed.
    void finished();

private:
    void ResponseArrived(const QString& text);
    void ResponseFailed(const QString& reason);

    TQWOptions* m_options;
    WindowServices* m_services;
    std::function<void(const QString&)> m_openInNewTab;
    std::function<bool()> m_networkDown = &VersionCheck::SystemReportsNoNetwork;
    VersionFetch* m_fetch = nullptr;
    QDate m_today;
};

#include "chrome/VersionCheck.h"

#include "chrome/TLanguage.h"
#include "chrome/VersionCheckRules.h"
#include "chrome/VersionFetch.h"
#include "core/dialogs/WindowServices.h"
#include "core/engine/TEngineProfile.h"
#include "core/settings/TQWOptions.h"

#include <QNetworkInformation>
#include <QPointer>

VersionCheck::VersionCheck(TQWOptions* options, WindowServices* services,
                           std::function<void(const QString&)> openInNewTab, QObject* parent)
    : QObject(parent), m_options(options), m_services(services),
      m_openInNewTab(std::move(openInNewTab))
{
}

bool VersionCheck::SystemReportsNoNetwork()
{
    if (!QNetworkInformation::instance() &&
        !QNetworkInformation::load(QNetworkInformation::Feature::Reachability))
        return false;
    const QNetworkInformation* info = QNetworkInformation::instance();
    return info && info->supports(QNetworkInformation::Feature::Reachability) &&
           info->reachability() == QNetworkInformation::Reachability::Disconnected;
}

bool VersionCheck::Check(const QDate& today)
{
    if (TEngineProfile::workOffline() || m_networkDown())
        return false;
    const qint64 lastPong = m_options->LastPong();
    if (!VersionCheckRules::ContactDue(today, lastPong))
        return false;
    const std::optional<QUrl> url =
        VersionCheckRules::RequestUrl(m_options->VersionServer(), m_options->New(),
                                      VersionCheckRules::FirstContactOfMonth(today, lastPong));
    if (!url)
    {
        qWarning("VersionServer \"%s\" is not an http or https address of a server; no check",
                 qPrintable(m_options->VersionServer()));
        return false;
    }
    m_today = today;
    if (!m_fetch)
    {
        m_fetch = new VersionFetch(this);
        connect(m_fetch, &VersionFetch::loaded, this, &VersionCheck::ResponseArrived);
        connect(m_fetch, &VersionFetch::failed, this, &VersionCheck::ResponseFailed);
    }
    m_fetch->Get(*url);
    return true;
}

bool VersionCheck::Pending() const
{
    return m_fetch && m_fetch->Pending();
}

void VersionCheck::ResponseArrived(const QString& text)
{
    const VersionCheckRules::Outcome outcome =
        VersionCheckRules::Decide(VersionCheckRules::ParseResponse(text), m_today, m_options->New(),
                                  m_options->CheckedVersion());
    if (outcome.lastPong)
        m_options->SetLastPong(int(*outcome.lastPong));
    if (outcome.clearNew)
        m_options->SetNew(false);
    if (outcome.announce())
    {
        m_options->SetCheckedVersion(*outcome.checkedVersion);
        // The window may go while the question is open.
        const QPointer<VersionCheck> alive(this);
        const ConfirmResult answer = m_services->confirm(
            m_services->GetGlobalText(QStringLiteral("VersionNotifyCaption")), false,
            TLanguage::FormatText(m_services->GetGlobalText(QStringLiteral("VersionNotifyLabel")),
                                  outcome.version),
            m_services->GetGlobalText(QStringLiteral("VersionNotifyPrompt")),
            m_services->GetGlobalText(QStringLiteral("Yes")),
            m_services->GetGlobalText(QStringLiteral("No")), QString());
        if (!alive)
            return;
        if (answer.ok)
            m_openInNewTab(outcome.releasePage);
    }
    emit finished();
}

void VersionCheck::ResponseFailed(const QString& reason)
{
    qInfo("Version check: %s", qPrintable(reason));
    emit finished();
}

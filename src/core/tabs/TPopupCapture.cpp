#include "core/tabs/TPopupCapture.h"

#include "core/dialogs/WindowServices.h"
#include "core/settings/TQWOptions.h"
#include "core/tabs/TBrowserTab.h"
#include "core/tabs/WildcardPattern.h"

#include <QPointer>
#include <QTimer>

TPopupCapture::TPopupCapture(TQWOptions* options, WindowServices* services, QObject* parent)
    : QObject(parent), m_options(options), m_services(services)
{
    if (m_options)
    {
        m_usePopupVostel = m_options->UsePopupVostel();
        m_popupVostelNotify = m_options->PopupVostelNotify();
    }
    tmrCloseHidden = new QTimer(this);
    tmrCloseHidden->setObjectName(QStringLiteral("tmrCloseHidden"));
    tmrCloseHidden->setInterval(CloseHiddenInterval);
    connect(tmrCloseHidden, &QTimer::timeout, this, &TPopupCapture::tmrCloseHiddenTimer);
}

TPopupCapture::~TPopupCapture()
{
    WriteBack();
}

void TPopupCapture::LoadPopupList()
{
    m_popupList = m_options ? m_options->ReadPopupVostel() : QStringList();
    m_loaded = true;
}

void TPopupCapture::WriteBack()
{
    if (m_loaded && m_options)
        m_options->WritePopupVostel(m_popupList);
}

QString TPopupCapture::MatchingPattern(const QString& url) const
{
    for (const QString& pattern : m_popupList)
    {
        if (!pattern.isEmpty() && WildcardPattern::MatchPrefix(url, pattern))
            return pattern;
    }
    return {};
}

bool TPopupCapture::PopupMatch(const QString& url)
{
    if (!m_usePopupVostel || MatchingPattern(url).isEmpty())
        return false;
    if (m_popupVostelNotify && ShowNotice(url))
    {
        // The engine is still asking about the captured navigation: the
        // tab is opened once it has its answer.
        QTimer::singleShot(0, this, [this, url] { emit openOnceRequested(url); });
    }
    return true;
}

bool TPopupCapture::ShowNotice(const QString& url)
{
    const ConfirmResult result = m_services->confirm(
        GetGlobalText(QStringLiteral("PopupNotifyCaption")), false,
        GetGlobalText(QStringLiteral("PopupNotifyMessage")), url,
        GetGlobalText(QStringLiteral("PopupNotifyOpenOnce")), GetGlobalText(QStringLiteral("OK")),
        GetGlobalText(QStringLiteral("PopupNotifyDontAsk")), false);
    if (result.checked)
    {
        m_popupVostelNotify = false;
        if (m_options)
            m_options->SetPopupVostelNotify(false);
    }
    return result.ok;
}

QString TPopupCapture::ProposedEntry(const QString& popupOriginalUrl, const QString& currentUrl)
{
    const QString address = popupOriginalUrl.isEmpty() ? currentUrl : popupOriginalUrl;
    const qsizetype query = address.indexOf(QLatin1Char('?'));
    return query < 0 ? address : address.left(query);
}

void TPopupCapture::AddToPopupList(TBrowserTab* tab)
{
    if (!tab)
        return;
    // The input box runs a modal loop in which the tab may go away.
    const QPointer<TBrowserTab> guard(tab);
    QString entry = ProposedEntry(tab->PopupOriginalUrl, tab->GetLocationURL());
    const bool confirmed =
        m_services->inputQuery(GetGlobalText(QStringLiteral("PopupVostel")),
                               GetGlobalText(QStringLiteral("PopupVostelUrl")), entry);
    if (confirmed)
    {
        if (m_options)
        {
            // Read afresh: another copy's options dialog may have changed it.
            TQWOptions fresh(m_options->Store());
            QStringList list = fresh.ReadPopupVostel();
            // Blanks around a typed address would keep it from ever matching.
            entry = entry.trimmed();
            if (!entry.isEmpty() && !list.contains(entry, Qt::CaseInsensitive))
            {
                list.append(entry);
                fresh.WritePopupVostel(list);
            }
        }
        if (guard)
            emit closeTabRequested(guard.data());
    }
    LoadPopupList();
}

void TPopupCapture::StartCloseHiddenTimer()
{
    tmrCloseHidden->start();
}

void TPopupCapture::tmrCloseHiddenTimer()
{
    tmrCloseHidden->stop();
    emit closeKilledTabsRequested();
}

QString TPopupCapture::GetGlobalText(const QString& key) const
{
    return m_services->GetGlobalText(key);
}

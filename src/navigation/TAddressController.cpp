#include "navigation/TAddressController.h"

#include "chrome/TLanguage.h"
#include "core/dialogs/WindowServices.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "core/tabs/TBrowserTab.h"
#include "navigation/IAddressHost.h"
#include "navigation/TAddressBand.h"
#include "navigation/TQWComboBox.h"
#include "navigation/TSHAutoComplete.h"

#include <QLineEdit>
#include <QPointer>

namespace
{
const QString BlankAddress = QStringLiteral("about:blank");
} // namespace

TAddressController::TAddressController(TAddressBand* band, IAddressHost* host,
                                       WindowServices* services, RegistryStore* store,
                                       QObject* parent)
    : QObject(parent), m_band(band), m_host(host), m_services(services), m_store(store)
{
    Q_ASSERT(m_band && m_host && m_services);
    connect(Box(), &TQWComboBox::submitted, this,
            [this](const QString&, bool addressTyped) { Submitted(addressTyped); });
    connect(m_band, &TAddressBand::tbGoClick, this, &TAddressController::tbGoClick);
    connect(m_band, &TAddressBand::uoAddressComboDrop, this,
            &TAddressController::uoAddressComboDrop);
}

TQWComboBox* TAddressController::Box() const
{
    return m_band->cboAddress;
}

QString TAddressController::GetGlobalText(const QString& key) const
{
    return m_services->GetLangText(QStringLiteral("GLOBAL"), key);
}

void TAddressController::Submitted(bool addressTyped)
{
    if (addressTyped)
        m_addressTyped = true;
    // What was typed is handed over: from now on the box shows the page.
    Box()->lineEdit()->setModified(false);
    cboAddressClick();
}

void TAddressController::cboAddressClick()
{
    const QuickSearch::Outcome outcome =
        QuickSearch::Resolve(QuickSearchList, Box()->lineEdit()->text());
    switch (outcome.kind)
    {
    case QuickSearch::Outcome::Address:
        OpenAddress(outcome.address, AddressNewWin);
        break;
    case QuickSearch::Outcome::Search:
        OpenAddress(outcome.address, QuickSearchNewWin);
        break;
    case QuickSearch::Outcome::BadTemplate:
        m_services->showError(BadTemplateMessage(outcome));
        break;
    }
}

QString TAddressController::BadTemplateMessage(const QuickSearch::Outcome& outcome) const
{
    QString reason;
    switch (outcome.error)
    {
    case SearchTemplate::Error::NoPlaceholder:
        reason = GetGlobalText(QStringLiteral("QuickSearchNoPlaceholder"));
        break;
    case SearchTemplate::Error::SecondPlaceholder:
        reason = GetGlobalText(QStringLiteral("QuickSearchSecondPlaceholder"));
        break;
    case SearchTemplate::Error::StrayPercent:
        reason = GetGlobalText(QStringLiteral("QuickSearchStrayPercent"));
        break;
    case SearchTemplate::Error::None:
        break;
    }
    return TLanguage::FormatText(GetGlobalText(QStringLiteral("QuickSearchBadTemplate")),
                                 outcome.keyword) +
           QStringLiteral("\n\n") + outcome.searchTemplate + QStringLiteral("\n\n") + reason;
}

void TAddressController::tbGoClick()
{
    m_addressTyped = true;
    cboAddressClick();
}

void TAddressController::uoAddressComboDrop(const QString& text)
{
    if (IsScriptAddress(text))
    {
        m_host->SetStatusText(GetGlobalText(QStringLiteral("ScriptAddressRefused")));
        return;
    }
    Box()->lineEdit()->setText(text);
    m_addressTyped = true;
    cboAddressClick();
}

bool TAddressController::BoxHasFocus() const
{
    return Box()->hasFocus() || Box()->lineEdit()->hasFocus();
}

void TAddressController::OpenAddress(const QString& address, bool newTab)
{
    OpenAddressIn(address, newTab != m_host->ShiftDown());
}

void TAddressController::OpenAddressIn(const QString& address, bool inNewTab)
{
    if (address.isEmpty())
        return;
    const bool hadFocus = BoxHasFocus();
    TBrowserTab* active = m_host->GetActivePage();
    if (inNewTab || !active)
    {
        // A blank page nobody is loading anything into is as good as a new tab.
        const bool reuse =
            inNewTab && active && active->GetLocationURL() == BlankAddress && !active->Busy;
        QPointer<TBrowserTab> tab = reuse ? active : m_host->AddTabPerPreference();
        if (!tab)
            return;
        tab->NavigateTo(address);
        // A tab left in the background never reports its navigation as the
        // front tab's: the typed address is recorded here, and the mark must
        // not wait for the front tab's next page.
        if (m_addressTyped && tab && tab != m_host->GetActivePage())
        {
            m_typed.Record(address);
            m_addressTyped = false;
            SyncItems();
        }
    }
    else
    {
        active->Navigate(address);
    }
    if (hadFocus)
        if (TBrowserTab* front = m_host->GetActivePage())
            front->FocusPage();
}

void TAddressController::RecordTypedAddress(const QString& url)
{
    if (m_addressTyped)
    {
        m_typed.Record(url);
        m_addressTyped = false;
        SyncItems();
    }
    ShowAddress(url);
}

void TAddressController::ShowAddress(const QString& url)
{
    // A page finishing its load must not overwrite what the user is typing.
    QLineEdit* edit = Box()->lineEdit();
    if (edit->isModified() && BoxHasFocus())
        return;
    // A box waiting for typing (after New, Alt+D: empty or all selected)
    // selects the address that arrives, so what the user types next
    // replaces it instead of being added to it.
    const bool allSelected = BoxHasFocus() && edit->selectedText() == edit->text();
    edit->setText(url == BlankAddress ? QString() : url);
    if (allSelected)
        edit->selectAll();
}

void TAddressController::SyncAddressBox()
{
    const TBrowserTab* tab = m_host->GetActivePage();
    if (!tab)
        return;
    const QString url = tab->GetLocationURL();
    if (Box()->lineEdit()->text() != url)
        ShowAddress(url);
}

void TAddressController::LoadAddressCompletion(const TQWOptions& options)
{
    Box()->SetAffixes(AddressAffixes::FromOptions(options));
}

void TAddressController::SetAutoCompleteStyle(int style)
{
    style = qBound(0, style, 2);
    if (style == 2 && EngineVersion4)
    {
        style = 1;
    }
    else if (m_activatedOnce)
    {
        if (m_style == 2 && style != 2)
            Box()->AutoComplete()->Switch(false);
        if (style == 2)
            Box()->AutoComplete()->Switch(true);
    }
    m_style = style;
    Box()->SetCompletionStyle(style);
}

void TAddressController::FirstActivation()
{
    if (m_activatedOnce)
        return;
    m_activatedOnce = true;
    if (m_style == 2)
        Box()->AutoComplete()->Switch(true);
}

void TAddressController::ApplyShowGo(bool show)
{
    m_band->ApplyShowGo(show);
}

void TAddressController::mnuToolsFavsClick()
{
    const QString caption = TLanguage::ShortHint(m_services->GetLangText(
        QStringLiteral("MAIN"), QStringLiteral("MenuToolsClearAddressesHint")));
    QString title;
    QString prompt;
    if (m_style == 2)
    {
        title = GetGlobalText(QStringLiteral("ClearAddressHistory"));
        prompt = GetGlobalText(QStringLiteral("ClearAddressHistoryNote"));
    }
    else
    {
        prompt = GetGlobalText(QStringLiteral("ClearAddressHistory"));
    }
    const ConfirmResult answer =
        m_services->confirm(caption, false, title, prompt, GetGlobalText(QStringLiteral("Yes")),
                            GetGlobalText(QStringLiteral("No")), QString());
    if (answer.ok)
        ClearTypedAddresses();
}

bool TAddressController::ClearTypedAddresses()
{
    m_typed.Clear();
    SyncItems();
    const bool saved = SaveTypedUrls();
    SyncAddressBox();
    return saved;
}

void TAddressController::LoadTypedUrls()
{
    if (m_store)
        m_typed.Load(*m_store);
    else
        m_typed.Clear();
    SyncItems();
}

bool TAddressController::SaveTypedUrls()
{
    return m_store && m_typed.Save(*m_store);
}

void TAddressController::ReadQuickSearchList(const TQWOptions& options)
{
    QuickSearchList = options.ReadListSection(RegistryKeys::QuickSearch);
}

void TAddressController::SyncItems()
{
    Box()->SetItems(m_typed.Items());
}

bool TAddressController::IsScriptAddress(const QString& text)
{
    // Address parsers drop leading blanks and control characters and every
    // tab and line break, so "\n java\tscript:" is still a script.
    QString cleaned;
    cleaned.reserve(text.size());
    bool leading = true;
    for (const QChar c : text)
    {
        if (leading && c.unicode() <= 0x20)
            continue;
        leading = false;
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            continue;
        cleaned += c;
        if (cleaned.size() >= 11)
            break;
    }
    return cleaned.startsWith(QLatin1String("javascript:"), Qt::CaseInsensitive);
}

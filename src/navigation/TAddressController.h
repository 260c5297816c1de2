#pragma once

#include "navigation/QuickSearch.h"
#include "navigation/TypedUrlList.h"

#include <QObject>
#include <QStringList>

class IAddressHost;
class WindowServices;
class RegistryStore;
class TAddressBand;
class TQWComboBox;
class TQWOptions;

// What the address band does: turns submitted text into an address or a
// quick search and opens it, keeps the list of typed addresses and the
// box's text in step with the active tab, and switches the completion
// styles. The main window owns one and forwards its tab-host calls
// (ShowAddress, RecordTypedAddress) to it.
class TAddressController : public QObject
{
    Q_OBJECT
public:
    // band, host and services must outlive the controller; store (for the
    // typed addresses) may be null: the list is then neither read nor
    // written.
    TAddressController(TAddressBand* band, IAddressHost* host, WindowServices* services,
                       RegistryStore* store, QObject* parent = nullptr);

    TAddressBand* Band() const { return m_band; }
    TQWComboBox* Box() const;

    // State of the main window that this part keeps.
    bool AddressNewWin = false;
    bool QuickSearchNewWin = true;
    // The engine's version-4 behaviour, reachable only through tests.
    bool EngineVersion4 = false;
    // "keyword=template" lines of the quick-search list.
    QStringList QuickSearchList;

    bool AddressTyped() const { return m_addressTyped; }
    const TypedUrlList& TypedUrls() const { return m_typed; }
    int AutoCompleteStyle() const { return m_style; }
    bool ActivatedOnce() const { return m_activatedOnce; }

    // Handlers of the band
    void cboAddressClick();
    void tbGoClick();
    void uoAddressComboDrop(const QString& text);
    void mnuToolsFavsClick();
    // Empties the typed-address list and its store, without asking; false
    // when the store could not be written.
    bool ClearTypedAddresses();

    // Main-window operations
    void OpenAddress(const QString& address, bool newTab);
    // The same once the tab is chosen: Shift has been taken into account.
    void OpenAddressIn(const QString& address, bool inNewTab);
    void RecordTypedAddress(const QString& url);
    void ShowAddress(const QString& url);
    void SyncAddressBox();
    void LoadAddressCompletion(const TQWOptions& options);
    void SetAutoCompleteStyle(int style);
    void ApplyShowGo(bool show);
    // The window was activated for the first time.
    void FirstActivation();

    // The typed-address key of the store.
    void LoadTypedUrls();
    bool SaveTypedUrls();
    void ReadQuickSearchList(const TQWOptions& options);

    // A "javascript:" address, written any way the engine would still run
    // it (any letter case, leading blanks or control characters, line
    // breaks or tabs inside). Such an address handed in from outside the
    // address box is not opened.
    static bool IsScriptAddress(const QString& text);

    // The error message for a quick-search template that cannot be filled.
    QString BadTemplateMessage(const QuickSearch::Outcome& outcome) const;

private:
    void Submitted(bool addressTyped);
    void SyncItems();
    bool BoxHasFocus() const;
    QString GetGlobalText(const QString& key) const;

    TAddressBand* m_band;
    IAddressHost* m_host;
    WindowServices* m_services;
    RegistryStore* m_store;
    TypedUrlList m_typed;
    bool m_addressTyped = false;
    bool m_activatedOnce = false;
    int m_style = 0;
};

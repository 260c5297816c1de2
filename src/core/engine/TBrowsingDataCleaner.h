#pragma once

#include <QString>

#include <functional>

class QWebEngineProfile;

// Clears the browsing data the program and its engine keep: the history
// index files, the engine's HTTP cache and cookies, the answers given to
// sites this run, the typed addresses. Which data is named by the flags of
// EngineSettingsValues::ClearItem.
class TBrowsingDataCleaner
{
public:
    struct Targets
    {
        // The engine's profile; null in a run that shows no real pages, whose
        // engine then holds nothing to clear.
        QWebEngineProfile* profile = nullptr;
        QString historyRoot;
        // Empties the address box's list and its store; false when the
        // store could not be written.
        std::function<bool()> clearTypedAddresses;
    };

    // Clears every item named in items; the items that could not be cleared
    // (nothing when all went well).
    static int Clear(int items, const Targets& targets);
};

#pragma once

#include <QByteArray>

class QWebEngineHistory;

// A page's back/forward history as bytes that can be kept in a file and
// given back to a page later.
//
// The engine's own reader trusts what it is given: damaged bytes could make
// it reserve memory for any number of entries. The bytes are therefore
// sealed with a digest, and only what comes back unchanged reaches it.
class EngineHistoryState
{
public:
    // Empty for a page with no history.
    static QByteArray save(const QWebEngineHistory& history);
    // False, with history left as it was, for bytes that save() did not
    // give or that were changed since; false too when the engine refuses
    // them (another version of it wrote them).
    static bool restore(QWebEngineHistory& history, const QByteArray& state);
};

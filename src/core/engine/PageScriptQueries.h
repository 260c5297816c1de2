#pragma once

#include "core/engine/IBrowserControl.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

class QObject;
class QWebEnginePage;

// Questions the browser puts to a loaded document through scripts run in an
// isolated world, so that the page's own scripts cannot see or answer them.
class PageScriptQueries
{
public:
    // Asks for the page's properties and answers exactly once: with the
    // page's answer, or with what is known without it when the page does not
    // answer in time or its browser goes away first.
    // Turns the script's answer (an invalid QVariant when there is none)
    // into properties; only called while alive has not expired.
    using Read = std::function<PageProperties(const QVariant& scriptResult)>;
    using Done = std::function<void(const PageProperties&)>;

    static void properties(QWebEnginePage* page, QObject* browser, const std::weak_ptr<bool>& alive,
                           const Read& read, const Done& done, int timeoutMs);

    // Gives the address of the first link whose text, in upper case, holds
    // "NEXT", or an empty text when there is none.
    static void nextLink(QWebEnginePage* page,
                         const std::function<void(const QString& href)>& found);
    static QString nextLinkScript();
};

#pragma once

#include "core/engine/IBrowserControl.h"

#include <QString>
#include <QVariant>

// What the engine can tell about a loaded page beyond its title and address:
// a script asks the document, and the answer is turned into PageProperties
// here, apart from any page, so that every rule can be tried on its own.
class PagePropertiesReader
{
public:
    // Run in an isolated world of the page; gives an object with
    //   type        document.contentType
    //   body        decoded body size of the navigation in bytes, -1 when the
    //               document has no navigation entry
    //   serialized  UTF-8 length of the serialized document; only measured
    //               when body is not above 0, else -1
    //   modified    document.lastModified in ms since the epoch, -1 unknown
    //   now         the page's clock when it answered, ms since the epoch
    static QString script();

    // The properties of the page at url. scriptResult is script()'s answer,
    // or an invalid QVariant when there is none (then only what needs no
    // script is filled in). A local file's size, date and type come from
    // the file itself.
    static PageProperties fromScriptResult(const QString& title, const QString& url,
                                           const QVariant& scriptResult);

    // A document that does not know its date reports the time it is asked
    // instead; a date that close to the page's clock is taken for unknown.
    static constexpr qint64 UnknownDateWindowMs = 2000;
};

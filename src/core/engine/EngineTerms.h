#pragma once

#include "core/engine/IBrowserControl.h"

#include <QString>
#include <QUrl>
#include <QWebEnginePage>

// The design's words for what the engine reports and does: how an address
// reads to the listener, which addresses count as pages of the web, what
// kind of navigation the engine's type is, which action an edit command is.
class EngineTerms
{
public:
    // Addresses go to the listener as the server sees them: encoded, never
    // with blanks or other text that would change meaning when typed again.
    static QString addressText(const QUrl& url);
    static bool isAbout(const QUrl& url);
    // Pages the history records.
    static bool isRecordable(const QUrl& url);
    // Addresses the crash page can stand in for and its Reload link can lead
    // back to.
    static bool isReloadable(const QUrl& url);

    static NavigationRequest::Kind kindOf(QWebEnginePage::NavigationType type);
    static QWebEnginePage::WebAction actionOf(EditCommand command);
};

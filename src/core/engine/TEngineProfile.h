#pragma once

#include <QString>
#include <QStringList>

class QWebEngineProfile;

// The one engine profile every browser control of this copy shares: storage
// in the program folder's "Engine" folder, the user agent with the store's
// tokens, the program's "quillwave:" pages, the per-frame probe that gives
// the controls their frame events, and the browser helper objects.
class TEngineProfile
{
public:
    // Registers the "quillwave:" scheme with the engine. Must run before the
    // application object is created.
    static void registerSchemes();

    // Created on first use (an application object must exist), together with
    // applySettings().
    static QWebEngineProfile* profile();
    // Whether this run has made the profile (a run with stand-in pages never does).
    static bool exists();
    // Deletes the profile so that its data reaches the disk; every page using
    // it must be gone. Also runs by itself when the application ends.
    static void release();

    // Forgets which addresses have been visited (links draw as unvisited).
    // Nothing to do in a run that has not made the profile.
    static void clearVisitedLinks();

    // Re-reads the user-agent tokens and the browser helper objects from the
    // store and applies them to pages that load from now on.
    static void applySettings();
    static void applyUserAgent(const QStringList& tokens);
    // Replaces the injected helper scripts. Each name is a script file: an
    // absolute path, or relative to browserHelperObjectFolder(). A file that
    // cannot be read is skipped with a warning.
    static void applyBrowserHelperObjects(const QStringList& names);

    // The engine's own user agent, before tokens.
    static QString baseUserAgent();
    static QString storagePath();
    static QString browserHelperObjectFolder();
    static QString resolveBrowserHelperObject(const QString& name);
    // Every probe message starts with this text; it holds a secret of this
    // run so that a page cannot forge frame events.
    static QString frameMessagePrefix();

    // While offline no page of the profile reaches the network (see
    // TOfflineInterceptor). Lasts for this run only; off at start. Safe to
    // call from any thread, also before the profile exists.
    static void setWorkOffline(bool offline);
    static bool workOffline();

    // The engine's version for the About box, such as
    // "Qt WebEngine 6.4.2, Chromium 102.0.5005.177".
    static QString engineVersionText();

    // Helper scripts larger than this are skipped.
    static constexpr qint64 MaxHelperScriptBytes = 4 * 1024 * 1024;
};

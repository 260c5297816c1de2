#include "core/engine/TEngineProfile.h"

#include "chrome/TUserAgentToken.h"
#include "core/store/ProgramPaths.h"
#include "core/store/RegistryStore.h"
#include "core/engine/TContentSwitches.h"
#include "core/engine/TDownloadManager.h"
#include "core/engine/TOfflineInterceptor.h"
#include "core/settings/TQWOptions.h"
#include "core/engine/TQuillwaveSchemeHandler.h"
#include "core/engine/TZoneEnforcer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlScheme>
#include <QWebEngineView>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>

#include <atomic>
#include <exception>

namespace
{
QWebEngineProfile* theProfile = nullptr;
QString engineUserAgent;
std::atomic<bool> workingOffline{false};

const QString FrameProbeName = QStringLiteral("quillwave-frame-probe");
const QString HelperScriptPrefix = QStringLiteral("quillwave-helper:");

QString makePrefix()
{
    const quint64 a = QRandomGenerator::system()->generate64();
    const quint64 b = QRandomGenerator::system()->generate64();
    return QStringLiteral("qw-frame:%1%2 ")
        .arg(a, 16, 16, QLatin1Char('0'))
        .arg(b, 16, 16, QLatin1Char('0'));
}

// Runs in every frame, in a world of its own, so that each document reports
// its creation and loading whatever the page's own scripts do.
QWebEngineScript frameProbe()
{
    QString source = QStringLiteral(R"((function () {
  'use strict';
  if (window.__quillwaveFrameProbe) return;
  window.__quillwaveFrameProbe = true;
  var id = Math.floor(Math.random() * 1e16).toString(36) + '.' + Date.now().toString(36);
  var top = false;
  try { top = (window.top === window); } catch (e) {}
  function post(what) {
    console.log(PREFIX + JSON.stringify({ e: what, id: id, top: top, url: String(location.href) }));
  }
  post('created');
  // The engine's navigation decisions do not say which element started a
  // navigation: every click reports the link it landed on (or the element)
  // and the document's first BASE element's target, before any navigation.
  function baseTarget() {
    var all = document.getElementsByTagName('*');
    for (var i = 0; i < all.length; ++i) {
      var tag = all[i].tagName;
      if (tag === 'BASE' || tag === 'base') return all[i].getAttribute('target') || '';
    }
    return '';
  }
  function linkOf(node) {
    for (; node && node.nodeType === 1; node = node.parentNode)
      if ((node.localName === 'a' || node.localName === 'area') && node.hasAttribute('href'))
        return node;
    return null;
  }
  window.addEventListener('click', function (event) {
    try {
      var link = linkOf(event.target);
      var element = link || (event.target && event.target.nodeType === 1 ? event.target : null);
      var href = '';
      if (link) href = new URL(link.getAttribute('href'), document.baseURI).href;
      console.log(PREFIX + JSON.stringify({ e: 'click', id: id, top: top,
        tag: element ? String(element.tagName) : '', href: href,
        target: link ? (link.getAttribute('target') || '') : '', base: baseTarget() }));
    } catch (e) {}
  }, true);
  document.addEventListener('DOMContentLoaded', function () { post('DOMContentLoaded'); });
  window.addEventListener('load', function () { post('load'); });
})();)");
    source.replace(QStringLiteral("PREFIX"),
                   QLatin1Char('\'') + TEngineProfile::frameMessagePrefix() + QLatin1Char('\''));
    QWebEngineScript script;
    script.setName(FrameProbeName);
    script.setSourceCode(source);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(true);
    return script;
}

void handleDownload(QWebEngineDownloadRequest* download)
{
    QWidget* parent = download->page() ? QWebEngineView::forPage(download->page()) : nullptr;
    TDownloadManager::instance()->handleDownload(download, parent);
}
} // namespace

void TEngineProfile::registerSchemes()
{
    QWebEngineUrlScheme scheme(TQuillwaveSchemeHandler::SchemeName);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Not a local scheme: the engine would then forbid the start page's
    // search and links to reach the web. The handler itself refuses requests
    // that web pages start, which is what keeps sites from using the pages.
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QWebEngineProfile* TEngineProfile::profile()
{
    if (theProfile)
        return theProfile;
    theProfile = new QWebEngineProfile(QStringLiteral("Quillwave"));
    const QString storage = storagePath();
    QDir().mkpath(storage);
    theProfile->setPersistentStoragePath(storage);
    theProfile->setCachePath(QDir(storage).filePath(QStringLiteral("Cache")));
    engineUserAgent = theProfile->httpUserAgent();

    theProfile->installUrlSchemeHandler(TQuillwaveSchemeHandler::SchemeName,
                                        new TQuillwaveSchemeHandler(theProfile));
    theProfile->scripts()->insert(frameProbe());
    theProfile->setUrlRequestInterceptor(new TOfflineInterceptor(workingOffline, theProfile));
    TZoneEnforcer::install(theProfile);
    // Pages may ask for full screen; the request is decided per page.
    theProfile->settings()->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    new TContentSwitches(theProfile);
    QObject::connect(theProfile, &QWebEngineProfile::downloadRequested, theProfile,
                     &handleDownload);
    applySettings();

    // The engine tears itself down in a routine of its own when the
    // application ends; a routine added later runs earlier, so the profile
    // is gone (and written out) by then.
    qAddPostRoutine(&TEngineProfile::release);
    return theProfile;
}

bool TEngineProfile::exists()
{
    return theProfile != nullptr;
}

void TEngineProfile::clearVisitedLinks()
{
    if (theProfile)
        theProfile->clearAllVisitedLinks();
}

void TEngineProfile::release()
{
    delete theProfile;
    theProfile = nullptr;
}

void TEngineProfile::applySettings()
{
    QStringList tokens;
    QStringList helpers;
    try
    {
        RegistryStore store;
        TQWOptions options(&store);
        tokens = TUserAgentToken::Tokens(store);
        if (options.LoadBHOs())
            helpers = options.ReadBrowserHelperObjects();
    }
    catch (const std::exception& error)
    {
        // Pages still load; they only miss the tokens or the helpers.
        qWarning("Quillwave: engine settings cannot be read: %s", error.what());
    }
    applyUserAgent(tokens);
    applyBrowserHelperObjects(helpers);
}

void TEngineProfile::applyUserAgent(const QStringList& tokens)
{
    QWebEngineProfile* engine = profile();
    engine->setHttpUserAgent(TUserAgentToken::UserAgentWithTokens(engineUserAgent, tokens));
}

void TEngineProfile::applyBrowserHelperObjects(const QStringList& names)
{
    QWebEngineScriptCollection* scripts = profile()->scripts();
    for (const QWebEngineScript& script : scripts->toList())
        if (script.name().startsWith(HelperScriptPrefix))
            scripts->remove(script);

    for (const QString& name : names)
    {
        const QString path = resolveBrowserHelperObject(name);
        QFile file(path);
        // Not a folder, and not a pipe either, whose opening could wait for ever.
        if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        {
            qWarning("Quillwave: browser helper object \"%s\" cannot be read (%s); skipped.",
                     qPrintable(path), qPrintable(file.errorString()));
            continue;
        }
        if (file.size() > MaxHelperScriptBytes)
        {
            qWarning("Quillwave: browser helper object \"%s\" is larger than %lld bytes; skipped.",
                     qPrintable(path), static_cast<long long>(MaxHelperScriptBytes));
            continue;
        }
        QWebEngineScript script;
        script.setName(HelperScriptPrefix + path);
        script.setSourceCode(QString::fromUtf8(file.readAll()));
        script.setInjectionPoint(QWebEngineScript::DocumentReady);
        script.setWorldId(QWebEngineScript::MainWorld);
        script.setRunsOnSubFrames(false);
        scripts->insert(script);
    }
}

QString TEngineProfile::baseUserAgent()
{
    profile();
    return engineUserAgent;
}

QString TEngineProfile::storagePath()
{
    return QDir(ProgramPaths::programFolder()).filePath(QStringLiteral("Engine"));
}

QString TEngineProfile::browserHelperObjectFolder()
{
    return QDir(ProgramPaths::programFolder()).filePath(QStringLiteral("BHO"));
}

QString TEngineProfile::resolveBrowserHelperObject(const QString& name)
{
    if (QFileInfo(name).isAbsolute())
        return QDir::cleanPath(name);
    return QDir::cleanPath(QDir(browserHelperObjectFolder()).filePath(name));
}

QString TEngineProfile::frameMessagePrefix()
{
    static const QString prefix = makePrefix();
    return prefix;
}

void TEngineProfile::setWorkOffline(bool offline)
{
    workingOffline.store(offline);
}

bool TEngineProfile::workOffline()
{
    return workingOffline.load();
}

QString TEngineProfile::engineVersionText()
{
    return QStringLiteral("Qt WebEngine %1, Chromium %2")
        .arg(QString::fromLatin1(qWebEngineVersion()),
             QString::fromLatin1(qWebEngineChromiumVersion()));
}

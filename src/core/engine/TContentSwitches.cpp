#include "core/engine/TContentSwitches.h"

#include "chrome/SettingsBroadcast.h"
#include "core/engine/TContentInterceptor.h"
#include "core/store/RegistryKeys.h"

#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

#include <exception>

namespace
{
const QString StillScriptName = QStringLiteral("quillwave-still-motion");

// Adds (on = false) or removes (on = true) the still style of the document
// it runs in. Zero durations rather than "animation: none", so that an
// element a page fades in ends visible.
QString stillMotionSource(const QString& call)
{
    return QStringLiteral(R"((function (animate) {
  'use strict';
  var id = 'ID';
  var css = '*, *::before, *::after { animation-duration: 0s !important;' +
    ' animation-delay: 0s !important; animation-iteration-count: 1 !important;' +
    ' transition-duration: 0s !important; transition-delay: 0s !important;' +
    ' scroll-behavior: auto !important; }';
  function svgs(pause) {
    var all = document.getElementsByTagName('svg');
    for (var i = 0; i < all.length; ++i) {
      try { if (pause) all[i].pauseAnimations(); else all[i].unpauseAnimations(); } catch (e) {}
    }
  }
  if (animate) {
    var old = document.getElementById(id);
    if (old) old.remove();
    svgs(false);
    return;
  }
  function add() {
    var root = document.documentElement;
    if (!root) return false;
    if (!document.getElementById(id)) {
      var style = document.createElement('style');
      style.id = id;
      style.textContent = css;
      root.appendChild(style);
    }
    return true;
  }
  if (!add()) {
    new MutationObserver(function (changes, observer) {
      if (add()) observer.disconnect();
    }).observe(document, { childList: true });
  }
  if (document.readyState === 'loading')
    document.addEventListener('DOMContentLoaded', function () { svgs(true); });
  else
    svgs(true);
})(CALL);)")
        .replace(QStringLiteral("ID"), TContentSwitches::StillStyleId)
        .replace(QStringLiteral("CALL"), call);
}
} // namespace

TContentSwitches::TContentSwitches(QWebEngineProfile* profile)
    : QObject(profile), m_profile(profile), m_interceptor(new TContentInterceptor(this))
{
    reload();
    connect(SettingsBroadcast::instance(), &SettingsBroadcast::settingsChanged, this,
            [this](const QString& area)
            {
                if (area.isEmpty() ||
                    area.compare(RegistryKeys::EngineSettingsArea, Qt::CaseInsensitive) == 0)
                    reload();
            });
}

TContentSwitches* TContentSwitches::of(QWebEngineProfile* profile)
{
    return profile ? profile->findChild<TContentSwitches*>(QString(), Qt::FindDirectChildrenOnly)
                   : nullptr;
}

void TContentSwitches::attach(QWebEnginePage* page)
{
    if (!page || m_pages.contains(page))
        return;
    m_pages.append(page);
    page->setUrlRequestInterceptor(m_interceptor);
    page->setAudioMuted(!m_switches.sounds);
    reload();
}

void TContentSwitches::attachToProfileOf(QWebEnginePage* page)
{
    if (TContentSwitches* switches = of(page ? page->profile() : nullptr))
        switches->attach(page);
}

void TContentSwitches::reload()
{
    try
    {
        TIEOptions options;
        apply(options.ReadSwitches());
    }
    catch (const std::exception& error)
    {
        // Pages keep the switches they have.
        qWarning("Quillwave: content switches cannot be read: %s", error.what());
    }
}

void TContentSwitches::apply(const TIEOptions::Switches& switches)
{
    m_switches = switches;

    QWebEngineSettings* settings = m_profile->settings();
    settings->setAttribute(QWebEngineSettings::AutoLoadImages, switches.images);
    // Videos on leave the engine's own autoplay rule in force.
    if (switches.videos)
        settings->resetAttribute(QWebEngineSettings::PlaybackRequiresUserGesture);
    else
        settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, true);
    m_interceptor->setLoadImages(switches.images);
    m_interceptor->setLoadMedia(switches.videos);

    for (QWebEnginePage* page : livePages())
        page->setAudioMuted(!switches.sounds);
    const bool held = !m_profile->scripts()->find(StillScriptName).isEmpty();
    if (held == switches.animations)
        applyAnimations(switches.animations);
}

void TContentSwitches::applyAnimations(bool on)
{
    QWebEngineScriptCollection* scripts = m_profile->scripts();
    for (const QWebEngineScript& script : scripts->find(StillScriptName))
        scripts->remove(script);
    if (!on)
    {
        QWebEngineScript script;
        script.setName(StillScriptName);
        script.setSourceCode(stillMotionSource(QStringLiteral("false")));
        script.setInjectionPoint(QWebEngineScript::DocumentCreation);
        script.setWorldId(QWebEngineScript::ApplicationWorld);
        script.setRunsOnSubFrames(true);
        scripts->insert(script);
    }
    // Documents already shown change now (their top frame; frames follow
    // with the next load).
    const QString now = stillMotionSource(on ? QStringLiteral("true") : QStringLiteral("false"));
    for (QWebEnginePage* page : livePages())
        page->runJavaScript(now, QWebEngineScript::ApplicationWorld);
}

QList<QWebEnginePage*> TContentSwitches::livePages()
{
    m_pages.removeAll(QPointer<QWebEnginePage>());
    QList<QWebEnginePage*> pages;
    for (const QPointer<QWebEnginePage>& page : std::as_const(m_pages))
        pages.append(page.data());
    return pages;
}

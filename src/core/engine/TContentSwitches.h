#pragma once

#include "chrome/TIEOptions.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QWebEnginePage;
class QWebEngineProfile;
class TContentInterceptor;

// Puts the engine's content switches into effect on every page of a
// profile, those open now and those made later:
// - pictures off: the engine does not load images by itself, and the
//   request interceptor refuses every image request that is made anyway;
// - videos off: media plays only after a user gesture and the interceptor
//   refuses the media requests of audio and video elements, so nothing is
//   preloaded either (media a page fetches by script into a media source is
//   ordinary script traffic and is not told apart);
// - sounds off: every page is muted;
// - animations off: a style in every document, sub-frames too, ends CSS
//   animations and transitions at once (elements keep their final look,
//   so nothing that fades in stays hidden), turns smooth scrolling off and
//   pauses SVG animations. The engine offers no switch for animated GIF and
//   WebP pictures, and script-driven motion is the page's own: both still move.
//
// The switches are read from the store when the object is made, for every
// page attached (so that a new tab sees what another copy stored), and on
// the settings-change broadcast of the engine's area.
class TContentSwitches : public QObject
{
    Q_OBJECT
public:
    // Owned by profile; applies the stored switches at once.
    explicit TContentSwitches(QWebEngineProfile* profile);

    // The switches of profile; null when it has none.
    static TContentSwitches* of(QWebEngineProfile* profile);

    // Brings page under the switches for the rest of its life.
    void attach(QWebEnginePage* page);
    // attach() with the switches of page's profile, when it has them.
    static void attachToProfileOf(QWebEnginePage* page);
    // Reads the switches from the store and applies them where they differ.
    void reload();
    void apply(const TIEOptions::Switches& switches);
    TIEOptions::Switches current() const { return m_switches; }

    // The id of the style element that holds animations still.
    static inline const QString StillStyleId = QStringLiteral("quillwave-still-motion");

private:
    void applyAnimations(bool on);
    QList<QWebEnginePage*> livePages();

    QWebEngineProfile* m_profile;
    TContentInterceptor* m_interceptor;
    QList<QPointer<QWebEnginePage>> m_pages;
    TIEOptions::Switches m_switches;
};

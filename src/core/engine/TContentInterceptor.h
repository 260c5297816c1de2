#pragma once

#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>

#include <atomic>

// Keeps switched-off content off the network for the pages it is set on:
// with pictures off no image is requested (the engine's own setting only
// defers them, and a page's script could still ask), with videos off no
// audio or video element loads its media. Shared by every page of the
// profile; the switches may change at any time.
class TContentInterceptor : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT
public:
    explicit TContentInterceptor(QObject* parent = nullptr);

    void setLoadImages(bool on) { m_images.store(on, std::memory_order_relaxed); }
    void setLoadMedia(bool on) { m_media.store(on, std::memory_order_relaxed); }

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

    // Whether a request of type is refused with these switches. Favicons,
    // documents, scripts and the rest are never refused: a page must work
    // without its pictures.
    static bool refuses(QWebEngineUrlRequestInfo::ResourceType type, bool images, bool media);

private:
    std::atomic<bool> m_images{true};
    std::atomic<bool> m_media{true};
};

#include "core/engine/TContentInterceptor.h"

TContentInterceptor::TContentInterceptor(QObject* parent) : QWebEngineUrlRequestInterceptor(parent)
{
}

void TContentInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    if (refuses(info.resourceType(), m_images.load(std::memory_order_relaxed),
                m_media.load(std::memory_order_relaxed)))
        info.block(true);
}

bool TContentInterceptor::refuses(QWebEngineUrlRequestInfo::ResourceType type, bool images,
                                  bool media)
{
    switch (type)
    {
    case QWebEngineUrlRequestInfo::ResourceTypeImage:
        return !images;
    case QWebEngineUrlRequestInfo::ResourceTypeMedia:
        return !media;
    default:
        return false;
    }
}

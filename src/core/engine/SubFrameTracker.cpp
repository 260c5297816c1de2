#include "core/engine/SubFrameTracker.h"

#include <algorithm>

FrameId SubFrameTracker::requestId(bool redirect)
{
    if (redirect && m_pending.size() == 1)
        return m_pending.takeFirst().id;
    return m_nextId++;
}

void SubFrameTracker::requestAccepted(const QUrl& url, FrameId id)
{
    m_pending.append({url, id});
}

std::optional<FrameId> SubFrameTracker::documentCreated(const QString& token, const QUrl& url)
{
    // Documents that never went to a server (the empty document every frame
    // starts with, srcdoc) have no navigation to complete.
    if (url.scheme() == QLatin1String("about") || m_tokens.contains(token))
        return std::nullopt;
    FrameId id = 0;
    const auto pending = std::find_if(m_pending.begin(), m_pending.end(),
                                      [&](const PendingFrame& frame) { return frame.url == url; });
    if (pending != m_pending.end())
    {
        id = pending->id;
        m_pending.erase(pending);
    }
    else
        id = m_nextId++;
    m_tokens.insert(token, id);
    return id;
}

std::optional<FrameId> SubFrameTracker::documentLoaded(const QString& token)
{
    const auto known = m_tokens.constFind(token);
    if (known == m_tokens.constEnd())
        return std::nullopt;
    const FrameId id = known.value();
    m_tokens.erase(known);
    return id;
}

void SubFrameTracker::clear()
{
    m_pending.clear();
    m_tokens.clear();
}

#pragma once

#include "core/engine/IBrowserControl.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

// The numbers of the sub-frame documents of one top-level document. The
// engine asks about a sub-frame's navigation by address and the probe script
// reports its documents by a token of their own; a document keeps the number
// its navigation got when the two can be matched by address.
class SubFrameTracker
{
public:
    // The number for a sub-frame's BeforeNavigate. A redirect continues the
    // frame's navigation when only one is waiting for its document.
    FrameId requestId(bool redirect);
    // The navigation was accepted: its document is waited for.
    void requestAccepted(const QUrl& url, FrameId id);
    // A sub-frame document was created: the number its NavigateComplete
    // carries, or nothing when there is no navigation to complete (a
    // document that never went to a server, one already reported).
    std::optional<FrameId> documentCreated(const QString& token, const QUrl& url);
    // The document finished loading: the number its DocumentComplete
    // carries, or nothing for a document that was never announced.
    std::optional<FrameId> documentLoaded(const QString& token);
    // A new top-level document: the frames of the old one are gone.
    void clear();

private:
    struct PendingFrame
    {
        QUrl url;
        FrameId id;
    };
    QList<PendingFrame> m_pending;
    QHash<QString, FrameId> m_tokens;
    FrameId m_nextId = 1;
};

#pragma once

#include "core/engine/IBrowserControl.h"

#include <QString>

// Whether a tab's page is as secure as an https address promises, from the
// documents that arrive in it.
class TabSecurityRule
{
public:
    // A document that makes the page insecure: anything not from https,
    // except a frame that holds no content of its own from the network.
    static bool insecureArrival(FrameId frame, const QString& url);
    // The page's security once the tracked navigation of frame arrived: a
    // frame's own navigation can lower it, never raise it above what the
    // top-level document has.
    static bool secureAfter(FrameId frame, bool secure, bool insecureSeen);
};

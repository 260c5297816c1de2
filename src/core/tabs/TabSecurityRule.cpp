#include "core/tabs/TabSecurityRule.h"

bool TabSecurityRule::insecureArrival(FrameId frame, const QString& url)
{
    if (url.left(5) == QLatin1String("https"))
        return false;
    const bool emptyFrame =
        url == QLatin1String("about:blank") || url == QLatin1String("about:srcdoc");
    return frame == TopFrame || !emptyFrame;
}

bool TabSecurityRule::secureAfter(FrameId frame, bool secure, bool insecureSeen)
{
    return frame == TopFrame ? !insecureSeen : secure && !insecureSeen;
}

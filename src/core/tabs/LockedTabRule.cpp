#include "core/tabs/LockedTabRule.h"

bool LockedTabRule::divertsToNewTab(const NavigationRequest& request, const QString& currentUrl)
{
    // A new tab could only repeat a form as a plain request without its
    // data; the submission stays where the user filled the form in.
    if (request.kind == NavigationRequest::FormSubmitted)
        return false;
    // A redirect continues a navigation this tab already let through (a
    // diverted one never reached the server).
    if (request.kind == NavigationRequest::Redirect && request.frame == TopFrame)
        return false;
    if (request.frame != TopFrame && request.frame != UnknownFrame)
    {
        // The page's own frames keep loading in place; a link the user
        // follows inside a frame leaves the page like any other.
        return request.userInitiated || request.kind == NavigationRequest::LinkClicked;
    }
    // Reloading the page the tab keeps is not leaving it.
    const bool samePage = request.url == currentUrl;
    if (samePage &&
        (request.kind == NavigationRequest::Reload || request.kind == NavigationRequest::Program))
        return false;
    return true;
}

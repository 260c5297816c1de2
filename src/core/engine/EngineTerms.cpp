#include "core/engine/EngineTerms.h"

QString EngineTerms::addressText(const QUrl& url)
{
    return url.toString(QUrl::FullyEncoded);
}

bool EngineTerms::isAbout(const QUrl& url)
{
    return url.scheme() == QLatin1String("about");
}

bool EngineTerms::isRecordable(const QUrl& url)
{
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("file");
}

bool EngineTerms::isReloadable(const QUrl& url)
{
    return isRecordable(url) || url.scheme() == QLatin1String("quillwave");
}

NavigationRequest::Kind EngineTerms::kindOf(QWebEnginePage::NavigationType type)
{
    switch (type)
    {
    case QWebEnginePage::NavigationTypeTyped:
        return NavigationRequest::Program;
    case QWebEnginePage::NavigationTypeLinkClicked:
        return NavigationRequest::LinkClicked;
    case QWebEnginePage::NavigationTypeFormSubmitted:
        return NavigationRequest::FormSubmitted;
    case QWebEnginePage::NavigationTypeBackForward:
        return NavigationRequest::BackForward;
    case QWebEnginePage::NavigationTypeReload:
        return NavigationRequest::Reload;
    case QWebEnginePage::NavigationTypeRedirect:
        return NavigationRequest::Redirect;
    case QWebEnginePage::NavigationTypeOther:
        break;
    }
    return NavigationRequest::Other;
}

QWebEnginePage::WebAction EngineTerms::actionOf(EditCommand command)
{
    switch (command)
    {
    case EditCut:
        return QWebEnginePage::Cut;
    case EditCopy:
        return QWebEnginePage::Copy;
    case EditPaste:
        return QWebEnginePage::Paste;
    case EditSelectAll:
        return QWebEnginePage::SelectAll;
    }
    return QWebEnginePage::Copy;
}

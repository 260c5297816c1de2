#include "FakeBrowserControl.h"

using namespace Qt::StringLiterals;

FakeBrowserControl::FakeBrowserControl(QWidget* parent) : m_widget(new QWidget(parent)) {}

FakeBrowserControl::~FakeBrowserControl()
{
    delete m_widget.data();
}

BrowserControlFactory FakeBrowserControl::factory(QList<FakeBrowserControl*>* made)
{
    return [made](QWidget* parent) -> IBrowserControl*
    {
        auto* control = new FakeBrowserControl(parent);
        if (made)
            made->append(control);
        return control;
    };
}

QWidget* FakeBrowserControl::widget()
{
    return m_widget.data();
}

void FakeBrowserControl::setEvents(IBrowserEvents* events)
{
    m_events = events;
}

void FakeBrowserControl::Navigate(const QString& url)
{
    log << u"Navigate "_s + url;
    navigations << url;
    if (runNavigations)
        simulateNavigation(url, NavigationRequest::Program);
}

void FakeBrowserControl::Stop()
{
    log << u"Stop"_s;
    ++stops;
    busy = false;
}

void FakeBrowserControl::Refresh(bool complete)
{
    log << (complete ? u"Refresh complete"_s : u"Refresh normal"_s);
    refreshes << complete;
}

void FakeBrowserControl::GoBack()
{
    log << u"GoBack"_s;
    ++backs;
}

void FakeBrowserControl::GoForward()
{
    log << u"GoForward"_s;
    ++forwards;
}

void FakeBrowserControl::WriteDocument(const QString& html)
{
    log << u"WriteDocument"_s;
    writtenDocuments << html;
}

void FakeBrowserControl::LoadBlank(const QString& html)
{
    log << u"LoadBlank"_s;
    blankPages << html;
    const QString blank = u"about:blank"_s;
    locationUrl = blank;
    locationName = blank;
    readyState = 4;
    if (runNavigations)
    {
        fireNavigateComplete(blank);
        fireDocumentComplete(blank);
    }
}

void FakeBrowserControl::FollowNextLink(const std::function<void(bool found)>& done)
{
    log << u"FollowNextLink"_s;
    ++nextLinkRequests;
    const bool found = !nextLinkUrl.isEmpty();
    if (found)
    {
        Stop();
        Navigate(nextLinkUrl);
    }
    if (done)
        done(found);
}

void FakeBrowserControl::FocusPage()
{
    log << u"FocusPage"_s;
    ++focusRequests;
}

void FakeBrowserControl::ExecEdit(EditCommand command)
{
    static const QStringList names = {u"Cut"_s, u"Copy"_s, u"Paste"_s, u"SelectAll"_s};
    log << u"ExecEdit "_s + names.value(command);
    editCommands << command;
}

void FakeBrowserControl::QueryPageProperties(const std::function<void(const PageProperties&)>& done)
{
    log << u"QueryPageProperties"_s;
    ++propertyQueries;
    if (holdPropertyQueries)
        m_heldPropertyQueries << done;
    else if (done)
        done(pageProperties);
}

void FakeBrowserControl::FindText(const QString& text, bool backward, bool matchCase,
                                  const std::function<void(const FindResult&)>& done)
{
    log << u"FindText "_s + text + (backward ? u" backward"_s : QString()) +
               (matchCase ? u" case"_s : QString());
    if (done)
        done(text.isEmpty() ? FindResult{} : findResult);
}

void FakeBrowserControl::SavePage(const QString& path, PageSaveFormat format,
                                  const std::function<void(bool ok)>& done)
{
    log << u"SavePage "_s + QString::number(int(format)) + u' ' + path;
    if (done)
        done(saveSucceeds);
}

bool FakeBrowserControl::PrintPage(QPrinter*, const std::function<void(bool ok)>& done)
{
    log << u"PrintPage"_s;
    if (done)
        done(printSucceeds);
    return true;
}

void FakeBrowserControl::SetZoomFactor(double factor)
{
    log << u"SetZoomFactor "_s + QString::number(factor);
    zoomFactors << factor;
    zoomFactor = factor;
}

void FakeBrowserControl::answerPropertyQueries()
{
    const QList<std::function<void(const PageProperties&)>> held = m_heldPropertyQueries;
    m_heldPropertyQueries.clear();
    for (const auto& done : held)
        if (done)
            done(pageProperties);
}

bool FakeBrowserControl::fireBeforeNavigate(const NavigationRequest& request)
{
    return m_events ? m_events->BeforeNavigate(request) : true;
}

bool FakeBrowserControl::fireBeforeNavigate(const QString& url, FrameId frame,
                                            NavigationRequest::Kind kind, bool userInitiated)
{
    NavigationRequest request;
    request.url = url;
    request.frame = frame;
    request.kind = kind;
    request.userInitiated = userInitiated;
    return fireBeforeNavigate(request);
}

IBrowserControl* FakeBrowserControl::fireNewWindow(const QString& url, bool userInitiated)
{
    return m_events ? m_events->NewWindow(url, userInitiated) : nullptr;
}

void FakeBrowserControl::fireNavigateComplete(const QString& url, FrameId frame)
{
    if (m_events)
        m_events->NavigateComplete(frame, url);
}

void FakeBrowserControl::fireDocumentComplete(const QString& url, FrameId frame)
{
    if (m_events)
        m_events->DocumentComplete(frame, url);
}

void FakeBrowserControl::fireTitle(const QString& title)
{
    locationName = title;
    if (m_events)
        m_events->TitleChange(title);
}

void FakeBrowserControl::fireStatusText(const QString& text)
{
    if (m_events)
        m_events->StatusTextChange(text);
}

void FakeBrowserControl::fireProgress(int progress, int maximum)
{
    if (m_events)
        m_events->ProgressChange(progress, maximum);
}

void FakeBrowserControl::fireCommandState(int command, bool enabled)
{
    if (m_events)
        m_events->CommandStateChange(command, enabled);
}

void FakeBrowserControl::fireWindowClosing()
{
    if (m_events)
        m_events->WindowClosing();
}

void FakeBrowserControl::fireIcon(const QIcon& newIcon)
{
    icon = newIcon;
    if (m_events)
        m_events->IconChange(newIcon);
}

void FakeBrowserControl::firePageCrashed()
{
    if (m_events)
        m_events->PageCrashed();
}

bool FakeBrowserControl::simulateNavigation(const QString& url, NavigationRequest::Kind kind)
{
    return simulateFramedNavigation(url, {}, kind);
}

bool FakeBrowserControl::simulateFramedNavigation(const QString& url, const QStringList& frameUrls,
                                                  NavigationRequest::Kind kind)
{
    if (!fireBeforeNavigate(url, TopFrame, kind))
        return false;
    busy = true;
    readyState = 1;
    locationUrl = url;
    fireNavigateComplete(url, TopFrame);
    for (int i = 0; i < frameUrls.size(); ++i)
    {
        const FrameId frame = i + 1;
        if (!fireBeforeNavigate(frameUrls.at(i), frame, NavigationRequest::Other))
            continue;
        fireNavigateComplete(frameUrls.at(i), frame);
        fireDocumentComplete(frameUrls.at(i), frame);
    }
    busy = false;
    readyState = 4;
    fireDocumentComplete(url, TopFrame);
    return true;
}

bool FakeBrowserControl::RestoreHistory(const QByteArray& state)
{
    log << u"RestoreHistory"_s;
    history = state;
    return true;
}

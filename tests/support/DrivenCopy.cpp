#include "DrivenCopy.h"

#include "QuillwaveHome.h"
#include "QuillwaveProcess.h"
#include "TestHttpServer.h"
#include "XSession.h"

#include "core/engine/THistoryIndexReader.h"

#include <QFileInfo>
#include <QTest>

#include <algorithm>

DrivenCopy::DrivenCopy(XSession& session, QuillwaveHome& home) : m_x(session), m_home(home) {}

DrivenCopy::~DrivenCopy()
{
    // Beside the home's temporary folder, which goes when the test ends.
    const QString path = QFileInfo(m_home.homePath()).absolutePath() + ".png";
    if (QTest::currentTestFailed() && m_process && m_process->isRunning())
        qInfo("The screen when the test failed: %s",
              m_x.screenshot(path) ? qPrintable(path) : "none taken");
}

bool DrivenCopy::start(const QStringList& arguments)
{
    m_home.setXDisplay(m_x.display());
    m_process = m_home.launchUp(arguments);
    if (!m_process)
        return false;
    m_window = m_x.waitForSettledWindow(m_process->pid(), QStringLiteral("Quillwave"));
    if (!m_window.isEmpty() && m_x.parkPointer() && m_x.focusWindow(m_window))
        return true;
    qWarning("no main window got the focus (%s): %s", qPrintable(m_window),
             qPrintable(m_process->describe()));
    return false;
}

bool DrivenCopy::submitAddress(const TestHttpServer&, const QString& text, const QString& stroke)
{
    // Keys typed right after Alt+D wait for the box to take the keyboard.
    return m_x.key(QStringLiteral("alt+d")) && (text.isEmpty() || m_x.type(text)) &&
           (stroke.isEmpty() || m_x.key(stroke));
}

bool DrivenCopy::strokeHolding(const QString& modifier, const QString& stroke,
                               const std::function<bool()>& done) const
{
    if (!m_x.press(modifier, true))
        return false;
    const bool result = m_x.key(stroke) && QTest::qWaitFor(done, QuillwaveProcess::PatienceMs);
    return m_x.press(modifier, false) && result;
}

QStringList DrivenCopy::popups() const
{
    QStringList windows = m_x.visibleWindows(m_process->pid());
    windows.removeAll(m_window);
    return windows;
}

bool DrivenCopy::waitForCompletedVisit(const QString& url, const QDateTime& since)
{
    // Visit times may be kept to the second.
    const qint64 earliest = since.toMSecsSinceEpoch() / 1000 * 1000;
    const QString root = m_home.homePath() + QStringLiteral("/History");
    const auto visited = [&]
    {
        const QList<THistoryIndexReader::Entry> entries = THistoryIndexReader::allEntries(root);
        return std::any_of(entries.cbegin(), entries.cend(),
                           [&](const THistoryIndexReader::Entry& entry)
                           { return entry.url == url && entry.visitedMs >= earliest; });
    };
    if (QTest::qWaitFor([&] { return visited() || !m_process->isRunning(); },
                        QuillwaveProcess::PatienceMs) &&
        visited())
        return true;
    qWarning("%s never completed: %s", qPrintable(url), qPrintable(m_process->describe()));
    return false;
}

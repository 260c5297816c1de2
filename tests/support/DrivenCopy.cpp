#include "DrivenCopy.h"

#include "QuillwaveHome.h"
#include "QuillwaveProcess.h"
#include "TestHttpServer.h"
#include "XSession.h"

#include "core/engine/THistoryIndexReader.h"

#include <QTest>

#include <algorithm>

bool DrivenCopy::start(const QStringList& arguments)
{
    m_home.setXDisplay(m_x.display());
    m_process = m_home.launchUp(arguments);
    if (!m_process)
        return false;
    const QString window = m_x.waitForSettledWindow(m_process->pid(), QStringLiteral("Quillwave"));
    if (!window.isEmpty() && m_x.parkPointer() && m_x.focusWindow(window))
        return true;
    qWarning("no main window got the focus (%s): %s", qPrintable(window),
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

#include "core/instance/StartupTimeline.h"

#include <QFile>
#include <QMutexLocker>

#include <ctime>
#include <unistd.h>

StartupTimeline::StartupTimeline(const QString& path, qint64 originNs)
    : m_path(path), m_originNs(originNs)
{
}

StartupTimeline* StartupTimeline::process()
{
    // Decided once: the marks sit on the start-up path and must cost nothing
    // when nobody asked for them.
    static StartupTimeline* const timeline = []() -> StartupTimeline*
    {
        const QString path = qEnvironmentVariable(EnvironmentVariable);
        if (path.isEmpty())
            return nullptr;
        const qint64 start = processStart();
        // Without the start time the first mark stands in for it.
        return new StartupTimeline(path, start >= 0 ? start : now());
    }();
    return timeline;
}

bool StartupTimeline::record(const QString& phase, qint64 nowNs)
{
    if (!isEnabled())
        return false;
    const QMutexLocker lock(&m_mutex);
    if (m_marked.contains(phase))
        return false;
    m_marked.insert(phase);
    // Appended in one write: a line is there whole or not at all, and the
    // lines the launcher wrote before it became the browser stay.
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return false;
    const QByteArray text = line(phase, nowNs - m_originNs);
    return file.write(text) == text.size();
}

QByteArray StartupTimeline::line(const QString& phase, qint64 elapsedNs)
{
    QString name = phase.simplified();
    if (name.isEmpty())
        name = QStringLiteral("?");
    return name.toUtf8() + ' ' + QByteArray::number(double(elapsedNs) / 1e6, 'f', 1) + '\n';
}

qint64 StartupTimeline::now()
{
    // The kernel counts a process's start time from boot, suspended time
    // included.
    timespec time{};
    clock_gettime(CLOCK_BOOTTIME, &time);
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}

qint64 StartupTimeline::processStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    return startTimeFromStat(stat.readAll(), sysconf(_SC_CLK_TCK));
}

qint64 StartupTimeline::startTimeFromStat(const QByteArray& stat, long ticksPerSecond)
{
    // The name in parentheses may hold spaces and parentheses itself; the
    // fields after its last ")" begin with the state, field 3. The start
    // time is field 22.
    const qsizetype nameEnd = stat.lastIndexOf(')');
    if (nameEnd < 0 || ticksPerSecond <= 0)
        return -1;
    const QList<QByteArray> fields = stat.mid(nameEnd + 1).simplified().split(' ');
    constexpr int StartTimeAfterName = 22 - 3;
    if (fields.size() <= StartTimeAfterName)
        return -1;
    bool ok = false;
    const qint64 ticks = fields.at(StartTimeAfterName).toLongLong(&ok);
    if (!ok || ticks < 0)
        return -1;
    return ticks * (1000000000 / ticksPerSecond);
}

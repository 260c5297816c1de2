#pragma once

#include <QByteArray>
#include <QMutex>
#include <QSet>
#include <QString>

// A record of when the program reaches each phase of its start-up, for the
// launch benchmark: with QUILLWAVE_TIMELINE naming a file, every phase is
// appended to it as a line "phase ms", the milliseconds since the process
// started, the first time it is reached. The launcher and the browser it
// becomes are one process, so their lines share one clock and one file.
// Without the variable a mark is a test of one flag.
//
// Qt Core only, so that the launcher can mark its phases too.
class StartupTimeline
{
public:
    static constexpr const char* EnvironmentVariable = "QUILLWAVE_TIMELINE";

    // Marks phase in this process's timeline, if it keeps one.
    static void mark(const char* phase)
    {
        if (StartupTimeline* timeline = process())
            timeline->record(QString::fromLatin1(phase), now());
    }

    // A timeline that appends to path (none with an empty path), counting
    // from originNs on the clock of now().
    StartupTimeline(const QString& path, qint64 originNs);

    bool isEnabled() const { return !m_path.isEmpty(); }
    // Appends the phase the first time it is marked; false when it was
    // marked before, the timeline is off or the file cannot be written.
    bool record(const QString& phase, qint64 nowNs);

    // The line for phase reached elapsedNs after the origin: one line
    // whatever the phase's text holds.
    static QByteArray line(const QString& phase, qint64 elapsedNs);
    // Nanoseconds on the clock the system counts process start times on.
    static qint64 now();
    // When this process started, on that clock; -1 when it cannot be read.
    static qint64 processStart();
    // The start time in a /proc/PID/stat text, in nanoseconds, given the
    // clock ticks per second; -1 when the text has no such field.
    static qint64 startTimeFromStat(const QByteArray& stat, long ticksPerSecond);

private:
    // This process's timeline, or nothing when the environment asks for none.
    static StartupTimeline* process();

    QString m_path;
    qint64 m_originNs = 0;
    QMutex m_mutex;
    QSet<QString> m_marked;
};

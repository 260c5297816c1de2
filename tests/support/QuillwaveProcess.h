#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTest>

#include <memory>

// One started program for end-to-end tests: a copy of `quillwave`, the
// launcher, or a helper such as an X server. It is ended when the object
// goes away, however the test ends, so a failed check never leaves a
// browser running.
class QuillwaveProcess
{
public:
    // How long anything may take on a loaded machine before it counts as hung.
    static constexpr int PatienceMs = 40000;

    QuillwaveProcess(const QString& program, const QStringList& arguments,
                     const QProcessEnvironment& environment);
    ~QuillwaveProcess();
    QuillwaveProcess(const QuillwaveProcess&) = delete;
    QuillwaveProcess& operator=(const QuillwaveProcess&) = delete;

    // False when it could not be started at all.
    bool start()
    {
        m_process->start();
        return m_process->waitForStarted(10000);
    }
    qint64 pid() const { return m_process->processId(); }
    bool isRunning() const { return m_process->state() == QProcess::Running; }
    // False when it still runs after timeoutMs. The event loop runs
    // meanwhile: the test may have to answer the process.
    bool waitForExit(int timeoutMs = PatienceMs)
    {
        return QTest::qWaitFor([this] { return !isRunning(); }, timeoutMs);
    }
    bool exitedNormally() const
    {
        return m_process->state() == QProcess::NotRunning &&
               m_process->exitStatus() == QProcess::NormalExit;
    }
    int exitCode() const { return m_process->exitCode(); }
    // Waits for the end; true when it ended by itself with 0, else a
    // warning says how it ended.
    bool endedCleanly(int timeoutMs = PatienceMs);
    // SIGTERM, as a desktop session's end sends it, then endedCleanly().
    bool endCleanly()
    {
        m_process->terminate();
        return endedCleanly();
    }
    // SIGKILL: the program gets no chance to clean up.
    void kill() { m_process->kill(); }

    // Everything it wrote to standard output and error so far.
    QByteArray output();
    // For a failure message: how it ended and what it said.
    QString describe();

    QProcess& process() { return *m_process; }

private:
    std::unique_ptr<QProcess> m_process;
    QByteArray m_output;
};

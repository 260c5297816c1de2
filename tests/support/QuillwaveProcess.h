#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <memory>

// One started copy of the real `quillwave` program, for end-to-end tests.
//
// Made by QuillwaveHome::launch(), which gives it the home's environment; it
// serves as well for any helper program a test starts (an X server, say).
// The process is ended when the object goes away, however the test ends, so
// a failed check never leaves a browser running.
class QuillwaveProcess
{
public:
    QuillwaveProcess(const QString& program, const QStringList& arguments,
                     const QProcessEnvironment& environment);
    ~QuillwaveProcess();
    QuillwaveProcess(const QuillwaveProcess&) = delete;
    QuillwaveProcess& operator=(const QuillwaveProcess&) = delete;

    // Starts the process; false when it could not be started at all.
    bool start();
    qint64 pid() const;
    bool isRunning() const;
    // Waits until the process has ended; false when it still runs after timeoutMs.
    bool waitForExit(int timeoutMs);
    bool exitedNormally() const;
    int exitCode() const;
    // SIGTERM: the program closes as its Exit command does, asking nothing.
    void terminate();
    // SIGKILL: the program gets no chance to clean up.
    void kill();

    // Everything the program wrote to standard output and error so far.
    QByteArray output();
    // A line for a failure message: how the process ended and what it said.
    QString describe();

    QProcess& process() { return *m_process; }

private:
    std::unique_ptr<QProcess> m_process;
    QString m_program;
    QStringList m_arguments;
    QByteArray m_output;
};

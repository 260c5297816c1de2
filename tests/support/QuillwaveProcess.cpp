#include "QuillwaveProcess.h"

#include <csignal>
#include <sys/prctl.h>

QuillwaveProcess::QuillwaveProcess(const QString& program, const QStringList& arguments,
                                   const QProcessEnvironment& environment)
    : m_process(std::make_unique<QProcess>()), m_program(program), m_arguments(arguments)
{
    m_process->setProcessEnvironment(environment);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setProgram(program);
    m_process->setArguments(arguments);
    // Nothing reads the program's standard input; it must not wait on ours.
    m_process->setStandardInputFile(QProcess::nullDevice());
    // Should the test itself die (a crash, the watchdog), the process is
    // told to end too instead of running on without anyone to stop it.
    m_process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

QuillwaveProcess::~QuillwaveProcess()
{
    if (m_process->state() == QProcess::NotRunning)
        return;
    // Asked first, so that it removes what it made (an X server its lock);
    // killed when it does not listen.
    m_process->terminate();
    if (m_process->waitForFinished(3000))
        return;
    m_process->kill();
    m_process->waitForFinished(5000);
}

bool QuillwaveProcess::start()
{
    m_process->start();
    return m_process->waitForStarted(10000);
}

qint64 QuillwaveProcess::pid() const
{
    return m_process->processId();
}

bool QuillwaveProcess::isRunning() const
{
    return m_process->state() == QProcess::Running;
}

bool QuillwaveProcess::waitForExit(int timeoutMs)
{
    if (m_process->state() == QProcess::NotRunning)
        return true;
    return m_process->waitForFinished(timeoutMs);
}

bool QuillwaveProcess::exitedNormally() const
{
    return m_process->state() == QProcess::NotRunning &&
           m_process->exitStatus() == QProcess::NormalExit;
}

int QuillwaveProcess::exitCode() const
{
    return m_process->exitCode();
}

void QuillwaveProcess::terminate()
{
    m_process->terminate();
}

void QuillwaveProcess::kill()
{
    m_process->kill();
}

QByteArray QuillwaveProcess::output()
{
    m_output += m_process->readAll();
    return m_output;
}

QString QuillwaveProcess::describe()
{
    QString state;
    if (isRunning())
        state = QStringLiteral("running");
    else if (m_process->exitStatus() == QProcess::CrashExit)
        state = QStringLiteral("killed or crashed");
    else
        state = QStringLiteral("exited with %1").arg(m_process->exitCode());
    return QStringLiteral("%1 %2 (pid %3): %4; output: %5")
        .arg(m_program, m_arguments.join(QLatin1Char(' ')))
        .arg(pid())
        .arg(state, QString::fromLocal8Bit(output()));
}

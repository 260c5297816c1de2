#include "QuillwaveProcess.h"

#include <csignal>
#include <sys/prctl.h>

QuillwaveProcess::QuillwaveProcess(const QString& program, const QStringList& arguments,
                                   const QProcessEnvironment& environment)
    : m_process(std::make_unique<QProcess>())
{
    m_process->setProcessEnvironment(environment);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setProgram(program);
    m_process->setArguments(arguments);
    // Nothing reads its standard input; it must not wait on ours.
    m_process->setStandardInputFile(QProcess::nullDevice());
    // Should the test itself die (a crash, the watchdog), the process ends
    // too instead of running on without anyone to stop it.
    m_process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

QuillwaveProcess::~QuillwaveProcess()
{
    if (m_process->state() == QProcess::NotRunning)
        return;
    // Asked first, so that it removes what it made (an X server its lock).
    m_process->terminate();
    if (!m_process->waitForFinished(3000))
    {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

bool QuillwaveProcess::endedCleanly(int timeoutMs)
{
    if (waitForExit(timeoutMs) && exitedNormally() && exitCode() == 0)
        return true;
    qWarning("did not end cleanly: %s", qPrintable(describe()));
    return false;
}

QByteArray QuillwaveProcess::output()
{
    m_output += m_process->readAll();
    return m_output;
}

QString QuillwaveProcess::describe()
{
    QString state = QStringLiteral("exited with %1").arg(exitCode());
    if (isRunning())
        state = QStringLiteral("running");
    else if (m_process->exitStatus() == QProcess::CrashExit)
        state = QStringLiteral("killed or crashed");
    return QStringLiteral("%1 %2 (pid %3): %4; output: %5")
        .arg(m_process->program(), m_process->arguments().join(QLatin1Char(' ')))
        .arg(pid())
        .arg(state, QString::fromLocal8Bit(output()));
}

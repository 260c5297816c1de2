#include "XSession.h"

#include "QuillwaveProcess.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <utility>

XSession::~XSession() = default;

QString XSession::missingTools()
{
    QStringList missing;
    for (const QString& name : {"Xvfb", "xdotool", "xwininfo"})
        if (QStandardPaths::findExecutable(name).isEmpty())
            missing << name;
    return missing.isEmpty() ? QString()
                             : "needs " + missing.join(QLatin1Char(' ')) +
                                   " (scripts/install-deps.sh installs them)";
}

bool XSession::start(QString* error)
{
    // Larger than any window the program places on it, so that the pointer
    // can be parked where no window (and so no tool tip) is.
    m_server = std::make_unique<QuillwaveProcess>(
        QStandardPaths::findExecutable(QStringLiteral("Xvfb")),
        // No auto-repeat: on a busy machine a key held between xdotool's
        // press and release repeats, and a repeated Alt closes the menu
        // that Alt+letter has just opened.
        QStringList{"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-r",
                    "-ardelay", "60000"},
        QProcessEnvironment::systemEnvironment());
    m_server->process().setProcessChannelMode(QProcess::SeparateChannels);
    // Xvfb writes the number of the display it took once it accepts clients.
    QByteArray number;
    const auto gotNumber = [&]
    {
        number += m_server->process().readAllStandardOutput();
        return number.contains('\n') || !m_server->isRunning();
    };
    if (!m_server->start() || !QTest::qWaitFor(gotNumber, QuillwaveProcess::PatienceMs) ||
        !number.contains('\n'))
    {
        *error = QStringLiteral("Xvfb gave no display: ") + m_server->describe() +
                 QString::fromLocal8Bit(m_server->process().readAllStandardError());
        return false;
    }
    m_display = QLatin1Char(':') + QString::fromLatin1(number).trimmed();
    m_environment.insert(QStringLiteral("DISPLAY"), m_display);
    return true;
}

QString XSession::run(const QString& program, const QStringList& arguments, int attempts) const
{
    for (int attempt = 0; attempt < attempts; ++attempt)
    {
        QProcess tool;
        tool.setProcessEnvironment(m_environment);
        tool.setStandardInputFile(QProcess::nullDevice());
        tool.start(QStandardPaths::findExecutable(program), arguments);
        if (tool.waitForFinished(15000) && tool.exitStatus() == QProcess::NormalExit &&
            tool.exitCode() == 0)
            // Not null even when the tool printed nothing: null means it failed.
            return QStringLiteral("") + QString::fromLocal8Bit(tool.readAllStandardOutput());
        tool.kill();
        tool.waitForFinished(1000);
    }
    return QString();
}

int XSession::shownWindowCount(qint64 pid) const
{
    // xdotool exits with 1 when it finds nothing: that is a count of none.
    const QString found =
        run("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid)}, 1);
    return int(found.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
}

QString XSession::findWindow(qint64 pid, const QString& title) const
{
    // xdotool matches names as regular expressions without regard to case,
    // and Qt gives helper windows the program's name too: the one sought is
    // titled exactly so and is no override-redirect helper.
    const QStringList candidates =
        run("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid), "--name",
                        QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& candidate : candidates)
    {
        const QString info = run(QStringLiteral("xwininfo"), {"-id", candidate});
        if (info.contains(QLatin1Char('"') + title + QLatin1Char('"')) &&
            info.contains(QStringLiteral("Override Redirect State: no")) &&
            info.contains(QStringLiteral("Map State: IsViewable")))
            return candidate;
    }
    return QString();
}

QString XSession::waitForSettledWindow(qint64 pid, const QString& title) const
{
    QString previous;
    QString now;
    const auto settled = [&]
    {
        previous = std::exchange(now, findWindow(pid, title));
        QTest::qWait(300);
        return !now.isEmpty() && now == previous;
    };
    return QTest::qWaitFor(settled, QuillwaveProcess::PatienceMs) ? now : QString();
}

bool XSession::focusWindow(const QString& window) const
{
    return QTest::qWaitFor(
        [&]
        {
            return !run("xdotool", {"windowfocus", "--sync", window}).isNull() &&
                   run("xdotool", {"getwindowfocus", "-f"}).trimmed() == window;
        },
        QuillwaveProcess::PatienceMs);
}

#include "XSession.h"

#include "QuillwaveProcess.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <utility>

namespace
{
// X tools fail now and then when a window goes away while they walk the
// tree; such a failure is no answer, so the question is asked again.
constexpr int ToolAttempts = 3;

// Runs program once: its standard output, or a null string when it failed.
QString runOnce(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& environment)
{
    QProcess tool;
    tool.setProcessEnvironment(environment);
    tool.setStandardInputFile(QProcess::nullDevice());
    tool.start(QStandardPaths::findExecutable(program), arguments);
    if (!tool.waitForFinished(15000) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0)
    {
        tool.kill();
        tool.waitForFinished(1000);
        return QString();
    }
    // Not null even when the tool printed nothing: null means it failed.
    return QStringLiteral("") + QString::fromLocal8Bit(tool.readAllStandardOutput());
}
} // namespace

XSession::~XSession() = default;

QString XSession::missingTools()
{
    QStringList missing;
    for (const QString& name : {"Xvfb", "xdotool", "xwininfo", "import"})
        if (QStandardPaths::findExecutable(name).isEmpty())
            missing << name;
    return missing.join(QLatin1Char(' '));
}

bool XSession::start(QString* error)
{
    // Larger than any window the program places on it, so that the pointer
    // can be parked where no window (and so no tool tip) is.
    m_server = std::make_unique<QuillwaveProcess>(
        QStandardPaths::findExecutable(QStringLiteral("Xvfb")),
        QStringList{"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
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

QString XSession::run(const QString& program, const QStringList& arguments) const
{
    QString answer;
    for (int attempt = 0; attempt < ToolAttempts && answer.isNull(); ++attempt)
        answer = runOnce(program, arguments, m_environment);
    return answer;
}

QString XSession::xdotool(const QStringList& arguments) const
{
    return run(QStringLiteral("xdotool"), arguments);
}

bool XSession::send(const QStringList& arguments) const
{
    return !runOnce(QStringLiteral("xdotool"), arguments, m_environment).isNull();
}

QString XSession::findWindow(qint64 pid, const QString& title) const
{
    // xdotool matches names as regular expressions without regard to case,
    // and Qt gives helper windows the program's name too: the one sought is
    // titled exactly so and is no override-redirect helper.
    const QStringList candidates =
        xdotool({"search", "--onlyvisible", "--pid", QString::number(pid), "--name",
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

QStringList XSession::visibleWindows(qint64 pid) const
{
    return xdotool({"search", "--onlyvisible", "--pid", QString::number(pid)})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool XSession::focusWindow(const QString& window) const
{
    return QTest::qWaitFor(
        [&]
        {
            return !xdotool({"windowfocus", "--sync", window}).isNull() &&
                   xdotool({"getwindowfocus", "-f"}).trimmed() == window;
        },
        QuillwaveProcess::PatienceMs);
}

bool XSession::parkPointer() const
{
    return !xdotool({"mousemove", "1279", "1023"}).isNull();
}

bool XSession::type(const QString& text) const
{
    return send({"type", "--delay", "20", "--", text});
}

bool XSession::key(const QString& stroke) const
{
    return send({"key", "--delay", "50", "--", stroke});
}

bool XSession::press(const QString& name, bool down) const
{
    return send({down ? QStringLiteral("keydown") : QStringLiteral("keyup"), name});
}

bool XSession::screenshot(const QString& path) const
{
    return !run(QStringLiteral("import"), {"-window", "root", path}).isNull();
}

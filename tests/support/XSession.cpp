#include "XSession.h"

#include "QuillwaveProcess.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace
{
constexpr int ToolTimeoutMs = 15000;
// X tools fail now and then when a window goes away while they walk the
// tree; such a failure is no answer, so the question is asked again.
constexpr int ToolAttempts = 3;

QString toolPath(const char* name)
{
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

// Runs program once; its standard output, or a null string when it failed.
QString runOnce(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& environment, QByteArray* binary = nullptr)
{
    QProcess tool;
    tool.setProcessEnvironment(environment);
    tool.setStandardInputFile(QProcess::nullDevice());
    tool.start(program, arguments);
    if (!tool.waitForFinished(ToolTimeoutMs) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0)
    {
        tool.kill();
        tool.waitForFinished(1000);
        return QString();
    }
    const QByteArray output = tool.readAllStandardOutput();
    if (binary)
        *binary = output;
    // Not null even when the tool printed nothing: null means it failed.
    return QStringLiteral("") + QString::fromLocal8Bit(output);
}
} // namespace

XSession::XSession(WindowManager windowManager) : m_windowManagerKind(windowManager) {}

XSession::~XSession() = default;

QString XSession::missingTools(WindowManager windowManager)
{
    QStringList needed = {QStringLiteral("Xvfb"), QStringLiteral("xdotool"),
                          QStringLiteral("xwininfo"), QStringLiteral("import")};
    if (windowManager == WindowManager::Openbox)
        needed << QStringLiteral("openbox") << QStringLiteral("xprop");
    QStringList missing;
    for (const QString& name : std::as_const(needed))
        if (QStandardPaths::findExecutable(name).isEmpty())
            missing << name;
    return missing.join(QLatin1Char(' '));
}

bool XSession::underCi()
{
    return !qEnvironmentVariableIsEmpty("CI");
}

bool XSession::start(QString* error)
{
    const auto fail = [error](const QString& why)
    {
        if (error)
            *error = why;
        return false;
    };
    const QString server = toolPath("Xvfb");
    if (server.isEmpty())
        return fail(QStringLiteral("Xvfb is not installed"));
    // Larger than any window the program places on it, so that the pointer
    // can be parked where no window (and so no tool tip) is.
    m_server = std::make_unique<QuillwaveProcess>(
        server,
        QStringList{QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                    QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                    QStringLiteral("-nolisten"), QStringLiteral("tcp")},
        QProcessEnvironment::systemEnvironment());
    m_server->process().setProcessChannelMode(QProcess::SeparateChannels);
    if (!m_server->start())
        return fail(QStringLiteral("Xvfb did not start"));
    // Xvfb writes the number of the display it took once it accepts clients.
    QByteArray number;
    const QDeadlineTimer deadline(20000);
    while (!number.contains('\n') && m_server->isRunning() && !deadline.hasExpired())
    {
        m_server->process().waitForReadyRead(100);
        number += m_server->process().readAllStandardOutput();
    }
    if (!number.contains('\n'))
        return fail(QStringLiteral("Xvfb gave no display: ") + m_server->describe() +
                    QString::fromLocal8Bit(m_server->process().readAllStandardError()));
    m_display = QLatin1Char(':') + QString::fromLatin1(number).trimmed();
    if (m_windowManagerKind == WindowManager::None)
        return true;
    return startWindowManager(error);
}

bool XSession::startWindowManager(QString* error)
{
    const auto fail = [error](const QString& why)
    {
        if (error)
            *error = why;
        return false;
    };
    const QString program = toolPath("openbox");
    if (program.isEmpty())
        return fail(QStringLiteral("openbox is not installed"));
    if (!m_windowManagerHome.isValid())
        return fail(QStringLiteral("no temporary folder for the window manager"));
    // A home of its own: the user's configuration does not change how it
    // places windows, and its log goes away with the session.
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("HOME"), m_windowManagerHome.path());
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        env.remove(QString::fromLatin1(name));
    m_windowManager = std::make_unique<QuillwaveProcess>(
        program, QStringList{QStringLiteral("--sm-disable")}, env);
    if (!m_windowManager->start())
        return fail(QStringLiteral("openbox did not start"));
    // It names its check window on the root window once it manages the screen.
    const QDeadlineTimer deadline(20000);
    while (m_windowManager->isRunning() && !deadline.hasExpired())
    {
        if (run(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                .contains(QStringLiteral("window id")))
            return true;
        QTest::qWait(100);
    }
    return fail(QStringLiteral("openbox did not take the screen: ") + m_windowManager->describe());
}

bool XSession::isRunning() const
{
    return m_server && m_server->isRunning();
}

QProcessEnvironment XSession::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    return env;
}

QString XSession::run(const QString& program, const QStringList& arguments) const
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return QString();
    QString answer;
    for (int attempt = 0; attempt < ToolAttempts && answer.isNull(); ++attempt)
        answer = runOnce(path, arguments, environment());
    return answer;
}

QString XSession::xdotool(const QStringList& arguments) const
{
    return run(QStringLiteral("xdotool"), arguments);
}

QString XSession::findWindow(qint64 pid, const QString& title) const
{
    // xdotool matches names as regular expressions without regard to case,
    // and Qt gives helper windows the program's name too: the one sought is
    // titled exactly so and is no override-redirect helper.
    const QStringList candidates =
        xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                 QString::number(pid), QStringLiteral("--name"),
                 QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& candidate : candidates)
    {
        const QString info = run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), candidate});
        if (info.contains(QLatin1Char('"') + title + QLatin1Char('"')) &&
            info.contains(QStringLiteral("Override Redirect State: no")) &&
            info.contains(QStringLiteral("Map State: IsViewable")))
            return candidate;
    }
    return QString();
}

QString XSession::waitForSettledWindow(qint64 pid, const QString& title, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    QString previous;
    while (!deadline.hasExpired())
    {
        const QString now = findWindow(pid, title);
        if (!now.isEmpty() && now == previous)
            return now;
        previous = now;
        QTest::qWait(300);
    }
    return QString();
}

QStringList XSession::visibleWindows(qint64 pid) const
{
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                    QStringLiteral("--pid"), QString::number(pid)})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString XSession::focusedWindow() const
{
    return xdotool({QStringLiteral("getwindowfocus"), QStringLiteral("-f")}).trimmed();
}

QString XSession::mapState(const QString& window) const
{
    static const QRegularExpression state(QStringLiteral("Map State: (\\w+)"));
    return state.match(run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window}))
        .captured(1);
}

bool XSession::isManagedNormal(const QString& window) const
{
    return !window.isEmpty() &&
           run(QStringLiteral("xprop"), {QStringLiteral("-id"), window, QStringLiteral("WM_STATE")})
               .contains(QStringLiteral("Normal"));
}

bool XSession::minimize(const QString& window) const
{
    return !xdotool({QStringLiteral("windowminimize"), window}).isNull();
}

QString XSession::describeWindows(qint64 pid) const
{
    QString report =
        run(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
    const QStringList windows =
        xdotool({QStringLiteral("search"), QStringLiteral("--pid"), QString::number(pid)})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& window : windows)
        report += run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window}).simplified() +
                  QLatin1Char('\n');
    if (m_windowManager)
        report += QStringLiteral("window manager: ") + m_windowManager->describe().left(300);
    return report;
}

bool XSession::focusWindow(const QString& window, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired())
    {
        if (!xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}).isNull() &&
            focusedWindow() == window)
            return true;
        QTest::qWait(200);
    }
    return false;
}

bool XSession::click(const QString& window, const QPoint& pos) const
{
    return !xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"),
                     QStringLiteral("--window"), window, QString::number(pos.x()),
                     QString::number(pos.y()), QStringLiteral("click"), QStringLiteral("1")})
                .isNull() &&
           parkPointer();
}

bool XSession::parkPointer() const
{
    return !xdotool({QStringLiteral("mousemove"), QStringLiteral("1279"), QStringLiteral("1023")})
                .isNull();
}

bool XSession::type(const QString& text) const
{
    // Not asked again: a repeated run would type the text twice.
    return !runOnce(toolPath("xdotool"),
                    {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"),
                     QStringLiteral("--"), text},
                    environment())
                .isNull();
}

bool XSession::key(const QStringList& strokes) const
{
    return !runOnce(toolPath("xdotool"),
                    QStringList{QStringLiteral("key"), QStringLiteral("--delay"),
                                QStringLiteral("50"), QStringLiteral("--")} +
                        strokes,
                    environment())
                .isNull();
}

bool XSession::keyDown(const QString& name) const
{
    return !runOnce(toolPath("xdotool"), {QStringLiteral("keydown"), name}, environment()).isNull();
}

bool XSession::keyUp(const QString& name) const
{
    return !runOnce(toolPath("xdotool"), {QStringLiteral("keyup"), name}, environment()).isNull();
}

QImage XSession::grabWindow(const QString& window) const
{
    QByteArray png;
    for (int attempt = 0; attempt < ToolAttempts && png.isEmpty(); ++attempt)
        runOnce(toolPath("import"), {QStringLiteral("-window"), window, QStringLiteral("png:-")},
                environment(), &png);
    return QImage::fromData(png, "PNG");
}

bool XSession::screenshot(const QString& path) const
{
    return !run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path})
                .isNull();
}

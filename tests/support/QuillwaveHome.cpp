#include "QuillwaveHome.h"

#include "chrome/TUserAgentToken.h"
#include "core/instance/TInstanceChannel.h"
#include "core/store/RegistryKeys.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTest>

namespace
{
// Runs fn with the variable set to value in this process, then puts it back.
template <typename Fn> auto withVariable(const char* name, const QString& value, Fn fn)
{
    const bool wasSet = qEnvironmentVariableIsSet(name);
    const QByteArray saved = qgetenv(name);
    qputenv(name, QFile::encodeName(value));
    auto result = fn();
    if (wasSet)
        qputenv(name, saved);
    else
        qunsetenv(name);
    return result;
}
} // namespace

QuillwaveHome::QuillwaveHome() : m_root(QDir::tempPath() + QStringLiteral("/qw-e2e-XXXXXX"))
{
    if (!m_root.isValid())
        return;
    for (const QString& folder : {homePath(), runtimePath(), configPath(), dataPath(),
                                  m_root.filePath(QStringLiteral("cache"))})
    {
        if (!QDir().mkpath(folder))
            return;
    }
    // A runtime folder is private to its user, as the desktop makes it.
    if (!QFile::setPermissions(runtimePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner))
        return;
    // The channel folder as a copy started with this environment works it out.
    m_channelFolder =
        withVariable("XDG_RUNTIME_DIR", runtimePath(),
                     [this] { return TInstanceChannel::channelFolderFor(databasePath()); });
    m_valid = m_channelFolder.startsWith(runtimePath() + QLatin1Char('/'));
}

QuillwaveHome::~QuillwaveHome()
{
    // Newest first: a forwarding copy goes before the copy it talks to.
    while (!m_copies.empty())
        m_copies.pop_back();
}

QString QuillwaveHome::homePath() const
{
    return m_root.filePath(QStringLiteral("home"));
}

QString QuillwaveHome::runtimePath() const
{
    return m_root.filePath(QStringLiteral("run"));
}

QString QuillwaveHome::configPath() const
{
    return m_root.filePath(QStringLiteral("config"));
}

QString QuillwaveHome::dataPath() const
{
    return m_root.filePath(QStringLiteral("data"));
}

QString QuillwaveHome::databasePath() const
{
    return homePath() + QStringLiteral("/settings.sqlite");
}

QString QuillwaveHome::socketPath() const
{
    return m_channelFolder + QStringLiteral("/instance");
}

QString QuillwaveHome::programPath()
{
    return QStringLiteral(QW_BIN_DIR "/quillwave");
}

QString QuillwaveHome::regToolPath()
{
    return QStringLiteral(QW_BIN_DIR "/quillwave-reg");
}

QString QuillwaveHome::valueKey()
{
    return RegistryKeys::ValueKey;
}

QString QuillwaveHome::userAgentKey()
{
    return RegistryKeys::UserAgentPostPlatform;
}

QProcessEnvironment QuillwaveHome::environment(Display display) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUILLWAVE_HOME"), homePath());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimePath());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configPath());
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataPath());
    env.insert(QStringLiteral("XDG_CACHE_HOME"), m_root.filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    if (display == Display::Offscreen)
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    else
    {
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        if (!m_xDisplay.isEmpty())
            env.insert(QStringLiteral("DISPLAY"), m_xDisplay);
    }
    return env;
}

QuillwaveProcess* QuillwaveHome::launch(const QStringList& arguments, Display display)
{
    m_copies.push_back(
        std::make_unique<QuillwaveProcess>(programPath(), arguments, environment(display)));
    QuillwaveProcess* copy = m_copies.back().get();
    return copy->start() ? copy : nullptr;
}

QuillwaveProcess* QuillwaveHome::launchIn(const QString& workingFolder,
                                          const QStringList& arguments)
{
    m_copies.push_back(std::make_unique<QuillwaveProcess>(programPath(), arguments,
                                                          environment(Display::Offscreen)));
    QuillwaveProcess* copy = m_copies.back().get();
    copy->process().setWorkingDirectory(workingFolder);
    return copy->start() ? copy : nullptr;
}

int QuillwaveHome::reg(const QStringList& arguments, QString* output) const
{
    QProcess tool;
    tool.setProcessEnvironment(environment());
    tool.setStandardInputFile(QProcess::nullDevice());
    tool.start(regToolPath(), arguments);
    if (!tool.waitForFinished(15000) || tool.exitStatus() != QProcess::NormalExit)
    {
        tool.kill();
        tool.waitForFinished(1000);
        return -1;
    }
    if (output)
        *output = QString::fromUtf8(tool.readAllStandardOutput());
    return tool.exitCode();
}

bool QuillwaveHome::setValue(const QString& name, const QString& text) const
{
    return reg({QStringLiteral("set"), valueKey(), name, text}) == 0;
}

std::optional<QString> QuillwaveHome::value(const QString& name) const
{
    QString text;
    if (reg({QStringLiteral("get"), valueKey(), name}, &text) != 0)
        return std::nullopt;
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

QString QuillwaveHome::exportText(const QString& key) const
{
    QStringList arguments{QStringLiteral("export")};
    if (!key.isEmpty())
        arguments << key;
    QString text;
    return reg(arguments, &text) == 0 ? text : QString();
}

bool QuillwaveHome::hasUserAgentToken() const
{
    const QString line = QLatin1Char('"') + TUserAgentToken::TokenName + QStringLiteral("\"=");
    return exportText().contains(line);
}

bool QuillwaveHome::removeUserAgentToken() const
{
    return reg({QStringLiteral("delete"), userAgentKey(), TUserAgentToken::TokenName}) == 0;
}

bool QuillwaveHome::isListening() const
{
    QLocalSocket probe;
    probe.connectToServer(socketPath());
    const bool connected = probe.waitForConnected(1000);
    probe.abort();
    return connected;
}

bool QuillwaveHome::waitUntilUp(QuillwaveProcess* copy, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired())
    {
        if (!copy || !copy->isRunning())
            return false;
        if (isListening() && hasUserAgentToken())
            return true;
        QTest::qWait(50);
    }
    return false;
}

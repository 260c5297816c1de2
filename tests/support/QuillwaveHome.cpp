#include "QuillwaveHome.h"

#include "chrome/TUserAgentToken.h"
#include "core/instance/TInstanceChannel.h"
#include "core/store/RegistryKeys.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QTest>

#include <map>

QuillwaveHome::QuillwaveHome() : m_root(QDir::tempPath() + QStringLiteral("/qw-e2e-XXXXXX"))
{
    const QString runtime = m_root.filePath(QStringLiteral("run"));
    for (const char* folder : {"home", "run", "config", "data", "cache"})
        if (!m_root.isValid() || !QDir().mkpath(m_root.filePath(QString::fromLatin1(folder))))
            return;
    // A runtime folder is private to its user, as the desktop makes it.
    if (!QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner))
        return;
    // The channel folder as a copy started with this environment works it out.
    const bool wasSet = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    m_channelFolder = TInstanceChannel::channelFolderFor(homePath() + "/settings.sqlite");
    wasSet ? qputenv("XDG_RUNTIME_DIR", saved) : qunsetenv("XDG_RUNTIME_DIR");
    m_valid = m_channelFolder.startsWith(runtime + QLatin1Char('/'));
}

QuillwaveHome::~QuillwaveHome()
{
    // Newest first: a forwarding copy goes before the copy it talks to.
    while (!m_copies.empty())
        m_copies.pop_back();
}

bool QuillwaveHome::seedQuietStore(const QList<QPair<QString, QString>>& values) const
{
    QList<QPair<QString, QString>> all{{"AskDefaultBrowser", "0"},
                                       {"ConfirmShutdown", "0"},
                                       {"PopupVostelNotify", "0"},
                                       {"VersionCheck", "0"},
                                       {"StartupMode", "Last"}};
    for (const auto& [name, text] : all + values)
        if (reg({QStringLiteral("set"), RegistryKeys::ValueKey, name, text}) != 0)
            return false;
    return true;
}

QProcessEnvironment QuillwaveHome::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, folder] : {std::pair{"QUILLWAVE_HOME", "home"},
                                       {"XDG_RUNTIME_DIR", "run"},
                                       {"XDG_CONFIG_HOME", "config"},
                                       {"XDG_DATA_HOME", "data"},
                                       {"XDG_CACHE_HOME", "cache"}})
        env.insert(QString::fromLatin1(name), m_root.filePath(QString::fromLatin1(folder)));
    env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    // Without a display of its own a copy shows its windows nowhere.
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (m_xDisplay.isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    else
        env.insert(QStringLiteral("DISPLAY"), m_xDisplay);
    if (m_hostPort != 0)
    {
        // The engine reads its switches from here; a value with blanks is
        // one switch when it stands in double quotes.
        const QString rules =
            QStringLiteral("--host-resolver-rules=\"MAP * 127.0.0.1:%1, EXCLUDE localhost\"")
                .arg(m_hostPort);
        const QString before = env.value(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"));
        env.insert(QStringLiteral("QTWEBENGINE_CHROMIUM_FLAGS"), before + QLatin1Char(' ') + rules);
    }
    return env;
}

QuillwaveProcess* QuillwaveHome::launch(const QStringList& arguments, const QString& workingFolder,
                                        const QString& program)
{
    m_copies.push_back(std::make_unique<QuillwaveProcess>(program, arguments, environment()));
    QuillwaveProcess* copy = m_copies.back().get();
    copy->process().setWorkingDirectory(workingFolder);
    if (copy->start())
        return copy;
    qWarning("%s could not be started", qPrintable(program));
    return nullptr;
}

int QuillwaveHome::reg(const QStringList& arguments, QString* output) const
{
    QuillwaveProcess tool(QStringLiteral(QW_BIN_DIR "/quillwave-reg"), arguments, environment());
    tool.process().setProcessChannelMode(QProcess::SeparateChannels);
    if (!tool.start() || !tool.waitForExit() || !tool.exitedNormally())
    {
        qWarning("%s", qPrintable(tool.describe()));
        return -1;
    }
    if (output)
        *output = QString::fromUtf8(tool.process().readAllStandardOutput());
    return tool.exitCode();
}

QString QuillwaveHome::exportText(const QString& key) const
{
    QString text;
    return reg(key.isEmpty() ? QStringList{"export"} : QStringList{"export", key}, &text) == 0
               ? text
               : QString();
}

QStringList QuillwaveHome::numberedValues(const QString& key) const
{
    static const QRegularExpression line(QStringLiteral("^\"url(\\d+)\"=\"(.*)\"$"),
                                         QRegularExpression::MultilineOption);
    std::map<int, QString> byNumber;
    for (auto matches = line.globalMatch(exportText(key)); matches.hasNext();)
    {
        const QRegularExpressionMatch match = matches.next();
        byNumber[match.captured(1).toInt()] = match.captured(2);
    }
    QStringList values;
    for (const auto& [number, value] : byNumber)
        values << value;
    return values;
}

QStringList QuillwaveHome::lastOpenSites() const
{
    return numberedValues(RegistryKeys::ValueKey + QLatin1Char('\\') + RegistryKeys::LastOpenSites);
}

QStringList QuillwaveHome::typedUrls() const
{
    return numberedValues(RegistryKeys::TypedUrls);
}

bool QuillwaveHome::hasUserAgentToken() const
{
    return exportText().contains(QLatin1Char('"') + TUserAgentToken::TokenName + "\"=");
}

bool QuillwaveHome::removeUserAgentToken() const
{
    return reg({QStringLiteral("delete"), RegistryKeys::UserAgentPostPlatform,
                TUserAgentToken::TokenName}) == 0;
}

bool QuillwaveHome::isListening() const
{
    QLocalSocket probe;
    probe.connectToServer(m_channelFolder + QStringLiteral("/instance"));
    return probe.waitForConnected(1000);
}

bool QuillwaveHome::waitUntilUp(QuillwaveProcess* copy) const
{
    if (QTest::qWaitFor([&]
                        { return !copy->isRunning() || (isListening() && hasUserAgentToken()); },
                        PatienceMs) &&
        copy->isRunning())
        return true;
    qWarning("the copy did not come up: %s", qPrintable(copy->describe()));
    return false;
}

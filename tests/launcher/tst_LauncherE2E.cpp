#include "QuillwaveHome.h"
#include "QuillwaveProcess.h"

#include "core/instance/TInstanceChannel.h"
#include "launcher/BrowserLauncher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace
{
constexpr int PatienceMs = 20000;

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A copy of the launcher in a folder of its own, with no browser beside it
// and none installed relative to it: if it tried to become the browser it
// would say so and fail, so ending with 0 proves it did the work itself.
class LoneLauncher
{
public:
    LoneLauncher()
    {
        if (!m_folder.isValid())
            return;
        const QString copy = path();
        m_valid = QFile::copy(QuillwaveHome::programPath(), copy) &&
                  QFile::setPermissions(copy, QFile::permissions(QuillwaveHome::programPath()));
    }

    bool isValid() const { return m_valid; }
    QString folder() const { return m_folder.path(); }
    QString path() const { return m_folder.filePath(QStringLiteral("quillwave")); }
    QString browserPath() const { return m_folder.filePath(QStringLiteral("quillwave-browser")); }

private:
    QTemporaryDir m_folder;
    bool m_valid = false;
};

enum class Copy
{
    None,         // nothing has run with the home
    Listening,    // a running copy
    NotListening, // a running copy that does not answer
    Died          // a copy that was killed, leaving its lock file
};

// Stands in for the running copy: holds the home's lock and listens on its
// channel, as the browser's first copy does.
std::unique_ptr<TInstanceChannel> fakeRunningCopy(const QuillwaveHome& home, bool listen)
{
    auto channel = std::make_unique<TInstanceChannel>(home.channelFolder());
    if (!channel->acquireFirstInstance() || !channel->isChannelUsable())
        return nullptr;
    if (listen && !channel->listen())
        return nullptr;
    return channel;
}

} // namespace

class tst_LauncherE2E : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void becomesTheBrowserWhenAlone();
    void forwardsWithoutTheBrowser_data();
    void forwardsWithoutTheBrowser();
    void leavesOtherStartsToTheBrowser_data();
    void leavesOtherStartsToTheBrowser();
    void reportsBrowserItCannotRun_data();
    void reportsBrowserItCannotRun();
    void linksNoWindowLibraries();
};

void tst_LauncherE2E::initTestCase()
{
    QVERIFY2(QFileInfo(QuillwaveHome::programPath()).isExecutable(),
             qPrintable(QuillwaveHome::programPath()));
}

void tst_LauncherE2E::becomesTheBrowserWhenAlone()
{
    QuillwaveHome home;
    QVERIFY(home.isValid());
    QVERIFY(home.setValue(QStringLiteral("AskDefaultBrowser"), QStringLiteral("0")));
    QVERIFY(home.setValue(QStringLiteral("ConfirmShutdown"), QStringLiteral("0")));

    QProcessEnvironment environment = home.environment();
    environment.insert(QStringLiteral("QW_LAUNCHER_TEST_MARK"), QStringLiteral("kept"));
    const QStringList arguments{QStringLiteral("about:blank")};
    QuillwaveProcess copy(QuillwaveHome::programPath(), arguments, environment);
    QVERIFY(copy.start());
    QVERIFY2(home.waitUntilUp(&copy, PatienceMs), qPrintable(copy.describe()));

    // The same process now runs the browser, with the command line and
    // the environment the launcher was given.
    const QString proc = QStringLiteral("/proc/%1/").arg(copy.pid());
    QCOMPARE(QFileInfo(proc + QStringLiteral("exe")).canonicalFilePath(),
             QFileInfo(QStringLiteral(QW_BIN_DIR "/quillwave-browser")).canonicalFilePath());
    const QList<QByteArray> commandLine = readFile(proc + QStringLiteral("cmdline")).split('\0');
    QCOMPARE(commandLine.value(0), QFile::encodeName(QuillwaveHome::programPath()));
    QCOMPARE(commandLine.value(1), QByteArray("about:blank"));
    QVERIFY(readFile(proc + QStringLiteral("environ"))
                .split('\0')
                .contains("QW_LAUNCHER_TEST_MARK=kept"));
    // The browser holds the lock itself.
    QVERIFY(QFileInfo::exists(home.channelFolder() + QStringLiteral("/instance.lock")));

    copy.terminate();
    QVERIFY2(copy.waitForExit(PatienceMs), qPrintable(copy.describe()));
    QVERIFY2(copy.exitedNormally() && copy.exitCode() == 0, qPrintable(copy.describe()));
}

void tst_LauncherE2E::forwardsWithoutTheBrowser_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("received"); // "FILE" stands for the file's absolute path

    // Which argument goes over is the plan's table; here: it goes over whole,
    // a relative file as an absolute path.
    // clang-format off
    QTest::newRow("no argument")         << QStringList{}                                   << "";
    QTest::newRow("relative file")       << QStringList{"saved.vgp"}                        << "FILE";
    QTest::newRow("long address whole")  << QStringList{"http://127.0.0.1:9/search?q=" + QString(5000, u'k')} << "http://127.0.0.1:9/search?q=" + QString(5000, u'k');
    // clang-format on
}

void tst_LauncherE2E::forwardsWithoutTheBrowser()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, received);

    QuillwaveHome home;
    QVERIFY(home.isValid());
    LoneLauncher launcher;
    QVERIFY(launcher.isValid());
    const auto running = fakeRunningCopy(home, true);
    QVERIFY(running);
    QSignalSpy delivered(running.get(), &TInstanceChannel::dataReceived);

    QTemporaryDir workingFolder;
    QVERIFY(workingFolder.isValid());
    if (received == QLatin1String("FILE"))
    {
        received = workingFolder.filePath(arguments.first());
        QFile file(received);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    QuillwaveProcess copy(launcher.path(), arguments, home.environment());
    copy.process().setWorkingDirectory(workingFolder.path());
    QVERIFY(copy.start());
    // The event loop runs meanwhile, so the fake running copy can answer.
    QTRY_VERIFY2_WITH_TIMEOUT(!copy.isRunning(), qPrintable(copy.describe()), PatienceMs);
    QVERIFY2(copy.exitedNormally() && copy.exitCode() == 0, qPrintable(copy.describe()));
    QCOMPARE(delivered.count(), 1);
    QCOMPARE(delivered.at(0).at(0).toString(), received);
    // It found the running copy and said nothing about it.
    QCOMPARE(copy.output(), QByteArray());
}

void tst_LauncherE2E::leavesOtherStartsToTheBrowser_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Copy>("copy");
    QTest::addColumn<QString>("setting"); // AllowMultiInstance; empty: not stored

    // The switches and the setting's readings are the plan's table; here:
    // what the launcher finds of a running copy.
    const QStringList url{QStringLiteral("http://127.0.0.1:9/")};
    // clang-format off
    QTest::newRow("no copy running")            << url                  << Copy::None         << "";
    QTest::newRow("lock of a copy that died")   << url                  << Copy::Died         << "";
    QTest::newRow("--new")                      << QStringList{"--new"} << Copy::Listening    << "";
    QTest::newRow("several copies allowed")     << url                  << Copy::Listening    << "1";
    QTest::newRow("running copy not answering") << url                  << Copy::NotListening << "";
    // clang-format on
}

void tst_LauncherE2E::leavesOtherStartsToTheBrowser()
{
    QFETCH(QStringList, arguments);
    QFETCH(Copy, copy);
    QFETCH(QString, setting);

    QuillwaveHome home;
    QVERIFY(home.isValid());
    LoneLauncher launcher;
    QVERIFY(launcher.isValid());
    if (!setting.isEmpty())
        QVERIFY(home.setValue(QStringLiteral("AllowMultiInstance"), setting));
    const QString lockFile = home.channelFolder() + QStringLiteral("/instance.lock");
    std::unique_ptr<TInstanceChannel> running;
    std::unique_ptr<QSignalSpy> delivered;
    if (copy == Copy::Listening || copy == Copy::NotListening)
    {
        running = fakeRunningCopy(home, copy == Copy::Listening);
        QVERIFY(running);
        delivered = std::make_unique<QSignalSpy>(running.get(), &TInstanceChannel::dataReceived);
    }
    else if (copy == Copy::Died)
    {
        // What a killed copy leaves: a lock file naming it that nobody locks.
        QVERIFY(TInstanceChannel::preparePrivateFolder(home.channelFolder()));
        QFile lock(lockFile);
        QVERIFY(lock.open(QIODevice::WriteOnly));
        QVERIFY(lock.write("2147483646\nquillwave-browser\nsomewhere\n") > 0);
    }

    QuillwaveProcess started(launcher.path(), arguments, home.environment());
    QVERIFY(started.start());
    // The event loop runs meanwhile, so the fake running copy can answer.
    QTRY_VERIFY2_WITH_TIMEOUT(!started.isRunning(), qPrintable(started.describe()), PatienceMs);
    // It tried to become the browser, which is not there.
    QVERIFY2(started.exitedNormally() && started.exitCode() == BrowserLauncher::BrowserNotFound,
             qPrintable(started.describe()));
    QVERIFY2(started.output().contains("quillwave-browser"), qPrintable(started.describe()));
    if (delivered)
        QCOMPARE(delivered->count(), 0);
    // Only the browser ever takes the lock.
    if (copy == Copy::None)
        QVERIFY(!QFileInfo::exists(lockFile));
}

void tst_LauncherE2E::reportsBrowserItCannotRun_data()
{
    QTest::addColumn<bool>("present"); // executable by its mode, in no format the system runs
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("said"); // BROWSER stands for where it looked
    // clang-format off
    QTest::newRow("missing")        << false << int(BrowserLauncher::BrowserNotFound)     << "quillwave: the browser program quillwave-browser is missing";
    QTest::newRow("cannot start")   << true  << int(BrowserLauncher::BrowserNotStartable) << "quillwave: cannot start the browser program BROWSER";
    // clang-format on
}

void tst_LauncherE2E::reportsBrowserItCannotRun()
{
    QFETCH(bool, present);
    QFETCH(int, code);
    QFETCH(QString, said);
    QuillwaveHome home;
    QVERIFY(home.isValid());
    LoneLauncher launcher;
    QVERIFY(launcher.isValid());
    if (present)
    {
        QFile broken(launcher.browserPath());
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write(QByteArray(64, '\x01')) == 64);
        broken.close();
        QVERIFY(broken.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                      QFileDevice::ExeOwner));
    }

    QuillwaveProcess copy(launcher.path(), {}, home.environment());
    QVERIFY(copy.start());
    QVERIFY2(copy.waitForExit(PatienceMs), qPrintable(copy.describe()));
    QCOMPARE(copy.exitCode(), code);
    // Where it looked, so that a broken installation can be put right.
    const QString output = QString::fromLocal8Bit(copy.output());
    QVERIFY2(output.startsWith(said.replace(QStringLiteral("BROWSER"), launcher.browserPath())),
             qPrintable(output));
    QVERIFY2(output.contains(launcher.browserPath()), qPrintable(output));
}

void tst_LauncherE2E::linksNoWindowLibraries()
{
    // What the dynamic loader maps for the launcher, without running it.
    QProcess loader;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_TRACE_LOADED_OBJECTS"), QStringLiteral("1"));
    loader.setProcessEnvironment(environment);
    loader.start(QuillwaveHome::programPath(), {});
    QVERIFY(loader.waitForFinished(PatienceMs));
    const QByteArray libraries = loader.readAllStandardOutput();
    QVERIFY2(libraries.contains("libQt6Core"), libraries.constData());
    for (const char* heavy : {"libQt6Gui", "libQt6Widgets", "libQt6WebEngine", "libQt6Quick"})
        QVERIFY2(!libraries.contains(heavy), libraries.constData());
}

QTEST_GUILESS_MAIN(tst_LauncherE2E)
#include "tst_LauncherE2E.moc"

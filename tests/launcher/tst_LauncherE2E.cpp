#include "QuillwaveHome.h"
#include "QuillwaveProcess.h"

#include "core/instance/TInstanceChannel.h"
#include "launcher/BrowserLauncher.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The launcher as the desktop starts it: it becomes the browser, or hands
// its argument to a running copy without loading the browser's libraries.
class tst_LauncherE2E : public QObject
{
    Q_OBJECT

private slots:
    void becomesTheBrowserWhenAlone();
    void forwardsOrTriesTheBrowser_data();
    void forwardsOrTriesTheBrowser();
    void linksNoWindowLibraries();
};

namespace
{

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A copy of the launcher in a folder of its own, with no browser beside it
// and none installed relative to it: if it tried to become the browser it
// would say so and fail, so ending with 0 proves it did the work itself.
struct LoneLauncher
{
    QTemporaryDir folder;
    QString path() const { return folder.filePath(QStringLiteral("quillwave")); }
    QString browserPath() const { return folder.filePath(QStringLiteral("quillwave-browser")); }
    bool make() const
    {
        const QString program = QuillwaveHome::programPath();
        return folder.isValid() && QFile::copy(program, path()) &&
               QFile::setPermissions(path(), QFile::permissions(program));
    }
};

enum class Found
{
    AnsweringCopy,    // a running copy: a fake holds the home's lock and listens
    NoCopy,           // nothing has run with the home
    SeveralAllowed,   // a running copy, and the setting lets another run
    CopyNotAnswering, // a running copy that takes no records
    BrokenBrowser     // no copy, and a browser program the system cannot run
};
} // namespace

void tst_LauncherE2E::becomesTheBrowserWhenAlone()
{
    QuillwaveHome home;
    QVERIFY(home.isValid() && home.seedQuietStore());
    qputenv("QW_LAUNCHER_TEST_MARK", "kept");
    QuillwaveProcess* copy = home.launchUp({"about:blank"});
    qunsetenv("QW_LAUNCHER_TEST_MARK");
    QVERIFY(copy);

    // The same process now runs the browser, with the command line and
    // the environment the launcher was given.
    const QString proc = QStringLiteral("/proc/%1/").arg(copy->pid());
    QCOMPARE(QFileInfo(proc + "exe").canonicalFilePath(),
             QFileInfo(QW_BIN_DIR "/quillwave-browser").canonicalFilePath());
    const QList<QByteArray> commandLine = readFile(proc + "cmdline").split('\0');
    QCOMPARE(commandLine.value(0), QFile::encodeName(QuillwaveHome::programPath()));
    QCOMPARE(commandLine.value(1), QByteArray("about:blank"));
    QVERIFY(readFile(proc + "environ").split('\0').contains("QW_LAUNCHER_TEST_MARK=kept"));
    // The browser holds the lock itself.
    QVERIFY(QFileInfo::exists(home.channelFolder() + "/instance.lock"));
    QVERIFY(copy->endCleanly());
}

void tst_LauncherE2E::forwardsOrTriesTheBrowser_data()
{
    QTest::addColumn<Found>("found");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");         // 0: it handed the argument over
    QTest::addColumn<QString>("received"); // "FILE" stands for the file's absolute path
    // Which argument goes over and when a copy runs is the plan's table, and
    // a dead copy's lock is the channel's; here: an argument goes over whole,
    // a relative file as an absolute path; and a launcher that cannot hand
    // over says where it looked for the browser it cannot run.
    const QString longAddress = "http://127.0.0.1:9/search?q=" + QString(5000, u'k');
    const QStringList url{"http://127.0.0.1:9/"};
    const int notFound = BrowserLauncher::BrowserNotFound;
    // clang-format off
    QTest::newRow("no argument")                << Found::AnsweringCopy    << QStringList{}            << 0        << "";
    QTest::newRow("relative file")              << Found::AnsweringCopy    << QStringList{"saved.vgp"} << 0        << "FILE";
    QTest::newRow("long address whole")         << Found::AnsweringCopy    << QStringList{longAddress} << 0        << longAddress;
    QTest::newRow("no copy running")            << Found::NoCopy           << url                      << notFound << "";
    QTest::newRow("several copies allowed")     << Found::SeveralAllowed   << url                      << notFound << "";
    QTest::newRow("running copy not answering") << Found::CopyNotAnswering << url                      << notFound << "";
    QTest::newRow("browser cannot start")       << Found::BrokenBrowser    << url                      << int(BrowserLauncher::BrowserNotStartable) << "";
    // clang-format on
}

void tst_LauncherE2E::forwardsOrTriesTheBrowser()
{
    QFETCH(Found, found);
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, received);
    QuillwaveHome home;
    LoneLauncher launcher;
    QTemporaryDir workingFolder;
    QVERIFY(home.isValid() && launcher.make() && workingFolder.isValid());
    if (received == QLatin1String("FILE"))
    {
        received = workingFolder.filePath(arguments.first());
        QVERIFY(QFile(received).open(QIODevice::WriteOnly));
    }
    TInstanceChannel running(home.channelFolder());
    QSignalSpy delivered(&running, &TInstanceChannel::dataReceived);
    if (found == Found::SeveralAllowed)
        QVERIFY(home.setValue("AllowMultiInstance", "1"));
    if (found == Found::AnsweringCopy || found == Found::SeveralAllowed)
        QVERIFY(running.acquireFirstInstance() && running.isChannelUsable() && running.listen());
    if (found == Found::CopyNotAnswering)
        QVERIFY(running.acquireFirstInstance());
    if (found == Found::BrokenBrowser)
    {
        // Executable by its mode, in no format the system runs.
        QFile broken(launcher.browserPath());
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write(QByteArray(64, '\x01')) == 64);
        QVERIFY(broken.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }

    // The event loop runs meanwhile, so the fake running copy can answer.
    QuillwaveProcess* copy = home.launch(arguments, workingFolder.path(), launcher.path());
    QVERIFY(copy && copy->waitForExit());
    QVERIFY2(copy->exitedNormally() && copy->exitCode() == code, qPrintable(copy->describe()));
    QCOMPARE(delivered.count(), code == 0 ? 1 : 0);
    if (code == 0)
        QCOMPARE(delivered.at(0).at(0).toString(), received);
    // It found the running copy and said nothing about it; else it says
    // where it looked.
    QCOMPARE(copy->output().contains(QFile::encodeName(launcher.browserPath())), code != 0);
    QVERIFY(code != 0 || copy->output().isEmpty());
    // Only the browser ever takes the lock.
    QCOMPARE(QFileInfo::exists(home.channelFolder() + "/instance.lock"),
             found != Found::NoCopy && found != Found::BrokenBrowser);
}

void tst_LauncherE2E::linksNoWindowLibraries()
{
    // What the dynamic loader maps for the launcher, without running it.
    QProcess loader;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_TRACE_LOADED_OBJECTS"), QStringLiteral("1"));
    loader.setProcessEnvironment(environment);
    loader.start(QuillwaveHome::programPath(), {});
    QVERIFY(loader.waitForFinished(QuillwaveProcess::PatienceMs));
    const QByteArray libraries = loader.readAllStandardOutput();
    QVERIFY2(libraries.contains("libQt6Core"), libraries.constData());
    for (const char* heavy : {"libQt6Gui", "libQt6Widgets", "libQt6WebEngine", "libQt6Quick"})
        QVERIFY2(!libraries.contains(heavy), libraries.constData());
}

QTEST_GUILESS_MAIN(tst_LauncherE2E)
#include "tst_LauncherE2E.moc"

#include "QuillwaveHome.h"
#include "QuillwaveProcess.h"

#include "core/instance/TInstanceChannel.h"
#include "launcher/BrowserLauncher.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace
{
enum class Found
{
    AnsweringCopy,    // a running copy: a fake holds the home's lock and listens
    NoCopy,           // nothing has run with the home
    CopyNotAnswering, // a running copy that takes no records
    BrokenBrowser     // no copy, and a browser program the system cannot run
};
} // namespace

// The launcher as the desktop starts it: it becomes the browser, or hands
// its argument to a running copy without loading the browser's libraries.
class tst_LauncherE2E : public QObject
{
    Q_OBJECT

private slots:
    void forwardsOrTriesTheBrowser_data()
    {
        QTest::addColumn<Found>("found");
        QTest::addColumn<int>("code"); // 0: it handed the argument over
        // Which argument goes over and when a copy runs is the plan's table, a
        // long record and a dead copy's lock are the channel's; here: a
        // relative file goes over as an absolute path, and a launcher that
        // cannot hand over says where it looked for the browser it cannot run.
        const int notFound = BrowserLauncher::BrowserNotFound;
        // clang-format off
        QTest::newRow("relative file to a running copy") << Found::AnsweringCopy    << 0;
        QTest::newRow("no copy running")                 << Found::NoCopy           << notFound;
        QTest::newRow("running copy not answering")      << Found::CopyNotAnswering << notFound;
        QTest::newRow("browser cannot start")            << Found::BrokenBrowser    << int(BrowserLauncher::BrowserNotStartable);
        // clang-format on
    }

    void forwardsOrTriesTheBrowser()
    {
        QFETCH(Found, found);
        QFETCH(int, code);
        // A copy of the launcher in a folder of its own, with no browser beside
        // it and none installed relative to it: if it tried to become the
        // browser it would say so and fail, so ending with 0 proves it did the
        // work itself.
        QuillwaveHome home;
        QTemporaryDir folder;
        QTemporaryDir workingFolder;
        const QString launcher = folder.filePath("quillwave");
        const QString browser = folder.filePath("quillwave-browser");
        const QString program = QuillwaveHome::programPath();
        QVERIFY(home.isValid() && folder.isValid() && workingFolder.isValid());
        QVERIFY(QFile::copy(program, launcher) &&
                QFile::setPermissions(launcher, QFile::permissions(program)));
        const QString file = workingFolder.filePath("saved.vgp");
        QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        const QStringList arguments{code == 0 ? "saved.vgp" : "http://127.0.0.1:9/"};
        TInstanceChannel running(home.channelFolder());
        QSignalSpy delivered(&running, &TInstanceChannel::dataReceived);
        if (found == Found::AnsweringCopy)
            QVERIFY(running.acquireFirstInstance() && running.isChannelUsable() &&
                    running.listen());
        if (found == Found::CopyNotAnswering)
            QVERIFY(running.acquireFirstInstance());
        if (found == Found::BrokenBrowser)
        {
            // Executable by its mode, in no format the system runs.
            QFile broken(browser);
            QVERIFY(broken.open(QIODevice::WriteOnly) &&
                    broken.write(QByteArray(64, '\x01')) == 64);
            QVERIFY(broken.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        }

        // The event loop runs meanwhile, so the fake running copy can answer.
        QuillwaveProcess* copy = home.launch(arguments, workingFolder.path(), launcher);
        QVERIFY(copy && copy->waitForExit());
        QVERIFY2(copy->exitedNormally() && copy->exitCode() == code, qPrintable(copy->describe()));
        QCOMPARE(delivered.count(), code == 0 ? 1 : 0);
        if (code == 0)
            QCOMPARE(delivered.at(0).at(0).toString(), file);
        // It found the running copy and said nothing about it; else it says
        // where it looked.
        QCOMPARE(copy->output().contains(QFile::encodeName(browser)), code != 0);
        QVERIFY(code != 0 || copy->output().isEmpty());
        // Only the browser ever takes the lock.
        QCOMPARE(QFileInfo::exists(home.channelFolder() + "/instance.lock"),
                 found != Found::NoCopy && found != Found::BrokenBrowser);
    }

    void linksNoWindowLibraries()
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
};

QTEST_GUILESS_MAIN(tst_LauncherE2E)
#include "tst_LauncherE2E.moc"

#include "QuillwaveHome.h"
#include "QuillwaveProcess.h"
#include "XSession.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>

#include <functional>
#include <memory>

#include <sys/stat.h>

namespace
{
// How long anything may take on a loaded machine before it counts as hung.
constexpr int PatienceMs = 20000;

bool seedQuietStore(const QuillwaveHome& home)
{
    // No question may hold a copy up: the default-browser check and the
    // shut-down question are off unless a test wants them.
    return home.setValue(QStringLiteral("AskDefaultBrowser"), QStringLiteral("0")) &&
           home.setValue(QStringLiteral("ConfirmShutdown"), QStringLiteral("0"));
}

// Starts a copy that has to end by itself and waits for its end; false
// (the reason in why) when it did not start, did not end, or did not end
// with 0. How fast it ends is the launch benchmark's question.
bool runToCleanEnd(QuillwaveHome& home, const QStringList& arguments, QString* why)
{
    QuillwaveProcess* copy = home.launch(arguments);
    if (!copy)
    {
        *why = QStringLiteral("not started");
        return false;
    }
    if (!copy->waitForExit(PatienceMs) || !copy->exitedNormally() || copy->exitCode() != 0)
    {
        *why = copy->describe();
        return false;
    }
    return true;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// Polls condition until it holds or timeoutMs has passed on the clock, and
// returns its last answer. Unlike QTRY_VERIFY it counts real time (each poll
// here runs X tools, which take time of their own) and asks only once more.
bool waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    forever
    {
        if (condition())
            return true;
        if (deadline.hasExpired())
            return false;
        QTest::qWait(50);
    }
}
} // namespace

class tst_ProgramE2E : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void secondCopyForwardsAndEnds_data();
    void secondCopyForwardsAndEnds();
    void newSwitchRunsAnotherWindow();
    void unregisterSwitchEndsAtOnce_data();
    void unregisterSwitchEndsAtOnce();
    void terminationWritesSettingsBack_data();
    void terminationWritesSettingsBack();
    void simultaneousLaunchesGiveOneFirstCopy();
    void killedCopyIsReplaced();
    void forwardRestoresMinimisedWindow();
    void pipeAddressLeavesTheExitFree();
    void relativeFileOpensFromWorkingFolder_data();
    void relativeFileOpensFromWorkingFolder();

private:
    // Launches a copy that must stay: fails the test when it cannot start.
    QuillwaveProcess* launchFirst(QuillwaveHome& home);
};

void tst_ProgramE2E::initTestCase()
{
    QVERIFY2(QFileInfo(QuillwaveHome::programPath()).isExecutable(),
             qPrintable(QuillwaveHome::programPath()));
    QVERIFY2(QFileInfo(QuillwaveHome::regToolPath()).isExecutable(),
             qPrintable(QuillwaveHome::regToolPath()));
}

QuillwaveProcess* tst_ProgramE2E::launchFirst(QuillwaveHome& home)
{
    QuillwaveProcess* first = home.launch();
    if (!first)
        return nullptr;
    if (!home.waitUntilUp(first, PatienceMs))
    {
        qWarning("%s", qPrintable(first->describe()));
        return nullptr;
    }
    return first;
}

void tst_ProgramE2E::secondCopyForwardsAndEnds_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("address") << QStringList{"http://127.0.0.1:9/page.html"};
    QTest::newRow("no argument") << QStringList{};
    QTest::newRow("two arguments") << QStringList{"http://127.0.0.1:9/a", "http://127.0.0.1:9/b"};
    QTest::newRow("switch in capitals is an address") << QStringList{"--NEW"};
}

void tst_ProgramE2E::secondCopyForwardsAndEnds()
{
    QFETCH(QStringList, arguments);
    QuillwaveHome home;
    QVERIFY(home.isValid());
    QVERIFY(seedQuietStore(home));
    QuillwaveProcess* first = launchFirst(home);
    QVERIFY(first);

    // The token is the running window's; a second window would write it again.
    QVERIFY(home.removeUserAgentToken());
    QString why;
    QVERIFY2(runToCleanEnd(home, arguments, &why), qPrintable(why));

    QVERIFY2(first->isRunning(), qPrintable(first->describe()));
    QVERIFY(home.isListening());
    QVERIFY(!home.hasUserAgentToken());
    // A forwarding copy leaves nothing for a start-up of its own.
    QVERIFY(!home.value(QStringLiteral("CommandLine")).has_value());
}

void tst_ProgramE2E::newSwitchRunsAnotherWindow()
{
    QuillwaveHome home;
    QVERIFY(home.isValid());
    QVERIFY(seedQuietStore(home));
    QuillwaveProcess* first = launchFirst(home);
    QVERIFY(first);

    QVERIFY(home.removeUserAgentToken());
    QuillwaveProcess* second = home.launch({QStringLiteral("--new")});
    QVERIFY(second);
    // Its own main window writes the token again.
    QTRY_VERIFY_WITH_TIMEOUT(home.hasUserAgentToken() || !second->isRunning(), PatienceMs);
    QVERIFY2(second->isRunning(), qPrintable(second->describe()));
    QVERIFY2(first->isRunning(), qPrintable(first->describe()));
    // "--new" is a switch, not a page to open.
    QVERIFY(!home.value(QStringLiteral("CommandLine")).has_value());

    // Both are real windows that close on request.
    for (QuillwaveProcess* copy : {second, first})
    {
        copy->terminate();
        QVERIFY2(copy->waitForExit(PatienceMs), qPrintable(copy->describe()));
        QVERIFY2(copy->exitedNormally() && copy->exitCode() == 0, qPrintable(copy->describe()));
    }
}

void tst_ProgramE2E::unregisterSwitchEndsAtOnce_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("copyRunning");

    QTest::newRow("--undef alone") << "--undef" << false;
    QTest::newRow("--uninstall alone") << "--uninstall" << false;
    QTest::newRow("--undef beside a running copy") << "--undef" << true;
}

void tst_ProgramE2E::unregisterSwitchEndsAtOnce()
{
    QFETCH(QString, argument);
    QFETCH(bool, copyRunning);

    QuillwaveHome home;
    QVERIFY(home.isValid());
    QVERIFY(seedQuietStore(home));
    const QString mimeApps = home.configPath() + QStringLiteral("/mimeapps.list");
    QVERIFY(writeFile(mimeApps, "[Default Applications]\n"
                                "text/html=quillwave.desktop;other.desktop;\n"
                                "x-scheme-handler/http=quillwave.desktop;\n"));

    QuillwaveProcess* first = nullptr;
    if (copyRunning)
    {
        first = launchFirst(home);
        QVERIFY(first);
        QVERIFY(home.removeUserAgentToken());
    }

    QString why;
    QVERIFY2(runToCleanEnd(home, {argument}, &why), qPrintable(why));

    // No window was made, and no channel either when no copy runs.
    QVERIFY(!home.hasUserAgentToken());
    if (copyRunning)
        QVERIFY2(first->isRunning(), qPrintable(first->describe()));
    else
        QVERIFY(!QFileInfo::exists(home.channelFolder()));

    // The registration is undone; other handlers stay.
    const QByteArray after = readFile(mimeApps);
    QVERIFY2(!after.contains("quillwave.desktop"), after.constData());
    QVERIFY2(after.contains("other.desktop"), after.constData());
}

void tst_ProgramE2E::terminationWritesSettingsBack_data()
{
    QTest::addColumn<QString>("confirmShutdown");
    QTest::newRow("no shut-down question") << "0";
    // A signal must not wait for an answer nobody can give.
    QTest::newRow("shut-down question on") << "1";
}

void tst_ProgramE2E::terminationWritesSettingsBack()
{
    QFETCH(QString, confirmShutdown);
    QuillwaveHome home;
    QVERIFY(home.isValid());
    QVERIFY(seedQuietStore(home));
    QVERIFY(home.setValue(QStringLiteral("ConfirmShutdown"), confirmShutdown));
    QVERIFY(home.setValue(QStringLiteral("Width"), QStringLiteral("700")));
    QuillwaveProcess* first = launchFirst(home);
    QVERIFY(first);

    first->terminate();
    QVERIFY2(first->waitForExit(PatienceMs), qPrintable(first->describe()));
    QVERIFY2(first->exitedNormally() && first->exitCode() == 0, qPrintable(first->describe()));

    const QString exported = home.exportText(QuillwaveHome::valueKey());
    QVERIFY(!exported.isEmpty());
    // Every value is a string ("Name"="text"), none a number.
    static const QRegularExpression value(QStringLiteral("^\"[^\"]*\"=(.*)$"),
                                          QRegularExpression::MultilineOption);
    for (auto it = value.globalMatch(exported); it.hasNext();)
    {
        const QRegularExpressionMatch line = it.next();
        QVERIFY2(line.captured(1).startsWith(QLatin1Char('"')), qPrintable(line.captured(0)));
    }
    // Values nobody had stored are there now, the window's own state.
    QVERIFY2(exported.contains(QStringLiteral("\"ViewStatusBar\"=\"1\"")), qPrintable(exported));
    QVERIFY(exported.contains(QStringLiteral("\"Width\"=\"700\"")));
    QVERIFY(exported.contains(QStringLiteral("\"Maximized\"=\"0\"")));
    QCOMPARE(home.value(QStringLiteral("ConfirmShutdown")), std::optional(confirmShutdown));
    QVERIFY(!home.hasUserAgentToken());
    // The channel is free for the next copy.
    QVERIFY(!home.isListening());
}

void tst_ProgramE2E::simultaneousLaunchesGiveOneFirstCopy()
{
    QuillwaveHome home;
    QVERIFY(home.isValid());
    QVERIFY(seedQuietStore(home));

    QuillwaveProcess* a = home.launch();
    QuillwaveProcess* b = home.launch();
    QVERIFY(a && b);
    // The copy that is not first hands over its (empty) argument and ends.
    QTRY_VERIFY_WITH_TIMEOUT(!a->isRunning() || !b->isRunning(), PatienceMs);
    QuillwaveProcess* loser = a->isRunning() ? b : a;
    QuillwaveProcess* winner = a->isRunning() ? a : b;
    QVERIFY2(loser->exitedNormally() && loser->exitCode() == 0, qPrintable(loser->describe()));
    QVERIFY2(home.waitUntilUp(winner, PatienceMs), qPrintable(winner->describe()));

    // The survivor is the one that receives: a further copy hands over to it.
    QuillwaveProcess* third = home.launch({QStringLiteral("http://127.0.0.1:9/")});
    QVERIFY(third);
    QVERIFY2(third->waitForExit(PatienceMs), qPrintable(third->describe()));
    QVERIFY2(third->exitedNormally() && third->exitCode() == 0, qPrintable(third->describe()));
    QVERIFY2(winner->isRunning(), qPrintable(winner->describe()));
}

void tst_ProgramE2E::killedCopyIsReplaced()
{
    QuillwaveHome home;
    QVERIFY(home.isValid());
    QVERIFY(seedQuietStore(home));
    QuillwaveProcess* killed = launchFirst(home);
    QVERIFY(killed);
    killed->kill();
    QVERIFY(killed->waitForExit(PatienceMs));
    // What a killed copy leaves behind: its socket, nobody listening, its token.
    QVERIFY(QFileInfo::exists(home.socketPath()));
    QVERIFY(!home.isListening());
    QVERIFY(home.hasUserAgentToken());
    QVERIFY(home.removeUserAgentToken());

    QuillwaveProcess* second = home.launch();
    QVERIFY(second);
    QVERIFY2(home.waitUntilUp(second, PatienceMs), qPrintable(second->describe()));

    // The new copy is the one that receives now.
    QVERIFY(home.removeUserAgentToken());
    QString why;
    QVERIFY2(runToCleanEnd(home, {QStringLiteral("http://127.0.0.1:9/")}, &why), qPrintable(why));
    QVERIFY(!home.hasUserAgentToken());
    QVERIFY2(second->isRunning(), qPrintable(second->describe()));
}

void tst_ProgramE2E::forwardRestoresMinimisedWindow()
{
    // Minimising is the window manager's work: this runs on a display of its
    // own with a window manager, so other tests' windows are not managed.
    std::unique_ptr<XSession> x;
    QW_START_X_SESSION(x, QuillwaveHome::programPath(), XSession::WindowManager::Openbox);

    QuillwaveHome home;
    QVERIFY(home.isValid());
    QVERIFY(seedQuietStore(home));
    home.setXDisplay(x->display());
    QuillwaveProcess* first = home.launch({}, QuillwaveHome::Display::X11);
    QVERIFY(first);
    QVERIFY2(home.waitUntilUp(first, PatienceMs), qPrintable(first->describe()));

    // The window may be replaced by a new one shortly after it is shown (the
    // engine's view asks for an OpenGL surface), so it is looked up anew
    // until the window manager shows a settled main window as a normal one.
    QString id;
    const auto shownNormally = [&]
    {
        id = x->waitForSettledWindow(first->pid(), QStringLiteral("Quillwave"), 2000);
        return x->isManagedNormal(id);
    };
    const auto report = [&]
    { return QStringLiteral("window %1:\n").arg(id) + x->describeWindows(first->pid()); };
    QVERIFY2(waitFor(shownNormally, PatienceMs), qPrintable(report()));

    QVERIFY(x->minimize(id));
    QVERIFY2(waitFor([&] { return x->mapState(id) == QLatin1String("IsUnMapped"); }, PatienceMs),
             qPrintable(report()));

    // A copy started without an argument only brings the running one back.
    QuillwaveProcess* second = home.launch({}, QuillwaveHome::Display::X11);
    QVERIFY(second);
    QVERIFY2(second->waitForExit(PatienceMs), qPrintable(second->describe()));
    QVERIFY2(second->exitedNormally() && second->exitCode() == 0, qPrintable(second->describe()));
    // The main window (whichever window that is now) is shown again.
    QVERIFY2(waitFor(shownNormally, PatienceMs), qPrintable(report()));
    QCOMPARE(x->mapState(id), QStringLiteral("IsViewable"));
    QVERIFY2(first->isRunning(), qPrintable(first->describe()));
}

void tst_ProgramE2E::pipeAddressLeavesTheExitFree()
{
    QuillwaveHome home;
    QVERIFY(home.isValid());
    QVERIFY(seedQuietStore(home));
    QVERIFY(home.setValue(QStringLiteral("StartupMode"), QStringLiteral("Last")));
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString pipe = folder.filePath(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    // Given at the start, and forwarded to the running copy.
    QuillwaveProcess* first = home.launch({pipe});
    QVERIFY(first);
    QVERIFY2(home.waitUntilUp(first, PatienceMs), qPrintable(first->describe()));
    QuillwaveProcess* second = home.launch({QUrl::fromLocalFile(pipe).toString()});
    QVERIFY(second);
    QVERIFY2(second->waitForExit(PatienceMs), qPrintable(second->describe()));
    QTest::qWait(1000); // time for an engine that would open the pipe to do so

    first->terminate();
    QVERIFY2(first->waitForExit(PatienceMs), qPrintable(first->describe()));
    QVERIFY2(first->exitedNormally() && first->exitCode() == 0, qPrintable(first->describe()));
    QVERIFY(!home.isListening());
    // Not remembered, so it does not come back at the next start.
    const QString sites =
        home.exportText(QuillwaveHome::valueKey() + QStringLiteral("\\Last Open Sites"));
    QVERIFY2(!sites.contains(QStringLiteral("pipe")), qPrintable(sites));
}

void tst_ProgramE2E::relativeFileOpensFromWorkingFolder_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("file");
    // clang-format off
    QTest::newRow("file name")             << "page.html"       << "page.html";
    QTest::newRow("path with a dot first") << "./dir/page.html" << "dir/page.html";
    QTest::newRow("path into a folder")    << "dir/page.html"   << "dir/page.html";
    // clang-format on
}

void tst_ProgramE2E::relativeFileOpensFromWorkingFolder()
{
    QFETCH(QString, argument);
    QFETCH(QString, file);
    QuillwaveHome home;
    QVERIFY(home.isValid());
    QVERIFY(seedQuietStore(home));
    // The remembered tabs tell which address the tab went to.
    QVERIFY(home.setValue(QStringLiteral("StartupMode"), QStringLiteral("Last")));
    QTemporaryDir workingFolder;
    QVERIFY(workingFolder.isValid());
    QVERIFY(QDir(workingFolder.path()).mkpath(QStringLiteral("dir")));
    for (const QString& name : {QStringLiteral("page.html"), QStringLiteral("dir/page.html")})
        QVERIFY(writeFile(workingFolder.filePath(name), "<title>Local</title>"));

    QuillwaveProcess* first = home.launchIn(workingFolder.path(), {argument});
    QVERIFY(first);
    QVERIFY2(home.waitUntilUp(first, PatienceMs), qPrintable(first->describe()));
    const QString expected = QUrl::fromLocalFile(workingFolder.filePath(file)).toString();
    const QString sitesKey = QuillwaveHome::valueKey() + QStringLiteral("\\Last Open Sites");
    QTRY_VERIFY2_WITH_TIMEOUT(home.exportText(sitesKey).contains(expected),
                              qPrintable(home.exportText(sitesKey)), PatienceMs);
    first->terminate();
    QVERIFY2(first->waitForExit(PatienceMs), qPrintable(first->describe()));
}

QTEST_GUILESS_MAIN(tst_ProgramE2E)
#include "tst_ProgramE2E.moc"

#include "QuillwaveHome.h"
#include "QuillwaveProcess.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QUrl>

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
    void pipeAddressLeavesTheExitFree();
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
    // Which argument goes over is the entry routine's table.
    QTest::newRow("address") << QStringList{"http://127.0.0.1:9/page.html"};
    QTest::newRow("no argument") << QStringList{};
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

    // The window's own state is written back (in what form is the window's
    // test).
    const QString exported = home.exportText(QuillwaveHome::valueKey());
    QVERIFY2(exported.contains(QStringLiteral("\"Width\"=\"700\"")), qPrintable(exported));
    QVERIFY(exported.contains(QStringLiteral("\"Maximized\"=\"0\"")));
    QCOMPARE(home.value(QStringLiteral("ConfirmShutdown")), std::optional(confirmShutdown));
    QVERIFY(!home.hasUserAgentToken());
    // The channel is free for the next copy.
    QVERIFY(!home.isListening());
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

void tst_ProgramE2E::relativeFileOpensFromWorkingFolder()
{
    // How an argument resolves is the entry routine's table; here: the
    // program resolves it against the folder it was started in.
    QuillwaveHome home;
    QVERIFY(home.isValid());
    QVERIFY(seedQuietStore(home));
    // The remembered tabs tell which address the tab went to.
    QVERIFY(home.setValue(QStringLiteral("StartupMode"), QStringLiteral("Last")));
    QTemporaryDir workingFolder;
    QVERIFY(workingFolder.isValid());
    QVERIFY(QDir(workingFolder.path()).mkpath(QStringLiteral("dir")));
    QVERIFY(
        writeFile(workingFolder.filePath(QStringLiteral("dir/page.html")), "<title>Local</title>"));

    QuillwaveProcess* first =
        home.launchIn(workingFolder.path(), {QStringLiteral("./dir/page.html")});
    QVERIFY(first);
    QVERIFY2(home.waitUntilUp(first, PatienceMs), qPrintable(first->describe()));
    const QString expected =
        QUrl::fromLocalFile(workingFolder.filePath("dir/page.html")).toString();
    const QString sitesKey = QuillwaveHome::valueKey() + QStringLiteral("\\Last Open Sites");
    QTRY_VERIFY2_WITH_TIMEOUT(home.exportText(sitesKey).contains(expected),
                              qPrintable(home.exportText(sitesKey)), PatienceMs);
    first->terminate();
    QVERIFY2(first->waitForExit(PatienceMs), qPrintable(first->describe()));
}

QTEST_GUILESS_MAIN(tst_ProgramE2E)
#include "tst_ProgramE2E.moc"

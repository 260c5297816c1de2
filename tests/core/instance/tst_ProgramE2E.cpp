#include "QuillwaveHome.h"
#include "QuillwaveProcess.h"

#include "core/store/RegistryKeys.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QUrl>

#include <sys/stat.h>

// Start-up and shut-down of the real program as separate processes see
// them: which copy makes a window, what a signal leaves in the store, and
// arguments that name files.
class tst_ProgramE2E : public QObject
{
    Q_OBJECT

private slots:
    void newSwitchWindowsEndWithoutAsking()
    {
        // The shut-down question is on: a signal must not wait for an answer
        // nobody can give.
        QuillwaveHome home;
        QVERIFY(home.isValid() &&
                home.seedQuietStore({{"ConfirmShutdown", "1"}, {"Width", "700"}}));
        QuillwaveProcess* first = home.launchUp();
        QVERIFY(first);

        // The token is the running window's; a second window writes it again.
        QVERIFY(home.removeUserAgentToken());
        QuillwaveProcess* second = home.launch({"--new"});
        QVERIFY(second);
        QTRY_VERIFY_WITH_TIMEOUT(home.hasUserAgentToken() || !second->isRunning(), home.PatienceMs);
        QVERIFY2(second->isRunning(), qPrintable(second->describe()));
        QVERIFY2(first->isRunning(), qPrintable(first->describe()));
        // "--new" is a switch, not a page to open.
        QVERIFY(!home.exportText(RegistryKeys::ValueKey).contains("\"CommandLine\""));
        QVERIFY(second->endCleanly());
        QVERIFY(first->endCleanly());

        // The windows' own state is written back (in what form is the window's test).
        const QString exported = home.exportText(RegistryKeys::ValueKey);
        for (const char* value : {"\"Width\"=\"700\"", "\"ConfirmShutdown\"=\"1\""})
            QVERIFY2(exported.contains(value), qPrintable(exported));
        QVERIFY(!home.hasUserAgentToken());
        // The channel is free for the next copy.
        QVERIFY(!home.isListening());
    }

    // Whether a running copy is asked at all is the launcher plan's table.
    void unregisterSwitchEndsAtOnce()
    {
        QuillwaveHome home;
        QVERIFY(home.isValid() && home.seedQuietStore());
        const QString mimeApps = home.configPath() + "/mimeapps.list";
        QFile written(mimeApps);
        QVERIFY(written.open(QIODevice::WriteOnly) &&
                written.write("[Default Applications]\n"
                              "text/html=quillwave.desktop;other.desktop;\n"
                              "x-scheme-handler/http=quillwave.desktop;\n") > 0);
        written.close();
        QuillwaveProcess* undef = home.launch({"--undef"});
        QVERIFY(undef && undef->endedCleanly());
        // No window was made, and no channel either.
        QVERIFY(!home.hasUserAgentToken());
        QVERIFY(!QFileInfo::exists(home.channelFolder()));
        // The registration is undone; other handlers stay.
        const QByteArray after = QuillwaveHome::readFile(mimeApps);
        QVERIFY2(!after.contains("quillwave.desktop") && after.contains("other.desktop"),
                 after.constData());
    }

    void fileArguments()
    {
        QuillwaveHome home;
        QVERIFY(home.isValid() && home.seedQuietStore());
        QTemporaryDir folder;
        QVERIFY(folder.isValid() && QDir(folder.path()).mkpath("dir"));
        for (const char* name : {"dir/page.html", "last.html"})
            QVERIFY(QFile(folder.filePath(name)).open(QIODevice::WriteOnly));
        const QString pipe = folder.filePath("pipe");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QString page = QUrl::fromLocalFile(folder.filePath("dir/page.html")).toString();
        const QString last = QUrl::fromLocalFile(folder.filePath("last.html")).toString();

        // A relative file is found in the folder the program was started in.
        QuillwaveProcess* first = home.launchUp({"./dir/page.html"}, folder.path());
        QVERIFY(first);
        QTRY_COMPARE_WITH_TIMEOUT(home.lastOpenSites(), QStringList{page}, home.PatienceMs);
        // Opening a pipe would wait for a writer for ever, and the exit with
        // it. Forwarded records are taken in order: once the page after the
        // pipes is there, the pipes have been handed to tabs too.
        QVERIFY(home.forward({pipe}) && home.forward({QUrl::fromLocalFile(pipe).toString()}) &&
                home.forward({last}));
        QTRY_VERIFY_WITH_TIMEOUT(home.lastOpenSites().contains(last), home.PatienceMs);
        QVERIFY(first->endCleanly());
        // Not remembered, so it does not come back at the next start.
        QVERIFY2(home.lastOpenSites().filter("pipe").isEmpty(),
                 qPrintable(home.lastOpenSites().join(' ')));
    }
};

QTEST_GUILESS_MAIN(tst_ProgramE2E)
#include "tst_ProgramE2E.moc"

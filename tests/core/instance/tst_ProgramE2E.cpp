#include "QuillwaveHome.h"
#include "QuillwaveProcess.h"

#include "core/store/RegistryKeys.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

// Start-up and shut-down of the real program as separate processes see
// them: which copy makes a window and what a signal leaves in the store.
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
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray after = written.readAll();
        QVERIFY2(!after.contains("quillwave.desktop") && after.contains("other.desktop"),
                 after.constData());
    }
};

QTEST_GUILESS_MAIN(tst_ProgramE2E)
#include "tst_ProgramE2E.moc"

// Desktop entries: Exec lines split into a program's arguments (never a
// shell), and the applications of a type in the order the user chose.

#include "chrome/DesktopApplications.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_DesktopEntry : public QObject
{
    Q_OBJECT

private slots:
    void arguments_data()
    {
        QTest::addColumn<QString>("exec");
        QTest::addColumn<QStringList>("targets");
        QTest::addColumn<QStringList>("expected");
        const QStringList none;
        const QStringList one = {"/tmp/a b.htm"};
        const QStringList two = {"x", "y"};
        // clang-format off
        QTest::newRow("codes removed") << "mailer %u" << none << QStringList{"mailer"};
        QTest::newRow("file code") << "edit --new %f" << one << QStringList{"edit", "--new", "/tmp/a b.htm"};
        QTest::newRow("list code") << "edit %F --wait" << two << QStringList{"edit", "x", "y", "--wait"};
        QTest::newRow("no code appends") << "edit -n" << one << QStringList{"edit", "-n", "/tmp/a b.htm"};
        QTest::newRow("quoted program") << "\"/opt/My App/run\" %U" << one << QStringList{"/opt/My App/run", "/tmp/a b.htm"};
        QTest::newRow("quote escapes") << "sh -c \"echo \\\"\\$HOME\\\" \\\\\\\\ \\`x\\`\"" << none << QStringList{"sh", "-c", "echo \"$HOME\" \\ `x`"};
        QTest::newRow("value escape blank") << "\"run\\sme\" --a" << none << QStringList{"run me", "--a"};
        QTest::newRow("percent sign") << "tool --rate=100%%" << none << QStringList{"tool", "--rate=100%"};
        QTest::newRow("name and icon") << "app %i --title=%c %k" << none << QStringList{"app", "--icon", "mail", "--title=Mail", "/e/app.desktop"};
        QTest::newRow("embedded code") << "app --url=%u" << one << QStringList{"app", "--url=/tmp/a b.htm"};
        QTest::newRow("deprecated codes") << "app %d %N %m -x" << none << QStringList{"app", "-x"};
        QTest::newRow("target is no code") << "edit %f" << QStringList{"%u;rm"} << QStringList{"edit", "%u;rm"};
        QTest::newRow("shell words stay words") << "app ; rm -rf x | y" << none << QStringList{"app", ";", "rm", "-rf", "x", "|", "y"};
        QTest::newRow("broken quote") << "app \"open" << one << QStringList{};
        QTest::newRow("extra blanks") << "  app   -a  " << none << QStringList{"app", "-a"};
        // clang-format on
    }
    void arguments()
    {
        QFETCH(QString, exec);
        QFETCH(QStringList, targets);
        QFETCH(QStringList, expected);
        DesktopEntry entry;
        entry.exec = exec;
        entry.name = QStringLiteral("Mail");
        entry.icon = QStringLiteral("mail");
        entry.path = QStringLiteral("/e/app.desktop");
        QCOMPARE(entry.arguments(targets), expected);
    }

    void handlerOrder()
    {
        QTemporaryDir home, system;
        const auto write = [](const QString& path, const QByteArray& text)
        {
            QDir().mkpath(QFileInfo(path).path());
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(text);
        };
        const auto app = [](const char* name, const char* extra)
        {
            return QByteArray("[Desktop Entry]\nType=Application\nName=") + name +
                   "\nExec=" + name + " %u\nMimeType=x-scheme-handler/mailto;\n" + extra;
        };
        write(system.filePath("apps/alpha.desktop"), app("alpha", ""));
        write(system.filePath("apps/beta.desktop"), app("beta", ""));
        write(system.filePath("apps/kde/gamma.desktop"), app("gamma", ""));
        write(system.filePath("apps/hidden.desktop"), app("hidden", "NoDisplay=true\n"));
        write(system.filePath("apps/gone.desktop"), app("gone", ""));
        write(system.filePath("apps/removed.desktop"), app("removed", ""));
        // The user's copy of gone hides the system's.
        write(home.filePath("apps/gone.desktop"), app("gone", "Hidden=true\n"));
        write(home.filePath("mimeapps.list"),
              "[Default Applications]\nx-scheme-handler/mailto=missing.desktop;kde-gamma.desktop\n"
              "[Removed Associations]\nx-scheme-handler/mailto=removed.desktop\n");
        const DesktopApplications apps({home.filePath("apps"), system.filePath("apps")},
                                       {home.filePath("mimeapps.list")});
        QStringList ids;
        for (const DesktopEntry& entry : apps.handlers(QStringLiteral("x-scheme-handler/mailto")))
            ids << entry.id;
        QCOMPARE(ids, (QStringList{"kde-gamma.desktop", "alpha.desktop", "beta.desktop"}));
        QVERIFY(!apps.preferred(QStringLiteral("text/html")));
    }
};

QTEST_APPLESS_MAIN(tst_DesktopEntry)
#include "tst_DesktopEntry.moc"

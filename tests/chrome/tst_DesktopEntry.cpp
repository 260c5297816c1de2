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
    void arguments()
    {
        DesktopEntry entry;
        entry.name = QStringLiteral("Mail");
        entry.icon = QStringLiteral("mail");
        entry.path = QStringLiteral("/e/app.desktop");
        const QStringList none;
        const QStringList one = {"/tmp/a b.htm"};
        // Exec line, targets, arguments.
        // clang-format off
        const QList<std::tuple<QString, QStringList, QStringList>> rows = {
            {"mailer %u", none, {"mailer"}},
            {"edit --new %f", one, {"edit", "--new", "/tmp/a b.htm"}},
            {"edit %F --wait", {"x", "y"}, {"edit", "x", "y", "--wait"}},
            {"edit -n", one, {"edit", "-n", "/tmp/a b.htm"}},
            {"\"/opt/My App/run\" %U", one, {"/opt/My App/run", "/tmp/a b.htm"}},
            {"sh -c \"echo \\\"\\$HOME\\\" \\\\\\\\ \\`x\\`\"", none, {"sh", "-c", "echo \"$HOME\" \\ `x`"}},
            {"\"run\\sme\" --a", none, {"run me", "--a"}},
            {"tool --rate=100%%", none, {"tool", "--rate=100%"}},
            {"app %i --title=%c %k", none, {"app", "--icon", "mail", "--title=Mail", "/e/app.desktop"}},
            {"app --url=%u", one, {"app", "--url=/tmp/a b.htm"}},
            {"app %d %N %m -x", none, {"app", "-x"}}, // deprecated codes
            {"edit %f", {"%u;rm"}, {"edit", "%u;rm"}}, // a target is no code
            {"app ; rm -rf x | y", none, {"app", ";", "rm", "-rf", "x", "|", "y"}},
            {"app \"open", one, {}}, // broken quote
            {"  app   -a  ", none, {"app", "-a"}},
        };
        // clang-format on
        for (const auto& [exec, targets, expected] : rows)
        {
            entry.exec = exec;
            QCOMPARE(entry.arguments(targets), expected);
        }
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

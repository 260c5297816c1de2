#include "chrome/DesktopApplications.h"
#include "chrome/MimeAppsList.h"
#include "chrome/TDefaultBrowser.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

static const QString Def = MimeAppsList::DefaultApplications;
static const QString Ours = TDefaultBrowser::DesktopEntryId;

// The program as the desktop's default browser, and the desktop files that
// decide it: mimeapps.list and desktop entries.
class tst_TDefaultBrowser : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    const QString m_program = QStringLiteral("/usr/local/bin/quillwave");

    QString mimeAppsPath() const { return m_dir->filePath("config/mimeapps.list"); }
    void writeFile(const QString& path, const QByteArray& content)
    {
        QFile file(path);
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }
    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Sets a file's time far back, so any rewrite shows in its mtime.
    static QDateTime ageFile(const QString& path)
    {
        const QDateTime old = QDateTime::fromSecsSinceEpoch(1000000000);
        QFile file(path);
        const bool set = file.open(QIODevice::ReadWrite) &&
                         file.setFileTime(old, QFileDevice::FileModificationTime);
        return set ? old : QDateTime();
    }
    static QString askSetting()
    {
        const auto value = RegistryStore().value(RegistryKeys::ValueKey, "AskDefaultBrowser");
        return value ? value->text : QString();
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(m_dir->filePath("home")));
        qputenv("XDG_CONFIG_HOME", m_dir->filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", m_dir->filePath("data").toUtf8());
        qputenv("QUILLWAVE_HOME", m_dir->filePath("home").toUtf8());
    }

    void cleanup() { m_dir.reset(); }

    void registerAndUnregisterKeepOtherPrograms()
    {
        writeFile(mimeAppsPath(), "[Default Applications]\ntext/html=a.desktop;b.desktop;\n"
                                  "x-scheme-handler/http=a.desktop;\n");
        // A stale entry from an older install location must be replaced.
        writeFile(TDefaultBrowser::DesktopEntryPath(), "[Desktop Entry]\nExec=/old/quillwave %u\n");
        TDefaultBrowser::RegisterAll(true, m_program);
        QVERIFY(TDefaultBrowser::IsDefaultBrowser());
        // The others stay behind the program (the rest of the file is MimeAppsList's).
        const QByteArray list = readFile(mimeAppsPath());
        QVERIFY(list.contains("text/html=quillwave.desktop;a.desktop;b.desktop;\n"));
        QVERIFY(list.contains("[Added Associations]\ntext/html=quillwave.desktop;\n"));
        const QByteArray entry = readFile(TDefaultBrowser::DesktopEntryPath());
        QCOMPARE(entry, TDefaultBrowser::DesktopEntryText(m_program));
        QVERIFY(entry.contains("Exec=" + m_program.toUtf8() + " %u\n"));

        // Registering what is registered writes nothing.
        const QDateTime listTime = ageFile(mimeAppsPath());
        const QDateTime entryTime = ageFile(TDefaultBrowser::DesktopEntryPath());
        for (const QString& className : TDefaultBrowser::ClassNames())
            TDefaultBrowser::SetClassRegistered(className, true, m_program);
        TDefaultBrowser::RegisterAll(true, m_program);
        QCOMPARE(QFileInfo(mimeAppsPath()).lastModified(), listTime);
        QCOMPARE(QFileInfo(TDefaultBrowser::DesktopEntryPath()).lastModified(), entryTime);

        TDefaultBrowser::UnregisterAll();
        QVERIFY(!TDefaultBrowser::IsDefaultBrowser());
        MimeAppsList mimeApps;
        QVERIFY(mimeApps.load());
        for (const QString& name : TDefaultBrowser::ClassNames())
            QVERIFY(
                !mimeApps.desktopIds(Def, TDefaultBrowser::MimeTypeForClass(name)).contains(Ours));
        QCOMPARE(TDefaultBrowser::ReadClassInfo("http").DefaultVerb, QString("a"));
        QVERIFY(!readFile(mimeAppsPath()).contains("text/html=;"));
        QVERIFY(QFile::exists(TDefaultBrowser::DesktopEntryPath()));
    }

    void unregisteringWhatIsNotOursWritesNothing()
    {
        const QByteArray content("[Default Applications]\r\n"
                                 "text/html=firefox.desktop;quillwave.desktop;\r\n"
                                 "text/plain=quillwave.desktop;\r\n");
        writeFile(mimeAppsPath(), content);
        const QDateTime time = ageFile(mimeAppsPath());
        TDefaultBrowser::SetClassRegistered("htmlfile", false);
        TDefaultBrowser::UnregisterAll();
        // A class the program does not know is never touched.
        QCOMPARE(TDefaultBrowser::ReadClassInfo("txtfile"), (TClassInfo{"txtfile", {}, {}}));
        TDefaultBrowser::SetClassRegistered("txtfile", true);
        TDefaultBrowser::SetClassRegistered("txtfile", false);
        QCOMPARE(QFileInfo(mimeAppsPath()).lastModified(), time);
        QCOMPARE(readFile(mimeAppsPath()), content);
        QVERIFY(!QFile::exists(TDefaultBrowser::DesktopEntryPath()));
    }

    void readClassInfo()
    {
        // The line for text/html, the verb read back.
        // clang-format off
        const QList<QPair<QByteArray, QString>> rows = {
            {"", ""},
            {"text/html=quillwave.desktop;", "Quillwave"},
            {"text/html=org.a.desktop;quillwave.desktop;", "org.a"},
            {"text/html=Quillwave.desktop;", "Quillwave.desktop"}, // a look-alike id keeps its suffix
            {"text/html=Quillwave;quillwave.desktop;", "Quillwave"}}; // an invalid id is skipped
        // clang-format on
        for (const auto& [line, verb] : rows)
        {
            writeFile(mimeAppsPath(), "[Default Applications]\n" + line + "\n");
            QCOMPARE(TDefaultBrowser::ReadClassInfo("htmlfile").DefaultVerb, verb);
        }
    }

    void execArgument()
    {
        // clang-format off
        const QList<QPair<QString, QString>> rows = {
            {"/opt/my apps/quill wave", R"("/opt/my apps/quill wave")"},
            {"/opt/100%/quillwave", "/opt/100%%/quillwave"},
            {"/opt/a$b/quillwave", R"("/opt/a\\$b/quillwave")"},
            {R"(/opt/back\slash/q)", R"("/opt/back\\\\slash/q")"}};
        // clang-format on
        for (const auto& [path, exec] : rows)
            QCOMPARE(TDefaultBrowser::ExecArgument(path), exec);
    }

    void prompt()
    {
        // Answered yes, box left checked, setting stored, prompts next time.
        const QList<std::tuple<bool, bool, QString, int>> rows = {
            {false, true, "", 1},   // no, keep asking
            {false, false, "0", 0}, // no, stop asking
            {true, true, "", 0}};   // yes, keep asking
        for (const auto& [answerYes, boxChecked, setting, promptsNextTime] : rows)
        {
            init();
            int prompts = 0;
            QStringList seen;
            // Caption, box checked, then title, prompt and the three button texts.
            const auto confirm = [&](const QString& caption, bool checked, const auto&... texts)
            {
                ++prompts;
                seen = {caption, texts..., checked ? "on" : ""};
                return TDefaultBrowser::PromptAnswer{answerYes, boxChecked};
            };
            const auto text = [](const QString& section, const QString& key)
            { return section + '>' + key; };
            TDefaultBrowser::AskDefaultBrowserPrompt(confirm, text, m_program);
            QCOMPARE(seen, (QStringList{"Quillwave", "Default>NotCurrent", "Default>AskDefault",
                                        "GLOBAL>Yes", "GLOBAL>No", "Default>AlwaysAsk", "on"}));
            QCOMPARE(TDefaultBrowser::IsDefaultBrowser(), answerYes);
            QCOMPARE(askSetting(), setting);
            prompts = 0;
            TDefaultBrowser::AskDefaultBrowserPrompt(confirm, text, m_program);
            QCOMPARE(prompts, promptsNextTime);
            // Asking switched off: no prompt even while another program is the default.
            TDefaultBrowser::UnregisterAll();
            RegistryStore().setString(RegistryKeys::ValueKey, "AskDefaultBrowser", "0");
            TDefaultBrowser::AskDefaultBrowserPrompt(confirm, text, m_program);
            QCOMPARE(prompts, promptsNextTime);
        }
    }

    void edit()
    {
        // Before, key, ids set, after: the rest of the file is kept byte for byte.
        // clang-format off
        const QList<std::tuple<QByteArray, QString, QStringList, QByteArray>> rows = {
            {"# my associations\n[Added Associations]\ntext/html=firefox.desktop;\n\n[Default Applications]\ntext/html[de]=x.desktop;\ntext/html = a.desktop;b.desktop;\nimage/png=eog.desktop;\n; not a comment but kept\n", "text/html", {"quillwave.desktop", "a.desktop", "b.desktop"}, "# my associations\n[Added Associations]\ntext/html=firefox.desktop;\n\n[Default Applications]\ntext/html[de]=x.desktop;\ntext/html = quillwave.desktop;a.desktop;b.desktop;\nimage/png=eog.desktop;\n; not a comment but kept\n"}, // replace value, keep the rest byte for byte
            {"[Default Applications]\r\nimage/png=eog.desktop;\r\n\r\n# next group\r\n[Removed Associations]\r\n", "x-scheme-handler/http", {"quillwave.desktop"}, "[Default Applications]\r\nimage/png=eog.desktop;\r\nx-scheme-handler/http=quillwave.desktop;\r\n\r\n# next group\r\n[Removed Associations]\r\n"}, // CRLF kept, new line takes the file's ending
            {"[Added Associations]\ntext/html=a.desktop;", "text/html", {"quillwave.desktop"}, "[Added Associations]\ntext/html=a.desktop;\n\n[Default Applications]\ntext/html=quillwave.desktop;\n"}, // missing group appended after a blank line
            {"[Default Applications]\nimage/png=eog.desktop;\n[Other]\ntext/html=keep.desktop;\n[Default Applications]\ntext/html=old.desktop;\ntext/plain=gedit.desktop;\n", "text/html", {"quillwave.desktop"}, "[Default Applications]\nimage/png=eog.desktop;\ntext/html=quillwave.desktop;\n[Other]\ntext/html=keep.desktop;\n[Default Applications]\ntext/plain=gedit.desktop;\n"}, // duplicate groups: first edited, later copy of the key dropped
            {"[Default Applications]\ntext/html=quillwave.desktop;\ntext/plain=gedit.desktop;\n", "text/html", {}, "[Default Applications]\ntext/plain=gedit.desktop;\n"}, // empty list removes the line only
            {"[Default Applications]\ntext/html=a.desktop;b.desktop;\n", "text/html", {"a.desktop", "b.desktop"}, "[Default Applications]\ntext/html=a.desktop;b.desktop;\n"}}; // same value is no change
        // clang-format on
        for (const auto& [before, key, ids, after] : rows)
        {
            MimeAppsList list(QString{});
            list.setContent(before);
            list.setDesktopIds(Def, key, ids);
            QCOMPARE(list.content(), after);
            QCOMPARE(list.isModified(), before != after);
            QCOMPARE(list.desktopIds(Def, key), ids);
        }
    }

    void readsIds()
    {
        const auto ids = [](const QByteArray& content)
        {
            MimeAppsList list(QString{});
            list.setContent("[Default Applications]\n" + content);
            return list.desktopIds(Def, "text/html");
        };
        QCOMPARE(ids("text/html = a.desktop ; b.desktop\n"),
                 (QStringList{"a.desktop", "b.desktop"}));
        QCOMPARE(ids("text/html[fr]=a.desktop;\n"), QStringList());
        // The last copy wins, as desktop readers do.
        QCOMPARE(ids("text/html=a.desktop;\n[Default Applications]\ntext/html=b.desktop;\n"),
                 QStringList{"b.desktop"});
    }

    void missingFileAndFolderAreCreated()
    {
        const QString path = m_dir->filePath("sub/folder/mimeapps.list");
        MimeAppsList list(path);
        QVERIFY(list.load());
        list.setDesktopIds(MimeAppsList::AddedAssociations, "text/html", {"quillwave.desktop"});
        QVERIFY(list.save() && !list.isModified());
        QCOMPARE(readFile(path),
                 QByteArray("[Added Associations]\ntext/html=quillwave.desktop;\n"));
    }

    // Exec lines split into a program's arguments, never through a shell.
    void arguments()
    {
        DesktopEntry entry;
        entry.name = "Mail";
        entry.icon = "mail";
        entry.path = "/e/app.desktop";
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
            {"  app   -a  ", none, {"app", "-a"}}};
        // clang-format on
        for (const auto& [exec, targets, expected] : rows)
        {
            entry.exec = exec;
            QCOMPARE(entry.arguments(targets), expected);
        }
    }

    // The applications of a type in the order the user chose.
    void handlerOrder()
    {
        const QString home = m_dir->filePath("h/"), system = m_dir->filePath("s/apps/");
        const auto app = [](const QString& name, const char* extra)
        {
            return "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() +
                   "\nExec=" + name.toUtf8() + " %u\nMimeType=x-scheme-handler/mailto;\n" + extra;
        };
        for (const char* name : {"alpha", "beta", "gone", "removed"})
            writeFile(system + name + ".desktop", app(name, ""));
        writeFile(system + "kde/gamma.desktop", app("gamma", ""));
        writeFile(system + "hidden.desktop", app("hidden", "NoDisplay=true\n"));
        // The user's copy of gone hides the system's.
        writeFile(home + "apps/gone.desktop", app("gone", "Hidden=true\n"));
        writeFile(
            home + "mimeapps.list",
            "[Default Applications]\nx-scheme-handler/mailto=missing.desktop;kde-gamma.desktop\n"
            "[Removed Associations]\nx-scheme-handler/mailto=removed.desktop\n");
        const DesktopApplications apps({home + "apps", system}, {home + "mimeapps.list"});
        QStringList ids;
        for (const DesktopEntry& entry : apps.handlers("x-scheme-handler/mailto"))
            ids << entry.id;
        QCOMPARE(ids, (QStringList{"kde-gamma.desktop", "alpha.desktop", "beta.desktop"}));
        QVERIFY(!apps.preferred("text/html"));
    }
};

QTEST_GUILESS_MAIN(tst_TDefaultBrowser)
#include "tst_TDefaultBrowser.moc"

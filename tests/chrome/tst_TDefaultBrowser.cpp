#include "chrome/MimeAppsList.h"
#include "chrome/TDefaultBrowser.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class tst_TDefaultBrowser : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    const QString m_program = QStringLiteral("/usr/local/bin/quillwave");

    QString mimeAppsPath() const { return m_dir->filePath("config/mimeapps.list"); }
    void writeFile(const QString& path, const QByteArray& content)
    {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
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
        if (!file.open(QIODevice::ReadWrite) ||
            !file.setFileTime(old, QFileDevice::FileModificationTime))
            return {};
        return old;
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
        writeFile(mimeAppsPath(), "# kept as it is\n[Default Applications]\n"
                                  "text/html=a.desktop;b.desktop;\nimage/png=eog.desktop;\n"
                                  "x-scheme-handler/http=a.desktop;\n\n"
                                  "[Removed Associations]\ntext/plain=x.desktop;\n");
        // A stale entry from an older install location must be replaced.
        writeFile(TDefaultBrowser::DesktopEntryPath(), "[Desktop Entry]\nExec=/old/quillwave %u\n");
        QVERIFY(!TDefaultBrowser::IsDefaultBrowser());
        TDefaultBrowser::RegisterAll(true, m_program);
        QVERIFY(TDefaultBrowser::IsDefaultBrowser());
        const QByteArray list = readFile(mimeAppsPath());
        QVERIFY(list.startsWith("# kept as it is\n"));
        QVERIFY(list.contains("text/html=quillwave.desktop;a.desktop;b.desktop;\n"));
        QVERIFY(list.contains("image/png=eog.desktop;\n"));
        QVERIFY(list.contains("[Removed Associations]\ntext/plain=x.desktop;\n"));
        QVERIFY(list.contains("[Added Associations]\ntext/html=quillwave.desktop;\n"));
        QCOMPARE(readFile(TDefaultBrowser::DesktopEntryPath()),
                 TDefaultBrowser::DesktopEntryText(m_program));
        QVERIFY(TDefaultBrowser::DesktopEntryText(m_program).contains("Exec=" + m_program.toUtf8() +
                                                                      " %u\n"));

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
        for (const QString& className : TDefaultBrowser::ClassNames())
            QVERIFY(!mimeApps
                         .desktopIds(MimeAppsList::DefaultApplications,
                                     TDefaultBrowser::MimeTypeForClass(className))
                         .contains(TDefaultBrowser::DesktopEntryId));
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
            {"text/html=Quillwave;quillwave.desktop;", "Quillwave"}, // an invalid id is skipped
        };
        // clang-format on
        for (const auto& [line, verb] : rows)
        {
            writeFile(mimeAppsPath(), "[Default Applications]\n" + line + "\n");
            const TClassInfo info = TDefaultBrowser::ReadClassInfo("htmlfile");
            QCOMPARE(info.Description, QMimeDatabase().mimeTypeForName("text/html").comment());
            QCOMPARE(info.DefaultVerb, verb);
            QCOMPARE(TDefaultBrowser::IsRegistered("htmlfile"), verb == "Quillwave");
        }
    }

    void execArgument()
    {
        // clang-format off
        const QList<QPair<QString, QString>> rows = {
            {"/opt/my apps/quill wave", R"("/opt/my apps/quill wave")"},
            {"/opt/100%/quillwave", "/opt/100%%/quillwave"},
            {"/opt/a$b/quillwave", R"("/opt/a\\$b/quillwave")"},
            {R"(/opt/back\slash/q)", R"("/opt/back\\\\slash/q")"},
        };
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
            const auto confirm = [&](const QString& caption, bool checked, const QString& title,
                                     const QString& prompt, const QString& okText,
                                     const QString& cancelText, const QString& checkText)
            {
                ++prompts;
                seen = {caption, title, prompt, okText, cancelText, checkText, checked ? "on" : ""};
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
};

QTEST_GUILESS_MAIN(tst_TDefaultBrowser)
#include "tst_TDefaultBrowser.moc"

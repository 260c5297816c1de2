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

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir().mkpath(m_dir->filePath("home")));
        qputenv("XDG_CONFIG_HOME", m_dir->filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", m_dir->filePath("data").toUtf8());
        qputenv("QUILLWAVE_HOME", m_dir->filePath("home").toUtf8());
    }

    void cleanup() { m_dir.reset(); }

    void registerAllPutsUsFirstAndKeepsTheRest()
    {
        writeMimeApps("# kept as it is\n"
                      "[Default Applications]\n"
                      "text/html=a.desktop;b.desktop;\n"
                      "text/html[de]=c.desktop;\n"
                      "image/png=eog.desktop;\n"
                      "\n"
                      "[Removed Associations]\n"
                      "text/plain=x.desktop;\n");
        QVERIFY(!TDefaultBrowser::IsDefaultBrowser());
        TDefaultBrowser::RegisterAll(true, m_program);
        QVERIFY(TDefaultBrowser::IsDefaultBrowser());

        QCOMPARE(readFile(mimeAppsPath()),
                 QByteArray("# kept as it is\n"
                            "[Default Applications]\n"
                            "text/html=quillwave.desktop;a.desktop;b.desktop;\n"
                            "text/html[de]=c.desktop;\n"
                            "image/png=eog.desktop;\n"
                            "x-scheme-handler/http=quillwave.desktop;\n"
                            "x-scheme-handler/https=quillwave.desktop;\n"
                            "x-scheme-handler/file=quillwave.desktop;\n"
                            "application/x-mswinurl=quillwave.desktop;\n"
                            "\n"
                            "[Removed Associations]\n"
                            "text/plain=x.desktop;\n"
                            "\n"
                            "[Added Associations]\n"
                            "text/html=quillwave.desktop;\n"
                            "x-scheme-handler/http=quillwave.desktop;\n"
                            "x-scheme-handler/https=quillwave.desktop;\n"
                            "x-scheme-handler/file=quillwave.desktop;\n"
                            "application/x-mswinurl=quillwave.desktop;\n"));

        QCOMPARE(readFile(TDefaultBrowser::DesktopEntryPath()),
                 QByteArray("[Desktop Entry]\n"
                            "Type=Application\n"
                            "Name=Quillwave\n"
                            "Exec=/usr/local/bin/quillwave %u\n"
                            "Icon=quillwave\n"
                            "Categories=Network;WebBrowser;\n"
                            "MimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;"
                            "x-scheme-handler/file;application/x-mswinurl;\n"));
        QCOMPARE(TDefaultBrowser::DesktopEntryPath(),
                 m_dir->filePath("data/applications/quillwave.desktop"));

        // Registering what is registered writes nothing.
        const QByteArray list = readFile(mimeAppsPath());
        const QDateTime listTime = ageFile(mimeAppsPath());
        const QDateTime entryTime = ageFile(TDefaultBrowser::DesktopEntryPath());
        QVERIFY(listTime.isValid() && entryTime.isValid());
        for (const QString& className : TDefaultBrowser::ClassNames())
            TDefaultBrowser::SetClassRegistered(className, true, m_program);
        TDefaultBrowser::RegisterAll(true, m_program);
        QCOMPARE(QFileInfo(mimeAppsPath()).lastModified(), listTime);
        QCOMPARE(QFileInfo(TDefaultBrowser::DesktopEntryPath()).lastModified(), entryTime);
        QCOMPARE(readFile(mimeAppsPath()), list);
    }

    void unregisteringOtherProgramsClassWritesNothing()
    {
        const QByteArray content("[Default Applications]\r\n"
                                 "text/html=firefox.desktop;quillwave.desktop;\r\n"
                                 "x-scheme-handler/http=firefox.desktop;\r\n");
        writeMimeApps(content);
        const QDateTime time = ageFile(mimeAppsPath());
        QVERIFY(time.isValid());

        TDefaultBrowser::SetClassRegistered("htmlfile", false);
        TDefaultBrowser::UnregisterAll();

        QCOMPARE(QFileInfo(mimeAppsPath()).lastModified(), time);
        QCOMPARE(readFile(mimeAppsPath()), content);
        QCOMPARE(TDefaultBrowser::ReadClassInfo("htmlfile").DefaultVerb, QString("firefox"));
        QVERIFY(!QFile::exists(TDefaultBrowser::DesktopEntryPath()));
    }

    void unregisterAllKeepsDesktopEntryAndOtherHandlers()
    {
        writeMimeApps("[Default Applications]\n"
                      "x-scheme-handler/http=a.desktop;\n");
        TDefaultBrowser::RegisterAll(true, m_program);
        QVERIFY(TDefaultBrowser::IsDefaultBrowser());

        TDefaultBrowser::UnregisterAll();
        QVERIFY(!TDefaultBrowser::IsDefaultBrowser());
        MimeAppsList list;
        QVERIFY(list.load());
        for (const QString& className : TDefaultBrowser::ClassNames())
        {
            QVERIFY(!TDefaultBrowser::IsRegistered(className));
            QVERIFY(!list.desktopIds(MimeAppsList::DefaultApplications,
                                     TDefaultBrowser::MimeTypeForClass(className))
                         .contains(TDefaultBrowser::DesktopEntryId));
        }
        QCOMPARE(list.desktopIds(MimeAppsList::DefaultApplications, "x-scheme-handler/http"),
                 QStringList{"a.desktop"});
        QCOMPARE(TDefaultBrowser::ReadClassInfo("http").DefaultVerb, QString("a"));
        QCOMPARE(TDefaultBrowser::ReadClassInfo("htmlfile").DefaultVerb, QString());
        QVERIFY(!readFile(mimeAppsPath()).contains("text/html=;"));
        QVERIFY(QFile::exists(TDefaultBrowser::DesktopEntryPath()));
    }

    void readClassInfo_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("verb");
        // clang-format off
        QTest::newRow("no entry") << QByteArray() << QString();
        QTest::newRow("ours") << QByteArray("text/html=quillwave.desktop;") << QString("Quillwave");
        QTest::newRow("another program") << QByteArray("text/html=org.gnome.Epiphany.desktop;") << QString("org.gnome.Epiphany");
        QTest::newRow("ours second") << QByteArray("text/html=a.desktop;quillwave.desktop;") << QString("a");
        QTest::newRow("look-alike id keeps its suffix") << QByteArray("text/html=Quillwave.desktop;") << QString("Quillwave.desktop");
        QTest::newRow("invalid id skipped") << QByteArray("text/html=Quillwave;quillwave.desktop;") << QString("Quillwave");
        // clang-format on
    }

    void readClassInfo()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, verb);
        writeMimeApps("[Default Applications]\n" + line + "\n");
        const TClassInfo info = TDefaultBrowser::ReadClassInfo("htmlfile");
        QCOMPARE(info.Name, QString("htmlfile"));
        QCOMPARE(info.Description, QMimeDatabase().mimeTypeForName("text/html").comment());
        QCOMPARE(info.DefaultVerb, verb);
        QCOMPARE(TDefaultBrowser::IsRegistered("htmlfile"), verb == "Quillwave");
    }

    void unknownClassIsIgnored()
    {
        writeMimeApps("[Default Applications]\ntext/plain=quillwave.desktop;\n");
        QCOMPARE(TDefaultBrowser::ReadClassInfo("txtfile"), (TClassInfo{"txtfile", {}, {}}));
        TDefaultBrowser::SetClassRegistered("txtfile", true);
        TDefaultBrowser::SetClassRegistered("txtfile", false);
        QCOMPARE(readFile(mimeAppsPath()),
                 QByteArray("[Default Applications]\ntext/plain=quillwave.desktop;\n"));
    }

    void execArgument_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("exec");
        // clang-format off
        QTest::newRow("blanks") << "/opt/my apps/quill wave" << R"("/opt/my apps/quill wave")";
        QTest::newRow("percent") << "/opt/100%/quillwave" << "/opt/100%%/quillwave";
        QTest::newRow("dollar") << "/opt/a$b/quillwave" << R"("/opt/a\\$b/quillwave")";
        QTest::newRow("double quote") << R"(/opt/say "hi"/q)" << R"("/opt/say \\"hi\\"/q")";
        QTest::newRow("backslash") << R"(/opt/back\slash/q)" << R"("/opt/back\\\\slash/q")";
        // clang-format on
    }

    void execArgument()
    {
        QFETCH(QString, path);
        QFETCH(QString, exec);
        QCOMPARE(TDefaultBrowser::ExecArgument(path), exec);
    }

    void changedDesktopEntryIsRewritten()
    {
        QVERIFY(QDir().mkpath(QFileInfo(TDefaultBrowser::DesktopEntryPath()).absolutePath()));
        QFile stale(TDefaultBrowser::DesktopEntryPath());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("[Desktop Entry]\nExec=/old/place/quillwave %u\n");
        stale.close();

        TDefaultBrowser::SetClassRegistered("https", true, m_program);
        QCOMPARE(readFile(TDefaultBrowser::DesktopEntryPath()),
                 TDefaultBrowser::DesktopEntryText(m_program));
    }

    void prompt_data()
    {
        QTest::addColumn<bool>("answerYes");
        QTest::addColumn<bool>("boxChecked");
        QTest::addColumn<bool>("registered");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<int>("promptsNextTime");
        // clang-format off
        QTest::newRow("no, keep asking")  << false << true  << false << QString()    << 1;
        QTest::newRow("no, stop asking")  << false << false << false << QString("0") << 0;
        QTest::newRow("yes, keep asking") << true  << true  << true  << QString()    << 0;
        QTest::newRow("yes, stop asking") << true  << false << true  << QString("0") << 0;
        // clang-format on
    }

    void prompt()
    {
        QFETCH(bool, answerYes);
        QFETCH(bool, boxChecked);
        QFETCH(bool, registered);
        QFETCH(QString, setting);
        QFETCH(int, promptsNextTime);

        int prompts = 0;
        QStringList seen;
        const auto confirm = [&](const QString& caption, bool checked, const QString& title,
                                 const QString& prompt, const QString& okText,
                                 const QString& cancelText, const QString& checkText)
        {
            ++prompts;
            seen = {
                caption, title, prompt, okText, cancelText, checkText, checked ? "checked" : ""};
            return TDefaultBrowser::PromptAnswer{answerYes, boxChecked};
        };
        const auto text = [](const QString& section, const QString& key)
        { return section + '>' + key; };

        TDefaultBrowser::AskDefaultBrowserPrompt(confirm, text, m_program);
        QCOMPARE(prompts, 1);
        QCOMPARE(seen, (QStringList{"Quillwave", "Default>NotCurrent", "Default>AskDefault",
                                    "GLOBAL>Yes", "GLOBAL>No", "Default>AlwaysAsk", "checked"}));
        QCOMPARE(TDefaultBrowser::IsDefaultBrowser(), registered);
        QCOMPARE(askSetting(), setting);

        prompts = 0;
        TDefaultBrowser::AskDefaultBrowserPrompt(confirm, text, m_program);
        QCOMPARE(prompts, promptsNextTime);
    }

    void noPromptWhenAskingIsOffOrAllRegistered()
    {
        int prompts = 0;
        const auto confirm = [&](auto&&...)
        {
            ++prompts;
            return TDefaultBrowser::PromptAnswer{true, true};
        };
        const auto text = [](const QString&, const QString&) { return QString(); };
        RegistryStore().setString(RegistryKeys::ValueKey, "AskDefaultBrowser", "0");
        TDefaultBrowser::AskDefaultBrowserPrompt(confirm, text, m_program);
        QVERIFY(!TDefaultBrowser::IsDefaultBrowser());

        TDefaultBrowser::RegisterAll(true, m_program);
        RegistryStore().setString(RegistryKeys::ValueKey, "AskDefaultBrowser", "1");
        TDefaultBrowser::AskDefaultBrowserPrompt(confirm, text, m_program);
        QCOMPARE(prompts, 0);
        QCOMPARE(askSetting(), QString("1"));
    }

private:
    QString mimeAppsPath() const { return m_dir->filePath("config/mimeapps.list"); }
    void writeMimeApps(const QByteArray& content)
    {
        QVERIFY(QDir().mkpath(QFileInfo(mimeAppsPath()).absolutePath()));
        QFile file(mimeAppsPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }

    QByteArray readFile(const QString& path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Sets a file's time far back, so any rewrite shows in its mtime.
    QDateTime ageFile(const QString& path) const
    {
        const QDateTime old = QDateTime::fromSecsSinceEpoch(1000000000);
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite) ||
            !file.setFileTime(old, QFileDevice::FileModificationTime))
            return {};
        return old;
    }

    QString askSetting() const
    {
        RegistryStore store;
        const auto value = store.value(RegistryKeys::ValueKey, "AskDefaultBrowser");
        return value ? value->text : QString();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    const QString m_program = QStringLiteral("/usr/local/bin/quillwave");
};

QTEST_GUILESS_MAIN(tst_TDefaultBrowser)
#include "tst_TDefaultBrowser.moc"

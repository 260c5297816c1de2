#include "core/store/RegistryStore.h"
#include "core/store/RegistryTextFormat.h"
#include "core/store/RegistryTool.h"

#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace
{
const QString Key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Morvendal\\Quillwave");

struct ToolRun
{
    int code;
    QString out;
    QString err;
};
} // namespace

class tst_RegistryTool : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString dbPath() const { return dir.filePath(QStringLiteral("settings.sqlite")); }

    ToolRun runTool(const QStringList& args) const
    {
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        RegistryTool tool(dbPath(), outStream, errStream);
        const int code = tool.run(args);
        return {code, out, err};
    }

    ToolRun importText(const QByteArray& text) const
    {
        const QString file = dir.filePath(QStringLiteral("in.reg"));
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {-1, {}, {}};
        f.write(text);
        f.close();
        return runTool({"import", file});
    }

    QString exportAll() const
    {
        RegistryStore store(dbPath());
        return RegistryTextFormat::exportAll(store);
    }

    ToolRun runBinary(const QStringList& args, const QByteArray& input = {}) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUILLWAVE_HOME", dir.path());
        process.setProcessEnvironment(env);
        process.start(QW_BIN_DIR "/quillwave-reg", args);
        if (!process.waitForStarted())
            return {-1, {}, QStringLiteral("did not start")};
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return {-1, {}, QStringLiteral("did not finish")};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

private slots:
    void init()
    {
        QVERIFY(dir.isValid());
        QFile::remove(dbPath());
    }

    void exportFormat()
    {
        {
            RegistryStore store(dbPath());
            QVERIFY(store.setString(Key, "Plain", "text"));
            QVERIFY(store.setString(Key, "Quote\"And\\Slash", "C:\\Path \"quoted\""));
            QVERIFY(store.setDWord(Key + "\\CurrentVersion", "Max", 0xFFFFFFFF));
        }
        const ToolRun run =
            runTool({"export", "hkey_current_user\\SOFTWARE\\morvendal\\quillwave"});
        QCOMPARE(run.code, 0);
        QCOMPARE(
            run.out,
            QStringLiteral("Windows Registry Editor Version 5.00\n"
                           "\n"
                           "[HKEY_CURRENT_USER\\Software\\Morvendal\\Quillwave]\n"
                           "\"Plain\"=\"text\"\n"
                           "\"Quote\\\"And\\\\Slash\"=\"C:\\\\Path \\\"quoted\\\"\"\n"
                           "\n"
                           "[HKEY_CURRENT_USER\\Software\\Morvendal\\Quillwave\\CurrentVersion]\n"
                           "\"Max\"=dword:ffffffff\n"
                           "\n"));
    }

    void importEncodingsAndLineEnds()
    {
        const QString text = QStringLiteral("Windows Registry Editor Version 5.00\n\n"
                                            "; a comment\n"
                                            "[HKEY_CURRENT_USER\\Software\\Ä]\n"
                                            "\"name\"=\"wert ü\"\n"
                                            "  \"spaced\" = dword:1F  \n");
        QStringEncoder utf16(QStringConverter::Utf16LE);
        // UTF-8 with LF, and UTF-16 with a byte-order mark and CR LF.
        for (const QByteArray& data :
             {text.toUtf8(), "\xFF\xFE" + QByteArray(utf16(QString(text).replace("\n", "\r\n")))})
        {
            QFile::remove(dbPath());
            const ToolRun run = importText(data);
            QCOMPARE(run.err, QString());
            QCOMPARE(run.code, 0);
            RegistryStore store(dbPath());
            QCOMPARE(store.value("HKEY_CURRENT_USER\\Software\\ä", "NAME"),
                     RegValue::fromString("wert ü"));
            QCOMPARE(store.value("HKEY_CURRENT_USER\\Software\\Ä", "spaced"),
                     RegValue::fromDWord(31));
        }
    }

    void importDeletes()
    {
        {
            RegistryStore store(dbPath());
            QVERIFY(store.setString(Key + "\\Old\\Child", "v", "1"));
            QVERIFY(store.setString(Key, "keep", "1"));
            QVERIFY(store.setString(Key, "drop", "1"));
            QVERIFY(store.setString(Key, "", "default"));
        }
        const ToolRun run = importText("Windows Registry Editor Version 5.00\n\n"
                                       "[-HKEY_CURRENT_USER\\Software\\Morvendal\\Quillwave\\OLD]\n"
                                       "[-HKEY_CURRENT_USER\\Software\\Never\\There]\n"
                                       "[HKEY_CURRENT_USER\\Software\\Morvendal\\Quillwave]\n"
                                       "\"DROP\"=-\n"
                                       "\"never there\"=-\n"
                                       "@=-\n");
        QCOMPARE(run.code, 0);
        RegistryStore store(dbPath());
        QVERIFY(!store.keyExists(Key + "\\Old"));
        QVERIFY(!store.keyExists("HKEY_CURRENT_USER\\Software\\Never"));
        QCOMPARE(store.valueNames(Key), QStringList{"keep"});
    }

    // Each body follows a valid first part that would change the store, so
    // nothing may be written unless the whole file is accepted.
    void malformedImportWritesNothing()
    {
        // The fuzz target checks that a refused file changes nothing; these
        // pin the messages, and refusals a round trip would not notice.
        const QList<std::pair<QByteArray, const char*>> rows = {
            // clang-format off
            {"\"d\"=dword:xyz\n", "line 5: dword:"},
            {"[HKEY_CURRENT_USER\\\\x]\n", "line 5: invalid key path"}, // an empty key name
            {"[-HKEY_CURRENT_USER]\n", "line 5: the root key"},
            {"[-HKEY_CURRENT_USER\\x]\n\"a\"=\"b\"\n", "line 6: a value cannot follow"},
            {"\"a\"=hex(1):41\n", "line 5: hex(1) data must hold whole"},
            {QByteArray("\"a\0b\"=\"c\"\n", 10), "line 5: a value name cannot hold"},
            {"\"a\"=\"\xC3\x28\"\n", "not valid UTF-8"},
            // clang-format on
        };
        {
            RegistryStore store(dbPath());
            QVERIFY(store.setString(Key, "sentinel", "before"));
        }
        const QString before = exportAll();
        for (const auto& [body, error] : rows)
        {
            const ToolRun run = importText("Windows Registry Editor Version 5.00\n\n"
                                           "[HKEY_CURRENT_USER\\Software\\Morvendal\\Quillwave]\n"
                                           "\"sentinel\"=\"after\"\n" +
                                           body + "\"tail\"=\"x\"\n");
            QCOMPARE(run.code, 2);
            QVERIFY2(run.err.contains(error), qPrintable(run.err));
            QVERIFY2(run.err.contains("nothing was imported"), qPrintable(run.err));
            QCOMPARE(exportAll(), before);
        }
    }

    void usageErrors()
    {
        for (const QStringList& args : QList<QStringList>{{},
                                                          {"list"},
                                                          {"delete", Key, "a", "b"},
                                                          {"get", "HKCU\\x", "a"},
                                                          {"delete", "HKEY_CURRENT_USER"},
                                                          {"import", "/nonexistent/file.reg"}})
        {
            const ToolRun run = runTool(args);
            QCOMPARE(run.code, 2);
            QVERIFY(!run.err.isEmpty());
            QVERIFY(run.out.isEmpty());
        }
    }

    void commandLine()
    {
        const QString k = Key + "\\CurrentVersion";
        // Without the header nothing is read, and no store is even created.
        QVERIFY(importText("\"a\"=\"b\"\n").err.contains("line 1: expected \"Windows Registry"));
        QVERIFY(!QFile::exists(dbPath()));
        QCOMPARE(runBinary({"set", k, "StartupMode", "Last \"tabs\""}).code, 0);
        ToolRun run = runBinary({"get", k.toLower(), "startupmode"});
        QCOMPARE(run.code, 0);
        QCOMPARE(run.out, QStringLiteral("Last \"tabs\"\n"));

        const QByteArray file = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n[" +
                                k.toUtf8() + "]\r\n\"Count\"=dword:0000002a\r\n";
        run = runBinary({"import", "-"}, file);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.code, 0);
        QCOMPARE(runTool({"get", k, "Count"}).out, QStringLiteral("42\n"));

        QCOMPARE(runTool({"delete", k, "Count"}).code, 0);
        QCOMPARE(runTool({"delete", k, "Count"}).code, 2);
        QCOMPARE(runTool({"delete", Key}).code, 0);
        QCOMPARE(runTool({"export", Key}).code, 2);
        QVERIFY(QFile::exists(dbPath()));
    }
};

QTEST_GUILESS_MAIN(tst_RegistryTool)
#include "tst_RegistryTool.moc"

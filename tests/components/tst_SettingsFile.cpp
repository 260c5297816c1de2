#include "components/SettingsFile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace
{
SettingsFile parsed(const QByteArray& content)
{
    SettingsFile file;
    file.loadFromData(content);
    return file;
}
} // namespace

class tst_SettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void reading()
    {
        // A file's text and the entries of its section S.
        // clang-format off
        const QList<QPair<QByteArray, QString>> rows = {
            {"[S]\nb=1\na=2\n[T]\nt=1\n[s]\nB=3\nc=4", "b=3;a=2;c=4"}, // first place, last value
            {"[ S ]\n\t A \t=  x y \t", "A=x y"},
            {"A=1\n[S]\nA\n;c\n[T]\nB=2", ""},
            {"[S]\nA=Gr\xc3\xb6\xc3\x9f\x65", QString::fromUtf8("A=Größe")},
            {"[S]\nA=Gr\xf6\xdf\x65", QString::fromUtf8("A=Größe")}, // Latin-1
        };
        // clang-format on
        for (const auto& [content, entries] : rows)
        {
            const SettingsFile file = parsed(content);
            QStringList found;
            for (const auto& [key, value] : file.entries("S"))
            {
                found << key + '=' + value;
                QCOMPARE(file.value("s", key.toLower(), "-"), value);
            }
            QCOMPARE(found.join(';'), entries);
            QCOMPARE(file.value("S", "none", "-"), "-");
        }
    }

    void writing()
    {
        // Before, operations ("SECTION|KEY|VALUE" or "-SECTION" to erase), after.
        // clang-format off
        const QList<std::tuple<QByteArray, QStringList, QByteArray>> rows = {
            {"[A]\nKey = 1\nz=2\n", {"A|KEY|9"}, "[A]\nKey =9\nz=2\n"}, // a known key keeps its place
            {";h\n[A]\na=1\n[G]\ng=1\n[B]\n;c\n[g]\n", {"-g"}, ";h\n[A]\na=1\n[B]\n;c\n"},
            {"[O]\nn=caf\xe9\n", {"A|x|1"}, "[O]\nn=caf\xc3\xa9\n[A]\nx=1\n"}, // Latin-1 written as UTF-8
            {"", {"A=| k\n[B]=| x\r\ny "}, "[A]\nk [B]=x  y\n"}, // no line breaks or key equals
        };
        // clang-format on
        for (const auto& [before, operations, after] : rows)
        {
            SettingsFile file = parsed(before);
            for (const QString& op : operations)
            {
                if (op.startsWith(QLatin1Char('-')))
                    file.eraseSection(op.mid(1));
                else
                    file.setValue(op.section('|', 0, 0), op.section('|', 1, 1), op.section('|', 2));
            }
            QCOMPARE(file.toData(), after);
        }
    }

    // Input that no editor writes is read in bounded time and written back
    // whole; section S with the entry end=last follows each.
    void badInput()
    {
        QByteArray many = "[S]\n";
        for (int i = 0; i < 100000; ++i)
            many += "k" + QByteArray::number(i) + "=v\n";
        // The data and the entries then in S.
        const QList<QPair<QByteArray, int>> rows = {
            {"[S]\nlong=" + QByteArray(50 << 20, 'x') + "\n", 2}, {many, 100001}};
        for (const auto& [data, entries] : rows)
        {
            SettingsFile file = parsed(data + "[S]\nend=last\n");
            QCOMPARE(file.entries("S").size(), entries);
            QCOMPARE(file.value("S", "end"), "last");
            file.setValue("New", "n", "1");
            const SettingsFile again = parsed(file.toData());
            QCOMPARE(again.entries("S"), file.entries("S"));
            QCOMPARE(again.value("New", "n"), "1");
        }
    }

    // A file that cannot be saved is left as it was, and the error names it.
    void fileAccess()
    {
        const QString address = "http://a.test/?q=" + QString(5000, QLatin1Char('x'));
        // What the path is, loads, saves.
        const QList<std::tuple<QString, bool, bool>> rows = {{"new", true, true},
                                                             {"none/", true, false},
                                                             {"folder", false, false},
                                                             {"pipe", false, false},
                                                             {"large", false, false}};
        for (const auto& [kind, loads, saves] : rows)
        {
            QTemporaryDir dir;
            const QString path = dir.filePath(kind == "none/" ? "none/g.vgp" : "g.vgp");
            QFile large(path);
            QVERIFY(kind != "folder" || QDir().mkpath(path));
            QVERIFY(kind != "pipe" || mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
            QVERIFY(kind != "large" || (large.open(QIODevice::WriteOnly) &&
                                        large.resize(SettingsFile::MaximumFileSize + 1)));
            const QFileInfo before(path);
            SettingsFile file(path);
            QCOMPARE(file.load(), loads);
            file.setValue("S", "long", address);
            QCOMPARE(file.save(), saves);
            SettingsFile reread(path);
            if (saves)
                QVERIFY(reread.load() && reread.value("S", "long") == address);
            else
                QVERIFY2(file.errorString().contains(path) &&
                             QFileInfo(path).size() == before.size() &&
                             QFileInfo(path).exists() == before.exists(),
                         qPrintable(file.errorString()));
        }
    }
};

QTEST_GUILESS_MAIN(tst_SettingsFile)
#include "tst_SettingsFile.moc"

#include "components/SettingsFile.h"

#include <QDir>
#include <QRandomGenerator>
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
    void reading_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("entries"); // of section S
        // clang-format off
        QTest::newRow("first place, last value") << QByteArray("[S]\nb=1\na=2\n[T]\nt=1\n[s]\nB=3\nc=4") << "b=3;a=2;c=4";
        QTest::newRow("blanks") << QByteArray("[ S ]\n\t A \t=  x y \t") << "A=x y";
        QTest::newRow("no entries") << QByteArray("A=1\n[S]\nA\n;c\n[T]\nB=2") << "";
        QTest::newRow("UTF-8") << QByteArray("[S]\nA=Gr\xc3\xb6\xc3\x9f\x65") << QString::fromUtf8("A=Größe");
        QTest::newRow("Latin-1") << QByteArray("[S]\nA=Gr\xf6\xdf\x65") << QString::fromUtf8("A=Größe");
        // clang-format on
    }
    void reading()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, entries);
        const SettingsFile file = parsed(content);
        QStringList found;
        for (const auto& [key, value] : file.entries(QStringLiteral("S")))
        {
            found << key + '=' + value;
            QCOMPARE(file.value(QStringLiteral("s"), key.toLower(), QStringLiteral("-")), value);
        }
        QCOMPARE(found.join(';'), entries);
        QCOMPARE(file.value(QStringLiteral("S"), QStringLiteral("none"), QStringLiteral("-")), "-");
    }

    void writing_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("operations"); // "SECTION|KEY|VALUE" or "-SECTION" (erase)
        QTest::addColumn<QByteArray>("after");
        // clang-format off
        QTest::newRow("known key keeps its place") << QByteArray("[A]\nKey = 1\nz=2\n") << QStringList{"A|KEY|9"} << QByteArray("[A]\nKey =9\nz=2\n");
        QTest::newRow("erase keeps other lines") << QByteArray(";h\n[A]\na=1\n[G]\ng=1\n[B]\n;c\n[g]\n") << QStringList{"-g"} << QByteArray(";h\n[A]\na=1\n[B]\n;c\n");
        QTest::newRow("Latin-1 written as UTF-8") << QByteArray("[O]\nn=caf\xe9\n") << QStringList{"A|x|1"} << QByteArray("[O]\nn=caf\xc3\xa9\n[A]\nx=1\n");
        QTest::newRow("no line breaks or key equals") << QByteArray() << QStringList{"A=| k\n[B]=| x\r\ny "} << QByteArray("[A]\nk [B]=x  y\n");
        // clang-format on
    }
    void writing()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, operations);
        QFETCH(QByteArray, after);
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

    void badInput_data()
    {
        QTest::addColumn<QByteArray>("data"); // section S with the entry end=last follows
        QTest::addColumn<int>("entries");     // in S
        QByteArray junk(1 << 20, Qt::Uninitialized);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(junk.data()), junk.size() / 4);
        QByteArray many = "[S]\n";
        for (int i = 0; i < 100000; ++i)
            many += "k" + QByteArray::number(i) + "=v\n";
        // clang-format off
        QTest::newRow("binary junk") << junk + "\n" << 1;
        QTest::newRow("50 MB line") << "[S]\nlong=" + QByteArray(50 << 20, 'x') + "\n" << 2;
        QTest::newRow("100,000 entries") << many << 100001;
        // clang-format on
    }
    void badInput()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, entries);
        SettingsFile file = parsed(data + "[S]\nend=last\n");
        QCOMPARE(file.entries(QStringLiteral("S")).size(), entries);
        QCOMPARE(file.value(QStringLiteral("S"), QStringLiteral("end")), QStringLiteral("last"));
        file.setValue(QStringLiteral("New"), QStringLiteral("n"), QStringLiteral("1"));
        const SettingsFile again = parsed(file.toData());
        QCOMPARE(again.entries(QStringLiteral("S")), file.entries(QStringLiteral("S")));
        QCOMPARE(again.value(QStringLiteral("New"), QStringLiteral("n")), QStringLiteral("1"));
    }

    void fileAccess_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<bool>("saves");
        // clang-format off
        QTest::newRow("new file") << "new" << true << true;
        QTest::newRow("missing folder") << "none/" << true << false;
        QTest::newRow("a folder") << "folder" << false << false;
        QTest::newRow("a pipe") << "pipe" << false << false;
        QTest::newRow("too large") << "large" << false << false;
        // clang-format on
    }
    void fileAccess()
    {
        QFETCH(QString, kind);
        QFETCH(bool, loads);
        QFETCH(bool, saves);
        QTemporaryDir dir;
        const QString path = dir.filePath(kind == "none/" ? "none/g.vgp" : "g.vgp");
        if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        if (kind == "pipe")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        QFile large(path);
        if (kind == "large")
            QVERIFY(large.open(QIODevice::WriteOnly) &&
                    large.resize(SettingsFile::MaximumFileSize + 1));
        const QFileInfo before(path);
        const QString address = "http://a.test/?q=" + QString(5000, QLatin1Char('x'));
        SettingsFile file(path);
        QCOMPARE(file.load(), loads);
        file.setValue(QStringLiteral("S"), QStringLiteral("long"), address);
        QCOMPARE(file.save(), saves);
        SettingsFile reread(path);
        if (saves)
            QVERIFY(reread.load() &&
                    reread.value(QStringLiteral("S"), QStringLiteral("long")) == address);
        else
            QVERIFY2(file.errorString().contains(path) && QFileInfo(path).size() == before.size() &&
                         QFileInfo(path).exists() == before.exists(),
                     qPrintable(file.errorString()));
    }
};

QTEST_GUILESS_MAIN(tst_SettingsFile)
#include "tst_SettingsFile.moc"

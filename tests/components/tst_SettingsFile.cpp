#include "components/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace
{
QString read(const QByteArray& content, const QString& section, const QString& key)
{
    SettingsFile file;
    file.loadFromData(content);
    return file.value(section, key, QStringLiteral("<none>"));
}

// "set SECTION|KEY|VALUE" or "erase SECTION", applied in order.
void apply(SettingsFile& file, const QStringList& operations)
{
    for (const QString& operation : operations)
    {
        const QString argument = operation.section(QLatin1Char(' '), 1);
        if (operation.startsWith(QStringLiteral("erase ")))
            file.eraseSection(argument);
        else
            file.setValue(argument.section(QLatin1Char('|'), 0, 0),
                          argument.section(QLatin1Char('|'), 1, 1),
                          argument.section(QLatin1Char('|'), 2));
    }
}

QByteArray writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return content;
}
} // namespace

class tst_SettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void reading_data();
    void reading();
    void entriesKeepFirstPlaceAndLastValue();
    void writing_data();
    void writing();
    void badInput_data();
    void badInput();
    void longValuesAndManyKeysSurviveTheFile();
    void unreadableOrUnwritable_data();
    void unreadableOrUnwritable();
};

void tst_SettingsFile::reading_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    // clang-format off
    QTest::newRow("LF") << QByteArray("[S]\nA=1\nB=2\n") << "S" << "B" << "2";
    QTest::newRow("CR LF") << QByteArray("[S]\r\nA=1\r\nB=2\r\n") << "S" << "B" << "2";
    QTest::newRow("lone CR") << QByteArray("[S]\rA=1\rB=2") << "S" << "B" << "2";
    QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf[S]\nA=1") << "S" << "A" << "1";
    QTest::newRow("key case") << QByteArray("[S]\nnews=1") << "S" << "NEWS" << "1";
    QTest::newRow("section case") << QByteArray("[vostelgroup]\nA=1") << "VostelGroup" << "A" << "1";
    QTest::newRow("later value wins") << QByteArray("[S]\nA=1\na=2") << "S" << "A" << "2";
    QTest::newRow("repeated section is the same section") << QByteArray("[S]\nA=1\n[T]\n[s]\nA=2") << "S" << "A" << "2";
    QTest::newRow("blanks around key and value") << QByteArray("[ S ]\n\t A \t=  x y \t") << "S" << "A" << "x y";
    QTest::newRow("first equals splits") << QByteArray("[S]\nA=http://a/?b=c&d=*") << "S" << "A" << "http://a/?b=c&d=*";
    QTest::newRow("bracketed key is an entry") << QByteArray("[S]\n[News]=http://a/\n") << "S" << "[News]" << "http://a/";
    QTest::newRow("value ending in bracket") << QByteArray("[S]\n[a]=http://[::1]\n") << "S" << "[a]" << "http://[::1]";
    QTest::newRow("empty key") << QByteArray("[S]\n=http://a/") << "S" << "" << "http://a/";
    QTest::newRow("empty value") << QByteArray("[S]\nA=") << "S" << "A" << "";
    QTest::newRow("line without equals") << QByteArray("[S]\nA\nB=2") << "S" << "A" << "<none>";
    QTest::newRow("lines before any section") << QByteArray("A=1\n[S]\nB=2") << "S" << "A" << "<none>";
    QTest::newRow("missing section") << QByteArray("[S]\nA=1") << "T" << "A" << "<none>";
    QTest::newRow("UTF-8") << QByteArray("[S]\nA=Gr\xc3\xb6\xc3\x9f\x65") << "S" << "A" << QString::fromUtf8("Größe");
    QTest::newRow("Latin-1") << QByteArray("[S]\nA=Gr\xf6\xdf\x65") << "S" << "A" << QString::fromUtf8("Größe");
    QTest::newRow("NUL in value") << QByteArray("[S]\nA=a\0b", 9) << "S" << "A" << QString::fromLatin1("a\0b", 3);
    // clang-format on
}

void tst_SettingsFile::reading()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QCOMPARE(read(content, section, key), value);
}

void tst_SettingsFile::entriesKeepFirstPlaceAndLastValue()
{
    SettingsFile file;
    file.loadFromData("x=0\n[S]\nb=1\n;note\na=2\n[T]\nt=1\n[s]\nB=3\nc=4\n");
    QCOMPARE(file.entries(QStringLiteral("S")),
             (QList<SettingsFile::Entry>{{"b", "3"}, {"a", "2"}, {"c", "4"}}));
    QCOMPARE(file.sections(), (QStringList{"S", "T"}));
}

void tst_SettingsFile::writing_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QByteArray>("after");
    // clang-format off
    QTest::newRow("new key ends its section") << QByteArray("[A]\na=1\n\n[B]\nb=1\n") << QStringList{"set A|c|3"} << QByteArray("[A]\na=1\nc=3\n\n[B]\nb=1\n");
    QTest::newRow("known key keeps its place") << QByteArray("[A]\nKey = 1\nz=2\n") << QStringList{"set A|KEY|9"} << QByteArray("[A]\nKey =9\nz=2\n");
    QTest::newRow("later lines of the key go") << QByteArray("[A]\na=1\nb=2\n[A]\nA=3\n") << QStringList{"set A|a|4"} << QByteArray("[A]\na=4\nb=2\n[A]\n");
    QTest::newRow("new section at the end") << QByteArray("[A]\na=1\n") << QStringList{"set B|x|1"} << QByteArray("[A]\na=1\n[B]\nx=1\n");
    QTest::newRow("empty file") << QByteArray() << QStringList{"set A|a|1"} << QByteArray("[A]\na=1\n");
    QTest::newRow("erase keeps other lines") << QByteArray("; head\n[A]\na=1\n[G]\ng=1\n[B]\n;c\nb=1\n") << QStringList{"erase g"} << QByteArray("; head\n[A]\na=1\n[B]\n;c\nb=1\n");
    QTest::newRow("erase every occurrence") << QByteArray("[G]\ng=1\n[A]\na=1\n[G]\nh=2\n") << QStringList{"erase G"} << QByteArray("[A]\na=1\n");
    QTest::newRow("erase then write") << QByteArray("[G]\nold=1\n[A]\na=1\n") << QStringList{"erase G", "set G|n|2", "set G|m|3"} << QByteArray("[A]\na=1\n[G]\nn=2\nm=3\n");
    QTest::newRow("erase missing section") << QByteArray("[A]\na=1") << QStringList{"erase G"} << QByteArray("[A]\na=1\n");
    QTest::newRow("CR LF kept") << QByteArray("[A]\r\na=1\r\n") << QStringList{"set A|b|2"} << QByteArray("[A]\r\na=1\r\nb=2\r\n");
    QTest::newRow("byte-order mark kept") << QByteArray("\xef\xbb\xbf[A]\na=1\n") << QStringList{"set A|b|2"} << QByteArray("\xef\xbb\xbf[A]\na=1\nb=2\n");
    QTest::newRow("Latin-1 written as UTF-8") << QByteArray("[O]\nn=caf\xe9\n") << QStringList{"set A|x|1"} << QByteArray("[O]\nn=caf\xc3\xa9\n[A]\nx=1\n");
    QTest::newRow("line breaks become blanks") << QByteArray() << QStringList{"set A|k\n[B]|x\r\ny"} << QByteArray("[A]\nk [B]=x  y\n");
    QTest::newRow("equals leaves the key") << QByteArray() << QStringList{"set A=|a=b|c=d"} << QByteArray("[A]\nab=c=d\n");
    QTest::newRow("blanks not kept") << QByteArray() << QStringList{"set A| k | v "} << QByteArray("[A]\nk=v\n");
    // clang-format on
}

void tst_SettingsFile::writing()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, operations);
    QFETCH(QByteArray, after);
    SettingsFile file;
    file.loadFromData(before);
    apply(file, operations);
    QCOMPARE(file.toData(), after);
}

void tst_SettingsFile::badInput_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("entries"); // in section S, which follows the generated text
    // clang-format off
    QTest::newRow("binary junk") << "junk" << 1;
    QTest::newRow("50 MB line") << "long line" << 2;
    QTest::newRow("100,000 entries") << "many" << 100001;
    QTest::newRow("broken UTF-8 sequence") << "broken utf8" << 1;
    // clang-format on
}

void tst_SettingsFile::badInput()
{
    QFETCH(QString, kind);
    QFETCH(int, entries);
    QByteArray data;
    if (kind == QLatin1String("junk"))
    {
        QRandomGenerator random(7);
        data.resize(1 << 20);
        random.fillRange(reinterpret_cast<quint32*>(data.data()), data.size() / 4);
        data += "\n";
    }
    else if (kind == QLatin1String("long line"))
        data = "[S]\nlong=" + QByteArray(50 * 1024 * 1024, 'x') + "\n";
    else if (kind == QLatin1String("many"))
        for (int i = 0; i < 100000; ++i)
            data += (i == 0 ? "[S]\nk" : "k") + QByteArray::number(i) + "=v\n";
    else
        data = "[T]\nt=\xe2\x82\n";
    data += "[S]\nend=last\n";

    SettingsFile file;
    file.loadFromData(data);
    QCOMPARE(file.entries(QStringLiteral("S")).size(), entries);
    QCOMPARE(file.value(QStringLiteral("S"), QStringLiteral("end")), QStringLiteral("last"));
    // What was read is written back, and a write touches only its own section.
    file.setValue(QStringLiteral("New"), QStringLiteral("n"), QStringLiteral("1"));
    SettingsFile again;
    again.loadFromData(file.toData());
    QCOMPARE(again.entries(QStringLiteral("S")), file.entries(QStringLiteral("S")));
    QCOMPARE(again.value(QStringLiteral("New"), QStringLiteral("n")), QStringLiteral("1"));
}

void tst_SettingsFile::longValuesAndManyKeysSurviveTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.vgp"));
    const QString address = QStringLiteral("http://a.test/?q=") + QString(5000, QLatin1Char('x'));
    SettingsFile file(path);
    QVERIFY(file.load());
    file.setValue(QStringLiteral("S"), QStringLiteral("long"), address);
    for (int i = 0; i < 3000; ++i)
        file.setValue(QStringLiteral("S"), QStringLiteral("site%1").arg(i),
                      QStringLiteral("http://%1.test/").arg(i));
    QVERIFY2(file.save(), qPrintable(file.errorString()));

    SettingsFile reread(path);
    QVERIFY(reread.load());
    const QList<SettingsFile::Entry> entries = reread.entries(QStringLiteral("S"));
    QCOMPARE(entries.size(), 3001);
    QCOMPARE(entries.first().second, address);
    QCOMPARE(entries.last(), SettingsFile::Entry("site2999", "http://2999.test/"));
}

void tst_SettingsFile::unreadableOrUnwritable_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("loads");
    // clang-format off
    QTest::newRow("missing folder") << "missing folder" << true;
    QTest::newRow("a folder") << "folder" << false;
    QTest::newRow("a pipe") << "pipe" << false;
    QTest::newRow("too large") << "large" << false;
    // clang-format on
}

void tst_SettingsFile::unreadableOrUnwritable()
{
    QFETCH(QString, kind);
    QFETCH(bool, loads);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("g.vgp"));
    if (kind == QLatin1String("missing folder"))
        path = dir.filePath(QStringLiteral("none/g.vgp"));
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    else if (kind == QLatin1String("pipe"))
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else
    {
        writeFile(path, "[S]\na=1\n");
        QFile grow(path);
        QVERIFY(grow.resize(SettingsFile::MaximumFileSize + 1));
    }
    const QFileInfo before(path);

    SettingsFile file(path);
    QCOMPARE(file.load(), loads);
    file.setValue(QStringLiteral("S"), QStringLiteral("b"), QStringLiteral("2"));
    QVERIFY(!file.save());
    QVERIFY2(file.errorString().contains(path), qPrintable(file.errorString()));
    // Whatever stood there before is still there, unchanged.
    QCOMPARE(QFileInfo(path).exists(), before.exists());
    QCOMPARE(QFileInfo(path).size(), before.size());
}

QTEST_GUILESS_MAIN(tst_SettingsFile)
#include "tst_SettingsFile.moc"

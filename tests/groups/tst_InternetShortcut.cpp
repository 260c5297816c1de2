#include "groups/InternetShortcut.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_InternetShortcut : public QObject
{
    Q_OBJECT

private slots:
    void readUrl_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("url");
        // clang-format off
        QTest::newRow("CR LF") << QByteArray("[InternetShortcut]\r\nURL=http://a.test/\r\n") << "http://a.test/";
        QTest::newRow("LF, no final line end") << QByteArray("[InternetShortcut]\nURL=http://a.test/") << "http://a.test/";
        QTest::newRow("DEFAULT section and icon keys") << QByteArray("[DEFAULT]\r\nBASEURL=http://base.test/\r\n[InternetShortcut]\r\nURL=http://a.test/x?y=1&z=2\r\nIDList=\r\nIconFile=http://a.test/favicon.ico\r\nIconIndex=1\r\nModified=20F06BA06D07BD014D\r\nHotKey=0\r\n") << "http://a.test/x?y=1&z=2";
        QTest::newRow("Latin-1") << QByteArray("[InternetShortcut]\r\nURL=http://a.test/caf\xe9\r\n") << QString::fromUtf8("http://a.test/caf\u00e9");
        QTest::newRow("UTF-8 with mark") << QByteArray("\xef\xbb\xbf[InternetShortcut]\nURL=http://a.test/\xc3\xbc\n") << QString::fromUtf8("http://a.test/\u00fc");
        QTest::newRow("other case, blanks") << QByteArray("[internetshortcut]\n url = http://a.test/ \n") << "http://a.test/";
        QTest::newRow("URL only in another section") << QByteArray("[DEFAULT]\nURL=http://base.test/\n[InternetShortcut]\nIconIndex=0\n") << "";
        QTest::newRow("empty file") << QByteArray() << "";
        QTest::newRow("binary junk") << QByteArray("\x00\xff[\x01=\n\x00]", 8) << "";
        // clang-format on
    }
    void readUrl()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        QFile file(dir.filePath("a.url"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        QTEST(InternetShortcut::readUrl(file.fileName()), "url");
    }

    void safeFileName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("safe");
        // clang-format off
        QTest::newRow("slash") << "News / Sport" << "News - Sport";
        QTest::newRow("control characters") << "a\tb\nc\x01" "d" << "a b c d";
        QTest::newRow("leading dots") << "..hidden" << "hidden";
        QTest::newRow("leading colons") << ": :.x:y" << "x:y";
        QTest::newRow("only dots and blanks") << " . . " << "";
        // clang-format on
    }
    void safeFileName()
    {
        QFETCH(QString, name);
        QTEST(InternetShortcut::safeFileName(name), "safe");
    }

    // Two-byte characters and surrogate pairs.
    void longNamesFitWithNumberAndExtension()
    {
        for (const QString& name :
             {QString(300, QChar(0xe9)), QString::fromUtf8("\U0001F600").repeated(100)})
        {
            const QString safe = InternetShortcut::safeFileName(name);
            QVERIFY(!safe.isEmpty() && name.startsWith(safe));
            const QString numbered = InternetShortcut::numberedName(safe, 12345, ".url");
            QVERIFY(numbered.toUtf8().size() <= InternetShortcut::MaximumNameBytes);
            QVERIFY(numbered.endsWith(" (12345).url"));
            QVERIFY(!numbered.toUtf8().contains("\xef\xbf\xbd")); // no character split in half
        }
    }

    void writeAddsNumberAndReadsBack()
    {
        QTemporaryDir dir;
        const QString first = InternetShortcut::write(dir.path(), "A/B", "http://a.test/1");
        const QString second = InternetShortcut::write(dir.path(), "A/B", "http://a.test/2\r\n[x]");
        QCOMPARE(first, dir.filePath("A-B.url"));
        QCOMPARE(second, dir.filePath("A-B (2).url"));
        QFile file(first);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[InternetShortcut]\r\nURL=http://a.test/1\r\n"));
        // A line break in the address cannot start a section of its own.
        QCOMPARE(InternetShortcut::readUrl(second), QString("http://a.test/2  [x]"));
        QCOMPARE(InternetShortcut::write(dir.path(), "", "http://host.test/p"),
                 dir.filePath("host.test.url"));
        QCOMPARE(InternetShortcut::write(dir.path(), "", ""), QString());
        QCOMPARE(InternetShortcut::write(dir.filePath("missing"), "x", "http://a/"), QString());
    }
};

QTEST_GUILESS_MAIN(tst_InternetShortcut)
#include "tst_InternetShortcut.moc"

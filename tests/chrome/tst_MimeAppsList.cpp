#include "chrome/MimeAppsList.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

static const QString Def = MimeAppsList::DefaultApplications;
static const QString Added = MimeAppsList::AddedAssociations;

class tst_MimeAppsList : public QObject
{
    Q_OBJECT

private slots:
    void edit_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QByteArray>("after");

        const QStringList ours{"quillwave.desktop"};
        // clang-format off
        QTest::newRow("replace value, keep the rest byte for byte") << QByteArray("# my associations\n[Added Associations]\ntext/html=firefox.desktop;\n\n[Default Applications]\ntext/html[de]=x.desktop;\ntext/html = a.desktop;b.desktop;\nimage/png=eog.desktop;\n; not a comment but kept\n") << "text/html" << QStringList{"quillwave.desktop", "a.desktop", "b.desktop"} << QByteArray("# my associations\n[Added Associations]\ntext/html=firefox.desktop;\n\n[Default Applications]\ntext/html[de]=x.desktop;\ntext/html = quillwave.desktop;a.desktop;b.desktop;\nimage/png=eog.desktop;\n; not a comment but kept\n");
        QTest::newRow("CRLF kept, new line takes the file's ending") << QByteArray("[Default Applications]\r\nimage/png=eog.desktop;\r\n\r\n# next group\r\n[Removed Associations]\r\n") << "x-scheme-handler/http" << ours << QByteArray("[Default Applications]\r\nimage/png=eog.desktop;\r\nx-scheme-handler/http=quillwave.desktop;\r\n\r\n# next group\r\n[Removed Associations]\r\n");
        QTest::newRow("missing group appended after a blank line") << QByteArray("[Added Associations]\ntext/html=a.desktop;") << "text/html" << ours << QByteArray("[Added Associations]\ntext/html=a.desktop;\n\n[Default Applications]\ntext/html=quillwave.desktop;\n");
        QTest::newRow("duplicate groups: first edited, later copy of the key dropped") << QByteArray("[Default Applications]\nimage/png=eog.desktop;\n[Other]\ntext/html=keep.desktop;\n[Default Applications]\ntext/html=old.desktop;\ntext/plain=gedit.desktop;\n") << "text/html" << ours << QByteArray("[Default Applications]\nimage/png=eog.desktop;\ntext/html=quillwave.desktop;\n[Other]\ntext/html=keep.desktop;\n[Default Applications]\ntext/plain=gedit.desktop;\n");
        QTest::newRow("empty list removes the line only") << QByteArray("[Default Applications]\ntext/html=quillwave.desktop;\ntext/plain=gedit.desktop;\n") << "text/html" << QStringList() << QByteArray("[Default Applications]\ntext/plain=gedit.desktop;\n");
        QTest::newRow("same value is no change") << QByteArray("[Default Applications]\ntext/html=a.desktop;b.desktop;\n") << "text/html" << QStringList{"a.desktop", "b.desktop"} << QByteArray("[Default Applications]\ntext/html=a.desktop;b.desktop;\n");
        // clang-format on
    }

    void edit()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, key);
        QFETCH(QStringList, ids);
        QFETCH(QByteArray, after);

        MimeAppsList list(QString{});
        list.setContent(before);
        list.setDesktopIds(Def, key, ids);
        QCOMPARE(list.content(), after);
        QCOMPARE(list.isModified(), before != after);
        QCOMPARE(list.desktopIds(Def, key), ids);
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
        QTemporaryDir dir;
        const QString path = dir.filePath("sub/folder/mimeapps.list");
        MimeAppsList list(path);
        QVERIFY(list.load());
        QVERIFY(list.desktopIds(Def, "text/html").isEmpty());
        list.setDesktopIds(Added, "text/html", {"quillwave.desktop"});
        QVERIFY(list.save());
        QVERIFY(!list.isModified());

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(),
                 QByteArray("[Added Associations]\ntext/html=quillwave.desktop;\n"));
    }
};

QTEST_GUILESS_MAIN(tst_MimeAppsList)
#include "tst_MimeAppsList.moc"

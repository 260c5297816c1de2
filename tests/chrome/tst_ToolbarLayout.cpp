#include "ToolbarText.h"
#include "chrome/ToolbarLayout.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
const QString Default = "0 1h | 2 3 | 4 5 6 7 | 8 9 | 10 11 12 | 13 14 15 16 17h 18h 19h 20h 21";

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
} // namespace

class tst_ToolbarLayout : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path() const { return m_dir.filePath("tbmain.dat"); }
    bool writeText(const QByteArray& text)
    {
        QFile file(path());
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) >= 0;
    }

private slots:
    void absentFileMeansDefault() { QVERIFY(!ToolbarLayout::Read(m_dir.filePath("none.dat"))); }

    void read()
    {
        // A file's text and the toolbar read from it.
        // clang-format off
        const QList<QPair<QByteArray, QString>> rows = {
            {"[Toolbar]\n5=1\n3=1\nSep2=1\n", "5 3 | 21"}, // order of the file, 21 appended
            {"[Toolbar]\n0=1\n1=0\n", "0 1h 21"},
            {"[Toolbar]\n21=0\n0=1\n", "21h 0"}, // 21 kept where it stands
            {"[Toolbar]\nSep0=0\nsep1=1\n4=1\n", "| | 4 21"}, // a separator's value is not read
            {"[Toolbar]\nx=1\n22=1\n-1=1\n+2=1\n5a=1\n0=1\n", "0 21"},
            {"[Toolbar]\n5=1\n3=1\n05=0\n4=1\n", "5 3 4 21"}, // a number keeps its first place
            {"[Toolbar]\n5=1\n3=1\n5=0\n", "5h 3 21"}, // a repeated key: first place, last value
            {"[Other]\n4=1\n[toolbar]\n2=1\n", "2 21"},
            {"", "21"},
        };
        // clang-format on
        for (const auto& [file, toolbar] : rows)
        {
            QVERIFY(writeText(file));
            const auto entries = ToolbarLayout::Read(path());
            QVERIFY(entries);
            QCOMPARE(toolbarText(*entries), toolbar);
        }
    }

    void roundTrip()
    {
        for (const QString& toolbar :
             {Default, QStringLiteral("| 3 | | 2h 21 |"),
              QStringLiteral("0h 1h 2h 3h 4h 5h 6h 7h 8h 9h 10h 11h 12h 13h 14h 15h 16h 17h 18h "
                             "19h 20h 21h")})
        {
            QString error;
            QVERIFY2(ToolbarLayout::Write(path(), toolbarEntries(toolbar), &error),
                     qPrintable(error));
            QCOMPARE(toolbarText(ToolbarLayout::Read(path()).value()), toolbar);
        }
    }

    void fileText()
    {
        QVERIFY(ToolbarLayout::Write(path(), toolbarEntries("0 1h | 2 | 21h")));
        QCOMPARE(readAll(path()), QByteArray("[Toolbar]\n0=1\n1=0\nSep2=1\n2=1\nSep4=1\n21=0\n"));
        // A file that was there is replaced whole, whatever it held.
        QVERIFY(writeText("[Other]\na=b\n[Toolbar]\n9=1\n"));
        QVERIFY(ToolbarLayout::Write(path(), toolbarEntries("3")));
        QCOMPARE(readAll(path()), QByteArray("[Toolbar]\n3=1\n"));
    }

    // Neither a folder in the file's place nor a file in the folder's place
    // loses what was there.
    void failedWriteKeepsWhatWasThere()
    {
        const QString folder = m_dir.filePath("taken");
        QVERIFY(QDir().mkpath(folder + "/tbmain.dat"));
        QFile old(folder + "/tbmain.dat/inside");
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        for (const QString& target : {folder + "/tbmain.dat", old.fileName() + "/tbmain.dat"})
        {
            QString error;
            QVERIFY(!ToolbarLayout::Write(target, ToolbarLayout::DefaultLayout(), &error));
            QVERIFY(!error.isEmpty());
            QCOMPARE(readAll(old.fileName()), QByteArray("old"));
        }
    }
};

QTEST_GUILESS_MAIN(tst_ToolbarLayout)
#include "tst_ToolbarLayout.moc"

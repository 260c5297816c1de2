#include "ScriptedFileServices.h"
#include "core/store/ProgramPaths.h"
#include "groups/TVostelGroup.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct SaveAsk
{
    QByteArray existing; // News.vgp: "" none, "/" a folder, else its text
    QString answer;      // chosen in the dialog, empty = cancelled
    bool yes;            // to the question whether to replace
    bool asked;
    QString fileName; // the group's afterwards
    bool saved;
};

} // namespace

class tst_TVostelGroup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("QUILLWAVE_HOME", QFile::encodeName(m_home.path())); }

    void saveAndReload_data()
    {
        QTest::addColumn<QString>("sites"); // "name|address|locked" separated by ";"
        QTest::addColumn<QStringList>("reloaded");
        const QString longAddress = "http://a/?q=" + QString(5000, QLatin1Char('x'));
        QStringList many;
        for (int i = 1; i <= 3000; ++i)
            many << QStringLiteral("blank%1=http://a/").arg(i);
        // clang-format off
        QTest::newRow("named, untitled, locked") << "News|http://n/|0;|http://b/|1;Mail|http://m/|0" << QStringList{"News=http://n/", "blank2=*http://b/", "Mail=http://m/"};
        QTest::newRow("same name twice") << "News|http://1/|0;Mail|http://m/|0;news|http://2/|1" << QStringList{"News=*http://2/", "Mail=http://m/"};
        QTest::newRow("5,000-character address") << "L|" + longAddress + "|0" << QStringList{"L=" + longAddress};
        QTest::newRow("3,000 sites") << QStringList(3000, "|http://a/|0").join(';') << many;
        // clang-format on
    }
    void saveAndReload()
    {
        QFETCH(QString, sites);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("g.vgp"));
        writeFile(path, "[Other]\nx=1\n\n[VostelGroup]\nold=http://old/\n");
        TVostelGroup group(nullptr, path);
        QCOMPARE(group, QStringList{"old=http://old/"});
        group.clear();
        for (const QString& site : sites.split(';'))
            group.AddSite(site.section('|', 0, 0), site.section('|', 1, 1), site.endsWith("|1"));
        QVERIFY(group.Save());
        QTEST(QStringList(TVostelGroup(nullptr, path)), "reloaded");
        QVERIFY(readFile(path).startsWith("[Other]\nx=1\n\n[VostelGroup]\n"));
    }

    void saveAsks_data()
    {
        QTest::addColumn<SaveAsk>("row");
        // clang-format off
        QTest::newRow("cancelled") << SaveAsk{"", "", true, false, "", false};
        QTest::newRow("existing, replaced") << SaveAsk{"[VostelGroup]\nold=x\n", "News.vgp", true, true, "News.vgp", true};
        QTest::newRow("existing, kept") << SaveAsk{"[VostelGroup]\nold=x\n", "News.vgp", false, true, "", false};
        QTest::newRow("existing once the suffix is added") << SaveAsk{"[VostelGroup]\n", "News", true, true, "News.vgp", true};
        QTest::newRow("a folder in the way: reported") << SaveAsk{"/", "News.vgp", true, true, "News.vgp", false};
        // clang-format on
    }
    void saveAsks()
    {
        QFETCH(SaveAsk, row);
        const auto& [existing, answer, yes, asked, fileName, saved] = row;
        QTemporaryDir dir;
        const QString news = dir.filePath(QStringLiteral("News.vgp"));
        if (existing == "/")
            QVERIFY(QDir().mkpath(news));
        else if (!existing.isEmpty())
            writeFile(news, existing);
        ScriptedFileServices services;
        services.textFn = [](const QString& section, const QString& key)
        { return section + '>' + key + QStringLiteral(" %1"); };
        services.saveFileAnswer = answer.isEmpty() ? QString() : dir.filePath(answer);
        services.confirmAnswer = {yes, false};
        // A group read from a file that is not there has no name yet.
        TVostelGroup group(&services, dir.filePath(QStringLiteral("gone.vgp")));
        group.AddSite(QStringLiteral("A"), QStringLiteral("http://a/"), false);

        QCOMPARE(group.Save(), saved);
        QCOMPARE(services.saveFileOfTypeRequests,
                 QStringList{"GLOBAL>VostelGroup %1|" + ProgramPaths::vostelGroupsFolder() +
                             "|MAIN>VostelGroupFilter %1|vgp"});
        QCOMPARE(services.confirmCalls.size(), int(asked));
        if (asked)
            QCOMPARE(services.confirmCalls.first().prompt, "GLOBAL>VostelGroupDuplicate %1");
        const QString path = fileName.isEmpty() ? QString() : dir.filePath(fileName);
        QCOMPARE(group.FileName(), path);
        if (saved)
            QCOMPARE(readFile(path), "[VostelGroup]\nA=http://a/\n");
        else if (existing != "/")
            QCOMPARE(readFile(news), existing);
        // A failed write is told, with the reason; nothing else is.
        QCOMPARE(services.errors.size(), int(!saved && !path.isEmpty()));
        for (const QString& error : services.errors)
            QVERIFY2(error.startsWith("GLOBAL>VostelGroupNotSaved ") && error.contains(path),
                     qPrintable(error));
    }

private:
    QTemporaryDir m_home;
};

QTEST_GUILESS_MAIN(tst_TVostelGroup)
#include "tst_TVostelGroup.moc"

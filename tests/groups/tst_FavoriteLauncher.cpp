#include "groups/FavoriteLauncher.h"

#include <QtTest>

// Targets: "file" and "dir" stand for a file and a folder that exist.
class tst_FavoriteLauncher : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_log;

    QString real(const QString& target) const
    {
        return target == "file" || target == "dir" ? m_dir.filePath(target) : target;
    }
    QString shown(QString path) const { return path.replace(m_dir.path() + '/', QString()); }
    FavoriteLauncher launcher(bool frontIdle)
    {
        return FavoriteLauncher({
            [this](const QString& path) { m_log << "desktop " + shown(path); },
            [this](const QString& address, bool newTab)
            { m_log << QStringLiteral("open %1 %2").arg(address).arg(newTab); },
            [frontIdle] { return frontIdle; },
            [this](const QString& address) { m_log << "front " + address; },
            [this](const QString& address) { m_log << "new " + address; },
        });
    }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir(m_dir.path()).mkdir("dir"));
        QFile file(m_dir.filePath("file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    void init() { m_log.clear(); }

    void open_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("done");
        // clang-format off
        QTest::newRow("address") << "http://a/" << QStringList{"open http://a/ 1"};
        QTest::newRow("file") << "file" << QStringList{"desktop file"};
        QTest::newRow("folder") << "dir" << QStringList{};
        QTest::newRow("empty") << "" << QStringList{};
        // clang-format on
    }
    void open()
    {
        QFETCH(QString, target);
        launcher(false).open(real(target), true);
        QTEST(m_log, "done");
    }

    void openAll_data()
    {
        QTest::addColumn<QStringList>("targets");
        QTest::addColumn<bool>("frontIdle");
        QTest::addColumn<QStringList>("done");
        // clang-format off
        QTest::newRow("first into the blank front tab") << QStringList{"http://a/", "http://b/"} << true << QStringList{"front http://a/", "new http://b/"};
        QTest::newRow("front tab in use") << QStringList{"http://a/", "http://b/"} << false << QStringList{"new http://a/", "new http://b/"};
        QTest::newRow("files, folders, empty targets") << QStringList{"file", "dir", "", "http://a/", "http://b/"} << true << QStringList{"desktop file", "front http://a/", "new http://b/"};
        // clang-format on
    }
    void openAll()
    {
        QFETCH(QStringList, targets);
        QFETCH(bool, frontIdle);
        for (QString& target : targets)
            target = real(target);
        launcher(frontIdle).openAll(targets);
        QTEST(m_log, "done");
    }
};

QTEST_GUILESS_MAIN(tst_FavoriteLauncher)
#include "tst_FavoriteLauncher.moc"

#include "TestStore.h"
#include "core/store/RegistryKeys.h"
#include "groups/FavoritesFolders.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class tst_FavoritesFolders : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;

private slots:
    void initTestCase()
    {
        qputenv("QUILLWAVE_HOME", QFile::encodeName(m_home.path()));
        QVERIFY(QDir(m_home.path()).mkpath("elsewhere/Favs/Links"));
        QVERIFY(QDir(m_home.path()).mkpath("resolved/Favs/Bar"));
        qputenv("QW_TEST_ROOT", QFile::encodeName(m_home.path()));
    }

    void favoritesFolder_data()
    {
        QTest::addColumn<QString>("user");     // "User Shell Folders" value, "-" for none
        QTest::addColumn<QString>("resolved"); // "Shell Folders" value, "-" for none
        QTest::addColumn<QString>("expected"); // below the home folder
        // clang-format off
        QTest::newRow("nothing stored") << "-" << "-" << "Favorites";
        QTest::newRow("user value, %VAR%") << "%QW_TEST_ROOT%/elsewhere/Favs" << "-" << "elsewhere/Favs";
        QTest::newRow("user value, ${VAR}, trailing slash") << "${QW_TEST_ROOT}/elsewhere/Favs/" << "-" << "elsewhere/Favs";
        QTest::newRow("user value missing, resolved used") << "$QW_TEST_ROOT/gone" << "$ROOT/resolved/Favs" << "resolved/Favs";
        QTest::newRow("unset variable") << "%QW_TEST_UNSET%/elsewhere/Favs" << "-" << "Favorites";
        QTest::newRow("relative path") << "elsewhere/Favs" << "-" << "Favorites";
        // clang-format on
    }
    void favoritesFolder()
    {
        QFETCH(QString, user);
        QFETCH(QString, resolved);
        QFETCH(QString, expected);
        TestStore store;
        const QString root = m_home.path();
        if (user != "-")
            store.store->setString(RegistryKeys::ShellFolders, "Favorites", user);
        // The resolved copy is never expanded: it holds a finished path.
        if (resolved != "-")
            store.store->setString(RegistryKeys::ResolvedShellFolders, "Favorites",
                                   QString(resolved).replace("$ROOT", root));
        QCOMPARE(FavoritesFolders::favoritesFolder(*store.store), root + '/' + expected);
        QVERIFY(QFileInfo(root + '/' + expected).isDir());
    }

    void linksFolder_data()
    {
        QTest::addColumn<QString>("linksName"); // "-" for none
        QTest::addColumn<QString>("expected");  // below the Favorites folder, "" for none
        // clang-format off
        QTest::newRow("default name") << "-" << "Links";
        QTest::newRow("stored name") << "Bar" << "";
        QTest::newRow("path out of Favorites") << "../../resolved/Favs/Bar" << "Links";
        // clang-format on
    }
    void linksFolder()
    {
        QFETCH(QString, linksName);
        QFETCH(QString, expected);
        TestStore store;
        const QString favorites = m_home.filePath("elsewhere/Favs");
        store.store->setString(RegistryKeys::ShellFolders, "Favorites", favorites);
        if (linksName != "-")
            store.store->setString(RegistryKeys::EngineToolbar, "LinksFolderName", linksName);
        QCOMPARE(FavoritesFolders::linksFolder(*store.store),
                 expected.isEmpty() ? QString() : favorites + '/' + expected);
    }
};

QTEST_GUILESS_MAIN(tst_FavoritesFolders)
#include "tst_FavoritesFolders.moc"

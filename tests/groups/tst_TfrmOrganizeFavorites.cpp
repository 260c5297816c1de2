// The organize dialog's operations on a real folder, through its handlers;
// the services answer the questions.

#include "ScriptedServices.h"
#include "groups/FavoritesFolderTree.h"
#include "groups/InternetShortcut.h"
#include "groups/TfrmOrganizeFavorites.h"

#include <QDir>
#include <QDirIterator>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
QStringList tree(const QString& root)
{
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
    {
        const QFileInfo info(it.next());
        found << QDir(root).relativeFilePath(info.filePath()) + (info.isDir() ? "/" : "");
    }
    found.sort();
    return found;
}
} // namespace

class tst_TfrmOrganizeFavorites : public QObject
{
    Q_OBJECT

    QTemporaryDir m_data;

private slots:
    // Deleted entries go to a trash of the test's own, on the same disk.
    void initTestCase() { qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path())); }

    void operations_data()
    {
        QTest::addColumn<QString>("select");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("answer"); // typed, or the folder moved to
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("added");   // entries of the tree that came
        QTest::addColumn<QString>("removed"); // entries that went
        QTest::addColumn<int>("errors");
        // clang-format off
        QTest::newRow("rename shortcut") << "Top.url" << "rename" << "Tip / Top" << true << "Tip - Top.url" << "Top.url" << 0;
        QTest::newRow("rename folder") << "News" << "rename" << "Daily" << true << "Daily/,Daily/Deep/,Daily/Old.url" << "News/,News/Deep/,News/Old.url" << 0;
        QTest::newRow("rename to a taken name") << "Top.url" << "rename" << "Old" << true << "" << "" << 1;
        QTest::newRow("move into folder") << "Top.url" << "move" << "News/Deep" << true << "News/Deep/Top.url" << "Top.url" << 0;
        QTest::newRow("move, name taken") << "News/Old.url" << "move" << "" << true << "Old (2).url" << "News/Old.url" << 0;
        QTest::newRow("move folder into itself") << "News" << "move" << "News/Deep" << true << "" << "" << 1;
        QTest::newRow("delete to trash") << "News" << "delete" << "" << true << "" << "News/,News/Deep/,News/Old.url" << 0;
        QTest::newRow("delete declined") << "Top.url" << "delete" << "" << false << "" << "" << 0;
        QTest::newRow("new folder in selected") << "News/Old.url" << "folder" << "A/B" << true << "News/A-B/" << "" << 0;
        // clang-format on
    }
    void operations()
    {
        QFETCH(QString, select);
        QFETCH(QString, operation);
        QFETCH(QString, answer);
        QFETCH(bool, confirm);
        QTemporaryDir favorites;
        const QString root = favorites.path();
        QVERIFY(QDir(root).mkpath("News/Deep"));
        for (const char* name : {"Top", "Old"})
            InternetShortcut::write(root, name, "http://top/");
        InternetShortcut::write(root + "/News", "Old", "http://old/");
        const QStringList before = tree(root);
        ScriptedServices services;
        services.inputAnswer = answer;
        services.confirmAnswer = {confirm, false};
        TfrmOrganizeFavorites dialog(root, &services);
        QVERIFY(dialog.shFavorites->selectPath(root + '/' + select));
        QVERIFY(dialog.cmdRename->isEnabled());
        if (operation == "rename")
            dialog.cmdRenameClick();
        else if (operation == "move")
            dialog.MoveSelectedTo(QDir(root).filePath(answer));
        else if (operation == "delete")
            dialog.cmdDeleteClick();
        else
            dialog.cmdNewFolderClick();
        QTEST(int(services.errors.size()), "errors");
        // One question only: the trash took the entry, nothing asked to delete it for good.
        QCOMPARE(services.confirmCalls.size(), operation == "delete" ? 1 : 0);
        const QStringList after = tree(root);
        QStringList came, went;
        for (const QString& entry : after)
            if (!before.contains(entry))
                came << entry;
        for (const QString& entry : before)
            if (!after.contains(entry))
                went << entry;
        QTEST(came.join(','), "added");
        QTEST(went.join(','), "removed");
        // The tree shows the result selected.
        if (!came.isEmpty())
            QCOMPARE(dialog.shFavorites->selectedPath(),
                     QDir::cleanPath(root + '/' + came.first()));
    }
};

QTEST_MAIN(tst_TfrmOrganizeFavorites)
#include "tst_TfrmOrganizeFavorites.moc"

// The add dialog through its widgets and handlers; the services answer
// every question, so nothing waits for a user.

#include "ScriptedServices.h"
#include "groups/FavoritesFolderTree.h"
#include "groups/InternetShortcut.h"
#include "groups/TfrmAddFavorite.h"

#include <QDir>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
QStringList files(const QString& root)
{
    QStringList found;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(root).relativeFilePath(it.next());
    found.sort();
    return found;
}
} // namespace

class tst_TfrmAddFavorite : public QObject
{
    Q_OBJECT

private slots:
    void writesOneShortcut_data()
    {
        QTest::addColumn<QString>("folder"); // selected before OK, "" for none
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("newFolder"); // typed into New Folder, "-" for no click
        QTest::addColumn<QStringList>("expected");
        // clang-format off
        QTest::newRow("top, page title") << "" << "" << "-" << QStringList{"News/Old.url", "Page - Title.url"};
        QTest::newRow("sub-folder, own name") << "News" << "Mine" << "-" << QStringList{"News/Mine.url", "News/Old.url"};
        QTest::newRow("new folder in the selected one") << "News" << "" << "Fresh/" << QStringList{"News/Fresh-/Page - Title.url", "News/Old.url"};
        QTest::newRow("new folder cancelled") << "" << "" << "" << QStringList{"News/Old.url", "Page - Title.url"};
        // clang-format on
    }
    void writesOneShortcut()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, newFolder);
        QTemporaryDir favorites;
        QVERIFY(QDir(favorites.path()).mkpath("News"));
        InternetShortcut::write(favorites.filePath("News"), "Old", "http://old/");
        ScriptedServices services;
        services.inputAccepted = !newFolder.isEmpty();
        services.inputAnswer = newFolder;
        TfrmAddFavorite dialog(favorites.path(), "Page / Title", "http://a.test/", &services);
        if (!folder.isEmpty())
            QVERIFY(dialog.shFolders->selectPath(favorites.filePath(folder)));
        if (!name.isEmpty())
            dialog.edtName->setText(name);
        if (newFolder != "-")
            dialog.cmdNewFolderClick();
        dialog.cmdOkClick();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QTEST(files(favorites.path()), "expected");
        QCOMPARE(InternetShortcut::readUrl(dialog.WrittenFile()), QString("http://a.test/"));
        QVERIFY(services.errors.isEmpty());
    }

    void failedWriteKeepsTheDialogOpen()
    {
        QTemporaryDir favorites;
        QVERIFY(QDir(favorites.path()).mkpath("Gone"));
        ScriptedServices services;
        TfrmAddFavorite dialog(favorites.path(), "Title", "http://a.test/", &services);
        QVERIFY(dialog.shFolders->selectPath(favorites.filePath("Gone")));
        QVERIFY(QDir(favorites.filePath("Gone")).removeRecursively());
        dialog.cmdOkClick();
        QCOMPARE(services.errors.size(), 1);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(files(favorites.path()).isEmpty());
    }
};

QTEST_MAIN(tst_TfrmAddFavorite)
#include "tst_TfrmAddFavorite.moc"

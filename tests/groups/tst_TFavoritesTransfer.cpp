// What the user is told after an import or export.

#include "ScriptedServices.h"
#include "groups/TFavoritesTransfer.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace
{
struct Transfer
{
    bool import;
    QByteArray content; // of the file imported
    QString file;       // below the test folder
    QString notice;     // the message shown, with the folder as "@"
    bool error;
};
} // namespace

class tst_TFavoritesTransfer : public QObject
{
    Q_OBJECT

private slots:
    void outcome_data()
    {
        QTest::addColumn<Transfer>("row");
        // clang-format off
        QTest::newRow("imported") << Transfer{true, "<DL><DT><A HREF=\"http://a/\">A</A><DT><A HREF=\"http://b/\">B</A></DL>", "my bookmarks.html", "Imported 2 my bookmarks", false};
        QTest::newRow("missing file") << Transfer{true, {}, "-", "CannotRead @/- No such file or directory", true};
        QTest::newRow("export into a missing folder") << Transfer{false, {}, "gone/out.html", "CannotWrite @/gone/out.html", true};
        // clang-format on
    }
    void outcome()
    {
        QFETCH(Transfer, row);
        const auto& [import, content, file, notice, error] = row;
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("Favorites"));
        const QString path = dir.filePath(file);
        if (!content.isEmpty())
        {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write(content) == content.size());
        }
        ScriptedServices services;
        services.textFn = [](const QString&, const QString& key) { return key + " %1 %2"; };
        const QString favorites = dir.filePath("Favorites");
        const bool ok = import ? TFavoritesTransfer::ImportFile(path, favorites, &services)
                               : TFavoritesTransfer::ExportFile(favorites, path, &services);
        QCOMPARE(ok, !error);
        const QString shown =
            error ? services.errors.value(0) : services.confirmCalls.value(0).prompt;
        QVERIFY2(shown.startsWith(QString(notice).replace('@', dir.path())), qPrintable(shown));
        QCOMPARE(services.errors.size() + services.confirmCalls.size(), 1);
    }
};

QTEST_MAIN(tst_TFavoritesTransfer)
#include "tst_TFavoritesTransfer.moc"

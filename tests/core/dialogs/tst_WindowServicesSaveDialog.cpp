#include "ModalDialogAnswerer.h"
#include "core/dialogs/WindowServices.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

class tst_WindowServicesSaveDialog : public QObject
{
    Q_OBJECT

private slots:
    // The caller asks about an existing file itself: the dialog must not ask
    // first, and a name typed without a suffix gets the type's.
    void typedSaveDialogAddsSuffixAndDoesNotAsk()
    {
        QTemporaryDir dir;
        QFile existing(dir.filePath(QStringLiteral("News.vgp")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        QStringList shown;
        ModalDialogAnswerer answerer(
            [&](QWidget* dialog)
            {
                auto* files = qobject_cast<QFileDialog*>(dialog);
                if (!files)
                    return;
                shown = QStringList{files->windowTitle(), files->directory().path()} +
                        files->nameFilters();
                files->selectFile(QStringLiteral("News"));
                // A question of the dialog's own would run inside accept().
                QTimer::singleShot(0, files,
                                   []
                                   {
                                       if (auto* box = qobject_cast<QMessageBox*>(
                                               QApplication::activeModalWidget()))
                                           box->reject();
                                   });
                static_cast<QDialog*>(files)->accept();
                if (files->isVisible())
                    files->reject();
            });
        WindowServices services;
        const QString chosen = services.chooseSaveFileOfType(
            QStringLiteral("Save"), dir.path(), QStringLiteral("Groups (*.vgp);;All (*)"),
            QStringLiteral("vgp"));
        QCOMPARE(chosen, existing.fileName());
        QCOMPARE(shown, (QStringList{"Save", dir.path(), "Groups (*.vgp)", "All (*)"}));
        QCOMPARE(answerer.count(), 1);
    }
};

QTEST_MAIN(tst_WindowServicesSaveDialog)
#include "tst_WindowServicesSaveDialog.moc"

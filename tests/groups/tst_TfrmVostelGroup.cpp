// The group editing dialog, driven through its buttons.

#include "ModalDialogAnswerer.h"
#include "ScriptedFileServices.h"
#include "chrome/TLanguage.h"
#include "components/SettingsFile.h"
#include "groups/TfrmVostelGroup.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
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

void click(QAbstractButton* button)
{
    QVERIFY2(button->isEnabled(), qPrintable(button->objectName() + " is disabled"));
    QTest::mouseClick(button, Qt::LeftButton);
}

void selectRow(TfrmVostelGroup& dialog, int row)
{
    QTreeWidget* list = dialog.lstSites;
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(dialog.SelectedRow(), row);
}

// "title|address|locked" typed into the open entry box and confirmed.
void typeSite(TfrmVostelGroup& dialog, const QString& site)
{
    dialog.edtTitle->setText(site.section('|', 0, 0));
    dialog.edtLocation->setText(site.section('|', 1, 1));
    dialog.chkTabLocked->setChecked(site.section('|', 2, 2) == "1");
    click(dialog.cmdUrlInsert);
}

// One user action: "I:site" insert, "U2:site" update row 2, "D1" delete
// row 1, "Up1" / "Dn0" move a row.
void perform(TfrmVostelGroup& dialog, const QString& action)
{
    const int row = action.section(':', 0, 0).remove(QRegularExpression("^\\D+")).toInt();
    if (action.startsWith("I:"))
    {
        click(dialog.cmdInsert);
        typeSite(dialog, action.mid(2));
        return;
    }
    selectRow(dialog, row);
    if (action.startsWith("Up"))
        click(dialog.cmdUp);
    else if (action.startsWith("Dn"))
        click(dialog.cmdDown);
    else if (action.startsWith('D'))
        click(dialog.cmdDelete);
    else
    {
        click(dialog.cmdUpdate);
        typeSite(dialog, action.section(':', 1));
    }
}

QString rowsText(const TfrmVostelGroup& dialog)
{
    QStringList rows;
    for (const TfrmVostelGroup::Site& site : dialog.Sites())
        rows << site.title + '|' + site.address + (site.locked ? "|1" : "|0");
    return rows.join(';');
}

// Every text of the dialog that still reads as a placeholder.
QStringList placeholders(QWidget* dialog)
{
    QStringList texts{dialog->windowTitle()};
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        texts << button->text() << button->toolTip();
    for (const QLabel* label : dialog->findChildren<QLabel*>())
        texts << label->text();
    for (const QGroupBox* box : dialog->findChildren<QGroupBox*>())
        texts << box->title();
    const QTreeWidgetItem* header = dialog->findChild<QTreeWidget*>("lstSites")->headerItem();
    for (int i = 0; i < header->columnCount(); ++i)
        texts << header->text(i);
    return texts.filter(QRegularExpression("^(__|~~)|UNDEFINED"));
}
} // namespace

class tst_TfrmVostelGroup : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    ScriptedFileServices m_services;

private slots:
    void init()
    {
        m_path = m_dir.filePath("News & Mail.vgp");
        QFile::remove(m_path);
        m_services.saveFileOfTypeRequests.clear();
        m_services.errors.clear();
        m_services.saveFileAnswer.clear();
        m_services.texts.clear();
    }

    void rowFromEntry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("row");
        // clang-format off
        QTest::newRow("named") << "News" << "http://n/" << "News|http://n/|0";
        QTest::newRow("untitled") << "blank3" << "http://b/" << "|http://b/|0";
        QTest::newRow("untitled in capitals") << "Blank7" << "http://b/" << "|http://b/|0";
        QTest::newRow("a name that begins like one") << "BLANKET" << "http://b/" << "|http://b/|0";
        QTest::newRow("shorter than blank") << "blan" << "x" << "blan|x|0";
        QTest::newRow("locked") << "L" << "*http://l/?a=b*c" << "L|http://l/?a=b*c|1";
        QTest::newRow("locked, no address") << "L" << "*" << "L||1";
        QTest::newRow("empty") << "" << "" << "||0";
        // clang-format on
    }
    void rowFromEntry()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, row);
        const TfrmVostelGroup::Site site = TfrmVostelGroup::SiteFromEntry(name, value);
        QCOMPARE(site.title + '|' + site.address + (site.locked ? "|1" : "|0"), row);
    }

    void opensWithTheRowsAndTheEntryBoxClosed()
    {
        writeFile(m_path, "[VostelGroup]\nNews=http://n/\nblank2=*http://b/\n");
        m_services.texts["VostelGroups>VostelGroup"] = "Group";
        TfrmVostelGroup dialog(m_path, &m_services);
        dialog.show();
        QCOMPARE(dialog.lblVostelGroupName->text(), "Group: News & Mail.vgp");
        QCOMPARE(rowsText(dialog), "News|http://n/|0;|http://b/|1");
        QCOMPARE(dialog.lstSites->topLevelItem(1)->text(2), "X");
        QCOMPARE(dialog.width(), TfrmVostelGroup::ClientWidth);
        QCOMPARE(dialog.height(), dialog.GroupBox1->y() - 2);
        QVERIFY(!dialog.EntryBoxVisible());
        QVERIFY(dialog.cmdInsert->isEnabled());
        for (QAbstractButton* button : {static_cast<QAbstractButton*>(dialog.cmdUpdate),
                                        static_cast<QAbstractButton*>(dialog.cmdDelete)})
            QVERIFY(!button->isEnabled());
        selectRow(dialog, 1);
        QVERIFY(dialog.cmdUpdate->isEnabled() && dialog.cmdDelete->isEnabled());
    }

    void okWrites_data()
    {
        QTest::addColumn<QByteArray>("group");
        QTest::addColumn<QString>("actions"); // see perform(), separated by ";"
        QTest::addColumn<QByteArray>("written");
        // clang-format off
        QTest::newRow("untitled rows keep their keys") << QByteArray("[VostelGroup]\nblank1=http://a/\nblank2=*http://b/\n") << "" << QByteArray("[VostelGroup]\nblank1=http://a/\nblank2=*http://b/\n");
        QTest::newRow("BLANKET loses its title") << QByteArray("[VostelGroup]\nNews=http://n/\nBLANKET=http://b/\n") << "" << QByteArray("[VostelGroup]\nNews=http://n/\nblank2=http://b/\n");
        QTest::newRow("a=b is saved as ab") << QByteArray("[VostelGroup]\nx=http://a/\n") << "U0:a=b|http://a/|0" << QByteArray("[VostelGroup]\nab=http://a/\n");
        QTest::newRow("same title twice: later address") << QByteArray("[VostelGroup]\nNews=http://1/\nMail=http://m/\n") << "I:news|http://2/|1" << QByteArray("[VostelGroup]\nNews=*http://2/\nMail=http://m/\n");
        QTest::newRow("insert, locked") << QByteArray("[VostelGroup]\nA=http://a/\n") << "I:B|http://b/?q=1|1" << QByteArray("[VostelGroup]\nA=http://a/\nB=*http://b/?q=1\n");
        QTest::newRow("insert untitled, blanks trimmed") << QByteArray("[VostelGroup]\nA=http://a/\n") << "I:  | http://b/ |0" << QByteArray("[VostelGroup]\nA=http://a/\nblank2=http://b/\n");
        QTest::newRow("update unlocks") << QByteArray("[VostelGroup]\nA=*http://a/\n") << "U0:A|http://a/|0" << QByteArray("[VostelGroup]\nA=http://a/\n");
        QTest::newRow("delete") << QByteArray("[VostelGroup]\nA=a\nB=b\nC=c\n") << "D1" << QByteArray("[VostelGroup]\nA=a\nC=c\n");
        QTest::newRow("up and down") << QByteArray("[VostelGroup]\nA=a\nB=b\nC=c\n") << "Up2;Dn0" << QByteArray("[VostelGroup]\nC=c\nA=a\nB=b\n");
        QTest::newRow("untitled row moved takes its new number") << QByteArray("[VostelGroup]\nA=a\nblank2=b\n") << "Up1" << QByteArray("[VostelGroup]\nblank1=b\nA=a\n");
        QTest::newRow("everything deleted") << QByteArray("[VostelGroup]\nA=a\n") << "D0" << QByteArray("[VostelGroup]\n");
        QTest::newRow("titles of \"=\" only are untitled") << QByteArray("[VostelGroup]\nA=a\nB=b\n") << "U0:=|x|0;U1:= =|y|0" << QByteArray("[VostelGroup]\nblank1=x\nblank2=y\n");
        QTest::newRow("other sections survive") << QByteArray("[Other]\nx=1\n\n[VostelGroup]\nA=a\n") << "I:B|b|0" << QByteArray("[Other]\nx=1\n\n[VostelGroup]\nA=a\nB=b\n");
        // clang-format on
    }
    void okWrites()
    {
        QFETCH(QByteArray, group);
        QFETCH(QString, actions);
        QFETCH(QByteArray, written);
        writeFile(m_path, group);
        TfrmVostelGroup dialog(m_path, &m_services);
        dialog.show();
        for (const QString& action : actions.split(';', Qt::SkipEmptyParts))
            perform(dialog, action);
        QVERIFY(!QTest::currentTestFailed());
        click(dialog.cmdOk);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(readFile(m_path), written);
        QVERIFY(m_services.saveFileOfTypeRequests.isEmpty());
    }

    void rowsMoveOnlyInside_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("order");
        QTest::addColumn<int>("selected");
        // clang-format off
        QTest::newRow("first up") << 0 << true << "A;B;C" << 0;
        QTest::newRow("last down") << 2 << false << "A;B;C" << 2;
        QTest::newRow("middle up") << 1 << true << "B;A;C" << 0;
        QTest::newRow("middle down") << 1 << false << "A;C;B" << 2;
        // clang-format on
    }
    void rowsMoveOnlyInside()
    {
        QFETCH(int, row);
        QFETCH(bool, up);
        QFETCH(QString, order);
        QFETCH(int, selected);
        writeFile(m_path, "[VostelGroup]\nA=a\nB=b\nC=c\n");
        TfrmVostelGroup dialog(m_path, &m_services);
        dialog.show();
        selectRow(dialog, row);
        click(up ? dialog.cmdUp : dialog.cmdDown);
        QStringList titles;
        for (const TfrmVostelGroup::Site& site : dialog.Sites())
            titles << site.title;
        QCOMPARE(titles.join(';'), order);
        QCOMPARE(dialog.SelectedRow(), selected);
    }

    void listButtonsAreOffWhileTheEntryBoxIsOpen_data()
    {
        QTest::addColumn<bool>("update");
        QTest::addColumn<QString>("confirmCaption");
        // clang-format off
        QTest::newRow("insert") << false << "Add";
        QTest::newRow("update") << true << "Change";
        // clang-format on
    }
    void listButtonsAreOffWhileTheEntryBoxIsOpen()
    {
        QFETCH(bool, update);
        QFETCH(QString, confirmCaption);
        m_services.setGlobalText("Insert", "Add");
        m_services.setGlobalText("Update", "Change");
        writeFile(m_path, "[VostelGroup]\nA=a\nB=*b\n");
        TfrmVostelGroup dialog(m_path, &m_services);
        dialog.show();
        selectRow(dialog, 1);
        click(update ? dialog.cmdUpdate : dialog.cmdInsert);
        QVERIFY(dialog.EntryBoxVisible());
        QCOMPARE(dialog.height(), TfrmVostelGroup::ClientHeight);
        QCOMPARE(dialog.GroupBox1->y() + dialog.GroupBox1->height() + 7, dialog.height());
        QCOMPARE(dialog.cmdUrlInsert->text(), confirmCaption);
        QCOMPARE(dialog.edtLocation->text(), update ? "b" : "");
        QCOMPARE(dialog.chkTabLocked->isChecked(), update);
        // Choosing a row again must not give the buttons back.
        selectRow(dialog, 0);
        for (QAbstractButton* button : {static_cast<QAbstractButton*>(dialog.cmdInsert),
                                        static_cast<QAbstractButton*>(dialog.cmdUpdate),
                                        static_cast<QAbstractButton*>(dialog.cmdDelete),
                                        static_cast<QAbstractButton*>(dialog.cmdUp),
                                        static_cast<QAbstractButton*>(dialog.cmdDown)})
            QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
        click(dialog.cmdUrlCancel);
        QVERIFY(!dialog.EntryBoxVisible());
        QVERIFY(dialog.cmdInsert->isEnabled() && dialog.cmdUpdate->isEnabled());
        QCOMPARE(rowsText(dialog), "A|a|0;B|b|1");
    }

    void updateDoesNotDependOnTheConfirmCaption()
    {
        // A language may word adding and changing alike.
        m_services.setGlobalText("Insert", "OK");
        m_services.setGlobalText("Update", "OK");
        writeFile(m_path, "[VostelGroup]\nA=a\nB=b\n");
        TfrmVostelGroup dialog(m_path, &m_services);
        dialog.show();
        perform(dialog, "U1:Z|z|1");
        QCOMPARE(rowsText(dialog), "A|a|0;Z|z|1");
    }

    void anEmptyAddressKeepsTheBoxOpen_data()
    {
        QTest::addColumn<QString>("action");
        // clang-format off
        QTest::newRow("insert, empty") << "I:T||0";
        QTest::newRow("insert, blanks") << "I:T|   |1";
        QTest::newRow("update, emptied") << "U0:T||0";
        // clang-format on
    }
    void anEmptyAddressKeepsTheBoxOpen()
    {
        QFETCH(QString, action);
        writeFile(m_path, "[VostelGroup]\nA=a\n");
        TfrmVostelGroup dialog(m_path, &m_services);
        dialog.show();
        perform(dialog, action);
        QVERIFY(dialog.EntryBoxVisible());
        QCOMPARE(rowsText(dialog), "A|a|0");
    }

    void cancelWritesNothing_data()
    {
        QTest::addColumn<QString>("how");
        // clang-format off
        QTest::newRow("Cancel") << "button";
        QTest::newRow("Esc") << "escape";
        QTest::newRow("Esc in the entry box") << "escape in box";
        // clang-format on
    }
    void cancelWritesNothing()
    {
        QFETCH(QString, how);
        const QByteArray group("[VostelGroup]\r\nA = a\r\nblank2=b\r\n");
        writeFile(m_path, group);
        TfrmVostelGroup dialog(m_path, &m_services);
        dialog.show();
        perform(dialog, "D0");
        perform(dialog, "I:C|c|1");
        if (how == "button")
            click(dialog.cmdCancel);
        else if (how == "escape")
            QTest::keyClick(dialog.lstSites, Qt::Key_Escape);
        else
        {
            click(dialog.cmdInsert);
            QTest::keyClick(dialog.edtLocation, Qt::Key_Escape);
        }
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(readFile(m_path), group);
    }

    void aVanishedFileIsSavedThroughTheDialog_data()
    {
        QTest::addColumn<QString>("answer"); // empty = the save dialog is cancelled
        // clang-format off
        QTest::newRow("cancelled") << "";
        QTest::newRow("saved elsewhere") << "Elsewhere.vgp";
        // clang-format on
    }
    void aVanishedFileIsSavedThroughTheDialog()
    {
        QFETCH(QString, answer);
        QTemporaryDir dir;
        const QString path = dir.filePath("g.vgp");
        writeFile(path, "[VostelGroup]\nA=a\n");
        m_services.saveFileAnswer = answer.isEmpty() ? QString() : dir.filePath(answer);
        TfrmVostelGroup dialog(path, &m_services);
        dialog.show();
        QVERIFY(QFile::remove(path));
        click(dialog.cmdOk);
        QCOMPARE(m_services.saveFileOfTypeRequests.size(), 1);
        if (answer.isEmpty())
        {
            // Nothing is written, and the pages are still there to save.
            QVERIFY(dialog.isVisible());
            QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                     QStringList());
            QCOMPARE(rowsText(dialog), "A|a|0");
        }
        else
        {
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(readFile(dir.filePath(answer)), "[VostelGroup]\nA=a\n");
            QCOMPARE(dialog.FileName(), dir.filePath(answer));
        }
    }

    void aFailedSaveIsToldAndKeepsTheDialogOpen()
    {
        writeFile(m_path, "[VostelGroup]\nA=a\n");
        TfrmVostelGroup dialog(m_path, &m_services);
        dialog.show();
        perform(dialog, "I:B|b|0");
        // Something that cannot be read back now stands where the group was.
        QVERIFY(QFile::remove(m_path));
        QVERIFY(QDir().mkdir(m_path));
        click(dialog.cmdOk);
        QCOMPARE(m_services.errors.size(), 1);
        QVERIFY(dialog.isVisible());
        QCOMPARE(rowsText(dialog), "A|a|0;B|b|0");
        QVERIFY(QFileInfo(m_path).isDir());
        QVERIFY(QDir().rmdir(m_path));
    }

    void organizeShowsTheTranslatedDialog_data()
    {
        QTest::addColumn<QString>("languageFile");
        QTest::addColumn<bool>("ok");
        // clang-format off
        QTest::newRow("English, OK") << "qweng.ini" << true;
        QTest::newRow("German, Cancel") << "qwdeu.ini" << false;
        // clang-format on
    }
    void organizeShowsTheTranslatedDialog()
    {
        QFETCH(QString, languageFile);
        QFETCH(bool, ok);
        TLanguage language;
        QVERIFY(language.Load(QW_SOURCE_DIR "/data/Languages/" + languageFile));
        WindowServices services(&language);
        const QByteArray group("[VostelGroup]\nblank1=a\n");
        writeFile(m_path, group);
        QWidget window;
        QFont font = window.font();
        font.setPointSize(font.pointSize() + 3);
        window.setFont(font);
        QStringList untranslated{"not shown"};
        QFont shownFont;
        ModalDialogAnswerer answerer(
            [&](QWidget* dialog)
            {
                auto* editor = qobject_cast<TfrmVostelGroup*>(dialog);
                QVERIFY(editor);
                untranslated = placeholders(editor);
                click(editor->cmdInsert);
                untranslated << placeholders(editor);
                shownFont = editor->font();
                typeSite(*editor, "B|b|1");
                click(ok ? editor->cmdOk : editor->cmdCancel);
            });
        QCOMPARE(TfrmVostelGroup::Organize(&window, m_path, &language, &services), ok);
        QCOMPARE(untranslated, QStringList());
        QCOMPARE(shownFont, font);
        QCOMPARE(readFile(m_path), ok ? QByteArray("[VostelGroup]\nblank1=a\nB=*b\n") : group);
    }
};

QTEST_MAIN(tst_TfrmVostelGroup)
#include "tst_TfrmVostelGroup.moc"

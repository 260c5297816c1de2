// The group editing dialog, driven through its buttons and keys as a user would.

#include "ScriptedFileServices.h"
#include "groups/TfrmVostelGroup.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace
{
QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Steps separated by ";": "S1" clicks row 1, "I" "U" "D" "^" "v" "X" "Ok" "Cancel"
// click Insert, Update, Delete, Up, Down, the entry box's Cancel, OK, Cancel;
// "T:title|address|1" fills the entry box and confirms it; "Esc" presses Escape.
void drive(TfrmVostelGroup& d, const QString& steps)
{
    const QHash<QString, QAbstractButton*> buttons{
        {"I", d.cmdInsert}, {"U", d.cmdUpdate},    {"D", d.cmdDelete}, {"^", d.cmdUp},
        {"v", d.cmdDown},   {"X", d.cmdUrlCancel}, {"Ok", d.cmdOk},    {"Cancel", d.cmdCancel}};
    const auto click = [](QAbstractButton* button)
    {
        QVERIFY2(button->isEnabled(), qPrintable(button->objectName() + " is disabled"));
        QTest::mouseClick(button, Qt::LeftButton);
    };
    QTreeWidget* list = d.lstSites;
    for (const QString& step : steps.split(';'))
    {
        const QStringList site = step.mid(2).split('|');
        if (buttons.contains(step))
            click(buttons[step]);
        else if (step == "Esc")
            QTest::keyClick(d.EntryBoxVisible() ? d.edtLocation : list->viewport(), Qt::Key_Escape);
        else if (step.startsWith('S'))
            QTest::mouseClick(
                list->viewport(), Qt::LeftButton, {},
                list->visualItemRect(list->topLevelItem(step.mid(1).toInt())).center());
        else
        {
            d.edtTitle->setText(site.value(0));
            d.edtLocation->setText(site.value(1));
            d.chkTabLocked->setChecked(site.value(2) == "1");
            click(d.cmdUrlInsert);
        }
        if (QTest::currentTestFailed())
            return;
    }
}

// What the user sees: the rows, the selected row, the enabled list buttons and the
// entry box when open; or how the dialog was closed.
QString state(const TfrmVostelGroup& d)
{
    if (!d.isVisible())
        return d.result() == QDialog::Accepted ? "accepted" : "rejected";
    QStringList rows;
    for (const TfrmVostelGroup::Site& site : d.Sites())
        rows << site.title + '|' + site.address + (site.locked ? "|1" : "|0");
    QString text = rows.join(';') + " @" + QString::number(d.SelectedRow()) + ' ';
    const QList<QAbstractButton*> on{d.cmdInsert, d.cmdUpdate, d.cmdDelete, d.cmdUp, d.cmdDown};
    for (qsizetype i = 0; i < on.size(); ++i)
        text += on[i]->isEnabled() ? QString("IUD^v")[i] : QChar('-');
    if (d.EntryBoxVisible())
        text += " box=" + d.edtTitle->text() + '|' + d.edtLocation->text() +
                (d.chkTabLocked->isChecked() ? "|1" : "|0");
    return text;
}
} // namespace

class tst_TfrmVostelGroup : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedFileServices> m_services;
    std::unique_ptr<TfrmVostelGroup> m_dialog;
    QString m_path;

    bool open(const QByteArray& group)
    {
        QFile file(m_path);
        const bool written = file.open(QIODevice::WriteOnly) && file.write(group) == group.size();
        file.close();
        m_dialog = std::make_unique<TfrmVostelGroup>(m_path, m_services.get());
        m_dialog->show();
        return written;
    }

private slots:
    void init()
    {
        m_dialog.reset();
        m_dir = std::make_unique<QTemporaryDir>();
        m_services = std::make_unique<ScriptedFileServices>();
        // A language may word adding and changing alike; the box must still know which it does.
        m_services->setGlobalText("Insert", "OK");
        m_services->setGlobalText("Update", "OK");
        m_path = m_dir->filePath("News & Mail.vgp");
    }

    void steps_data()
    {
        QTest::addColumn<QByteArray>("group");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("seen");
        QTest::addColumn<QByteArray>("written"); // empty: the file as it was
        const QByteArray abc("[VostelGroup]\nA=a\nB=*b\nC=c\n");
        const QByteArray crlf("[VostelGroup]\r\nA = a\r\nblank2=b\r\n");
        // clang-format off
        QTest::newRow("first row up stays") << abc << "S0;^" << "A|a|0;B|b|1;C|c|0 @0 IUD^v" << QByteArray();
        QTest::newRow("last row down stays") << abc << "S2;v" << "A|a|0;B|b|1;C|c|0 @2 IUD^v" << QByteArray();
        QTest::newRow("middle row up") << abc << "S1;^" << "B|b|1;A|a|0;C|c|0 @0 IUD^v" << QByteArray();
        QTest::newRow("middle row down") << abc << "S1;v" << "A|a|0;C|c|0;B|b|1 @2 IUD^v" << QByteArray();
        QTest::newRow("list buttons off while inserting") << abc << "S1;I;S0" << "A|a|0;B|b|1;C|c|0 @0 ----- box=||0" << QByteArray();
        QTest::newRow("list buttons off while updating") << abc << "S1;U;S0" << "A|a|0;B|b|1;C|c|0 @0 ----- box=B|b|1" << QByteArray();
        QTest::newRow("entry box cancelled") << abc << "S1;U;X" << "A|a|0;B|b|1;C|c|0 @1 IUD^v" << QByteArray();
        QTest::newRow("update") << abc << "S1;U;T:Z|z|0" << "A|a|0;Z|z|0;C|c|0 @1 IUD^v" << QByteArray();
        QTest::newRow("empty address on insert") << abc << "I;T:T||1" << "A|a|0;B|b|1;C|c|0 @-1 ----- box=T||1" << QByteArray();
        QTest::newRow("blank address on insert") << abc << "I;T:T|  |0" << "A|a|0;B|b|1;C|c|0 @-1 ----- box=T|  |0" << QByteArray();
        QTest::newRow("address emptied on update") << abc << "S0;U;T:A||0" << "A|a|0;B|b|1;C|c|0 @0 ----- box=A||0" << QByteArray();
        QTest::newRow("untitled keys kept") << QByteArray("[VostelGroup]\nblank1=http://a/\nBlank2=*http://b/*c\n") << "Ok" << "accepted" << QByteArray("[VostelGroup]\nblank1=http://a/\nblank2=*http://b/*c\n");
        QTest::newRow("BLANKET: untitled at its place") << QByteArray("[VostelGroup]\nNews=http://n/\nBLANKET=http://b/\n") << "Ok" << "accepted" << QByteArray("[VostelGroup]\nNews=http://n/\nblank2=http://b/\n");
        QTest::newRow("a=b saved as ab") << QByteArray("[VostelGroup]\nx=http://a/\n") << "S0;U;T:a=b|http://a/|0;Ok" << "accepted" << QByteArray("[VostelGroup]\nab=http://a/\n");
        QTest::newRow("same title: one key, later address") << QByteArray("[VostelGroup]\nNews=http://1/\nMail=http://m/\n") << "I;T:news|http://2/|1;Ok" << "accepted" << QByteArray("[VostelGroup]\nNews=*http://2/\nMail=http://m/\n");
        QTest::newRow("titles of \"=\" only are untitled") << QByteArray("[VostelGroup]\nA=a\nB=b\n") << "S0;U;T:=|x|0;S1;U;T:= =|y|0;Ok" << "accepted" << QByteArray("[VostelGroup]\nblank1=x\nblank2=y\n");
        QTest::newRow("other sections survive") << QByteArray("[Other]\nx=1\n\n[VostelGroup]\nA=a\n") << "I;T:B|b|0;Ok" << "accepted" << QByteArray("[Other]\nx=1\n\n[VostelGroup]\nA=a\nB=b\n");
        QTest::newRow("insert trimmed, delete, move") << abc << "I;T:  | d |0;S0;D;S2;^;Ok" << "accepted" << QByteArray("[VostelGroup]\nB=*b\nblank2=d\nC=c\n");
        QTest::newRow("Cancel") << crlf << "S0;D;I;T:C|c|1;Cancel" << "rejected" << QByteArray();
        QTest::newRow("Esc") << crlf << "S0;D;I;T:C|c|1;Esc" << "rejected" << QByteArray();
        QTest::newRow("Esc in the entry box") << crlf << "S0;D;I;Esc" << "rejected" << QByteArray();
        // clang-format on
    }
    void steps()
    {
        QFETCH(QByteArray, group);
        QFETCH(QString, steps);
        QFETCH(QByteArray, written);
        QVERIFY(open(group));
        drive(*m_dialog, steps);
        QTEST(state(*m_dialog), "seen");
        QCOMPARE(readFile(m_path), written.isEmpty() ? group : written);
        QCOMPARE(m_services->saveFileOfTypeRequests, QStringList());
    }

    void troubleOnSave_data()
    {
        QTest::addColumn<bool>("blocked");   // else the file is gone
        QTest::addColumn<QString>("saveAs"); // the save dialog's answer, empty: cancelled
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("told");
        QTest::addColumn<QString>("files"); // in the folder afterwards
        // clang-format off
        QTest::newRow("gone, save dialog cancelled") << false << "" << 1 << 0 << "";
        QTest::newRow("gone, saved elsewhere") << false << "Elsewhere.vgp" << 1 << 0 << "Elsewhere.vgp";
        QTest::newRow("cannot be written") << true << "" << 0 << 1 << "News & Mail.vgp";
        // clang-format on
    }
    void troubleOnSave()
    {
        QFETCH(bool, blocked);
        QFETCH(QString, saveAs);
        QVERIFY(open("[VostelGroup]\nA=a\n") && QFile::remove(m_path));
        QVERIFY(!blocked || QDir().mkdir(m_path));
        m_services->saveFileAnswer = saveAs.isEmpty() ? QString() : m_dir->filePath(saveAs);
        drive(*m_dialog, "I;T:B|b|0;Ok");
        QTEST(int(m_services->saveFileOfTypeRequests.size()), "asked");
        QTEST(int(m_services->errors.size()), "told");
        QTEST(QDir(m_dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).join(';'),
              "files");
        // A save that did not happen leaves the pages there to save.
        QCOMPARE(state(*m_dialog), saveAs.isEmpty() ? "A|a|0;B|b|0 @-1 I----" : "accepted");
        QCOMPARE(readFile(m_dialog->FileName()),
                 saveAs.isEmpty() ? "" : "[VostelGroup]\nA=a\nB=b\n");
    }
};

QTEST_MAIN(tst_TfrmVostelGroup)
#include "tst_TfrmVostelGroup.moc"

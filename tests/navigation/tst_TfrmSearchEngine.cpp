// The search-list dialog, driven through its buttons.

#include "TestStore.h"
#include "chrome/TLanguage.h"
#include "navigation/TfrmSearchEngine.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using Entries = QList<TSearchLists::Entry>;

namespace
{
void click(QAbstractButton* button)
{
    QVERIFY2(button->isEnabled(), qPrintable(button->objectName() + " is disabled"));
    QTest::mouseClick(button, Qt::LeftButton);
}

void selectRow(TfrmSearchEngine& dialog, int row)
{
    QTreeWidget* list = dialog.lstEngines;
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void typeEntry(TfrmSearchEngine& dialog, const QString& title, const QString& address)
{
    dialog.edtTitle->setText(title);
    dialog.edtLocation->setText(address);
    click(dialog.cmdUrlInsert);
}

QString rowsText(const TfrmSearchEngine& dialog)
{
    QStringList list;
    for (const TSearchLists::Entry& entry : dialog.Rows())
        list << entry.title + QLatin1Char('=') + entry.address;
    return list.join(QLatin1Char(';'));
}
} // namespace

class tst_TfrmSearchEngine : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestStore> test;
    TQWOptions* options = nullptr;
    TLanguage language;

    Entries stored(int mode) const { return TSearchLists::Read(*options, mode); }
    // The dialog shown over a list holding the given rows.
    std::unique_ptr<TfrmSearchEngine> open(int mode, const Entries& rows,
                                           TLanguage* texts = nullptr)
    {
        TSearchLists::Write(*options, mode, rows);
        auto dialog =
            std::make_unique<TfrmSearchEngine>(nullptr, mode, options, texts ? texts : &language);
        dialog->show();
        return dialog;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(language.Load(QStringLiteral(QW_SOURCE_DIR "/data/Languages/qweng.ini")));
    }

    void init()
    {
        test = std::make_unique<TestStore>();
        options = test->options.get();
    }

    void opensTranslatedWithTheStoredRowsAndTheGroupClosed()
    {
        const auto dialog = open(2, {{"A", "http://a.test/"}, {"B", "http://b.test/"}});
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Quick Search Keywords"));
        QCOMPARE(dialog->lstEngines->headerItem()->text(0), QStringLiteral("Keyword"));
        QCOMPARE(rowsText(*dialog), QStringLiteral("A=http://a.test/;B=http://b.test/"));
        QVERIFY(!dialog->EditGroupVisible());
        QCOMPARE(dialog->height(), dialog->GroupBox1->y() - 2);
        // Selecting a row enables its buttons.
        for (const bool selected : {false, true})
        {
            if (selected)
                selectRow(*dialog, 0);
            for (QAbstractButton* button : QList<QAbstractButton*>{
                     dialog->cmdUpdate, dialog->cmdDelete, dialog->cmdUp, dialog->cmdDown})
                QCOMPARE(button->isEnabled(), selected);
        }
    }

    void updateChangesTheSelectedRow()
    {
        TLanguage same;
        same.LoadFromData("[GLOBAL]\nInsert=OK\nUpdate=OK\n");
        // The dialog once told adding from changing by the button's caption.
        for (TLanguage* texts : {&language, &same})
        {
            const auto dialog =
                open(2, {{"a", "http://a.test/%s"}, {"b", "http://b.test/%s"}}, texts);
            selectRow(*dialog, 1);
            click(dialog->cmdUpdate);
            QCOMPARE(dialog->edtLocation->text(), QStringLiteral("http://b.test/%s"));
            QCOMPARE(dialog->cmdUrlInsert->text(), texts == &same ? "OK" : "Change");
            // Another row selected meanwhile cannot be deleted or moved.
            selectRow(*dialog, 0);
            QVERIFY(!dialog->cmdDelete->isEnabled() && !dialog->cmdUp->isEnabled());
            typeEntry(*dialog, QStringLiteral("bee"), QStringLiteral("http://bee.test/%s"));
            QCOMPARE(rowsText(*dialog),
                     QStringLiteral("a=http://a.test/%s;bee=http://bee.test/%s"));
        }
    }

    void deleteAndMove()
    {
        const auto dialog = open(1, {{"a", "1"}, {"b", "2"}, {"c", "3"}});
        const auto press = [&](int row, QAbstractButton* button)
        {
            selectRow(*dialog, row);
            click(button);
            return rowsText(*dialog);
        };
        QCOMPARE(press(1, dialog->cmdUp), "b=2;a=1;c=3");
        QCOMPARE(dialog->SelectedRow(), 0);
        QCOMPARE(press(2, dialog->cmdDown), "b=2;a=1;c=3"); // the last row stays
        QCOMPARE(dialog->SelectedRow(), 2);
        QCOMPARE(press(1, dialog->cmdDelete), "b=2;c=3");
        // Whatever is selected now, the buttons say so.
        QCOMPARE(dialog->cmdDelete->isEnabled(), dialog->SelectedRow() >= 0);
    }

    // OK writes the rows in order; Cancel leaves the store as it was.
    void insertAndClose()
    {
        const Entries before = {{"a", "http://a.test/"}, {"b", "http://b.test/"}};
        const Entries edited = {
            {"b", "http://b.test/"}, {"a", "http://a.test/"}, {"c", "http://c.test/"}};
        for (const bool ok : {true, false})
        {
            const auto dialog = open(0, before);
            selectRow(*dialog, 1);
            click(dialog->cmdUp);
            click(dialog->cmdInsert);
            QVERIFY(dialog->EditGroupVisible());
            QVERIFY(!dialog->cmdInsert->isEnabled() && !dialog->cmdDelete->isEnabled());
            typeEntry(*dialog, QStringLiteral("  c  "), QStringLiteral(" http://c.test/ "));
            // Cancel closes the group without a change.
            click(dialog->cmdInsert);
            dialog->edtTitle->setText(QStringLiteral("x"));
            dialog->edtLocation->setText(QStringLiteral("http://x.test/"));
            click(dialog->cmdUrlCancel);
            QVERIFY(!dialog->EditGroupVisible());
            QCOMPARE(rowsText(*dialog), "b=http://b.test/;a=http://a.test/;c=http://c.test/");
            click(ok ? dialog->cmdOk : dialog->cmdCancel);
            QCOMPARE(stored(0), ok ? edited : before);
        }
    }
};

QTEST_MAIN(tst_TfrmSearchEngine)
#include "tst_TfrmSearchEngine.moc"

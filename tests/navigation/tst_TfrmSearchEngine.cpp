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

    void opensTranslatedWithTheStoredRowsAndTheGroupClosed_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("firstColumn");
        QTest::newRow("search bar") << 0 << "Organize Search Pages"
                                    << "Title";
        QTest::newRow("quick search") << 2 << "Quick Search Keywords"
                                      << "Keyword";
    }

    void opensTranslatedWithTheStoredRowsAndTheGroupClosed()
    {
        QFETCH(int, mode);
        const auto dialog = open(mode, {{"A", "http://a.test/"}, {"B", "http://b.test/"}});
        QTEST(dialog->windowTitle(), "caption");
        QTEST(dialog->lstEngines->headerItem()->text(0), "firstColumn");
        QCOMPARE(rowsText(*dialog), QStringLiteral("A=http://a.test/;B=http://b.test/"));
        QVERIFY(!dialog->EditGroupVisible());
        QCOMPARE(dialog->height(), dialog->GroupBox1->y() - 2);
        const QList<QAbstractButton*> rowButtons = {dialog->cmdUpdate, dialog->cmdDelete,
                                                    dialog->cmdUp, dialog->cmdDown};
        // Selecting a row enables its buttons.
        for (const bool selected : {false, true})
        {
            if (selected)
                selectRow(*dialog, 0);
            for (QAbstractButton* button : rowButtons)
                QCOMPARE(button->isEnabled(), selected);
        }
    }

    void insertThroughTheEditGroup()
    {
        const auto dialog = open(1, {});
        click(dialog->cmdInsert);
        QVERIFY(dialog->EditGroupVisible());
        QCOMPARE(dialog->height(), dialog->GroupBox1->y() + dialog->GroupBox1->height() + 7);
        QVERIFY(!dialog->cmdInsert->isEnabled() && !dialog->cmdDelete->isEnabled());

        typeEntry(*dialog, QStringLiteral("  Web  "), QStringLiteral(" http://w.test/?q=%s "));
        QCOMPARE(rowsText(*dialog), QStringLiteral("Web=http://w.test/?q=%s"));
        // Cancel closes the group without a change.
        click(dialog->cmdInsert);
        dialog->edtTitle->setText(QStringLiteral("x"));
        dialog->edtLocation->setText(QStringLiteral("http://x.test/"));
        click(dialog->cmdUrlCancel);
        QVERIFY(!dialog->EditGroupVisible());
        QCOMPARE(rowsText(*dialog), QStringLiteral("Web=http://w.test/?q=%s"));
    }

    void updateChangesTheSelectedRow_data()
    {
        QTest::addColumn<bool>("sameCaptions");
        QTest::addColumn<QString>("changeCaption");
        QTest::newRow("shipped texts") << false << "Change";
        // The dialog once told adding from changing by the button's caption.
        QTest::newRow("Add and Change read the same") << true << "OK";
    }

    void updateChangesTheSelectedRow()
    {
        QFETCH(bool, sameCaptions);
        TLanguage same;
        same.LoadFromData("[GLOBAL]\nInsert=OK\nUpdate=OK\n");
        const auto dialog = open(2, {{"a", "http://a.test/%s"}, {"b", "http://b.test/%s"}},
                                 sameCaptions ? &same : &language);
        selectRow(*dialog, 1);
        click(dialog->cmdUpdate);
        QCOMPARE(dialog->edtLocation->text(), QStringLiteral("http://b.test/%s"));
        QTEST(dialog->cmdUrlInsert->text(), "changeCaption");
        // Another row selected meanwhile cannot be deleted or moved.
        selectRow(*dialog, 0);
        QVERIFY(!dialog->cmdDelete->isEnabled() && !dialog->cmdUp->isEnabled());
        typeEntry(*dialog, QStringLiteral("bee"), QStringLiteral("http://bee.test/%s"));
        QCOMPARE(rowsText(*dialog), QStringLiteral("a=http://a.test/%s;bee=http://bee.test/%s"));
    }

    void deleteAndMove_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("selectedAfter"); // negative: none to check
        // clang-format off
        QTest::newRow("up") << 1 << "cmdUp" << "b=2;a=1;c=3" << 0;
        QTest::newRow("down on the last does nothing") << 2 << "cmdDown" << "a=1;b=2;c=3" << 2;
        QTest::newRow("delete") << 1 << "cmdDelete" << "a=1;c=3" << -2;
        // clang-format on
    }

    void deleteAndMove()
    {
        QFETCH(int, row);
        QFETCH(QString, button);
        QFETCH(int, selectedAfter);
        const auto dialog = open(1, {{"a", "1"}, {"b", "2"}, {"c", "3"}});
        selectRow(*dialog, row);
        click(dialog->findChild<QAbstractButton*>(button));
        QTEST(rowsText(*dialog), "expected");
        if (selectedAfter >= 0)
            QCOMPARE(dialog->SelectedRow(), selectedAfter);
        // Whatever is selected now, the buttons say so.
        QCOMPARE(dialog->cmdDelete->isEnabled(), dialog->SelectedRow() >= 0);
    }

    void closing_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK writes the rows in order") << true;
        QTest::newRow("Cancel leaves the store as it was") << false;
    }

    void closing()
    {
        QFETCH(bool, ok);
        const Entries before = {{"a", "http://a.test/"}, {"b", "http://b.test/"}};
        const auto dialog = open(0, before);
        selectRow(*dialog, 1);
        click(dialog->cmdUp);
        click(dialog->cmdInsert);
        typeEntry(*dialog, QStringLiteral("c"), QStringLiteral("http://c.test/"));
        click(ok ? dialog->cmdOk : dialog->cmdCancel);
        const Entries edited = {
            {"b", "http://b.test/"}, {"a", "http://a.test/"}, {"c", "http://c.test/"}};
        QCOMPARE(stored(0), ok ? edited : before);
        QVERIFY(stored(1).isEmpty());
    }
};

QTEST_MAIN(tst_TfrmSearchEngine)
#include "tst_TfrmSearchEngine.moc"

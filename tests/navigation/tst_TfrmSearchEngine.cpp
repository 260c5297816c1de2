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

    void seed(int mode, const Entries& entries) { TSearchLists::Write(*options, mode, entries); }
    Entries stored(int mode) const { return TSearchLists::Read(*options, mode); }

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
        // clang-format off
        QTest::newRow("search bar") << 0 << "Organize Search Pages" << "Title";
        QTest::newRow("quick search") << 2 << "Quick Search Keywords" << "Keyword";
        // clang-format on
    }

    void opensTranslatedWithTheStoredRowsAndTheGroupClosed()
    {
        QFETCH(int, mode);
        QFETCH(QString, caption);
        QFETCH(QString, firstColumn);
        seed(mode, {{"A", "http://a.test/"}, {"B", "http://b.test/"}});
        TfrmSearchEngine dialog(nullptr, mode, options, &language);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), caption);
        QCOMPARE(dialog.lstEngines->headerItem()->text(0), firstColumn);
        QCOMPARE(rowsText(dialog), QStringLiteral("A=http://a.test/;B=http://b.test/"));
        QVERIFY(!dialog.EditGroupVisible());
        QCOMPARE(dialog.height(), dialog.GroupBox1->y() - 2);
        const QList<QAbstractButton*> rowButtons = {dialog.cmdUpdate, dialog.cmdDelete,
                                                    dialog.cmdUp, dialog.cmdDown};
        QVERIFY(dialog.cmdInsert->isEnabled());
        for (QAbstractButton* button : rowButtons)
            QVERIFY(!button->isEnabled());
        // Selecting a row enables its buttons.
        selectRow(dialog, 0);
        for (QAbstractButton* button : rowButtons)
            QVERIFY(button->isEnabled());
    }

    void insertThroughTheEditGroup()
    {
        TfrmSearchEngine dialog(nullptr, 1, options, &language);
        dialog.show();
        click(dialog.cmdInsert);
        QVERIFY(dialog.EditGroupVisible());
        QCOMPARE(dialog.height(), dialog.GroupBox1->y() + dialog.GroupBox1->height() + 7);
        QVERIFY(!dialog.cmdInsert->isEnabled() && !dialog.cmdDelete->isEnabled());

        typeEntry(dialog, QStringLiteral("  Web  "), QStringLiteral(" http://w.test/?q=%s "));
        QCOMPARE(rowsText(dialog), QStringLiteral("Web=http://w.test/?q=%s"));
        QVERIFY(dialog.cmdInsert->isEnabled());
        // Cancel closes the group without a change.
        click(dialog.cmdInsert);
        dialog.edtTitle->setText(QStringLiteral("x"));
        dialog.edtLocation->setText(QStringLiteral("http://x.test/"));
        click(dialog.cmdUrlCancel);
        QVERIFY(!dialog.EditGroupVisible());
        QCOMPARE(rowsText(dialog), QStringLiteral("Web=http://w.test/?q=%s"));
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
        QFETCH(QString, changeCaption);
        TLanguage same;
        same.LoadFromData("[GLOBAL]\nInsert=OK\nUpdate=OK\n");
        seed(2, {{"a", "http://a.test/%s"}, {"b", "http://b.test/%s"}});
        TfrmSearchEngine dialog(nullptr, 2, options, sameCaptions ? &same : &language);
        dialog.show();
        selectRow(dialog, 1);
        click(dialog.cmdUpdate);
        QCOMPARE(dialog.edtLocation->text(), QStringLiteral("http://b.test/%s"));
        QCOMPARE(dialog.cmdUrlInsert->text(), changeCaption);
        // Another row selected meanwhile cannot be deleted or moved.
        selectRow(dialog, 0);
        QVERIFY(!dialog.cmdDelete->isEnabled() && !dialog.cmdUp->isEnabled());
        typeEntry(dialog, QStringLiteral("bee"), QStringLiteral("http://bee.test/%s"));
        QCOMPARE(rowsText(dialog), QStringLiteral("a=http://a.test/%s;bee=http://bee.test/%s"));
    }

    void deleteAndMove_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("selectedAfter");
        // clang-format off
        QTest::newRow("up") << 1 << "cmdUp" << "b;a;c" << 0;
        QTest::newRow("down on the last does nothing") << 2 << "cmdDown" << "a;b;c" << 2;
        QTest::newRow("delete") << 1 << "cmdDelete" << "a;c" << -2;
        // clang-format on
    }

    void deleteAndMove()
    {
        QFETCH(int, row);
        QFETCH(QString, button);
        QFETCH(QString, expected);
        QFETCH(int, selectedAfter);
        seed(1, {{"a", "http://a.test/"}, {"b", "http://b.test/"}, {"c", "http://c.test/"}});
        TfrmSearchEngine dialog(nullptr, 1, options, &language);
        dialog.show();
        selectRow(dialog, row);
        click(dialog.findChild<QAbstractButton*>(button));
        QStringList titles;
        for (const TSearchLists::Entry& entry : dialog.Rows())
            titles << entry.title;
        QCOMPARE(titles.join(QLatin1Char(';')), expected);
        if (selectedAfter >= 0)
            QCOMPARE(dialog.SelectedRow(), selectedAfter);
        // Whatever is selected now, the buttons say so.
        QCOMPARE(dialog.cmdDelete->isEnabled(), dialog.SelectedRow() >= 0);
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
        seed(0, before);
        TfrmSearchEngine dialog(nullptr, 0, options, &language);
        dialog.show();
        selectRow(dialog, 1);
        click(dialog.cmdUp);
        click(dialog.cmdInsert);
        typeEntry(dialog, QStringLiteral("c"), QStringLiteral("http://c.test/"));
        click(ok ? dialog.cmdOk : dialog.cmdCancel);
        const Entries edited = {
            {"b", "http://b.test/"}, {"a", "http://a.test/"}, {"c", "http://c.test/"}};
        QCOMPARE(stored(0), ok ? edited : before);
        QVERIFY(stored(1).isEmpty());
    }
};

QTEST_MAIN(tst_TfrmSearchEngine)
#include "tst_TfrmSearchEngine.moc"

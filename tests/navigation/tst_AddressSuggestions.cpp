// The system-style completion: which addresses are offered, in which order,
// and the completion list on a real address box.

#include "core/engine/THistoryIndex.h"
#include "navigation/AddressSuggestions.h"
#include "navigation/TQWComboBox.h"
#include "navigation/TSHAutoComplete.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace
{
THistoryIndexReader::Entry visit(const QString& url, qint64 when)
{
    THistoryIndexReader::Entry entry;
    entry.url = url;
    entry.visitedMs = when;
    return entry;
}

// An address box with system completion on, one typed address and a
// history folder of its own.
struct Box
{
    QTemporaryDir history;
    QWidget window;
    TQWComboBox* box = new TQWComboBox(history.path(), &window);
    Box()
    {
        box->SetItems({QStringLiteral("http://victory.test/")});
        box->AutoComplete()->Switch(true);
    }
    bool show()
    {
        window.show();
        window.activateWindow();
        const bool active = QTest::qWaitForWindowActive(&window);
        box->setFocus();
        return active;
    }
};

QStringList popupRows(QCompleter* completer)
{
    QStringList rows;
    QAbstractItemModel* model = completer->completionModel();
    for (int i = 0; i < model->rowCount(); ++i)
        rows << model->index(i, 0).data().toString();
    return rows;
}
} // namespace

class tst_AddressSuggestions : public QObject
{
    Q_OBJECT

private slots:
    void match_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QStringList>("expected");
        // clang-format off
        QTest::newRow("past scheme and www, typed first, then newest visit") << "exa" << 10 << QStringList{"http://example.typed/", "https://www.example.org/new", "http://example.org/old"};
        QTest::newRow("a visit equal to a typed address is offered once") << "other" << 10 << QStringList{"http://Other.test/"};
        QTest::newRow("limit") << "exa" << 2 << QStringList{"http://example.typed/", "https://www.example.org/new"};
        QTest::newRow("empty text offers nothing") << "" << 10 << QStringList();
        QTest::newRow("inside a path is not a beginning") << "path" << 10 << QStringList();
        QTest::newRow("a :// inside the path is no scheme") << "x" << 10 << QStringList();
        // clang-format on
    }

    void match()
    {
        QFETCH(QString, text);
        QFETCH(int, limit);
        AddressSuggestions suggestions;
        suggestions.SetHistory({visit(QStringLiteral("http://example.org/old"), 100),
                                visit(QStringLiteral("https://www.example.org/new"), 300),
                                visit(QStringLiteral("http://example.org/old"), 50),
                                visit(QStringLiteral("http://other.test/"), 200),
                                visit(QStringLiteral("http://deep.test/path"), 10),
                                visit(QStringLiteral("file:/a?u=http://x.test/"), 5)});
        QCOMPARE(suggestions.HistoryCount(), 5);
        const QStringList typed = {QStringLiteral("http://example.typed/"),
                                   QStringLiteral("http://Other.test/")};
        QTEST(suggestions.Match(text, typed, limit), "expected");
    }

    void popupOffersSuggestionsAndEnterOpensTheChosenOne()
    {
        Box box;
        QVERIFY(THistoryIndex::recordVisit(QStringLiteral("http://www.visited.test/page"),
                                           QStringLiteral("Visited"), QDateTime::currentDateTime(),
                                           box.history.path()));
        box.box->SetCompletionStyle(2);
        QVERIFY(box.show());
        QSignalSpy submitted(box.box, &TQWComboBox::submitted);

        QTest::keyClicks(box.box, QStringLiteral("vi"));
        QCompleter* completer = box.box->AutoComplete()->Completer();
        QTRY_VERIFY(completer->popup()->isVisible());
        QCOMPARE(popupRows(completer),
                 QStringList({"http://victory.test/", "http://www.visited.test/page"}));
        // Typing on narrows the list; nothing is chosen without the user.
        QTest::keyClick(completer->popup(), Qt::Key_S);
        QCOMPARE(box.box->lineEdit()->text(), QStringLiteral("vis"));
        QCOMPARE(popupRows(completer), QStringList{"http://www.visited.test/page"});
        QTest::keyClick(completer->popup(), Qt::Key_Down);
        QTest::keyClick(completer->popup(), Qt::Key_Return);

        QCOMPARE(submitted.count(), 1);
        QCOMPARE(submitted.at(0).at(0).toString(), QStringLiteral("http://www.visited.test/page"));

        // Enter without choosing submits what was typed.
        box.box->lineEdit()->clear();
        QTest::keyClicks(box.box, QStringLiteral("vic"));
        QTRY_VERIFY(completer->popup()->isVisible());
        QTest::keyClick(completer->popup(), Qt::Key_Return);
        QCOMPARE(submitted.count(), 2);
        QCOMPARE(submitted.at(1).at(0).toString(), QStringLiteral("vic"));

        // Switched off, nothing is offered.
        box.box->AutoComplete()->Switch(false);
        box.box->lineEdit()->clear();
        QTest::keyClicks(box.box, QStringLiteral("vic"));
        QVERIFY(!completer->popup()->isVisible());
    }

    void visitsMadeWhileRunningAreOfferedAfterRefocus()
    {
        Box box;
        auto* other = new QLineEdit(&box.window);
        other->move(0, 40);
        QVERIFY(box.show());
        QTest::keyClicks(box.box, QStringLiteral("la"));
        QVERIFY(!box.box->AutoComplete()->PopupVisible());

        QVERIFY(THistoryIndex::recordVisit(QStringLiteral("https://later.test/"),
                                           QStringLiteral("Later"), QDateTime::currentDateTime(),
                                           box.history.path()));
        other->setFocus();
        box.box->lineEdit()->clear();
        box.box->setFocus();
        QTest::keyClicks(box.box, QStringLiteral("la"));
        QTRY_VERIFY(box.box->AutoComplete()->PopupVisible());
        QCOMPARE(popupRows(box.box->AutoComplete()->Completer()),
                 QStringList{"https://later.test/"});
    }
};

QTEST_MAIN(tst_AddressSuggestions)
#include "tst_AddressSuggestions.moc"

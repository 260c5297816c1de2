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

        QTest::newRow("past scheme and www, typed first, then newest visit")
            << "exa" << 10
            << QStringList{"http://example.typed/", "https://www.example.org/new",
                           "http://example.org/old"};
        QTest::newRow("with www") << "www.ex" << 10 << QStringList{"https://www.example.org/new"};
        QTest::newRow("with the scheme")
            << "http://ex" << 10 << QStringList{"http://example.typed/", "http://example.org/old"};
        QTest::newRow("ignores case")
            << "EXAMPLE.ORG/N" << 10 << QStringList{"https://www.example.org/new"};
        QTest::newRow("a visit equal to a typed address is offered once")
            << "other" << 10 << QStringList{"http://Other.test/"};
        QTest::newRow("limit") << "exa" << 2
                               << QStringList{"http://example.typed/",
                                              "https://www.example.org/new"};
        QTest::newRow("nothing fits") << "zzz" << 10 << QStringList();
        QTest::newRow("empty text offers nothing") << "" << 10 << QStringList();
        QTest::newRow("inside a path is not a beginning") << "path" << 10 << QStringList();
        QTest::newRow("a :// inside the path is no scheme") << "x" << 10 << QStringList();
    }

    void match()
    {
        QFETCH(QString, text);
        QFETCH(int, limit);
        QFETCH(QStringList, expected);
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
        QCOMPARE(suggestions.Match(text, typed, limit), expected);
    }

    void popupOffersSuggestionsAndEnterOpensTheChosenOne()
    {
        QTemporaryDir history;
        const QDateTime now = QDateTime::currentDateTime();
        QVERIFY(THistoryIndex::recordVisit(QStringLiteral("http://www.visited.test/page"),
                                           QStringLiteral("Visited"), now, history.path()));

        QWidget window;
        auto* box = new TQWComboBox(history.path(), &window);
        box->SetItems({QStringLiteral("http://victory.test/")});
        box->SetCompletionStyle(2);
        box->AutoComplete()->Switch(true);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        QSignalSpy submitted(box, &TQWComboBox::submitted);

        QTest::keyClicks(box, QStringLiteral("vi"));
        QCompleter* completer = box->AutoComplete()->Completer();
        QTRY_VERIFY(completer->popup()->isVisible());
        QCOMPARE(popupRows(completer),
                 QStringList({"http://victory.test/", "http://www.visited.test/page"}));
        // Typing on narrows the list; nothing is chosen without the user.
        QTest::keyClick(completer->popup(), Qt::Key_S);
        QCOMPARE(box->lineEdit()->text(), QStringLiteral("vis"));
        QCOMPARE(popupRows(completer), QStringList{"http://www.visited.test/page"});
        QTest::keyClick(completer->popup(), Qt::Key_Down);
        QTest::keyClick(completer->popup(), Qt::Key_Return);

        QCOMPARE(submitted.count(), 1);
        QCOMPARE(submitted.at(0).at(0).toString(), QStringLiteral("http://www.visited.test/page"));
        QCOMPARE(submitted.at(0).at(1).toBool(), true);
        QVERIFY(!completer->popup()->isVisible());
    }

    void enterWithoutChoosingSubmitsWhatWasTyped()
    {
        QTemporaryDir history;
        QWidget window;
        auto* box = new TQWComboBox(history.path(), &window);
        box->SetItems({QStringLiteral("http://victory.test/")});
        box->AutoComplete()->Switch(true);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        QSignalSpy submitted(box, &TQWComboBox::submitted);

        QTest::keyClicks(box, QStringLiteral("vic"));
        QCompleter* completer = box->AutoComplete()->Completer();
        QTRY_VERIFY(completer->popup()->isVisible());
        QTest::keyClick(completer->popup(), Qt::Key_Return);
        QCOMPARE(submitted.count(), 1);
        QCOMPARE(submitted.at(0).at(0).toString(), QStringLiteral("vic"));
    }

    void visitsMadeWhileRunningAreOfferedAfterRefocus()
    {
        QTemporaryDir history;
        QWidget window;
        auto* box = new TQWComboBox(history.path(), &window);
        auto* other = new QLineEdit(&window);
        other->move(0, 40);
        box->AutoComplete()->Switch(true);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("la"));
        QVERIFY(!box->AutoComplete()->PopupVisible());

        QVERIFY(THistoryIndex::recordVisit(QStringLiteral("https://later.test/"),
                                           QStringLiteral("Later"), QDateTime::currentDateTime(),
                                           history.path()));
        other->setFocus();
        box->lineEdit()->clear();
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("la"));
        QTRY_VERIFY(box->AutoComplete()->PopupVisible());
        QCOMPARE(popupRows(box->AutoComplete()->Completer()), QStringList{"https://later.test/"});
    }

    void switchedOffOffersNothing()
    {
        QTemporaryDir history;
        QWidget window;
        auto* box = new TQWComboBox(history.path(), &window);
        box->SetItems({QStringLiteral("http://victory.test/")});
        box->AutoComplete()->Switch(true);
        box->AutoComplete()->Switch(false);
        window.show();
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("vic"));
        QVERIFY(!box->AutoComplete()->Completer()->popup()->isVisible());
        QCOMPARE(box->lineEdit()->text(), QStringLiteral("vic"));
    }
};

QTEST_MAIN(tst_AddressSuggestions)
#include "tst_AddressSuggestions.moc"

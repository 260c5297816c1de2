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
    void match()
    {
        AddressSuggestions suggestions;
        suggestions.SetHistory(
            {visit("http://example.org/old", 100), visit("https://www.example.org/new", 300),
             visit("http://example.org/old", 50), visit("http://other.test/", 200),
             visit("http://deep.test/path", 10), visit("file:/a?u=http://x.test/", 5)});
        QCOMPARE(suggestions.HistoryCount(), 5);
        const QStringList typed = {"http://example.typed/", "http://Other.test/"};
        const QList<std::tuple<QString, int, QStringList>> rows = {
            // text, limit, offered
            // clang-format off
            // Past scheme and www, typed first, then newest visit.
            {"exa", 10, {"http://example.typed/", "https://www.example.org/new", "http://example.org/old"}},
            {"other", 10, {"http://Other.test/"}}, // a visit equal to a typed address is offered once
            {"exa", 2, {"http://example.typed/", "https://www.example.org/new"}},
            {"", 10, {}},
            {"path", 10, {}}, // inside a path is not a beginning
            {"x", 10, {}}, // a :// inside the path is no scheme
            // clang-format on
        };
        for (const auto& [text, limit, expected] : rows)
            QCOMPARE(suggestions.Match(text, typed, limit), expected);
    }

    void popupOffersSuggestionsAndEnterOpensTheChosenOne()
    {
        QTemporaryDir history;
        const auto record = [&](const char* url)
        {
            return THistoryIndex::recordVisit(url, QStringLiteral("Visited"),
                                              QDateTime::currentDateTime(), history.path());
        };
        QWidget window;
        auto* box = new TQWComboBox(history.path(), &window);
        auto* other = new QLineEdit(&window);
        other->move(0, 40);
        box->SetItems({QStringLiteral("http://victory.test/")});
        box->AutoComplete()->Switch(true);
        QVERIFY(record("http://www.visited.test/page"));
        box->SetCompletionStyle(2);
        window.show();
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
        // Enter without choosing submits what was typed.
        box->lineEdit()->clear();
        QTest::keyClicks(box, QStringLiteral("vic"));
        QTRY_VERIFY(completer->popup()->isVisible());
        QTest::keyClick(completer->popup(), Qt::Key_Return);
        QCOMPARE(submitted.size(), 2);
        QCOMPARE(submitted.at(0).at(0).toString(), QStringLiteral("http://www.visited.test/page"));
        QCOMPARE(submitted.at(1).at(0).toString(), QStringLiteral("vic"));

        // Visits made while running are offered once the box has the focus again.
        QVERIFY(record("https://later.test/"));
        other->setFocus();
        box->lineEdit()->clear();
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("la"));
        QTRY_VERIFY(completer->popup()->isVisible());
        QCOMPARE(popupRows(completer), QStringList{"https://later.test/"});
        QTest::keyClick(completer->popup(), Qt::Key_Escape);

        // Switched off, nothing is offered.
        box->AutoComplete()->Switch(false);
        box->lineEdit()->clear();
        QTest::keyClicks(box, QStringLiteral("vic"));
        QVERIFY(!completer->popup()->isVisible());
    }
};

QTEST_MAIN(tst_AddressSuggestions)
#include "tst_AddressSuggestions.moc"

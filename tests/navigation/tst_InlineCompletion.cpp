// The address box's own inline completion from the typed-address list.

#include "navigation/InlineCompletion.h"

#include <QTest>

namespace
{
const QStringList List = {
    QStringLiteral("http://www.Example.com/"), QStringLiteral("example.org"),
    QStringLiteral("http://news.test/today"),  QStringLiteral("Exact"),
    QStringLiteral("http://htmlpage.test/"),   QStringLiteral("https://secure.test/"),
};
} // namespace

class tst_InlineCompletion : public QObject
{
    Q_OBJECT

private slots:
    void complete_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("index"); // -1: no completion
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selectionStart");
        QTest::addColumn<int>("selectionLength");
        // clang-format off
        QTest::newRow("direct, first in list order") << "http://www.ex" << "a" << 0 << "http://www.Example.com/" << 14 << 9;
        QTest::newRow("through http://, shown without it") << "new" << "s" << 2 << "news.test/today" << 4 << 11;
        QTest::newRow("direct match wins over http://") << "exa" << "m" << 1 << "example.org" << 4 << 7;
        QTest::newRow("through http:// with www") << "www.exam" << "p" << 0 << "www.Example.com/" << 9 << 7;
        QTest::newRow("typing the scheme completes directly") << "ht" << "t" << 0 << "http://www.Example.com/" << 3 << 20;
        QTest::newRow("scheme-like text without a direct match") << "htm" << "l" << 4 << "htmlpage.test/" << 4 << 10;
        QTest::newRow("backspace never completes") << "exa" << "\b" << -1 << "" << 0 << 0;
        // clang-format on
    }

    void complete()
    {
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(int, index);
        const auto result = InlineCompletion::Complete(List, before, typed);
        QCOMPARE(bool(result), index >= 0);
        if (!result)
            return;
        QCOMPARE(result->index, index);
        QTEST(result->text, "text");
        QTEST(result->selectionStart, "selectionStart");
        QTEST(result->selectionLength, "selectionLength");
        // The completed part is exactly the text after what was typed.
        QCOMPARE(result->selectionStart + result->selectionLength, int(result->text.size()));
    }
};

QTEST_APPLESS_MAIN(tst_InlineCompletion)
#include "tst_InlineCompletion.moc"

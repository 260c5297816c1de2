// The address box's own inline completion from the typed-address list.

#include "navigation/InlineCompletion.h"

#include <QTest>

class tst_InlineCompletion : public QObject
{
    Q_OBJECT

private slots:
    void complete()
    {
        const QStringList list = {"http://www.Example.com/", "example.org",
                                  "http://news.test/today",  "Exact",
                                  "http://htmlpage.test/",   "https://secure.test/"};
        // before, typed, index in the list (-1: no completion), text, selection start
        const QList<std::tuple<const char*, const char*, int, const char*, int>> rows = {
            // clang-format off
            {"http://www.ex", "a", 0, "http://www.Example.com/", 14}, // first in list order
            {"new", "s", 2, "news.test/today", 4}, // through http://, shown without it
            {"exa", "m", 1, "example.org", 4}, // a direct match wins over http://
            {"www.exam", "p", 0, "www.Example.com/", 9},
            {"ht", "t", 0, "http://www.Example.com/", 3}, // typing the scheme completes directly
            {"htm", "l", 4, "htmlpage.test/", 4}, // scheme-like text without a direct match
            {"exa", "\b", -1, "", 0}, // backspace never completes
            // clang-format on
        };
        for (const auto& [before, typed, index, text, selectionStart] : rows)
        {
            const auto result = InlineCompletion::Complete(list, before, typed);
            QCOMPARE(bool(result), index >= 0);
            if (!result)
                continue;
            QCOMPARE(result->index, index);
            QCOMPARE(result->text, QString(text));
            QCOMPARE(result->selectionStart, selectionStart);
            // The completed part is exactly the text after what was typed.
            QCOMPARE(result->selectionStart + result->selectionLength, int(result->text.size()));
        }
    }
};

QTEST_APPLESS_MAIN(tst_InlineCompletion)
#include "tst_InlineCompletion.moc"

#include "core/tabs/WildcardPattern.h"

#include <QRandomGenerator>
#include <QTest>

namespace
{
// The rule as it is usually written: try both ways at every star. A rest of
// stars alone counts as used up, as a star may match nothing.
bool recursiveMatch(QStringView address, QStringView pattern)
{
    if (pattern == u"*")
        return true;
    if (address.isEmpty())
    {
        for (const QChar c : pattern)
        {
            if (c != u'*')
                return false;
        }
        return true;
    }
    if (pattern.isEmpty())
        return false;
    if (pattern.front() == u'*')
        return recursiveMatch(address, pattern.mid(1)) || recursiveMatch(address.mid(1), pattern);
    if (pattern.front() == u'?' || pattern.front() == address.front())
        return recursiveMatch(address.mid(1), pattern.mid(1));
    return false;
}

QString randomText(QRandomGenerator& random, QStringView alphabet, int maxLength)
{
    const int length = random.bounded(maxLength + 1);
    QString text;
    for (int i = 0; i < length; ++i)
        text += alphabet.at(random.bounded(int(alphabet.size())));
    return text;
}
} // namespace

class tst_WildcardPattern : public QObject
{
    Q_OBJECT

private slots:
    void match()
    {
        const QList<std::tuple<QString, QString, bool>> rows = {
            // clang-format off
            {"http://a.test/x?y", "*", true},
            {"a", "", false},
            {"", "?", false},
            {"a*c", "a?c", true}, // a question mark matches a star in the address
            {"aaab", "*aab", true}, // backtrack past a false start
            {"abcabd", "*ab*d", true}, // the last star must move, not an earlier one
            // The two-way recursion would not finish on these in a lifetime.
            {QString(10000, u'a'), "*a*a*a*a*a*a*a*b", false},
            {QString(10000, u'a'), u'*' + QString(200, u'a') + u'b', false},
            // clang-format on
        };
        for (const auto& [address, pattern, expected] : rows)
        {
            QCOMPARE(WildcardPattern::Match(address, pattern), expected);
            if (address.size() < 100)
                QCOMPARE(recursiveMatch(address, pattern), expected);
        }
    }

    void prefix()
    {
        const QList<std::tuple<QString, QString, bool>> rows = {
            // clang-format off
            {"http://ads.test/banner?id=3", "http://ads.test/", true},
            {"http://x.test/?u=http://ads.test/", "http://ads.test/", false}, // only contained further on
            {"http://ADS.test/", "http://ads.test/", false},
            {"http://a", "http://a?", false}, // a question mark at the end needs a character
            {"http://x.ads.test/p", "http://*.ads.test", true},
            // clang-format on
        };
        for (const auto& [address, pattern, expected] : rows)
            QCOMPARE(WildcardPattern::MatchPrefix(address, pattern), expected);
    }

    void agreesWithTheRecursiveRule()
    {
        QRandomGenerator random(20240611);
        const QString addressAlphabet = QStringLiteral("ab?*");
        const QString patternAlphabet = QStringLiteral("ab?**");
        int matches = 0;
        for (int i = 0; i < 20000; ++i)
        {
            const QString address = randomText(random, addressAlphabet, 9);
            const QString pattern = randomText(random, patternAlphabet, 7);
            const bool expected = recursiveMatch(address, pattern);
            matches += expected ? 1 : 0;
            if (WildcardPattern::Match(address, pattern) != expected)
                QFAIL(qPrintable(QStringLiteral("\"%1\" against \"%2\": expected %3")
                                     .arg(address, pattern, expected ? "match" : "no match")));
        }
        // Both answers must occur often, or the comparison proves little.
        QVERIFY(matches > 2000);
        QVERIFY(matches < 18000);
    }
};

QTEST_APPLESS_MAIN(tst_WildcardPattern)
#include "tst_WildcardPattern.moc"

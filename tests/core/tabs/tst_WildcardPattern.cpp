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
    void match_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("expected");
        // clang-format off
        QTest::newRow("star alone, any address") << "http://a.test/x?y" << "*" << true;
        QTest::newRow("empty pattern, some address") << "a" << "" << false;
        QTest::newRow("empty address, question mark") << "" << "?" << false;
        QTest::newRow("question matches a star in the address") << "a*c" << "a?c" << true;
        QTest::newRow("backtrack past a false start") << "aaab" << "*aab" << true;
        QTest::newRow("last star must move, not an earlier one") << "abcabd" << "*ab*d" << true;
        // The two-way recursion would not finish on these in a lifetime.
        QTest::newRow("many stars, no b") << QString(10000, u'a') << "*a*a*a*a*a*a*a*b" << false;
        QTest::newRow("long literal tail") << QString(10000, u'a') << u'*' + QString(200, u'a') + u'b' << false;
        // clang-format on
    }

    void match()
    {
        QFETCH(QString, address);
        QFETCH(QString, pattern);
        QFETCH(bool, expected);
        QCOMPARE(WildcardPattern::Match(address, pattern), expected);
        if (address.size() < 100)
            QCOMPARE(recursiveMatch(address, pattern), expected);
    }

    void prefix_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("expected");
        // clang-format off
        QTest::newRow("plain pattern is a prefix") << "http://ads.test/banner?id=3" << "http://ads.test/" << true;
        QTest::newRow("plain pattern only contained further on") << "http://x.test/?u=http://ads.test/" << "http://ads.test/" << false;
        QTest::newRow("plain pattern in other case") << "http://ADS.test/" << "http://ads.test/" << false;
        QTest::newRow("question at the end needs a character") << "http://a" << "http://a?" << false;
        QTest::newRow("wildcard inside") << "http://x.ads.test/p" << "http://*.ads.test" << true;
        // clang-format on
    }

    void prefix()
    {
        QFETCH(QString, address);
        QFETCH(QString, pattern);
        QFETCH(bool, expected);
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

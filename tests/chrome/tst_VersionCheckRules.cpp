#include "chrome/VersionCheckRules.h"

#include <QTest>

namespace
{
QDate date(const QString& iso)
{
    return QDate::fromString(iso, Qt::ISODate);
}
qint64 day(const char* iso)
{
    return VersionCheckRules::DayNumber(date(QLatin1String(iso)));
}
} // namespace

class tst_VersionCheckRules : public QObject
{
    Q_OBJECT

private slots:
    void contactAndMonthFlag()
    {
        // Today is 2024-05-01. Stored day numbers count from 1899-12-30.
        // Last contact, contact due, first contact of the month.
        // clang-format off
        const QList<std::tuple<qint64, bool, bool>> rows = {
            {0, true, true},                      // never contacted
            {45413, false, false},                // stored count of today
            {day("2024-04-30"), true, true},      // last month
            {day("2023-05-01"), true, true},      // same month, 2023
            {day("2024-05-20"), true, false},     // clock set back
            {-99999999, true, true},              // junk day number
        };
        // clang-format on
        for (const auto& [lastPong, due, firstOfMonth] : rows)
        {
            QCOMPARE(VersionCheckRules::ContactDue(date("2024-05-01"), lastPong), due);
            QCOMPARE(VersionCheckRules::FirstContactOfMonth(date("2024-05-01"), lastPong),
                     firstOfMonth);
        }
    }

    void requestUrl()
    {
        // Server, request with new=1 and mo=0; empty: no request.
        // clang-format off
        const QList<QPair<QString, QString>> rows = {
            {"https://version.quillwave.invalid", "https://version.quillwave.invalid/?ver=620&new=1&mo=0"},
            {" http://127.0.0.1:8080/ ", "http://127.0.0.1:8080/?ver=620&new=1&mo=0"},
            {"https://v.example/check", ""}, {"https://v.example/?x=1", ""},
            {"file:///etc/passwd", ""}, {"v.example", ""}, {"https://user:pw@v.example", ""},
        };
        // clang-format on
        for (const auto& [server, expected] : rows)
        {
            const std::optional<QUrl> url = VersionCheckRules::RequestUrl(server, true, false);
            QCOMPARE(url ? url->toString() : QString(), expected);
        }
    }

    void decide()
    {
        // The answer ("|" separates lines), a new installation, what is stored
        // and offered; CheckedVersion is 145.
        // clang-format off
        const QList<std::tuple<QString, bool, QString>> rows = {
            {"PONG=TRUE|VERID=150|VERSION=6.3|VERURL=https://q.example/6.3", false, "pong 150 6.3 https://q.example/6.3"},
            {"PONG=TRUE|VERID=145|VERSION=6.2|VERURL=https://q.example/", true, "pong clearNew"},
            {"VERID=146|VERSION=6.3|VERURL=http://q.example/", true, "146 6.3 http://q.example/"},
            {"PONG=true|VERID=1", true, ""}, // pong not TRUE
            {"PONG=TRUE|VERID=15x|VERSION=6.3|VERURL=https://q.example/", false, "pong"},
            {"VERID=99999999999|VERSION=6.3|VERURL=https://q.example/", false, ""},
            {"VERID=150|VERURL=https://q.example/", false, ""},
            {"VERID=150|VERSION=6.3", false, ""},
            {"VERID=150|VERSION=6.3|VERURL=javascript:alert(1)", false, ""},
            {"VERID=150|VERSION=6.3|VERURL=file:///etc/passwd", false, ""},
            {" pong = TRUE \r| verid=150\r|Version= 6.3 \r|verurl=https://q.example/a=b\r", false, "pong 150 6.3 https://q.example/a=b"},
            {"VERID=150|VERID=999|VERSION=6.3|VERURL=https://q.example/", false, "150 6.3 https://q.example/"}, // first of a name
            {"<html><body>Sign in to the network</body></html>", true, ""},
            {"\xEF\xBB\xBFPONG=TRUE", false, "pong"}, // byte order mark
        };
        // clang-format on
        for (auto [answer, isNew, expected] : rows)
        {
            const VersionCheckRules::Outcome o =
                VersionCheckRules::Decide(VersionCheckRules::ParseResponse(
                                              answer.replace(QLatin1Char('|'), QLatin1Char('\n'))),
                                          date("2024-05-10"), isNew, 145);
            QStringList seen;
            if (o.lastPong)
                seen << (*o.lastPong == day("2024-05-10") ? "pong" : "pong on another day");
            if (o.clearNew)
                seen << QStringLiteral("clearNew");
            if (o.announce())
                seen << QString::number(*o.checkedVersion) << o.version << o.releasePage;
            QVERIFY2(seen.join(QLatin1Char(' ')) == expected,
                     qPrintable(answer + " -> " + seen.join(' ')));
        }
    }
};

QTEST_GUILESS_MAIN(tst_VersionCheckRules)
#include "tst_VersionCheckRules.moc"

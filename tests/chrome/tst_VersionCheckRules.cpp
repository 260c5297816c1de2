#include "chrome/VersionCheckRules.h"

#include <QTest>

namespace
{
qint64 day(const char* iso)
{
    return VersionCheckRules::DayNumber(QDate::fromString(QLatin1String(iso), Qt::ISODate));
}
QDate date(const char* iso)
{
    return QDate::fromString(QLatin1String(iso), Qt::ISODate);
}
} // namespace

class tst_VersionCheckRules : public QObject
{
    Q_OBJECT

private slots:
    void dayNumbersKeepTheStoredCount()
    {
        // LastPong values written by earlier releases must keep their dates.
        QCOMPARE(day("1899-12-30"), 0);
        QCOMPARE(day("2000-01-01"), 36526);
        QCOMPARE(VersionCheckRules::DateOfDay(45292), date("2024-01-01"));
    }

    void contactAndMonthFlag_data()
    {
        QTest::addColumn<QString>("today");
        QTest::addColumn<qint64>("lastPong");
        QTest::addColumn<bool>("due");
        QTest::addColumn<bool>("firstOfMonth");
        // clang-format off
        QTest::newRow("never contacted")         << "2024-05-10" << qint64(0)             << true  << true;
        QTest::newRow("already today")           << "2024-05-10" << day("2024-05-10")     << false << false;
        QTest::newRow("yesterday, same month")   << "2024-05-10" << day("2024-05-09")     << true  << false;
        QTest::newRow("last day of last month")  << "2024-05-01" << day("2024-04-30")     << true  << true;
        QTest::newRow("same month, last year")   << "2024-05-10" << day("2023-05-10")     << true  << true;
        QTest::newRow("clock set back")          << "2024-05-10" << day("2024-05-20")     << true  << false;
        QTest::newRow("junk day number")         << "2024-05-10" << qint64(-99999999)     << true  << true;
        // clang-format on
    }
    void contactAndMonthFlag()
    {
        QFETCH(QString, today);
        QFETCH(qint64, lastPong);
        const QDate now = QDate::fromString(today, Qt::ISODate);
        QTEST(VersionCheckRules::ContactDue(now, lastPong), "due");
        QTEST(VersionCheckRules::FirstContactOfMonth(now, lastPong), "firstOfMonth");
    }

    void requestUrl_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<bool>("isNew");
        QTest::addColumn<bool>("month");
        QTest::addColumn<QString>("expected"); // empty: no request
        // clang-format off
        QTest::newRow("default")      << "https://version.quillwave.invalid" << false << true  << "https://version.quillwave.invalid/?ver=620&new=0&mo=1";
        QTest::newRow("new, port")    << "http://127.0.0.1:8080/"           << true  << false << "http://127.0.0.1:8080/?ver=620&new=1&mo=0";
        QTest::newRow("blanks")       << "  https://v.example  "            << false << false << "https://v.example/?ver=620&new=0&mo=0";
        QTest::newRow("empty")        << ""                                 << false << false << "";
        QTest::newRow("with path")    << "https://v.example/check"          << false << false << "";
        QTest::newRow("with query")   << "https://v.example/?x=1"           << false << false << "";
        QTest::newRow("file")         << "file:///etc/passwd"               << false << false << "";
        QTest::newRow("no scheme")    << "v.example"                        << false << false << "";
        QTest::newRow("credentials")  << "https://user:pw@v.example"        << false << false << "";
        // clang-format on
    }
    void requestUrl()
    {
        QFETCH(QString, server);
        QFETCH(bool, isNew);
        QFETCH(bool, month);
        QFETCH(QString, expected);
        const std::optional<QUrl> url = VersionCheckRules::RequestUrl(server, isNew, month);
        QCOMPARE(url ? url->toString() : QString(), expected);
    }

    void decide_data()
    {
        QTest::addColumn<QString>("answer"); // "|" separates lines
        QTest::addColumn<bool>("isNew");
        QTest::addColumn<int>("checked");
        QTest::addColumn<bool>("pong");
        QTest::addColumn<bool>("clearNew");
        QTest::addColumn<int>("announced"); // 0: nothing offered
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("page");
        // clang-format off
        QTest::newRow("newer release")       << "PONG=TRUE|VERID=150|VERSION=6.3|VERURL=https://q.example/6.3" << false << 145 << true  << false << 150 << "6.3" << "https://q.example/6.3";
        QTest::newRow("new installation")    << "PONG=TRUE|VERID=145|VERSION=6.2|VERURL=https://q.example/"    << true  << 145 << true  << true  << 0   << ""    << "";
        QTest::newRow("same id")             << "PONG=TRUE|VERID=145|VERSION=6.2|VERURL=https://q.example/"    << false << 145 << true  << false << 0   << ""    << "";
        QTest::newRow("no pong, newer")      << "VERID=146|VERSION=6.3|VERURL=http://q.example/"               << true  << 145 << false << false << 146 << "6.3" << "http://q.example/";
        QTest::newRow("pong not TRUE")       << "PONG=true|VERID=1"                                            << true  << 145 << false << false << 0   << ""    << "";
        QTest::newRow("id not a number")     << "PONG=TRUE|VERID=15x|VERSION=6.3|VERURL=https://q.example/"    << false << 145 << true  << false << 0   << ""    << "";
        QTest::newRow("id too large")        << "VERID=99999999999|VERSION=6.3|VERURL=https://q.example/"      << false << 145 << false << false << 0   << ""    << "";
        QTest::newRow("no version")          << "VERID=150|VERURL=https://q.example/"                          << false << 145 << false << false << 0   << ""    << "";
        QTest::newRow("no page")             << "VERID=150|VERSION=6.3"                                        << false << 145 << false << false << 0   << ""    << "";
        QTest::newRow("script page")         << "VERID=150|VERSION=6.3|VERURL=javascript:alert(1)"             << false << 145 << false << false << 0   << ""    << "";
        QTest::newRow("file page")           << "VERID=150|VERSION=6.3|VERURL=file:///etc/passwd"              << false << 145 << false << false << 0   << ""    << "";
        QTest::newRow("CRLF, blanks, case")  << " pong = TRUE \r| verid=150\r|Version= 6.3 \r|verurl=https://q.example/a=b\r" << false << 145 << true << false << 150 << "6.3" << "https://q.example/a=b";
        QTest::newRow("first of a name")     << "VERID=150|VERID=999|VERSION=6.3|VERURL=https://q.example/"    << false << 145 << false << false << 150 << "6.3" << "https://q.example/";
        QTest::newRow("junk")                << "<html><body>Sign in to the network</body></html>"             << true  << 145 << false << false << 0   << ""    << "";
        QTest::newRow("byte order mark")     << "\xEF\xBB\xBFPONG=TRUE"                                        << false << 145 << true  << false << 0   << ""    << "";
        // clang-format on
    }
    void decide()
    {
        QFETCH(QString, answer);
        QFETCH(bool, isNew);
        QFETCH(int, checked);
        const QDate today = date("2024-05-10");
        const VersionCheckRules::Outcome outcome = VersionCheckRules::Decide(
            VersionCheckRules::ParseResponse(answer.replace(QLatin1Char('|'), QLatin1Char('\n'))),
            today, isNew, checked);
        QTEST(outcome.lastPong.has_value(), "pong");
        if (outcome.lastPong)
            QCOMPARE(*outcome.lastPong, VersionCheckRules::DayNumber(today));
        QTEST(outcome.clearNew, "clearNew");
        QTEST(outcome.checkedVersion.value_or(0), "announced");
        QCOMPARE(outcome.announce(), outcome.checkedVersion.has_value());
        QTEST(outcome.version, "version");
        QTEST(outcome.releasePage, "page");
    }
};

QTEST_GUILESS_MAIN(tst_VersionCheckRules)
#include "tst_VersionCheckRules.moc"

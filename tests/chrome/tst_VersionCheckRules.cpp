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
    void contactAndMonthFlag_data()
    {
        QTest::addColumn<qint64>("lastPong");
        QTest::addColumn<bool>("due");
        QTest::addColumn<bool>("firstOfMonth");
        // Today is 2024-05-01. Stored day numbers count from 1899-12-30.
        // clang-format off
        QTest::newRow("never contacted")    << qint64(0)          << true  << true;
        QTest::newRow("stored count")       << qint64(45413)      << false << false;
        QTest::newRow("last month")         << day("2024-04-30")  << true  << true;
        QTest::newRow("same month, 2023")   << day("2023-05-01")  << true  << true;
        QTest::newRow("clock set back")     << day("2024-05-20")  << true  << false;
        QTest::newRow("junk day number")    << qint64(-99999999)  << true  << true;
        // clang-format on
    }
    void contactAndMonthFlag()
    {
        QFETCH(qint64, lastPong);
        QTEST(VersionCheckRules::ContactDue(date("2024-05-01"), lastPong), "due");
        QTEST(VersionCheckRules::FirstContactOfMonth(date("2024-05-01"), lastPong), "firstOfMonth");
    }

    void requestUrl_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("expected"); // new=1, mo=0; empty: no request
        // clang-format off
        QTest::newRow("default")      << "https://version.quillwave.invalid" << "https://version.quillwave.invalid/?ver=620&new=1&mo=0";
        QTest::newRow("port, slash")  << " http://127.0.0.1:8080/ "         << "http://127.0.0.1:8080/?ver=620&new=1&mo=0";
        QTest::newRow("with path")    << "https://v.example/check"          << "";
        QTest::newRow("with query")   << "https://v.example/?x=1"           << "";
        QTest::newRow("file")         << "file:///etc/passwd"               << "";
        QTest::newRow("no scheme")    << "v.example"                        << "";
        QTest::newRow("credentials")  << "https://user:pw@v.example"        << "";
        // clang-format on
    }
    void requestUrl()
    {
        QFETCH(QString, server);
        const std::optional<QUrl> url = VersionCheckRules::RequestUrl(server, true, false);
        QTEST(url ? url->toString() : QString(), "expected");
    }

    void decide_data()
    {
        QTest::addColumn<QString>("answer"); // "|" separates lines
        QTest::addColumn<bool>("isNew");
        QTest::addColumn<QString>("expected"); // stored and offered; CheckedVersion is 145
        // clang-format off
        QTest::newRow("newer release")    << "PONG=TRUE|VERID=150|VERSION=6.3|VERURL=https://q.example/6.3" << false << "pong 150 6.3 https://q.example/6.3";
        QTest::newRow("new installation") << "PONG=TRUE|VERID=145|VERSION=6.2|VERURL=https://q.example/"    << true  << "pong clearNew";
        QTest::newRow("no pong, newer")   << "VERID=146|VERSION=6.3|VERURL=http://q.example/"               << true  << "146 6.3 http://q.example/";
        QTest::newRow("pong not TRUE")    << "PONG=true|VERID=1"                                            << true  << "";
        QTest::newRow("id not a number")  << "PONG=TRUE|VERID=15x|VERSION=6.3|VERURL=https://q.example/"    << false << "pong";
        QTest::newRow("id too large")     << "VERID=99999999999|VERSION=6.3|VERURL=https://q.example/"      << false << "";
        QTest::newRow("no version")       << "VERID=150|VERURL=https://q.example/"                          << false << "";
        QTest::newRow("no page")          << "VERID=150|VERSION=6.3"                                        << false << "";
        QTest::newRow("script page")      << "VERID=150|VERSION=6.3|VERURL=javascript:alert(1)"             << false << "";
        QTest::newRow("file page")        << "VERID=150|VERSION=6.3|VERURL=file:///etc/passwd"              << false << "";
        QTest::newRow("CRLF, case")       << " pong = TRUE \r| verid=150\r|Version= 6.3 \r|verurl=https://q.example/a=b\r" << false << "pong 150 6.3 https://q.example/a=b";
        QTest::newRow("first of a name")  << "VERID=150|VERID=999|VERSION=6.3|VERURL=https://q.example/"    << false << "150 6.3 https://q.example/";
        QTest::newRow("junk")             << "<html><body>Sign in to the network</body></html>"             << true  << "";
        QTest::newRow("byte order mark")  << "\xEF\xBB\xBFPONG=TRUE"                                        << false << "pong";
        // clang-format on
    }
    void decide()
    {
        QFETCH(QString, answer);
        QFETCH(bool, isNew);
        const QDate today = date("2024-05-10");
        const VersionCheckRules::Outcome o = VersionCheckRules::Decide(
            VersionCheckRules::ParseResponse(answer.replace(QLatin1Char('|'), QLatin1Char('\n'))),
            today, isNew, 145);
        QStringList seen;
        if (o.lastPong)
            seen << (*o.lastPong == day("2024-05-10") ? "pong" : "pong on another day");
        if (o.clearNew)
            seen << QStringLiteral("clearNew");
        if (o.announce())
            seen << QString::number(*o.checkedVersion) << o.version << o.releasePage;
        QTEST(seen.join(QLatin1Char(' ')), "expected");
    }
};

QTEST_GUILESS_MAIN(tst_VersionCheckRules)
#include "tst_VersionCheckRules.moc"

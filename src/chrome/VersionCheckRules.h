#pragma once

#include <QDate>
#include <QString>
#include <QUrl>

#include <optional>

// What the daily version check asks and what it keeps of the answer, as
// pure functions of dates, the stored flags and the service's lines, so
// that every rule can be checked in a table.
//
// Days are counted as whole days from 30 December 1899, the day numbers
// LastPong has always been stored in.
class VersionCheckRules
{
public:
    // The release this build is, as the service knows it.
    static constexpr int ClientVersion = 620;

    static qint64 DayNumber(const QDate& date);
    static QDate DateOfDay(qint64 day);

    // Whether a contact is due: not when the last acknowledged one was today.
    static bool ContactDue(const QDate& today, qint64 lastPong);
    // "1" for the first contact of a month, "0" after one in the same month.
    static bool FirstContactOfMonth(const QDate& today, qint64 lastPong);

    // The service's address for the request: server is scheme, host and
    // optional port ("https://host:8443"); only http and https are accepted,
    // with nothing after the host but a single "/". Nothing when server is
    // not such an address.
    static std::optional<QUrl> RequestUrl(const QString& server, bool isNew, bool monthFlag);

    // The names the service answers with; a missing name is empty.
    struct Response
    {
        QString pong;
        QString verId;
        QString version;
        QString verUrl;
    };
    // One "NAME=value" per line; lines without "=" and unknown names are
    // skipped, names compare without regard to case and the first of a
    // name counts. Values lose surrounding blanks.
    static Response ParseResponse(const QString& text);

    // What to store and whether to offer the release.
    struct Outcome
    {
        std::optional<qint64> lastPong;    // the contact was acknowledged
        bool clearNew = false;             // a new installation acknowledged
        std::optional<int> checkedVersion; // set before asking, so asked once
        QString version;                   // shown in the question
        QString releasePage;               // opened on Yes
        bool announce() const { return checkedVersion.has_value(); }
    };
    static Outcome Decide(const Response& response, const QDate& today, bool isNew,
                          int checkedVersion);

    // A release page the program may open: an http or https address with a
    // host. Anything else the service sends (script, file and the like)
    // must never reach a tab.
    static bool IsReleasePage(const QString& address);
};

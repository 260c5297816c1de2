#pragma once

#include <QList>
#include <QString>

#include <optional>

// What one page answered to the login questions of its current document:
// a site asks again for the same realm only when it refused the user name
// and password it was given, and the dialog is to say so.
class LoginAttempts
{
public:
    // The user name given last for this realm; nothing when none was given.
    std::optional<QString> lastUser(const QString& host, const QString& realm, bool proxy) const;
    void remember(const QString& host, const QString& realm, bool proxy, const QString& user);
    void forget(const QString& host, const QString& realm, bool proxy);
    // A new document: its questions are first questions again.
    void clear() { m_attempts.clear(); }

private:
    struct Attempt
    {
        QString host;
        QString realm;
        bool proxy = false;
        QString user;
    };
    qsizetype indexOf(const QString& host, const QString& realm, bool proxy) const;

    QList<Attempt> m_attempts;
};

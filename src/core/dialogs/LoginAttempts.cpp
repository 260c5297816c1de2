#include "core/dialogs/LoginAttempts.h"

qsizetype LoginAttempts::indexOf(const QString& host, const QString& realm, bool proxy) const
{
    for (qsizetype i = 0; i < m_attempts.size(); ++i)
    {
        const Attempt& attempt = m_attempts.at(i);
        // Host names are case-insensitive; a realm is the server's own text.
        if (attempt.proxy == proxy && attempt.realm == realm &&
            attempt.host.compare(host, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<QString> LoginAttempts::lastUser(const QString& host, const QString& realm,
                                               bool proxy) const
{
    const qsizetype index = indexOf(host, realm, proxy);
    if (index < 0)
        return std::nullopt;
    return m_attempts.at(index).user;
}

void LoginAttempts::remember(const QString& host, const QString& realm, bool proxy,
                             const QString& user)
{
    const qsizetype index = indexOf(host, realm, proxy);
    if (index >= 0)
        m_attempts[index].user = user;
    else
        m_attempts.append({host, realm, proxy, user});
}

void LoginAttempts::forget(const QString& host, const QString& realm, bool proxy)
{
    const qsizetype index = indexOf(host, realm, proxy);
    if (index >= 0)
        m_attempts.removeAt(index);
}

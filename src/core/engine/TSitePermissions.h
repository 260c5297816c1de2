#pragma once

#include <QHash>
#include <QString>
#include <QUrl>
#include <QWebEnginePage>

// The user's answers to a site's requests for a feature (location, camera,
// notifications …), kept for the run only: per origin and feature, so that
// allowing the camera for one site neither allows it for another site nor
// allows that site anything else.
class TSitePermissions
{
public:
    enum class Answer
    {
        Unknown,
        Granted,
        Denied
    };

    Answer answer(const QUrl& origin, QWebEnginePage::Feature feature) const;
    void remember(const QUrl& origin, QWebEnginePage::Feature feature, bool granted);
    // Forgets every answer about the origin.
    void forget(const QUrl& origin);
    void clear();
    int size() const { return int(m_answers.size()); }

    // "scheme://host[:port]" in lower case, the port only when it is not the
    // scheme's default; empty for an address without a host (the answer
    // then applies to that scheme's local documents as a whole).
    static QString originKey(const QUrl& origin);

private:
    static QString key(const QUrl& origin, QWebEnginePage::Feature feature);
    QHash<QString, bool> m_answers;
};

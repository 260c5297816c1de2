#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;
class QUrl;

// Loads the version service's answer: one GET, read as plain text. It
// runs beside the pages rather than in a hidden one, so that it can never
// be shown, enter the history, take the focus or run a script, and so that
// it can refuse an answer before reading it whole. It goes through the
// proxy the pages use and keeps no cookies.
//
// An answer counts only when it is a 2xx "text/plain" document of at most
// MaxBytes: a login page of a public network, an error page or a runaway
// stream is a failed load like any other.
class VersionFetch : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 MaxBytes = 64 * 1024;
    static constexpr int TimeoutMs = 30000;

    explicit VersionFetch(QObject* parent = nullptr);
    ~VersionFetch() override;

    // Starts loading url; a load still running is abandoned first.
    void Get(const QUrl& url);
    bool Pending() const { return !m_reply.isNull(); }

signals:
    void loaded(const QString& text);
    // reason is for the log only: a failed check shows nothing.
    void failed(const QString& reason);

private:
    void replyMetaDataChanged();
    void replyReadyRead();
    void replyFinished();
    // Takes what reply has to give; false once the answer is too large.
    bool ReadFrom(QNetworkReply* reply);
    void Fail(const QString& reason);

    QNetworkAccessManager* m_network;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body;
    QString m_refusal; // why the running load was cut off
};

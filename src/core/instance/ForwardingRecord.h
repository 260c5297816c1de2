#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The record a second copy sends to the running copy: identifier 0xAFAF
// (32-bit little-endian), byte count (32-bit little-endian), then the
// argument as UTF-8 with its terminating NUL, or no bytes at all when there
// is no argument. The receiver answers with a 32-bit little-endian result 0
// once it has acted on the record.
//
// An object of this class is the incremental decoder of one record: feed it
// bytes as they arrive until it reports Complete or Invalid. Every length is
// checked before anything is allocated, so a hostile peer cannot make the
// receiver reserve more than MaxByteCount bytes.
class ForwardingRecord
{
public:
    static constexpr quint32 Identifier = 0xAFAF;
    // The receiver refuses a record that announces more than this, before it
    // allocates anything. Far above what a shell passes as one argument
    // (128 KiB on Linux), so long search and form addresses arrive whole.
    static constexpr quint32 MaxByteCount = 1024 * 1024;
    // No UTF-16 code unit takes more than three UTF-8 bytes, so an argument
    // of this many units always fits; only a longer one is cut.
    static constexpr int MaxCharacters = int((MaxByteCount - 1) / 3);
    static constexpr int HeaderSize = 8;
    static constexpr int AcknowledgementSize = 4;

    enum class Status
    {
        NeedMore,
        Complete,
        Invalid
    };

    // The part of the argument that is sent: up to the first NUL (the record
    // carries a NUL-terminated text), at most MaxCharacters code units, and
    // never half of a surrogate pair.
    static QString cut(const QString& argument);
    // The whole record for argument (cut first).
    static QByteArray encode(const QString& argument);
    static QByteArray encodeAcknowledgement(quint32 result = 0);
    // The result carried by the first AcknowledgementSize bytes, if there are that many.
    static std::optional<quint32> decodeAcknowledgement(QByteArrayView bytes);

    // How many more bytes the record needs; 0 once it is complete or invalid.
    // Reading no more than this from a socket keeps the decoder from ever
    // seeing bytes that do not belong to the record.
    qsizetype bytesWanted() const;
    // Takes at most bytesWanted() bytes from the front of bytes; the rest is
    // not part of the record and is left alone.
    Status feed(QByteArrayView bytes);
    Status status() const { return m_status; }
    // The argument of a complete record (empty for a record without one).
    QString text() const { return m_text; }
    // Why the record was refused, for diagnostics.
    QString error() const { return m_error; }
    void reset();

private:
    Status fail(const QString& reason);
    Status headerComplete();
    Status payloadComplete();

    QByteArray m_header;
    QByteArray m_payload;
    quint32 m_byteCount = 0;
    Status m_status = Status::NeedMore;
    QString m_text;
    QString m_error;
};

#include "core/instance/ForwardingRecord.h"

#include <QStringDecoder>
#include <QtEndian>

namespace
{
void appendLittleEndian(QByteArray& bytes, quint32 value)
{
    char buffer[4];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, sizeof buffer);
}
} // namespace

QString ForwardingRecord::cut(const QString& argument)
{
    qsizetype length = argument.indexOf(QChar(u'\0'));
    if (length < 0)
        length = argument.size();
    if (length > MaxCharacters)
    {
        length = MaxCharacters;
        // Cutting between the halves of a pair would send an unpaired
        // surrogate, which has no UTF-8 form.
        if (argument.at(length - 1).isHighSurrogate())
            --length;
    }
    return argument.left(length);
}

QByteArray ForwardingRecord::encode(const QString& argument)
{
    const QByteArray text = cut(argument).toUtf8();
    QByteArray record;
    record.reserve(HeaderSize + text.size() + 1);
    appendLittleEndian(record, Identifier);
    if (text.isEmpty())
    {
        appendLittleEndian(record, 0);
        return record;
    }
    appendLittleEndian(record, quint32(text.size() + 1));
    record.append(text);
    record.append('\0');
    return record;
}

QByteArray ForwardingRecord::encodeAcknowledgement(quint32 result)
{
    QByteArray bytes;
    appendLittleEndian(bytes, result);
    return bytes;
}

std::optional<quint32> ForwardingRecord::decodeAcknowledgement(QByteArrayView bytes)
{
    if (bytes.size() < AcknowledgementSize)
        return std::nullopt;
    return qFromLittleEndian<quint32>(bytes.data());
}

qsizetype ForwardingRecord::bytesWanted() const
{
    if (m_status != Status::NeedMore)
        return 0;
    if (m_header.size() < HeaderSize)
        return HeaderSize - m_header.size();
    return qsizetype(m_byteCount) - m_payload.size();
}

ForwardingRecord::Status ForwardingRecord::feed(QByteArrayView bytes)
{
    while (m_status == Status::NeedMore && !bytes.isEmpty())
    {
        const qsizetype take = qMin(bytes.size(), bytesWanted());
        const QByteArrayView part = bytes.first(take);
        bytes = bytes.sliced(take);
        if (m_header.size() < HeaderSize)
        {
            m_header.append(part);
            // The identifier alone already tells a foreign record apart.
            if (m_header.size() >= 4 &&
                qFromLittleEndian<quint32>(m_header.constData()) != Identifier)
                return fail(QStringLiteral("unknown record identifier"));
            if (m_header.size() == HeaderSize)
                headerComplete();
        }
        else
        {
            m_payload.append(part);
            if (m_payload.size() == qsizetype(m_byteCount))
                payloadComplete();
        }
    }
    return m_status;
}

ForwardingRecord::Status ForwardingRecord::headerComplete()
{
    m_byteCount = qFromLittleEndian<quint32>(m_header.constData() + 4);
    if (m_byteCount > MaxByteCount)
        return fail(QStringLiteral("byte count %1 exceeds %2").arg(m_byteCount).arg(MaxByteCount));
    if (m_byteCount == 0)
    {
        m_status = Status::Complete;
        return m_status;
    }
    // Grown as bytes arrive beyond this, so a client that only announces a
    // large record costs little.
    m_payload.reserve(qMin<quint32>(m_byteCount, 64 * 1024));
    return m_status;
}

ForwardingRecord::Status ForwardingRecord::payloadComplete()
{
    if (m_payload.back() != '\0')
        return fail(QStringLiteral("text is not NUL-terminated"));
    const QByteArrayView text(m_payload.constData(), m_payload.size() - 1);
    if (text.contains('\0'))
        return fail(QStringLiteral("text holds a NUL before its end"));
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = decoder.decode(text);
    if (decoder.hasError())
        return fail(QStringLiteral("text is not valid UTF-8"));
    m_text = std::move(decoded);
    m_status = Status::Complete;
    return m_status;
}

ForwardingRecord::Status ForwardingRecord::fail(const QString& reason)
{
    m_status = Status::Invalid;
    m_error = reason;
    m_payload.clear();
    return m_status;
}

void ForwardingRecord::reset()
{
    *this = ForwardingRecord();
}

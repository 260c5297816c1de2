// The record a second copy sends over the single-instance channel: anyone
// on the machine can connect and send anything.
#include "FuzzSupport.h"

#include "core/instance/ForwardingRecord.h"

namespace
{
// Feeds the record in pieces no longer than what it asks for, as the
// channel reads its socket; the first byte of the input sets the piece size.
ForwardingRecord::Status feedInPieces(ForwardingRecord& record, QByteArrayView bytes,
                                      qsizetype piece, qsizetype* used)
{
    *used = 0;
    while (record.status() == ForwardingRecord::Status::NeedMore && *used < bytes.size())
    {
        const qsizetype wanted = record.bytesWanted();
        FUZZ_CHECK(wanted > 0);
        const qsizetype take = qMin(qMin(wanted, piece), bytes.size() - *used);
        record.feed(bytes.sliced(*used, take));
        *used += take;
    }
    return record.status();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray data = fuzzInput(bytes, size);
    const qsizetype piece = quint8(data.at(0)) % 16 + 1;
    const QByteArrayView stream = QByteArrayView(data).sliced(1);

    ForwardingRecord whole;
    const ForwardingRecord::Status status = whole.feed(stream);
    ForwardingRecord pieces;
    qsizetype used = 0;
    FUZZ_CHECK(feedInPieces(pieces, stream, piece, &used) == status);
    FUZZ_CHECK(pieces.text() == whole.text());
    FUZZ_CHECK(whole.bytesWanted() ==
               (status == ForwardingRecord::Status::NeedMore ? pieces.bytesWanted() : 0));
    if (status == ForwardingRecord::Status::Invalid)
        FUZZ_CHECK(!whole.error().isEmpty());
    if (status != ForwardingRecord::Status::Complete)
        return 0;

    // A complete record took its header and byte count, and no byte more.
    const quint32 count = quint8(stream[4]) | quint8(stream[5]) << 8 | quint8(stream[6]) << 16 |
                          quint32(quint8(stream[7])) << 24;
    FUZZ_CHECK(used == ForwardingRecord::HeaderSize + qsizetype(count));
    FUZZ_CHECK(!whole.text().contains(QChar(u'\0')));
    // What was received is sent again unchanged.
    ForwardingRecord resent;
    FUZZ_CHECK(resent.feed(ForwardingRecord::encode(whole.text())) ==
               ForwardingRecord::Status::Complete);
    FUZZ_CHECK(resent.text() == ForwardingRecord::cut(whole.text()));
    FUZZ_CHECK(ForwardingRecord::decodeAcknowledgement(
                   ForwardingRecord::encodeAcknowledgement(count)) == count);
    return 0;
}

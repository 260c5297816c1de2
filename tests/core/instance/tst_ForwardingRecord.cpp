#include "core/instance/ForwardingRecord.h"

#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace
{
QByteArray header(quint32 identifier, quint32 count)
{
    QByteArray bytes(8, '\0');
    qToLittleEndian(identifier, bytes.data());
    qToLittleEndian(count, bytes.data() + 4);
    return bytes;
}

QByteArray record(const QByteArray& payload)
{
    return header(ForwardingRecord::Identifier, quint32(payload.size())) + payload;
}

QString emoji()
{
    return QString::fromUtf8("\xF0\x9F\x98\x80"); // U+1F600, a surrogate pair in UTF-16
}
} // namespace

class tst_ForwardingRecord : public QObject
{
    Q_OBJECT

private slots:
    void encodesWhatItDecodes()
    {
        const int max = ForwardingRecord::MaxCharacters;
        const QList<std::pair<QString, QString>> rows = {
            // argument, what is sent
            {QString(), QString()},
            {QString(max + 100, u'a'), QString(max, u'a')},
            {QString(max - 1, u'x') + emoji() + "tail",
             QString(max - 1, u'x')}, // pair across the limit
            {emoji().repeated(max / 2 + 50), emoji().repeated(max / 2)},
            {QStringLiteral("ab") + QChar(u'\0') + "cd", QStringLiteral("ab")},
        };
        for (const auto& [argument, sent] : rows)
        {
            QCOMPARE(ForwardingRecord::cut(argument), sent);
            const QByteArray bytes = ForwardingRecord::encode(argument);
            QVERIFY(bytes.size() <=
                    qsizetype(ForwardingRecord::HeaderSize + ForwardingRecord::MaxByteCount));
            ForwardingRecord decoder;
            QCOMPARE(decoder.feed(bytes), ForwardingRecord::Status::Complete);
            QCOMPARE(decoder.text(), sent);
        }
    }

    void decodes()
    {
        using S = ForwardingRecord::Status;
        const quint32 id = ForwardingRecord::Identifier;
        // An invalid record asks for nothing more: a count too large is refused
        // before any of its payload is read.
        const QList<std::tuple<QByteArray, S, QString>> rows = {
            // clang-format off
            {record("Gr\xC3\xBC\xC3\x9F" "e\0"_ba), S::Complete, QString::fromUtf8("Gr\xC3\xBC\xC3\x9F" "e")},
            {QByteArray::fromHex("01000000"), S::Invalid, QString()}, // other identifier, no count
            {header(id, 0xFFFFFFFF) + QByteArray(64, 'a'), S::Invalid, QString()},
            {record("abc"), S::Invalid, QString()}, // missing NUL
            {record("a\0b\0"_ba), S::Invalid, QString()},
            {record("a\xFF\xFE\0"_ba), S::Invalid, QString()}, // broken UTF-8
            {header(id, 5) + "abc", S::NeedMore, QString()},
            {record("ab\0"_ba) + "garbage\0"_ba, S::Complete, "ab"}, // later bytes left alone
            // clang-format on
        };
        for (const auto& [bytes, status, text] : rows)
        {
            // The same bytes whole, one at a time and in uneven pieces, as a
            // socket may deliver them.
            for (const qsizetype piece : {bytes.size(), qsizetype(1), qsizetype(3), qsizetype(7)})
            {
                ForwardingRecord decoder;
                for (qsizetype at = 0; at < bytes.size(); at += piece)
                    decoder.feed(QByteArrayView(bytes).sliced(at, qMin(piece, bytes.size() - at)));
                QCOMPARE(decoder.status(), status);
                QCOMPARE(decoder.text(), text);
                QCOMPARE(decoder.bytesWanted() == 0, status != S::NeedMore);
                if (status == S::Invalid)
                    QVERIFY(!decoder.error().isEmpty());
            }
        }
    }

    void resetStartsANewRecord()
    {
        ForwardingRecord decoder;
        QCOMPARE(decoder.feed(record("ab\0"_ba)), ForwardingRecord::Status::Complete);
        decoder.reset();
        QCOMPARE(decoder.bytesWanted(), ForwardingRecord::HeaderSize);
        QCOMPARE(decoder.feed(record("cd\0"_ba)), ForwardingRecord::Status::Complete);
        QCOMPARE(decoder.text(), QStringLiteral("cd"));
    }
};

QTEST_APPLESS_MAIN(tst_ForwardingRecord)
#include "tst_ForwardingRecord.moc"

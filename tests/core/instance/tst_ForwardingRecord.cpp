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
    void encodesWhatItDecodes_data()
    {
        // clang-format off
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("sent");

        const int max = ForwardingRecord::MaxCharacters;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("ascii cut") << QString(max + 100, u'a') << QString(max, u'a');
        QTest::newRow("pair across the limit") << QString(max - 1, u'x') + emoji() + "tail" << QString(max - 1, u'x');
        QTest::newRow("pairs only") << emoji().repeated(max / 2 + 50) << emoji().repeated(max / 2);
        QTest::newRow("stops at a NUL") << QStringLiteral("ab") + QChar(u'\0') + "cd" << QStringLiteral("ab");
        // clang-format on
    }

    void encodesWhatItDecodes()
    {
        QFETCH(QString, argument);
        QFETCH(QString, sent);

        QCOMPARE(ForwardingRecord::cut(argument), sent);
        const QByteArray bytes = ForwardingRecord::encode(argument);
        QVERIFY(bytes.size() <=
                qsizetype(ForwardingRecord::HeaderSize + ForwardingRecord::MaxByteCount));

        ForwardingRecord decoder;
        QCOMPARE(decoder.feed(bytes), ForwardingRecord::Status::Complete);
        QCOMPARE(decoder.text(), sent);
    }

    void decodes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<ForwardingRecord::Status>("status");
        QTest::addColumn<QString>("text");

        using S = ForwardingRecord::Status;
        const quint32 id = ForwardingRecord::Identifier;
        // An invalid record asks for nothing more: a count too large is refused
        // before any of its payload is read.
        // clang-format off
        QTest::newRow("utf-8")                          << record("Gr\xC3\xBC\xC3\x9F" "e\0"_ba)                << S::Complete << QString::fromUtf8("Gr\xC3\xBC\xC3\x9F" "e");
        QTest::newRow("other identifier, no count")     << QByteArray::fromHex("01000000")                      << S::Invalid  << QString();
        QTest::newRow("largest count there is")         << header(id, 0xFFFFFFFF) + QByteArray(64, 'a')        << S::Invalid  << QString();
        QTest::newRow("missing NUL")                    << record("abc")                                       << S::Invalid  << QString();
        QTest::newRow("embedded NUL")                   << record("a\0b\0"_ba)                                 << S::Invalid  << QString();
        QTest::newRow("broken utf-8")                   << record("a\xFF\xFE\0"_ba)                             << S::Invalid  << QString();
        QTest::newRow("payload cut short")              << header(id, 5) + "abc"                               << S::NeedMore << QString();
        // clang-format on
    }

    void decodes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(ForwardingRecord::Status, status);
        QFETCH(QString, text);

        // The same bytes whole, one at a time and in uneven pieces, as a socket
        // may deliver them.
        for (const qsizetype piece : {bytes.size(), qsizetype(1), qsizetype(3), qsizetype(7)})
        {
            ForwardingRecord decoder;
            for (qsizetype at = 0; at < bytes.size(); at += piece)
                decoder.feed(QByteArrayView(bytes).sliced(at, qMin(piece, bytes.size() - at)));
            QCOMPARE(decoder.status(), status);
            QCOMPARE(decoder.text(), text);
            QCOMPARE(decoder.bytesWanted() == 0, status != ForwardingRecord::Status::NeedMore);
            if (status == ForwardingRecord::Status::Invalid)
                QVERIFY(!decoder.error().isEmpty());
        }
    }

    void leavesBytesAfterTheRecordAlone()
    {
        ForwardingRecord decoder;
        QCOMPARE(decoder.bytesWanted(), ForwardingRecord::HeaderSize);
        QCOMPARE(decoder.feed(record("ab\0"_ba) + "garbage\0"_ba),
                 ForwardingRecord::Status::Complete);
        QCOMPARE(decoder.text(), QStringLiteral("ab"));
        QCOMPARE(decoder.feed("more"), ForwardingRecord::Status::Complete);
        QCOMPARE(decoder.text(), QStringLiteral("ab"));

        decoder.reset();
        QCOMPARE(decoder.status(), ForwardingRecord::Status::NeedMore);
        QCOMPARE(decoder.feed(record("cd\0"_ba)), ForwardingRecord::Status::Complete);
        QCOMPARE(decoder.text(), QStringLiteral("cd"));
    }
};

QTEST_APPLESS_MAIN(tst_ForwardingRecord)
#include "tst_ForwardingRecord.moc"

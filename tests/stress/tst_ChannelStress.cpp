#include "core/instance/ForwardingRecord.h"
#include "core/instance/TInstanceChannel.h"

#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <sys/socket.h>

#include <memory>
#include <vector>

// The running copy's channel while fifty clients come at once: real
// forwarding copies among clients that send rubbish, announce too much,
// carry another identifier, say nothing, or stop half way and close their
// side. Every real address arrives exactly once, nothing else arrives, and
// every client is let go.
class tst_ChannelStress : public QObject
{
    Q_OBJECT

    static constexpr int Clients = 50;
    static constexpr int RealEvery = 5; // one client in five forwards a real address
    static constexpr int ClientTimeoutMs = 1000;

    static QByteArray header(quint32 identifier, quint32 count)
    {
        QByteArray bytes(8, '\0');
        qToLittleEndian(identifier, bytes.data());
        qToLittleEndian(count, bytes.data() + 4);
        return bytes;
    }

    // What a hostile client of kind k sends; whether it then closes its side.
    static QByteArray hostileBytes(int k, bool* halfClose)
    {
        *halfClose = false;
        QByteArray wrongIdentifier = ForwardingRecord::encode("http://wrong.test/");
        qToLittleEndian(quint32(0x1234), wrongIdentifier.data());
        switch (k % 7)
        {
        case 0: // rubbish
            return QByteArray(64, '\xEE');
        case 6: // a text without its terminating NUL
            return header(ForwardingRecord::Identifier, 5) + "abcde";
        case 1: // more than any record may hold
            return header(ForwardingRecord::Identifier, 0xFFFFFFFFu);
        case 2:
            return wrongIdentifier;
        case 3: // idle
            return {};
        case 4: // half a record, then its side closed
            *halfClose = true;
            return ForwardingRecord::encode("http://half.test/").left(12);
        case 5: // a large record that never comes whole
            return header(ForwardingRecord::Identifier, ForwardingRecord::MaxByteCount) +
                   QByteArray(64 * 1024, 'a');
        }
        return {};
    }

private slots:
    void fiftyClientsAtOnce()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = dir.filePath("channel");
        TInstanceChannel channel(folder);
        QVERIFY(channel.acquireFirstInstance());
        channel.setClientTimeout(ClientTimeoutMs);
        QVERIFY2(channel.listen(), qPrintable(channel.errorString()));
        QStringList received;
        connect(&channel, &TInstanceChannel::dataReceived, this,
                [&](const QString& text) { received << text; });

        QStringList real;
        std::vector<std::unique_ptr<QProcess>> forwarders;
        std::vector<std::unique_ptr<QLocalSocket>> hostile;
        for (int i = 0; i < Clients; ++i)
        {
            if (i % RealEvery == 0)
            {
                real << QStringLiteral("http://real%1.test/").arg(i);
                forwarders.push_back(std::make_unique<QProcess>());
                // Patient enough to outlast every client held before it.
                forwarders.back()->start(
                    QW_BIN_DIR "/qw-stress-writer",
                    {"forward", folder, real.last(), QString::number(Clients * ClientTimeoutMs)});
                continue;
            }
            bool halfClose = false;
            const QByteArray bytes = hostileBytes(i, &halfClose);
            hostile.push_back(std::make_unique<QLocalSocket>());
            QLocalSocket* socket = hostile.back().get();
            socket->connectToServer(channel.socketPath());
            if (!bytes.isEmpty())
                socket->write(bytes);
            socket->flush();
            if (halfClose)
                ::shutdown(int(socket->socketDescriptor()), SHUT_WR);
        }

        for (const auto& forwarder : forwarders)
        {
            QVERIFY(QTest::qWaitFor([&] { return forwarder->state() == QProcess::NotRunning; },
                                    2 * Clients * ClientTimeoutMs));
            QVERIFY2(forwarder->exitStatus() == QProcess::NormalExit && forwarder->exitCode() == 0,
                     "a forwarding copy was not acknowledged");
        }
        // Every client is let go, whatever it sent.
        for (const auto& socket : hostile)
            QTRY_COMPARE_WITH_TIMEOUT(socket->state(), QLocalSocket::UnconnectedState,
                                      10 * ClientTimeoutMs);
        received.sort();
        real.sort();
        QCOMPARE(received, real);
        // And the channel still serves.
        QProcess after;
        after.start(QW_BIN_DIR "/qw-stress-writer",
                    {"forward", folder, "http://after.test/", "10000"});
        QVERIFY(QTest::qWaitFor([&] { return after.state() == QProcess::NotRunning; }, 20000));
        QCOMPARE(after.exitCode(), 0);
        QCOMPARE(received.last(), QString("http://after.test/"));
    }
};

QTEST_GUILESS_MAIN(tst_ChannelStress)
#include "tst_ChannelStress.moc"

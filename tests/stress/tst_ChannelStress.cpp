#include "core/instance/ForwardingRecord.h"
#include "core/instance/TInstanceChannel.h"

#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <sys/socket.h>

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
    QProcess* forward(const QString& folder, const QString& text, int ms)
    {
        auto* process = new QProcess(this);
        process->start(QW_BIN_DIR "/qw-stress-writer",
                       {"forward", folder, text, QString::number(ms)});
        return process;
    }
    static bool acknowledged(QProcess& forwarder, int ms)
    {
        return QTest::qWaitFor([&] { return forwarder.state() == QProcess::NotRunning; }, ms) &&
               forwarder.exitStatus() == QProcess::NormalExit && forwarder.exitCode() == 0;
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

        QByteArray wrongIdentifier = ForwardingRecord::encode("http://wrong.test/");
        qToLittleEndian(quint32(0x1234), wrongIdentifier.data());
        const quint32 id = ForwardingRecord::Identifier;
        const QByteArrayList kinds{
            ForwardingRecord::encode("http://half.test/").left(12), // then its side closed
            QByteArray(64, '\xEE'),                                 // rubbish
            header(id, 0xFFFFFFFFu),                                // more than any record may hold
            wrongIdentifier,
            {}, // idle
            // a large record that never comes whole
            header(id, ForwardingRecord::MaxByteCount) + QByteArray(64 * 1024, 'a'),
            header(id, 5) + "abcde", // a text without its terminating NUL
        };
        QStringList real;
        QList<QProcess*> forwarders;
        QObject clients; // owns the hostile ones
        QList<QLocalSocket*> hostile;
        for (int i = 0; i < Clients; ++i)
        {
            if (i % RealEvery == 0)
            {
                real << QStringLiteral("http://real%1.test/").arg(i);
                // Patient enough to outlast every client held before it.
                forwarders.push_back(forward(folder, real.last(), Clients * ClientTimeoutMs));
                continue;
            }
            QLocalSocket* socket = hostile.emplace_back(new QLocalSocket(&clients));
            socket->connectToServer(channel.socketPath());
            socket->write(kinds[i % kinds.size()]);
            socket->flush();
            if (i % kinds.size() == 0)
                ::shutdown(int(socket->socketDescriptor()), SHUT_WR);
        }

        for (QProcess* forwarder : forwarders)
            QVERIFY2(acknowledged(*forwarder, 2 * Clients * ClientTimeoutMs),
                     "a forwarding copy was not acknowledged");
        // Every client is let go, whatever it sent.
        for (QLocalSocket* socket : hostile)
            QTRY_COMPARE_WITH_TIMEOUT(socket->state(), QLocalSocket::UnconnectedState,
                                      10 * ClientTimeoutMs);
        received.sort();
        real.sort();
        QCOMPARE(received, real);
        // And the channel still serves.
        QVERIFY(acknowledged(*forward(folder, "http://after.test/", 10000), 20000));
        QCOMPARE(received.last(), QString("http://after.test/"));
    }
};

QTEST_GUILESS_MAIN(tst_ChannelStress)
#include "tst_ChannelStress.moc"

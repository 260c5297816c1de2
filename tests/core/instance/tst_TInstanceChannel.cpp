#include "core/instance/ForwardingRecord.h"
#include "core/instance/TInstanceChannel.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace
{
// The test program doubles as another copy of the program that listens
// in the folder it is given, and prints each line it receives.
int runChild(const QString& folder)
{
    TInstanceChannel channel(folder);
    if (!channel.acquireFirstInstance() || !channel.listen())
        return 2;
    const auto say = [](const QString& line)
    {
        std::fputs(qPrintable(line + '\n'), stdout);
        std::fflush(stdout);
    };
    QObject::connect(&channel, &TInstanceChannel::dataReceived,
                     [&](const QString& text) { say("received:" + text); });
    say("listening");
    return QCoreApplication::exec();
}

// A client connected to path that has sent text; null when it cannot connect.
std::unique_ptr<QLocalSocket> sent(const QString& path, const QString& text)
{
    auto socket = std::make_unique<QLocalSocket>();
    socket->connectToServer(path);
    if (!socket->waitForConnected(1000))
        return nullptr;
    socket->write(ForwardingRecord::encode(text));
    return socket;
}
} // namespace

class tst_TInstanceChannel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_base{QDir::tempPath() + QStringLiteral("/qwic-XXXXXX")};
    int m_folders = 0;

    QString newFolder() { return m_base.filePath(QStringLiteral("ch%1").arg(++m_folders)); }
    std::unique_ptr<TInstanceChannel> listeningChannel(const QString& folder)
    {
        auto channel = std::make_unique<TInstanceChannel>(folder);
        if (!channel->acquireFirstInstance() || !channel->listen())
            return nullptr;
        return channel;
    }

private slots:
    // Another user could read or replace what goes through the folder: the
    // process runs its own window then, and nothing uses the folder.
    void refusesUntrustedFolder()
    {
        for (const QString kind : {"group may read", "link to a private folder", "a file"})
        {
            const QString folder = newFolder();
            if (kind.startsWith("link"))
            {
                const QString target = newFolder();
                QVERIFY(TInstanceChannel::preparePrivateFolder(target));
                QVERIFY(QFile::link(target, folder));
            }
            else if (kind == "a file")
                QVERIFY(QFile(folder).open(QIODevice::WriteOnly));
            else
                QVERIFY(QDir().mkdir(folder) && ::chmod(qPrintable(folder), 0750) == 0);

            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression("^Single-instance channel not used: "));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Not forwarding: "));
            QString error;
            QVERIFY(!TInstanceChannel::preparePrivateFolder(folder, &error));
            QVERIFY2(!error.isEmpty(), qPrintable(kind));
            TInstanceChannel channel(folder);
            QVERIFY(channel.acquireFirstInstance());
            QVERIFY(!channel.isChannelUsable() && !channel.listen());
            QVERIFY(!QFileInfo::exists(channel.lockFilePath()));
            QVERIFY(!TInstanceChannel::forwardTo(folder, QStringLiteral("x"), 200));
        }
    }

    void onlyOneHolderAtATime()
    {
        const QString folder = newFolder();
        auto first = std::make_unique<TInstanceChannel>(folder);
        QVERIFY(first->acquireFirstInstance() && first->isChannelUsable());
        TInstanceChannel second(folder);
        QVERIFY(!second.acquireFirstInstance() && !second.isFirstInstance() && !second.listen());
        QVERIFY(first->listen());
        using P = QFileDevice;
        QCOMPARE(QFile::permissions(folder), P::ReadOwner | P::WriteOwner | P::ExeOwner |
                                                 P::ReadUser | P::WriteUser | P::ExeUser);

        // Closing stops the listening, not the holding.
        first->close();
        QVERIFY(!QFileInfo::exists(first->socketPath()));
        QCOMPARE(TInstanceChannel::listening(), nullptr);
        // Held but not listening: the forwarding copy ends on its own.
        QVERIFY(!TInstanceChannel::forwardTo(folder, QStringLiteral("x"), 300));
        QVERIFY(!TInstanceChannel::forwardTo(newFolder(), QStringLiteral("x"), 300));
        QVERIFY(!TInstanceChannel(folder).acquireFirstInstance());
        first.reset();
        QVERIFY(listeningChannel(folder));
    }

    void reclaimsAbandonedLock()
    {
        // A dead copy's lock file whose process id now belongs to a live
        // process of the same program (here: this one) but that nobody holds.
        const QByteArray reused =
            QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
            QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + '\n' +
            QSysInfo::machineHostName().toUtf8() + '\n';
        // An empty new file may be a copy that has not written it yet; but
        // nobody takes a minute between creating and writing it.
        const QList<std::tuple<QByteArray, bool, bool>> rows = {
            // contents, old, taken
            {reused, false, true},
            {QByteArray(), false, false},
            {QByteArray(), true, true},
        };
        for (const auto& [contents, old, first] : rows)
        {
            const QString folder = newFolder();
            QVERIFY(TInstanceChannel::preparePrivateFolder(folder));
            TInstanceChannel channel(folder);
            QFile lock(channel.lockFilePath());
            QVERIFY(lock.open(QIODevice::WriteOnly));
            QCOMPARE(lock.write(contents), contents.size());
            QVERIFY(lock.flush()); // a later flush would make the file new again
            if (old)
                QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                         QFileDevice::FileModificationTime));
            lock.close();
            QCOMPARE(channel.acquireFirstInstance(), first);
            QCOMPARE(channel.listen(), first);
        }
    }

    // A handler that opens a dialog keeps the event loop running inside it,
    // long enough for the client's time to run out there; the client was
    // acknowledged before and has ended meanwhile.
    void survivesClientDroppedWhileHandled()
    {
        const auto channel = listeningChannel(newFolder());
        QVERIFY(channel);
        channel->setClientTimeout(100);
        int handled = 0;
        connect(channel.get(), &TInstanceChannel::dataReceived, this,
                [&handled]
                {
                    QEventLoop loop;
                    QTimer::singleShot(400, &loop, &QEventLoop::quit);
                    loop.exec();
                    ++handled;
                });
        const auto client = sent(channel->socketPath(), QStringLiteral("slow"));
        QTRY_COMPARE(handled, 1);
        QTRY_COMPARE(client->state(), QLocalSocket::UnconnectedState);
        QCOMPARE(client->readAll(), ForwardingRecord::encodeAcknowledgement(0));
        const auto next = sent(channel->socketPath(), QStringLiteral("next"));
        QTRY_COMPARE(handled, 2);
    }

    void replacesKilledCopy()
    {
        const QString folder = newFolder();
        QProcess copy;
        copy.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        copy.start(QCoreApplication::applicationFilePath(), {"--child-listen", folder});
        QTRY_VERIFY_WITH_TIMEOUT(copy.canReadLine(), 10000);
        QCOMPARE(copy.readLine().trimmed(), "listening"_ba);
        // The other process answers, so this one may block.
        QVERIFY(TInstanceChannel::forwardTo(folder, QStringLiteral("to the child"), 5000));
        QTRY_VERIFY_WITH_TIMEOUT(copy.canReadLine(), 10000);
        QCOMPARE(copy.readLine().trimmed(), "received:to the child"_ba);

        copy.kill();
        QVERIFY(copy.waitForFinished(10000));
        // Left-overs of a dead copy accept nothing, and are taken over.
        QVERIFY(QFileInfo::exists(TInstanceChannel(folder).socketPath()));
        QVERIFY(!TInstanceChannel::forwardTo(folder, QStringLiteral("lost"), 200));
        const auto channel = listeningChannel(folder);
        QVERIFY(channel);
        QSignalSpy received(channel.get(), &TInstanceChannel::dataReceived);
        const auto client = sent(channel->socketPath(), QStringLiteral("after the crash"));
        QTRY_COMPARE(received.count(), 1);
    }
};

int main(int argc, char** argv)
{
    if (argc >= 3 && QByteArray(argv[1]) == "--child-listen")
    {
        QCoreApplication app(argc, argv);
        return runChild(app.arguments().at(2));
    }
    QApplication app(argc, argv);
    tst_TInstanceChannel test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_TInstanceChannel.moc"

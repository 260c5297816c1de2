#include "core/instance/ForwardingRecord.h"
#include "core/instance/TInstanceChannel.h"
#include "core/instance/TStWMDataCopy.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <cstdio>
#include <memory>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace
{
// The test program doubles as the other copies of the program: started with
// one of these switches it plays a single part and ends.
const QString ChildAcquire = QStringLiteral("--child-acquire");
const QString ChildListen = QStringLiteral("--child-listen");
const QString ChildForward = QStringLiteral("--child-forward");

void say(const QString& line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

QByteArray readLineFromStdin()
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        return {};
    return in.readLine().trimmed();
}

int runChild(const QStringList& arguments)
{
    const QString part = arguments.value(1);
    const QString folder = arguments.value(2);
    if (part == ChildAcquire)
    {
        TInstanceChannel channel(folder);
        say(QStringLiteral("ready"));
        readLineFromStdin(); // every racer starts at the same word
        say(channel.acquireFirstInstance() ? QStringLiteral("first") : QStringLiteral("second"));
        readLineFromStdin(); // hold the lock until the test has seen all answers
        return 0;
    }
    if (part == ChildListen)
    {
        TInstanceChannel channel(folder);
        if (!channel.acquireFirstInstance() || !channel.listen())
            return 2;
        QObject::connect(&channel, &TInstanceChannel::dataReceived,
                         [](const QString& text) { say(QStringLiteral("received:") + text); });
        say(QStringLiteral("listening"));
        return QCoreApplication::exec();
    }
    if (part == ChildForward)
        return TInstanceChannel::forwardTo(folder, arguments.value(3), 10000) ? 0 : 1;
    return 3;
}

QByteArray rawRecord(quint32 identifier, quint32 count, const QByteArray& payload)
{
    QByteArray bytes(8, '\0');
    qToLittleEndian(identifier, bytes.data());
    qToLittleEndian(count, bytes.data() + 4);
    return bytes + payload;
}

mode_t modeOf(const QString& path)
{
    struct stat info;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    return info.st_mode & 07777;
}

std::unique_ptr<QLocalSocket> connectClient(const QString& path)
{
    auto socket = std::make_unique<QLocalSocket>();
    socket->connectToServer(path);
    return socket;
}

// A client connected to path that has sent bytes; null when it cannot connect.
std::unique_ptr<QLocalSocket> sent(const QString& path, const QByteArray& bytes)
{
    auto socket = connectClient(path);
    if (!socket->waitForConnected(1000))
        return nullptr;
    socket->write(bytes);
    return socket;
}
} // namespace

class tst_TInstanceChannel : public QObject
{
    Q_OBJECT

private slots:
    void createsPrivateFolder();
    void refusesUntrustedFolder_data();
    void refusesUntrustedFolder();
    void onlyOneHolderAtATime();
    void reclaimsAbandonedLock_data();
    void reclaimsAbandonedLock();
    void dropsBadOrStalledClientsAndKeepsServing_data();
    void dropsBadOrStalledClientsAndKeepsServing();
    void servesManyClientsAtOnce();
    void survivesClientDroppedWhileHandled();
    void racingProcessesGetOneFirstCopy();
    void replacesKilledCopy();
    void forwardsFromAnotherProcess_data();
    void forwardsFromAnotherProcess();
    void givesUpWhenNobodyListens();
    void wmCopyDataReportsForwardedText();

private:
    QString newFolder();
    std::unique_ptr<TInstanceChannel> listeningChannel(const QString& folder);
    QTemporaryDir m_base{QDir::tempPath() + QStringLiteral("/qwic-XXXXXX")};
    int m_folders = 0;
};

QString tst_TInstanceChannel::newFolder()
{
    return m_base.filePath(QStringLiteral("ch%1").arg(++m_folders));
}

std::unique_ptr<TInstanceChannel> tst_TInstanceChannel::listeningChannel(const QString& folder)
{
    auto channel = std::make_unique<TInstanceChannel>(folder);
    if (!channel->acquireFirstInstance() || !channel->listen())
        return nullptr;
    return channel;
}

void tst_TInstanceChannel::createsPrivateFolder()
{
    const QString folder = newFolder();
    QVERIFY(TInstanceChannel::preparePrivateFolder(folder));
    QCOMPARE(modeOf(folder), mode_t(0700));
    // A second copy finds the folder made by the first.
    QVERIFY(TInstanceChannel::preparePrivateFolder(folder));

    // One folder for each store: copies over another store run apart.
    QVERIFY(TInstanceChannel::channelFolderFor("/a/settings.sqlite") !=
            TInstanceChannel::channelFolderFor("/b/settings.sqlite"));
}

void tst_TInstanceChannel::refusesUntrustedFolder_data()
{
    QTest::addColumn<QString>("kind");
    // clang-format off
    QTest::newRow("group may read")                    << "0750";
    QTest::newRow("others may enter")                  << "0701";
    QTest::newRow("symbolic link to a private folder") << "link";
    QTest::newRow("a file")                            << "file";
    // clang-format on
}

void tst_TInstanceChannel::refusesUntrustedFolder()
{
    QFETCH(QString, kind);
    const QString folder = newFolder();
    if (kind == QLatin1String("link"))
    {
        const QString target = newFolder();
        QVERIFY(TInstanceChannel::preparePrivateFolder(target));
        QVERIFY(QFile::link(target, folder));
    }
    else if (kind == QLatin1String("file"))
    {
        QFile file(folder);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    else
    {
        QVERIFY(QDir().mkdir(folder));
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), kind.toUInt(nullptr, 8)), 0);
    }

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Single-instance channel not used: "));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Not forwarding: "));
    QString error;
    QVERIFY(!TInstanceChannel::preparePrivateFolder(folder, &error));
    QVERIFY(!error.isEmpty());

    // The process still runs its own window, but nothing goes through the folder.
    TInstanceChannel channel(folder);
    QVERIFY(channel.acquireFirstInstance());
    QVERIFY(!channel.isChannelUsable());
    QVERIFY(!channel.listen());
    QVERIFY(!QFileInfo::exists(channel.lockFilePath()));
    QVERIFY(!QFileInfo::exists(channel.socketPath()));
    QVERIFY(!TInstanceChannel::forwardTo(folder, QStringLiteral("x"), 200));
}

void tst_TInstanceChannel::onlyOneHolderAtATime()
{
    const QString folder = newFolder();
    auto first = std::make_unique<TInstanceChannel>(folder);
    QVERIFY(first->acquireFirstInstance());
    QVERIFY(first->isChannelUsable());

    TInstanceChannel second(folder);
    QVERIFY(!second.acquireFirstInstance());
    QVERIFY(!second.isFirstInstance());
    QVERIFY(!second.listen());
    QVERIFY(first->listen());

    // Closing stops the listening, not the holding.
    first->close();
    QVERIFY(!QFileInfo::exists(first->socketPath()));
    QCOMPARE(TInstanceChannel::listening(), nullptr);
    QVERIFY(!TInstanceChannel::forwardTo(folder, QStringLiteral("x"), 100));
    QVERIFY(!TInstanceChannel(folder).acquireFirstInstance());

    first.reset();
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/instance")));
    TInstanceChannel third(folder);
    QVERIFY(third.acquireFirstInstance());
    QVERIFY(third.listen());
}

void tst_TInstanceChannel::reclaimsAbandonedLock_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("old");
    QTest::addColumn<bool>("first");

    // A dead copy's lock file whose process id now belongs to a live
    // process of the same program (here: this one) but that nobody holds.
    const QByteArray reused =
        QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
        QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + '\n' +
        QSysInfo::machineHostName().toUtf8() + '\n';
    // Possibly a copy that has created the file and not yet written to it;
    // but nobody takes a minute between creating and writing it.
    // clang-format off
    QTest::newRow("id reused")          << reused       << false << true;
    QTest::newRow("empty and new")      << QByteArray() << false << false;
    QTest::newRow("unreadable and new") << "garbage"_ba << false << false;
    QTest::newRow("empty and old")      << QByteArray() << true  << true;
    QTest::newRow("unreadable and old") << "garbage"_ba << true  << true;
    // clang-format on
}

void tst_TInstanceChannel::reclaimsAbandonedLock()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, old);
    QFETCH(bool, first);

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
    if (first)
        QVERIFY(channel.listen());
}

void tst_TInstanceChannel::dropsBadOrStalledClientsAndKeepsServing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    // Which records are bad is the record's test; here: the server hangs up
    // on a client that sends one, or that stops before its record is whole.
    // clang-format off
    QTest::newRow("other identifier, no count") << QByteArray::fromHex("01020304");
    QTest::newRow("count of 4 GB")              << rawRecord(ForwardingRecord::Identifier, 0xFFFFFFFF, QByteArray(100, 'a'));
    QTest::newRow("sends nothing")              << QByteArray();
    QTest::newRow("half a header")              << QByteArray::fromHex("afaf0000");
    QTest::newRow("part of the text")           << ForwardingRecord::encode(QStringLiteral("abcdef")).chopped(3);
    // clang-format on
}

void tst_TInstanceChannel::dropsBadOrStalledClientsAndKeepsServing()
{
    QFETCH(QByteArray, bytes);
    const auto channel = listeningChannel(newFolder());
    QVERIFY(channel);
    channel->setClientTimeout(200);
    QSignalSpy received(channel.get(), &TInstanceChannel::dataReceived);

    const auto bad = sent(channel->socketPath(), bytes);
    QVERIFY(bad);
    QTRY_COMPARE(bad->state(), QLocalSocket::UnconnectedState);
    QCOMPARE(bad->readAll(), QByteArray());
    QCOMPARE(received.count(), 0);

    const auto good =
        sent(channel->socketPath(), ForwardingRecord::encode(QStringLiteral("after")));
    QVERIFY(good);
    QTRY_COMPARE(received.count(), 1);
    QCOMPARE(received.at(0).at(0).toString(), QStringLiteral("after"));
}

void tst_TInstanceChannel::servesManyClientsAtOnce()
{
    const auto channel = listeningChannel(newFolder());
    QVERIFY(channel);
    QSignalSpy received(channel.get(), &TInstanceChannel::dataReceived);

    constexpr int Clients = 25;
    std::vector<std::unique_ptr<QLocalSocket>> clients;
    QSet<QString> expected;
    for (int i = 0; i < Clients; ++i)
    {
        clients.push_back(connectClient(channel->socketPath()));
        QVERIFY(clients.back()->waitForConnected(1000));
    }
    // Every client is half-way through its record before any finishes.
    QList<QByteArray> records;
    for (int i = 0; i < Clients; ++i)
    {
        // One long enough to arrive in several reads.
        const QString text =
            QStringLiteral("http://example.com/%1").arg(i) + QString(i == 0 ? 5000 : 0, u'z');
        expected.insert(text);
        records << ForwardingRecord::encode(text);
        clients[i]->write(records.back().left(10));
        clients[i]->flush();
    }
    QCoreApplication::processEvents();
    for (int i = Clients - 1; i >= 0; --i)
        clients[i]->write(records[i].mid(10));

    QTRY_COMPARE(received.count(), Clients);
    QSet<QString> texts;
    for (const QList<QVariant>& arguments : std::as_const(received))
        texts.insert(arguments.at(0).toString());
    QCOMPARE(texts, expected);
    for (const auto& client : clients)
    {
        QByteArray answer;
        QTRY_VERIFY((answer += client->readAll()).size() >= ForwardingRecord::AcknowledgementSize);
        QCOMPARE(answer, ForwardingRecord::encodeAcknowledgement(0));
        QTRY_COMPARE(client->state(), QLocalSocket::UnconnectedState);
    }
}

void tst_TInstanceChannel::survivesClientDroppedWhileHandled()
{
    const auto channel = listeningChannel(newFolder());
    QVERIFY(channel);
    channel->setClientTimeout(100);
    // A handler that opens a dialog keeps the event loop running inside it,
    // long enough for the client's time to run out there; the client was
    // acknowledged before and has ended meanwhile.
    int handled = 0;
    connect(channel.get(), &TInstanceChannel::dataReceived, this,
            [&handled]
            {
                QEventLoop loop;
                QTimer::singleShot(400, &loop, &QEventLoop::quit);
                loop.exec();
                ++handled;
            });

    const auto client =
        sent(channel->socketPath(), ForwardingRecord::encode(QStringLiteral("slow")));
    QVERIFY(client);
    QTRY_COMPARE(handled, 1);
    QTRY_COMPARE(client->state(), QLocalSocket::UnconnectedState);
    QCOMPARE(client->readAll(), ForwardingRecord::encodeAcknowledgement(0));

    const auto next = sent(channel->socketPath(), ForwardingRecord::encode(QStringLiteral("next")));
    QVERIFY(next);
    QTRY_COMPARE(handled, 2);
}

void tst_TInstanceChannel::racingProcessesGetOneFirstCopy()
{
    const QString folder = newFolder(); // not created yet: the racers create it too
    constexpr int Racers = 4;
    std::vector<std::unique_ptr<QProcess>> racers;
    for (int i = 0; i < Racers; ++i)
    {
        racers.push_back(std::make_unique<QProcess>());
        racers.back()->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        racers.back()->start(QCoreApplication::applicationFilePath(), {ChildAcquire, folder});
    }
    for (const auto& racer : racers)
    {
        QVERIFY(racer->waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(racer->canReadLine(), 10000);
        QCOMPARE(racer->readLine().trimmed(), "ready"_ba);
    }
    for (const auto& racer : racers)
        racer->write("go\n");

    int firsts = 0;
    for (const auto& racer : racers)
    {
        QTRY_VERIFY_WITH_TIMEOUT(racer->canReadLine(), 10000);
        const QByteArray answer = racer->readLine().trimmed();
        QVERIFY2(answer == "first" || answer == "second", answer.constData());
        firsts += answer == "first";
    }
    QCOMPARE(firsts, 1);
    QCOMPARE(modeOf(folder), mode_t(0700));

    for (const auto& racer : racers)
    {
        racer->write("done\n");
        racer->closeWriteChannel();
        QVERIFY(racer->waitForFinished(10000));
        QCOMPARE(racer->exitCode(), 0);
    }
}

void tst_TInstanceChannel::replacesKilledCopy()
{
    const QString folder = newFolder();
    QProcess copy;
    copy.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    copy.start(QCoreApplication::applicationFilePath(), {ChildListen, folder});
    QVERIFY(copy.waitForStarted(10000));
    QTRY_VERIFY_WITH_TIMEOUT(copy.canReadLine(), 10000);
    QCOMPARE(copy.readLine().trimmed(), "listening"_ba);

    // The other process answers, so this one may block.
    QVERIFY(TInstanceChannel::forwardTo(folder, QStringLiteral("to the child"), 5000));
    QTRY_VERIFY_WITH_TIMEOUT(copy.canReadLine(), 10000);
    QCOMPARE(copy.readLine().trimmed(), "received:to the child"_ba);

    copy.kill();
    QVERIFY(copy.waitForFinished(10000));
    TInstanceChannel probe(folder);
    QVERIFY(QFileInfo::exists(probe.socketPath()));
    QVERIFY(QFileInfo::exists(probe.lockFilePath()));
    // Left-overs of a dead copy accept nothing.
    QVERIFY(!TInstanceChannel::forwardTo(folder, QStringLiteral("lost"), 200));

    const auto channel = listeningChannel(folder);
    QVERIFY(channel);
    QSignalSpy received(channel.get(), &TInstanceChannel::dataReceived);
    const auto client =
        sent(channel->socketPath(), ForwardingRecord::encode(QStringLiteral("after the crash")));
    QVERIFY(client);
    QTRY_COMPARE(received.count(), 1);
    QCOMPARE(received.at(0).at(0).toString(), QStringLiteral("after the crash"));
}

void tst_TInstanceChannel::forwardsFromAnotherProcess_data()
{
    QTest::addColumn<QString>("argument");
    QTest::newRow("non-ASCII") << QString::fromUtf8("/tmp/\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80.vgp");
    QTest::newRow("empty") << QString();
}

void tst_TInstanceChannel::forwardsFromAnotherProcess()
{
    QFETCH(QString, argument);
    const QString folder = newFolder();
    const auto channel = listeningChannel(folder);
    QVERIFY(channel);
    QSignalSpy received(channel.get(), &TInstanceChannel::dataReceived);

    QProcess forwarder;
    forwarder.setProcessChannelMode(QProcess::ForwardedChannels);
    forwarder.start(QCoreApplication::applicationFilePath(), {ChildForward, folder, argument});
    QTRY_COMPARE_WITH_TIMEOUT(received.count(), 1, 10000);
    QCOMPARE(received.at(0).at(0).toString(), argument);
    QTRY_COMPARE_WITH_TIMEOUT(forwarder.state(), QProcess::NotRunning, 10000);
    QCOMPARE(forwarder.exitStatus(), QProcess::NormalExit);
    QCOMPARE(forwarder.exitCode(), 0); // the acknowledgement arrived
}

void tst_TInstanceChannel::givesUpWhenNobodyListens()
{
    // The first copy holds the lock but has not started listening yet and
    // never does: the forwarding copy must end on its own.
    const QString folder = newFolder();
    TInstanceChannel starting(folder);
    QVERIFY(starting.acquireFirstInstance());
    QVERIFY(!TInstanceChannel::forwardTo(folder, QStringLiteral("x"), 300));

    // No folder at all: nothing is running.
    QVERIFY(!TInstanceChannel::forwardTo(newFolder(), QStringLiteral("x"), 300));
}

void tst_TInstanceChannel::wmCopyDataReportsForwardedText()
{
    const auto channel = listeningChannel(newFolder());
    QVERIFY(channel);
    QCOMPARE(TInstanceChannel::listening(), channel.get());

    QObject window;
    auto* wmCopyData = new TStWMDataCopy(&window);
    QCOMPARE(wmCopyData->channel(), channel.get());
    QSignalSpy reported(wmCopyData, &TStWMDataCopy::OnDataReceived);

    for (const QString& text : {QStringLiteral("http://example.com/"), QString()})
    {
        const auto client = sent(channel->socketPath(), ForwardingRecord::encode(text));
        QVERIFY(client);
        QTRY_COMPARE(reported.count(), 1);
        QCOMPARE(reported.takeFirst().at(0).toString(), text);
    }

    // Detached, it reports nothing more.
    wmCopyData->attach(nullptr);
    QSignalSpy delivered(channel.get(), &TInstanceChannel::dataReceived);
    const auto client =
        sent(channel->socketPath(), ForwardingRecord::encode(QStringLiteral("ignored")));
    QVERIFY(client);
    QTRY_COMPARE(delivered.count(), 1);
    QCOMPARE(reported.count(), 0);
}

int main(int argc, char** argv)
{
    if (argc >= 2 && QByteArray(argv[1]).startsWith("--child-"))
    {
        QCoreApplication app(argc, argv);
        return runChild(app.arguments());
    }
    QApplication app(argc, argv);
    tst_TInstanceChannel test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_TInstanceChannel.moc"

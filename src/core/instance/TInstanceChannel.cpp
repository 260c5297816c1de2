#include "core/instance/TInstanceChannel.h"

#include "core/instance/ForwardingRecord.h"
#include "core/instance/StartupTimeline.h"
#include "core/store/RegistryStore.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
const QString SocketName = QStringLiteral("instance");
const QString LockName = QStringLiteral("instance.lock");
// A local socket address holds 108 bytes on Linux; stay well below it.
constexpr qsizetype MaxSocketPathBytes = 100;
constexpr int RetryIntervalMs = 50;

TInstanceChannel* s_listening = nullptr;

int remainingMs(const QDeadlineTimer& deadline)
{
    return int(qMax<qint64>(0, deadline.remainingTime()));
}

QString systemError(const QString& what, const QString& path)
{
    return QStringLiteral("%1 %2: %3")
        .arg(what, path, QString::fromLocal8Bit(std::strerror(errno)));
}
} // namespace

TInstanceChannel::TInstanceChannel(QObject* parent)
    : TInstanceChannel(defaultChannelFolder(), parent)
{
}

TInstanceChannel::TInstanceChannel(const QString& channelFolder, QObject* parent)
    : QObject(parent), m_folder(QDir::cleanPath(channelFolder))
{
}

TInstanceChannel::~TInstanceChannel()
{
    // The server removes its socket file by name when it closes. That must
    // happen while the lock is still held, or it could remove the socket of
    // a copy that took over in between.
    close();
    m_lock.reset();
}

void TInstanceChannel::close()
{
    if (s_listening == this)
        s_listening = nullptr;
    if (!m_server)
        return;
    for (QLocalSocket* socket : m_server->findChildren<QLocalSocket*>())
        socket->disconnect(this);
    m_pending.clear();
    delete m_server;
    m_server = nullptr;
}

QString TInstanceChannel::defaultChannelFolder()
{
    return channelFolderFor(RegistryStore::defaultDatabasePath());
}

QString TInstanceChannel::channelFolderFor(const QString& databasePath)
{
    const QByteArray digest = QCryptographicHash::hash(
        QFile::encodeName(QFileInfo(databasePath).absoluteFilePath()), QCryptographicHash::Sha1);
    const QString name =
        QStringLiteral("quillwave-") + QString::fromLatin1(digest.toHex().left(16));

    QStringList bases;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        bases << runtime;
    bases << QDir::tempPath() << QStringLiteral("/tmp");
    for (const QString& base : std::as_const(bases))
    {
        const QString folder = QDir::cleanPath(base + QLatin1Char('/') + name);
        if (QFile::encodeName(folder + QLatin1Char('/') + SocketName).size() < MaxSocketPathBytes)
            return folder;
    }
    return QStringLiteral("/tmp/") + name;
}

bool TInstanceChannel::isPrivateFolder(const QString& folder, QString* error)
{
    struct stat info;
    if (::lstat(QFile::encodeName(folder).constData(), &info) != 0)
    {
        if (error)
            *error = systemError(QStringLiteral("cannot inspect"), folder);
        return false;
    }
    QString problem;
    if (S_ISLNK(info.st_mode))
        problem = QStringLiteral("is a symbolic link");
    else if (!S_ISDIR(info.st_mode))
        problem = QStringLiteral("is not a folder");
    else if (info.st_uid != ::geteuid())
        problem = QStringLiteral("belongs to another user");
    else if ((info.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        problem = QStringLiteral("is open to other users");
    if (problem.isEmpty())
        return true;
    if (error)
        *error = folder + QLatin1Char(' ') + problem;
    return false;
}

bool TInstanceChannel::preparePrivateFolder(const QString& folder, QString* error)
{
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), S_IRWXU) == 0)
    {
        // A restrictive umask may have taken the owner's own bits away.
        if (::chmod(path.constData(), S_IRWXU) != 0)
        {
            if (error)
                *error = systemError(QStringLiteral("cannot set the mode of"), folder);
            return false;
        }
    }
    else if (errno != EEXIST)
    {
        if (error)
            *error = systemError(QStringLiteral("cannot create"), folder);
        return false;
    }
    return isPrivateFolder(folder, error);
}

QString TInstanceChannel::socketPath() const
{
    return m_folder + QLatin1Char('/') + SocketName;
}

QString TInstanceChannel::lockFilePath() const
{
    return m_folder + QLatin1Char('/') + LockName;
}

bool TInstanceChannel::acquireFirstInstance()
{
    if (m_decided)
        return m_firstInstance;
    m_decided = true;
    m_firstInstance = true;

    if (!preparePrivateFolder(m_folder, &m_error))
    {
        qWarning("Single-instance channel not used: %s", qPrintable(m_error));
        return true;
    }

    m_lock = std::make_unique<QLockFile>(lockFilePath());
    // Only a dead holder makes the lock stale, never its age: the first copy
    // keeps it for as long as it runs.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
    {
        m_usable = true;
        return true;
    }

    if (m_lock->error() == QLockFile::LockFailedError)
    {
        const bool removed = reclaimAbandonedLock();
        if (removed && m_lock->tryLock(0))
        {
            m_usable = true;
            return true;
        }
        if (m_lock->error() == QLockFile::LockFailedError)
        {
            m_usable = true;
            m_firstInstance = false;
            m_lock.reset();
            return false;
        }
    }

    // The lock file cannot be created at all, so no copy can hold it and
    // none could be reached: run without the channel.
    m_error = QStringLiteral("cannot create the lock file %1").arg(lockFilePath());
    qWarning("Single-instance channel not used: %s", qPrintable(m_error));
    m_lock.reset();
    return true;
}

bool TInstanceChannel::isHeldByLiveCopy() const
{
    if (!isPrivateFolder(m_folder))
        return false;
    const int fd = ::open(QFile::encodeName(lockFilePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // QLockFile's holder keeps an exclusive lock on its open file for as
    // long as it lives; the system drops it when the holder dies. A lock
    // of this process on another open file of it conflicts with that one.
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

bool TInstanceChannel::reclaimAbandonedLock()
{
    // QLockFile judges a holder by its process id, which takes a dead
    // holder for alive when the id now belongs to another copy of the
    // program, or to this very process. The real proof of life is the
    // holder's own lock on the open file. A live holder, the usual case, is
    // told apart at once: the removal lock below costs a write synced to disk.
    if (isHeldByLiveCopy())
        return false;
    // A lock file that does not name its holder yet may belong to a copy
    // that is creating it at this moment and has not locked it; it is left
    // alone unless it is too old for that.
    const QFileInfo lockFile(lockFilePath());
    const bool named = m_lock->getLockInfo(nullptr, nullptr, nullptr);
    const bool old = lockFile.lastModified().secsTo(QDateTime::currentDateTime()) > 5;
    if (!named && !old)
        return false;
    // One remover at a time, or a second one could remove the lock file that
    // the first has just created anew; removeStaleLockFile tests the proof
    // of life again under that lock.
    QLockFile removal(lockFilePath() + QStringLiteral(".rmlock"));
    return removal.tryLock(0) && m_lock->removeStaleLockFile();
}

bool TInstanceChannel::listen()
{
    if (m_server && m_server->isListening())
        return true;
    if (!m_lock || !m_lock->isLocked())
    {
        m_error = QStringLiteral("only the first copy listens");
        return false;
    }
    if (!QCoreApplication::instance())
    {
        m_error = QStringLiteral("no application object yet");
        return false;
    }
    // Holding the lock means no other copy owns the socket file: whatever
    // is there was left by a copy that died.
    QLocalServer::removeServer(socketPath());
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::NoOptions);
    connect(m_server, &QLocalServer::newConnection, this, &TInstanceChannel::acceptConnections);
    if (!m_server->listen(socketPath()))
    {
        m_error = m_server->errorString();
        qWarning("Cannot listen on %s: %s", qPrintable(socketPath()), qPrintable(m_error));
        delete m_server;
        m_server = nullptr;
        return false;
    }
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            &TInstanceChannel::close, Qt::UniqueConnection);
    s_listening = this;
    return true;
}

bool TInstanceChannel::isListening() const
{
    return m_server && m_server->isListening();
}

TInstanceChannel* TInstanceChannel::listening()
{
    return s_listening;
}

void TInstanceChannel::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection())
    {
        StartupTimeline::mark("first forwarding copy accepted");
        m_pending.insert(socket, std::make_shared<ForwardingRecord>());
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { drop(socket); });
        // A client that never completes its record must not hold a
        // connection for ever.
        QTimer::singleShot(m_clientTimeoutMs, socket, [this, socket] { drop(socket); });
        if (socket->bytesAvailable() > 0)
            readFrom(socket);
    }
}

void TInstanceChannel::readFrom(QLocalSocket* socket)
{
    const auto it = m_pending.constFind(socket);
    if (it == m_pending.constEnd())
    {
        // The record is already delivered; anything after it is not ours.
        socket->readAll();
        return;
    }
    const std::shared_ptr<ForwardingRecord> record = it.value();
    while (record->status() == ForwardingRecord::Status::NeedMore && socket->bytesAvailable() > 0)
        record->feed(socket->read(qMin<qint64>(record->bytesWanted(), socket->bytesAvailable())));

    switch (record->status())
    {
    case ForwardingRecord::Status::NeedMore:
        return;
    case ForwardingRecord::Status::Invalid:
        drop(socket);
        return;
    case ForwardingRecord::Status::Complete:
        m_pending.remove(socket);
        deliver(socket, record->text());
        return;
    }
}

void TInstanceChannel::deliver(QLocalSocket* socket, const QString& text)
{
    StartupTimeline::mark("first forwarded record received");
    // The record is whole and held here: the later copy may end now rather
    // than wait while this copy raises its window and opens the page.
    socket->write(ForwardingRecord::encodeAcknowledgement(0));
    socket->flush();
    socket->disconnectFromServer();
    emit dataReceived(text);
    StartupTimeline::mark("first forwarded record acted on");
}

void TInstanceChannel::drop(QLocalSocket* socket)
{
    m_pending.remove(socket);
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

bool TInstanceChannel::forward(const QString& argument, int timeoutMs)
{
    return forwardWithResult(argument, timeoutMs) == ForwardResult::Acknowledged;
}

bool TInstanceChannel::forwardTo(const QString& channelFolder, const QString& argument,
                                 int timeoutMs)
{
    return forwardToWithResult(channelFolder, argument, timeoutMs) == ForwardResult::Acknowledged;
}

TInstanceChannel::ForwardResult TInstanceChannel::forwardWithResult(const QString& argument,
                                                                    int timeoutMs)
{
    return forwardToWithResult(defaultChannelFolder(), argument, timeoutMs);
}

TInstanceChannel::ForwardResult TInstanceChannel::forwardToWithResult(const QString& channelFolder,
                                                                      const QString& argument,
                                                                      int timeoutMs)
{
    const QString folder = QDir::cleanPath(channelFolder);
    const QFileInfo folderInfo(folder);
    if (!folderInfo.exists() && !folderInfo.isSymLink())
        return ForwardResult::NotDelivered; // no copy has ever run with this store
    QString error;
    if (!isPrivateFolder(folder, &error))
    {
        qWarning("Not forwarding: %s", qPrintable(error));
        return ForwardResult::NotDelivered;
    }
    const QString path = folder + QLatin1Char('/') + SocketName;
    const QString lockPath = folder + QLatin1Char('/') + LockName;
    const QByteArray record = ForwardingRecord::encode(argument);
    const QDeadlineTimer deadline(timeoutMs);
    forever
    {
        QLocalSocket socket;
        socket.connectToServer(path);
        if (socket.waitForConnected(remainingMs(deadline)))
        {
            StartupTimeline::mark("connected to the running copy");
            return sendAndAwaitAcknowledgement(socket, record, timeoutMs);
        }
        socket.abort();
        // The running copy may not listen yet; without a lock file nobody
        // is running or starting, so nobody will ever answer.
        if (deadline.hasExpired() || !QFileInfo::exists(lockPath))
            return ForwardResult::NotDelivered;
        QThread::msleep(qMin(RetryIntervalMs, remainingMs(deadline)));
    }
}

TInstanceChannel::ForwardResult
TInstanceChannel::sendAndAwaitAcknowledgement(QLocalSocket& socket, const QByteArray& record,
                                              int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    socket.write(record);
    while (socket.bytesToWrite() > 0)
    {
        // Part of the record is still here: the receiver drops what it got.
        if (!socket.waitForBytesWritten(remainingMs(deadline)))
            return ForwardResult::NotDelivered;
    }
    QByteArray answer;
    forever
    {
        answer += socket.read(ForwardingRecord::AcknowledgementSize - answer.size());
        if (answer.size() >= ForwardingRecord::AcknowledgementSize || deadline.hasExpired())
            break;
        if (!socket.waitForReadyRead(remainingMs(deadline)) && socket.bytesAvailable() == 0)
            break;
    }
    StartupTimeline::mark("acknowledged");
    const std::optional<quint32> result = ForwardingRecord::decodeAcknowledgement(answer);
    return result && *result == 0 ? ForwardResult::Acknowledged : ForwardResult::Unacknowledged;
}

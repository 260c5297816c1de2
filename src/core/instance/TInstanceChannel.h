#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;
class ForwardingRecord;

// The per-user channel through which one running copy of the program
// receives the arguments of copies started after it.
//
// The channel lives in a private folder (mode 0700, owned by the user) named
// after the settings database, so that every settings store has its own
// running copy. The first copy is the process that holds the lock file
// "instance.lock" in that folder for its whole life; the lock is released by
// the system when the process dies, however it dies. Only the first copy
// listens on the socket "instance" beside it.
//
// When the folder cannot be trusted (it is a symbolic link, belongs to
// someone else, or grants access to others) the channel is not used at all:
// the process runs its own window as if it were the first copy but neither
// takes the lock nor listens, and a later copy does not forward to it. The
// user still gets a working browser, and nothing is exchanged through a
// place another account could read or replace.
class TInstanceChannel : public QObject
{
    Q_OBJECT

public:
    // How long a forwarding copy waits in all, and how long the running copy
    // waits for a client to deliver its whole record.
    static constexpr int DefaultTimeoutMs = 3000;

    // The channel of the settings store in use.
    explicit TInstanceChannel(QObject* parent = nullptr);
    // The channel in the given folder (tests, other stores).
    explicit TInstanceChannel(const QString& channelFolder, QObject* parent = nullptr);
    ~TInstanceChannel() override;

    // "quillwave-" + the first 16 hex digits of the SHA-1 of the database
    // path, under $XDG_RUNTIME_DIR when that is a usable folder, else under
    // the temporary folder; "/tmp" when either would make the socket path
    // too long for a local socket address.
    static QString defaultChannelFolder();
    static QString channelFolderFor(const QString& databasePath);
    // True when folder is a real folder (not a link) of the current user
    // that nobody else may enter.
    static bool isPrivateFolder(const QString& folder, QString* error = nullptr);
    // Creates folder with mode 0700, or checks an existing one as above.
    static bool preparePrivateFolder(const QString& folder, QString* error = nullptr);

    QString channelFolder() const { return m_folder; }
    QString socketPath() const;
    QString lockFilePath() const;
    QString errorString() const { return m_error; }

    // Decides whether this process is the first copy. True when it now holds
    // the lock, and also when the channel cannot be used (see above); false
    // only when another live process holds the lock. Repeated calls return
    // the first answer.
    bool acquireFirstInstance();
    bool isFirstInstance() const { return m_firstInstance; }
    // Whether a live process (this one too) holds this channel's lock now,
    // which is what makes acquireFirstInstance() answer false. Only reads: nothing
    // is created, written or taken, so it never stands in the way of a copy
    // that is starting. False when the folder could not be used at all.
    bool isHeldByLiveCopy() const;
    // Whether the channel folder passed its checks (known after acquireFirstInstance).
    bool isChannelUsable() const { return m_usable; }

    // Starts receiving forwarded arguments. Only the lock holder listens, and
    // only after the application object exists; a socket left behind by a
    // killed copy is replaced.
    bool listen();
    bool isListening() const;
    // Stops receiving; the lock stays held until the object is destroyed.
    // Happens by itself when the application is about to quit, so that the
    // server never outlives the event loop it relies on.
    void close();
    // The channel this process listens on, if any.
    static TInstanceChannel* listening();
    void setClientTimeout(int milliseconds) { m_clientTimeoutMs = milliseconds; }

    enum class ForwardResult
    {
        Acknowledged,  // the running copy has acted on the record
        NotDelivered,  // nobody took the whole record: nothing can have happened
        Unacknowledged // the record went out but no acknowledgement came back
    };

    // Sends argument to the running copy of the settings store in use and
    // waits for its acknowledgement, retrying the connection while that copy
    // may still be starting, all within timeoutMs. Uses nothing but Qt Core
    // and Network; true when the running copy acknowledged the record.
    static bool forward(const QString& argument, int timeoutMs = DefaultTimeoutMs);
    static bool forwardTo(const QString& channelFolder, const QString& argument, int timeoutMs);
    // The same, telling a record nobody received from one that may have
    // been acted on: only the first may safely be tried again elsewhere.
    static ForwardResult forwardWithResult(const QString& argument,
                                           int timeoutMs = DefaultTimeoutMs);
    static ForwardResult forwardToWithResult(const QString& channelFolder, const QString& argument,
                                             int timeoutMs);

signals:
    // One well-formed record arrived; text is empty for a record without an
    // argument. The sender has been acknowledged: it need not wait for what
    // the receivers do.
    void dataReceived(const QString& text);

private:
    bool reclaimAbandonedLock();
    void acceptConnections();
    void readFrom(QLocalSocket* socket);
    void deliver(QLocalSocket* socket, const QString& text);
    void drop(QLocalSocket* socket);
    static ForwardResult sendAndAwaitAcknowledgement(QLocalSocket& socket, const QByteArray& record,
                                                     int timeoutMs);

    QString m_folder;
    QString m_error;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
    // Decoders of the clients whose record is still incomplete.
    QHash<QLocalSocket*, std::shared_ptr<ForwardingRecord>> m_pending;
    int m_clientTimeoutMs = DefaultTimeoutMs;
    bool m_decided = false;
    bool m_firstInstance = false;
    bool m_usable = false;
};

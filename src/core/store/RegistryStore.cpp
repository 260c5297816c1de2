#include "core/store/RegistryStore.h"

#include "core/instance/StartupTimeline.h"
#include "core/store/ProgramPaths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <array>

namespace
{
// Waiting this long for another copy's write lock covers any write the
// program makes; only a hung copy makes a call fail.
constexpr int BusyTimeoutMs = 5000;
// Key names are limited as in the desktop registry; value names are not.
constexpr qsizetype MaxKeyNameLength = 255;
constexpr int SchemaVersion = 1;

// Names compare without regard to case. SQLite's NOCASE folds ASCII only,
// so the store keeps a folded copy of every name (and of every key's full
// path) and looks things up by that.
QString fold(const QString& s)
{
    return s.toCaseFolded();
}

QString foldedPath(const QStringList& segments)
{
    return fold(segments.join(QLatin1Char('\\')));
}

// The key's full folded path identifies it, so every lookup is one indexed
// query; parent and id give the tree shape and the creation order.
const char* const SchemaSql = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY,
    parent INTEGER REFERENCES keys(id) ON DELETE CASCADE,
    name TEXT NOT NULL,
    path TEXT NOT NULL UNIQUE
);
CREATE INDEX IF NOT EXISTS keys_by_parent ON keys(parent, id);
CREATE TABLE IF NOT EXISTS key_values(
    seq INTEGER PRIMARY KEY,
    key_id INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,
    name TEXT NOT NULL,
    folded TEXT NOT NULL,
    type INTEGER NOT NULL CHECK(type IN (1, 4)),
    text TEXT,
    dword INTEGER,
    UNIQUE(key_id, folded)
);
INSERT OR IGNORE INTO keys(parent, name, path) VALUES
    (NULL, 'HKEY_CURRENT_USER', 'hkey_current_user'),
    (NULL, 'HKEY_LOCAL_MACHINE', 'hkey_local_machine'),
    (NULL, 'HKEY_CLASSES_ROOT', 'hkey_classes_root');
)sql";

enum Statement
{
    FindKey,
    InsertKey,
    ListSubKeys,
    ListValues,
    ReadValue,
    UpsertValue,
    DeleteValueRow,
    DeleteKeyTree,
    StatementCount
};

const std::array<const char*, StatementCount> StatementSql{
    "SELECT id FROM keys WHERE path = ?1",
    "INSERT INTO keys(parent, name, path) VALUES(?1, ?2, ?3)",
    "SELECT c.name FROM keys c JOIN keys p ON c.parent = p.id WHERE p.path = ?1 ORDER BY c.id",
    "SELECT v.name FROM key_values v JOIN keys k ON v.key_id = k.id WHERE k.path = ?1 "
    "ORDER BY v.seq",
    "SELECT v.type, v.text, v.dword FROM key_values v JOIN keys k ON v.key_id = k.id "
    "WHERE k.path = ?1 AND v.folded = ?2",
    // Rewriting a value updates its row, so it keeps its place in the order.
    "INSERT INTO key_values(key_id, name, folded, type, text, dword) VALUES(?1, ?2, ?3, ?4, ?5, "
    "?6) "
    "ON CONFLICT(key_id, folded) DO UPDATE SET type = excluded.type, text = excluded.text, "
    "dword = excluded.dword",
    "DELETE FROM key_values WHERE folded = ?2 AND key_id = (SELECT id FROM keys WHERE path = ?1)",
    // The key and everything below it: paths that start with "path\".
    // '\' is 0x5C and ']' 0x5D, so the range holds exactly those paths.
    "DELETE FROM keys WHERE path = ?1 OR (path >= ?1 || '\\' AND path < ?1 || ']')",
};

// Thrown inside the store's own transactions to roll them back.
struct StoreFailure
{
};

bool isCorruption(int rc)
{
    const int primary = rc & 0xFF;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

// One use of a cached statement; resets it whatever happens.
class Query
{
public:
    explicit Query(sqlite3_stmt* statement) : s(statement) {}
    ~Query()
    {
        sqlite3_reset(s);
        sqlite3_clear_bindings(s);
    }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    void bind(int index, const QString& text)
    {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(s, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    void bind(int index, qint64 number) { sqlite3_bind_int64(s, index, number); }
    void bindNull(int index) { sqlite3_bind_null(s, index); }
    int step() { return sqlite3_step(s); }
    QString text(int column) const
    {
        const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
        return QString::fromUtf8(data, sqlite3_column_bytes(s, column));
    }
    qint64 integer(int column) const { return sqlite3_column_int64(s, column); }

private:
    sqlite3_stmt* s;
};
} // namespace

struct RegistryStore::Private
{
    enum class OpenResult
    {
        Ok,
        Unusable, // corrupt, not a database, or a schema we cannot use
        Failed    // busy, no permission, I/O: the file itself may be fine
    };

    QString path;
    sqlite3* db = nullptr;
    int depth = 0;
    std::array<sqlite3_stmt*, StatementCount> statements{};
    mutable QString lastError;

    void open();
    OpenResult openOnce(QString* reason);
    OpenResult initialise(QString* reason);
    void close();
    bool moveAside(QString* keptAs) const;

    void warn(const char* what) const
    {
        lastError = QString::fromUtf8(db ? sqlite3_errmsg(db) : "not open");
        qWarning("Settings store %s: %s failed: %s", qPrintable(path), what,
                 db ? sqlite3_errmsg(db) : "not open");
    }
    bool exec(const char* sql) const
    {
        return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    Query query(Statement which) const { return Query(statements[which]); }

    std::optional<qint64> findKey(const QString& folded) const;
    QStringList listNames(Statement which, const QString& key, const char* what) const;
    void writeValue(qint64 keyId, const QString& name, const RegValue& value) const;
    qint64 ensureKey(const QStringList& segments) const;
    bool atomically(RegistryStore* q, const std::function<void()>& fn) const;
};

void RegistryStore::Private::open()
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString reason;
    OpenResult result = openOnce(&reason);
    if (result == OpenResult::Unusable)
    {
        close();
        QString keptAs;
        if (!moveAside(&keptAs))
        {
            lastError = reason;
            qWarning("The settings database %s cannot be used (%s) and could not be moved aside; "
                     "settings are not available.",
                     qPrintable(path), qPrintable(reason));
            return;
        }
        qWarning("The settings database %s could not be used (%s); it was kept as %s and a fresh "
                 "one was started.",
                 qPrintable(path), qPrintable(reason), qPrintable(keptAs));
        result = openOnce(&reason);
    }
    if (result != OpenResult::Ok)
    {
        lastError = reason;
        qWarning("The settings database %s could not be opened: %s", qPrintable(path),
                 qPrintable(reason));
        close();
    }
}

RegistryStore::Private::OpenResult RegistryStore::Private::openOnce(QString* reason)
{
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK)
    {
        *reason = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        return isCorruption(rc) ? OpenResult::Unusable : OpenResult::Failed;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, BusyTimeoutMs);
    return initialise(reason);
}

RegistryStore::Private::OpenResult RegistryStore::Private::initialise(QString* reason)
{
    auto failure = [&](int rc, bool schemaStage)
    {
        *reason = QString::fromUtf8(sqlite3_errmsg(db));
        // An SQL error in the schema stage means the file holds tables of
        // the same names but another shape.
        if (isCorruption(rc) || (schemaStage && (rc & 0xFF) == SQLITE_ERROR))
            return OpenResult::Unusable;
        return OpenResult::Failed;
    };
    auto run = [&](const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); };

    int rc = run("PRAGMA foreign_keys=ON");
    if (rc != SQLITE_OK)
        return failure(rc, false);

    // A damaged page would otherwise only show up when a setting on it is read.
    sqlite3_stmt* check = nullptr;
    rc = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &check, nullptr);
    if (rc != SQLITE_OK)
        return failure(rc, false);
    QString verdict;
    while ((rc = sqlite3_step(check)) == SQLITE_ROW)
    {
        if (verdict.isEmpty())
            verdict =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)));
    }
    sqlite3_finalize(check);
    if (rc != SQLITE_DONE)
        return failure(rc, false);
    if (verdict != QLatin1String("ok"))
    {
        *reason = QStringLiteral("integrity check: ") + verdict;
        return OpenResult::Unusable;
    }

    sqlite3_stmt* version = nullptr;
    rc = sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &version, nullptr);
    if (rc != SQLITE_OK)
        return failure(rc, false);
    rc = sqlite3_step(version);
    const int userVersion = rc == SQLITE_ROW ? sqlite3_column_int(version, 0) : 0;
    sqlite3_finalize(version);
    if (rc != SQLITE_ROW)
        return failure(rc, false);

    if (userVersion == 0)
    {
        rc = run("BEGIN IMMEDIATE");
        if (rc != SQLITE_OK)
            return failure(rc, true);
        rc = run(SchemaSql);
        if (rc == SQLITE_OK)
            rc = run(("PRAGMA user_version=" + QByteArray::number(SchemaVersion)).constData());
        if (rc == SQLITE_OK)
            rc = run("COMMIT");
        if (rc != SQLITE_OK)
        {
            const OpenResult result = failure(rc, true);
            run("ROLLBACK");
            return result;
        }
    }

    for (int i = 0; i < StatementCount; ++i)
    {
        rc = sqlite3_prepare_v3(db, StatementSql[i], -1, SQLITE_PREPARE_PERSISTENT, &statements[i],
                                nullptr);
        if (rc != SQLITE_OK)
            return failure(rc, true);
    }
    // The roots exist in every database this program made.
    for (const QString& root : RegistryStore::rootKeyNames())
    {
        if (!findKey(fold(root)))
        {
            *reason = QStringLiteral("root key %1 is missing").arg(root);
            return OpenResult::Unusable;
        }
    }

    // Only now that the file is known to be ours may its journal mode change:
    // a file that is moved aside stays as it was found. WAL lets readers and
    // one writer of other copies work side by side; synchronous=NORMAL keeps
    // the database consistent on power loss and only risks the very last
    // commits, which suits settings.
    rc = run("PRAGMA journal_mode=WAL");
    if (rc == SQLITE_OK)
        rc = run("PRAGMA synchronous=NORMAL");
    if (rc != SQLITE_OK)
        return failure(rc, false);
    return OpenResult::Ok;
}

void RegistryStore::Private::close()
{
    for (sqlite3_stmt*& statement : statements)
    {
        sqlite3_finalize(statement);
        statement = nullptr;
    }
    if (db)
        sqlite3_close_v2(db);
    db = nullptr;
    depth = 0;
}

bool RegistryStore::Private::moveAside(QString* keptAs) const
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = path + QStringLiteral(".corrupt-") + stamp;
    for (int n = 2; QFileInfo::exists(target) || QFileInfo::exists(target + QStringLiteral("-wal"));
         ++n)
        target = path + QStringLiteral(".corrupt-") + stamp + QLatin1Char('-') + QString::number(n);
    if (!QFile::rename(path, target))
        return false;
    // The journal files belong to the damaged file; a fresh database must
    // never replay them.
    for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")})
    {
        if (QFileInfo::exists(path + suffix) && !QFile::rename(path + suffix, target + suffix))
            QFile::remove(path + suffix);
    }
    *keptAs = target;
    return true;
}

std::optional<qint64> RegistryStore::Private::findKey(const QString& folded) const
{
    Query q = query(FindKey);
    q.bind(1, folded);
    const int rc = q.step();
    if (rc == SQLITE_ROW)
        return q.integer(0);
    if (rc != SQLITE_DONE)
        warn("looking up a key");
    return std::nullopt;
}

QStringList RegistryStore::Private::listNames(Statement which, const QString& key,
                                              const char* what) const
{
    const QStringList segments = splitKeyPath(key);
    if (!db || segments.isEmpty())
        return {};
    QStringList names;
    Query q = query(which);
    q.bind(1, foldedPath(segments));
    int rc;
    while ((rc = q.step()) == SQLITE_ROW)
        names << q.text(0);
    if (rc != SQLITE_DONE)
        warn(what);
    return names;
}

void RegistryStore::Private::writeValue(qint64 keyId, const QString& name,
                                        const RegValue& value) const
{
    Query q = query(UpsertValue);
    q.bind(1, keyId);
    q.bind(2, name);
    q.bind(3, fold(name));
    q.bind(4, qint64(value.type));
    if (value.type == RegValue::DWord)
    {
        q.bindNull(5);
        q.bind(6, qint64(value.dword));
    }
    else
    {
        q.bind(5, value.text);
        q.bindNull(6);
    }
    if (q.step() != SQLITE_DONE)
    {
        warn("writing a value");
        throw StoreFailure{};
    }
}

// Returns the id of the key, creating it and its missing parents. Runs
// inside a transaction; throws StoreFailure so that it is rolled back.
qint64 RegistryStore::Private::ensureKey(const QStringList& segments) const
{
    if (const auto existing = findKey(foldedPath(segments)))
        return *existing;
    const auto root = findKey(fold(segments.first()));
    if (!root)
        throw StoreFailure{};
    qint64 parent = *root;
    QString path = fold(segments.first());
    for (qsizetype i = 1; i < segments.size(); ++i)
    {
        path += QLatin1Char('\\') + fold(segments[i]);
        if (const auto id = findKey(path))
        {
            parent = *id;
            continue;
        }
        Query q = query(InsertKey);
        q.bind(1, parent);
        q.bind(2, segments[i]);
        q.bind(3, path);
        if (q.step() != SQLITE_DONE)
        {
            warn("creating a key");
            throw StoreFailure{};
        }
        parent = sqlite3_last_insert_rowid(db);
    }
    return parent;
}

bool RegistryStore::Private::atomically(RegistryStore* q, const std::function<void()>& fn) const
{
    try
    {
        return q->transaction(fn);
    }
    catch (const StoreFailure&)
    {
        return false;
    }
}

RegistryStore::RegistryStore(const QString& databasePath) : d(new Private)
{
    d->path = databasePath;
    d->open();
    StartupTimeline::mark("store opened");
}

RegistryStore::~RegistryStore()
{
    d->close();
    delete d;
}

QString RegistryStore::defaultDatabasePath()
{
    return ProgramPaths::configFolder() + QStringLiteral("/settings.sqlite");
}

bool RegistryStore::isOpen() const
{
    return d->db != nullptr;
}

QString RegistryStore::databasePath() const
{
    return d->path;
}

QString RegistryStore::lastError() const
{
    return d->lastError;
}

bool RegistryStore::keyExists(const QString& key) const
{
    const QStringList segments = splitKeyPath(key);
    return isOpen() && !segments.isEmpty() && d->findKey(foldedPath(segments)).has_value();
}

bool RegistryStore::createKey(const QString& key)
{
    const QStringList segments = splitKeyPath(key);
    if (!isOpen() || segments.isEmpty())
        return false;
    return d->atomically(this, [&] { d->ensureKey(segments); });
}

QStringList RegistryStore::subKeyNames(const QString& key) const
{
    return d->listNames(ListSubKeys, key, "listing sub-keys");
}

QStringList RegistryStore::valueNames(const QString& key) const
{
    return d->listNames(ListValues, key, "listing values");
}

std::optional<RegValue> RegistryStore::value(const QString& key, const QString& name) const
{
    const QStringList segments = splitKeyPath(key);
    if (!isOpen() || segments.isEmpty())
        return std::nullopt;
    Query q = d->query(ReadValue);
    q.bind(1, foldedPath(segments));
    q.bind(2, fold(name));
    const int rc = q.step();
    if (rc != SQLITE_ROW)
    {
        if (rc != SQLITE_DONE)
            d->warn("reading a value");
        return std::nullopt;
    }
    if (q.integer(0) == RegValue::DWord)
        return RegValue::fromDWord(quint32(q.integer(2)));
    return RegValue::fromString(q.text(1));
}

bool RegistryStore::setValue(const QString& key, const QString& name, const RegValue& value)
{
    const QStringList segments = splitKeyPath(key);
    if (!isOpen() || segments.isEmpty())
        return false;
    return d->atomically(this, [&] { d->writeValue(d->ensureKey(segments), name, value); });
}

bool RegistryStore::setString(const QString& key, const QString& name, const QString& text)
{
    return setValue(key, name, RegValue::fromString(text));
}

bool RegistryStore::setDWord(const QString& key, const QString& name, quint32 value)
{
    return setValue(key, name, RegValue::fromDWord(value));
}

// Returns false when the value did not exist (or on failure).
bool RegistryStore::deleteValue(const QString& key, const QString& name)
{
    const QStringList segments = splitKeyPath(key);
    if (!isOpen() || segments.isEmpty())
        return false;
    Query q = d->query(DeleteValueRow);
    q.bind(1, foldedPath(segments));
    q.bind(2, fold(name));
    if (q.step() != SQLITE_DONE)
    {
        d->warn("deleting a value");
        return false;
    }
    return sqlite3_changes(d->db) > 0;
}

// Returns false when the key did not exist (or on failure). The roots
// cannot be deleted. One statement removes the whole tree, so it is atomic
// without an explicit transaction.
bool RegistryStore::deleteKey(const QString& key)
{
    const QStringList segments = splitKeyPath(key);
    if (!isOpen() || segments.size() < 2)
        return false;
    Query q = d->query(DeleteKeyTree);
    q.bind(1, foldedPath(segments));
    if (q.step() != SQLITE_DONE)
    {
        d->warn("deleting a key");
        return false;
    }
    return sqlite3_changes(d->db) > 0;
}

// The outermost call takes the write lock at once (BEGIN IMMEDIATE), so a
// read inside fn cannot be overtaken by another copy's write before the
// commit; nested calls are savepoints. When fn throws, its changes are
// rolled back and the exception propagates. Returns false when the
// transaction could not be started or committed.
bool RegistryStore::transaction(const std::function<void()>& fn)
{
    if (!isOpen())
        return false;
    const bool outermost = d->depth == 0;
    const QByteArray savepoint = "SAVEPOINT level" + QByteArray::number(d->depth);
    const QByteArray release = "RELEASE level" + QByteArray::number(d->depth);
    const QByteArray rollbackTo = "ROLLBACK TO level" + QByteArray::number(d->depth);
    if (!d->exec(outermost ? "BEGIN IMMEDIATE" : savepoint.constData()))
    {
        d->warn("starting a transaction");
        return false;
    }
    ++d->depth;
    try
    {
        fn();
    }
    catch (...)
    {
        --d->depth;
        if (outermost)
        {
            d->exec("ROLLBACK");
        }
        else
        {
            d->exec(rollbackTo.constData());
            d->exec(release.constData());
        }
        throw;
    }
    --d->depth;
    if (!outermost)
        return d->exec(release.constData());
    // An I/O error inside fn may already have rolled everything back.
    if (sqlite3_get_autocommit(d->db))
        return false;
    if (!d->exec("COMMIT"))
    {
        d->warn("committing");
        d->exec("ROLLBACK");
        return false;
    }
    return true;
}

QStringList RegistryStore::rootKeyNames()
{
    return {QStringLiteral("HKEY_CURRENT_USER"), QStringLiteral("HKEY_LOCAL_MACHINE"),
            QStringLiteral("HKEY_CLASSES_ROOT")};
}

// A path is a root name (any case) followed by key names separated by single
// backslashes. Empty names (a leading, doubled or trailing backslash), names
// over 255 characters and control characters (line breaks, NUL) make the
// whole path invalid; the root comes back in its canonical spelling.
QStringList RegistryStore::splitKeyPath(const QString& key)
{
    const QStringList parts = key.split(QLatin1Char('\\'));
    QString root;
    for (const QString& candidate : RegistryStore::rootKeyNames())
    {
        if (parts.first().compare(candidate, Qt::CaseInsensitive) == 0)
            root = candidate;
    }
    if (root.isEmpty())
        return {};
    QStringList segments{root};
    for (qsizetype i = 1; i < parts.size(); ++i)
    {
        const QString& part = parts[i];
        if (part.isEmpty() || part.size() > MaxKeyNameLength)
            return {};
        if (std::any_of(part.begin(), part.end(), [](QChar c) { return c.unicode() < 0x20; }))
            return {};
        segments << part;
    }
    return segments;
}

#include "core/store/RegistryStore.h"

#include "core/instance/StartupTimeline.h"
#include "core/store/CorruptDatabase.h"
#include "core/store/ProgramPaths.h"
#include "core/store/RegistryQuery.h"
#include "core/store/RegistrySql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>
#include <array>

namespace
{
using Statement = RegistrySql::Statement;
using enum RegistrySql::Statement;
// Waiting this long for another copy's write lock covers any write the
// program makes; only a hung copy makes a call fail.
constexpr int BusyTimeoutMs = 5000;
// Key names are limited as in the desktop registry; value names are not.
constexpr qsizetype MaxKeyNameLength = 255;

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

// Thrown inside the store's own transactions to roll them back.
struct StoreFailure
{
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
    std::array<sqlite3_stmt*, RegistrySql::StatementCount> statements{};
    mutable QString lastError;

    void open();
    OpenResult openOnce(QString* reason);
    OpenResult initialise(QString* reason);
    void close();

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
    RegistryQuery query(Statement which) const { return RegistryQuery(statements[which]); }

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
        if (!CorruptDatabase::moveAside(path, &keptAs))
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
        return CorruptDatabase::isCorruption(rc) ? OpenResult::Unusable : OpenResult::Failed;
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
        if (CorruptDatabase::isCorruption(rc) || (schemaStage && (rc & 0xFF) == SQLITE_ERROR))
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
        rc = run(RegistrySql::schema());
        if (rc == SQLITE_OK)
            rc = run(("PRAGMA user_version=" + QByteArray::number(RegistrySql::SchemaVersion))
                         .constData());
        if (rc == SQLITE_OK)
            rc = run("COMMIT");
        if (rc != SQLITE_OK)
        {
            const OpenResult result = failure(rc, true);
            run("ROLLBACK");
            return result;
        }
    }

    for (int i = 0; i < RegistrySql::StatementCount; ++i)
    {
        rc = sqlite3_prepare_v3(db, RegistrySql::statement(RegistrySql::Statement(i)), -1,
                                SQLITE_PREPARE_PERSISTENT, &statements[i], nullptr);
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

std::optional<qint64> RegistryStore::Private::findKey(const QString& folded) const
{
    RegistryQuery q = query(FindKey);
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
    RegistryQuery q = query(which);
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
    RegistryQuery q = query(UpsertValue);
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
        RegistryQuery q = query(InsertKey);
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
    RegistryQuery q = d->query(ReadValue);
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
    RegistryQuery q = d->query(DeleteValueRow);
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
    RegistryQuery q = d->query(DeleteKeyTree);
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

bool RegistryStore::snapshot(const std::function<void()>& fn) const
{
    if (!isOpen())
        return false;
    if (d->depth > 0)
    {
        fn();
        return true;
    }
    // A deferred transaction takes no lock: other copies keep writing, and
    // this one keeps reading what was committed when its first read ran.
    if (!d->exec("BEGIN DEFERRED"))
    {
        d->warn("starting a read");
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
        d->exec("ROLLBACK");
        throw;
    }
    --d->depth;
    if (!sqlite3_get_autocommit(d->db))
        d->exec("COMMIT");
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

#include "core/store/RegistrySql.h"

namespace
{
const std::array<const char*, RegistrySql::StatementCount> StatementSql{
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
} // namespace

// The key's full folded path identifies it, so every lookup is one indexed
// query; parent and id give the tree shape and the creation order.
const char* RegistrySql::schema()
{
    return R"sql(
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
}

const char* RegistrySql::statement(Statement which)
{
    return StatementSql[which];
}

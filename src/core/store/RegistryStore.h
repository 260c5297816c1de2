#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

struct sqlite3;

// One value of the store. Only the two types the program writes exist;
// anything else read from an imported file is refused at import time.
struct RegValue
{
    enum Type
    {
        String = 1, // REG_SZ
        DWord = 4   // REG_DWORD
    };
    Type type = String;
    QString text;      // String
    quint32 dword = 0; // DWord

    static RegValue fromString(const QString& s) { return {String, s, 0}; }
    static RegValue fromDWord(quint32 d) { return {DWord, QString(), d}; }
    bool operator==(const RegValue&) const = default;
};

// A registry-like tree of keys stored in one SQLite database.
//
// Key paths are written with backslashes and start with a root name
// ("HKEY_CURRENT_USER\\Software\\..."); key and value names compare without
// regard to case, as the desktop registry the design comes from did. The
// empty value name is a key's default value. Values and sub-keys enumerate
// in creation order. Nothing is cached: every call reads or writes the
// database, so two running copies always see each other's writes.
class RegistryStore
{
public:
    // Opens (creating when missing) the database at path. A file that is
    // not a usable database is renamed aside and a fresh one started.
    explicit RegistryStore(const QString& databasePath = defaultDatabasePath());
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    // $QUILLWAVE_HOME/settings.sqlite when set, else the per-user config folder.
    static QString defaultDatabasePath();

    bool isOpen() const;
    QString databasePath() const;
    // Why the store could not be opened, or why its last failed operation
    // failed (SQLite's words); empty while nothing has failed.
    QString lastError() const;

    bool keyExists(const QString& key) const;
    // Creates the key and any missing parents; false when the path is invalid.
    bool createKey(const QString& key);
    QStringList subKeyNames(const QString& key) const;
    QStringList valueNames(const QString& key) const;
    std::optional<RegValue> value(const QString& key, const QString& name) const;

    // Setters create the key when needed; writing an existing value keeps
    // its place in the enumeration order.
    bool setValue(const QString& key, const QString& name, const RegValue& value);
    bool setString(const QString& key, const QString& name, const QString& text);
    bool setDWord(const QString& key, const QString& name, quint32 value);
    bool deleteValue(const QString& key, const QString& name);
    // Deletes the key with all its values and sub-keys.
    bool deleteKey(const QString& key);

    // Runs fn inside one immediate transaction: a read-modify-write of
    // several values is atomic against other processes. Calls nest.
    bool transaction(const std::function<void()>& fn);
    // Runs fn, which only reads, on one snapshot of the store: reads of
    // several values (a whole list) never see part of another copy's
    // write. Inside a transaction fn simply runs. False when the snapshot
    // could not be taken; fn has then not run.
    bool snapshot(const std::function<void()>& fn) const;

    // Splits and validates a key path; empty when it is not a valid path.
    static QStringList splitKeyPath(const QString& key);
    // HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT: they always
    // exist and cannot be deleted.
    static QStringList rootKeyNames();

private:
    struct Private;
    Private* d;
};

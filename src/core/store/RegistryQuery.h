#pragma once

#include <QString>

struct sqlite3_stmt;

// One use of a statement the settings store prepared once; resets it
// whatever happens, so that the next use starts clean.
class RegistryQuery
{
public:
    explicit RegistryQuery(sqlite3_stmt* statement) : s(statement) {}
    ~RegistryQuery();
    RegistryQuery(const RegistryQuery&) = delete;
    RegistryQuery& operator=(const RegistryQuery&) = delete;

    void bind(int index, const QString& text);
    void bind(int index, qint64 number);
    void bindNull(int index);
    int step();
    QString text(int column) const;
    qint64 integer(int column) const;

private:
    sqlite3_stmt* s;
};

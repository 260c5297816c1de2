#pragma once

#include <array>

// The SQL of the settings store: its schema and the statements it prepares
// once per connection.
class RegistrySql
{
public:
    static constexpr int SchemaVersion = 1;
    static const char* schema();

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
    static const char* statement(Statement which);
};

#pragma once

#include "core/store/RegistryStore.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The desktop registry editor's text format, version 5.00, for the settings
// store: export of a key tree and import of such a file.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Morvendal]      a key (created on import)
//   @="default value"                           the key's default value
//   "name"="text with \\ and \" escaped"
//   "count"=dword:0000000a
//   "lines"=hex(1):41,00,0a,00,00,00            text holding line breaks
//   "gone"=-                                    deletes a value
//   [-HKEY_CURRENT_USER\Software\Old]           deletes a key tree
//
// Lines starting with ";" are comments. Files may use LF or CRLF and be
// UTF-8 (with or without a byte-order mark) or UTF-16 with a byte-order
// mark. Value types the store does not have (hex:, hex(2): ...) are refused.
class RegistryTextFormat
{
public:
    static const QString Header;

    struct Operation
    {
        enum Kind
        {
            CreateKey,
            DeleteKey,
            SetValue,
            DeleteValue
        };
        Kind kind = CreateKey;
        QString key;
        QString name;
        RegValue value;
        int line = 0;
    };

    struct ParseResult
    {
        QList<Operation> operations;
        QString error; // "line N: ..." when the text was refused
        bool ok() const { return error.isEmpty(); }
    };

    // The key and everything below it, sections in tree order. Empty when
    // the key does not exist.
    static QString exportKey(const RegistryStore& store, const QString& key);
    // Every root that holds anything.
    static QString exportAll(const RegistryStore& store);

    static ParseResult parse(const QByteArray& data);
    // Applies every operation in one transaction: all or nothing. On failure
    // error (when given) says why.
    static bool apply(RegistryStore& store, const QList<Operation>& operations, QString* error);

    static QString quote(const QString& text);

private:
    static void exportTree(const RegistryStore& store, const QString& path, QString& out);
    static QString valueLine(const QString& name, const RegValue& value);
    static std::optional<QString> storedPath(const RegistryStore& store, const QString& key);
};

#include "core/store/RegistryTextFormat.h"

#include <QRegularExpression>
#include <QStringDecoder>

const QString RegistryTextFormat::Header = QStringLiteral("Windows Registry Editor Version 5.00");

namespace
{
// Where the editor breaks long hex lines.
constexpr qsizetype HexLineWidth = 78;

// Raised inside an import's transaction to roll everything back.
struct ImportFailed
{
    int line;
    QString what;
};

bool holdsLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
           text.contains(QChar(0));
}

QString hexText(const QString& prefix, const QString& text)
{
    // A string the quoted form cannot hold goes out as its UTF-16LE bytes
    // with the terminating NUL, as the editor writes such strings.
    QByteArray bytes;
    for (const QChar c : text)
    {
        bytes.append(char(c.unicode() & 0xFF));
        bytes.append(char(c.unicode() >> 8));
    }
    bytes.append(2, '\0');
    QString out;
    QString line = prefix + QStringLiteral("=hex(1):");
    for (qsizetype i = 0; i < bytes.size(); ++i)
    {
        QString token = QStringLiteral("%1").arg(quint8(bytes[i]), 2, 16, QLatin1Char('0'));
        if (i + 1 < bytes.size())
            token += QLatin1Char(',');
        if (line.size() + token.size() > HexLineWidth)
        {
            out += line + QStringLiteral("\\\n");
            line = QStringLiteral("  ");
        }
        line += token;
    }
    return out + line;
}

// Reads a quoted string starting at s[pos] == '"'; on success pos is just
// past the closing quote. Only \\ and \" are escapes.
QString readQuoted(const QString& s, qsizetype& pos, QString* text)
{
    text->clear();
    for (++pos; pos < s.size(); ++pos)
    {
        const QChar c = s[pos];
        if (c == QLatin1Char('"'))
        {
            ++pos;
            return {};
        }
        if (c == QLatin1Char('\\'))
        {
            if (pos + 1 >= s.size())
                break;
            const QChar next = s[++pos];
            if (next != QLatin1Char('\\') && next != QLatin1Char('"'))
                return QStringLiteral("unknown escape \"\\%1\" (only \\\\ and \\\" are allowed)")
                    .arg(next);
        }
        text->append(s[pos]);
    }
    return QStringLiteral("missing closing quote");
}

QString decodeHexString(const QString& data, QString* text)
{
    QByteArray bytes;
    static const QRegularExpression byte(QStringLiteral("^[0-9a-fA-F]{2}$"));
    const QString compact = QString(data).remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
    if (!compact.isEmpty())
    {
        for (const QString& part : compact.split(QLatin1Char(',')))
        {
            if (!byte.match(part).hasMatch())
                return QStringLiteral("hex(1) data must be two-digit bytes separated by commas");
            bytes.append(char(part.toUInt(nullptr, 16)));
        }
    }
    if (bytes.size() % 2 != 0)
        return QStringLiteral("hex(1) data must hold whole UTF-16 characters");
    text->clear();
    for (qsizetype i = 0; i < bytes.size(); i += 2)
        text->append(QChar(char16_t(quint8(bytes[i]) | (quint8(bytes[i + 1]) << 8))));
    if (text->endsWith(QChar(0)))
        text->chop(1);
    return {};
}

bool decodeText(const QByteArray& data, QString* text)
{
    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    qsizetype skip = 0;
    if (data.startsWith("\xEF\xBB\xBF"))
        skip = 3;
    else if (data.startsWith("\xFF\xFE"))
        encoding = QStringConverter::Utf16LE, skip = 2;
    else if (data.startsWith("\xFE\xFF"))
        encoding = QStringConverter::Utf16BE, skip = 2;
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    *text = decoder(data.mid(skip));
    return !decoder.hasError();
}
} // namespace

QString RegistryTextFormat::quote(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString RegistryTextFormat::valueLine(const QString& name, const RegValue& value)
{
    // The format has no way to write a name holding a line break.
    if (holdsLineBreak(name))
        return QStringLiteral("; a value was left out: its name holds a line break");
    const QString prefix = name.isEmpty() ? QStringLiteral("@") : quote(name);
    if (value.type == RegValue::DWord)
        return prefix + QStringLiteral("=dword:%1").arg(value.dword, 8, 16, QLatin1Char('0'));
    if (holdsLineBreak(value.text))
        return hexText(prefix, value.text);
    return prefix + QLatin1Char('=') + quote(value.text);
}

std::optional<QString> RegistryTextFormat::storedPath(const RegistryStore& store,
                                                      const QString& key)
{
    const QStringList segments = RegistryStore::splitKeyPath(key);
    if (segments.isEmpty() || !store.keyExists(key))
        return std::nullopt;
    QString path = segments.first();
    for (qsizetype i = 1; i < segments.size(); ++i)
    {
        const QString wanted = segments[i].toCaseFolded();
        QString spelled = segments[i];
        for (const QString& name : store.subKeyNames(path))
        {
            if (name.toCaseFolded() == wanted)
                spelled = name;
        }
        path += QLatin1Char('\\') + spelled;
    }
    return path;
}

void RegistryTextFormat::exportTree(const RegistryStore& store, const QString& path, QString& out)
{
    out += QLatin1Char('[') + path + QStringLiteral("]\n");
    for (const QString& name : store.valueNames(path))
    {
        if (const std::optional<RegValue> value = store.value(path, name))
            out += valueLine(name, *value) + QLatin1Char('\n');
    }
    out += QLatin1Char('\n');
    for (const QString& child : store.subKeyNames(path))
        exportTree(store, path + QLatin1Char('\\') + child, out);
}

QString RegistryTextFormat::exportKey(const RegistryStore& store, const QString& key)
{
    const std::optional<QString> path = storedPath(store, key);
    if (!path)
        return {};
    QString out = Header + QStringLiteral("\n\n");
    exportTree(store, *path, out);
    return out;
}

QString RegistryTextFormat::exportAll(const RegistryStore& store)
{
    QString out = Header + QStringLiteral("\n\n");
    for (const QString& root : RegistryStore::rootKeyNames())
    {
        if (!store.valueNames(root).isEmpty() || !store.subKeyNames(root).isEmpty())
            exportTree(store, root, out);
    }
    return out;
}

RegistryTextFormat::ParseResult RegistryTextFormat::parse(const QByteArray& data)
{
    ParseResult result;
    QString text;
    if (!decodeText(data, &text))
    {
        result.error = QStringLiteral("the file is not valid UTF-8 or UTF-16 text");
        return result;
    }
    const QStringList lines = text.split(QLatin1Char('\n'));
    auto refuse = [&](qsizetype index, const QString& what)
    {
        result.operations.clear();
        result.error = QStringLiteral("line %1: %2").arg(index + 1).arg(what);
        return result;
    };

    bool headerSeen = false;
    QString key;
    bool keyDeleted = false;
    for (qsizetype i = 0; i < lines.size(); ++i)
    {
        const qsizetype lineIndex = i;
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (!headerSeen)
        {
            if (line != Header)
                return refuse(i, QStringLiteral("expected \"%1\"").arg(Header));
            headerSeen = true;
            continue;
        }
        if (line.startsWith(QLatin1Char('[')))
        {
            if (!line.endsWith(QLatin1Char(']')))
                return refuse(i, QStringLiteral("a key line must end with \"]\""));
            key = line.mid(1, line.size() - 2);
            keyDeleted = key.startsWith(QLatin1Char('-'));
            if (keyDeleted)
                key.remove(0, 1);
            const QStringList segments = RegistryStore::splitKeyPath(key);
            if (segments.isEmpty())
                return refuse(i, QStringLiteral("invalid key path \"%1\"").arg(key));
            if (keyDeleted && segments.size() == 1)
                return refuse(i, QStringLiteral("the root key %1 cannot be deleted").arg(key));
            result.operations.append({keyDeleted ? Operation::DeleteKey : Operation::CreateKey,
                                      key,
                                      {},
                                      {},
                                      int(i + 1)});
            continue;
        }
        if (!line.startsWith(QLatin1Char('"')) && !line.startsWith(QLatin1Char('@')))
            return refuse(i, QStringLiteral("unrecognised line"));
        if (key.isEmpty())
            return refuse(i, QStringLiteral("a value must come after a key line"));
        if (keyDeleted)
            return refuse(i, QStringLiteral("a value cannot follow a key deletion"));

        Operation op{Operation::SetValue, key, {}, {}, int(i + 1)};
        qsizetype pos = 0;
        if (line.startsWith(QLatin1Char('@')))
        {
            pos = 1;
        }
        else if (const QString error = readQuoted(line, pos, &op.name); !error.isEmpty())
        {
            return refuse(i, error);
        }
        // An export could not write such a name back: the value would be
        // lost on the next export and import.
        if (holdsLineBreak(op.name))
            return refuse(i, QStringLiteral("a value name cannot hold a line break or a NUL"));
        QString rest = line.mid(pos).trimmed();
        if (!rest.startsWith(QLatin1Char('=')))
            return refuse(i, QStringLiteral("expected \"=\" after the value name"));
        rest = rest.mid(1).trimmed();

        if (rest == QLatin1String("-"))
        {
            op.kind = Operation::DeleteValue;
        }
        else if (rest.startsWith(QLatin1Char('"')))
        {
            qsizetype end = 0;
            if (const QString error = readQuoted(rest, end, &op.value.text); !error.isEmpty())
                return refuse(i, error);
            if (end != rest.size())
                return refuse(i, QStringLiteral("unexpected text after the closing quote"));
        }
        else if (rest.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive))
        {
            static const QRegularExpression digits(QStringLiteral("^[0-9a-fA-F]{1,8}$"));
            const QString number = rest.mid(6);
            if (!digits.match(number).hasMatch())
                return refuse(i, QStringLiteral("dword: needs 1 to 8 hexadecimal digits"));
            op.value = RegValue::fromDWord(number.toUInt(nullptr, 16));
        }
        else if (rest.startsWith(QLatin1String("hex(1):"), Qt::CaseInsensitive))
        {
            QString data = rest.mid(7);
            while (data.endsWith(QLatin1Char('\\')) && i + 1 < lines.size())
            {
                data.chop(1);
                data += lines[++i].trimmed();
            }
            if (const QString error = decodeHexString(data, &op.value.text); !error.isEmpty())
                return refuse(lineIndex, error);
        }
        else
        {
            const qsizetype colon = rest.indexOf(QLatin1Char(':'));
            const QString type = colon >= 0 ? rest.left(colon + 1) : rest.left(20);
            return refuse(i,
                          QStringLiteral("unsupported value type \"%1\"; the store holds strings "
                                         "(\"text\" or hex(1):) and dword: values only")
                              .arg(type));
        }
        result.operations.append(op);
    }
    if (!headerSeen)
        return refuse(0, QStringLiteral("expected \"%1\"").arg(Header));
    return result;
}

bool RegistryTextFormat::apply(RegistryStore& store, const QList<Operation>& operations,
                               QString* error)
{
    bool committed = false;
    try
    {
        committed = store.transaction(
            [&]
            {
                for (const Operation& op : operations)
                {
                    bool ok = true;
                    switch (op.kind)
                    {
                    case Operation::CreateKey:
                        ok = store.createKey(op.key);
                        break;
                    case Operation::DeleteKey:
                        ok = !store.keyExists(op.key) || store.deleteKey(op.key);
                        break;
                    case Operation::SetValue:
                        ok = store.setValue(op.key, op.name, op.value);
                        break;
                    case Operation::DeleteValue:
                        ok = !store.value(op.key, op.name) || store.deleteValue(op.key, op.name);
                        break;
                    }
                    if (!ok)
                        throw ImportFailed{op.line, QStringLiteral("the store refused the change")};
                }
            });
    }
    catch (const ImportFailed& failure)
    {
        if (error)
            *error = QStringLiteral("line %1: %2").arg(failure.line).arg(failure.what);
        return false;
    }
    if (!committed && error)
        *error = QStringLiteral("the store could not be written");
    return committed;
}

#include "core/store/RegistryQuery.h"

#include <QStringDecoder>

#include <sqlite3.h>

RegistryQuery::~RegistryQuery()
{
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
}

void RegistryQuery::bind(int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(s, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void RegistryQuery::bind(int index, qint64 number)
{
    sqlite3_bind_int64(s, index, number);
}

void RegistryQuery::bindNull(int index)
{
    sqlite3_bind_null(s, index);
}

int RegistryQuery::step()
{
    return sqlite3_step(s);
}

QString RegistryQuery::text(int column) const
{
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    // fromUtf8 drops a leading byte-order mark: a name or text that begins
    // with U+FEFF would come back shorter than it was written.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return utf8.decode(QByteArrayView(data, sqlite3_column_bytes(s, column)));
}

qint64 RegistryQuery::integer(int column) const
{
    return sqlite3_column_int64(s, column);
}

#include "core/store/CorruptDatabase.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

bool CorruptDatabase::isCorruption(int rc)
{
    const int primary = rc & 0xFF;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

bool CorruptDatabase::moveAside(const QString& path, QString* keptAs)
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

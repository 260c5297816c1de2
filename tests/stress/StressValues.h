#pragma once

#include <QString>
#include <QStringList>

// What the concurrent store writers write: each its own values and list,
// and all of them one shared list, so that they meet on the same key.
// A list of writer p at step i is "url1" to "urlN" (N = 3 + i % 9) with the
// data "p/i/j": from any line the whole list follows.
struct StressValues
{
    static inline const QString SharedList = QStringLiteral("Stress Shared");

    static QString valueName(const QString& prefix, int i)
    {
        return prefix + '-' + QString::number(i);
    }
    static QString valueData(const QString& prefix, int i)
    {
        return prefix + ':' + QString::number(i);
    }
    static QString ownList(const QString& prefix) { return QStringLiteral("Stress ") + prefix; }
    static QStringList listOf(const QString& prefix, int i)
    {
        QStringList lines;
        for (int j = 1; j <= 3 + i % 9; ++j)
            lines << QStringLiteral("url%1=%2/%3/%4").arg(j).arg(prefix).arg(i).arg(j);
        return lines;
    }
    // Empty (never written) or one writer's list of one step, whole.
    static bool isWholeList(const QStringList& lines)
    {
        const QStringList parts = lines.value(0).section('=', 1).split('/');
        return lines.isEmpty() ||
               (parts.size() == 3 && lines == listOf(parts[0], parts[1].toInt()));
    }
};

#pragma once

#include <QString>
#include <QStringList>

// What the concurrent store writers write: each its own values and list,
// and all of them one shared list, so that they meet on the same key.
// A list of writer p at step i is "url1" to "urlN" (N = 3 + i % 9) with the
// data "p/i/j": from any line the whole list follows.
namespace StressValues
{
inline const QString SharedList = QStringLiteral("Stress Shared");

inline QString valueName(const QString& prefix, int i)
{
    return QStringLiteral("%1-%2").arg(prefix).arg(i);
}
inline QString valueData(const QString& prefix, int i)
{
    return QStringLiteral("%1:%2").arg(prefix).arg(i);
}
inline QString ownList(const QString& prefix)
{
    return QStringLiteral("Stress ") + prefix;
}
inline QStringList listOf(const QString& prefix, int i)
{
    QStringList lines;
    for (int j = 1; j <= 3 + i % 9; ++j)
        lines << QStringLiteral("url%1=%2/%3/%4").arg(j).arg(prefix).arg(i).arg(j);
    return lines;
}
// Empty (never written) or one writer's list of one step, whole.
inline bool isWholeList(const QStringList& lines)
{
    if (lines.isEmpty())
        return true;
    const QStringList parts = lines.first().section(QLatin1Char('='), 1).split(QLatin1Char('/'));
    return parts.size() == 3 && lines == listOf(parts[0], parts[1].toInt());
}
} // namespace StressValues

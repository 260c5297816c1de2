#include "groups/InternetShortcut.h"

#include "components/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QUrl>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
const QString Section = QStringLiteral("InternetShortcut");
const QString UrlKey = QStringLiteral("URL");
const QString Extension = QStringLiteral(".url");

// Room kept in every safe name for " (99999)" and ".url", so that adding a
// number never has to cut the name again.
constexpr int ReservedBytes = 12;

int byteLength(const QString& text)
{
    return int(QFile::encodeName(text).size());
}

// The longest prefix of text that fits in bytes, never splitting a
// character that takes two UTF-16 units.
QString cutToBytes(const QString& text, int bytes)
{
    if (byteLength(text) <= bytes)
        return text;
    qsizetype end = 0;
    int used = 0;
    while (end < text.size())
    {
        const qsizetype step = text.at(end).isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const int size = byteLength(text.mid(end, step));
        if (used + size > bytes)
            break;
        used += size;
        end += step;
    }
    return text.left(end).trimmed();
}
} // namespace

bool InternetShortcut::isShortcutFile(const QString& path)
{
    return path.endsWith(Extension, Qt::CaseInsensitive) && !QFileInfo(path).isDir();
}

QString InternetShortcut::readUrl(const QString& path)
{
    SettingsFile file(path);
    if (!file.load())
        return {};
    return file.value(Section, UrlKey);
}

QByteArray InternetShortcut::contents(const QString& url)
{
    SettingsFile file;
    file.loadFromData(QByteArray("[InternetShortcut]\r\n"));
    file.setValue(Section, UrlKey, url);
    return file.toData();
}

QString InternetShortcut::safeFileName(const QString& name)
{
    QString safe;
    safe.reserve(name.size());
    for (const QChar c : name)
    {
        if (c == QLatin1Char('/'))
            safe += QLatin1Char('-');
        else if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
                 c == QChar::ParagraphSeparator)
            safe += QLatin1Char(' ');
        else
            safe += c;
    }
    safe = safe.simplified();
    // A leading ":" makes Qt take the path for one of its built-in
    // resources, which no file can be written to.
    qsizetype start = 0;
    while (start < safe.size() &&
           (safe.at(start) == QLatin1Char('.') || safe.at(start) == QLatin1Char(' ') ||
            safe.at(start) == QLatin1Char(':')))
        ++start;
    safe = safe.mid(start);
    return cutToBytes(safe, MaximumNameBytes - ReservedBytes);
}

QString InternetShortcut::numberedName(const QString& base, int n, const QString& extension)
{
    const QString number = n > 1 ? QStringLiteral(" (%1)").arg(n) : QString();
    const int room = MaximumNameBytes - byteLength(number) - byteLength(extension);
    return cutToBytes(base, room) + number + extension;
}

QString InternetShortcut::write(const QString& folder, const QString& name, const QString& url)
{
    QString base = safeFileName(name);
    if (base.isEmpty())
        base = safeFileName(QUrl(url).host());
    if (base.isEmpty() || !QFileInfo(folder).isDir())
        return {};
    const QDir dir(folder);
    // The whole file is written under a hidden name first and then linked
    // to its real name, which fails when that name is taken: a name that
    // appears meanwhile is never replaced, and an interrupted write never
    // leaves an empty or partial shortcut behind.
    QTemporaryFile whole(dir.filePath(QStringLiteral(".shortcut-XXXXXX")));
    SettingsFile file;
    file.loadFromData(contents(url));
    const QByteArray data = file.toData();
    if (!whole.open() || whole.write(data) != data.size() || !whole.flush())
        return {};
    // A temporary file is private; a shortcut gets what a new file gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(whole.handle(), 0666 & ~mask) != 0 || ::fsync(whole.handle()) != 0)
        return {};
    const QByteArray source = QFile::encodeName(whole.fileName());
    for (int n = 1; n < 100000; ++n)
    {
        const QString path = dir.filePath(numberedName(base, n, Extension));
        if (::link(source.constData(), QFile::encodeName(path).constData()) == 0)
            return path;
        if (errno == EEXIST)
            continue;
        // Folders without hard links (FAT) claim the name with an empty
        // file, which the contents then replace whole.
        QFile claim(path);
        if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return {};
        claim.close();
        SettingsFile claimed(path);
        claimed.loadFromData(data);
        if (claimed.save())
            return path;
        QFile::remove(path);
        return {};
    }
    return {};
}

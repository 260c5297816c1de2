#include "groups/BookmarkHtml.h"

#include "groups/InternetShortcut.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QUrl>

#include <vector>

namespace
{
const QString UrlExtension = QStringLiteral(".url");

// Seconds since 1970 that a file time can stand for; others are ignored.
constexpr qint64 LatestDate = qint64(1) << 33;

// One folder the import writes into, with the names already used in it:
// keeping them in memory spares a look at the disk for every bookmark.
struct Folder
{
    QString path;
    QSet<QString> names;
    QHash<QString, int> subFolders; // name -> index in ImportWriter::m_folders
    int depth = 0;
};

// Receives what the reader finds and writes it below one root folder.
class ImportWriter
{
public:
    explicit ImportWriter(const QString& root)
    {
        m_folders.push_back({root, {}, {}, 0});
        m_stack.push_back(0);
    }

    int count() const { return m_count; }
    int folders() const { return int(m_folders.size()) - 1; }
    QString error() const { return m_error; }

    void folder(const QString& title)
    {
        const QString name = InternetShortcut::safeFileName(title);
        m_pending = -1;
        // Untitled folders and folders too deep keep their links in the folder around them.
        if (name.isEmpty() || m_folders[current()].depth >= BookmarkHtml::MaximumDepth)
            return;
        Folder& parent = m_folders[current()];
        if (const auto known = parent.subFolders.constFind(name); known != parent.subFolders.cend())
        {
            m_pending = known.value();
            return;
        }
        const QString base = name;
        for (int n = 1; n < 100000; ++n)
        {
            const QString candidate = InternetShortcut::numberedName(base, n, QString());
            if (parent.names.contains(candidate))
                continue;
            const QString path = QDir(parent.path).filePath(candidate);
            if (!QDir().mkdir(path))
                return;
            parent.names.insert(candidate);
            const int index = int(m_folders.size());
            parent.subFolders.insert(name, index);
            m_folders.push_back({path, {}, {}, parent.depth + 1});
            m_pending = index;
            return;
        }
    }

    // A "<DL>": the contents of the folder just named, or a plain nesting.
    void enterList()
    {
        m_stack.push_back(m_pending >= 0 ? m_pending : current());
        m_pending = -1;
    }
    void leaveList()
    {
        m_pending = -1;
        if (m_stack.size() > 1)
            m_stack.pop_back();
    }

    void link(const QString& title, const QString& url, qint64 addDate)
    {
        m_pending = -1;
        if (url.isEmpty() || !m_error.isEmpty())
            return;
        QString base = InternetShortcut::safeFileName(title);
        if (base.isEmpty())
            base = InternetShortcut::safeFileName(QUrl(url).host());
        if (base.isEmpty())
            base = InternetShortcut::safeFileName(url);
        if (base.isEmpty())
            return;
        Folder& folder = m_folders[current()];
        for (int n = 1; n < 100000; ++n)
        {
            const QString name = InternetShortcut::numberedName(base, n, UrlExtension);
            if (folder.names.contains(name))
                continue;
            folder.names.insert(name);
            write(QDir(folder.path).filePath(name), url, addDate);
            return;
        }
    }

private:
    int current() const { return m_stack.back(); }

    // The whole import is renamed into place at its end, so a single file
    // needs no atomic write of its own.
    void write(const QString& path, const QString& url, qint64 addDate)
    {
        QFile file(path);
        const QByteArray data = InternetShortcut::contents(url);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
            file.write(data) != data.size())
        {
            m_error = file.errorString();
            return;
        }
        if (addDate > 0 && addDate < LatestDate)
            file.setFileTime(QDateTime::fromSecsSinceEpoch(addDate),
                             QFileDevice::FileModificationTime);
        ++m_count;
    }

    std::vector<Folder> m_folders;
    std::vector<int> m_stack; // the open lists, innermost last
    int m_pending = -1;       // the folder the next "<DL>" opens
    int m_count = 0;
    QString m_error;
};

bool isAsciiLetterOrDigit(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r') || c == QLatin1Char('\f');
}

// One tag as the reader needs it: its name and the two attributes used.
struct Tag
{
    QStringView name;
    bool closing = false;
    QStringView href;
    QStringView addDate;
    bool complete = false; // its ">" was found
};

// Reads the tag whose "<" stands at from; returns the position after it.
// A tag without its ">" runs to the end of the text.
qsizetype readTag(QStringView text, qsizetype from, Tag& tag)
{
    const qsizetype size = text.size();
    qsizetype i = from + 1;
    if (i < size && text[i] == QLatin1Char('/'))
    {
        tag.closing = true;
        ++i;
    }
    const qsizetype nameStart = i;
    while (i < size && isAsciiLetterOrDigit(text[i]))
        ++i;
    tag.name = text.sliced(nameStart, i - nameStart);
    while (i < size && text[i] != QLatin1Char('>'))
    {
        if (isBlank(text[i]) || text[i] == QLatin1Char('/'))
        {
            ++i;
            continue;
        }
        const qsizetype attrStart = i;
        while (i < size && !isBlank(text[i]) && text[i] != QLatin1Char('=') &&
               text[i] != QLatin1Char('>'))
            ++i;
        const QStringView attr = text.sliced(attrStart, i - attrStart);
        while (i < size && isBlank(text[i]))
            ++i;
        if (i >= size || text[i] != QLatin1Char('='))
            continue;
        ++i;
        while (i < size && isBlank(text[i]))
            ++i;
        QStringView value;
        if (i < size && (text[i] == QLatin1Char('"') || text[i] == QLatin1Char('\'')))
        {
            const qsizetype close = text.indexOf(text[i], i + 1);
            const qsizetype end = close < 0 ? size : close;
            value = text.sliced(i + 1, end - i - 1);
            i = close < 0 ? size : close + 1;
        }
        else
        {
            const qsizetype valueStart = i;
            while (i < size && !isBlank(text[i]) && text[i] != QLatin1Char('>'))
                ++i;
            value = text.sliced(valueStart, i - valueStart);
        }
        if (attr.compare(QLatin1String("HREF"), Qt::CaseInsensitive) == 0)
            tag.href = value;
        else if (attr.compare(QLatin1String("ADD_DATE"), Qt::CaseInsensitive) == 0)
            tag.addDate = value;
    }
    tag.complete = i < size;
    return i < size ? i + 1 : size;
}

bool isTag(const Tag& tag, const char* name)
{
    return tag.name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// What a title is being read for: the text up to the next tag.
struct Title
{
    enum Kind
    {
        None,
        Folder,
        Link
    } kind = None;
    QString text;
    QString href;
    qint64 addDate = 0;
};

void finishTitle(Title& title, ImportWriter& writer)
{
    const QString text = BookmarkHtml::decodeEntities(title.text).simplified();
    if (title.kind == Title::Folder)
        writer.folder(text);
    else if (title.kind == Title::Link)
        writer.link(text, BookmarkHtml::decodeEntities(title.href).trimmed(), title.addDate);
    title = Title();
}

void readBookmarks(QStringView text, ImportWriter& writer)
{
    Title title;
    qsizetype i = 0;
    while (i < text.size())
    {
        const qsizetype open = text.indexOf(QLatin1Char('<'), i);
        const qsizetype textEnd = open < 0 ? text.size() : open;
        if (title.kind != Title::None)
            title.text += text.sliced(i, textEnd - i);
        if (open < 0)
            break;
        if (text.sliced(open).startsWith(QLatin1String("<!--")))
        {
            const qsizetype end = text.indexOf(QLatin1String("-->"), open + 4);
            i = end < 0 ? text.size() : end + 3;
            continue;
        }
        const QChar next = open + 1 < text.size() ? text[open + 1] : QChar();
        if (next == QLatin1Char('!') || next == QLatin1Char('?'))
        {
            const qsizetype end = text.indexOf(QLatin1Char('>'), open);
            i = end < 0 ? text.size() : end + 1;
            continue;
        }
        const QChar first =
            next == QLatin1Char('/') && open + 2 < text.size() ? text[open + 2] : next;
        if (!isAsciiLetterOrDigit(first) || first.isDigit())
        {
            // A bracket that starts no tag is text.
            if (title.kind != Title::None)
                title.text += QLatin1Char('<');
            i = open + 1;
            continue;
        }
        Tag tag;
        i = readTag(text, open, tag);
        // A tag cut off by the end of the file may hold half an address.
        if (!tag.complete)
            break;
        if (title.kind != Title::None)
            finishTitle(title, writer);
        if (tag.closing)
        {
            if (isTag(tag, "DL"))
                writer.leaveList();
        }
        else if (isTag(tag, "DL"))
            writer.enterList();
        else if (isTag(tag, "H3"))
            title.kind = Title::Folder;
        else if (isTag(tag, "A"))
        {
            title.kind = Title::Link;
            title.href = tag.href.toString();
            title.addDate = tag.addDate.toLongLong();
        }
    }
    if (title.kind != Title::None)
        finishTitle(title, writer);
}

QString decodeText(const QByteArray& data)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(data);
    // Files of older programs are 8-bit text.
    return utf8.hasError() ? QString::fromLatin1(data) : text;
}

// The name of the folder an import makes, free in favorites.
QString freeFolderName(const QString& favorites, const QString& wanted)
{
    for (int n = 1; n < 100000; ++n)
    {
        const QString name = InternetShortcut::numberedName(wanted, n, QString());
        if (!QFileInfo(QDir(favorites).filePath(name)).exists())
            return name;
    }
    return {};
}
} // namespace

BookmarkHtml::ImportResult BookmarkHtml::import(const QString& file, const QString& favoritesFolder)
{
    ImportResult result;
    QFile input(file);
    // Opening a pipe or a device could wait for ever; only plain files are read.
    const bool plainFile = !QFileInfo::exists(file) || QFileInfo(file).isFile();
    if (!plainFile || !input.open(QIODevice::ReadOnly))
    {
        result.error = Error::CannotRead;
        result.detail = plainFile ? input.errorString() : QStringLiteral("not an ordinary file");
        return result;
    }
    if (input.size() > MaximumFileSize)
    {
        result.error = Error::TooLarge;
        return result;
    }
    const QByteArray data = input.readAll();
    if (data.size() > MaximumFileSize)
    {
        result.error = Error::TooLarge;
        return result;
    }
    QString name = InternetShortcut::safeFileName(QFileInfo(file).completeBaseName());
    if (name.isEmpty())
        name = InternetShortcut::safeFileName(QFileInfo(file).fileName());
    return importData(data, name, favoritesFolder);
}

BookmarkHtml::ImportResult BookmarkHtml::importData(const QByteArray& data,
                                                    const QString& folderName,
                                                    const QString& favoritesFolder)
{
    ImportResult result;
    // Built under a hidden name, so that the menus never show half an import.
    QTemporaryDir work(QDir(favoritesFolder).filePath(QStringLiteral(".import-XXXXXX")));
    if (!work.isValid())
    {
        result.error = Error::CannotWrite;
        result.detail = work.errorString();
        return result;
    }
    ImportWriter writer(work.path());
    readBookmarks(decodeText(data), writer);
    if (!writer.error().isEmpty())
    {
        result.error = Error::CannotWrite;
        result.detail = writer.error();
        return result;
    }
    if (writer.count() == 0 && writer.folders() == 0)
    {
        result.error = Error::NoBookmarks;
        return result;
    }
    const QString name = freeFolderName(favoritesFolder, folderName);
    const QString target = QDir(favoritesFolder).filePath(name);
    QFile::setPermissions(work.path(), QFile::permissions(favoritesFolder));
    if (name.isEmpty() || !QDir().rename(work.path(), target))
    {
        result.error = Error::CannotWrite;
        result.detail = QStringLiteral("%1: cannot be made").arg(QDir::toNativeSeparators(target));
        return result;
    }
    work.setAutoRemove(false);
    result.count = writer.count();
    result.folder = target;
    return result;
}

namespace
{
QString indent(int level)
{
    return QString(4 * level, QLatin1Char(' '));
}

// A folder's links and sub-folders, in the menu's order: folders first,
// each group sorted by name regardless of case. Symbolic links to folders
// are left out: they may lead in a circle. Folders deeper than the import
// nests (an import lands one level below Favorites) give their links to the
// deepest folder written, as an import does, rather than losing them.
void writeFolder(const QString& path, int level, QString& out, int& count)
{
    const QDir dir(path);
    const QDir::SortFlags order = QDir::Name | QDir::IgnoreCase | QDir::LocaleAware;
    const bool nested = level <= BookmarkHtml::MaximumDepth;
    for (const QFileInfo& sub :
         dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, order))
    {
        if (!nested)
        {
            writeFolder(sub.filePath(), level, out, count);
            continue;
        }
        out += indent(level) + QStringLiteral("<DT><H3 ADD_DATE=\"%1\">%2</H3>\n")
                                   .arg(QString::number(sub.lastModified().toSecsSinceEpoch()),
                                        BookmarkHtml::encodeEntities(sub.fileName()));
        out += indent(level) + QStringLiteral("<DL><p>\n");
        writeFolder(sub.filePath(), level + 1, out, count);
        out += indent(level) + QStringLiteral("</DL><p>\n");
    }
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files, order))
    {
        if (!InternetShortcut::isShortcutFile(file.filePath()))
            continue;
        const QString url = InternetShortcut::readUrl(file.filePath());
        if (url.isEmpty())
            continue;
        // One pass: a second arg() would take the "%2" of an address's
        // "%2F" for its own place.
        out += indent(level) +
               QStringLiteral("<DT><A HREF=\"%1\" ADD_DATE=\"%2\">%3</A>\n")
                   .arg(BookmarkHtml::encodeEntities(url),
                        QString::number(file.lastModified().toSecsSinceEpoch()),
                        BookmarkHtml::encodeEntities(file.fileName().chopped(4)));
        ++count;
    }
}
} // namespace

QByteArray BookmarkHtml::exportData(const QString& favoritesFolder, int* count)
{
    QString out = QStringLiteral("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                                 "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                                 "charset=UTF-8\">\n"
                                 "<TITLE>Bookmarks</TITLE>\n"
                                 "<H1>Bookmarks</H1>\n"
                                 "<DL><p>\n");
    int links = 0;
    writeFolder(favoritesFolder, 1, out, links);
    out += QStringLiteral("</DL><p>\n");
    if (count)
        *count = links;
    return out.toUtf8();
}

BookmarkHtml::ExportResult BookmarkHtml::exportTo(const QString& favoritesFolder,
                                                  const QString& file)
{
    ExportResult result;
    const QByteArray data = exportData(favoritesFolder, &result.count);
    QSaveFile output(file);
    if (!output.open(QIODevice::WriteOnly) || output.write(data) != data.size() || !output.commit())
    {
        result.error = Error::CannotWrite;
        result.detail = output.errorString();
        result.count = 0;
    }
    return result;
}

QString BookmarkHtml::encodeEntities(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text)
    {
        switch (c.unicode())
        {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\'':
            out += QLatin1String("&#39;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString BookmarkHtml::decodeEntities(QStringView text)
{
    static const QHash<QString, QChar> named = {
        {QStringLiteral("amp"), QLatin1Char('&')},   {QStringLiteral("lt"), QLatin1Char('<')},
        {QStringLiteral("gt"), QLatin1Char('>')},    {QStringLiteral("quot"), QLatin1Char('"')},
        {QStringLiteral("apos"), QLatin1Char('\'')}, {QStringLiteral("nbsp"), QChar(0xa0)}};
    // The longest reference worth looking at: "&#x10FFFF;" and the names above.
    constexpr qsizetype LongestReference = 10;
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size())
    {
        const qsizetype amp = text.indexOf(QLatin1Char('&'), i);
        if (amp < 0)
        {
            out += text.sliced(i);
            break;
        }
        out += text.sliced(i, amp - i);
        const qsizetype semicolon =
            text.sliced(amp, qMin(LongestReference, text.size() - amp)).indexOf(QLatin1Char(';'));
        i = amp + 1;
        if (semicolon < 2)
        {
            out += QLatin1Char('&');
            continue;
        }
        const QStringView body = text.sliced(amp + 1, semicolon - 1);
        bool ok = false;
        char32_t code = 0;
        if (body.startsWith(QLatin1Char('#')))
        {
            const bool hex =
                body.size() > 1 && (body[1] == QLatin1Char('x') || body[1] == QLatin1Char('X'));
            code = body.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            ok = ok && code > 0 && code <= 0x10ffff && (code < 0xd800 || code > 0xdfff);
        }
        else if (const auto found = named.constFind(body.toString()); found != named.cend())
        {
            code = found.value().unicode();
            ok = true;
        }
        if (!ok)
        {
            out += QLatin1Char('&');
            continue;
        }
        out += QString::fromUcs4(&code, 1);
        i = amp + semicolon + 1;
    }
    return out;
}

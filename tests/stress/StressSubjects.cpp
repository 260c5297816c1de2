#include "StressSubjects.h"

#include "chrome/MimeAppsList.h"
#include "chrome/TDefaultBrowser.h"
#include "chrome/ToolbarLayout.h"
#include "core/engine/THistoryIndex.h"
#include "core/engine/THistoryIndexReader.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "groups/InternetShortcut.h"
#include "groups/TVostelGroup.h"
#include "navigation/TypedUrlList.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <functional>
#include <memory>

namespace
{
// A writer process keeps its store open, as the program does.
RegistryStore& storeIn(const QString& folder)
{
    static QHash<QString, std::shared_ptr<RegistryStore>> open;
    auto& store = open[folder];
    if (!store)
        store = std::make_shared<RegistryStore>(StressSubjects::storePath(folder));
    return *store;
}

QString page(int k, int j)
{
    return QStringLiteral("http://v%1.test/%2").arg(k).arg(j);
}

// The version named by the first number after "v" in text; -1 without one.
int versionIn(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("v(\\d+)"));
    const QRegularExpressionMatch m = number.match(text);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

std::optional<int> torn(QString* why, const QString& text)
{
    *why = text;
    return std::nullopt;
}

// Kinds whose whole content follows from the version: the version read from
// its first item, then everything compared with what that version wrote.
template <typename T>
std::optional<int> wholeVersion(const std::optional<T>& found, int firstVersion,
                                const std::function<T(int)>& expected, QString* why)
{
    if (!found)
        return -1;
    if (firstVersion < 0 || *found != expected(firstVersion))
        return torn(
            why, QStringLiteral("a mix or a cut: first item names version %1").arg(firstVersion));
    return firstVersion;
}

TVostelGroup groupOf(int k)
{
    TVostelGroup group;
    for (int j = 0; j < 12; ++j)
        group.AddSite(QStringLiteral("v%1 site %2").arg(k).arg(j), page(k, j), j % 3 == 0);
    return group;
}

// Buttons 0 to 21 turned by the version, with a separator and a hidden one
// moving with it.
QList<ToolbarEntry> toolbarOf(int k)
{
    QList<ToolbarEntry> entries;
    for (int i = 0; i < 22; ++i)
        entries.append({(i + k) % 22, i != k % 7});
    entries.insert(k % 5 + 1, ToolbarEntry{});
    return entries;
}

QString mimeKey(int i)
{
    return QStringLiteral("x-scheme-handler/stress%1").arg(i);
}

QStringList typedOf(int k)
{
    QStringList items;
    for (int j = 0; j < 5 + k % 15; ++j)
        items << page(k, j);
    return items;
}

QStringList sitesOf(int k)
{
    QStringList lines;
    for (int j = 1; j <= 3 + k % 9; ++j)
        lines << QStringLiteral("url%1=%2").arg(j).arg(page(k, j));
    return lines;
}

QString historyRoot(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("History"));
}

QString historyAddress(int k)
{
    return QStringLiteral("http://h%1.test/").arg(k);
}

// Besides a new address per version, an earlier one is visited again: with
// a title of the same length it is rewritten in place, with a longer one it
// moves to the end of the file.
bool writeHistory(const QString& folder, int k)
{
    const QDateTime now = QDateTime::currentDateTime();
    if (!THistoryIndex::recordVisit(historyAddress(k), QStringLiteral("Title %1").arg(k), now,
                                    historyRoot(folder)))
        return false;
    if (k == 0 || k % 3 == 2)
        return true;
    QString again = QStringLiteral("Title %1 visit %2").arg(k / 2).arg(k);
    if (k % 3 == 0)
        again += QLatin1Char(' ') + QString(200, QLatin1Char('x'));
    return THistoryIndex::recordVisit(historyAddress(k / 2), again, now, historyRoot(folder));
}

std::optional<int> checkHistory(const QString& folder, int committed, QString* why)
{
    static const QRegularExpression address(QStringLiteral("^http://h(\\d+)\\.test/$"));
    static const QRegularExpression title(QStringLiteral("^Title (\\d+)( visit \\d+( x{200})?)?$"));
    QSet<int> seen;
    QDirIterator files(historyRoot(folder), {THistoryIndex::indexFileName()}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
    {
        const QString path = files.next();
        bool ok = false;
        for (const THistoryIndexReader::Entry& entry : THistoryIndexReader::readFile(path, &ok))
        {
            const QRegularExpressionMatch a = address.match(entry.url);
            const QRegularExpressionMatch t = title.match(entry.title);
            if (!a.hasMatch() || !t.hasMatch() || a.captured(1) != t.captured(1))
                return torn(why, QStringLiteral("entry %1 \"%2\"").arg(entry.url, entry.title));
            seen.insert(a.captured(1).toInt());
        }
        if (!ok)
            return torn(why, path + QStringLiteral(" cannot be read"));
    }
    for (int k = 0; k <= committed; ++k)
        if (!seen.contains(k))
            return torn(why, QStringLiteral("the earlier visit %1 is lost").arg(historyAddress(k)));
    return seen.contains(committed + 1) ? committed + 1 : committed;
}

std::optional<int> checkShortcuts(const QString& folder, int committed, QString* why)
{
    QSet<int> seen;
    for (const QFileInfo& file : QDir(folder).entryInfoList({QStringLiteral("*.url")}, QDir::Files))
    {
        const int k = versionIn(file.fileName());
        if (InternetShortcut::readUrl(file.filePath()) != page(k, 0))
            return torn(why, file.fileName() + QStringLiteral(" does not hold its address"));
        seen.insert(k);
    }
    for (int k = 0; k <= committed; ++k)
        if (!seen.contains(k))
            return torn(why, QStringLiteral("the shortcut of version %1 is lost").arg(k));
    return seen.contains(committed + 1) ? committed + 1 : committed;
}

std::optional<int> checkToolbar(const QString& folder, int committed, QString* why)
{
    const auto found = ToolbarLayout::Read(QDir(folder).filePath(ToolbarLayout::FileName()));
    if (!found)
        return -1;
    for (int k : {committed + 1, committed})
        if (k >= 0 && *found == toolbarOf(k))
            return k;
    return torn(
        why, QStringLiteral("the layout is neither version %1 nor the one after").arg(committed));
}

std::optional<int> checkMimeApps(const QString& folder, QString* why)
{
    MimeAppsList list(QDir(folder).filePath(QStringLiteral("mimeapps.list")));
    if (!QFile::exists(list.path()))
        return -1;
    if (!list.load())
        return torn(why, QStringLiteral("mimeapps.list cannot be read"));
    const int k =
        versionIn(list.desktopIds(MimeAppsList::DefaultApplications, mimeKey(0)).value(0));
    for (int i = 0; i < 30; ++i)
        if (list.desktopIds(MimeAppsList::DefaultApplications, mimeKey(i)) !=
            QStringList{QStringLiteral("v%1-%2.desktop").arg(k).arg(i)})
            return torn(why, QStringLiteral("%1 is not of version %2").arg(mimeKey(i)).arg(k));
    return k;
}

std::optional<int> checkDesktopEntry(const QString& folder, QString* why)
{
    QFile file(QDir(folder).filePath(QStringLiteral("applications/quillwave.desktop")));
    if (!file.exists())
        return -1;
    if (!file.open(QIODevice::ReadOnly))
        return torn(why, file.errorString());
    const QByteArray text = file.readAll();
    static const QRegularExpression program(QStringLiteral("/opt/v(\\d+)/"));
    const QRegularExpressionMatch m = program.match(QString::fromUtf8(text));
    const int k = m.hasMatch() ? m.captured(1).toInt() : -1;
    std::optional<QByteArray> found(text);
    return wholeVersion<QByteArray>(
        found, k,
        [](int v)
        { return TDefaultBrowser::DesktopEntryText(QStringLiteral("/opt/v%1/quillwave").arg(v)); },
        why);
}
} // namespace

QStringList StressSubjects::kinds()
{
    return {"group", "shortcut", "toolbar", "mimeapps", "desktop", "history", "typed", "list"};
}

QString StressSubjects::storePath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("settings.sqlite"));
}

bool StressSubjects::write(const QString& kind, const QString& folder, int k)
{
    QDir().mkpath(folder);
    if (kind == "group")
    {
        const QString path = QDir(folder).filePath(QStringLiteral("stress.vgp"));
        if (!QFile::exists(path))
            QFile(path).open(QIODevice::WriteOnly); // a group without pages
        TVostelGroup group(nullptr, path);
        group.clear();
        group.append(groupOf(k));
        return group.Save();
    }
    if (kind == "shortcut")
        return !InternetShortcut::write(folder, QStringLiteral("v%1").arg(k), page(k, 0)).isEmpty();
    if (kind == "toolbar")
        return ToolbarLayout::Write(QDir(folder).filePath(ToolbarLayout::FileName()), toolbarOf(k));
    if (kind == "mimeapps")
    {
        MimeAppsList list(QDir(folder).filePath(QStringLiteral("mimeapps.list")));
        list.load();
        for (int i = 0; i < 30; ++i)
            list.setDesktopIds(MimeAppsList::DefaultApplications, mimeKey(i),
                               {QStringLiteral("v%1-%2.desktop").arg(k).arg(i)});
        return list.save();
    }
    if (kind == "desktop")
    {
        // Registering writes the desktop entry that runs the program given,
        // unless the program is registered already.
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder));
        const QString program = QStringLiteral("/opt/v%1/quillwave").arg(k);
        TDefaultBrowser::SetClassRegistered(QStringLiteral("http"), false);
        TDefaultBrowser::SetClassRegistered(QStringLiteral("http"), true, program);
        QFile file(TDefaultBrowser::DesktopEntryPath());
        return file.open(QIODevice::ReadOnly) &&
               file.readAll() == TDefaultBrowser::DesktopEntryText(program);
    }
    if (kind == "history")
        return writeHistory(folder, k);
    if (kind == "typed")
    {
        TypedUrlList list;
        list.SetItems(typedOf(k));
        return list.Save(storeIn(folder));
    }
    if (kind == "list")
    {
        TQWOptions options(&storeIn(folder));
        options.WriteListSection(RegistryKeys::LastOpenSites, sitesOf(k));
        return options.ReadListSection(RegistryKeys::LastOpenSites) == sitesOf(k);
    }
    return false;
}

std::optional<int> StressSubjects::check(const QString& kind, const QString& folder, int committed,
                                         QString* why)
{
    if (kind == "group")
    {
        const TVostelGroup found(nullptr, QDir(folder).filePath(QStringLiteral("stress.vgp")));
        return wholeVersion<QStringList>(
            found.isEmpty() ? std::nullopt : std::optional<QStringList>(found),
            versionIn(found.value(0)), [](int v) { return QStringList(groupOf(v)); }, why);
    }
    if (kind == "shortcut")
        return checkShortcuts(folder, committed, why);
    if (kind == "toolbar")
        return checkToolbar(folder, committed, why);
    if (kind == "mimeapps")
        return checkMimeApps(folder, why);
    if (kind == "desktop")
        return checkDesktopEntry(folder, why);
    if (kind == "history")
        return checkHistory(folder, committed, why);
    RegistryStore store(storePath(folder));
    if (kind == "typed")
    {
        TypedUrlList list;
        list.Load(store);
        return wholeVersion<QStringList>(list.IsEmpty() ? std::nullopt
                                                        : std::optional<QStringList>(list.Items()),
                                         versionIn(list.Items().value(0)), typedOf, why);
    }
    const QStringList lines = TQWOptions(&store).ReadListSection(RegistryKeys::LastOpenSites);
    return wholeVersion<QStringList>(lines.isEmpty() ? std::nullopt
                                                     : std::optional<QStringList>(lines),
                                     versionIn(lines.value(0)), sitesOf, why);
}

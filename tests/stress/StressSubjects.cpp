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
#include <QMap>
#include <QRegularExpression>

namespace
{
// A writer process writes one folder and keeps its store open, as the
// program does.
RegistryStore& storeIn(const QString& folder)
{
    static RegistryStore store(StressSubjects::storePath(folder));
    return store;
}

const auto page = [](int k, int j) { return QStringLiteral("http://v%1.test/%2").arg(k).arg(j); };
const auto mimeKey = [](int i) { return QStringLiteral("x-scheme-handler/stress%1").arg(i); };
const auto program = [](int k) { return QStringLiteral("/opt/v%1/quillwave").arg(k); };
const auto historyAddress = [](int k) { return QStringLiteral("http://h%1.test/").arg(k); };

template <typename Line> QStringList linesOf(int from, int to, Line line)
{
    QStringList lines;
    for (int j = from; j < to; ++j)
        lines << line(j);
    return lines;
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
QStringList asLines(const QList<ToolbarEntry>& e)
{
    return linesOf(0, e.size(),
                   [&](int i) { return QString("%1 %2").arg(e[i].number).arg(e[i].shown); });
}

// All that a kind holds once version k is written: kinds that gather every
// version hold those before it too.
QStringList expected(const QString& kind, int k)
{
    if (kind == "shortcut")
        return linesOf(0, k + 1, [](int v) { return page(v, 0); });
    if (kind == "history")
        return linesOf(0, k + 1, historyAddress);
    if (kind == "group")
    {
        TVostelGroup group;
        for (int j = 0; j < 12; ++j)
            group.AddSite(QStringLiteral("v%1 site %2").arg(k).arg(j), page(k, j), j % 3 == 0);
        return group;
    }
    if (kind == "toolbar")
        return asLines(toolbarOf(k));
    if (kind == "mimeapps")
        return linesOf(0, 30,
                       [k](int i) { return QStringLiteral("v%1-%2.desktop").arg(k).arg(i); });
    if (kind == "desktop")
        return {QString::fromLatin1(TDefaultBrowser::DesktopEntryText(program(k)))};
    if (kind == "typed")
        return linesOf(0, 5 + k % 15, [k](int j) { return page(k, j); });
    return linesOf(1, 4 + k % 9,
                   [k](int j) { return QStringLiteral("url%1=%2").arg(j).arg(page(k, j)); });
}

// What is found, in the order of expected(), empty when nothing was written
// yet; of the kinds that gather versions, by version, with what is not
// whole first.
QStringList read(const QString& kind, const QString& folder)
{
    QMap<int, QString> byVersion;
    if (kind == "shortcut")
    {
        for (const QFileInfo& file : QDir(folder).entryInfoList({"*.url"}, QDir::Files))
        {
            bool numbered = false;
            const int k = file.completeBaseName().mid(1).toInt(&numbered);
            const QString url = InternetShortcut::readUrl(file.filePath());
            const bool whole = numbered && url == page(k, 0);
            byVersion.insert(whole ? k : -1, whole ? url : file.fileName() + " holds " + url);
        }
    }
    if (kind == "history")
    {
        static const QRegularExpression address(QStringLiteral("^http://h(\\d+)\\.test/$"));
        static const QRegularExpression title(
            QStringLiteral("^Title (\\d+)( visit \\d+( x{200})?)?$"));
        QDirIterator files(folder + "/History", {THistoryIndex::indexFileName()}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext())
        {
            const QString path = files.next();
            bool ok = false;
            for (const THistoryIndexReader::Entry& entry : THistoryIndexReader::readFile(path, &ok))
            {
                const QRegularExpressionMatch a = address.match(entry.url);
                const QRegularExpressionMatch t = title.match(entry.title);
                const bool whole = a.hasMatch() && t.hasMatch() && a.captured(1) == t.captured(1);
                byVersion.insert(whole ? a.captured(1).toInt() : -1,
                                 whole ? entry.url : entry.url + " \"" + entry.title + '"');
            }
            if (!ok)
                byVersion.insert(-1, path + " cannot be read");
        }
    }
    if (kind == "shortcut" || kind == "history")
        return byVersion.values();
    if (kind == "group")
        return TVostelGroup(nullptr, folder + "/stress.vgp");
    if (kind == "toolbar")
        return asLines(ToolbarLayout::Read(folder + "/" + ToolbarLayout::FileName())
                           .value_or(QList<ToolbarEntry>()));
    if (kind == "mimeapps")
    {
        MimeAppsList list(folder + "/mimeapps.list");
        if (!QFile::exists(list.path()))
            return {};
        if (!list.load())
            return QStringList{"mimeapps.list cannot be read"};
        return linesOf(
            0, 30,
            [&](int i)
            { return list.desktopIds(MimeAppsList::DefaultApplications, mimeKey(i)).join('|'); });
    }
    if (kind == "desktop")
    {
        QFile file(folder + "/applications/quillwave.desktop");
        if (!file.exists())
            return {};
        return QStringList{file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll())
                                                          : file.errorString()};
    }
    RegistryStore store(StressSubjects::storePath(folder));
    if (kind == "typed")
    {
        TypedUrlList list;
        list.Load(store);
        return list.Items();
    }
    return TQWOptions(&store).ReadListSection(RegistryKeys::LastOpenSites);
}

} // namespace

QStringList StressSubjects::kinds()
{
    return {"group", "shortcut", "toolbar", "mimeapps", "desktop", "history", "typed", "list"};
}

QString StressSubjects::storePath(const QString& folder)
{
    return folder + "/settings.sqlite";
}

bool StressSubjects::write(const QString& kind, const QString& folder, int k)
{
    QDir().mkpath(folder);
    if (kind == "group")
    {
        const QString path = folder + "/stress.vgp";
        if (!QFile::exists(path))
            QFile(path).open(QIODevice::WriteOnly); // a group without pages
        TVostelGroup group(nullptr, path);
        group.clear();
        group.append(expected(kind, k));
        return group.Save();
    }
    if (kind == "shortcut")
        return !InternetShortcut::write(folder, QStringLiteral("v%1").arg(k), page(k, 0)).isEmpty();
    if (kind == "toolbar")
        return ToolbarLayout::Write(folder + "/" + ToolbarLayout::FileName(), toolbarOf(k));
    if (kind == "mimeapps")
    {
        MimeAppsList list(folder + "/mimeapps.list");
        list.load();
        const QStringList ids = expected(kind, k);
        for (int i = 0; i < 30; ++i)
            list.setDesktopIds(MimeAppsList::DefaultApplications, mimeKey(i), {ids[i]});
        return list.save();
    }
    if (kind == "desktop")
    {
        // Registering writes the desktop entry that runs the program given,
        // unless the program is registered already.
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder));
        TDefaultBrowser::SetClassRegistered(QStringLiteral("http"), false);
        TDefaultBrowser::SetClassRegistered(QStringLiteral("http"), true, program(k));
        QFile file(TDefaultBrowser::DesktopEntryPath());
        return file.open(QIODevice::ReadOnly) &&
               file.readAll() == TDefaultBrowser::DesktopEntryText(program(k));
    }
    if (kind == "history")
    {
        // Besides a new address per version, an earlier one is visited again:
        // with a title of the same length it is rewritten in place, with a
        // longer one it moves to the end of the file.
        const QDateTime now = QDateTime::currentDateTime();
        const QString root = folder + "/History";
        QString again = QStringLiteral("Title %1 visit %2").arg(k / 2).arg(k);
        if (k % 3 == 0)
            again += QLatin1Char(' ') + QString(200, QLatin1Char('x'));
        return THistoryIndex::recordVisit(historyAddress(k), QStringLiteral("Title %1").arg(k), now,
                                          root) &&
               (k == 0 || k % 3 == 2 ||
                THistoryIndex::recordVisit(historyAddress(k / 2), again, now, root));
    }
    if (kind == "typed")
    {
        TypedUrlList list;
        list.SetItems(expected(kind, k));
        return list.Save(storeIn(folder));
    }
    TQWOptions options(&storeIn(folder));
    options.WriteListSection(RegistryKeys::LastOpenSites, expected(kind, k));
    return options.ReadListSection(RegistryKeys::LastOpenSites) == expected(kind, k);
}

std::optional<int> StressSubjects::check(const QString& kind, const QString& folder, int committed,
                                         QString* why)
{
    const QStringList found = read(kind, folder);
    if (found.isEmpty())
        return -1;
    for (int k : {committed + 1, committed})
        if (k >= 0 && found == expected(kind, k))
            return k;
    *why = QStringLiteral("neither version %1 nor the one after, whole: %2")
               .arg(committed)
               .arg(found.join(' ').left(300));
    return std::nullopt;
}

#include "ScriptedServices.h"
#include "components/TFindPanel.h"
#include "core/engine/THistoryIndex.h"
#include "groups/HistorySearch.h"
#include "groups/HistoryTreeModel.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

namespace
{
constexpr int Block = THistoryIndex::BlockSize;

QByteArray entry(const char* url, const QByteArray& title)
{
    return THistoryIndex::encodeEntry(QString::fromUtf8(url), QString::fromUtf8(title), 1);
}

// One block of raw text behind a 'U' header with the given count.
QByteArray raw(quint32 count, const QByteArray& text)
{
    QByteArray block("U\0\0\0", 4);
    for (int i = 0; i < 4; ++i)
        block += char((count >> (8 * i)) & 0xff);
    block += text;
    block.resize(Block, '\0');
    return block;
}

bool write(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QStringList captions(const HistorySearch::Rows& rows)
{
    QStringList list;
    for (const auto& row : rows)
        list << row.caption + " <" + row.address + u'>';
    return list;
}

// Wednesday: Monday and today are days of this week.
const QDate Today(2024, 5, 8);

QDateTime at(const QDate& day, int hour)
{
    return QDateTime(day, QTime(hour, 0));
}

// The tree as text: one line per node, indented by level.
QStringList dump(const HistoryTreeModel& model, const QModelIndex& parent = {}, int level = 0)
{
    QStringList lines;
    for (int row = 0; row < model.rowCount(parent); ++row)
    {
        const QModelIndex index = model.index(row, 0, parent);
        lines << QString(level * 2, u' ') + index.data().toString();
        lines += dump(model, index, level + 1);
    }
    return lines;
}
} // namespace

// Looking through the history files, the panel that shows what was found,
// and the tree of the history by period and site.
class tst_HistorySearch : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_root = m_dir->path();
        m_services.textFn = [](const QString&, const QString& key) { return key; };
        m_services.texts["MAIN>HistoryWeeksAgo"] = "%s Weeks Ago";
        // clang-format off
        const struct { const char* url; const char* title; QDate day; int hour; } visits[] = {
            {"http://old.test/1", "Old one", Today.addDays(-22), 9},
            {"http://week.test/a", "Week A", Today.addDays(-6), 9},
            {"http://a.test/1", "A one", Today.addDays(-2), 9},
            {"http://a.test/1", "A one", Today, 8},
            {"http://b.test/1", "", Today, 9},
            {"http://a.test/2", "A two", Today, 10},
            {"http://B.TEST:8080/2", "B two", Today, 7},
            {"file:///home/u/notes.html", "Notes", Today, 6},
        };
        // clang-format on
        for (const auto& visit : visits)
            QVERIFY(THistoryIndex::recordVisit(QString::fromUtf8(visit.url),
                                               QString::fromUtf8(visit.title),
                                               at(visit.day, visit.hour), m_root));
    }

    void groupsByPeriodAndSiteNewestFirst()
    {
        HistoryTreeModel model(&m_services);
        model.refill(THistoryIndexReader::periods(m_root), Today);
        // clang-format off
        const QStringList expected{
            "HistoryToday",
            "  a.test", "    A two", "    A one",
            "  b.test", "    http://b.test/1", "    B two",
            "  HistoryLocalFiles", "    Notes",
            "HistoryDay1", "  a.test", "    A one",
            "HistoryLastWeek", "  week.test", "    Week A",
            "3 Weeks Ago", "  old.test", "    Old one"};
        // clang-format on
        QCOMPARE(dump(model), expected);
        const HistoryTreeModel::Node* page =
            model.node(model.index(1, 0, model.index(0, 0, model.index(0, 0))));
        QCOMPARE(page->address, "http://a.test/1");
        QCOMPARE(page->visitedMs, at(Today, 8).toMSecsSinceEpoch());
    }

    void deleteLeavesTheRestReadable()
    {
        // The node deleted, the pages then left today.
        const QList<QPair<QString, QStringList>> rows = {
            {"a.test/A one", {"A two", "http://b.test/1", "B two", "Notes"}},
            {"b.test", {"A two", "A one", "Notes"}}, // a site, any port
            {"", {}}};                               // the period
        for (const auto& [node, today] : rows)
        {
            init();
            HistoryTreeModel model(&m_services);
            model.refill(THistoryIndexReader::periods(m_root), Today);
            QModelIndex index = model.index(0, 0);
            for (const QString& caption : node.split(u'/', Qt::SkipEmptyParts))
                index = model.match(model.index(0, 0, index), Qt::DisplayRole, caption).value(0);
            const HistoryTreeModel::Node* chosen = model.node(index);
            QVERIFY(chosen);
            QVERIFY(THistoryIndex::removeEntries(
                m_root, chosen->indexPath,
                [&](const QString& url)
                {
                    return chosen->kind == HistoryTreeModel::PeriodNode ||
                           (chosen->kind == HistoryTreeModel::SiteNode
                                ? HistoryTreeModel::siteOf(url) == chosen->site
                                : url == chosen->address);
                }));

            model.refill(THistoryIndexReader::periods(m_root), Today);
            QStringList pages;
            if (model.index(0, 0).data() == "HistoryToday")
                for (const QString& line : dump(model, model.index(0, 0)))
                    if (line.startsWith(u' '))
                        pages << line.trimmed();
            QCOMPARE(pages, today);
            // The other periods are untouched.
            QCOMPARE(model.rowCount(), today.isEmpty() ? 3 : 4);
            // A later visit still goes into the rewritten file.
            QVERIFY(THistoryIndex::recordVisit("http://c.test/", "C", at(Today, 11), m_root));
            model.refill(THistoryIndexReader::periods(m_root), Today);
            QCOMPARE(model.index(0, 0, model.index(0, 0)).data().toString(), "c.test");
        }
    }

    void indexFile()
    {
        const QByteArray a = entry("http://a.test/", "Alpha News");
        const QByteArray b = entry("http://b.test/x", "Beta news");
        const QStringList both{"Alpha News <http://a.test/>", "Beta news <http://b.test/x>"};
        // The file, the text looked for, the rows found.
        // clang-format off
        const QList<std::tuple<QByteArray, QString, QStringList>> rows = {
            {a + b, "NEWS", both}, // file order, any case
            {a + b, "B.TEST", {"Beta news <http://b.test/x>"}}, // in the address
            {a + b + entry("http://c.test/", QByteArray(300, 'n')).left(Block), "news", both}, // torn tail
            {raw(0, "@http://z.test/\0\x1fZero news\0\0"_qba) + b, "news", {"Zero news <http://z.test/>", "Beta news <http://b.test/x>"}}, // count 0 is one block
            {raw(1, "@http://o.test/\0\x1fOne news\0\0"_qba) + b, "news", {"One news <http://o.test/>", "Beta news <http://b.test/x>"}}, // count 1 ends at once
            {a + raw(1, "http://n.test/\0\x1fnews\0\0"_qba), "news", {"Alpha News <http://a.test/>"}}, // no @ adds nothing
            {QByteArray(Block, 'x') + a, "alpha", {"Alpha News <http://a.test/>"}}, // stray blocks skipped
            {("R" + a.mid(1)) + b, "news", {"Beta news <http://b.test/x>"}}, // dead entry
            {entry("http://t.test/", ""), "t.test", {"http://t.test/ <http://t.test/>"}}, // no title: address
            {raw(1, "@:Host: a.test\0\x1f\0\0"_qba), "host", {}}, // host entry hidden
            {entry("http://k.test/", "Grüße aus Köln"), "KÖLN", {"Grüße aus Köln <http://k.test/>"}}, // title beyond ASCII
            {entry("http://k.test/", "Grüße aus Köln"), "AUS", {"Grüße aus Köln <http://k.test/>"}}, // ASCII word in UTF-8
            {raw(1, "@http://c.test/\0\x1f\x01Ta\x7f" "b\0\0"_qba), "ta", {"Tab <http://c.test/>"}}, // control characters
        };
        // clang-format on
        QTemporaryDir dir;
        const QString path = dir.filePath("index.dat");
        for (const auto& [data, text, expected] : rows)
        {
            QVERIFY(write(path, data));
            HistorySearch::Rows found;
            QVERIFY(HistorySearch::SearchHistoryIndex(path, text, found));
            QCOMPARE(captions(found), expected);
        }
    }

    // Entries larger than a read, and entries lying across reads.
    void entriesAcrossReads()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("index.dat");
        QByteArray data;
        const QString longTitle(THistoryIndex::MaxTitleLength, u'w');
        const QString longUrl = "http://l.test/" + QString(30000, u'p');
        int expected = 0;
        for (; data.size() < 3 * HistorySearch::ChunkBytes; ++expected)
            data += THistoryIndex::encodeEntry(
                expected % 50 == 0 ? longUrl : QStringLiteral("http://s.test/%1").arg(expected),
                longTitle.left(expected % 300) + " zz", 1);
        QVERIFY(write(path, data));
        HistorySearch::Rows found;
        QVERIFY(HistorySearch::SearchHistoryIndex(path, "ZZ", found));
        QCOMPARE(found.size(), expected);
    }

    // One level of sub-folders; a file that cannot be read is passed over.
    void folder()
    {
        QTemporaryDir dir;
        const QString root = dir.path();
        const QByteArray page = entry("http://f.test/", "found");
        for (const char* folder : {"", "/day-2024-05-06", "/week-2024-04-29", "/a/b", "/.hidden"})
            QVERIFY(write(root + QLatin1String(folder) + "/index.dat", page));
        // Opening a pipe would wait for ever; a folder or a dangling link
        // cannot be read.
        QDir().mkpath(root + "/pipe");
        QCOMPARE(mkfifo(QFile::encodeName(root + "/pipe/index.dat"), 0600), 0);
        QDir().mkpath(root + "/folder/index.dat");
        QDir().mkpath(root + "/link");
        QVERIFY(QFile::link(root + "/gone", root + "/link/index.dat"));

        HistorySearch::Rows found;
        HistorySearch::SearchHistoryFolder(root, "found", found);
        // The day, the week and the root's own file.
        QCOMPARE(found.size(), 3);
        HistorySearch::Rows none;
        QVERIFY(!HistorySearch::SearchHistoryIndex(root + "/pipe/index.dat", "found", none));
        QVERIFY(!HistorySearch::SearchHistoryIndex(root + "/missing", "found", none));
        HistorySearch::SearchHistoryFolder(root, QString(), none);
        QVERIFY(none.isEmpty());
    }

    // Enter in the edit asks for a search and goes no further (a dialog
    // around the panel must not take it as its default button).
    void enterInEditSearchesAndIsSwallowed()
    {
        QDialog dialog;
        TFindPanel panel("History", &dialog);
        auto* ok = new QPushButton("OK", &dialog);
        ok->setDefault(true);
        QSignalSpy accepted(&dialog, &QDialog::accepted);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QSignalSpy find(&panel, &TFindPanel::findRequested);
        panel.edtFind->setText("news");
        QTest::keyClick(panel.edtFind, Qt::Key_Return);
        QCOMPARE(find.count(), 1);
        QCOMPARE(find.at(0).at(0).toString(), "news");
        QCOMPARE(accepted.count(), 0);
    }

    // Rows open their address by click, Space or Enter; the "nothing
    // found" row and rows past the end open nothing.
    void rowsOpenTheirAddressOnly()
    {
        TFindPanel panel("Favorites");
        QSignalSpy chosen(&panel, &TFindPanel::rowChosen);
        panel.setRows({{"News", "http://a.test/"}, {"Blog", "http://b.test/"}}, "(none)");
        panel.lvFind->setCurrentIndex(panel.results()->index(1));
        QTest::keyClick(panel.lvFind, Qt::Key_Space);
        panel.chooseRow(0);
        panel.chooseRow(7);
        QCOMPARE(chosen.count(), 2);
        QCOMPARE(chosen.at(0).at(0).toString(), "http://b.test/");
        QCOMPARE(chosen.at(1).at(0).toString(), "http://a.test/");

        panel.setRows({}, "(none)");
        QCOMPARE(panel.results()->count(), 1);
        QCOMPARE(panel.results()->row(0).caption, "(none)");
        panel.lvFind->setCurrentIndex(panel.results()->index(0));
        QTest::keyClick(panel.lvFind, Qt::Key_Return);
        QCOMPARE(chosen.count(), 2);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedServices m_services;
    QString m_root;
};

QTEST_MAIN(tst_HistorySearch)
#include "tst_HistorySearch.moc"

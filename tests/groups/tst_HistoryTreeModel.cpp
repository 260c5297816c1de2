#include "ScriptedServices.h"
#include "core/engine/THistoryIndex.h"
#include "groups/HistoryTreeModel.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace
{
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

class tst_HistoryTreeModel : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_root = m_dir->path();
        m_services.textFn = [](const QString&, const QString& key) { return key; };
        m_services.texts[QStringLiteral("MAIN>HistoryWeeksAgo")] = QStringLiteral("%s Weeks Ago");
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
        QCOMPARE(page->address, QStringLiteral("http://a.test/1"));
        QCOMPARE(page->visitedMs, at(Today, 8).toMSecsSinceEpoch());
    }

    void deleteLeavesTheRestReadable_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<QStringList>("today");
        // clang-format off
        QTest::newRow("page") << "a.test/A one" << QStringList{"A two", "http://b.test/1", "B two", "Notes"};
        QTest::newRow("site, any port") << "b.test" << QStringList{"A two", "A one", "Notes"};
        QTest::newRow("period") << "" << QStringList{};
        // clang-format on
    }

    void deleteLeavesTheRestReadable()
    {
        QFETCH(QString, node);
        QFETCH(QStringList, today);
        HistoryTreeModel model(&m_services);
        model.refill(THistoryIndexReader::periods(m_root), Today);
        QModelIndex index = model.index(0, 0);
        for (const QString& caption : node.split(u'/', Qt::SkipEmptyParts))
            index = model.match(model.index(0, 0, index), Qt::DisplayRole, caption).value(0);
        const HistoryTreeModel::Node* chosen = model.node(index);
        QVERIFY(chosen);
        const QString site = chosen->site;
        const QString address = chosen->address;
        const HistoryTreeModel::Kind kind = chosen->kind;
        QVERIFY(THistoryIndex::removeEntries(m_root, chosen->indexPath,
                                             [&](const QString& url)
                                             {
                                                 return kind == HistoryTreeModel::PeriodNode ||
                                                        (kind == HistoryTreeModel::SiteNode
                                                             ? HistoryTreeModel::siteOf(url) == site
                                                             : url == address);
                                             }));

        model.refill(THistoryIndexReader::periods(m_root), Today);
        QStringList pages;
        if (model.index(0, 0).data() == QStringLiteral("HistoryToday"))
            for (const QString& line : dump(model, model.index(0, 0)))
                if (line.startsWith(u' '))
                    pages << line.trimmed();
        QCOMPARE(pages, today);
        // The other periods are untouched.
        QCOMPARE(model.rowCount(), today.isEmpty() ? 3 : 4);
        // A later visit still goes into the rewritten file.
        QVERIFY(THistoryIndex::recordVisit(QStringLiteral("http://c.test/"), QStringLiteral("C"),
                                           at(Today, 11), m_root));
        model.refill(THistoryIndexReader::periods(m_root), Today);
        QCOMPARE(model.index(0, 0, model.index(0, 0)).data().toString(), QStringLiteral("c.test"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedServices m_services;
    QString m_root;
};

QTEST_MAIN(tst_HistoryTreeModel)
#include "tst_HistoryTreeModel.moc"

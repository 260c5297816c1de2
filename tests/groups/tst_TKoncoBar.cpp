#include "ScriptedServices.h"
#include "components/TShellTree.h"
#include "groups/TKoncoBar.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace
{
void touch(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("[VostelGroup]\n");
}
} // namespace

class tst_TKoncoBar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_data.isValid());
        qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_services = std::make_unique<ScriptedServices>();
        m_services->setGlobalText(QStringLiteral("RenameVostelGroup"), QStringLiteral("Rename"));
        m_bar = std::make_unique<TKoncoBar>(m_services.get(), m_dir->path());
        m_changed = std::make_unique<QSignalSpy>(m_bar.get(), &TKoncoBar::groupsChanged);
    }

    void cleanup()
    {
        m_changed.reset();
        m_bar.reset();
    }

    void firstShowingFillsTheTreeOnce()
    {
        QVERIFY(!m_bar->VostelGroupsTreeLoaded);
        QVERIFY(m_bar->shVostelGroups->root().isEmpty());
        m_bar->show();
        QVERIFY(m_bar->VostelGroupsTreeLoaded);
        QCOMPARE(m_bar->shVostelGroups->root(), QDir::cleanPath(m_dir->path()));
        const QAbstractItemModel* filled = m_bar->shVostelGroups->model();
        m_bar->pcKoncoBarChange();
        QCOMPARE(m_bar->shVostelGroups->model(), filled);
    }

    void renameKeepsTheSuffix_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("after");
        // clang-format off
        QTest::newRow("renamed")          << "a.vgp" << true  << "b"     << QStringList{"b.vgp", "taken.vgp"};
        QTest::newRow("suffix's own case") << "A.VGP" << true << "c"     << QStringList{"c.VGP", "taken.vgp"};
        QTest::newRow("target exists")    << "a.vgp" << true  << "taken" << QStringList{"a.vgp", "taken.vgp"};
        QTest::newRow("empty answer")     << "a.vgp" << true  << ""      << QStringList{"a.vgp", "taken.vgp"};
        QTest::newRow("cancelled")        << "a.vgp" << false << "b"     << QStringList{"a.vgp", "taken.vgp"};
        QTest::newRow("into a folder")    << "a.vgp" << true  << "../b"  << QStringList{"a.vgp", "taken.vgp"};
        // clang-format on
    }

    void renameKeepsTheSuffix()
    {
        QFETCH(QString, file);
        QFETCH(bool, accepted);
        QFETCH(QString, answer);
        QFETCH(QStringList, after);
        touch(path(file));
        touch(path(QStringLiteral("taken.vgp")));
        m_services->inputAccepted = accepted;
        m_services->inputAnswer = answer;
        m_bar->VostelGroupsTreeNode = path(file);
        m_bar->pmVGRenameClick();

        QCOMPARE(m_services->inputQueries.size(), 1);
        const ScriptedServices::InputCall asked = m_services->inputQueries.first();
        QCOMPARE(asked.caption, QStringLiteral("Rename"));
        QCOMPARE(asked.prompt, QStringLiteral("Rename"));
        QCOMPARE(asked.proposed, file.left(1));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), after);
        QCOMPARE(m_changed->count(), after.contains(file) ? 0 : 1);
    }

    void deleteTrashesAndMarksTheMenu()
    {
        m_bar->show();
        touch(path(QStringLiteral("g.vgp")));
        m_bar->VostelGroupsTreeNode = path(QStringLiteral("g.vgp"));
        m_bar->pmVGDeleteClick();
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("g.vgp"))));
        QVERIFY(QFileInfo::exists(m_data.filePath(QStringLiteral("Trash/files/g.vgp"))));
        QCOMPARE(m_changed->count(), 1);
        QVERIFY(m_services->errors.isEmpty());
    }

    void onlyGroupsOpen_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("opens");
        // clang-format off
        QTest::newRow("group")             << "g.vgp"    << true;
        QTest::newRow("group, upper case") << "G.VGP"    << true;
        QTest::newRow("folder")            << "sub.vgp/" << false;
        // clang-format on
    }

    void onlyGroupsOpen()
    {
        QFETCH(QString, entry);
        QFETCH(bool, opens);
        if (entry.endsWith(u'/'))
            QDir().mkpath(path(entry));
        else
            touch(path(entry));
        m_bar->show();
        QSignalSpy open(m_bar.get(), &TKoncoBar::openGroupRequested);
        const QString node = QDir::cleanPath(path(entry));
        m_bar->shVostelGroupsDblClick(m_bar->shVostelGroups->nodeOf(node));
        m_bar->VostelGroupsTreeNode = node;
        m_bar->pmVGOpenClick();
        QCOMPARE(open.count(), opens ? 2 : 0);
        if (opens)
            QCOMPARE(open.value(1).value(0).toString(), node);
    }

private:
    QString path(const QString& name) const { return QDir(m_dir->path()).filePath(name); }

    QTemporaryDir m_data;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedServices> m_services;
    std::unique_ptr<TKoncoBar> m_bar;
    std::unique_ptr<QSignalSpy> m_changed;
};

QTEST_MAIN(tst_TKoncoBar)
#include "tst_TKoncoBar.moc"

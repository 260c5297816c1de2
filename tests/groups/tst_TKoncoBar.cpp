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
        QCOMPARE(asked.caption + '|' + asked.prompt + '|' + asked.proposed,
                 "Rename|Rename|" + file.left(1));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), after);
        QCOMPARE(m_changed->count(), after.contains(file) ? 0 : 1);
    }

    void groupsOpenAndGoToTheTrash()
    {
        touch(path(QStringLiteral("G.VGP")));
        QDir().mkpath(path(QStringLiteral("sub.vgp")));
        m_bar->show();
        QSignalSpy open(m_bar.get(), &TKoncoBar::openGroupRequested);
        // A folder is never a group, whatever its name.
        for (const QString name : {QStringLiteral("sub.vgp"), QStringLiteral("G.VGP")})
        {
            m_bar->shVostelGroupsDblClick(m_bar->shVostelGroups->nodeOf(path(name)));
            m_bar->VostelGroupsTreeNode = path(name);
            m_bar->pmVGOpenClick();
        }
        QCOMPARE(open.count(), 2);
        QCOMPARE(open.value(1).value(0).toString(), path(QStringLiteral("G.VGP")));

        m_bar->pmVGDeleteClick();
        QVERIFY(QFileInfo::exists(m_data.filePath(QStringLiteral("Trash/files/G.VGP"))));
        QCOMPARE(m_changed->count(), 1);
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

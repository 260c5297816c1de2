#include "core/instance/TEntryRoutine.h"
#include "core/instance/TInstanceChannel.h"
#include "launcher/BrowserLauncher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using Step = BrowserLauncher::Step;

class tst_BrowserLauncher : public QObject
{
    Q_OBJECT

private slots:
    void plan_data();
    void plan();
    void runningCopyIsFoundWithoutTakingItsLock();
};

void tst_BrowserLauncher::plan_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("first");
    QTest::addColumn<QVariant>("setting");  // invalid: the browser could not read it
    QTest::addColumn<QString>("forwarded"); // null: the browser is run
    QTest::addColumn<QString>("asked");     // what the launcher looked at
    const QStringList none;
    const QStringList url{"http://a.test/"};
    const QVariant off(false);
    // clang-format off
    QTest::newRow("alone")                       << none << true  << off             << QString()       << "lock";
    QTest::newRow("address, copy running")       << url  << false << off             << "http://a.test/" << "lock setting";
    QTest::newRow("address, setting unreadable") << url  << false << QVariant()      << QString()       << "lock setting";
    QTest::newRow("--new, copy running")         << QStringList{"--new"} << false << off << QString()    << "lock";
    QTest::newRow("--undef, copy running")       << QStringList{"--undef"} << false << off << QString()  << "";
    QTest::newRow("--new with another")          << QStringList{"--new", "a"} << false << off << "--new" << "lock setting";
    // clang-format on
}

void tst_BrowserLauncher::plan()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, first);
    QFETCH(QVariant, setting);
    QFETCH(QString, forwarded);
    QStringList looked;
    const BrowserLauncher::Plan plan = BrowserLauncher::plan(
        arguments,
        [&]
        {
            looked << "lock";
            return first;
        },
        [&]() -> std::optional<bool>
        {
            looked << "setting";
            return setting.isValid() ? std::optional<bool>(setting.toBool()) : std::nullopt;
        });
    QCOMPARE(plan.step, forwarded.isNull() ? Step::RunBrowser : Step::Forward);
    QCOMPARE(plan.argument, forwarded.isNull() ? QString() : forwarded);
    QTEST(looked.join(' '), "asked");

    // The launcher ends a start itself exactly when the browser's routine
    // would forward it; a setting the browser cannot read never forwards.
    if (setting.isValid())
    {
        const TEntryRoutine::Decision routine =
            TEntryRoutine::decide(arguments, first, [&] { return setting.toBool(); });
        QCOMPARE(plan.step == Step::Forward, routine.action == TEntryRoutine::Action::Forward);
        QCOMPARE(plan.argument, routine.forwardArgument);
    }
}

void tst_BrowserLauncher::runningCopyIsFoundWithoutTakingItsLock()
{
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("channel"));
    const TInstanceChannel probe(folder);

    // Nothing has run: asking creates nothing.
    QVERIFY(!probe.isHeldByLiveCopy());
    QVERIFY(!QFileInfo::exists(folder));

    {
        TInstanceChannel running(folder);
        QVERIFY(running.acquireFirstInstance());
        QVERIFY(probe.isHeldByLiveCopy());
        // Asking took nothing away from the holder.
        QVERIFY(!TInstanceChannel(folder).acquireFirstInstance());

        // A folder others may enter is not used, whoever holds what is in it.
        QVERIFY(QFile::setPermissions(folder, QFile::permissions(folder) | QFileDevice::ReadOther |
                                                  QFileDevice::ExeOther));
        QVERIFY(!probe.isHeldByLiveCopy());
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner));
        QVERIFY(probe.isHeldByLiveCopy());
    }
    QVERIFY(!probe.isHeldByLiveCopy());

    // A killed holder leaves its file, which nobody locks any more.
    QFile left(probe.lockFilePath());
    QVERIFY(left.open(QIODevice::WriteOnly));
    QVERIFY(left.write("2147483646\nquillwave-browser\nsomewhere\n") > 0);
    left.close();
    QVERIFY(!probe.isHeldByLiveCopy());
    TInstanceChannel next(folder);
    QVERIFY(next.acquireFirstInstance());
    QVERIFY(probe.isHeldByLiveCopy());
}

QTEST_GUILESS_MAIN(tst_BrowserLauncher)
#include "tst_BrowserLauncher.moc"

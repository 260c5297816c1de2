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
    void plan();
    void runningCopyIsFoundWithoutTakingItsLock();
};

void tst_BrowserLauncher::plan()
{
    const QStringList url{"http://a.test/"};
    const QVariant off(false);
    const struct
    {
        QStringList arguments;
        bool first;
        QVariant setting;  // invalid: the browser could not read it
        QString forwarded; // null: the browser is run
        QString asked;     // what the launcher looked at
    } rows[] = {
        // clang-format off
        {{}, true, off, {}, "lock"},
        {url, false, off, "http://a.test/", "lock setting"},
        {url, false, QVariant(), {}, "lock setting"},
        {{"--new"}, false, off, {}, "lock"},
        {{"--undef"}, false, off, {}, ""},
        {{"--new", "a"}, false, off, "--new", "lock setting"},
        // clang-format on
    };
    for (const auto& r : rows)
    {
        QStringList looked;
        const BrowserLauncher::Plan plan = BrowserLauncher::plan(
            r.arguments,
            [&]
            {
                looked << "lock";
                return r.first;
            },
            [&]() -> std::optional<bool>
            {
                looked << "setting";
                return r.setting.isValid() ? std::optional<bool>(r.setting.toBool()) : std::nullopt;
            });
        QCOMPARE(plan.step, r.forwarded.isNull() ? Step::RunBrowser : Step::Forward);
        QCOMPARE(plan.argument, r.forwarded.isNull() ? QString() : r.forwarded);
        QCOMPARE(looked.join(' '), r.asked);

        // The launcher ends a start itself exactly when the browser's routine
        // would forward it; a setting the browser cannot read never forwards.
        if (!r.setting.isValid())
            continue;
        const TEntryRoutine::Decision routine =
            TEntryRoutine::decide(r.arguments, r.first, [&] { return r.setting.toBool(); });
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

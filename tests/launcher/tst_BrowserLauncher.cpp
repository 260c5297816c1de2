#include "TestStore.h"
#include "core/instance/TEntryRoutine.h"
#include "core/instance/TInstanceChannel.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryKeys.h"
#include "core/store/RegistryStore.h"
#include "core/store/RegistryTypeError.h"
#include "launcher/BrowserLauncher.h"
#include "launcher/LauncherPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using Step = BrowserLauncher::Step;

namespace
{
// How a row gives the setting: as read, or unreadable for the browser.
enum class Setting
{
    Off,
    On,
    Unreadable
};

std::optional<bool> settingValue(Setting setting)
{
    if (setting == Setting::Unreadable)
        return std::nullopt;
    return setting == Setting::On;
}

bool makeFile(const QString& path, QFileDevice::Permissions permissions)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("#!/bin/sh\n") > 0 &&
           file.setPermissions(permissions);
}

const QFileDevice::Permissions Executable =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
const QFileDevice::Permissions NotExecutable = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
} // namespace

class tst_BrowserLauncher : public QObject
{
    Q_OBJECT

private slots:
    void plan_data();
    void plan();
    void storedSetting_data();
    void storedSetting();
    void runningCopyIsFoundWithoutTakingItsLock();
    void findsBrowserBesideOrInstalled();
    void installedPathsLeadBackToEachOther();
    void executableFolderIsThisProgramsFolder();
};

void tst_BrowserLauncher::plan_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("first");
    QTest::addColumn<Setting>("setting");
    QTest::addColumn<Step>("step");
    QTest::addColumn<QString>("forwarded");
    QTest::addColumn<bool>("lockTried");
    QTest::addColumn<bool>("settingRead");

    const QStringList none;
    const QString url = QStringLiteral("http://example.com/");
    const Setting off = Setting::Off;
    const Setting on = Setting::On;
    const Setting bad = Setting::Unreadable;
    // clang-format off
    QTest::newRow("alone")                         << none << true  << off << Step::RunBrowser << QString() << true << false;
    QTest::newRow("address, alone")                << QStringList{url} << true << off << Step::RunBrowser << QString() << true << false;
    QTest::newRow("no argument, copy running")     << none << false << off << Step::Forward << QString() << true << true;
    QTest::newRow("address, copy running")         << QStringList{url} << false << off << Step::Forward << url << true << true;
    QTest::newRow("address, several allowed")      << QStringList{url} << false << on  << Step::RunBrowser << QString() << true << true;
    QTest::newRow("address, setting unreadable")   << QStringList{url} << false << bad << Step::RunBrowser << QString() << true << true;
    QTest::newRow("--new, copy running")           << QStringList{"--new"} << false << off << Step::RunBrowser << QString() << true << false;
    QTest::newRow("--undef, copy running")         << QStringList{"--undef"} << false << off << Step::RunBrowser << QString() << false << false;
    QTest::newRow("--uninstall, copy running")     << QStringList{"--uninstall"} << false << off << Step::RunBrowser << QString() << false << false;
    QTest::newRow("--NEW is an address")           << QStringList{"--NEW"} << false << off << Step::Forward << "--NEW" << true << true;
    QTest::newRow("--Undef is an address")         << QStringList{"--Undef"} << false << off << Step::Forward << "--Undef" << true << true;
    QTest::newRow("two arguments, first goes")     << QStringList{"a", "b"} << false << off << Step::Forward << "a" << true << true;
    QTest::newRow("--new with another")            << QStringList{"--new", url} << false << off << Step::Forward << "--new" << true << true;
    QTest::newRow("--undef with another")          << QStringList{"--undef", url} << false << off << Step::Forward << "--undef" << true << true;
    QTest::newRow("one empty argument")            << QStringList{QString()} << false << off << Step::Forward << QString() << true << true;
    // clang-format on
}

void tst_BrowserLauncher::plan()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, first);
    QFETCH(Setting, setting);
    QFETCH(Step, step);
    QFETCH(QString, forwarded);
    QFETCH(bool, lockTried);
    QFETCH(bool, settingRead);

    bool triedLock = false;
    bool readSetting = false;
    const BrowserLauncher::Plan plan = BrowserLauncher::plan(
        arguments,
        [&]
        {
            triedLock = true;
            return first;
        },
        [&]
        {
            readSetting = true;
            return settingValue(setting);
        });
    QCOMPARE(plan.step, step);
    QCOMPARE(plan.argument, forwarded);
    QCOMPARE(triedLock, lockTried);
    QCOMPARE(readSetting, settingRead);

    // The launcher ends a start itself exactly when the browser's routine
    // would forward it; a setting the browser cannot read never forwards.
    if (setting != Setting::Unreadable)
    {
        const TEntryRoutine::Decision routine =
            TEntryRoutine::decide(arguments, first, [&] { return setting == Setting::On; });
        QCOMPARE(plan.step == Step::Forward, routine.action == TEntryRoutine::Action::Forward);
        if (plan.step == Step::Forward)
            QCOMPARE(plan.argument, routine.forwardArgument);
    }
}

void tst_BrowserLauncher::storedSetting_data()
{
    QTest::addColumn<QString>("text"); // null: nothing stored
    QTest::addColumn<bool>("dword");
    QTest::addColumn<int>("expected"); // -1: unreadable

    // clang-format off
    QTest::newRow("missing")            << QString()   << false << 0;
    QTest::newRow("\"1\"")              << "1"         << false << 1;
    QTest::newRow("\"0\"")              << "0"         << false << 0;
    QTest::newRow("empty")              << ""          << false << 0;
    QTest::newRow("not a number")       << "yes"       << false << 0;
    QTest::newRow("\"-1\"")             << "-1"        << false << 1;
    QTest::newRow("hexadecimal")        << "0x1"       << false << 0;
    QTest::newRow("too large")          << "99999999999" << false << 0;
    QTest::newRow("stored as a number") << QString()   << true  << -1;
    // clang-format on
}

void tst_BrowserLauncher::storedSetting()
{
    QFETCH(QString, text);
    QFETCH(bool, dword);
    QFETCH(int, expected);

    TestStore test;
    RegistryStore& store = *test.store;
    const QString name = QStringLiteral("AllowMultiInstance");
    if (dword)
        QVERIFY(store.setDWord(RegistryKeys::ValueKey, name, 1));
    else if (!text.isNull())
        QVERIFY(store.setString(RegistryKeys::ValueKey, name, text));

    const std::optional<bool> read = BrowserLauncher::storedAllowMultiInstance(store);
    QCOMPARE(read.has_value(), expected >= 0);
    if (read)
        QCOMPARE(int(*read), expected);

    // The browser's settings object must come to the same answer.
    std::optional<bool> browser;
    try
    {
        browser = test.options->AllowMultiInstance();
    }
    catch (const RegistryTypeError&)
    {
    }
    QCOMPARE(read, browser);
}

void tst_BrowserLauncher::runningCopyIsFoundWithoutTakingItsLock()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
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
        QVERIFY(probe.isHeldByLiveCopy());
        TInstanceChannel second(folder);
        QVERIFY(!second.acquireFirstInstance());

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

void tst_BrowserLauncher::findsBrowserBesideOrInstalled()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString bin = root.filePath(QStringLiteral("prefix/bin"));
    const QStringList candidates = LauncherPaths::browserCandidates(bin);
    QCOMPARE(candidates.size(), 2);
    QCOMPARE(candidates.at(0), bin + QStringLiteral("/quillwave-browser"));
    QVERIFY(candidates.at(1) != candidates.at(0));
    QVERIFY(candidates.at(1).endsWith(QStringLiteral("/quillwave-browser")));
    QVERIFY(candidates.at(1).startsWith(root.filePath(QStringLiteral("prefix/"))));

    QCOMPARE(LauncherPaths::findBrowser(bin), QString());
    QVERIFY(makeFile(candidates.at(1), Executable));
    QCOMPARE(LauncherPaths::findBrowser(bin), candidates.at(1));
    // A file that cannot be run is passed over.
    QVERIFY(makeFile(candidates.at(0), NotExecutable));
    QCOMPARE(LauncherPaths::findBrowser(bin), candidates.at(1));
    // The build tree's layout wins.
    QVERIFY(QFile::setPermissions(candidates.at(0), Executable));
    QCOMPARE(LauncherPaths::findBrowser(bin), candidates.at(0));
    // A folder of that name is no program.
    QVERIFY(QFile::remove(candidates.at(0)));
    QVERIFY(QDir().mkpath(candidates.at(0)));
    QCOMPARE(LauncherPaths::findBrowser(bin), candidates.at(1));
}

void tst_BrowserLauncher::installedPathsLeadBackToEachOther()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString bin = root.filePath(QStringLiteral("prefix/bin"));
    const QString launcher = bin + QStringLiteral("/quillwave");
    const QString browser = LauncherPaths::browserCandidates(bin).at(1);
    QVERIFY(makeFile(launcher, Executable));
    QVERIFY(makeFile(browser, Executable));

    const QString browserFolder = QFileInfo(browser).absolutePath();
    QCOMPARE(LauncherPaths::findBrowser(bin), browser);
    QCOMPARE(LauncherPaths::findLauncher(browserFolder), launcher);
    // In a build tree both are in one folder.
    QCOMPARE(LauncherPaths::launcherCandidates(bin).at(0), launcher);
    QCOMPARE(LauncherPaths::findLauncher(bin), launcher);
    QCOMPARE(LauncherPaths::findLauncher(root.path()), QString());
}

void tst_BrowserLauncher::executableFolderIsThisProgramsFolder()
{
    const QString expected = QCoreApplication::applicationDirPath();
    QCOMPARE(LauncherPaths::executableFolder(), expected);
    QCOMPARE(LauncherPaths::executableFolder(""), expected);
}

QTEST_GUILESS_MAIN(tst_BrowserLauncher)
#include "tst_BrowserLauncher.moc"

#include "core/instance/TEntryRoutine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using ForwardedAction = TEntryRoutine::ForwardedAction;

namespace
{
// A decision in words, so that a table row reads as what happens.
QString describe(const TEntryRoutine::Decision& d)
{
    switch (d.action)
    {
    case TEntryRoutine::Action::Forward:
        return "forward '" + d.forwardArgument + "'";
    case TEntryRoutine::Action::Unregister:
        return QStringLiteral("unregister");
    case TEntryRoutine::Action::Run:
        break;
    }
    return QString("run") + (d.runAsNewInstance ? " new" : "") +
           (d.commandLine ? " with '" + *d.commandLine + "'" : QString());
}

bool touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}
} // namespace

class tst_TEntryRoutine : public QObject
{
    Q_OBJECT

private slots:
    void decide_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("first");
        QTest::addColumn<bool>("allowMulti");
        QTest::addColumn<QString>("decision");
        QTest::addColumn<bool>("settingRead");
        const QStringList none;
        const QStringList url{"http://a.test/"};
        // clang-format off
        QTest::newRow("no argument, several allowed")  << none << false << true  << "run new"                     << true;
        QTest::newRow("address, copy running")         << url  << false << false << "forward 'http://a.test/'"    << true;
        QTest::newRow("address, several allowed")      << url  << false << true  << "run new with 'http://a.test/'" << true;
        QTest::newRow("--new, copy running")           << QStringList{"--new"} << false << false << "run new"  << false;
        QTest::newRow("--undef, copy running")         << QStringList{"--undef"} << false << false << "unregister" << false;
        QTest::newRow("--NEW is an address")           << QStringList{"--NEW"} << false << false << "forward '--NEW'" << true;
        QTest::newRow("padded switch is an address")   << QStringList{" --new"} << true << false << "run with ' --new'" << true;
        QTest::newRow("--new with another, running")   << QStringList{"--new", "a"} << false << false << "forward '--new'" << true;
        // clang-format on
    }
    void decide()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, first);
        QFETCH(bool, allowMulti);
        QFETCH(QString, decision);
        QFETCH(bool, settingRead);
        int reads = 0;
        const auto setting = [&]
        {
            ++reads;
            return allowMulti;
        };
        QCOMPARE(describe(TEntryRoutine::decide(arguments, first, setting)), decision);
        QCOMPARE(reads, settingRead ? 1 : 0);
    }

    // Only an existing file whose name ends in the group extension, in the
    // case the program writes it, opens as a group.
    void forwardedAction_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("create");
        QTest::addColumn<ForwardedAction>("expected");
        // clang-format off
        QTest::newRow("empty")                       << QString()                  << false << ForwardedAction::Nothing;
        QTest::newRow("existing group")              << "g.vgp"                    << true  << ForwardedAction::OpenGroup;
        QTest::newRow("group in capitals")           << "G2.VGP"                   << true  << ForwardedAction::OpenTab;
        QTest::newRow("dot in a folder name")        << "a.vgp/inside"             << true  << ForwardedAction::OpenTab;
        QTest::newRow("address ending like a group") << "http://example.com/x.vgp" << false << ForwardedAction::OpenTab;
        // clang-format on
    }
    void forwardedAction()
    {
        QFETCH(QString, name);
        QFETCH(bool, create);
        QFETCH(ForwardedAction, expected);
        QTemporaryDir dir;
        const QString text = create ? dir.filePath(name) : name;
        QVERIFY(!create || touch(text));
        QCOMPARE(TEntryRoutine::forwardedAction(text), expected);
    }

    // At start-up the name alone decides, whatever case and whether or not
    // the file is there.
    void startupGroupArgument_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("group");
        // clang-format off
        QTest::newRow("lower case, no such file")    << "/nowhere/g.vgp"           << true;
        QTest::newRow("address ending like a group") << "http://example.com/x.vgp" << true;
        QTest::newRow("dot in a folder name")        << "a.vgp/inside"             << false;
        QTest::newRow("empty")                       << QString()                  << false;
        // clang-format on
    }
    void startupGroupArgument()
    {
        QFETCH(QString, argument);
        QFETCH(bool, group);
        QCOMPARE(TEntryRoutine::isStartupGroupArgument(argument), group);
    }

    void resolveArgument_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("expected"); // "<dir>" stands for the working folder
        // clang-format off
        QTest::newRow("relative group")  << "sub/../g.vgp"             << "<dir>/g.vgp";
        QTest::newRow("no such file")    << "missing.vgp"              << "missing.vgp";
        QTest::newRow("a folder")        << "sub"                      << "sub";
        // clang-format on
    }
    void resolveArgument()
    {
        QFETCH(QString, argument);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QVERIFY(touch(dir.filePath("g.vgp")) && touch(dir.filePath("sub/page.html")));
        // A file named like an address must not turn the address into a path.
        QVERIFY(touch(dir.filePath("http:/example.com/g.vgp")));
        const QString folder = QDir(dir.path()).canonicalPath();
        QCOMPARE(TEntryRoutine::resolveArgument(argument, folder),
                 expected.replace("<dir>", folder));
    }
};

QTEST_APPLESS_MAIN(tst_TEntryRoutine)
#include "tst_TEntryRoutine.moc"

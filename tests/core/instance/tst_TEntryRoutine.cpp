#include "core/instance/TEntryRoutine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Action = TEntryRoutine::Action;
using ForwardedAction = TEntryRoutine::ForwardedAction;

class tst_TEntryRoutine : public QObject
{
    Q_OBJECT

private slots:
    void decide_data();
    void decide();
    void forwardedAction_data();
    void forwardedAction();
    void startupGroupArgument_data();
    void startupGroupArgument();
    void resolveArgument_data();
    void resolveArgument();

private:
    QTemporaryDir m_dir;
};

void tst_TEntryRoutine::decide_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("first");
    QTest::addColumn<bool>("allowMulti");
    QTest::addColumn<Action>("action");
    QTest::addColumn<bool>("runAsNew");
    QTest::addColumn<QString>("forwarded");
    QTest::addColumn<bool>("handsOver");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("settingRead");

    const QStringList none;
    const QString url = QStringLiteral("http://example.com/");
    // clang-format off
    QTest::newRow("no argument, alone")            << none << true  << false << Action::Run     << false << QString() << false << QString() << true;
    QTest::newRow("no argument, copy running")     << none << false << false << Action::Forward << false << QString() << false << QString() << true;
    QTest::newRow("no argument, several allowed")  << none << false << true  << Action::Run     << true  << QString() << false << QString() << true;
    QTest::newRow("address, alone")                << QStringList{url} << true  << false << Action::Run     << false << QString() << true  << url << true;
    QTest::newRow("address, copy running")         << QStringList{url} << false << false << Action::Forward << false << url       << false << QString() << true;
    QTest::newRow("address, several allowed")      << QStringList{url} << false << true  << Action::Run     << true  << QString() << true  << url << true;
    QTest::newRow("--new, copy running")           << QStringList{"--new"} << false << false << Action::Run << true << QString() << false << QString() << false;
    QTest::newRow("--new, alone")                  << QStringList{"--new"} << true  << false << Action::Run << true << QString() << false << QString() << false;
    QTest::newRow("--undef, alone")                << QStringList{"--undef"} << true  << false << Action::Unregister << false << QString() << false << QString() << false;
    QTest::newRow("--undef, copy running")         << QStringList{"--undef"} << false << false << Action::Unregister << false << QString() << false << QString() << false;
    QTest::newRow("--uninstall, copy running")     << QStringList{"--uninstall"} << false << true << Action::Unregister << false << QString() << false << QString() << false;
    QTest::newRow("--NEW is an address, alone")    << QStringList{"--NEW"} << true  << false << Action::Run     << false << QString() << true  << "--NEW" << true;
    QTest::newRow("--NEW is an address, running")  << QStringList{"--NEW"} << false << false << Action::Forward << false << "--NEW"   << false << QString() << true;
    QTest::newRow("--Undef is an address")         << QStringList{"--Undef"} << false << false << Action::Forward << false << "--Undef" << false << QString() << true;
    QTest::newRow("padded switch is an address")   << QStringList{" --new"} << true << false << Action::Run << false << QString() << true << " --new" << true;
    QTest::newRow("two arguments, alone")          << QStringList{"a", "b"} << true  << false << Action::Run     << false << QString() << false << QString() << true;
    QTest::newRow("two arguments, copy running")   << QStringList{"a", "b"} << false << false << Action::Forward << false << "a"       << false << QString() << true;
    QTest::newRow("--new with another, running")   << QStringList{"--new", url} << false << false << Action::Forward << false << "--new" << false << QString() << true;
    QTest::newRow("--new with another, alone")     << QStringList{"--new", url} << true << false << Action::Run << false << QString() << false << QString() << true;
    QTest::newRow("--undef with another, alone")   << QStringList{"--undef", url} << true << false << Action::Run << false << QString() << false << QString() << true;
    QTest::newRow("--undef with another, running") << QStringList{"--undef", url} << false << false << Action::Forward << false << "--undef" << false << QString() << true;
    QTest::newRow("one empty argument, alone")     << QStringList{QString()} << true << false << Action::Run << false << QString() << true << QString() << true;
    // clang-format on
}

void tst_TEntryRoutine::decide()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, first);
    QFETCH(bool, allowMulti);
    QFETCH(Action, action);
    QFETCH(bool, runAsNew);
    QFETCH(QString, forwarded);
    QFETCH(bool, handsOver);
    QFETCH(QString, commandLine);
    QFETCH(bool, settingRead);

    int reads = 0;
    const TEntryRoutine::Decision decision = TEntryRoutine::decide(arguments, first,
                                                                   [&]
                                                                   {
                                                                       ++reads;
                                                                       return allowMulti;
                                                                   });
    QCOMPARE(decision.action, action);
    QCOMPARE(decision.runAsNewInstance, runAsNew);
    QCOMPARE(decision.forwardArgument, forwarded);
    QCOMPARE(decision.commandLine.has_value(), handsOver);
    if (handsOver)
        QCOMPARE(*decision.commandLine, commandLine);
    QCOMPARE(reads, settingRead ? 1 : 0);
}

void tst_TEntryRoutine::forwardedAction_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("create"); // "file", "folder" or nothing
    QTest::addColumn<ForwardedAction>("expected");

    // clang-format off
    QTest::newRow("empty")                       << QString()                  << QString() << ForwardedAction::Nothing;
    QTest::newRow("existing group")              << "g.vgp"                    << "file"    << ForwardedAction::OpenGroup;
    QTest::newRow("group in capitals")           << "G2.VGP"                   << "file"    << ForwardedAction::OpenTab;
    QTest::newRow("group in mixed case")         << "g3.Vgp"                   << "file"    << ForwardedAction::OpenTab;
    QTest::newRow("missing group")               << "missing.vgp"              << QString() << ForwardedAction::OpenTab;
    QTest::newRow("folder named like a group")   << "dir.vgp"                  << "folder"  << ForwardedAction::OpenTab;
    QTest::newRow("other extension after it")    << "g.vgp.txt"                << "file"    << ForwardedAction::OpenTab;
    QTest::newRow("dot in a folder name")        << "a.vgp/inside"             << "file"    << ForwardedAction::OpenTab;
    QTest::newRow("address ending like a group") << "http://example.com/x.vgp" << QString() << ForwardedAction::OpenTab;
    // clang-format on
}

void tst_TEntryRoutine::forwardedAction()
{
    QFETCH(QString, name);
    QFETCH(QString, create);
    QFETCH(ForwardedAction, expected);

    QVERIFY(m_dir.isValid());
    QString text = name;
    if (!create.isEmpty())
    {
        text = m_dir.filePath(name);
        if (create == QLatin1String("folder"))
        {
            QVERIFY(QDir().mkpath(text));
        }
        else
        {
            QVERIFY(QDir().mkpath(QFileInfo(text).absolutePath()));
            QFile file(text);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
    QCOMPARE(TEntryRoutine::forwardedAction(text), expected);
}

void tst_TEntryRoutine::startupGroupArgument_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("group");

    // clang-format off
    QTest::newRow("lower case, no such file")    << "/nowhere/g.vgp"           << true;
    QTest::newRow("capitals")                    << "G.VGP"                    << true;
    QTest::newRow("mixed case")                  << "g.vGp"                    << true;
    QTest::newRow("address ending like a group") << "http://example.com/x.vgp" << true;
    QTest::newRow("extension alone")             << ".vgp"                     << true;
    QTest::newRow("longer extension")            << "g.vgpx"                   << false;
    QTest::newRow("other extension after it")    << "g.vgp.txt"                << false;
    QTest::newRow("dot in a folder name")        << "a.vgp/inside"             << false;
    QTest::newRow("empty")                       << QString()                  << false;
    // clang-format on
}

void tst_TEntryRoutine::startupGroupArgument()
{
    QFETCH(QString, argument);
    QFETCH(bool, group);
    QCOMPARE(TEntryRoutine::isStartupGroupArgument(argument), group);
}

void tst_TEntryRoutine::resolveArgument_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("expected"); // "<dir>" stands for the working folder

    // clang-format off
    QTest::newRow("relative group")            << "g.vgp"                    << "<dir>/g.vgp";
    QTest::newRow("relative with dots")        << "sub/../g.vgp"             << "<dir>/g.vgp";
    QTest::newRow("in a sub-folder")           << "sub/page.html"            << "<dir>/sub/page.html";
    QTest::newRow("no such file")              << "missing.vgp"              << "missing.vgp";
    QTest::newRow("a folder")                  << "sub"                      << "sub";
    QTest::newRow("address")                   << "http://example.com/g.vgp" << "http://example.com/g.vgp";
    QTest::newRow("absolute")                  << "/nowhere/g.vgp"           << "/nowhere/g.vgp";
    QTest::newRow("empty")                     << QString()                  << QString();
    // clang-format on
}

void tst_TEntryRoutine::resolveArgument()
{
    QFETCH(QString, argument);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub")));
    for (const QString& name : {QStringLiteral("g.vgp"), QStringLiteral("sub/page.html")})
    {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    // A file named like an address must not turn the address into a path.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("http:/example.com")));
    QFile lookalike(dir.filePath(QStringLiteral("http:/example.com/g.vgp")));
    QVERIFY(lookalike.open(QIODevice::WriteOnly));

    const QString folder = QDir(dir.path()).canonicalPath();
    expected.replace(QStringLiteral("<dir>"), folder);
    QCOMPARE(TEntryRoutine::resolveArgument(argument, folder), expected);
}

QTEST_APPLESS_MAIN(tst_TEntryRoutine)
#include "tst_TEntryRoutine.moc"

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
    void decide()
    {
        const QStringList url{"http://a.test/"};
        const struct
        {
            QStringList arguments;
            bool first, allowMulti;
            QString decision;
            bool settingRead;
        } rows[] = {
            // clang-format off
            {{}, false, true, "run new", true},
            {url, false, false, "forward 'http://a.test/'", true},
            {url, false, true, "run new with 'http://a.test/'", true},
            {{"--new"}, false, false, "run new", false},
            {{"--undef"}, false, false, "unregister", false},
            {{"--NEW"}, false, false, "forward '--NEW'", true}, // an address
            {{" --new"}, true, false, "run with ' --new'", true}, // padded: an address
            {{"--new", "a"}, false, false, "forward '--new'", true},
            // clang-format on
        };
        for (const auto& r : rows)
        {
            int reads = 0;
            const auto setting = [&]
            {
                ++reads;
                return r.allowMulti;
            };
            QCOMPARE(describe(TEntryRoutine::decide(r.arguments, r.first, setting)), r.decision);
            QCOMPARE(reads, r.settingRead ? 1 : 0);
        }
    }

    // Forwarded, only an existing file whose name ends in the group
    // extension, in the case the program writes it, opens as a group; at
    // start-up the name alone decides, whatever case and whether or not the
    // file is there.
    void groupArguments()
    {
        // name, made as a file, forwarded, a group at start-up
        const QList<std::tuple<QString, bool, ForwardedAction, bool>> rows = {
            {QString(), false, ForwardedAction::Nothing, false},
            {"g.vgp", true, ForwardedAction::OpenGroup, true},
            {"G2.VGP", true, ForwardedAction::OpenTab, true},
            {"a.vgp/inside", true, ForwardedAction::OpenTab, false},
            {"http://example.com/x.vgp", false, ForwardedAction::OpenTab, true},
            {"/nowhere/g.vgp", false, ForwardedAction::OpenTab, true},
        };
        for (const auto& [name, create, forwarded, startup] : rows)
        {
            QTemporaryDir dir;
            const QString text = create ? dir.filePath(name) : name;
            QVERIFY(!create || touch(text));
            QCOMPARE(TEntryRoutine::forwardedAction(text), forwarded);
            QCOMPARE(TEntryRoutine::isStartupGroupArgument(text), startup);
        }
    }

    void resolveArgument()
    {
        QTemporaryDir dir;
        QVERIFY(touch(dir.filePath("g.vgp")) && touch(dir.filePath("sub/page.html")));
        // A file named like an address must not turn the address into a path.
        QVERIFY(touch(dir.filePath("http:/example.com/g.vgp")));
        const QString folder = QDir(dir.path()).canonicalPath();
        QCOMPARE(TEntryRoutine::resolveArgument("sub/../g.vgp", folder), folder + "/g.vgp");
        for (const QString& kept : {"missing.vgp", "sub", "http://example.com/g.vgp"})
            QCOMPARE(TEntryRoutine::resolveArgument(kept, folder), kept);
    }
};

QTEST_APPLESS_MAIN(tst_TEntryRoutine)
#include "tst_TEntryRoutine.moc"

// The writer process of the stress tests: what a running copy of the
// program does to its files, its store and the channel, done in a loop by a
// process that the test may kill at any moment.
//
//   qw-stress-writer loop KIND FOLDER FIRST    writes versions FIRST, FIRST+1, ...
//                                              of a subject, printing each number
//                                              once it is written; never ends
//   qw-stress-writer zygote                    reads "KIND FOLDER FIRST" lines and
//                                              runs each loop in a child of its
//                                              own: prints "pid N", the child's
//                                              numbers, then "dead N killed"
//                                              once the test has killed it
//   qw-stress-writer values STORE PREFIX COUNT writes COUNT values and now and
//                                              then lists; exit 3 when a list
//                                              read back is not whole
//   qw-stress-writer forward FOLDER TEXT MS    forwards TEXT to the copy that
//                                              listens in FOLDER; exit 0 once
//                                              acknowledged

#include "StressSubjects.h"
#include "StressValues.h"

#include "core/instance/TInstanceChannel.h"
#include "core/settings/TQWOptions.h"
#include "core/store/RegistryStore.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
// Straight to the pipe, unbuffered: a number the test reads was written.
void say(const QByteArray& line)
{
    [[maybe_unused]] const ssize_t n = ::write(STDOUT_FILENO, line.constData(), line.size());
}

void announce(int k)
{
    say(QByteArray::number(k) + '\n');
}

int loop(const QString& kind, const QString& folder, int first)
{
    for (int k = first;; ++k)
    {
        if (!StressSubjects::write(kind, folder, k))
        {
            std::fprintf(stderr, "writing version %d of %s failed\n", k, qPrintable(kind));
            return 2;
        }
        announce(k);
    }
}

// Loading the program's libraries takes far longer than a write: one
// process started once forks a fresh writer for every kill.
// Neither the zygote nor a writer outlives its parent: a test that dies
// must not leave a writer looping.
void dieWithParent(pid_t parent)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(1);
}

int zygote()
{
    dieWithParent(getppid());
    char command[4096];
    while (std::fgets(command, sizeof command, stdin))
    {
        const QStringList words = QString::fromLocal8Bit(command).trimmed().split(QLatin1Char(' '));
        if (words.size() != 3)
            return 64;
        const pid_t self = getpid();
        const pid_t child = fork();
        if (child < 0)
            return 1;
        if (child == 0)
        {
            dieWithParent(self);
            // Said by the child, so that it comes before the child's numbers.
            say("pid " + QByteArray::number(getpid()) + '\n');
            _exit(loop(words[0], words[1], words[2].toInt()));
        }
        int status = 0;
        waitpid(child, &status, 0);
        say("dead " + QByteArray::number(child) +
            (WIFSIGNALED(status) ? QByteArray(" killed\n") : QByteArray(" ended\n")));
    }
    return 0;
}

int values(const QString& storePath, const QString& prefix, int count)
{
    RegistryStore store(storePath);
    TQWOptions options(&store);
    for (int i = 0; i < count; ++i)
    {
        options.WriteString(StressValues::valueName(prefix, i), StressValues::valueData(prefix, i));
        if (i % 20 != 0 && i != count - 1)
            continue;
        options.WriteListSection(StressValues::ownList(prefix), StressValues::listOf(prefix, i));
        const QStringList shared = options.ReadListSection(StressValues::SharedList);
        if (!StressValues::isWholeList(shared))
        {
            std::fprintf(stderr, "torn shared list: %s\n", qPrintable(shared.join(' ')));
            return 3;
        }
        options.WriteListSection(StressValues::SharedList, StressValues::listOf(prefix, i));
    }
    return 0;
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 4 && args[0] == "loop")
        return loop(args[1], args[2], args[3].toInt());
    if (args == QStringList{"zygote"})
        return zygote();
    if (args.size() == 4 && args[0] == "values")
        return values(args[1], args[2], args[3].toInt());
    if (args.size() == 4 && args[0] == "forward")
        return TInstanceChannel::forwardTo(args[1], args[2], args[3].toInt()) ? 0 : 1;
    std::fprintf(stderr, "usage: see the head of StressWriter.cpp\n");
    return 64;
}

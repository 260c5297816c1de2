// The writer process of the stress tests: what a running copy of the
// program does to its files, its store and the channel, done in a loop by a
// process that the test may kill at any moment.
//
//   qw-stress-writer zygote                    reads "KIND FOLDER FIRST" lines and
//                                              for each, in a child of its own,
//                                              writes versions FIRST, FIRST+1, ...
//                                              of a subject: prints "pid N", each
//                                              number once written, then "dead N
//                                              killed" once the test killed it
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
        if (child == 0)
        {
            dieWithParent(self);
            // Said by the child, so that it comes before the child's numbers.
            say("pid " + QByteArray::number(getpid()) + '\n');
            int k = words[2].toInt();
            while (StressSubjects::write(words[0], words[1], k))
                say(QByteArray::number(k++) + '\n');
            std::fprintf(stderr, "writing version %d of %s failed\n", k, qPrintable(words[0]));
            _exit(2);
        }
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) < 0)
            return 1;
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
    const QStringList a = app.arguments();
    if (a.value(1) == "zygote")
        return zygote();
    if (a.size() == 5 && a[1] == "values")
        return values(a[2], a[3], a[4].toInt());
    if (a.size() == 5 && a[1] == "forward")
        return TInstanceChannel::forwardTo(a[2], a[3], a[4].toInt()) ? 0 : 1;
    return 64;
}

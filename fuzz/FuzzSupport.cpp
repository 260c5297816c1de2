#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace
{
QTemporaryDir* temporaryFolder = nullptr;

// Readers warn about every broken file; a fuzzer feeds nothing else.
void dropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}
} // namespace

void FuzzSupport::initialise()
{
    static int argc = 1;
    static char name[] = "quillwave-fuzz";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance())
        return;
    qInstallMessageHandler(dropMessage);
    temporaryFolder =
        new QTemporaryDir(QDir::tempPath() + QStringLiteral("/quillwave-fuzz-XXXXXX"));
    // The program folder holds the settings and the history; both stay in here.
    qputenv("QUILLWAVE_HOME", QFile::encodeName(temporaryFolder->path() + QStringLiteral("/home")));
    QDir().mkpath(temporaryFolder->path() + QStringLiteral("/home"));
    new QCoreApplication(argc, argv);
    // libFuzzer leaves through exit(): the folder goes with the process.
    std::atexit([] { delete temporaryFolder; });
}

QString FuzzSupport::folder()
{
    return temporaryFolder->path();
}

QString FuzzSupport::writeFile(const QString& name, const QByteArray& data)
{
    const QString path = folder() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size())
        fail("the input could not be written to a file", __FILE__, __LINE__);
    return path;
}

void FuzzSupport::remove(const QString& name)
{
    QDir(folder() + QLatin1Char('/') + name).removeRecursively();
    QFile::remove(folder() + QLatin1Char('/') + name);
}

void FuzzSupport::fail(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

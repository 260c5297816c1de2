#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QTextStream;
class RegistryStore;

// The settings store editor behind quillwave-reg: parses the command line,
// runs one command on the store and reports on the given streams.
class RegistryTool
{
public:
    enum ExitCode
    {
        Success = 0,
        StoreFailure = 1, // the store could not be opened, read or written
        BadInput = 2      // bad usage, a malformed file, a missing key or value
    };

    // databasePath is opened only when a command needs the store.
    RegistryTool(const QString& databasePath, QTextStream& out, QTextStream& err);
    ~RegistryTool();

    // arguments without the program name.
    int run(const QStringList& arguments);

    static QString usage();

private:
    int exportCommand(const QStringList& args);
    int importCommand(const QStringList& args);
    int getCommand(const QStringList& args);
    int setCommand(const QStringList& args);
    int deleteCommand(const QStringList& args);

    RegistryStore* openStore();
    int fail(ExitCode code, const QString& message);
    bool validKeyPath(const QString& key);

    QString databasePath;
    QTextStream& out;
    QTextStream& err;
    std::unique_ptr<RegistryStore> store;
};

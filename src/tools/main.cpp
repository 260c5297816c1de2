#include "core/store/RegistryStore.h"
#include "core/store/RegistryTool.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    RegistryTool tool(RegistryStore::defaultDatabasePath(), out, err);
    return tool.run(app.arguments().mid(1));
}

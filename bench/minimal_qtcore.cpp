// The floor for a forwarding launch: a Qt Core program that starts its
// application object and ends. A forwarding copy does this plus connecting
// to the running copy and waiting for its acknowledgement.
#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    return 0;
}

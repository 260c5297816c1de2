// The reference for the launch benchmarks: the least a tabbed program on the
// same engine has to do to show the given addresses, one view per address in
// a tab widget, with a persistent profile like a browser keeps.
//
//   bench_bare_webengine [--storage DIR] [--stdin] URL...
//
// Without --storage the profile lives in the application's data folder.
// With --stdin every line read from standard input opens one more tab: the
// floor for a running program that is handed an address.
#include <QApplication>
#include <QDir>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTabWidget>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <cstdio>
#include <unistd.h>

namespace
{
void openTab(QTabWidget& window, QWebEngineProfile& profile, const QString& address)
{
    auto* view = new QWebEngineView;
    view->setPage(new QWebEnginePage(&profile, view));
    window.setCurrentIndex(window.addTab(view, address));
    view->load(QUrl::fromUserInput(address));
}
} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("bench_bare_webengine"));

    QString storage;
    bool readStdin = false;
    QStringList addresses;
    const QStringList arguments = QApplication::arguments().mid(1);
    for (int i = 0; i < arguments.size(); ++i)
    {
        if (arguments.at(i) == QLatin1String("--storage") && i + 1 < arguments.size())
            storage = arguments.at(++i);
        else if (arguments.at(i) == QLatin1String("--stdin"))
            readStdin = true;
        else
            addresses << arguments.at(i);
    }
    if (addresses.isEmpty() && !readStdin)
    {
        std::fprintf(stderr, "usage: bench_bare_webengine [--storage DIR] [--stdin] URL...\n");
        return 2;
    }
    if (storage.isEmpty())
        storage = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(storage);

    // Declared before the window: the pages must be gone before the profile.
    QWebEngineProfile profile(QStringLiteral("Bare"));
    profile.setPersistentStoragePath(storage);
    profile.setCachePath(QDir(storage).filePath(QStringLiteral("Cache")));

    QTabWidget window;
    window.setGeometry(0, 0, 1024, 768);
    // A browser shows its first tab; the others load in the background.
    for (const QString& address : std::as_const(addresses))
        openTab(window, profile, address);
    window.setCurrentIndex(0);
    window.show();

    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    input.setEnabled(readStdin);
    QObject::connect(&input, &QSocketNotifier::activated, &app,
                     [&]
                     {
                         char buffer[4096];
                         const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
                         if (count <= 0)
                         {
                             // The other end closed: nothing more will come.
                             input.setEnabled(false);
                             return;
                         }
                         pending.append(buffer, count);
                         qsizetype end;
                         while ((end = pending.indexOf('\n')) >= 0)
                         {
                             const QString line = QString::fromUtf8(pending.left(end)).trimmed();
                             pending.remove(0, end + 1);
                             if (!line.isEmpty())
                                 openTab(window, profile, line);
                         }
                     });
    return app.exec();
}

#include "core/instance/TSignalWatcher.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

int TSignalWatcher::s_fds[2] = {-1, -1};

TSignalWatcher::TSignalWatcher(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_fds) != 0)
        return;
    ::fcntl(s_fds[0], F_SETFL, O_NONBLOCK);
    ::fcntl(s_fds[1], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(s_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this,
            [this]
            {
                unsigned char number = 0;
                while (::read(s_fds[1], &number, 1) == 1)
                    emit terminationRequested(number);
            });

    struct sigaction action = {};
    action.sa_handler = &TSignalWatcher::handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

TSignalWatcher::~TSignalWatcher()
{
    ::signal(SIGTERM, SIG_DFL);
    ::signal(SIGINT, SIG_DFL);
    delete m_notifier;
    for (int& fd : s_fds)
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void TSignalWatcher::handler(int signalNumber)
{
    // Only async-signal-safe work here: hand the number to the UI thread.
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    if (s_fds[0] >= 0) [[maybe_unused]]
        auto written = ::write(s_fds[0], &number, 1);
}

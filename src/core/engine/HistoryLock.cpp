#include "core/engine/HistoryLock.h"

#include "core/engine/THistoryIndex.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace
{
constexpr int RetryIntervalMs = 5;
}

HistoryLock::HistoryLock(const QString& historyRoot)
    : m_path(QDir(historyRoot).filePath(THistoryIndex::lockFileName()))
{
}

HistoryLock::~HistoryLock()
{
    // Closing the file releases the lock; the file stays for the next writer.
    if (m_fd >= 0)
        ::close(m_fd);
}

bool HistoryLock::tryLock(int timeoutMs)
{
    if (m_fd < 0)
    {
        // A link or a pipe planted in its place is not followed or waited on.
        m_fd = ::open(QFile::encodeName(m_path).constData(),
                      O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
        if (m_fd < 0)
            return false;
    }
    const QDeadlineTimer deadline(timeoutMs);
    forever
    {
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return false;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(RetryIntervalMs);
    }
}

#pragma once

#include <QString>

// The writers' lock of a history folder, shared by every running copy.
//
// The system holds it on an open lock file and drops it when its holder
// ends, however it ends. A lock that lives in the file's contents, as
// QLockFile's does, outlasts a copy killed between creating the file and
// naming itself in it: every copy's history writes then fail until the
// file counts as stale, and the visits of that time are lost.
class HistoryLock
{
public:
    explicit HistoryLock(const QString& historyRoot);
    ~HistoryLock();
    HistoryLock(const HistoryLock&) = delete;
    HistoryLock& operator=(const HistoryLock&) = delete;

    // Waits up to timeoutMs for the lock; false when it could not be had.
    bool tryLock(int timeoutMs);

private:
    QString m_path;
    int m_fd = -1;
};

#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a Qt signal on the UI thread, so that a
// desktop session ending or a plain `kill` closes the program the way its
// Exit command does and nothing is lost.
class TSignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit TSignalWatcher(QObject* parent = nullptr);
    ~TSignalWatcher() override;

signals:
    void terminationRequested(int signalNumber);

private:
    static void handler(int signalNumber);
    static int s_fds[2];
    QSocketNotifier* m_notifier = nullptr;
};

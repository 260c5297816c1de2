#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>

class TInstanceChannel;

// The main window's receiver of arguments forwarded by later copies.
//
// It is created on the main window (object name "wmCopyData") and attaches
// to the instance channel this process listens on; every well-formed
// forwarded record raises OnDataReceived with its text, empty when the
// later copy had no argument. Records of any other kind never get this far.
class TStWMDataCopy : public QObject
{
    Q_OBJECT

public:
    // Attaches to TInstanceChannel::listening() when this process listens.
    explicit TStWMDataCopy(QObject* owner);

    // Receives from channel instead (nullptr detaches).
    void attach(TInstanceChannel* channel);
    TInstanceChannel* channel() const;

signals:
    void OnDataReceived(const QString& text);

private:
    QPointer<TInstanceChannel> m_channel;
    QMetaObject::Connection m_connection;
};

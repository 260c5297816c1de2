#include "core/instance/TStWMDataCopy.h"

#include "core/instance/TInstanceChannel.h"

TStWMDataCopy::TStWMDataCopy(QObject* owner) : QObject(owner)
{
    setObjectName(QStringLiteral("wmCopyData"));
    attach(TInstanceChannel::listening());
}

void TStWMDataCopy::attach(TInstanceChannel* channel)
{
    disconnect(m_connection);
    m_channel = channel;
    if (channel)
        m_connection =
            connect(channel, &TInstanceChannel::dataReceived, this, &TStWMDataCopy::OnDataReceived);
}

TInstanceChannel* TStWMDataCopy::channel() const
{
    return m_channel;
}

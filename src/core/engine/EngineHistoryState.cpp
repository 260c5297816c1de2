#include "core/engine/EngineHistoryState.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QIODevice>
#include <QWebEngineHistory>

namespace
{
const QByteArray Magic = QByteArrayLiteral("QWH1");
constexpr auto Digest = QCryptographicHash::Sha256;

QByteArray digestOf(const QByteArray& payload)
{
    return QCryptographicHash::hash(payload, Digest);
}
} // namespace

QByteArray EngineHistoryState::save(const QWebEngineHistory& history)
{
    if (history.count() == 0)
        return {};
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << history;
    if (out.status() != QDataStream::Ok)
        return {};
    return Magic + digestOf(payload) + payload;
}

bool EngineHistoryState::restore(QWebEngineHistory& history, const QByteArray& state)
{
    const qsizetype digestSize = QCryptographicHash::hashLength(Digest);
    if (!state.startsWith(Magic) || state.size() <= Magic.size() + digestSize)
        return false;
    const QByteArray digest = state.mid(Magic.size(), digestSize);
    const QByteArray payload = state.mid(Magic.size() + digestSize);
    if (digestOf(payload) != digest)
        return false;
    QDataStream in(payload);
    in.setVersion(QDataStream::Qt_6_0);
    in >> history;
    return in.status() == QDataStream::Ok && history.count() > 0;
}

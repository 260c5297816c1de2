#include "core/engine/SpecialFileAddress.h"

#include <QFileInfo>
#include <QUrl>

QString SpecialFileAddress::specialFilePath(const QUrl& url)
{
    if (!url.isLocalFile())
        return {};
    const QString path = url.toLocalFile();
    return isSpecialFile(path) ? path : QString();
}

QString SpecialFileAddress::specialFilePath(const QString& address)
{
    // As the engine turns the text into an address.
    return specialFilePath(QUrl::fromUserInput(address.trimmed()));
}

bool SpecialFileAddress::isSpecialFile(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo file(path);
    // exists() and the types follow links, so a link to a pipe is a pipe.
    return file.exists() && !file.isFile() && !file.isDir();
}

#include "navigation/TabStripDrop.h"

#include "groups/InternetShortcut.h"
#include "navigation/TAddressController.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

bool TabStripDrop::Accepts(const QMimeData* data)
{
    return data && (data->hasUrls() || data->hasText());
}

TabStripDrop::Decoded TabStripDrop::Decode(const QMimeData* data)
{
    if (!data)
        return {};
    QString address;
    const QList<QUrl> urls = data->hasUrls() ? data->urls() : QList<QUrl>();
    if (!urls.isEmpty() && urls.first().isValid())
    {
        const QUrl& url = urls.first();
        address = url.toString();
        if (url.isLocalFile())
        {
            const QString path = url.toLocalFile();
            if (InternetShortcut::isShortcutFile(path) && QFileInfo(path).isFile())
                address = InternetShortcut::readUrl(path).trimmed();
        }
    }
    else if (data->hasText())
    {
        address = data->text().trimmed();
        // Text naming a shortcut file is taken as the file, as a path would be.
        if (InternetShortcut::isShortcutFile(address) && QFileInfo(address).isFile())
            address = InternetShortcut::readUrl(address).trimmed();
    }
    if (address.isEmpty())
        return {};
    if (TAddressController::IsScriptAddress(address))
        return {Refused, address};
    return {Open, address};
}

#include "groups/TFavoritesTransfer.h"

#include "core/dialogs/WindowServices.h"
#include "groups/BookmarkHtml.h"

#include <QDir>
#include <QFileInfo>

const QString TFavoritesTransfer::Section = QStringLiteral("FAVORITES_TRANSFER");

namespace
{
QString text(WindowServices* services, const char* key)
{
    return services->GetLangText(TFavoritesTransfer::Section, QLatin1String(key));
}

// The message for a failed transfer of file.
QString failure(WindowServices* services, BookmarkHtml::Error error, const QString& file,
                const QString& detail)
{
    const QString shown = QDir::toNativeSeparators(file);
    switch (error)
    {
    case BookmarkHtml::Error::CannotRead:
        return text(services, "CannotRead").arg(shown, detail);
    case BookmarkHtml::Error::TooLarge:
        return text(services, "TooLarge").arg(shown);
    case BookmarkHtml::Error::NoBookmarks:
        return text(services, "NoBookmarks").arg(shown);
    case BookmarkHtml::Error::CannotWrite:
    case BookmarkHtml::Error::None:
        break;
    }
    return text(services, "CannotWrite").arg(shown, detail);
}
} // namespace

void TFavoritesTransfer::ImportBookmarks(QWidget* /*window*/, const QString& favoritesFolder,
                                         WindowServices* services)
{
    const QString file = services->chooseOpenFile(text(services, "ImportCaption"), QDir::homePath(),
                                                  text(services, "Filter"), QStringLiteral("html"));
    if (!file.isEmpty())
        ImportFile(file, favoritesFolder, services);
}

void TFavoritesTransfer::ExportFavorites(QWidget* /*window*/, const QString& favoritesFolder,
                                         WindowServices* services)
{
    const QString file =
        services->chooseSaveFileOfType(text(services, "ExportCaption"), QDir::homePath(),
                                       text(services, "Filter"), QStringLiteral("html"));
    if (!file.isEmpty())
        ExportFile(favoritesFolder, file, services);
}

bool TFavoritesTransfer::ImportFile(const QString& file, const QString& favoritesFolder,
                                    WindowServices* services)
{
    const BookmarkHtml::ImportResult result = BookmarkHtml::import(file, favoritesFolder);
    if (!result.ok())
    {
        services->showError(
            failure(services, result.error,
                    result.error == BookmarkHtml::Error::CannotWrite ? favoritesFolder : file,
                    result.detail));
        return false;
    }
    services->notify(
        text(services, "ImportCaption"),
        text(services, "Imported").arg(result.count).arg(QFileInfo(result.folder).fileName()));
    return true;
}

bool TFavoritesTransfer::ExportFile(const QString& favoritesFolder, const QString& file,
                                    WindowServices* services)
{
    const BookmarkHtml::ExportResult result = BookmarkHtml::exportTo(favoritesFolder, file);
    if (!result.ok())
    {
        services->showError(failure(services, result.error, file, result.detail));
        return false;
    }
    services->notify(
        text(services, "ExportCaption"),
        text(services, "Exported").arg(result.count).arg(QDir::toNativeSeparators(file)));
    return true;
}

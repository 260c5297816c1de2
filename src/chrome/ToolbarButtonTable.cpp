#include "chrome/ToolbarButtonTable.h"

#include "components/ThemeIcon.h"

namespace
{
const QString Main = QStringLiteral("MAIN");

QList<ToolbarButtonInfo> makeTable()
{
    using K = ToolbarButtonKind;
    using C = MainCommand;
    using S = QStyle;
    // clang-format off
    return {
        {0, "tbNew", "MenuFileNewHint", Main, K::DropDown, C::NewTab, "tab-new", S::SP_FileIcon},
        {1, "tbOpen", "MenuFileOpenHint", Main, K::Button, C::OpenDialog, "document-open", S::SP_DialogOpenButton},
        {2, "tbBack", "MenuGoBackHint", Main, K::Button, C::Back, "go-previous", S::SP_ArrowBack},
        {3, "tbForward", "MenuGoForwardHint", Main, K::Button, C::Forward, "go-next", S::SP_ArrowForward},
        {4, "tbStop", "MenuViewStopHint", Main, K::Button, C::Stop, "process-stop", S::SP_BrowserStop},
        {5, "tbRefresh", "MenuViewRefreshHint", Main, K::Button, C::Refresh, "view-refresh", S::SP_BrowserReload},
        {6, "tbHome", "MenuGoHomeHint", Main, K::Button, C::Home, "go-home", S::SP_DirHomeIcon},
        {7, "tbSearch", "MenuGoSearchHint", Main, K::DropDown, C::SideBarSearch, "system-search", S::SP_FileDialogContentsView},
        {8, "tbAddFavorite", "MenuFavoritesAddHint", Main, K::Button, C::AddToFavorites, "bookmark-new", S::SP_FileDialogNewFolder},
        {9, "tbFavorites", "ShowFavoritesHint", "FAVORITES_POPUP", K::Button, C::FavoritesPane, "starred", S::SP_DirIcon},
        {10, "tbVostelBar", "MenuViewVostelBarHint", Main, K::Check, C::ToggleSideBar, "emblem-documents", S::SP_FileDialogListView},
        {11, "tbMail", "MailReadHint", Main, K::DropDown, C::ReadMail, "mail-read", S::SP_MessageBoxInformation},
        {12, "tbFontSize", "FontSizeHint", Main, K::DropDown, C::MediumFont, "preferences-desktop-font", S::SP_FileDialogDetailedView},
        {13, "tbPrint", "MenuFilePrintHint", Main, K::Button, C::PrintWithoutDialog, "document-print", S::SP_FileIcon},
        {14, "tbViewSource", "MenuViewSourceHint", Main, K::DropDown, C::ViewSource, "accessories-text-editor", S::SP_FileDialogInfoView},
        {15, "tbLoadImages", "MenuOptionsLoadImagesHint", Main, K::Check, C::ToggleLoadImages, "insert-image", S::SP_DesktopIcon},
        {16, "tbFullScreen", "MenuViewFullscreenHint", Main, K::Check, C::FullScreen, "view-fullscreen", S::SP_TitleBarMaxButton},
        {17, "tbFind", "MenuEditFindHint", Main, K::Button, C::Find, "edit-find", S::SP_FileDialogContentsView},
        {18, "tbSaveAs", "MenuFileSaveAsHint", Main, K::Button, C::SaveAs, "document-save-as", S::SP_DialogSaveButton},
        {19, "tbStopAll", "MenuViewStopAllHint", Main, K::Button, C::StopAll, "media-playback-stop", S::SP_MediaStop},
        {20, "tbRefreshAll", "MenuViewRefreshAllHint", Main, K::Button, C::RefreshAll, "media-playlist-repeat", S::SP_BrowserReload},
        {21, "tbSecurity", "SecurityHint", Main, K::MenuButton, C::None, "security-high", S::SP_VistaShield},
    };
    // clang-format on
}
} // namespace

const QList<ToolbarButtonInfo>& ToolbarButtonTable::All()
{
    static const QList<ToolbarButtonInfo> table = makeTable();
    return table;
}

const ToolbarButtonInfo* ToolbarButtonTable::Find(int number)
{
    return IsButtonNumber(number) ? &All().at(number) : nullptr;
}

QIcon ToolbarButtonTable::ColourIcon(int number)
{
    const ToolbarButtonInfo* info = Find(number);
    return info ? ThemeIcon(info->iconName, info->fallbackIcon) : QIcon();
}

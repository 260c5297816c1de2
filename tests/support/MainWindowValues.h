#pragma once

#include <QStringList>

// The values the main window writes back when it is destroyed, in its order.
inline const QStringList MainWindowWrittenBack = {"DisableALTShortcuts",
                                                  "OpenNewInForeground",
                                                  "AddressNewWin",
                                                  "QuickSearchNewWin",
                                                  "AutoCompleteStyle",
                                                  "MinToTray",
                                                  "ShowGo",
                                                  "VBAutoExpand",
                                                  "OpenNewAtEnd",
                                                  "VostelBarWidth",
                                                  "LimitTitleLength",
                                                  "SearchBar",
                                                  "FullScreen",
                                                  "Maximized",
                                                  "Top",
                                                  "Height",
                                                  "Left",
                                                  "Width",
                                                  "UsePopupVostel",
                                                  "ViewVostelBar",
                                                  "ViewToolbar",
                                                  "ViewAddressBar",
                                                  "ViewLinksBar",
                                                  "ViewStatusBar",
                                                  "VGCloseFirst"};

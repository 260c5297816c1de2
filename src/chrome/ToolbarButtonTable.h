#pragma once

#include "core/window/MainCommand.h"

#include <QList>
#include <QString>
#include <QStyle>

// How a toolbar button answers a click.
enum class ToolbarButtonKind
{
    Button,     // runs its command
    DropDown,   // runs its command; its arrow drops a menu
    Check,      // runs its command and shows the window's on/off state
    MenuButton, // only drops its menu
};

// One of the toolbar's command buttons. The number is what the layout file
// stores and what the button carries as its tag.
struct ToolbarButtonInfo
{
    int number;
    QString name;        // object name of the button
    QString hintKey;     // "short|long" text of the language file
    QString hintSection; // the section holding hintKey
    ToolbarButtonKind kind;
    MainCommand command;                 // None for a button that only drops a menu
    QString iconName;                    // freedesktop name, found in the Adwaita colour set
    QStyle::StandardPixmap fallbackIcon; // the style's picture when no theme has it
};

// The fixed set of buttons the toolbar is built from, numbered 0 to 21.
class ToolbarButtonTable
{
public:
    static constexpr int Count = 22;
    static constexpr int Separator = -1;
    // The buttons whose state, menu or picture the window sets.
    static constexpr int NewButton = 0;
    static constexpr int BackButton = 2;
    static constexpr int ForwardButton = 3;
    static constexpr int StopButton = 4;
    static constexpr int SearchButton = 7;
    static constexpr int SideBarButton = 10;
    static constexpr int FontButton = 12;
    static constexpr int LoadImagesButton = 15;
    static constexpr int FullScreenButton = 16;
    static constexpr int SecurityButton = 21;

    static const QList<ToolbarButtonInfo>& All();
    // Null for a number outside 0..Count-1.
    static const ToolbarButtonInfo* Find(int number);
    static bool IsButtonNumber(int number) { return number >= 0 && number < Count; }
    // The button's colour picture from the icon theme, or its fallback.
    static QIcon ColourIcon(int number);
};

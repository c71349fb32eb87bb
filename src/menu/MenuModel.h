#pragma once
// The popup menu as data: every command's caption and image, the menu's order with its
// submenus and separators, and each command's state (shown, usable, checked) from the settings
// and what is open or running. The shell builds the system's menu from it.

#include "menu/CommandIds.h"
#include "clock/PixelBuffer.h"
#include "settings/Settings.h"

#include <set>
#include <string>
#include <vector>

namespace lumora {

constexpr int NoImage = -1;
constexpr int MenuImageCount = 20;
constexpr int MenuImageSize = 16;

struct CommandInfo {
    CommandId Command;
    const wchar_t* Caption;
    int Image; // index into the menu images, NoImage for none
};
const CommandInfo& CommandInfoOf(CommandId command);

struct MenuItem {
    enum class Kind { Command, Separator, Submenu };
    Kind Type = Kind::Command;
    CommandId Command = CommandId::Option; // Kind::Command
    std::wstring Caption;                  // Kind::Submenu
    std::vector<MenuItem> Items;           // Kind::Submenu
};
// The popup menu from top to bottom; the first command is the default item.
const std::vector<MenuItem>& PopupMenuItems();

// What the states depend on besides the settings.
struct MenuContext {
    int ColourDepth = 32;
    bool LayeredWindows = true;
    bool TimerRunning = false;
    std::set<CommandId> Busy; // commands whose window is open or whose work still runs
    // False once the options dialog applied the radio clock without a serial port to choose:
    // the stored port stays, but its command is not offered.
    bool KitPortSelected = true;
};

struct CommandState {
    bool Visible = true;
    bool Enabled = true;
    bool Checked = false;
    bool Radio = false; // one of a group of which exactly one is checked

    bool operator==(const CommandState&) const = default;
};
CommandState CommandStateOf(CommandId command, const Settings& settings, const MenuContext& context);

// The commands that hand over to Windows and wait for it in place, message boxes included.
// Each runs once at a time: while it runs it counts as busy.
bool RunsInPlace(CommandId command);

// The menu as it shows: hidden commands left out, and so are separators that would lead, end or
// double up a list, and submenus left empty.
std::vector<MenuItem> VisibleMenuItems(const Settings& settings, const MenuContext& context);

// The menu images from their sheet: 20 images of 16 x 16 side by side in the upper half, their
// masks (black where the image is) below. Opaque where the mask says, clear elsewhere. A sheet of
// another size gives no images.
std::vector<PixelBuffer> SplitMenuImages(const PixelBuffer& sheet);

// The side of a menu image on a monitor of this DPI.
int MenuImageSizeAt(int dpi);
// A menu image (premultiplied, as the sheet's are) at size x size: each new pixel is the mean of
// the part of the image it covers, so a whole multiple repeats pixels and 150 % blends the edges.
PixelBuffer ScaleMenuImage(const PixelBuffer& image, int size);

// The owner-drawn menu's measures on a monitor of this DPI.
struct MenuMetrics {
    int ImageSize = MenuImageSize;
    int Gutter = 26; // the image column
    int TextGap = 8; // before and after the caption
    int SeparatorHeight = 7;
    int TextPadding = 8;  // added to the caption's height
    int ImagePadding = 6; // added to the image's height
    int CheckInset = 2;   // the frame of a checked item's image, around it
    int CheckStroke = 1;  // the tick's and the bullet's pixel

    bool operator==(const MenuMetrics&) const = default;
};
MenuMetrics MenuMetricsAt(int dpi);

} // namespace lumora

#pragma once
// The popup menu of the clock and the icon, built afresh from the menu model each time it opens:
// the system's own menu, with the command images beside the captions when they are wanted, or
// an owner-drawn modern menu (an image column, a framed highlight). The owner window gets the
// chosen command as WM_COMMAND and hands the menu's drawing messages back here.

#include "menu/MenuModel.h"
#include "shell/GdiObjects.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lumora {

struct MenuLook {
    bool Images = false; // the command images (ShowMenuIcon)
    bool Modern = false; // the owner-drawn design (UseModernMenu), only with the images
};

// A menu's items, one line each ("id=<command> text=<caption>" with checked, radio, disabled,
// default; "----" for a separator), a submenu's below its entry indented by two blanks.
std::wstring DescribeMenu(HMENU menu, int depth = 0);

// The bitmap resource of the menu images for a display of this many bits per pixel (a 16-colour
// set below 16); the calendar's buttons use them too.
int MenuImagesResource(int colourDepth);

class PopupMenu {
public:
    explicit PopupMenu(HWND owner) : owner_(owner) {}
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    // The images for a display of this many bits per pixel (a 16-colour set below 16).
    void LoadImages(int colourDepth);
    // Opens the menu at point (screen coordinates) and returns once it has closed. Its images and
    // measures follow the DPI of the monitor there.
    using StateOf = std::function<CommandState(CommandId)>;
    void Track(POINT point, const std::vector<MenuItem>& items, const StateOf& stateOf, const MenuLook& look);
    // The menu that is open now, or null.
    HMENU OpenMenu() const { return open_; }
    // WM_MEASUREITEM and WM_DRAWITEM of the modern menu; false when the message was not for it.
    bool HandleMessage(UINT message, LPARAM lParam, LRESULT& result);
    // WM_MENUCHAR: the owner-drawn item whose mnemonic is key.
    LRESULT MenuChar(wchar_t key, HMENU menu) const;

private:
    struct Entry {
        std::wstring Caption;
        int Image = NoImage;
        bool Separator = false;
        bool Default = false;
        bool Checked = false;
        bool Radio = false;
        bool ImageOnly = false; // the system draws the item, we draw its image
    };
    HMENU Build(const std::vector<MenuItem>& items, const StateOf& stateOf, const MenuLook& look, bool top);
    void Append(HMENU menu, const Entry& entry, UINT state, UINT id, HMENU submenu, const MenuLook& look);
    const DibSection* ImageOf(const Entry& entry) const;
    bool Owns(ULONG_PTR itemData) const;
    void Measure(MEASUREITEMSTRUCT& item);
    void Draw(const DRAWITEMSTRUCT& item);
    void DrawImage(HDC dc, const Entry& entry, int left, int top, bool enabled);
    static void DrawCheck(HDC dc, const RECT& box, bool radio, int stroke);
    HFONT MenuFont(bool bold);
    void ScaleImages();

    HWND owner_;
    std::vector<PixelBuffer> pictures_; // as drawn, for 96 DPI
    std::vector<DibSection> images_;    // at metrics_.ImageSize
    int dpi_ = 96;
    MenuMetrics metrics_;
    MemoryDC imageDc_;
    std::vector<std::unique_ptr<Entry>> entries_; // itemData of the owner-drawn items
    UniqueFont font_;
    UniqueFont boldFont_;
    HMENU open_ = nullptr;
};

} // namespace lumora

#include "menu/PopupMenu.h"

#include "clock/DigitSource.h"
#include "shell/Monitors.h"

#include <algorithm>
#include <cstring>
#include <cwctype>

namespace lumora {
namespace {

constexpr int MenuImagesLowColour = 1; // bitmap resources of the two image sets
constexpr int MenuImagesHighColour = 2;

COLORREF Mix(COLORREF a, COLORREF b, int percentOfA) {
    auto channel = [&](int shift) {
        const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        return static_cast<COLORREF>((ca * percentOfA + cb * (100 - percentOfA)) / 100) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

// The mnemonic of a caption: the character after a single '&'.
wchar_t MnemonicOf(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == L'&') {
            if (caption[i + 1] != L'&') {
                return static_cast<wchar_t>(std::towupper(caption[i + 1]));
            }
            ++i;
        }
    }
    return 0;
}

} // namespace

int MenuImagesResource(int colourDepth) {
    return colourDepth < 16 ? MenuImagesLowColour : MenuImagesHighColour;
}

PopupMenu::~PopupMenu() = default;

void PopupMenu::LoadImages(int colourDepth) {
    images_.clear();
    const auto sheet = LoadBitmapResource(MenuImagesResource(colourDepth));
    // Without the sheet, a menu without images rather than none.
    pictures_ = sheet ? SplitMenuImages(*sheet) : std::vector<PixelBuffer>{};
    ScaleImages();
}

void PopupMenu::ScaleImages() {
    images_.clear();
    for (const PixelBuffer& picture : pictures_) {
        const PixelBuffer image = ScaleMenuImage(picture, metrics_.ImageSize);
        DibSection& dib = images_.emplace_back(image.Width, image.Height);
        if (dib.Bits() != nullptr) {
            std::memcpy(dib.Bits(), image.Pixels.data(), image.Pixels.size() * sizeof(Pixel));
        }
    }
    GdiFlush();
}

void PopupMenu::Track(POINT point, const std::vector<MenuItem>& items, const StateOf& stateOf, const MenuLook& look) {
    entries_.clear();
    font_ = {};
    boldFont_ = {};
    dpi_ = MonitorDpiAt(point);
    if (const MenuMetrics metrics = MenuMetricsAt(dpi_); metrics != metrics_) {
        metrics_ = metrics;
        ScaleImages();
    }
    const UniqueMenu menu(Build(items, stateOf, look, true)); // its submenus go with it
    if (!menu) {
        return;
    }
    open_ = menu.Get();
    TrackPopupMenu(menu.Get(), TPM_RIGHTBUTTON, point.x, point.y, 0, owner_, nullptr);
    open_ = nullptr;
}

HMENU PopupMenu::Build(const std::vector<MenuItem>& items, const StateOf& stateOf, const MenuLook& look, bool top) {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return nullptr;
    }
    bool defaultGiven = !top;
    for (const MenuItem& item : items) {
        Entry entry;
        switch (item.Type) {
        case MenuItem::Kind::Separator:
            entry.Separator = true;
            Append(menu, entry, 0, 0, nullptr, look);
            break;
        case MenuItem::Kind::Submenu:
            entry.Caption = item.Caption;
            if (HMENU submenu = Build(item.Items, stateOf, look, false)) {
                Append(menu, entry, 0, 0, submenu, look);
            }
            break;
        case MenuItem::Kind::Command: {
            const CommandInfo& info = CommandInfoOf(item.Command);
            const CommandState state = stateOf(item.Command);
            entry.Caption = info.Caption;
            entry.Image = info.Image;
            entry.Checked = state.Checked;
            entry.Radio = state.Radio;
            entry.Default = !defaultGiven; // the first command of the menu: drawn bold
            defaultGiven = true;
            const UINT flags = (state.Enabled ? 0 : MFS_DISABLED) | (state.Checked ? MFS_CHECKED : 0) |
                               (entry.Default ? MFS_DEFAULT : 0);
            Append(menu, entry, flags, static_cast<UINT>(item.Command), nullptr, look);
            break;
        }
        }
    }
    return menu;
}

void PopupMenu::Append(HMENU menu, const Entry& entry, UINT state, UINT id, HMENU submenu, const MenuLook& look) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    info.fState = state;
    if (entry.Separator) {
        info.fType = MFT_SEPARATOR;
    } else {
        info.fMask |= MIIM_STRING | (submenu != nullptr ? MIIM_SUBMENU : MIIM_ID);
        info.dwTypeData = const_cast<wchar_t*>(entry.Caption.c_str());
        info.fType = entry.Radio ? MFT_RADIOCHECK : MFT_STRING;
        info.hSubMenu = submenu;
        info.wID = id;
        if (look.Images && !look.Modern && ImageOf(entry) != nullptr) {
            // Drawn on request: not every system blends a bitmap's alpha in a menu.
            info.fMask |= MIIM_BITMAP | MIIM_DATA;
            info.hbmpItem = HBMMENU_CALLBACK;
            entries_.push_back(std::make_unique<Entry>(entry));
            entries_.back()->ImageOnly = true;
            info.dwItemData = reinterpret_cast<ULONG_PTR>(entries_.back().get());
        }
    }
    if (look.Images && look.Modern) {
        // The caption stays with the item for the keyboard and for screen readers; the drawing is ours.
        info.fType |= MFT_OWNERDRAW;
        info.fMask |= MIIM_DATA;
        entries_.push_back(std::make_unique<Entry>(entry));
        info.dwItemData = reinterpret_cast<ULONG_PTR>(entries_.back().get());
    }
    InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
}

const DibSection* PopupMenu::ImageOf(const Entry& entry) const {
    if (entry.Image < 0 || entry.Image >= static_cast<int>(images_.size())) {
        return nullptr;
    }
    const DibSection& image = images_[static_cast<size_t>(entry.Image)];
    return image.Get() != nullptr ? &image : nullptr;
}

HFONT PopupMenu::MenuFont(bool bold) {
    UniqueFont& font = bold ? boldFont_ : font_;
    if (!font) {
        const LOGFONTW look = MenuFontAt(dpi_, bold);
        font.Reset(CreateFontIndirectW(&look));
    }
    return font ? font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool PopupMenu::HandleMessage(UINT message, LPARAM lParam, LRESULT& result) {
    if (message == WM_MEASUREITEM) {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU || !Owns(item->itemData)) {
            return false;
        }
        Measure(*item);
        result = TRUE;
        return true;
    }
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU || !Owns(item->itemData)) {
            return false;
        }
        Draw(*item);
        result = TRUE;
        return true;
    }
    return false;
}

bool PopupMenu::Owns(ULONG_PTR itemData) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [itemData](const auto& entry) { return reinterpret_cast<ULONG_PTR>(entry.get()) == itemData; });
}

// Owner-drawn items have no text the system could match a key against.
LRESULT PopupMenu::MenuChar(wchar_t key, HMENU menu) const {
    const wchar_t wanted = static_cast<wchar_t>(std::towupper(key));
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA | MIIM_STATE;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) || !Owns(info.dwItemData) ||
            (info.fState & MFS_DISABLED) != 0) {
            continue;
        }
        const auto* entry = reinterpret_cast<const Entry*>(info.dwItemData);
        if (!entry->Separator && MnemonicOf(entry->Caption) == wanted) {
            return MAKELRESULT(i, MNC_EXECUTE);
        }
    }
    return MAKELRESULT(0, MNC_IGNORE);
}

void PopupMenu::Measure(MEASUREITEMSTRUCT& item) {
    const auto* entry = reinterpret_cast<const Entry*>(item.itemData);
    if (entry->ImageOnly) {
        item.itemWidth = static_cast<UINT>(metrics_.ImageSize);
        item.itemHeight = static_cast<UINT>(metrics_.ImageSize);
        return;
    }
    if (entry->Separator) {
        item.itemWidth = 1;
        item.itemHeight = static_cast<UINT>(metrics_.SeparatorHeight);
        return;
    }
    MemoryDC dc;
    SelectedObject font(dc.Get(), MenuFont(entry->Default));
    RECT text{0, 0, 0, 0};
    DrawTextW(dc.Get(), entry->Caption.c_str(), -1, &text, DT_SINGLELINE | DT_CALCRECT);
    item.itemWidth = static_cast<UINT>(metrics_.Gutter + metrics_.TextGap + text.right + 2 * metrics_.TextGap);
    item.itemHeight = static_cast<UINT>(
        std::max<LONG>(text.bottom + metrics_.TextPadding, metrics_.ImageSize + metrics_.ImagePadding));
}

void PopupMenu::Draw(const DRAWITEMSTRUCT& item) {
    const auto* entry = reinterpret_cast<const Entry*>(item.itemData);
    HDC dc = item.hDC;
    const RECT rect = item.rcItem;
    const bool enabled = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) == 0;
    if (entry->ImageOnly) {
        DrawImage(dc, *entry, rect.left, (rect.top + rect.bottom - metrics_.ImageSize) / 2, enabled);
        return;
    }
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    Fill(dc, rect, window);
    Fill(dc, {rect.left, rect.top, rect.left + metrics_.Gutter, rect.bottom}, GetSysColor(COLOR_BTNFACE));
    if (entry->Separator) {
        const int y = (rect.top + rect.bottom) / 2;
        Fill(dc, {rect.left + metrics_.Gutter + metrics_.TextGap, y, rect.right, y + metrics_.CheckStroke},
             GetSysColor(COLOR_BTNSHADOW));
        return;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    if (selected && enabled) {
        const RECT outer{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
        Fill(dc, outer, highlight);
        Fill(dc, {outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1}, Mix(highlight, window, 25));
    }
    const int size = metrics_.ImageSize;
    const int imageTop = (rect.top + rect.bottom - size) / 2;
    const int imageLeft = rect.left + (metrics_.Gutter - size) / 2;
    if (entry->Checked) {
        // A framed box behind the image, or the check mark or bullet where there is none.
        const int inset = metrics_.CheckInset;
        const RECT box{imageLeft - inset, imageTop - inset, imageLeft + size + inset, imageTop + size + inset};
        Fill(dc, box, highlight);
        Fill(dc, {box.left + 1, box.top + 1, box.right - 1, box.bottom - 1}, Mix(highlight, window, 40));
        if (ImageOf(*entry) == nullptr) {
            DrawCheck(dc, box, entry->Radio, metrics_.CheckStroke);
        }
    }
    DrawImage(dc, *entry, imageLeft, imageTop, enabled);
    SelectedObject font(dc, MenuFont(entry->Default));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_MENUTEXT : COLOR_GRAYTEXT));
    RECT text{rect.left + metrics_.Gutter + metrics_.TextGap, rect.top, rect.right - metrics_.TextGap, rect.bottom};
    const UINT prefix = (item.itemState & ODS_NOACCEL) != 0 ? DT_HIDEPREFIX : 0;
    DrawTextW(dc, entry->Caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | prefix);
}

// A disabled command's image is faded.
void PopupMenu::DrawImage(HDC dc, const Entry& entry, int left, int top, bool enabled) {
    if (const DibSection* image = ImageOf(entry)) {
        SelectedObject selectedImage(imageDc_.Get(), image->Get());
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(enabled ? 255 : 80), AC_SRC_ALPHA};
        const int size = metrics_.ImageSize;
        GdiAlphaBlend(dc, left, top, size, size, imageDc_.Get(), 0, 0, size, size, blend);
    }
}

// A tick, or a dot for the chosen one of a group.
void PopupMenu::DrawCheck(HDC dc, const RECT& box, bool radio, int stroke) {
    const COLORREF ink = GetSysColor(COLOR_MENUTEXT);
    const int cx = (box.left + box.right) / 2;
    const int cy = (box.top + box.bottom) / 2;
    const int u = stroke;
    if (radio) {
        Fill(dc, {cx - 2 * u, cy - 3 * u, cx + 2 * u, cy + 3 * u}, ink);
        Fill(dc, {cx - 3 * u, cy - 2 * u, cx + 3 * u, cy + 2 * u}, ink);
        return;
    }
    for (int i = 0; i < 7; ++i) {
        const int x = cx + (i - 3) * u;
        const int y = cy + (i < 3 ? i - 1 : 3 - i) * u;
        Fill(dc, {x, y, x + u, y + 3 * u}, ink);
    }
}

std::wstring DescribeMenu(HMENU menu, int depth) {
    std::wstring description;
    const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = L"";
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = static_cast<UINT>(std::size(text) - 1);
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) {
            continue;
        }
        description.append(static_cast<size_t>(depth) * 2, L' ');
        if ((info.fType & MFT_SEPARATOR) != 0) {
            description += L"----";
        } else {
            description += L"id=" + std::to_wstring(info.hSubMenu != nullptr ? 0 : info.wID) + L" text=" + text;
            if ((info.fState & MFS_CHECKED) != 0) {
                description += (info.fType & MFT_RADIOCHECK) != 0 ? L" radio" : L" checked";
            }
            if ((info.fState & MFS_DISABLED) != 0) {
                description += L" disabled";
            }
            if ((info.fState & MFS_DEFAULT) != 0) {
                description += L" default";
            }
        }
        description += L"\n";
        if (info.hSubMenu != nullptr) {
            description += DescribeMenu(info.hSubMenu, depth + 1);
        }
    }
    return description;
}

} // namespace lumora

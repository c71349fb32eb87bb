#include "options/ColourBox.h"

#include "shell/GdiObjects.h"

#include <commctrl.h>

namespace lumora {
namespace {

constexpr wchar_t CustomEntryText[] = L"カスタム...";

int NamedCount() {
    return static_cast<int>(ColourChoices().size());
}

int EntryCount(HWND box) {
    return static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
}

// The last entry opens the colour dialog; an extra entry before it holds a custom colour.
int CustomEntry(HWND box) {
    return EntryCount(box) - 1;
}

bool HasExtraEntry(HWND box) {
    return EntryCount(box) > NamedCount() + 1;
}

int AddEntry(HWND box, int index, const std::wstring& text, Colour colour) {
    const auto added = static_cast<int>(
        SendMessageW(box, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str())));
    if (added >= 0) {
        SendMessageW(box, CB_SETITEMDATA, static_cast<WPARAM>(added), static_cast<LPARAM>(colour));
    }
    return added;
}

void SetExtraEntry(HWND box, Colour colour) {
    if (HasExtraEntry(box)) {
        SendMessageW(box, CB_DELETESTRING, static_cast<WPARAM>(NamedCount()), 0);
    }
    AddEntry(box, NamedCount(), CustomColourText(colour), colour);
}

Colour EntryColour(HWND box, int index) {
    return static_cast<Colour>(SendMessageW(box, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

// The colour the box showed before "カスタム..." was chosen: the dialog starts from it, and
// Cancel returns to it.
Colour AcceptedColour(HWND box) {
    return static_cast<Colour>(GetWindowLongPtrW(box, GWLP_USERDATA));
}

void SetAcceptedColour(HWND box, Colour colour) {
    SetWindowLongPtrW(box, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
}

COLORREF Resolved(Colour colour) {
    return IsSystemColour(colour) ? GetSysColor(SystemColourIndex(colour)) : (colour & 0xFFFFFF);
}

// Half way to the page colour, so that a disabled box still hints at its colour.
COLORREF Greyed(COLORREF colour) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    return RGB((GetRValue(colour) + GetRValue(face)) / 2, (GetGValue(colour) + GetGValue(face)) / 2,
               (GetBValue(colour) + GetBValue(face)) / 2);
}

std::wstring EntryText(HWND box, int index) {
    const auto length = SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
}

// An owner-drawn box keeps the entry height it was measured with: the box is measured before
// the page gives it its font, and again whenever the dialog changes the font for a new DPI.
void FitEntries(HWND box) {
    WindowDC dc(box);
    SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    SendMessageW(box, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), metrics.tmHeight + 2);
    SendMessageW(box, CB_SETITEMHEIGHT, 0, metrics.tmHeight + 2);
}

constexpr UINT_PTR ColourBoxSubclass = 1;

LRESULT CALLBACK ColourBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(box, ColourBoxProc, ColourBoxSubclass);
    }
    const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
    if (message == WM_SETFONT) {
        FitEntries(box);
    }
    return result;
}

} // namespace

void PrepareColourBox(PageControls& page, int id) {
    HWND box = page.Item(id);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    for (const ColourChoice& choice : ColourChoices()) {
        AddEntry(box, -1, std::wstring(choice.Name), choice.Value);
    }
    AddEntry(box, -1, CustomEntryText, 0);
    FitEntries(box);
    SetWindowSubclass(box, ColourBoxProc, ColourBoxSubclass, 0);
}

void ExchangeColour(PageControls& page, int id, Colour& colour) {
    HWND box = page.Item(id);
    if (page.Loading()) {
        int index = ColourChoiceIndex(colour);
        if (index < 0) {
            SetExtraEntry(box, colour);
            index = NamedCount();
        }
        SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SetAcceptedColour(box, colour);
        return;
    }
    const auto selected = static_cast<int>(SendMessageW(box, CB_GETCURSEL, 0, 0));
    if (selected < 0) {
        return;
    }
    if (selected == CustomEntry(box)) {
        colour = AcceptedColour(box); // the dialog is about to open
        return;
    }
    colour = EntryColour(box, selected);
    SetAcceptedColour(box, colour);
}

bool ColourBoxCommand(HWND page, int id, int code, Colour& colour, OptionActions& actions) {
    HWND box = GetDlgItem(page, id);
    if (code != CBN_SELCHANGE || box == nullptr) {
        return false;
    }
    if (SendMessageW(box, CB_GETCURSEL, 0, 0) != CustomEntry(box)) {
        return false;
    }
    Colour picked = Resolved(AcceptedColour(box)); // the dialog knows RGB values only
    if (actions.PickColour(GetAncestor(page, GA_ROOT), picked)) {
        SetAcceptedColour(box, picked);
        actions.Changed();
    }
    colour = AcceptedColour(box);
    return true;
}

bool DrawColourBoxItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_COMBOBOX) {
        return false;
    }
    HDC dc = item.hDC;
    const RECT& area = item.rcItem;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool selected = !disabled && (item.itemState & ODS_SELECTED) != 0;
    Fill(dc, area, GetSysColor(selected ? COLOR_HIGHLIGHT : disabled ? COLOR_BTNFACE : COLOR_WINDOW));
    const auto index = static_cast<int>(item.itemID);
    if (index < 0 || index >= EntryCount(item.hwndItem)) {
        return true;
    }

    const int height = area.bottom - area.top;
    const RECT swatch{area.left + 2, area.top + 2, area.left + 2 + height * 3 / 2, area.bottom - 2};
    if (index != CustomEntry(item.hwndItem)) {
        const COLORREF colour = Resolved(static_cast<Colour>(item.itemData));
        FrameRect(dc, &swatch, GetSysColorBrush(disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
        const RECT inside{swatch.left + 1, swatch.top + 1, swatch.right - 1, swatch.bottom - 1};
        Fill(dc, inside, disabled ? Greyed(colour) : colour);
    }

    const std::wstring text = EntryText(item.hwndItem, index);
    RECT textArea{swatch.right + 4, area.top, area.right - 2, area.bottom};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        DrawFocusRect(dc, &area);
    }
    return true;
}

} // namespace lumora

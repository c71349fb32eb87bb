#include "options/VisibleHoursView.h"

#include "options/ViewPagesRes.h"
#include "shell/GdiObjects.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {
namespace {

constexpr std::array<std::wstring_view, 7> DayTabs{L"月", L"火", L"水", L"木", L"金", L"土", L"日"};
constexpr int HoursPerDay = 24;
constexpr int MinuteRows = 10;
constexpr int MinuteColumns = 6;
constexpr int TabEdge = 3; // pixels of the tab control's frame below the tabs

// What the minute list and the hour box report to the page, in place of the codes the dialog
// takes for edits: moving to another hour edits nothing, and the list's focus notices (whose
// codes equal a combo box's selection and edit changes) are not edits either.
constexpr WORD MinuteStateCycled = 0x4C01; // a box of the caret minute was clicked, or space pressed
constexpr WORD PresetChosen = 0x4C02;      // an item of the popup menu, by its id
constexpr WORD HourChosen = 0x4C03;        // the hour box took another entry

constexpr UINT_PTR EditorSubclass = 1;

// The themed check box, from uxtheme when the system has it and a theme is on.
class ButtonTheme {
public:
    ButtonTheme() : module_(LoadLibraryW(L"uxtheme.dll")) {
        if (module_) {
            open_ = reinterpret_cast<OpenFunction>(Function("OpenThemeData"));
            close_ = reinterpret_cast<CloseFunction>(Function("CloseThemeData"));
            draw_ = reinterpret_cast<DrawFunction>(Function("DrawThemeBackground"));
        }
    }

    // False when themes are off: the caller draws the classic box.
    bool DrawCheckBox(HWND window, HDC dc, const RECT& box, int state) const {
        if (open_ == nullptr || close_ == nullptr || draw_ == nullptr) {
            return false;
        }
        HTHEME theme = open_(window, L"BUTTON");
        if (theme == nullptr) {
            return false;
        }
        const HRESULT drawn = draw_(theme, dc, BP_CHECKBOX, state, &box, nullptr);
        close_(theme);
        return SUCCEEDED(drawn);
    }

private:
    using OpenFunction = HTHEME(WINAPI*)(HWND, LPCWSTR);
    using CloseFunction = HRESULT(WINAPI*)(HTHEME);
    using DrawFunction = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);

    void* Function(const char* name) const { return reinterpret_cast<void*>(GetProcAddress(module_.Get(), name)); }

    UniqueModule module_;
    OpenFunction open_ = nullptr;
    CloseFunction close_ = nullptr;
    DrawFunction draw_ = nullptr;
};

const ButtonTheme& Theme() {
    static const ButtonTheme theme;
    return theme;
}

// Where a minute's box lies in its item: at the left, square, as tall as the text.
RECT BoxRect(HDC dc, const RECT& item) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int height = item.bottom - item.top;
    const int size = std::max(1, std::min<int>(metrics.tmHeight + 1, height - 2));
    const int left = item.left + size / 4;
    const int top = item.top + (height - size) / 2;
    return {left, top, left + size, top + size};
}

// The minute whose box is at a point of the list's client area; -1 elsewhere.
int BoxAt(HWND list, POINT at) {
    const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y));
    if (HIWORD(hit) != 0) {
        return -1;
    }
    const int minute = LOWORD(hit);
    RECT item{};
    if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(minute), reinterpret_cast<LPARAM>(&item)) == LB_ERR) {
        return -1;
    }
    const WindowDC dc(list);
    const SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    const RECT box = BoxRect(dc.Get(), item);
    return PtInRect(&box, at) ? minute : -1;
}

MinuteStates ReadBoxes(HWND list) {
    MinuteStates boxes{};
    for (size_t m = 0; m < boxes.size(); ++m) {
        boxes[m] = static_cast<uint8_t>(SendMessageW(list, LB_GETITEMDATA, m, 0));
    }
    return boxes;
}

void ShowBoxes(HWND list, const MinuteStates& boxes) {
    if (ReadBoxes(list) == boxes) {
        return;
    }
    for (size_t m = 0; m < boxes.size(); ++m) {
        SendMessageW(list, LB_SETITEMDATA, m, boxes[m]);
    }
    InvalidateRect(list, nullptr, FALSE);
}

std::vector<int> SelectedMinutes(HWND list) {
    std::vector<int> minutes(MinutesPerHour);
    const LRESULT count = SendMessageW(list, LB_GETSELITEMS, minutes.size(), reinterpret_cast<LPARAM>(minutes.data()));
    minutes.resize(count == LB_ERR ? 0 : static_cast<size_t>(count));
    return minutes;
}

// Ten rows of six columns fill the list whatever its size (the dialog resizes it for a DPI).
void FitMinutes(HWND list) {
    RECT client{};
    GetClientRect(list, &client);
    SendMessageW(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(std::max<LONG>(1, client.bottom / MinuteRows), 0));
    SendMessageW(list, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(std::max<LONG>(1, client.right / MinuteColumns)), 0);
    InvalidateRect(list, nullptr, TRUE);
}

// Each tab an eighth of the control wide. The tabs only choose the day, so the control is a
// strip as tall as its tabs and the edge below them, whatever the font's size.
void FitTabs(HWND tabs) {
    RECT client{};
    GetClientRect(tabs, &client);
    TabCtrl_SetMinTabWidth(tabs, client.right / (static_cast<int>(DayTabs.size()) + 1));
    RECT tab{};
    if (TabCtrl_GetItemRect(tabs, 0, &tab) && client.bottom != tab.bottom + TabEdge) {
        SetWindowPos(tabs, nullptr, 0, 0, client.right, tab.bottom + TabEdge,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void ReportToPage(HWND control, int id, WORD code) {
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

void ShowPresets(HWND list, LPARAM point) {
    const UniqueMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_HOURS_POPUP)));
    HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : nullptr;
    if (popup == nullptr) {
        return;
    }
    POINT at{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    if (at.x == -1 && at.y == -1) { // from the keyboard: below the caret minute
        const LRESULT caret = SendMessageW(list, LB_GETCARETINDEX, 0, 0);
        RECT item{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(std::max<LRESULT>(caret, 0)),
                     reinterpret_cast<LPARAM>(&item));
        at = {item.left, item.bottom};
        ClientToScreen(list, &at);
    }
    const auto chosen = static_cast<int>(TrackPopupMenu(
        popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, list, nullptr));
    if (chosen != 0) {
        ReportToPage(list, chosen, PresetChosen);
    }
}

// The minute list: a click on a box or the space key cycles the caret minute's state (the
// page gives it to the whole selection); a right click or the menu key opens the presets.
LRESULT CALLBACK MinuteListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_NCDESTROY:
        RemoveWindowSubclass(list, MinuteListProc, EditorSubclass);
        break;
    case WM_SIZE: {
        const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
        FitMinutes(list);
        return result;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const int minute = BoxAt(list, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (minute < 0) {
            break;
        }
        if (SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(minute), 0) > 0) {
            // A box of the selection changes the selection's states and keeps the selection.
            SetFocus(list);
            SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(minute), FALSE);
        } else {
            DefSubclassProc(list, WM_LBUTTONDOWN, wParam, lParam); // selects it as any click does
        }
        ReportToPage(list, GetDlgCtrlID(list), MinuteStateCycled);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            ReportToPage(list, GetDlgCtrlID(list), MinuteStateCycled);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L' ') {
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        ShowPresets(list, lParam);
        return 0;
    default:
        break;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

LRESULT CALLBACK DayTabsProc(HWND tabs, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(tabs, DayTabsProc, EditorSubclass);
    }
    const LRESULT result = DefSubclassProc(tabs, message, wParam, lParam);
    if (message == WM_SIZE || message == WM_SETFONT) {
        FitTabs(tabs);
    }
    return result;
}

// The page: the hour box's new entry and the list's own notices arrive as the editor's codes.
LRESULT CALLBACK EditorPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(page, EditorPageProc, EditorSubclass);
    } else if (message == WM_COMMAND && lParam != 0) {
        const int id = LOWORD(wParam);
        const WORD code = HIWORD(wParam);
        if (id == IDC_MINUTE_LIST && code != MinuteStateCycled && code != PresetChosen) {
            return 0;
        }
        if (id == IDC_HOURS_COMBO && code == CBN_SELCHANGE) {
            wParam = MAKEWPARAM(id, HourChosen);
        }
    }
    return DefSubclassProc(page, message, wParam, lParam);
}

} // namespace

void PrepareVisibleHours(PageControls& page) {
    HWND tabs = page.Item(IDC_HOURS_TAB);
    for (size_t day = 0; day < DayTabs.size(); ++day) {
        std::wstring caption(DayTabs[day]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        TabCtrl_InsertItem(tabs, static_cast<int>(day), &item);
    }
    FitTabs(tabs);
    SetWindowSubclass(tabs, DayTabsProc, EditorSubclass, 0);

    std::vector<std::wstring> hours;
    for (int hour = 0; hour < HoursPerDay; ++hour) {
        hours.push_back(std::to_wstring(hour) + L" 時");
    }
    page.FillChoices(IDC_HOURS_COMBO, hours);

    HWND list = page.Item(IDC_MINUTE_LIST);
    for (int minute = 0; minute < MinutesPerHour; ++minute) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(minute).c_str()));
    }
    FitMinutes(list);
    SendMessageW(list, LB_SETSEL, TRUE, 0);
    SendMessageW(list, LB_SETCARETINDEX, 0, FALSE);
    SetWindowSubclass(list, MinuteListProc, EditorSubclass, 0);
    SetWindowSubclass(page.Page(), EditorPageProc, EditorSubclass, 0);
}

void ExchangeVisibleHours(PageControls& page, VisibleHoursEditor& editor) {
    HWND list = page.Item(IDC_MINUTE_LIST);
    if (!page.Loading()) {
        editor.StoreShownMinutes(ReadBoxes(list));
        return;
    }
    TabCtrl_SetCurSel(page.Item(IDC_HOURS_TAB), editor.Day());
    SendMessageW(page.Item(IDC_HOURS_COMBO), CB_SETCURSEL, static_cast<WPARAM>(editor.Hour()), 0);
    ShowBoxes(list, editor.ShownMinutes());
}

bool VisibleHoursCommand(HWND page, int id, int code, VisibleHoursEditor& editor, OptionActions& actions) {
    HWND list = GetDlgItem(page, IDC_MINUTE_LIST);
    if (id == IDC_HOURS_COMBO && code == HourChosen) {
        const auto hour = static_cast<int>(SendMessageW(GetDlgItem(page, id), CB_GETCURSEL, 0, 0));
        if (hour < 0) {
            return false;
        }
        editor.Switch(editor.Day(), hour, ReadBoxes(list));
        return true;
    }
    if (id == IDC_MINUTE_LIST && code == MinuteStateCycled) {
        const auto caret = static_cast<int>(SendMessageW(list, LB_GETCARETINDEX, 0, 0));
        if (caret < 0 || caret >= MinutesPerHour) {
            return false;
        }
        std::vector<int> minutes = SelectedMinutes(list);
        minutes.push_back(caret);
        editor.StoreMinutes(minutes, NextMinuteState(editor.ShownMinutes()[static_cast<size_t>(caret)]));
        actions.Changed();
        return true;
    }
    if (code == PresetChosen && id >= IDM_HOURS_SHOW_WEEK && id <= IDM_HOURS_BROADCAST) {
        editor.ApplyPreset(static_cast<VisibleHoursPreset>(id - IDM_HOURS_SHOW_WEEK));
        ShowBoxes(list, editor.ShownMinutes());
        SendMessageW(OptionDialogOf(page), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
        actions.Changed();
        return true;
    }
    return false;
}

bool VisibleHoursNotify(HWND page, const NMHDR& header, VisibleHoursEditor& editor) {
    if (header.idFrom != IDC_HOURS_TAB || header.code != TCN_SELCHANGE) {
        return false;
    }
    const int day = TabCtrl_GetCurSel(header.hwndFrom);
    if (day < 0) {
        return false;
    }
    editor.Switch(day, editor.Hour(), ReadBoxes(GetDlgItem(page, IDC_MINUTE_LIST)));
    return true;
}

// A minute: its box on the window colour, then its number, highlighted when selected.
bool DrawMinuteBox(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_LISTBOX || item.CtlID != IDC_MINUTE_LIST ||
        item.itemID >= static_cast<UINT>(MinutesPerHour)) {
        return false;
    }
    HDC dc = item.hDC;
    const RECT& area = item.rcItem;
    FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));

    const auto state = static_cast<uint8_t>(item.itemData);
    RECT box = BoxRect(dc, area);
    constexpr std::array<int, 3> themed{CBS_UNCHECKEDNORMAL, CBS_CHECKEDNORMAL, CBS_MIXEDNORMAL};
    if (!Theme().DrawCheckBox(item.hwndItem, dc, box, themed[std::min<size_t>(state, 2)])) {
        const UINT classic = state == 2   ? DFCS_BUTTON3STATE | DFCS_CHECKED
                             : state == 1 ? DFCS_BUTTONCHECK | DFCS_CHECKED
                                          : DFCS_BUTTONCHECK;
        DrawFrameControl(dc, &box, DFC_BUTTON, classic);
    }

    const int gap = std::max<int>(2, (box.right - box.left) / 4);
    RECT label{box.right + gap, area.top + 1, area.right - gap, area.bottom - 1};
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    if (selected) {
        FillRect(dc, &label, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    const std::wstring text = std::to_wstring(item.itemID);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT textArea{label.left + gap, label.top, label.right, label.bottom};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        DrawFocusRect(dc, &label);
    }
    return true;
}

} // namespace lumora

#include "options/PageControls.h"

#include <commctrl.h>

#include <algorithm>

namespace lumora {
namespace {

constexpr UINT_PTR SignedFieldSubclass = 1;

// Digits anywhere, a minus sign only in front; everything else is refused as an ES_NUMBER edit
// refuses it. Pasted text is left to the field's conversion on Apply.
LRESULT CALLBACK SignedFieldProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_CHAR) {
        const auto ch = static_cast<wchar_t>(wParam);
        DWORD start = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        const bool control = ch < L' ';
        const bool digit = ch >= L'0' && ch <= L'9';
        if (!control && !digit && !(ch == L'-' && start == 0)) {
            MessageBeep(MB_OK);
            return 0;
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(edit, SignedFieldProc, SignedFieldSubclass);
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

} // namespace

void PageControls::Text(int id, std::wstring& value) {
    if (Loading()) {
        SetText(id, value);
    } else {
        value = GetText(id);
    }
}

void PageControls::Check(int id, bool& value) {
    if (Loading()) {
        CheckDlgButton(page_, id, value ? BST_CHECKED : BST_UNCHECKED);
    } else {
        value = IsDlgButtonChecked(page_, id) == BST_CHECKED;
    }
}

void PageControls::Choice(int id, int& index) {
    if (Loading()) {
        SendDlgItemMessageW(page_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    } else {
        index = static_cast<int>(SendDlgItemMessageW(page_, id, CB_GETCURSEL, 0, 0));
    }
}

void PageControls::UpDownPosition(int id, int32_t& position) {
    if (Loading()) {
        SendDlgItemMessageW(page_, id, UDM_SETPOS32, 0, position);
    } else {
        BOOL unreadable = FALSE;
        position = static_cast<int32_t>(
            SendDlgItemMessageW(page_, id, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&unreadable)));
    }
}

void PageControls::ChoiceText(int id, std::wstring& value) {
    if (Loading()) {
        const LRESULT found = SendDlgItemMessageW(page_, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                  reinterpret_cast<LPARAM>(value.c_str()));
        SendDlgItemMessageW(page_, id, CB_SETCURSEL, found == CB_ERR ? static_cast<WPARAM>(-1) : found, 0);
        return;
    }
    const LRESULT selected = SendDlgItemMessageW(page_, id, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) {
        value.clear();
        return;
    }
    const LRESULT length = SendDlgItemMessageW(page_, id, CB_GETLBTEXTLEN, selected, 0);
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    SendDlgItemMessageW(page_, id, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    value = std::move(text);
}

void PageControls::Slider(int id, int& position) {
    if (Loading()) {
        SendDlgItemMessageW(page_, id, TBM_SETPOS, TRUE, position);
    } else {
        position = static_cast<int>(SendDlgItemMessageW(page_, id, TBM_GETPOS, 0, 0));
    }
}

void PageControls::Radio(std::initializer_list<int> ids, int& index) {
    int i = 0;
    for (const int id : ids) {
        if (Loading()) {
            CheckDlgButton(page_, id, i == index ? BST_CHECKED : BST_UNCHECKED);
        } else if (IsDlgButtonChecked(page_, id) == BST_CHECKED) {
            index = i;
        }
        ++i;
    }
}

void PageControls::Show(std::initializer_list<int> ids, bool shown) {
    for (const int id : ids) {
        ShowWindow(Item(id), shown ? SW_SHOWNA : SW_HIDE);
    }
}

void PageControls::Enable(std::initializer_list<int> ids, bool enabled) {
    for (const int id : ids) {
        EnableWindow(Item(id), enabled ? TRUE : FALSE);
    }
}

void PageControls::SetText(int id, std::wstring_view text) {
    const std::wstring terminated(text);
    if (GetText(id) != terminated) { // an unchanged text reports no change
        SetDlgItemTextW(page_, id, terminated.c_str());
    }
}

std::wstring PageControls::GetText(int id) const {
    HWND item = Item(id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
    return text;
}

void PageControls::FillChoices(int id, std::span<const std::wstring_view> entries) {
    SendDlgItemMessageW(page_, id, CB_RESETCONTENT, 0, 0);
    for (const std::wstring_view entry : entries) {
        const std::wstring text(entry);
        SendDlgItemMessageW(page_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void PageControls::FillChoices(int id, const std::vector<std::wstring>& entries) {
    SendDlgItemMessageW(page_, id, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& entry : entries) {
        SendDlgItemMessageW(page_, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
}

void PageControls::NumberField(int editId, int upDownId, NumberRange range, int characters, int step) {
    HWND edit = Item(editId);
    LimitText(editId, characters);
    if (range.Min < 0) {
        SetWindowLongPtrW(edit, GWL_STYLE, GetWindowLongPtrW(edit, GWL_STYLE) & ~static_cast<LONG_PTR>(ES_NUMBER));
        SetWindowSubclass(edit, SignedFieldProc, SignedFieldSubclass, 0);
    } else {
        SetWindowLongPtrW(edit, GWL_STYLE, GetWindowLongPtrW(edit, GWL_STYLE) | ES_NUMBER);
    }
    HWND upDown = Item(upDownId);
    SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    SendMessageW(upDown, UDM_SETRANGE32, static_cast<WPARAM>(range.Min), range.Max);
    if (step != 1) {
        UDACCEL accel{0, static_cast<UINT>(step)};
        SendMessageW(upDown, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    }
}

void PageControls::LimitText(int id, int characters) {
    HWND item = Item(id);
    wchar_t className[32] = {};
    GetClassNameW(item, className, static_cast<int>(std::size(className)));
    const UINT message = _wcsicmp(className, WC_COMBOBOXW) == 0 ? CB_LIMITTEXT : EM_LIMITTEXT;
    SendMessageW(item, message, static_cast<WPARAM>(characters), 0);
}

void PageControls::SliderRange(int id, int min, int max, int pageStep) {
    SendDlgItemMessageW(page_, id, TBM_SETRANGEMIN, FALSE, min);
    SendDlgItemMessageW(page_, id, TBM_SETRANGEMAX, TRUE, max);
    if (pageStep > 0) {
        SendDlgItemMessageW(page_, id, TBM_SETPAGESIZE, 0, pageStep);
    }
}

} // namespace lumora

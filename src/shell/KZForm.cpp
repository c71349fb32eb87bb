#include "shell/KZForm.h"

#include "shell/FormRules.h"

#include "shell/ScreenGeometry.h"
#include "resources/ResourceIds.h"
#include "shell/Application.h"
#include "shell/MessageBoxes.h"

#include <exception>

namespace lumora {

TKZForm::~TKZForm() {
    if (hwnd_ != nullptr) {
        // No more messages may reach a half-destroyed object.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

namespace {

// The hourglass while a form is built.
struct WaitCursor {
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    ~WaitCursor() { SetCursor(previous); }
};

bool RegisterFormClass(HINSTANCE instance, const wchar_t* name, UINT style, WNDPROC procedure, int extraBytes,
                       HBRUSH background, HICON icon) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(instance, name, &wc)) {
        return true;
    }
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = extraBytes;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0;
}

} // namespace

bool TKZForm::CreateForm(const CreateParams& p) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    dialog_ = p.Dialog;
    WaitCursor waitCursor;
    if (!RegisterFormClass(instance, p.ClassName, p.ClassStyle, WindowProc, 0,
                           p.Dialog ? GetSysColorBrush(COLOR_BTNFACE) : nullptr, LoadIconW(instance, L"MAINICON"))) {
        return false;
    }
    CreateWindowExW(p.ExStyle | WS_EX_CONTROLPARENT, p.ClassName, p.Caption, p.Style, p.Left, p.Top, p.Width, p.Height,
                    p.Owner, nullptr, instance, this);
    if (hwnd_ == nullptr) {
        return false;
    }
    RemoveMeaninglessSystemMenuItems();
    return true;
}

bool TKZForm::CreateDialogForm(const wchar_t* className, UINT templateId, HWND owner) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    dialog_ = true;
    WaitCursor waitCursor;
    // A dialog's class keeps the dialog manager's data in its extra bytes.
    if (!RegisterFormClass(instance, className, 0, DialogClassProc, DLGWINDOWEXTRA, GetSysColorBrush(COLOR_BTNFACE),
                           nullptr)) {
        return false;
    }
    const HWND made =
        CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), owner, DialogProc, reinterpret_cast<LPARAM>(this));
    if (made == nullptr || hwnd_ == nullptr) {
        return false;
    }
    RemoveMeaninglessSystemMenuItems();
    return true;
}

LRESULT TKZForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandler(message, wParam, lParam);
}

bool TKZForm::BaseConduct(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_HELP:
        if (IsWindowEnabled(hwnd_) && IsWindowVisible(hwnd_)) {
            FormHelp();
        }
        result = TRUE;
        return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CONTEXTHELP) {
            FormHelp(); // no context-help pointer mode
            result = 0;
            return true;
        }
        return false;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        KeyboardRules(wParam);
        return false;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (limits_.MinWidth > 0)
            info->ptMinTrackSize.x = limits_.MinWidth;
        if (limits_.MinHeight > 0)
            info->ptMinTrackSize.y = limits_.MinHeight;
        if (limits_.MaxWidth > 0)
            info->ptMaxTrackSize.x = limits_.MaxWidth;
        if (limits_.MaxHeight > 0)
            info->ptMaxTrackSize.y = limits_.MaxHeight;
        return false;
    }
    case WM_EXITSIZEMOVE:
    case WM_DISPLAYCHANGE:
        if (dialog_) {
            KeepInsideWorkArea();
        }
        return false;
    case WM_SHOWWINDOW:
        if (wParam && dialog_ && !placed_) {
            placed_ = true;
            KeepInsideWorkArea(); // first, so the pointer finds the button where it ends up
            SnapPointerToDefaultButton();
        }
        return false;
    case WM_MENUSELECT:
        if ((HIWORD(wParam) & MF_SYSMENU) != 0) {
            SetApplicationHint(SystemMenuHint(LOWORD(wParam)));
        }
        return false;
    case WM_EXITMENULOOP:
        SetApplicationHint(L"");
        return false;
    case WM_NCACTIVATE:
        MirrorActivation(wParam != FALSE);
        return false;
    case WM_ACTIVATE:
        if (dialog_) {
            ShowDefaultButton(LOWORD(wParam) != WA_INACTIVE);
        }
        return false;
    default:
        return false;
    }
}

bool TKZForm::KeyboardRules(WPARAM key) {
    // Focus rectangles and underlines appear once the keyboard is used.
    if (key == VK_TAB || (key >= VK_LEFT && key <= VK_DOWN)) {
        SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    } else if (key == VK_MENU) {
        SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
    } else if (key == VK_CANCEL && dialog_) {
        PostMessageW(hwnd_, WM_CLOSE, 0, 0);
        return true;
    }
    return false;
}

namespace {

std::function<bool(MSG&)>& ForeignMessageFilter() {
    static std::function<bool(MSG&)> filter;
    return filter;
}

} // namespace

void TKZForm::SetForeignMessageFilter(std::function<bool(MSG&)> filter) {
    ForeignMessageFilter() = std::move(filter);
}

bool TKZForm::PreTranslate(MSG& message) {
    if (const auto& filter = ForeignMessageFilter(); filter && filter(message)) {
        return true;
    }
    if (message.hwnd == nullptr) {
        return false;
    }
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    // Only windows of our own form classes hold a form in GWLP_USERDATA.
    const auto procedure = root != nullptr ? reinterpret_cast<WNDPROC>(GetClassLongPtrW(root, GCLP_WNDPROC)) : nullptr;
    if (procedure == nullptr || (procedure != WindowProc && procedure != DialogClassProc)) {
        return false;
    }
    auto* form = reinterpret_cast<TKZForm*>(GetWindowLongPtrW(root, GWLP_USERDATA));
    if (form == nullptr) {
        return false;
    }
    // Keys of the form itself meet the rules in its window procedure; a focused control's keys
    // never get there.
    const bool key = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
    if (key && message.hwnd != root && form->KeyboardRules(message.wParam)) {
        return true;
    }
    return form->dialog_ && IsDialogMessageW(root, &message);
}

std::wstring TKZForm::SystemMenuHint(UINT command) {
    switch (command & 0xFFF0) {
    case SC_SIZE:
        return LoadResourceString(IDS_HINT_SIZE);
    case SC_MOVE:
        return LoadResourceString(IDS_HINT_MOVE);
    case SC_MINIMIZE:
        return LoadResourceString(IDS_HINT_MINIMIZE);
    case SC_MAXIMIZE:
        return LoadResourceString(IDS_HINT_MAXIMIZE);
    case SC_NEXTWINDOW:
        return LoadResourceString(IDS_HINT_NEXT_WINDOW);
    case SC_PREVWINDOW:
        return LoadResourceString(IDS_HINT_PREVIOUS_WINDOW);
    case SC_CLOSE:
        return LoadResourceString(IDS_HINT_CLOSE);
    case SC_RESTORE:
        return LoadResourceString(IDS_HINT_RESTORE);
    default:
        return L"";
    }
}

// An owner and its floating tool windows look active together.
void TKZForm::MirrorActivation(bool active) {
    if (mirroring_) {
        return;
    }
    mirroring_ = true;
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    const bool toolWindow = (GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
    if (toolWindow && owner != nullptr && IsWindowVisible(owner)) {
        SendMessageW(owner, WM_NCACTIVATE, active, 0);
    }
    struct Context {
        HWND Owner;
        BOOL Active;
    } context{hwnd_, active};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            const auto* c = reinterpret_cast<const Context*>(data);
            if (GetWindow(window, GW_OWNER) == c->Owner && IsWindowVisible(window) &&
                (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0) {
                SendMessageW(window, WM_NCACTIVATE, c->Active, 0);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&context));
    mirroring_ = false;
}

// The default button is drawn as default only while its dialog is active.
void TKZForm::ShowDefaultButton(bool active) {
    const LRESULT defaultId = SendMessageW(hwnd_, DM_GETDEFID, 0, 0);
    HWND button = GetDlgItem(hwnd_, HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK);
    if (button != nullptr) {
        SendMessageW(button, BM_SETSTYLE, active ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

void TKZForm::RemoveMeaninglessSystemMenuItems() {
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
    HMENU menu = (style & WS_SYSMENU) != 0 ? GetSystemMenu(hwnd_, FALSE) : nullptr;
    if (menu == nullptr) {
        return;
    }
    const bool sizable = (style & WS_THICKFRAME) != 0;
    const bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
    if (!sizable) {
        DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
    }
    if ((style & WS_MINIMIZEBOX) == 0 || tool) {
        DeleteMenu(menu, SC_MINIMIZE, MF_BYCOMMAND);
    }
    if ((style & WS_MAXIMIZEBOX) == 0 || tool) {
        DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
        DeleteMenu(menu, SC_RESTORE, MF_BYCOMMAND);
    }
    if (tool && !sizable) {
        DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
    }
}

// A dialog placed or dragged off the primary work area, or left there by a display change, comes
// back; a taskbar at the top or on the left moves the work area's own edges.
void TKZForm::KeepInsideWorkArea() {
    RECT work{};
    RECT window{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) || !GetWindowRect(hwnd_, &window)) {
        return;
    }
    const ScreenPoint inside = ClampIntoWorkArea({window.left, window.top, window.right, window.bottom},
                                                 {work.left, work.top, work.right, work.bottom});
    if (inside.X != window.left || inside.Y != window.top) {
        SetWindowPos(hwnd_, nullptr, inside.X, inside.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TKZForm::SnapPointerToDefaultButton() {
    BOOL snap = FALSE;
    if (!SystemParametersInfoW(SPI_GETSNAPTODEFBUTTON, 0, &snap, 0) || !snap) {
        return;
    }
    HWND defaultButton = nullptr;
    const LRESULT defaultId = SendMessageW(hwnd_, DM_GETDEFID, 0, 0);
    if (HIWORD(defaultId) == DC_HASDEFID) {
        defaultButton = GetDlgItem(hwnd_, LOWORD(defaultId));
    }
    if (defaultButton == nullptr) {
        defaultButton = GetDlgItem(hwnd_, IDOK);
    }
    HWND cancelButton = GetDlgItem(hwnd_, IDCANCEL);
    // Asked while the dialog is being shown: its WS_VISIBLE bit is not set yet, so each window's
    // own style bit stands for its visibility.
    const auto focusable = [](HWND window) {
        return window != nullptr && IsWindowEnabled(window) && (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
    };
    RECT rect{};
    switch (ChooseSnapTarget({focusable(defaultButton), focusable(cancelButton), IsWindowEnabled(hwnd_) != FALSE})) {
    case SnapTarget::DefaultButton:
        GetWindowRect(defaultButton, &rect);
        break;
    case SnapTarget::CancelButton:
        GetWindowRect(cancelButton, &rect);
        break;
    case SnapTarget::ClientCentre:
        GetClientRect(hwnd_, &rect);
        MapWindowPoints(hwnd_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        break;
    case SnapTarget::Nowhere:
        return;
    }
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

LRESULT TKZForm::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    if (defaulted_ != nullptr) {
        *defaulted_ = true; // the dialog manager takes it from here
        return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT TKZForm::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    const DispatchScope scope(*this);
    // No exception may unwind through the system: an error nobody handled ends the program.
    try {
        LRESULT result = 0;
        if (BaseConduct(message, wParam, lParam, result)) {
            return result;
        }
        result = HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            if (closed_) {
                closed_();
            }
        }
        return result;
    } catch (const std::exception& e) {
        ShowFatalError(e.what());
    } catch (...) {
        ShowFatalError("unknown error");
    }
}

LRESULT CALLBACK TKZForm::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<TKZForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        form = static_cast<TKZForm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    if (form == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return form->Dispatch(message, wParam, lParam);
}

LRESULT CALLBACK TKZForm::DialogClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefDlgProcW(hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK TKZForm::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<TKZForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_INITDIALOG) {
        form = reinterpret_cast<TKZForm*>(lParam);
        form->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
    }
    if (form == nullptr) {
        return FALSE;
    }
    bool defaulted = false;
    bool* const outer = form->defaulted_; // a message sent while another one runs
    form->defaulted_ = &defaulted;
    const LRESULT result = form->Dispatch(message, wParam, lParam);
    form->defaulted_ = outer;
    if (defaulted || message == WM_NCDESTROY) {
        return FALSE; // after WM_NCDESTROY the dialog manager still has to clean up
    }
    switch (message) {
    // These answer through the return value itself.
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(result);
    default:
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

} // namespace lumora

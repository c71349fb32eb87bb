#include "shell/KZForm.h"

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

bool TKZForm::CreateForm(const CreateParams& p) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(instance, p.ClassName, &wc)) {
        wc.cbSize = sizeof(wc);
        wc.style = p.ClassStyle;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconW(instance, L"MAINICON");
        wc.lpszClassName = p.ClassName;
        if (!RegisterClassExW(&wc)) {
            return false;
        }
    }
    CreateWindowExW(p.ExStyle | WS_EX_CONTROLPARENT, p.ClassName, p.Caption, p.Style, p.Left, p.Top, p.Width, p.Height,
                    p.Owner, nullptr, instance, this);
    return hwnd_ != nullptr;
}

LRESULT TKZForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandler(message, wParam, lParam);
}

LRESULT TKZForm::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
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
    // No exception may unwind through the system: an error nobody handled ends the program.
    try {
        LRESULT result = form->HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            form->hwnd_ = nullptr;
            form->FinalMessage();
        }
        return result;
    } catch (const std::exception& e) {
        ShowFatalError(e.what());
    } catch (...) {
        ShowFatalError("unknown error");
    }
    return 0;
}

} // namespace lumora

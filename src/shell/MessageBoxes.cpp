#include "shell/MessageBoxes.h"

#include "shell/AppNames.h"
#include "resources/ResourceIds.h"
#include "shell/Application.h"
#include "shell/FatalErrorForm.h"

#include <atomic>

namespace lumora {

std::wstring LoadResourceString(UINT id) {
    const wchar_t* text = nullptr;
    // With a zero buffer size LoadString hands out a pointer into the resource itself.
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text != nullptr ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

int ShowResourceMessage(HWND owner, UINT id, UINT flags, std::initializer_list<std::wstring_view> args) {
    const std::wstring text = FillText(LoadResourceString(id), args);
    return MessageBoxW(owner, text.c_str(), names::ProductName, flags);
}

namespace {

std::wstring WidenErrorText(std::string_view what) {
    // Error texts of the runtime are ANSI; ours are UTF-8. Try UTF-8 strictly first.
    for (UINT codePage : {static_cast<UINT>(CP_UTF8), static_cast<UINT>(CP_ACP)}) {
        const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
        const int size = MultiByteToWideChar(codePage, flags, what.data(), static_cast<int>(what.size()), nullptr, 0);
        if (size > 0) {
            std::wstring wide(static_cast<size_t>(size), L'\0');
            MultiByteToWideChar(codePage, flags, what.data(), static_cast<int>(what.size()), wide.data(), size);
            return wide;
        }
    }
    return {};
}

} // namespace

HWND MessageBoxOwner(HWND passOver) {
    const HWND active = GetActiveWindow();
    return active != nullptr && active != passOver && IsWindowVisible(active) ? active : nullptr;
}

void ShowFatalError(std::string_view what) {
    // A second error while the first is being reported only ends the program.
    static std::atomic<bool> reporting{false};
    if (reporting.exchange(true)) {
        ExitProcess(1);
    }
    MarkApplicationTerminating();
    const std::wstring errorText = WidenErrorText(what);
    if (!TFatalErrorForm::ShowModal(names::ProductName, errorText)) {
        const std::wstring text = FillText(LoadResourceString(IDS_FATAL_ERROR_TEXT), {names::ProductName, errorText});
        const std::wstring caption = LoadResourceString(IDS_FATAL_ERROR_CAPTION);
        MessageBeep(MB_ICONHAND);
        MessageBoxW(MessageBoxOwner(), text.c_str(), caption.c_str(), MB_ICONSTOP | MB_SETFOREGROUND | MB_TOPMOST);
    }
    try {
        RunFatalExitAction();
    } catch (...) {
        // The program ends either way.
    }
    ExitProcess(1);
}

} // namespace lumora

#include "shell/Foreground.h"

#include "shell/TestFaults.h"

#include <string>

namespace lumora {
namespace {

constexpr std::wstring_view LockFault = L"foreground-lock";

// Under the fault a grant is a file named after the process it was given to, kept until that
// process uses it: the copy that grants ends at once.
std::wstring GrantFileFor(DWORD processId) {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(static_cast<DWORD>(std::size(folder)), folder);
    return std::wstring(folder, length) + L"lumora-foreground-grant-" + std::to_wstring(processId);
}

} // namespace

void AllowForegroundTo(HWND window) {
    DWORD processId = 0;
    if (!GetWindowThreadProcessId(window, &processId)) {
        return;
    }
    AllowSetForegroundWindow(processId);
    if (TestFault(LockFault)) {
        CloseHandle(CreateFileW(GrantFileFor(processId).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    }
}

bool ShowInForeground(HWND window) {
    const HWND before = GetForegroundWindow();
    ShowWindow(window, SW_SHOW);
    if (TestFault(LockFault) && before != nullptr) {
        DWORD foregroundProcess = 0;
        GetWindowThreadProcessId(before, &foregroundProcess);
        if (foregroundProcess != GetCurrentProcessId() && !DeleteFileW(GrantFileFor(GetCurrentProcessId()).c_str())) {
            SetForegroundWindow(before); // where Windows would have left it
            return false;
        }
    }
    return SetForegroundWindow(window) != FALSE;
}

} // namespace lumora

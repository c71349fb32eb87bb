#include "menu/SystemCommands.h"

#include "shell/AppNames.h"
#include "clock/SystemRules.h"
#include "resources/ResourceIds.h"
#include "shell/FileIo.h"
#include "shell/MessageBoxes.h"
#include "shell/Registry.h"

#include <shellapi.h>

#include <string>

namespace lumora {
namespace {

void Warn(UINT id, UINT icon) {
    ShowResourceMessage(GetDesktopWindow(), id, icon | MB_SETFOREGROUND);
}

// The screen saver the user chose: the desktop's setting, else the old system.ini entry.
std::wstring ScreenSaverPath() {
    std::wstring path = RegistryString(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"SCRNSAVE.EXE");
    if (path.empty()) {
        wchar_t windows[MAX_PATH] = L"";
        GetWindowsDirectoryW(windows, MAX_PATH);
        wchar_t value[MAX_PATH] = L"";
        GetPrivateProfileStringW(L"boot", L"SCRNSAVE.EXE", L"", value, MAX_PATH,
                                 (std::wstring(windows) + L"\\System.ini").c_str());
        path = value;
    }
    return path;
}

bool StartProcess(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                        nullptr, &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::wstring FolderFrom(UINT(WINAPI* get)(LPWSTR, UINT)) {
    wchar_t folder[MAX_PATH] = L"";
    const UINT length = get(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

} // namespace

void RunScreenSaver(HWND receiver, bool configure) {
    const std::wstring path = ScreenSaverPath();
    if (path.empty()) {
        Warn(IDS_NO_SCREEN_SAVER, MB_ICONWARNING);
        return;
    }
    if (!FileExists(path)) {
        Warn(IDS_SCREEN_SAVER_MISSING, MB_ICONWARNING);
        return;
    }
    if (configure) {
        if (!StartProcess(L"\"" + path + L"\"")) {
            Warn(IDS_SCREEN_SAVER_CONFIG_FAILED, MB_ICONERROR);
        }
        return;
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Warn(IDS_SCREEN_SAVER_START_FAILED, MB_ICONERROR);
        return;
    }
    CloseHandle(file);
    PostMessageW(receiver, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
}

void TurnMonitorOff(HWND receiver) {
    Sleep(250); // the menu's own click must not wake the monitor again
    PostMessageW(receiver, WM_SYSCOMMAND, SC_MONITORPOWER, 2);
}

void OpenTimeDatePanel() {
    const std::wstring commandLine =
        TimeDateCommandLine(FolderFrom(GetSystemDirectoryW), FolderFrom(GetWindowsDirectoryW),
                            [](const std::wstring& path) { return FileExists(path); });
    if (!StartProcess(commandLine)) {
        Warn(IDS_TIME_DATE_PANEL_FAILED, MB_ICONWARNING);
    }
}

void OpenWebSite(HWND clock) {
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(MessageBoxOwner(clock), L"open", names::WebSite, nullptr, nullptr, SW_SHOWNORMAL));
    SetCursor(previous);
    if (result <= 32) {
        ShowResourceMessage(MessageBoxOwner(clock), IDS_WEB_BROWSER_FAILED, MB_ICONERROR);
    }
}

} // namespace lumora

#include "app/TestHooks.h"

#include "shell/AppNames.h"
#include "shell/GdiObjects.h"
#include "shell/TestFaults.h"
#include "sound/MasterSounds.h"

#include <objbase.h>

#include <algorithm>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

namespace lumora {
namespace {

// WM_COPYDATA kinds the tests send.
enum TestCommand : ULONG_PTR {
    PlaySound = 1,
    QuerySoundPlaying = 2,
    Notify = 5,
    ApplySettings = 6,
    ShowTelop = 7,
    StartAdjust = 8,
    DescribeMenu = 9,
    TimeMessage = 10,
    QueryFullRedraws = 11,
    QuerySingleThreadedApartment = 12,
    DescribeElevatedSet = 13,
    PrintSplash = 15,
    QueryTrayIconState = 18,
    QueryTrayIconWidth = 19,
    QuerySystemCommands = 20,
};
constexpr UINT RunPendingMessage = WM_APP + 1;

bool EnvironmentSwitch(const wchar_t* name, std::wstring_view expected) {
    wchar_t value[32] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, static_cast<DWORD>(std::size(value)));
    return length > 0 && length < std::size(value) && std::wstring_view(value) == expected;
}

// "<balloon kind><beep kind>|title|body"
bool SplitNotifyText(const std::wstring& text, int& balloonKind, int& beepKind, std::wstring& rest) {
    if (text.size() < 3 || text[2] != L'|' || !iswdigit(text[0]) || !iswdigit(text[1])) {
        return false;
    }
    balloonKind = text[0] - L'0';
    beepKind = text[1] - L'0';
    rest = text.substr(3);
    return true;
}

// The shell's calls made on this thread (ShellExecute, the file dialogs) need such an apartment.
bool InSingleThreadedApartment() {
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    return SUCCEEDED(CoGetApartmentType(&type, &qualifier)) && (type == APTTYPE_STA || type == APTTYPE_MAINSTA);
}

// The system commands a default window procedure of this thread has carried out: it asks the
// computer-based-training hook first, and only for an enabled window.
std::vector<std::pair<WPARAM, LPARAM>> systemCommands;

LRESULT CALLBACK SeeSystemCommand(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SYSCOMMAND) {
        systemCommands.emplace_back(wParam & 0xFFF0, lParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// "<command>" or "<command>|<lParam>": how many times it was carried out.
LRESULT CountSystemCommands(const std::wstring& text) {
    const WPARAM command = wcstoul(text.c_str(), nullptr, 10);
    const size_t bar = text.find(L'|');
    std::optional<LPARAM> argument;
    if (bar != std::wstring::npos) {
        argument = wcstol(text.c_str() + bar + 1, nullptr, 10);
    }
    return std::count_if(systemCommands.begin(), systemCommands.end(), [&](const auto& seen) {
        return seen.first == command && (!argument || seen.second == *argument);
    });
}

BOOL CALLBACK FindSplash(HWND window, LPARAM found) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    if (std::wstring_view(name) != names::SplashFormClass) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// A splash of this thread printed through WM_PRINTCLIENT, as AnimateWindow draws it while it
// fades, into a bitmap file. The bitmap starts magenta: what the splash does not draw stays so.
bool PrintSplashTo(const std::wstring& file) {
    HWND splash = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindSplash, reinterpret_cast<LPARAM>(&splash));
    RECT client{};
    if (splash == nullptr || !GetClientRect(splash, &client)) {
        return false;
    }
    DibSection picture;
    if (!picture.Create(client.right, client.bottom)) {
        return false;
    }
    std::fill_n(picture.Bits(), static_cast<size_t>(picture.Width()) * picture.Height(), 0x00FF00FFu);
    {
        MemoryDC memory;
        SelectedObject selected(memory.Get(), picture.Get());
        SendMessageW(splash, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
        GdiFlush();
    }
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = picture.Width();
    header.biHeight = -picture.Height();
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    const DWORD pixelBytes = static_cast<DWORD>(picture.Width()) * picture.Height() * 4;
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42; // "BM"
    fileHeader.bfOffBits = sizeof(fileHeader) + sizeof(header);
    fileHeader.bfSize = fileHeader.bfOffBits + pixelBytes;
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(handle, &fileHeader, sizeof(fileHeader), &written, nullptr) &&
              WriteFile(handle, &header, sizeof(header), &written, nullptr) &&
              WriteFile(handle, picture.Bits(), pixelBytes, &written, nullptr) && written == pixelBytes;
    CloseHandle(handle);
    return ok;
}

} // namespace

TestHooks::~TestHooks() {
    if (systemCommandHook_ != nullptr) {
        UnhookWindowsHookEx(systemCommandHook_);
    }
}

std::unique_ptr<TestHooks> TestHooks::FromEnvironment(TestHookTargets targets) {
    const bool commands = EnvironmentSwitch(L"LUMORA_TEST_HOOKS", L"1");
    const Fault fault = TestFault(L"tick")                ? Fault::Tick
                        : TestFault(L"tick-start")        ? Fault::TickStart
                        : TestFault(L"test-pattern-2")    ? Fault::TestPattern
                        : TestFault(L"kit-port-settings") ? Fault::KitPortSettings
                                                          : Fault::None;
    if (!commands && fault == Fault::None) {
        return nullptr;
    }
    std::unique_ptr<TestHooks> hooks(new TestHooks(std::move(targets)));
    hooks->commands_ = commands;
    hooks->fault_ = fault;
    if (commands) {
        hooks->systemCommandHook_ = SetWindowsHookExW(WH_CBT, SeeSystemCommand, nullptr, GetCurrentThreadId());
    }
    return hooks;
}

void TestHooks::TickStarting() const {
    if (fault_ == Fault::Tick) {
        throw std::runtime_error("LUMORA_FAULT: an error raised on purpose in the tick handler");
    }
}

std::optional<LRESULT> TestHooks::HandleMessage(UINT message, WPARAM, LPARAM lParam) {
    if (!commands_) {
        return std::nullopt;
    }
    if (message == WM_COPYDATA) {
        return CopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    }
    if (message == RunPendingMessage) {
        RunPending();
        return 0;
    }
    return std::nullopt;
}

LRESULT TestHooks::CopyData(const COPYDATASTRUCT& data) {
    const std::wstring text(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
    switch (data.dwData) {
    case PlaySound: // "<interactive 0|1>|<file>"
    case ShowTelop: // "<allowSound 0|1>|<caption text>"
        if (text.size() < 2 || text[1] != L'|') {
            return FALSE;
        }
        break;
    case Notify: {
        int balloonKind = 0, beepKind = 0;
        std::wstring rest;
        if (!SplitNotifyText(text, balloonKind, beepKind, rest)) {
            return FALSE;
        }
        break;
    }
    case ApplySettings:
        break;
    case StartAdjust: // "<kind 0-3><source 0-2>", as the options dialog's test buttons start runs
        if (text.size() != 2 || text[0] < L'0' || text[0] > L'3' || text[1] < L'0' || text[1] > L'2') {
            return FALSE;
        }
        break;
    case QuerySoundPlaying:
        return targets_.Sound->Playing() ? TRUE : FALSE;
    case DescribeMenu: // "<file>": the open popup menu, written at once (the menu holds the thread)
        return DescribeMenuTo(text) ? TRUE : FALSE;
    case TimeMessage: // "<window class>|<message>|<wParam>"
        return TimeMessageTo(text);
    case QueryFullRedraws:
        return targets_.FullRedraws();
    case QueryTrayIconState:
        return targets_.TrayIconState();
    case QueryTrayIconWidth:
        return targets_.TrayIconWidth();
    case DescribeElevatedSet: // "<file>": the last elevated copy's arguments and end
        return DescribeElevatedSetTo(text) ? TRUE : FALSE;
    case QuerySingleThreadedApartment:
        return InSingleThreadedApartment() ? TRUE : FALSE;
    case QuerySystemCommands:
        return CountSystemCommands(text);
    case PrintSplash: // "<file>": the splash as its fade draws it, a 32-bit bitmap file
        return PrintSplashTo(text) ? TRUE : FALSE;
    default:
        return FALSE;
    }
    // Carried out after this message returns: a message box must not keep the sender waiting.
    pending_ = text;
    pendingKind_ = data.dwData;
    PostMessageW(targets_.Master, RunPendingMessage, 0, 0);
    return TRUE;
}

void TestHooks::RunPending() {
    const std::wstring text = std::exchange(pending_, L"");
    switch (std::exchange(pendingKind_, 0)) {
    case PlaySound:
        targets_.Sound->Play(text.substr(2), text[0] == L'1');
        break;
    case Notify: {
        int balloonKind = 0, beepKind = 0;
        std::wstring rest;
        if (SplitNotifyText(text, balloonKind, beepKind, rest)) {
            targets_.ShowNotification(rest, balloonKind, beepKind);
        }
        break;
    }
    case ApplySettings:
        targets_.ApplySettingsText(text);
        break;
    case ShowTelop:
        targets_.ShowTelop(text.substr(2), text[0] == L'1');
        break;
    case StartAdjust:
        targets_.StartAdjust(text[0] - L'0', text[1] - L'0');
        break;
    default:
        break;
    }
}

// Microseconds from sending the message to a window of this program until every window of the
// program has painted what it changed; -1 when the window or the text is not there.
LRESULT TestHooks::TimeMessageTo(const std::wstring& text) const {
    const size_t first = text.find(L'|');
    const size_t second = text.find(L'|', first == std::wstring::npos ? first : first + 1);
    if (second == std::wstring::npos) {
        return -1;
    }
    HWND target = FindWindowW(text.substr(0, first).c_str(), nullptr);
    DWORD process = 0;
    if (target == nullptr || GetWindowThreadProcessId(target, &process) == 0 || process != GetCurrentProcessId()) {
        return -1;
    }
    const auto message = static_cast<UINT>(wcstoul(text.c_str() + first + 1, nullptr, 10));
    const auto wParam = static_cast<WPARAM>(wcstoul(text.c_str() + second + 1, nullptr, 10));
    LARGE_INTEGER frequency{}, start{}, end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    SendMessageW(target, message, wParam, 0);
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            return TRUE;
        },
        0);
    QueryPerformanceCounter(&end);
    return static_cast<LRESULT>((end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart);
}

namespace {

// A description the tests read, in UTF-8.
bool WriteUtf8File(const std::wstring& file, const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok = WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);
    return ok && written == bytes.size();
}

} // namespace

bool TestHooks::DescribeMenuTo(const std::wstring& file) const {
    const std::wstring description = targets_.DescribeOpenMenu ? targets_.DescribeOpenMenu() : std::wstring();
    return !description.empty() && WriteUtf8File(file, description);
}

bool TestHooks::DescribeElevatedSetTo(const std::wstring& file) const {
    const std::wstring description = targets_.DescribeElevatedSet ? targets_.DescribeElevatedSet() : std::wstring();
    return !description.empty() && WriteUtf8File(file, description);
}

} // namespace lumora

// lumora-driver: drives a running Lumora.exe from outside the process, for the end-to-end tests.
// Runs under the same Wine prefix, prints UTF-8 lines on stdout.
// Exit codes: 0 done, 1 nothing found (no such window, dialog or process, or a wait ran out),
// 2 bad usage, 3 the call itself failed (a message not delivered or not answered in time).
// Every run starts its output with the line "#run" and ends it with "#exit=<code>", so that a
// caller can tell the driver's own answer from a Wine launch that failed before the driver ran
// (nothing was done: safe to ask again) and from a driver that died half-way (no answer);
// failures explain themselves on stderr.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <cwctype>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitNotFound = 1;
constexpr int ExitUsage = 2;
constexpr int ExitFailed = 3;
constexpr DWORD PollMs = 50;
constexpr UINT SendTimeoutMs = 8000;  // a busy machine under Wine may take seconds over a command
constexpr int MessageTextId = 0xFFFF; // the Static that holds a message box's text

using Args = std::span<wchar_t*>;

class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE h) : handle_(h) {}
    ~UniqueHandle() {
        if (handle_)
            CloseHandle(handle_);
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    HANDLE Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HANDLE handle_;
};

// Written as bytes: the console code page would mangle Japanese text under Wine.
void WriteLine(DWORD stream, std::wstring_view line) {
    std::wstring text(line);
    text += L'\n';
    int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(stream), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void Print(std::wstring_view line) {
    WriteLine(STD_OUTPUT_HANDLE, line);
}

void PrintError(std::wstring_view line) {
    WriteLine(STD_ERROR_HANDLE, line);
}

int NotFound(std::wstring_view what) {
    PrintError(L"not found: " + std::wstring(what));
    return ExitNotFound;
}

// Reports a call that failed, with the error the system gave for it.
int Failed(std::wstring_view what) {
    const DWORD error = GetLastError();
    PrintError(L"failed: " + std::wstring(what) + L" (error " + std::to_wstring(error) + L")");
    return ExitFailed;
}

// A message sent to another process's window, answered within the time or failed.
bool SendWithin(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam, DWORD_PTR* result) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(hwnd, msg, wparam, lparam, SMTO_ABORTIFHUNG, SendTimeoutMs,
                               result ? result : &ignored) != 0;
}

std::wstring Hex(DWORD value) {
    wchar_t buf[16];
    swprintf(buf, 16, L"0x%08lX", static_cast<unsigned long>(value));
    return buf;
}

// Accepts decimal, 0x hex and a leading minus, as the tests pass lParams such as -1.
std::optional<long long> ParseNumber(const wchar_t* text) {
    if (!text || !*text)
        return std::nullopt;
    wchar_t* end = nullptr;
    long long value = std::wcstoll(text, &end, 0);
    if (*end != L'\0')
        return std::nullopt;
    return value;
}

std::optional<DWORD> ParseTimeout(const wchar_t* text) {
    auto value = ParseNumber(text);
    if (!value || *value < 0)
        return std::nullopt;
    return static_cast<DWORD>(*value);
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t buf[256] = {};
    GetClassNameW(hwnd, buf, 256);
    return buf;
}

// WM_GETTEXT crosses processes (GetWindowTextW alone would not ask another process's control);
// the timeout keeps a hung target from hanging the test, and a text that could not be read is
// no answer rather than an empty one.
std::optional<std::wstring> TextOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendWithin(hwnd, WM_GETTEXTLENGTH, 0, 0, &length))
        return std::nullopt;
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendWithin(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), &copied))
        return std::nullopt;
    text.resize(copied);
    return text;
}

// Keeps a text with line breaks on one line, readable back exactly.
std::wstring Escaped(std::wstring_view text) {
    std::wstring escaped;
    for (wchar_t c : text) {
        if (c == L'\\')
            escaped += L"\\\\";
        else if (c == L'\n')
            escaped += L"\\n";
        else if (c == L'\r')
            escaped += L"\\r";
        else
            escaped += c;
    }
    return escaped;
}

// Keeps one result on one line.
std::wstring OneLine(std::wstring text) {
    for (auto& c : text) {
        if (c == L'\r' || c == L'\n')
            c = L' ';
    }
    return text;
}

DWORD ProcessOf(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

std::wstring HwndText(HWND hwnd) {
    return std::to_wstring(reinterpret_cast<UINT_PTR>(hwnd));
}

HWND FindTop(const wchar_t* cls, const wchar_t* title = nullptr) {
    return FindWindowW(cls, title);
}

// A window argument is either a decimal handle or a class name.
HWND ResolveWindow(const wchar_t* text) {
    if (std::iswdigit(text[0])) {
        auto value = ParseNumber(text);
        if (value) {
            HWND hwnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(*value));
            return IsWindow(hwnd) ? hwnd : nullptr;
        }
    }
    return FindTop(text);
}

std::optional<UINT> ParseMessage(const wchar_t* text) {
    constexpr std::wstring_view prefix = L"reg:";
    std::wstring_view view(text);
    if (view.starts_with(prefix)) {
        UINT msg = RegisterWindowMessageW(text + prefix.size());
        return msg ? std::optional<UINT>(msg) : std::nullopt;
    }
    auto value = ParseNumber(text);
    if (!value || *value < 0 || *value > 0xFFFFFFFFLL)
        return std::nullopt;
    return static_cast<UINT>(*value);
}

template <typename Pred> bool WaitUntil(DWORD timeoutMs, Pred done) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(PollMs);
    }
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> windows;
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM param) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND FindDialog(std::optional<DWORD> pid) {
    for (HWND hwnd : TopLevelWindows()) {
        if (ClassOf(hwnd) != L"#32770" || !IsWindowVisible(hwnd))
            continue;
        if (pid && ProcessOf(hwnd) != *pid)
            continue;
        return hwnd;
    }
    return nullptr;
}

// --- commands ----------------------------------------------------------------------------------

int CmdFind(Args args) {
    HWND hwnd = FindTop(args[0], args.size() > 1 ? args[1] : nullptr);
    if (!hwnd)
        return NotFound(L"window " + std::wstring(args[0]));
    Print(HwndText(hwnd));
    return ExitOk;
}

// Every top-level window of a class, with the process that owns it.
int CmdAll(Args args) {
    bool any = false;
    for (HWND hwnd : TopLevelWindows()) {
        if (ClassOf(hwnd) != args[0])
            continue;
        any = true;
        Print(L"hwnd=" + HwndText(hwnd) + L" pid=" + std::to_wstring(ProcessOf(hwnd)) + L" visible=" +
              std::to_wstring(IsWindowVisible(hwnd) ? 1 : 0));
    }
    return any ? ExitOk : NotFound(L"window " + std::wstring(args[0]));
}

int CmdWait(Args args) {
    auto timeout = ParseTimeout(args[1]);
    if (!timeout)
        return ExitUsage;
    HWND hwnd = nullptr;
    if (!WaitUntil(*timeout, [&] { return (hwnd = FindTop(args[0])) != nullptr; }))
        return NotFound(L"window " + std::wstring(args[0]) + L" within the time");
    Print(HwndText(hwnd));
    return ExitOk;
}

int CmdWaitGone(Args args) {
    auto timeout = ParseTimeout(args[1]);
    if (!timeout)
        return ExitUsage;
    return WaitUntil(*timeout, [&] { return FindTop(args[0]) == nullptr; })
               ? ExitOk
               : NotFound(L"an end of window " + std::wstring(args[0]) + L" within the time");
}

int CmdInfo(Args args) {
    HWND hwnd = ResolveWindow(args[0]);
    if (!hwnd)
        return NotFound(L"window " + std::wstring(args[0]));
    auto title = TextOf(hwnd);
    if (!title)
        return Failed(L"reading the title of " + std::wstring(args[0]));
    RECT r = {};
    GetWindowRect(hwnd, &r);
    std::wstring line = L"hwnd=" + HwndText(hwnd) + L" rect=" + std::to_wstring(r.left) + L"," +
                        std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom);
    line += L" style=" + Hex(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)));
    line += L" exstyle=" + Hex(static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    line += L" visible=" + std::to_wstring(IsWindowVisible(hwnd) ? 1 : 0);
    line += L" enabled=" + std::to_wstring(IsWindowEnabled(hwnd) ? 1 : 0);
    line += L" pid=" + std::to_wstring(ProcessOf(hwnd));
    line += L" class=" + ClassOf(hwnd);
    line += L" title=" + OneLine(*title);
    Print(line);
    return ExitOk;
}

struct MessageArgs {
    HWND hwnd;
    UINT msg;
    WPARAM wparam;
    LPARAM lparam;
};

std::optional<MessageArgs> ParseMessageArgs(Args args) {
    auto msg = ParseMessage(args[1]);
    auto wparam = ParseNumber(args[2]);
    auto lparam = ParseNumber(args[3]);
    if (!msg || !wparam || !lparam)
        return std::nullopt;
    return MessageArgs{ResolveWindow(args[0]), *msg, static_cast<WPARAM>(*wparam), static_cast<LPARAM>(*lparam)};
}

int CmdPost(Args args) {
    auto m = ParseMessageArgs(args);
    if (!m)
        return ExitUsage;
    if (!m->hwnd)
        return NotFound(L"window " + std::wstring(args[0]));
    if (!PostMessageW(m->hwnd, m->msg, m->wparam, m->lparam))
        return Failed(L"PostMessage to " + std::wstring(args[0]));
    return ExitOk;
}

int CmdSend(Args args) {
    auto m = ParseMessageArgs(args);
    if (!m)
        return ExitUsage;
    if (!m->hwnd)
        return NotFound(L"window " + std::wstring(args[0]));
    DWORD_PTR result = 0;
    if (!SendWithin(m->hwnd, m->msg, m->wparam, m->lparam, &result))
        return Failed(L"no answer from " + std::wstring(args[0]) + L" to message " + std::wstring(args[1]));
    Print(std::to_wstring(static_cast<long long>(result)));
    return ExitOk;
}

// Gives a window (an edit field) a text as typing would leave it; the edit tells its parent.
int CmdSetText(Args args) {
    HWND hwnd = ResolveWindow(args[0]);
    if (!hwnd)
        return NotFound(L"window " + std::wstring(args[0]));
    if (!SendWithin(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[1]), nullptr))
        return Failed(L"WM_SETTEXT to " + std::wstring(args[0]));
    return ExitOk;
}

// Gives every edit field below a window the same text, as CmdSetText does for one.
int CmdSetTextAll(Args args) {
    HWND parent = ResolveWindow(args[0]);
    if (!parent)
        return NotFound(L"window " + std::wstring(args[0]));
    for (HWND hwnd : ChildWindows(parent)) {
        if (ClassOf(hwnd) == L"Edit" && !SendWithin(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[1]), nullptr))
            return Failed(L"WM_SETTEXT to edit " + HwndText(hwnd));
    }
    return ExitOk;
}

// Prints a window's whole text, line breaks escaped as in message boxes.
int CmdGetText(Args args) {
    HWND hwnd = ResolveWindow(args[0]);
    if (!hwnd)
        return NotFound(L"window " + std::wstring(args[0]));
    auto text = TextOf(hwnd);
    if (!text)
        return Failed(L"WM_GETTEXT from " + std::wstring(args[0]));
    Print(Escaped(*text));
    return ExitOk;
}

// Hands a text to a window with WM_COPYDATA; prints the window's answer.
int CmdCopyData(Args args) {
    HWND hwnd = ResolveWindow(args[0]);
    auto id = ParseNumber(args[1]);
    if (!id)
        return ExitUsage;
    std::wstring text = args.size() > 2 ? args[2] : L"";
    COPYDATASTRUCT data{static_cast<ULONG_PTR>(*id), static_cast<DWORD>(text.size() * sizeof(wchar_t)), text.data()};
    if (!hwnd)
        return NotFound(L"window " + std::wstring(args[0]));
    DWORD_PTR result = 0;
    if (!SendWithin(hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), &result))
        return Failed(L"no answer from " + std::wstring(args[0]) + L" to WM_COPYDATA " + std::wstring(args[1]));
    Print(std::to_wstring(static_cast<long long>(result)));
    return ExitOk;
}

int CmdMove(Args args) {
    HWND hwnd = ResolveWindow(args[0]);
    auto x = ParseNumber(args[1]);
    auto y = ParseNumber(args[2]);
    if (!x || !y)
        return ExitUsage;
    if (!hwnd)
        return NotFound(L"window " + std::wstring(args[0]));
    if (!SetWindowPos(hwnd, nullptr, static_cast<int>(*x), static_cast<int>(*y), 0, 0,
                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        return Failed(L"SetWindowPos of " + std::wstring(args[0]));
    return ExitOk;
}

int CmdClose(Args args) {
    HWND hwnd = ResolveWindow(args[0]);
    if (!hwnd)
        return NotFound(L"window " + std::wstring(args[0]));
    if (!PostMessageW(hwnd, WM_CLOSE, 0, 0))
        return Failed(L"WM_CLOSE to " + std::wstring(args[0]));
    return ExitOk;
}

int CmdMsgBox(Args args) {
    auto timeout = ParseTimeout(args[0]);
    std::optional<DWORD> pid;
    if (args.size() > 1) {
        auto value = ParseNumber(args[1]);
        if (!value || *value < 0)
            return ExitUsage;
        pid = static_cast<DWORD>(*value);
    }
    if (!timeout)
        return ExitUsage;
    HWND dialog = nullptr;
    if (!WaitUntil(*timeout, [&] { return (dialog = FindDialog(pid)) != nullptr; }))
        return NotFound(L"message box within the time");

    std::wstring text;
    std::wstring buttons;
    for (HWND child : ChildWindows(dialog)) {
        int id = GetDlgCtrlID(child);
        if (id == MessageTextId && ClassOf(child) == L"Static") {
            auto read = TextOf(child);
            if (!read)
                return Failed(L"reading the message box's text");
            text = *read;
        } else if (ClassOf(child) == L"Button" && IsWindowVisible(child)) {
            auto caption = TextOf(child);
            if (!caption)
                return Failed(L"reading a message box's button");
            if (!buttons.empty())
                buttons += L",";
            buttons += std::to_wstring(id) + L":" + OneLine(*caption);
        }
    }
    auto title = TextOf(dialog);
    if (!title)
        return Failed(L"reading the message box's title");
    Print(L"hwnd=" + HwndText(dialog));
    Print(L"pid=" + std::to_wstring(ProcessOf(dialog)));
    Print(L"title=" + OneLine(*title));
    // Message texts span lines; escaped so the reply stays one field per line.
    Print(L"text=" + Escaped(text));
    Print(L"buttons=" + buttons);
    return ExitOk;
}

// WM_COMMAND as the button itself would send it: BM_CLICK needs the dialog active, which a
// window on an unfocused Xvfb display may not be.
int CmdPress(Args args) {
    HWND dialog = ResolveWindow(args[0]);
    auto id = ParseNumber(args[1]);
    if (!id)
        return ExitUsage;
    if (!dialog)
        return NotFound(L"dialog " + std::wstring(args[0]));
    HWND button = GetDlgItem(dialog, static_cast<int>(*id));
    if (!button)
        return NotFound(L"button " + std::wstring(args[1]));
    WPARAM wparam = MAKEWPARAM(static_cast<WORD>(*id), BN_CLICKED);
    if (!PostMessageW(dialog, WM_COMMAND, wparam, reinterpret_cast<LPARAM>(button)))
        return Failed(L"WM_COMMAND to dialog " + std::wstring(args[0]));
    return ExitOk;
}

std::wstring_view PriorityName(DWORD priority) {
    switch (priority) {
    case IDLE_PRIORITY_CLASS:
        return L"idle";
    case BELOW_NORMAL_PRIORITY_CLASS:
        return L"below_normal";
    case NORMAL_PRIORITY_CLASS:
        return L"normal";
    case ABOVE_NORMAL_PRIORITY_CLASS:
        return L"above_normal";
    case HIGH_PRIORITY_CLASS:
        return L"high";
    case REALTIME_PRIORITY_CLASS:
        return L"realtime";
    default:
        return L"unknown";
    }
}

int CmdPriority(Args args) {
    auto pid = ParseNumber(args[0]);
    if (!pid || *pid < 0)
        return ExitUsage;
    UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(*pid)));
    if (!process)
        return NotFound(L"process " + std::wstring(args[0]));
    DWORD priority = GetPriorityClass(process.Get());
    if (!priority)
        return Failed(L"GetPriorityClass");
    Print(L"class=" + Hex(priority) + L" name=" + std::wstring(PriorityName(priority)));
    return ExitOk;
}

int CmdWindows(Args args) {
    auto pid = ParseNumber(args[0]);
    if (!pid || *pid < 0)
        return ExitUsage;
    bool any = false;
    for (HWND hwnd : TopLevelWindows()) {
        if (ProcessOf(hwnd) != static_cast<DWORD>(*pid))
            continue;
        auto title = TextOf(hwnd);
        if (!title) {
            if (!IsWindow(hwnd))
                continue; // gone while listed
            return Failed(L"reading the title of window " + HwndText(hwnd));
        }
        any = true;
        Print(L"hwnd=" + HwndText(hwnd) + L" class=" + ClassOf(hwnd) + L" visible=" +
              std::to_wstring(IsWindowVisible(hwnd) ? 1 : 0) + L" title=" + OneLine(*title));
    }
    return any ? ExitOk : NotFound(L"window of process " + std::wstring(args[0]));
}

int CmdChildren(Args args) {
    HWND parent = ResolveWindow(args[0]);
    if (!parent)
        return NotFound(L"window " + std::wstring(args[0]));
    for (HWND hwnd : ChildWindows(parent)) {
        auto title = TextOf(hwnd);
        if (!title) {
            if (!IsWindow(hwnd))
                continue; // gone while listed
            return Failed(L"reading the text of child " + HwndText(hwnd));
        }
        RECT r{};
        GetWindowRect(hwnd, &r);
        Print(L"hwnd=" + HwndText(hwnd) + L" id=" + std::to_wstring(GetDlgCtrlID(hwnd)) + L" class=" + ClassOf(hwnd) +
              L" visible=" + std::to_wstring(IsWindowVisible(hwnd) ? 1 : 0) + L" rect=" + std::to_wstring(r.left) +
              L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom) +
              L" title=" + OneLine(*title));
    }
    return ExitOk;
}

// The visible top-level windows from the top of the z-order down.
int CmdStack(Args) {
    for (HWND hwnd : TopLevelWindows()) {
        if (!IsWindowVisible(hwnd))
            continue;
        auto title = TextOf(hwnd);
        if (!title) {
            if (!IsWindow(hwnd))
                continue; // gone while listed
            return Failed(L"reading the title of window " + HwndText(hwnd));
        }
        Print(L"hwnd=" + HwndText(hwnd) + L" class=" + ClassOf(hwnd) + L" title=" + OneLine(*title));
    }
    return ExitOk;
}

// Serves this process's windows for ms milliseconds.
void PumpMessagesFor(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, PollMs, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
}

// Tells the test which mouse clicks reached the cover, by their point in the window.
LRESULT CALLBACK CoverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) {
        Print(L"cover-click=" + std::to_wstring(GET_X_LPARAM(lParam)) + L"," + std::to_wstring(GET_Y_LPARAM(lParam)));
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Another program's always-on-top window, shown at the top-left corner and made the foreground
// window, as a program that pushes itself in front of everything would. Left clicks that reach
// it are printed.
int CmdCover(Args args) {
    auto ms = ParseNumber(args[0]);
    if (!ms || *ms < 0)
        return ExitUsage;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = CoverProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = L"LumoraDriverCover";
    RegisterClassW(&windowClass);
    HWND cover = CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, args[1], WS_POPUP, 0, 0, 400, 300, nullptr,
                                 nullptr, windowClass.hInstance, nullptr);
    if (!cover)
        return Failed(L"creating the cover");
    ShowWindow(cover, SW_SHOW);
    SetForegroundWindow(cover);
    Print(L"hwnd=" + HwndText(cover));
    PumpMessagesFor(static_cast<DWORD>(*ms));
    DestroyWindow(cover);
    return ExitOk;
}

// Writes the marker file that tells the test an object is in place, then keeps it for ms.
int HoldWithMarker(const wchar_t* markerPath, long long ms) {
    UniqueHandle marker(
        CreateFileW(markerPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    Sleep(static_cast<DWORD>(ms));
    return ExitOk;
}

// Holds a file open without sharing, as another program that locks it would; the marker file
// appears once the lock is in place.
int CmdHold(Args args) {
    auto ms = ParseNumber(args[1]);
    if (!ms || *ms < 0)
        return ExitUsage;
    UniqueHandle file(
        CreateFileW(args[0], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
        return Failed(L"opening " + std::wstring(args[0]));
    return HoldWithMarker(args[2], *ms);
}

// Wine's own taskbar, which shows the notification icons for the one in front of it.
HWND wineTaskbar = nullptr;

// The shell's icon calls go to the taskbar in front (WM_COPYDATA): they are handed on to Wine's.
LRESULT CALLBACK TaskbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA && wineTaskbar != nullptr) {
        return SendMessageW(wineTaskbar, message, wParam, lParam);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Its clock reports every timer message without a timer: another program's nudge to redraw.
LRESULT CALLBACK TaskbarClockProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == 0 && lParam == 0) {
        Print(L"taskbar-clock-timer");
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// A taskbar of its own with a notification area and a clock, as Explorer's, in front of Wine's
// hidden one: the clock's class is what Lumora hides and shows again; the icons still show.
int CmdTaskbar(Args args) {
    auto ms = ParseNumber(args[0]);
    if (!ms || *ms < 0)
        return ExitUsage;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    wineTaskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    for (const wchar_t* name : {L"Shell_TrayWnd", L"TrayNotifyWnd", L"TrayClockWClass"}) {
        WNDCLASSW windowClass{};
        const std::wstring_view className = name;
        windowClass.lpfnWndProc = className == L"Shell_TrayWnd"     ? TaskbarProc
                                  : className == L"TrayClockWClass" ? TaskbarClockProc
                                                                    : DefWindowProcW;
        windowClass.hInstance = instance;
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        windowClass.lpszClassName = name;
        RegisterClassW(&windowClass);
    }
    HWND bar = CreateWindowExW(WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP | WS_VISIBLE, 0, 770, 1280, 30,
                               nullptr, nullptr, instance, nullptr);
    HWND area = CreateWindowExW(0, L"TrayNotifyWnd", L"", WS_CHILD | WS_VISIBLE, 1100, 0, 180, 30, bar, nullptr,
                                instance, nullptr);
    HWND clock = CreateWindowExW(0, L"TrayClockWClass", L"", WS_CHILD | WS_VISIBLE, 120, 0, 60, 30, area, nullptr,
                                 instance, nullptr);
    if (!bar || !area || !clock)
        return Failed(L"creating the taskbar");
    Print(L"hwnd=" + HwndText(clock));
    PumpMessagesFor(static_cast<DWORD>(*ms));
    DestroyWindow(bar);
    return ExitOk;
}

// Holds a named event, so that no mutex of that name can be created; the marker file appears
// once the event exists.
int CmdEvent(Args args) {
    auto ms = ParseNumber(args[1]);
    if (!ms || *ms < 0)
        return ExitUsage;
    UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, args[0]));
    if (!event.Get())
        return Failed(L"creating the event");
    return HoldWithMarker(args[2], *ms);
}

// The work area and the bounds of the monitor a window is on (the primary one without a window).
int CmdWorkArea(Args args) {
    HMONITOR monitor = nullptr;
    if (!args.empty()) {
        HWND hwnd = ResolveWindow(args[0]);
        if (!hwnd)
            return NotFound(L"window " + std::wstring(args[0]));
        monitor = MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
    } else {
        monitor = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    }
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(monitor, &info))
        return Failed(L"GetMonitorInfo");
    auto text = [](const RECT& r) {
        return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
               std::to_wstring(r.bottom);
    };
    Print(L"work=" + text(info.rcWork) + L" monitor=" + text(info.rcMonitor));
    return ExitOk;
}

// Injected input reaches the server's key state, which GetAsyncKeyState in any process reads.
int CmdKey(Args args) {
    auto vk = ParseNumber(args[0]);
    std::wstring_view how = args[1];
    if (!vk || *vk <= 0 || *vk > 0xFE || (how != L"down" && how != L"up"))
        return ExitUsage;
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(*vk);
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(static_cast<UINT>(*vk), MAPVK_VK_TO_VSC));
    input.ki.dwFlags = how == L"up" ? KEYEVENTF_KEYUP : 0;
    if (SendInput(1, &input, sizeof(input)) != 1)
        return Failed(L"SendInput");
    Sleep(PollMs); // lets the server take the event before the driver ends
    Print(L"async=" + std::to_wstring((GetAsyncKeyState(static_cast<int>(*vk)) & 0x8000) ? 1 : 0));
    return ExitOk;
}

// Moves the cursor (with a point) and prints where it is.
int CmdCursor(Args args) {
    if (args.size() == 2) {
        auto x = ParseNumber(args[0]);
        auto y = ParseNumber(args[1]);
        if (!x || !y)
            return ExitUsage;
        if (!SetCursorPos(static_cast<int>(*x), static_cast<int>(*y)))
            return Failed(L"SetCursorPos");
    } else if (!args.empty()) {
        return ExitUsage;
    }
    POINT p{};
    if (!GetCursorPos(&p))
        return Failed(L"GetCursorPos");
    Print(L"x=" + std::to_wstring(p.x) + L" y=" + std::to_wstring(p.y));
    return ExitOk;
}

// Memory in another process, for messages whose structures must live in the receiver.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, size_t size)
        : process_(process), data_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteBuffer() {
        if (data_)
            VirtualFreeEx(process_, data_, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    void* Get() const { return data_; }
    explicit operator bool() const { return data_ != nullptr; }
    bool Write(size_t offset, const void* from, size_t size) const {
        return WriteProcessMemory(process_, static_cast<char*>(data_) + offset, from, size, nullptr) != FALSE;
    }
    bool Read(size_t offset, void* to, size_t size) const {
        return ReadProcessMemory(process_, static_cast<char*>(data_) + offset, to, size, nullptr) != FALSE;
    }

private:
    HANDLE process_;
    void* data_;
};

// The texts of every tool of every tooltip control of a process, one line each.
int CmdTooltipTexts(Args args) {
    auto pid = ParseNumber(args[0]);
    if (!pid || *pid < 0)
        return ExitUsage;
    UniqueHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, static_cast<DWORD>(*pid)));
    if (!process)
        return NotFound(L"process " + std::wstring(args[0]));
    constexpr size_t TextChars = 1024;
    constexpr size_t TextOffset = 512; // past the tool record
    RemoteBuffer remote(process.Get(), TextOffset + TextChars * sizeof(wchar_t));
    if (!remote)
        return Failed(L"VirtualAllocEx");
    bool any = false;
    for (HWND hwnd : TopLevelWindows()) {
        if (ProcessOf(hwnd) != static_cast<DWORD>(*pid) || ClassOf(hwnd) != TOOLTIPS_CLASSW)
            continue;
        any = true;
        DWORD_PTR count = 0;
        if (!SendWithin(hwnd, TTM_GETTOOLCOUNT, 0, 0, &count)) {
            if (!IsWindow(hwnd))
                continue; // gone while listed
            return Failed(L"TTM_GETTOOLCOUNT to " + HwndText(hwnd));
        }
        for (DWORD_PTR i = 0; i < count; ++i) {
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof(tool);
            DWORD_PTR ok = 0;
            if (!remote.Write(0, &tool, sizeof(tool)) ||
                !SendWithin(hwnd, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(remote.Get()), &ok) ||
                !remote.Read(0, &tool, sizeof(tool)))
                return Failed(L"TTM_ENUMTOOLS to " + HwndText(hwnd));
            if (!ok)
                continue; // the tool went while we asked
            std::vector<wchar_t> text(TextChars, L'\0');
            tool.lpszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.Get()) + TextOffset);
            if (!remote.Write(TextOffset, text.data(), text.size() * sizeof(wchar_t)) ||
                !remote.Write(0, &tool, sizeof(tool)) ||
                !SendWithin(hwnd, TTM_GETTEXTW, TextChars, reinterpret_cast<LPARAM>(remote.Get()), nullptr) ||
                !remote.Read(TextOffset, text.data(), (TextChars - 1) * sizeof(wchar_t)))
                return Failed(L"TTM_GETTEXT from " + HwndText(hwnd));
            Print(L"hwnd=" + HwndText(hwnd) + L" tool=" + HwndText(tool.hwnd) + L" text=" + Escaped(text.data()));
        }
    }
    return any ? ExitOk : NotFound(L"tooltip of process " + std::wstring(args[0]));
}

// WM_DPICHANGED as the system sends it on a move to a monitor of another DPI: the suggested
// rectangle lives in the receiving process, as lParam must point into its memory.
int CmdDpiChanged(Args args) {
    HWND hwnd = ResolveWindow(args[0]);
    std::optional<long long> values[5];
    for (size_t i = 0; i < 5; ++i) {
        values[i] = ParseNumber(args[i + 1]);
        if (!values[i])
            return ExitUsage;
    }
    if (!hwnd)
        return NotFound(L"window " + std::wstring(args[0]));
    UniqueHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, ProcessOf(hwnd)));
    if (!process)
        return Failed(L"OpenProcess");
    RemoteBuffer remote(process.Get(), sizeof(RECT));
    const RECT suggested{static_cast<LONG>(*values[1]), static_cast<LONG>(*values[2]), static_cast<LONG>(*values[3]),
                         static_cast<LONG>(*values[4])};
    if (!remote || !remote.Write(0, &suggested, sizeof(suggested)))
        return Failed(L"writing the rectangle");
    const auto dpi = static_cast<WORD>(*values[0]);
    DWORD_PTR result = 0;
    if (!SendWithin(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(remote.Get()), &result))
        return Failed(L"no answer to WM_DPICHANGED from " + std::wstring(args[0]));
    Print(std::to_wstring(static_cast<long long>(result)));
    return ExitOk;
}

// Another program's top-level window with a push button in its middle, shown without taking the
// activation, for ms milliseconds.
int CmdButtonWindow(Args args) {
    auto ms = ParseNumber(args[0]);
    if (!ms || *ms < 0)
        return ExitUsage;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"LumoraDriverButtonHost";
    RegisterClassW(&windowClass);
    HWND host = CreateWindowExW(0, windowClass.lpszClassName, args[1], WS_OVERLAPPEDWINDOW, 760, 120, 440, 300, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
    HWND button = host ? CreateWindowExW(0, L"BUTTON", L"Push", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 120, 90, 180, 60,
                                         host, nullptr, windowClass.hInstance, nullptr)
                       : nullptr;
    if (!button)
        return Failed(L"creating the button window");
    ShowWindow(host, SW_SHOWNA);
    Print(L"hwnd=" + HwndText(host) + L" button=" + HwndText(button));
    PumpMessagesFor(static_cast<DWORD>(*ms));
    DestroyWindow(host);
    return ExitOk;
}

// Presses or releases a mouse button where the cursor is, as the user's hand would.
int CmdMouse(Args args) {
    std::wstring_view how = args[0];
    std::wstring_view button = args.size() > 1 ? args[1] : L"left";
    const bool down = how == L"down";
    if (!down && how != L"up")
        return ExitUsage;
    INPUT input{};
    input.type = INPUT_MOUSE;
    if (button == L"left")
        input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    else if (button == L"right")
        input.mi.dwFlags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
    else if (button == L"middle")
        input.mi.dwFlags = down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP;
    else
        return ExitUsage;
    if (SendInput(1, &input, sizeof(input)) != 1)
        return Failed(L"SendInput");
    Sleep(PollMs); // lets the server take the event before the driver ends
    return ExitOk;
}

// Sets a window's outer size, as a drag of its frame would.
int CmdResize(Args args) {
    HWND hwnd = ResolveWindow(args[0]);
    auto width = ParseNumber(args[1]);
    auto height = ParseNumber(args[2]);
    if (!width || !height)
        return ExitUsage;
    if (!hwnd)
        return NotFound(L"window " + std::wstring(args[0]));
    if (!SetWindowPos(hwnd, nullptr, 0, 0, static_cast<int>(*width), static_cast<int>(*height),
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE))
        return Failed(L"SetWindowPos of " + std::wstring(args[0]));
    return ExitOk;
}

// Takes another program's notification icon away, as a taskbar that restarts loses every icon;
// the icon is known by its window and id.
int CmdTrayDelete(Args args) {
    HWND hwnd = ResolveWindow(args[0]);
    auto id = ParseNumber(args[1]);
    if (!id)
        return ExitUsage;
    if (!hwnd)
        return NotFound(L"window " + std::wstring(args[0]));
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = hwnd;
    record.uID = static_cast<UINT>(*id);
    if (!Shell_NotifyIconW(NIM_DELETE, &record))
        return Failed(L"Shell_NotifyIcon(NIM_DELETE)");
    return ExitOk;
}

// Shows or hides another program's window without activating it.
int CmdShow(Args args) {
    HWND hwnd = ResolveWindow(args[0]);
    std::wstring_view how = args[1];
    if (how != L"show" && how != L"hide")
        return ExitUsage;
    if (!hwnd)
        return NotFound(L"window " + std::wstring(args[0]));
    ShowWindowAsync(hwnd, how == L"show" ? SW_SHOWNA : SW_HIDE);
    return ExitOk;
}

// The window the user's input goes to now, "hwnd=0" when none.
int CmdForeground(Args) {
    Print(L"hwnd=" + HwndText(GetForegroundWindow()));
    return ExitOk;
}

struct Command {
    std::wstring_view name;
    size_t minArgs;
    size_t maxArgs;
    std::wstring_view usage;
    int (*run)(Args);
};

constexpr Command Commands[] = {
    {L"find", 1, 2, L"find <class> [title]", CmdFind},
    {L"all", 1, 1, L"all <class>", CmdAll},
    {L"wait", 2, 2, L"wait <class> <timeout_ms>", CmdWait},
    {L"wait-gone", 2, 2, L"wait-gone <class> <timeout_ms>", CmdWaitGone},
    {L"info", 1, 1, L"info <hwnd|class>", CmdInfo},
    {L"post", 4, 4, L"post <hwnd|class> <msg|reg:name> <wparam> <lparam>", CmdPost},
    {L"send", 4, 4, L"send <hwnd|class> <msg|reg:name> <wparam> <lparam>", CmdSend},
    {L"close", 1, 1, L"close <hwnd|class>", CmdClose},
    {L"msgbox", 1, 2, L"msgbox <timeout_ms> [pid]", CmdMsgBox},
    {L"press", 2, 2, L"press <hwnd> <button_id>", CmdPress},
    {L"priority", 1, 1, L"priority <pid>", CmdPriority},
    {L"windows", 1, 1, L"windows <pid>", CmdWindows},
    {L"children", 1, 1, L"children <hwnd|class>", CmdChildren},
    {L"stack", 0, 0, L"stack", CmdStack},
    {L"cover", 2, 2, L"cover <ms> <title>", CmdCover},
    {L"hold", 3, 3, L"hold <path> <ms> <marker_path>", CmdHold},
    {L"taskbar", 1, 1, L"taskbar <ms>", CmdTaskbar},
    {L"event", 3, 3, L"event <name> <ms> <marker_path>", CmdEvent},
    {L"settext", 2, 2, L"settext <hwnd|class> <text>", CmdSetText},
    {L"settext-all", 2, 2, L"settext-all <hwnd|class> <text>", CmdSetTextAll},
    {L"gettext", 1, 1, L"gettext <hwnd|class>", CmdGetText},
    {L"copydata", 2, 3, L"copydata <hwnd|class> <id> [text]", CmdCopyData},
    {L"move", 3, 3, L"move <hwnd|class> <x> <y>", CmdMove},
    {L"workarea", 0, 1, L"workarea [hwnd|class]", CmdWorkArea},
    {L"key", 2, 2, L"key <vk> <down|up>", CmdKey},
    {L"cursor", 0, 2, L"cursor [x y]", CmdCursor},
    {L"tooltip-texts", 1, 1, L"tooltip-texts <pid>", CmdTooltipTexts},
    {L"button-window", 2, 2, L"button-window <ms> <title>", CmdButtonWindow},
    {L"mouse", 1, 2, L"mouse <down|up> [left|right|middle]", CmdMouse},
    {L"resize", 3, 3, L"resize <hwnd|class> <width> <height>", CmdResize},
    {L"dpi-changed", 6, 6, L"dpi-changed <hwnd|class> <dpi> <left> <top> <right> <bottom>", CmdDpiChanged},
    {L"tray-delete", 2, 2, L"tray-delete <hwnd|class> <id>", CmdTrayDelete},
    {L"show", 2, 2, L"show <hwnd|class> <show|hide>", CmdShow},
    {L"foreground", 0, 0, L"foreground", CmdForeground},
};

int Usage() {
    PrintError(L"usage: lumora-driver <command> [args]");
    for (const auto& command : Commands)
        PrintError(L"  " + std::wstring(command.usage));
    return ExitUsage;
}

int Run(int argc, wchar_t** argv) {
    if (argc < 2)
        return Usage();
    std::wstring_view name = argv[1];
    Args args(argv + 2, static_cast<size_t>(argc - 2));
    for (const auto& command : Commands) {
        if (command.name != name)
            continue;
        if (args.size() < command.minArgs || args.size() > command.maxArgs)
            return Usage();
        int rc = command.run(args);
        if (rc == ExitUsage)
            PrintError(L"usage: lumora-driver " + std::wstring(command.usage));
        return rc;
    }
    return Usage();
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    Print(L"#run"); // before anything is done: without it the caller knows nothing was
    const int rc = Run(argc, argv);
    Print(L"#exit=" + std::to_wstring(rc));
    return rc;
}

#include "tray/TaskTrayIcon.h"

#include "shell/AppNames.h"
#include "shell/Monitors.h"
#include "shell/TestFaults.h"
#include "tray/TrayRules.h"

#include <shlwapi.h>

#include <algorithm>
#include <optional>
#include <string>

namespace lumora {
namespace {

constexpr UINT_PTR AddTimer = 1;

// "tray-add-refused-3": the shell refuses the first three adds.
int AddRefusalsForTest() {
    for (int count = 1; count <= 20; ++count) {
        if (TestFault(L"tray-add-refused-" + std::to_wstring(count))) {
            return count;
        }
    }
    return 0;
}

// The program's icon at a size, scaled down from a larger picture where the file has no exact
// one (comctl32 6; LoadImage stretches the nearest instead).
HICON LoadProgramIcon(int size) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    using LoadIconWithScaleDownFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    static const auto loadScaledDown = reinterpret_cast<LoadIconWithScaleDownFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "LoadIconWithScaleDown")));
    HICON icon = nullptr;
    if (loadScaledDown != nullptr && SUCCEEDED(loadScaledDown(instance, L"MAINICON", size, size, &icon))) {
        return icon;
    }
    return static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, size, size, 0));
}

// Reads a DWORD under HKEY_CURRENT_USER; nothing when it is absent or unreadable.
std::optional<DWORD> UserPolicy(const wchar_t* key, const wchar_t* value) {
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return data;
}

void CopyText(wchar_t* target, size_t capacity, const std::wstring& text) {
    const size_t length = std::min(text.size(), capacity - 1);
    std::copy_n(text.data(), length, target);
    target[length] = L'\0';
}

IconMouse IconMouseOf(LPARAM message) {
    switch (static_cast<UINT>(message)) {
    case WM_LBUTTONDOWN:
        return IconMouse::LeftDown;
    case WM_LBUTTONUP:
        return IconMouse::LeftUp;
    case WM_RBUTTONUP:
        return IconMouse::RightUp;
    case WM_LBUTTONDBLCLK:
        return IconMouse::LeftDouble;
    case WM_RBUTTONDBLCLK:
        return IconMouse::RightDouble;
    case WM_MBUTTONDBLCLK:
        return IconMouse::MiddleDouble;
    case NIN_BALLOONUSERCLICK:
        return IconMouse::BalloonClick;
    default:
        return IconMouse::Other;
    }
}

DWORD InfoFlags(BalloonType type) {
    constexpr DWORD NoSound = 0x10;
    switch (type) {
    case BalloonType::Information:
        return NIIF_INFO | NoSound;
    case BalloonType::Exclamation:
        return NIIF_WARNING | NoSound;
    case BalloonType::Error:
        return NIIF_ERROR | NoSound;
    case BalloonType::Application:
        return NIIF_USER | NoSound;
    case BalloonType::None:
        break;
    }
    return NIIF_NONE | NoSound;
}

} // namespace

void RefreshNotificationArea() {
    // Adding an empty icon and taking it away again is what makes the taskbar repaint.
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    if (Shell_NotifyIconW(NIM_ADD, &record)) {
        Shell_NotifyIconW(NIM_DELETE, &record);
    }
}

std::unique_ptr<TKZTaskTrayIcon> TKZTaskTrayIcon::Create() {
    std::unique_ptr<TKZTaskTrayIcon> icon(new TKZTaskTrayIcon());
    CreateParams params;
    params.ClassName = names::TaskTrayIconClass;
    params.Caption = names::TaskTrayIconTitle;
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW;
    if (!icon->CreateForm(params)) {
        return nullptr;
    }
    icon->taskbarCreatedMessage_ = RegisterWindowMessageW(names::TaskbarCreatedMessage);
    icon->callbackMessage_ = RegisterWindowMessageW(names::TaskTrayIconMessage);
    // When the program runs elevated, the shell's messages must still reach the icon's window,
    // or the icon never comes back after Explorer restarts.
    for (const UINT message : {icon->taskbarCreatedMessage_, icon->callbackMessage_}) {
        ChangeWindowMessageFilterEx(icon->Handle(), message, MSGFLT_ALLOW, nullptr);
    }
    icon->ReadShellVersion();
    icon->FindTaskbarWindows();
    icon->balloonsAvailable_ = icon->DecideBalloonsAvailable();
    icon->refusalsForTest_ = AddRefusalsForTest();
    // The window sits on the primary monitor, where the notification area is.
    icon->dpi_ = WindowDpi(icon->Handle());
    return icon;
}

TKZTaskTrayIcon::~TKZTaskTrayIcon() {
    SetEnabled(false);
}

void TKZTaskTrayIcon::ReadShellVersion() {
    const UniqueModule shell(LoadLibraryW(L"shell32.dll"));
    if (!shell) {
        return;
    }
    auto getVersion =
        reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(GetProcAddress(shell.Get(), "DllGetVersion")));
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);
    if (getVersion != nullptr && SUCCEEDED(getVersion(&info))) {
        shellMajor_ = static_cast<int>(info.dwMajorVersion);
        shellMinor_ = static_cast<int>(info.dwMinorVersion);
    }
}

void TKZTaskTrayIcon::FindTaskbarWindows() {
    trayWnd_ = FindWindowW(L"Shell_TrayWnd", nullptr);
    trayNotify_ = trayWnd_ != nullptr ? FindWindowExW(trayWnd_, nullptr, L"TrayNotifyWnd", nullptr) : nullptr;
    // Windows 11's taskbar has no clock window of this class.
    const bool clockMissingForTest = TestFault(L"no-taskbar-clock");
    trayClock_ = trayNotify_ != nullptr && !clockMissingForTest
                     ? FindWindowExW(trayNotify_, nullptr, L"TrayClockWClass", nullptr)
                     : nullptr;
}

bool TKZTaskTrayIcon::DecideBalloonsAvailable() const {
    return lumora::BalloonsAvailable(
        {.ShellMajorVersion = shellMajor_,
         .NotificationAreaExists = trayNotify_ != nullptr,
         .NoTrayItemsDisplay =
             UserPolicy(L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", L"NoTrayItemsDisplay"),
         .EnableBalloonTips =
             UserPolicy(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", L"EnableBalloonTips")});
}

HICON TKZTaskTrayIcon::SmallIcon() {
    if (!icon_) {
        icon_.Reset(LoadProgramIcon(SmallIconSize(dpi_)));
    }
    return icon_ ? icon_.Get() : LoadIconW(nullptr, IDI_APPLICATION);
}

int TKZTaskTrayIcon::IconWidth() const {
    ICONINFO info{};
    if (!icon_ || !GetIconInfo(icon_.Get(), &info)) {
        return 0;
    }
    BITMAP bitmap{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

void TKZTaskTrayIcon::FollowDpi(int dpi) {
    const bool resized = SmallIconSize(dpi) != SmallIconSize(dpi_);
    dpi_ = dpi;
    if (resized && icon_) {
        icon_.Reset();
        if (Shown()) {
            NOTIFYICONDATAW record = Record(NIF_ICON);
            Notify(NIM_MODIFY, record);
        }
    }
}

NOTIFYICONDATAW TKZTaskTrayIcon::Record(UINT flags) {
    NOTIFYICONDATAW record{};
    record.cbSize = balloonsAvailable_ ? NOTIFYICONDATAW_V2_SIZE : NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = Handle();
    record.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(Handle()));
    record.uFlags = flags;
    record.uCallbackMessage = callbackMessage_;
    record.hIcon = SmallIcon();
    CopyText(record.szTip, std::size(record.szTip), IconTipText(hint_, shellMajor_, balloonsAvailable_));
    return record;
}

bool TKZTaskTrayIcon::Notify(DWORD message, NOTIFYICONDATAW& record) {
    return Shell_NotifyIconW(message, &record) != FALSE;
}

void TKZTaskTrayIcon::SetEnabled(bool enabled) {
    if (enabled == wanted_ || Handle() == nullptr) {
        return;
    }
    wanted_ = enabled;
    if (enabled) {
        BeginAdding();
        return;
    }
    KillTimer(Handle(), AddTimer);
    const bool shown = Shown();
    tries_.End();
    if (shown) {
        NOTIFYICONDATAW record = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP);
        Notify(NIM_DELETE, record);
    }
}

void TKZTaskTrayIcon::BeginAdding() {
    KillTimer(Handle(), AddTimer);
    tries_.Begin();
    TryAdd();
}

// The shell may refuse while it starts at logon, and then sends no "TaskbarCreated" when it is
// ready: the tries go on from a timer, and the icon counts as shown only once one succeeded.
void TKZTaskTrayIcon::TryAdd() {
    NOTIFYICONDATAW record = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    bool added = false;
    if (refusalsForTest_ > 0) {
        --refusalsForTest_;
    } else {
        // An icon the shell kept refuses the add, and takes the change.
        added = Notify(NIM_ADD, record) || Notify(NIM_MODIFY, record);
    }
    if (const auto wait = tries_.Tried(added)) {
        SetTimer(Handle(), AddTimer, *wait, nullptr);
    }
}

void TKZTaskTrayIcon::SetHint(const std::wstring& hint) {
    if (hint == hint_) {
        return;
    }
    hint_ = hint;
    if (Shown()) {
        NOTIFYICONDATAW record = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP);
        Notify(NIM_MODIFY, record);
    }
}

void TKZTaskTrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text, BalloonType type) {
    if (!Shown()) {
        return;
    }
    // An empty balloon first takes down one that is still showing.
    NOTIFYICONDATAW record = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO);
    Notify(NIM_MODIFY, record);
    const BalloonText balloon = MakeBalloonText(title, text);
    CopyText(record.szInfo, std::size(record.szInfo), balloon.Body);
    CopyText(record.szInfoTitle, std::size(record.szInfoTitle), balloon.Title);
    record.dwInfoFlags = InfoFlags(type);
    Notify(NIM_MODIFY, record);
}

void TKZTaskTrayIcon::IconMessage(LPARAM mouseMessage) {
    switch (clicks_.Feed(IconMouseOf(mouseMessage))) {
    case IconEvent::Click:
        if (OnClick)
            OnClick();
        break;
    case IconEvent::DoubleClick:
        if (OnDblClick)
            OnDblClick();
        break;
    case IconEvent::ContextMenu:
        if (OnContextPopup) {
            POINT cursor{};
            GetCursorPos(&cursor);
            OnContextPopup(cursor);
        }
        break;
    case IconEvent::BalloonClick:
        if (OnBalloonClick)
            OnBalloonClick();
        break;
    case IconEvent::None:
        break;
    }
}

LRESULT TKZTaskTrayIcon::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == callbackMessage_ && callbackMessage_ != 0) {
        if (wanted_ && wParam == static_cast<WPARAM>(reinterpret_cast<UINT_PTR>(Handle()) & 0xFFFFFFFF)) {
            IconMessage(lParam);
        }
        return 0;
    }
    if (message == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
        // A new taskbar may differ from the last one, balloons and all.
        FindTaskbarWindows();
        balloonsAvailable_ = DecideBalloonsAvailable();
        if (wanted_) {
            BeginAdding();
        }
        if (OnRecreate)
            OnRecreate();
        return 0;
    }
    switch (message) {
    case WM_CLOSE:
        MessageBeep(0);
        return 0;
    case WM_TIMER:
        if (wParam != AddTimer) {
            return DefaultHandler(message, wParam, lParam);
        }
        KillTimer(Handle(), AddTimer);
        if (wanted_ && tries_.Waiting()) {
            TryAdd();
        }
        return 0;
    case WM_DPICHANGED:
        FollowDpi(LOWORD(wParam));
        return 0;
    case WM_SETTINGCHANGE:
        DefaultHandler(message, wParam, lParam);
        if (icon_) {
            icon_.Reset();
            if (Shown()) {
                NOTIFYICONDATAW record = Record(NIF_ICON);
                Notify(NIM_MODIFY, record);
            }
        }
        return 0;
    default:
        return DefaultHandler(message, wParam, lParam);
    }
}

} // namespace lumora

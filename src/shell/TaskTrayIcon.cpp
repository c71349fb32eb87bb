#include "shell/TaskTrayIcon.h"

#include <shlwapi.h>

#include <algorithm>
#include <optional>

namespace lumora {
namespace {

constexpr wchar_t WindowClass[] = L"TKZTaskTrayIconWindow";
constexpr wchar_t WindowTitle[] = L"TaskBarIconWindow";
constexpr wchar_t CallbackName[] = L"TaskTrayIcon";

// Reads a DWORD under HKEY_CURRENT_USER; nothing when it is absent or unreadable.
std::optional<DWORD> UserPolicy(const wchar_t* key, const wchar_t* value) {
    DWORD data = 0;
    DWORD size = sizeof(data);
    if (RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return data;
}

void CopyTruncated(wchar_t* target, size_t capacity, const std::wstring& text) {
    const size_t length = std::min(text.size(), capacity - 1);
    std::copy_n(text.data(), length, target);
    target[length] = L'\0';
}

std::wstring WithoutLineBreaks(std::wstring text) {
    std::replace(text.begin(), text.end(), L'\r', L' ');
    std::replace(text.begin(), text.end(), L'\n', L' ');
    return text;
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
    params.ClassName = WindowClass;
    params.Caption = WindowTitle;
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW;
    if (!icon->CreateForm(params)) {
        return nullptr;
    }
    icon->taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
    icon->callbackMessage_ = RegisterWindowMessageW(CallbackName);
    icon->ReadShellVersion();
    icon->FindTaskbarWindows();
    icon->balloonsAvailable_ = icon->DecideBalloonsAvailable();
    return icon;
}

TKZTaskTrayIcon::~TKZTaskTrayIcon() {
    SetEnabled(false);
    if (icon_ != nullptr) {
        DestroyIcon(icon_);
    }
}

void TKZTaskTrayIcon::ReadShellVersion() {
    HMODULE shell = LoadLibraryW(L"shell32.dll");
    if (shell == nullptr) {
        return;
    }
    auto getVersion =
        reinterpret_cast<DLLGETVERSIONPROC>(reinterpret_cast<void*>(GetProcAddress(shell, "DllGetVersion")));
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);
    if (getVersion != nullptr && SUCCEEDED(getVersion(&info))) {
        shellMajor_ = static_cast<int>(info.dwMajorVersion);
        shellMinor_ = static_cast<int>(info.dwMinorVersion);
    }
    FreeLibrary(shell);
}

void TKZTaskTrayIcon::FindTaskbarWindows() {
    trayWnd_ = FindWindowW(L"Shell_TrayWnd", nullptr);
    trayNotify_ = trayWnd_ != nullptr ? FindWindowExW(trayWnd_, nullptr, L"TrayNotifyWnd", nullptr) : nullptr;
    trayClock_ = trayNotify_ != nullptr ? FindWindowExW(trayNotify_, nullptr, L"TrayClockWClass", nullptr) : nullptr;
}

bool TKZTaskTrayIcon::DecideBalloonsAvailable() const {
    if (shellMajor_ < 5 || trayNotify_ == nullptr) {
        return false;
    }
    if (UserPolicy(L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", L"NoTrayItemsDisplay")
            .value_or(0) != 0) {
        return false;
    }
    return shellMajor_ < 6 ||
           UserPolicy(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", L"EnableBalloonTips")
                   .value_or(1) != 0;
}

HICON TKZTaskTrayIcon::SmallIcon() {
    if (icon_ == nullptr) {
        icon_ = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    }
    return icon_ != nullptr ? icon_ : LoadIconW(nullptr, IDI_APPLICATION);
}

NOTIFYICONDATAW TKZTaskTrayIcon::Record(UINT flags) {
    NOTIFYICONDATAW record{};
    record.cbSize = balloonsAvailable_ ? NOTIFYICONDATAW_V2_SIZE : NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = Handle();
    record.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(Handle()));
    record.uFlags = flags;
    record.uCallbackMessage = callbackMessage_;
    record.hIcon = SmallIcon();
    const size_t tipCapacity = balloonsAvailable_ ? 128 : 64;
    CopyTruncated(record.szTip, tipCapacity, shellMajor_ < 5 ? WithoutLineBreaks(hint_) : hint_);
    return record;
}

bool TKZTaskTrayIcon::Notify(DWORD message, NOTIFYICONDATAW& record) {
    return Shell_NotifyIconW(message, &record) != FALSE;
}

void TKZTaskTrayIcon::SetEnabled(bool enabled) {
    if (enabled == enabled_ || Handle() == nullptr) {
        return;
    }
    NOTIFYICONDATAW record = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP);
    Notify(enabled ? NIM_ADD : NIM_DELETE, record);
    enabled_ = enabled;
}

void TKZTaskTrayIcon::SetHint(const std::wstring& hint) {
    if (hint == hint_) {
        return;
    }
    hint_ = hint;
    if (enabled_) {
        NOTIFYICONDATAW record = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP);
        Notify(NIM_MODIFY, record);
    }
}

void TKZTaskTrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text, BalloonType type) {
    if (!enabled_) {
        return;
    }
    // An empty balloon first takes down one that is still showing.
    NOTIFYICONDATAW record = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO);
    Notify(NIM_MODIFY, record);
    CopyTruncated(record.szInfo, std::size(record.szInfo), WithoutLineBreaks(text));
    CopyTruncated(record.szInfoTitle, std::size(record.szInfoTitle), WithoutLineBreaks(title));
    record.dwInfoFlags = InfoFlags(type);
    Notify(NIM_MODIFY, record);
}

void TKZTaskTrayIcon::IconMessage(LPARAM mouseMessage) {
    switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONDOWN:
        leftDown_ = true;
        break;
    case WM_LBUTTONUP:
        if (leftDown_) {
            leftDown_ = false;
            doubleClicking_ = false;
            if (OnClick)
                OnClick();
        }
        break;
    case WM_RBUTTONUP:
        if (OnContextPopup) {
            POINT cursor{};
            GetCursorPos(&cursor);
            OnContextPopup(cursor);
        }
        break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        if (!doubleClicking_) {
            doubleClicking_ = true;
            if (mouseMessage == WM_LBUTTONDBLCLK && OnDblClick)
                OnDblClick();
        }
        break;
    case NIN_BALLOONUSERCLICK:
        if (OnBalloonClick)
            OnBalloonClick();
        break;
    default:
        break;
    }
}

LRESULT TKZTaskTrayIcon::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == callbackMessage_ && callbackMessage_ != 0) {
        if (enabled_ && wParam == static_cast<WPARAM>(reinterpret_cast<UINT_PTR>(Handle()) & 0xFFFFFFFF)) {
            IconMessage(lParam);
        }
        return 0;
    }
    if (message == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
        FindTaskbarWindows();
        if (enabled_) {
            NOTIFYICONDATAW record = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP);
            Notify(NIM_ADD, record);
        }
        if (OnRecreate)
            OnRecreate();
        return 0;
    }
    switch (message) {
    case WM_CLOSE:
        MessageBeep(0);
        return 0;
    case WM_SETTINGCHANGE:
        DefaultHandler(message, wParam, lParam);
        if (enabled_ && icon_ != nullptr) {
            DestroyIcon(icon_);
            icon_ = nullptr;
            NOTIFYICONDATAW record = Record(NIF_ICON);
            Notify(NIM_MODIFY, record);
        }
        return 0;
    default:
        return DefaultHandler(message, wParam, lParam);
    }
}

} // namespace lumora

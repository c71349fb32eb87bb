#include "shell/TaskTrayIcon.h"

#include "app/AppNames.h"
#include "shell/TrayRules.h"

#include <shlwapi.h>

#include <algorithm>
#include <optional>

namespace lumora {
namespace {

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
    icon->ReadShellVersion();
    icon->FindTaskbarWindows();
    icon->balloonsAvailable_ = icon->DecideBalloonsAvailable();
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
    trayClock_ = trayNotify_ != nullptr ? FindWindowExW(trayNotify_, nullptr, L"TrayClockWClass", nullptr) : nullptr;
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
        icon_.Reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
    }
    return icon_ ? icon_.Get() : LoadIconW(nullptr, IDI_APPLICATION);
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
        if (enabled_ && icon_) {
            icon_.Reset();
            NOTIFYICONDATAW record = Record(NIF_ICON);
            Notify(NIM_MODIFY, record);
        }
        return 0;
    default:
        return DefaultHandler(message, wParam, lParam);
    }
}

} // namespace lumora

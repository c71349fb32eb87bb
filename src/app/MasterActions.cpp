// The master window's actions on the clock window: corners, stacking, keyboard move, and the
// always-in-front mode kept up while the program is idle.

#include "app/MasterForm.h"

#include <array>

namespace lumora {
namespace {

std::wstring ClassNameOf(HWND hwnd) {
    wchar_t name[256] = {};
    return GetClassNameW(hwnd, name, static_cast<int>(std::size(name))) > 0 ? name : L"";
}

std::wstring TitleOf(HWND hwnd) {
    wchar_t title[257] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(title), SMTO_ABORTIFHUNG, 100, nullptr);
    return title;
}

bool IsHintWindow(HWND hwnd) {
    const std::wstring name = ClassNameOf(hwnd);
    return name == L"tooltips_class32";
}

} // namespace

void TMasterForm::ArrangeCorner(Corner corner) {
    UpdateClock(true);
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    RECT window{};
    if (!GetWindowRect(clock_->Handle(), &window) ||
        !GetMonitorInfoW(MonitorFromWindow(clock_->Handle(), MONITOR_DEFAULTTONEAREST), &info)) {
        return;
    }
    const ScreenPoint position =
        CornerPosition(corner, window.right - window.left, window.bottom - window.top,
                       {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom},
                       settings_.Operation.SnapWindow, settings_.Operation.SnapPoint);
    SetWindowPos(clock_->Handle(), nullptr, position.X, position.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMasterForm::ZOrderAction(StackingMode mode) {
    settings_.View.Placement.ZOrder = static_cast<int32_t>(mode);
    clock_->ApplyStacking(mode);
}

void TMasterForm::KeyMove() {
    PostMessageW(clock_->Handle(), WM_SYSCOMMAND, SC_MOVE, 0);
}

bool TMasterForm::HasIdleWork() const {
    return clock_ && StackingModeFromSetting(settings_.View.Placement.ZOrder) == StackingMode::AlwaysInFront;
}

void TMasterForm::ApplicationIdle() {
    if (!HasIdleWork()) {
        return;
    }
    HWND foreground = GetForegroundWindow();
    if (foreground == nullptr) {
        return;
    }
    const std::wstring foregroundClass = ClassNameOf(foreground);
    if (foregroundClass.empty() || IsHintWindow(foreground) ||
        AnyIgnoreRuleMatches(settings_.IgnoreWindows, TitleOf(foreground), foregroundClass)) {
        return;
    }
    HWND top = GetTopWindow(nullptr);
    if (top == nullptr || top == lastTopWindow_) {
        return;
    }
    lastTopWindow_ = top;
    const std::wstring topClass = ClassNameOf(top);
    if (topClass.empty() || IsHintWindow(top) ||
        AnyIgnoreRuleMatches(settings_.IgnoreWindows, TitleOf(top), topClass)) {
        return;
    }
    SetWindowPos(clock_->Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSENDCHANGING | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

} // namespace lumora

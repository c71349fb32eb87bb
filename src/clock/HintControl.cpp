#include "clock/HintControl.h"

#include "clock/Placement.h"

#include <commctrl.h>

namespace lumora {
namespace {

constexpr int MaxTipWidth = 300;

TTTOOLINFOW ToolFor(HWND owner, const std::wstring& text) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_IDISHWND;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(owner);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    return tool;
}

ScreenRect MonitorOf(POINT point) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info);
    return {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
}

} // namespace

TKZHintControl::TKZHintControl(HWND owner) : owner_(owner) {
    Recreate(false);
}

TKZHintControl::~TKZHintControl() {
    if (tooltip_ != nullptr) {
        DestroyWindow(tooltip_);
    }
}

// The balloon look is a window style, so switching it takes a new control.
void TKZHintControl::Recreate(bool balloon) {
    if (tooltip_ != nullptr) {
        DestroyWindow(tooltip_);
    }
    balloon_ = balloon;
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | (balloon ? TTS_BALLOON : 0), CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_, nullptr, GetModuleHandleW(nullptr),
                               nullptr);
    if (tooltip_ == nullptr) {
        return;
    }
    TTTOOLINFOW tool = ToolFor(owner_, text_);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, MaxTipWidth);
}

void TKZHintControl::Show(const std::wstring& text, POINT cursor, bool balloon) {
    if (balloon != balloon_ || tooltip_ == nullptr) {
        Recreate(balloon);
    }
    if (tooltip_ == nullptr) {
        return;
    }
    text_ = text;
    TTTOOLINFOW tool = ToolFor(owner_, text_);
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    const LRESULT size = SendMessageW(tooltip_, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&tool));
    TooltipShape shape;
    shape.Width = LOWORD(size);
    shape.Height = HIWORD(size);
    shape.Balloon = balloon;
    const TooltipPlacement place =
        PlaceTooltip({cursor.x, cursor.y}, shape, MonitorOf(cursor), GetSystemMetrics(SM_CYCURSOR));
    SendMessageW(tooltip_, TTM_TRACKPOSITION, 0, MAKELPARAM(place.Position.X, place.Position.Y));
    SendMessageW(tooltip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void TKZHintControl::Hide() {
    if (tooltip_ != nullptr) {
        TTTOOLINFOW tool = ToolFor(owner_, text_);
        SendMessageW(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    }
}

bool TKZHintControl::Visible() const {
    return tooltip_ != nullptr && IsWindowVisible(tooltip_);
}

} // namespace lumora

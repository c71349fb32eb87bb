#include "clock/LumoraForm.h"

#include "shell/AppNames.h"
#include <windowsx.h>

namespace lumora {
namespace {

constexpr UINT_PTR HoverTimer = 1;
constexpr UINT_PTR HintHideTimer = 2;
constexpr UINT HintPause = 500;     // the usual pause before a hint shows
constexpr int HintHidePause = 2500; // and how long it stays

} // namespace

PictureStacking PictureStackingFor(StackingMode mode) {
    switch (mode) {
    case StackingMode::InFront:
    case StackingMode::AlwaysInFront:
        return PictureStacking::TopMost;
    case StackingMode::NotInFront:
        return PictureStacking::BottomMost;
    case StackingMode::Normal:
        break;
    }
    return PictureStacking::Normal;
}

ClockWindowOptions ClockWindowOptionsFrom(const Settings& settings) {
    ClockWindowOptions options;
    options.Operation = settings.Operation;
    options.Stacking = StackingModeFromSetting(settings.View.Placement.ZOrder);
    options.ToolTipStyle = settings.View.ToolTipStyle;
    options.ToolTipTime = settings.View.ToolTipTime;
    return options;
}

std::unique_ptr<TLumoraForm> TLumoraForm::Create(HWND master, const ClockWindowOptions& options,
                                                 ClockWindowEvents events) {
    std::unique_ptr<TLumoraForm> form(new TLumoraForm(options, std::move(events)));
    CreateParams params;
    params.ClassName = names::LumoraFormClass;
    params.ClassStyle = CS_DBLCLKS;
    params.Caption = L"Lumora";
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW;
    params.Left = -32000;
    params.Top = -32000;
    params.Owner = master;
    if (!form->CreateForm(params)) {
        return nullptr;
    }
    form->hint_ = std::make_unique<TKZHintControl>(form->Handle());
    return form;
}

void TLumoraForm::SetOptions(const ClockWindowOptions& options) {
    const bool restack = shownOnce_ && options.Stacking != options_.Stacking;
    options_ = options;
    if (restack) {
        ApplyStacking(options.Stacking);
    }
}

void TLumoraForm::ApplyShowCommand(int command) {
    ShowWindow(Handle(), command);
    if (command != SW_HIDE) {
        shownOnce_ = true;
    }
}

void TLumoraForm::PlaceForFirstShow(ScreenPoint position) {
    SetWindowPos(Handle(), nullptr, position.X, position.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLumoraForm::ApplyStacking(StackingMode mode) {
    options_.Stacking = mode;
    SetStacking(PictureStackingFor(mode));
}

void TLumoraForm::Push(const PixelBuffer& image, const PushOptions& options) {
    // Window alpha only from 16 bits per pixel up; below, the key colour alone.
    const bool blend = options.ColourDepth >= 16;
    PictureOptions picture;
    picture.Layered = options.Layered;
    picture.PerPixelAlpha = blend;
    picture.Opacity = blend ? options.Opacity : 255;
    // The region follows the transparent-colour value, which is the hole colour while a hole shows.
    picture.KeyColour = options.Layered ? options.KeyColour : options.TransparentColour;
    if (!shown_) {
        picture.Shape = PictureShape::Keep;
    } else if (options.TransparentColour == options.KeyColour && options.OpaqueBackground) {
        picture.Shape = PictureShape::Rectangle;
    } else {
        picture.Shape = PictureShape::CutOutKey;
    }
    picture.EraseBackground = options.EraseBackground;
    PushPicture(image, picture);
}

ScreenRect TLumoraForm::WindowRect() const {
    RECT r{};
    GetWindowRect(Handle(), &r);
    return {r.left, r.top, r.right, r.bottom};
}

// The cursor tells whether the clock can be dragged.
bool TLumoraForm::SetCursorShape(LPARAM lParam) {
    const UINT mouseMessage = HIWORD(lParam);
    LPCWSTR shape = IDC_ARROW;
    if (!options_.Operation.Fixed) {
        shape = mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_NCLBUTTONDOWN ? IDC_SIZEALL : IDC_HAND;
    }
    SetCursor(LoadCursorW(nullptr, shape));
    return true;
}

// Pulls a moving clock to the snap lines of its monitor.
void TLumoraForm::SnapWhileMoving(WINDOWPOS& pos) {
    const bool ctrlDown = GetKeyState(VK_CONTROL) < 0;
    if (!shownOnce_ || (pos.flags & SWP_NOMOVE) != 0 || !SnappingInEffect(options_.Operation.SnapWindow, ctrlDown)) {
        return;
    }
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &info)) {
        return;
    }
    const ScreenRect window = WindowRect();
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    const ScreenPoint snapped =
        SnapPosition({pos.x, pos.y}, window.Right - window.Left, window.Bottom - window.Top,
                     {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom},
                     {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom},
                     taskbar != nullptr && IsWindowVisible(taskbar), options_.Operation);
    pos.x = snapped.X;
    pos.y = snapped.Y;
}

void TLumoraForm::MouseMoved(bool nonClient) {
    if (!mouseInside_) {
        mouseInside_ = true;
        // The leave to watch for is of the kind the pointer is on: a pinned face is client area,
        // and non-client tracking there reports a leave at once.
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE | (nonClient ? TME_NONCLIENT : 0u), Handle(), 0};
        TrackMouseEvent(&track);
        if (events_.MouseEntered) {
            events_.MouseEntered();
        }
    }
    const bool buttonDown = GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0 || GetKeyState(VK_MBUTTON) < 0;
    if (!buttonDown && IsWindowVisible(Handle()) && options_.ToolTipStyle > 0 && !hoverPending_) {
        hoverPending_ = true;
        SetTimer(Handle(), HoverTimer, HintPause, nullptr);
    }
}

void TLumoraForm::CancelHover(bool mouseLeft) {
    KillTimer(Handle(), HoverTimer);
    if (mouseLeft) {
        hoverPending_ = false;
        mouseInside_ = false;
    }
    hint_->Hide();
}

void TLumoraForm::HoverTimerFired() {
    KillTimer(Handle(), HoverTimer);
    if (!events_.HintText) {
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    hint_->Show(events_.HintText(), cursor, options_.ToolTipStyle > 1);
    const int hidePause = options_.ToolTipTime > 0 ? options_.ToolTipTime : HintHidePause + options_.ToolTipTime;
    SetTimer(Handle(), HintHideTimer, static_cast<UINT>(hidePause), nullptr);
}

void TLumoraForm::PopupMenuAt(POINT point) {
    if (events_.PopupMenu) {
        events_.PopupMenu(point);
    }
}

LRESULT TLumoraForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        MessageBeep(0); // Alt+F4 does not close the clock
        return 0;
    case WM_NCHITTEST:
        DefaultHandler(message, wParam, lParam);
        return options_.Operation.Fixed ? HTCLIENT : HTCAPTION;
    case WM_SETCURSOR:
        return SetCursorShape(lParam) ? TRUE : FALSE;
    case WM_NCRBUTTONDOWN:
        // Not to the default: Wine's waits for the release itself there, and the window would
        // never hear of it.
        return 0;
    case WM_NCRBUTTONUP:
        // Handled here only: the default would also raise WM_CONTEXTMENU, a second menu.
        PopupMenuAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_RBUTTONUP: {
        // The same for a fixed clock, whose face is client area: Wine's default raises no
        // WM_CONTEXTMENU for it.
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(Handle(), &point);
        PopupMenuAt(point);
        return 0;
    }
    case WM_CONTEXTMENU: {
        const ScreenPoint point = ContextMenuPoint({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, WindowRect());
        PopupMenuAt({point.X, point.Y});
        return 0;
    }
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == L' ') {
            const ScreenPoint centre = WindowCentre(WindowRect());
            PopupMenuAt({centre.X, centre.Y});
            return 0;
        }
        break;
    case WM_ENABLE:
        DefaultHandler(message, wParam, lParam);
        // A modal dialog disables the program's windows; the clock stays usable.
        if (!wParam) {
            EnableWindow(Handle(), TRUE);
        }
        return 0;
    case WM_ENTERSIZEMOVE:
        moving_ = true;
        break;
    case WM_EXITSIZEMOVE:
        moving_ = false;
        break;
    case WM_WINDOWPOSCHANGING:
        SnapWhileMoving(*reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN: {
        CancelHover(false);
        const LRESULT result = DefaultHandler(message, wParam, lParam); // the move loop runs here
        if (events_.Click) {
            events_.Click();
        }
        return result;
    }
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK:
        DefaultHandler(message, wParam, lParam);
        if (events_.DoubleClick) {
            events_.DoubleClick();
        }
        return 0;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        MouseMoved(message == WM_NCMOUSEMOVE);
        break;
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
        CancelHover(true);
        break;
    case WM_TIMER:
        if (wParam == HoverTimer) {
            HoverTimerFired();
        } else if (wParam == HintHideTimer) {
            KillTimer(Handle(), HintHideTimer);
            hint_->Hide();
        }
        return 0;
    case WM_MOVE:
    case WM_NCACTIVATE:
    case WM_COMMAND:
    case WM_MOUSEWHEEL:
        CancelHover(false);
        break;
    default:
        if ((message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
            (message >= WM_NCLBUTTONDOWN && message <= WM_NCMBUTTONDBLCLK) ||
            (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK)) {
            CancelHover(false);
        }
        break;
    }
    return TLayeredPictureForm::HandleMessage(message, wParam, lParam);
}

} // namespace lumora

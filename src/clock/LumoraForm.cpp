#include "clock/LumoraForm.h"

#include "clock/FaceComposer.h"

#include <windowsx.h>

#include <cstring>

namespace lumora {
namespace {

constexpr wchar_t FormClass[] = L"TLumoraForm";
constexpr UINT_PTR HoverTimer = 1;
constexpr UINT_PTR HintHideTimer = 2;
constexpr UINT HintPause = 500;     // the usual pause before a hint shows
constexpr int HintHidePause = 2500; // and how long it stays

// A region from rectangles one pixel high, as ExtCreateRegion takes them.
UniqueRegion RegionFromRuns(const std::vector<RegionRun>& runs) {
    std::vector<char> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(runs.size());
    header->nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    auto* rects = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
    RECT bounds{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (size_t i = 0; i < runs.size(); ++i) {
        rects[i] = RECT{runs[i].X0, runs[i].Y, runs[i].X1, runs[i].Y + 1};
        bounds.left = std::min(bounds.left, rects[i].left);
        bounds.top = std::min(bounds.top, rects[i].top);
        bounds.right = std::max(bounds.right, rects[i].right);
        bounds.bottom = std::max(bounds.bottom, rects[i].bottom);
    }
    header->rcBound = runs.empty() ? RECT{0, 0, 0, 0} : bounds;
    return UniqueRegion(
        ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data())));
}

} // namespace

std::unique_ptr<TLumoraForm> TLumoraForm::Create(HWND master, const Settings& settings, ClockWindowEvents events) {
    std::unique_ptr<TLumoraForm> form(new TLumoraForm(settings, std::move(events)));
    CreateParams params;
    params.ClassName = FormClass;
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

void TLumoraForm::SetFaceSize(int width, int height) {
    SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLumoraForm::ApplyShowCommand(int command) {
    ShowWindow(Handle(), command);
    if (command != SW_HIDE) {
        shownOnce_ = true;
    }
}

void TLumoraForm::PlaceForFirstShow(ScreenPoint position) {
    SetWindowPos(Handle(), nullptr, position.X, position.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyStacking(StackingModeFromSetting(settings_.View.Placement.ZOrder));
}

void TLumoraForm::ApplyStacking(StackingMode mode) {
    HWND after = HWND_NOTOPMOST;
    if (mode == StackingMode::InFront || mode == StackingMode::AlwaysInFront) {
        after = HWND_TOPMOST;
    } else if (mode == StackingMode::NotInFront) {
        after = HWND_BOTTOM;
    }
    SetWindowPos(Handle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TLumoraForm::SetClickThrough(bool on, bool layered) {
    if (!layered) {
        return;
    }
    const LONG_PTR exStyle = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    const LONG_PTR wanted = on ? (exStyle | WS_EX_LAYERED | WS_EX_TRANSPARENT) : (exStyle & ~WS_EX_TRANSPARENT);
    if (wanted != exStyle) {
        SetWindowLongPtrW(Handle(), GWL_EXSTYLE, wanted);
    }
}

ScreenRect TLumoraForm::WindowRect() const {
    RECT r{};
    GetWindowRect(Handle(), &r);
    return {r.left, r.top, r.right, r.bottom};
}

bool TLumoraForm::CopyToDib(const PixelBuffer& image) {
    if (dib_.Width() != image.Width || dib_.Height() != image.Height) {
        dibSelected_.reset();
        if (!dib_.Create(image.Width, image.Height)) {
            return false;
        }
        dibSelected_ = std::make_unique<SelectedObject>(dibDc_.Get(), dib_.Get());
    }
    std::memcpy(dib_.Bits(), image.Pixels.data(), image.Pixels.size() * sizeof(Pixel));
    GdiFlush();
    return true;
}

void TLumoraForm::Push(const PixelBuffer& image, const PushOptions& options) {
    if (image.Empty() || !CopyToDib(image)) {
        return;
    }
    if (options.Layered) {
        PushLayered(options);
    } else {
        PushRegion(image, options);
    }
}

void TLumoraForm::PushLayered(const PushOptions& options) {
    const LONG_PTR exStyle = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) == 0) {
        SetWindowLongPtrW(Handle(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    }
    SIZE size{dib_.Width(), dib_.Height()};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, options.Opacity, AC_SRC_ALPHA};
    const DWORD flags = options.ColourDepth < 16 ? ULW_COLORKEY : ULW_ALPHA;
    UpdateLayeredWindow(Handle(), nullptr, nullptr, &size, dibDc_.Get(), &source, options.KeyColour, &blend, flags);
}

void TLumoraForm::PushRegion(const PixelBuffer& image, const PushOptions& options) {
    if (shown_) {
        if (options.TransparentColour != options.KeyColour || !options.OpaqueBackground) {
            UniqueRegion region = RegionFromRuns(RegionRuns(image, ToPixel(options.TransparentColour)));
            // The window owns the region once it is set.
            if (region && SetWindowRgn(Handle(), region.Get(), FALSE)) {
                region.Release();
            }
        } else {
            SetWindowRgn(Handle(), nullptr, FALSE);
        }
    }
    InvalidateRect(Handle(), nullptr, options.EraseBackground);
}

void TLumoraForm::FormPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    if (dib_.Get() != nullptr) {
        BitBlt(dc, 0, 0, dib_.Width(), dib_.Height(), dibDc_.Get(), 0, 0, SRCCOPY);
    }
    EndPaint(Handle(), &paint);
}

// The cursor tells whether the clock can be dragged.
bool TLumoraForm::SetCursorShape(LPARAM lParam) {
    const UINT mouseMessage = HIWORD(lParam);
    LPCWSTR shape = IDC_ARROW;
    if (!settings_.Operation.Fixed) {
        shape = mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_NCLBUTTONDOWN ? IDC_SIZEALL : IDC_HAND;
    }
    SetCursor(LoadCursorW(nullptr, shape));
    return true;
}

// Keeps the bottom-most mode below everything and snaps a moving clock to the screen edges.
void TLumoraForm::WindowPosChanging(WINDOWPOS& pos) {
    if (StackingModeFromSetting(settings_.View.Placement.ZOrder) == StackingMode::NotInFront) {
        pos.hwndInsertAfter = HWND_BOTTOM;
        pos.flags &= ~SWP_NOZORDER;
    }
    const bool ctrlDown = GetKeyState(VK_CONTROL) < 0;
    if (!shownOnce_ || (pos.flags & SWP_NOMOVE) != 0 || !SnappingInEffect(settings_.Operation.SnapWindow, ctrlDown)) {
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
                     taskbar != nullptr && IsWindowVisible(taskbar), settings_.Operation);
    pos.x = snapped.X;
    pos.y = snapped.Y;
}

void TLumoraForm::MouseMoved() {
    if (!mouseInside_) {
        mouseInside_ = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE | TME_NONCLIENT, Handle(), 0};
        TrackMouseEvent(&track);
        if (events_.MouseEntered) {
            events_.MouseEntered();
        }
    }
    const bool buttonDown = GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0 || GetKeyState(VK_MBUTTON) < 0;
    if (!buttonDown && IsWindowVisible(Handle()) && settings_.View.ToolTipStyle > 0 && !hoverPending_) {
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
    hint_->Show(events_.HintText(), cursor, settings_.View.ToolTipStyle > 1);
    const int hidePause =
        settings_.View.ToolTipTime > 0 ? settings_.View.ToolTipTime : HintHidePause + settings_.View.ToolTipTime;
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
    case WM_ERASEBKGND:
        return 1; // the picture covers the whole window
    case WM_PAINT:
        FormPaint();
        return 0;
    case WM_NCHITTEST:
        DefaultHandler(message, wParam, lParam);
        return settings_.Operation.Fixed ? HTCLIENT : HTCAPTION;
    case WM_SETCURSOR:
        return SetCursorShape(lParam) ? TRUE : FALSE;
    case WM_NCRBUTTONUP:
        // Handled here only: the default would also raise WM_CONTEXTMENU, a second menu.
        PopupMenuAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
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
    case WM_DISPLAYCHANGE:
        DefaultHandler(message, wParam, lParam);
        colourDepth_ = static_cast<int>(wParam);
        return 0;
    case WM_ENTERSIZEMOVE:
        moving_ = true;
        break;
    case WM_EXITSIZEMOVE:
        moving_ = false;
        break;
    case WM_WINDOWPOSCHANGING:
        WindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
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
        MouseMoved();
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
    return DefaultHandler(message, wParam, lParam);
}

} // namespace lumora

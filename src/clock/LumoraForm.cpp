#include "clock/LumoraForm.h"

#include "clock/FaceComposer.h"

#include <cstring>

namespace lumora {
namespace {

constexpr wchar_t FormClass[] = L"TLumoraForm";

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

std::unique_ptr<TLumoraForm> TLumoraForm::Create(HWND master) {
    std::unique_ptr<TLumoraForm> form(new TLumoraForm());
    CreateParams params;
    params.ClassName = FormClass;
    params.Caption = L"Lumora";
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW;
    params.Left = -32000;
    params.Top = -32000;
    params.Owner = master;
    if (!form->CreateForm(params)) {
        return nullptr;
    }
    return form;
}

void TLumoraForm::SetFaceSize(int width, int height) {
    SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLumoraForm::Show(int left, int top) {
    if (!shownOnce_) {
        SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(Handle(), SW_SHOWNA);
    shown_ = true;
    shownOnce_ = true;
}

void TLumoraForm::Hide() {
    ShowWindow(Handle(), SW_HIDE);
    shown_ = false;
}

bool TLumoraForm::CopyToDib(const PixelBuffer& image) {
    if (dib_.Width() != image.Width || dib_.Height() != image.Height) {
        if (!dib_.Create(image.Width, image.Height)) {
            return false;
        }
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
    MemoryDC memory;
    SelectedObject selected(memory.Get(), dib_.Get());
    SIZE size{dib_.Width(), dib_.Height()};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, options.Opacity, AC_SRC_ALPHA};
    const DWORD flags = options.ColourDepth < 16 ? ULW_COLORKEY : ULW_ALPHA;
    UpdateLayeredWindow(Handle(), nullptr, nullptr, &size, memory.Get(), &source, options.KeyColour, &blend, flags);
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
        MemoryDC memory;
        SelectedObject selected(memory.Get(), dib_.Get());
        BitBlt(dc, 0, 0, dib_.Width(), dib_.Height(), memory.Get(), 0, 0, SRCCOPY);
    }
    EndPaint(Handle(), &paint);
}

LRESULT TLumoraForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        FormPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the picture covers the whole window
    case WM_ENTERSIZEMOVE:
        moving_ = true;
        break;
    case WM_EXITSIZEMOVE:
        moving_ = false;
        break;
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

} // namespace lumora

#include "clock/LayeredPictureForm.h"

#include "clock/FaceComposer.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace lumora {
namespace {

using UpdateLayeredWindowFunction = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                                  DWORD);

// Looked up, not imported: the program still starts where the system has no layered windows.
UpdateLayeredWindowFunction UpdateLayeredWindowEntry() {
    static const auto entry = reinterpret_cast<UpdateLayeredWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "UpdateLayeredWindow")));
    return entry;
}

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

void TLayeredPictureForm::SetPictureSize(int width, int height) {
    SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLayeredPictureForm::PushPicture(const PixelBuffer& image, const PictureOptions& options) {
    if (image.Empty() || !CopyToDib(image)) {
        return;
    }
    if (options.Layered) {
        PushLayered(options);
    } else {
        PushRegion(image, options);
    }
}

void TLayeredPictureForm::SetClickThrough(bool on, bool layered) {
    if (!layered) {
        return;
    }
    const LONG_PTR exStyle = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    const LONG_PTR wanted = on ? (exStyle | WS_EX_LAYERED | WS_EX_TRANSPARENT) : (exStyle & ~WS_EX_TRANSPARENT);
    if (wanted != exStyle) {
        SetWindowLongPtrW(Handle(), GWL_EXSTYLE, wanted);
    }
}

void TLayeredPictureForm::SetStacking(PictureStacking stacking) {
    stacking_ = stacking;
    HWND after = HWND_NOTOPMOST;
    if (stacking == PictureStacking::TopMost) {
        after = HWND_TOPMOST;
    } else if (stacking == PictureStacking::BottomMost) {
        after = HWND_BOTTOM;
    }
    SetWindowPos(Handle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool TLayeredPictureForm::CopyToDib(const PixelBuffer& image) {
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

void TLayeredPictureForm::PushLayered(const PictureOptions& options) {
    const auto updateLayeredWindow = UpdateLayeredWindowEntry();
    if (updateLayeredWindow == nullptr) {
        return;
    }
    const LONG_PTR exStyle = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) == 0) {
        SetWindowLongPtrW(Handle(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    }
    SIZE size{dib_.Width(), dib_.Height()};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, options.Opacity, 0};
    DWORD flags = ULW_ALPHA;
    if (options.PerPixelAlpha) {
        blend.AlphaFormat = AC_SRC_ALPHA;
    } else {
        // A colour key alone, or with a constant opacity on top.
        flags = ULW_COLORKEY | (options.Opacity < 255 ? ULW_ALPHA : 0);
    }
    updateLayeredWindow(Handle(), nullptr, nullptr, &size, dibDc_.Get(), &source, options.KeyColour, &blend, flags);
}

void TLayeredPictureForm::PushRegion(const PixelBuffer& image, const PictureOptions& options) {
    if (options.Shape == PictureShape::CutOutKey) {
        UniqueRegion region = RegionFromRuns(RegionRuns(image, ToPixel(options.KeyColour)));
        // The window owns the region once it is set.
        if (region && SetWindowRgn(Handle(), region.Get(), FALSE)) {
            region.Release();
        }
    } else if (options.Shape == PictureShape::Rectangle) {
        SetWindowRgn(Handle(), nullptr, FALSE);
    }
    InvalidateRect(Handle(), nullptr, options.EraseBackground);
}

void TLayeredPictureForm::FormPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle(), &paint);
    if (dib_.Get() != nullptr) {
        BitBlt(dc, 0, 0, dib_.Width(), dib_.Height(), dibDc_.Get(), 0, 0, SRCCOPY);
    }
    EndPaint(Handle(), &paint);
}

LRESULT TLayeredPictureForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // the picture covers the whole window
    case WM_PAINT:
        FormPaint();
        return 0;
    case WM_WINDOWPOSCHANGING:
        if (stacking_ == PictureStacking::BottomMost) {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            pos->hwndInsertAfter = HWND_BOTTOM;
            pos->flags &= ~SWP_NOZORDER;
        }
        break;
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

} // namespace lumora

#include "overlays/OverlayForm.h"

#include "overlays/OutlinedText.h"

namespace lumora {

bool TOverlayForm::CreateOverlay(const wchar_t* className, DWORD exStyle, const ScreenRect& rect, bool clickThrough) {
    CreateParams params;
    params.ClassName = className;
    params.Style = WS_POPUP;
    params.ExStyle = exStyle;
    if (clickThrough && context_.Layered) {
        params.ExStyle |= WS_EX_LAYERED | WS_EX_TRANSPARENT;
    }
    params.Left = rect.Left;
    params.Top = rect.Top;
    params.Width = rect.Right - rect.Left;
    params.Height = rect.Bottom - rect.Top;
    params.Owner = context_.Owner;
    if (!CreateForm(params)) {
        return false;
    }
    if (context_.BottomMost) {
        SetStacking(PictureStacking::BottomMost);
    }
    return true;
}

void TOverlayForm::PushKeyed(const PixelBuffer& image, uint8_t opacity, Colour key) {
    PictureOptions options;
    options.Layered = context_.Layered;
    options.PerPixelAlpha = false;
    options.KeyColour = key;
    options.Shape = PictureShape::CutOutKey;
    if (context_.Layered && opacity < 255) {
        options.PerPixelAlpha = true;
        PushPicture(KeyedAtOpacity(image, key, opacity), options);
    } else {
        PushPicture(image, options);
    }
}

void TOverlayForm::ShowOnTop() {
    // Bottom-most stacking turns the top-most request into the bottom of the z-order.
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TOverlayForm::Restack(PictureStacking stacking) {
    context_.BottomMost = stacking == PictureStacking::BottomMost;
    SetStacking(stacking);
}

LRESULT TOverlayForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        if (context_.Clicked) {
            // The handler may close this window: nothing of it is touched afterwards.
            const std::function<void()> clicked = context_.Clicked;
            clicked();
            return 0;
        }
        break;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ENABLE:
        // A modal dialog disables the program's windows; the overlays stay as they are.
        if (!wParam) {
            EnableWindow(Handle(), TRUE);
        }
        return 0;
    default:
        break;
    }
    return TLayeredPictureForm::HandleMessage(message, wParam, lParam);
}

} // namespace lumora

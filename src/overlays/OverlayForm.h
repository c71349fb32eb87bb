#pragma once
// The broadcast's overlay windows (caption, call sign, logo, omake, test pattern) share one
// conduct: borderless pictures that never take the focus, stay usable while a modal dialog has
// disabled the program's windows, and follow the clock to the bottom of the z-order when it
// stays behind everything.

#include "clock/PixelBuffer.h"
#include "shell/ScreenGeometry.h"
#include "overlays/OutlinedText.h"
#include "clock/LayeredPictureForm.h"

#include <cstdint>
#include <functional>

namespace lumora {

struct OverlayContext {
    HWND Owner = nullptr;          // the clock window (the master window for the test pattern)
    bool Layered = false;          // colour keyed where layered windows exist, else a window region
    bool BottomMost = false;       // the clock's bottom-most stacking holds for the overlay too
    std::function<void()> Clicked; // any mouse button on the window; unset: clicks are ignored
};

class TOverlayForm : public TLayeredPictureForm {
public:
    // Brings the window on screen without taking the focus; top-most unless said otherwise.
    virtual void Show() { ShowOnTop(); }
    // Top-most (or bottom-most with the clock) and visible, without taking the focus.
    void ShowOnTop();
    // Takes the clock's new stacking.
    void Restack(PictureStacking stacking);

protected:
    explicit TOverlayForm(OverlayContext context) : context_(std::move(context)) {}
    const OverlayContext& Context() const { return context_; }

    // A hidden popup over rect; clickThrough lets the mouse reach the windows below, which only
    // a layered window can do.
    bool CreateOverlay(const wchar_t* className, DWORD exStyle, const ScreenRect& rect, bool clickThrough);
    // The picture with the key colour clear: colour keyed at the given constant opacity where
    // layered windows exist, cut to a region elsewhere.
    void PushKeyed(const PixelBuffer& image, uint8_t opacity, Colour key = OverlayKey);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    OverlayContext context_;
};

} // namespace lumora

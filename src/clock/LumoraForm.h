#pragma once
// The clock window: borderless, no taskbar button, its picture pushed from the face image either
// with per-pixel alpha (layered) or as a colour-keyed window region.

#include "clock/PixelBuffer.h"
#include "shell/GdiObjects.h"
#include "shell/KZForm.h"

#include <memory>

namespace lumora {

struct PushOptions {
    bool Layered = true;           // UpdateLayeredWindow; otherwise a window region
    int ColourDepth = 32;          // bits per pixel of the display
    uint8_t Opacity = 255;         // the clock's AlphaBlend
    Colour KeyColour = 0;          // the colour that stands for transparent (RGB)
    Colour TransparentColour = 0;  // the current transparent-colour value (the hole colour while a hole shows)
    bool OpaqueBackground = false; // a background type other than transparent
    bool EraseBackground = false;  // full redraw
};

class TLumoraForm final : public TKZForm {
public:
    static std::unique_ptr<TLumoraForm> Create(HWND master);

    // Sets the client size; the contents follow with the next push.
    void SetFaceSize(int width, int height);
    void Push(const PixelBuffer& image, const PushOptions& options);

    bool Shown() const { return shown_; }
    bool ShownOnce() const { return shownOnce_; }
    bool NeedsUpdate() const { return needsUpdate_; }
    void SetNeedsUpdate(bool value) { needsUpdate_ = value; }
    bool Moving() const { return moving_; }

    // Shows without activating, or hides; the first show places the window.
    void Show(int left, int top);
    void Hide();

private:
    TLumoraForm() = default;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void FormPaint();
    bool CopyToDib(const PixelBuffer& image);
    void PushLayered(const PushOptions& options);
    void PushRegion(const PixelBuffer& image, const PushOptions& options);

    DibSection dib_;
    bool shown_ = false;
    bool shownOnce_ = false;
    bool needsUpdate_ = false;
    bool moving_ = false;
};

} // namespace lumora

#pragma once
// A borderless window that shows a 32-bit picture with transparency: the clock, and the caption,
// call-sign, logo and omake windows. Where layered windows exist the picture goes to the screen
// through UpdateLayeredWindow, with per-pixel alpha or a colour key and a constant opacity;
// elsewhere a window region cut from the picture shapes the window, which paints the picture.

#include "clock/PixelBuffer.h"
#include "shell/GdiObjects.h"
#include "shell/KZForm.h"

#include <cstdint>
#include <memory>

namespace lumora {

// How the region path shapes the window.
enum class PictureShape {
    Keep,      // leave the current region
    Rectangle, // no region: the whole window shows
    CutOutKey, // only the pixels whose colour differs from the key colour show
};

struct PictureOptions {
    bool Layered = true;       // UpdateLayeredWindow; otherwise a window region and WM_PAINT
    bool PerPixelAlpha = true; // layered: the picture's premultiplied alpha; otherwise the key colour is clear
    Colour KeyColour = 0;      // RGB: the clear colour of a colour-keyed push, and the region's key
    uint8_t Opacity = 255;     // constant opacity of the whole window, layered only
    PictureShape Shape = PictureShape::CutOutKey; // region path only
    bool EraseBackground = false;                 // region path: erase the window before it repaints
};

enum class PictureStacking { Normal, TopMost, BottomMost };

class TLayeredPictureForm : public TKZForm {
public:
    // Sets the window size; the picture follows with the next push.
    void SetPictureSize(int width, int height);
    // Takes a copy of image and brings it to the screen.
    void PushPicture(const PixelBuffer& image, const PictureOptions& options);
    // Clicks go through to the windows below; only a layered window can do that.
    void SetClickThrough(bool on, bool layered);
    // Bottom-most holds through every later position change, whoever asks for another place.
    void SetStacking(PictureStacking stacking);

protected:
    TLayeredPictureForm() = default;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool CopyToDib(const PixelBuffer& image);
    void PushLayered(const PictureOptions& options);
    void PushRegion(const PixelBuffer& image, const PictureOptions& options);
    void FormPaint();

    DibSection dib_;
    MemoryDC dibDc_; // holds dib_ selected between pushes
    std::unique_ptr<SelectedObject> dibSelected_;
    PictureStacking stacking_ = PictureStacking::Normal;
};

} // namespace lumora

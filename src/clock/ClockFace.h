#pragma once
// The clock face between passes: the glyph strip, the background picture and the window-sized
// background and image. One pass paints the time text into the image.

#include "clock/FaceComposer.h"

#include <optional>
#include <string_view>

namespace lumora {

// What a pass needs to know of the display and the design.
struct FaceContext {
    const DesignSettings* Design = nullptr;
    FaceColours Colours;
    bool Layered = true;
    int ColourDepth = 32;
};

class ClockFace {
public:
    void SetStrip(GlyphStrip strip) { strip_ = std::move(strip); }
    void SetPicture(std::optional<PixelBuffer> picture) { picture_ = std::move(picture); }
    const GlyphStrip& Strip() const { return strip_; }

    // Sizes the face for widthInCells cells, rebuilding the background when the size changed or
    // on a full redraw, then paints the background and one cell per character of text.
    // Returns true when the window has to take the new size.
    bool Paint(std::wstring_view text, int widthInCells, bool fullRedraw, const FaceContext& context);

    const PixelBuffer& Image() const { return image_; }
    FaceExtent Size() const { return size_; }

private:
    GlyphStrip strip_;
    std::optional<PixelBuffer> picture_;
    PixelBuffer background_;
    PixelBuffer image_;
    FaceExtent size_;
};

} // namespace lumora

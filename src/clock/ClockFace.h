#pragma once
// The clock face between passes: the glyph strip, the background picture, the window-sized
// background and image, and where each cell's transition stands. One pass paints the time text
// into the image.

#include "clock/CellAnimation.h"
#include "clock/FaceComposer.h"
#include "clock/Visibility.h"

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

// One pass's text. previousText is the text of the last pass; cells that differ from it change
// with the transition of animation (nullptr: none).
struct FacePass {
    std::wstring_view Text;
    std::wstring_view PreviousText;
    int WidthInCells = 0;
    bool FullRedraw = false; // also draws every cell in its final state at once
    const AnimationSettings* Animation = nullptr;
};

struct FacePaint {
    bool Resized = false;     // the window has to take the new size
    bool NeedsUpdate = false; // a cell changed or is still moving

    bool operator==(const FacePaint&) const = default;
};

class ClockFace {
public:
    void SetStrip(GlyphStrip strip) { strip_ = std::move(strip); }
    void SetPicture(std::optional<PixelBuffer> picture) { picture_ = std::move(picture); }
    const GlyphStrip& Strip() const { return strip_; }

    // Sizes the face for the pass's width in cells, rebuilding the background when the size
    // changed or on a full redraw, then paints the background and every cell at its step of the
    // transition, and moves the transitions on.
    FacePaint Paint(const FacePass& pass, const FaceContext& context);

    // Every character whole, without transitions. Returns true when the window has to take the
    // new size.
    bool Paint(std::wstring_view text, int widthInCells, bool fullRedraw, const FaceContext& context);

    // The mouse hole: cut into the picture that is pushed, or taken out again.
    void CutHole(const Hole& hole, Pixel fill);
    void ClearHole();

    // The face, or the face with the hole cut into it while there is one.
    const PixelBuffer& Image() const { return holeCut_ ? image_ : face_; }
    FaceExtent Size() const { return size_; }
    const CellAnimation& Cells() const { return cells_; }

private:
    GlyphStrip strip_;
    std::optional<PixelBuffer> picture_;
    PixelBuffer background_;
    PixelBuffer face_;  // background and cells
    PixelBuffer image_; // the face with the hole, while holeCut_
    bool holeCut_ = false;
    bool animating_ = false;
    FaceExtent size_;
    CellAnimation cells_;
};

} // namespace lumora

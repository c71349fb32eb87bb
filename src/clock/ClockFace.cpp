#include "clock/ClockFace.h"

#include "clock/TimeText.h"

namespace lumora {

bool ClockFace::Paint(std::wstring_view text, int widthInCells, bool fullRedraw, const FaceContext& context) {
    const DesignSettings& design = *context.Design;
    const FaceExtent size = FaceSize(widthInCells, strip_, design.DigitMargin);
    const bool resized = size != size_;
    if (resized || fullRedraw) {
        size_ = size;
        const Pixel brush = CanvasBrush(design, context.Layered, context.ColourDepth, context.Colours.Key);
        background_ = BuildBackground(size.Width, size.Height, design, context.Colours, picture_ ? &*picture_ : nullptr,
                                      context.Layered, brush);
        image_ = PixelBuffer(size.Width, size.Height);
    }
    CopyBackground(background_, image_, design, context.Layered, context.ColourDepth);
    const CellMode mode = CellModeFor(strip_, context.Layered);
    const Rect wholeCell{0, 0, strip_.CellWidth, strip_.CellHeight};
    for (size_t i = 0; i < text.size(); ++i) {
        DrawCell(image_, strip_, GlyphIndex(text[i]), CellRect(static_cast<int>(i) + 1, strip_, design.DigitMargin),
                 wholeCell, 255, mode);
    }
    return resized;
}

} // namespace lumora

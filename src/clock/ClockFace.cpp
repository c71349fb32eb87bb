#include "clock/ClockFace.h"

namespace lumora {

FacePaint ClockFace::Paint(const FacePass& pass, const FaceContext& context) {
    const DesignSettings& design = *context.Design;
    const FaceExtent size = FaceSize(pass.WidthInCells, strip_, design.DigitMargin);
    FacePaint result;
    result.Resized = size != size_;
    if (result.Resized || pass.FullRedraw) {
        size_ = size;
        const Pixel brush = CanvasBrush(design, context.Layered, context.ColourDepth, context.Colours.Key);
        background_ = BuildBackground(size.Width, size.Height, design, context.Colours, picture_ ? &*picture_ : nullptr,
                                      context.Layered, brush);
        image_ = PixelBuffer(size.Width, size.Height);
    }
    CopyBackground(background_, image_, design, context.Layered, context.ColourDepth);

    const AnimationSettings animation = pass.Animation ? *pass.Animation : AnimationSettings{};
    const int w = strip_.CellWidth;
    const int h = strip_.CellHeight;
    cells_.Begin(pass.Text, pass.PreviousText, pass.FullRedraw, animation, w, h);
    // A shorter text leaves cells that only the new picture clears.
    result.NeedsUpdate = pass.PreviousText.size() > pass.Text.size();
    const CellMode mode = CellModeFor(strip_, context.Layered);
    for (int k = 1; k <= cells_.CellCount(); ++k) {
        const Rect cell = CellRect(k, strip_, design.DigitMargin);
        for (const CellDrawOp& op : cells_.DrawOps(k, pass.Text[static_cast<size_t>(k - 1)], cell, animation.Type)) {
            DrawCell(image_, strip_, op.Glyph, op.Destination, op.Source, op.Alpha, mode);
        }
        if (cells_.Step(k, animation.Type, animation.Speed, w, h)) {
            result.NeedsUpdate = true;
        }
    }
    return result;
}

bool ClockFace::Paint(std::wstring_view text, int widthInCells, bool fullRedraw, const FaceContext& context) {
    FacePass pass;
    pass.Text = text;
    pass.WidthInCells = widthInCells;
    pass.FullRedraw = fullRedraw;
    return Paint(pass, context).Resized;
}

} // namespace lumora

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
        face_ = PixelBuffer(size.Width, size.Height);
    } else if (pass.Text == pass.PreviousText && !animating_) {
        // Nothing moves: the picture of the last pass is still right.
        return result;
    }
    CopyBackground(background_, face_, design, context.Layered, context.ColourDepth);

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
            DrawCell(face_, strip_, op.Glyph, op.Destination, op.Source, op.Alpha, mode);
        }
        if (cells_.Step(k, animation.Type, animation.Speed, w, h)) {
            result.NeedsUpdate = true;
        }
    }
    animating_ = result.NeedsUpdate;
    holeCut_ = false;
    return result;
}

void ClockFace::CutHole(const Hole& hole, Pixel fill) {
    image_ = face_;
    holeCut_ = true;
    const Rect& a = hole.Area;
    // The ellipse test at pixel centres, in doubled coordinates to stay in integers.
    const int64_t rx = a.Width, ry = a.Height;
    for (int y = std::max(0, a.Y); y < std::min(image_.Height, a.Y + a.Height); ++y) {
        for (int x = std::max(0, a.X); x < std::min(image_.Width, a.X + a.Width); ++x) {
            if (hole.Shape == HoleShape::Ellipse) {
                const int64_t dx = 2 * (x - a.X) + 1 - rx;
                const int64_t dy = 2 * (y - a.Y) + 1 - ry;
                if (dx * dx * ry * ry + dy * dy * rx * rx > rx * rx * ry * ry) {
                    continue;
                }
            }
            image_.At(x, y) = fill;
        }
    }
}

void ClockFace::ClearHole() {
    image_ = face_;
}

bool ClockFace::Paint(std::wstring_view text, int widthInCells, bool fullRedraw, const FaceContext& context) {
    FacePass pass;
    pass.Text = text;
    pass.WidthInCells = widthInCells;
    pass.FullRedraw = fullRedraw;
    return Paint(pass, context).Resized;
}

} // namespace lumora

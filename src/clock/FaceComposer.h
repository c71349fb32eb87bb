#pragma once
// One pass of the clock face on pixel buffers: window size, background, the cells over it,
// and the region runs for systems without layered windows. The shell only rasterises fonts,
// loads pictures and pushes the finished image to the screen.

#include "clock/GlyphStrip.h"

#include <array>
#include <cstdint>
#include <vector>

namespace lumora {

struct Rect {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;

    bool operator==(const Rect&) const = default;
};

struct FaceExtent {
    int Width = 0;
    int Height = 0;

    bool operator==(const FaceExtent&) const = default;
};

// Client size of a clock of widthInCells cells; margins are left, top, right, bottom.
FaceExtent FaceSize(int widthInCells, const GlyphStrip& strip, const std::array<int32_t, 4>& margins);

// Where character k (1-based) of the time text goes.
Rect CellRect(int k, const GlyphStrip& strip, const std::array<int32_t, 4>& margins);

// A two-colour gradient, one line at a time: colour 1 on the first line, colour 2 on the last.
// vertical: one row per y, else one column per x. Pixels get the given alpha byte.
void FillGradient(PixelBuffer& image, const Rect& rect, Colour start, Colour end, bool vertical, uint8_t alpha = 0);

// Colour of the image canvas's brush: what transparent and colour backgrounds are filled with.
Pixel CanvasBrush(const DesignSettings& design, bool layered, int colourDepth, Colour clockKey);

// The window-sized background. picture: the loaded background picture, nullptr when missing.
PixelBuffer BuildBackground(int width, int height, const DesignSettings& design, const FaceColours& colours,
                            const PixelBuffer* picture, bool layered, Pixel canvasBrush);

// Starts a pass: image becomes the background, faded by BackGroundAlpha where the window blends.
void CopyBackground(const PixelBuffer& background, PixelBuffer& image, const DesignSettings& design, bool layered,
                    int colourDepth);

enum class CellMode {
    Copy,         // untouched glyph image file
    AlphaBlend,   // layered window: premultiplied source over
    MaskAndPaint, // colour-keyed window: AND the mask, then OR the strip
};

CellMode CellModeFor(const GlyphStrip& strip, bool layered);

// Draws glyph glyphIndex (0..11; anything else draws nothing). source is within the glyph's cell
// (0, 0, CellWidth, CellHeight for the whole cell); a destination of another size stretches.
void DrawCell(PixelBuffer& image, const GlyphStrip& strip, int glyphIndex, const Rect& destination, const Rect& source,
              int constantAlpha, CellMode mode);

// Source over for premultiplied pixels with a constant alpha, as AlphaBlend with per-pixel alpha.
Pixel BlendOver(Pixel destination, Pixel source, int constantAlpha);

// One pixel high rectangle per maximal run of pixels whose colour differs from key; X1 exclusive.
struct RegionRun {
    int Y = 0;
    int X0 = 0;
    int X1 = 0;

    bool operator==(const RegionRun&) const = default;
};

std::vector<RegionRun> RegionRuns(const PixelBuffer& image, Pixel key);

} // namespace lumora

#pragma once
// Digits drawn from a system font: the automatic point size, the box the glyphs are measured in,
// and the one cell every glyph is cropped to. The shell only draws the text and reads the pixels.

#include "clock/PixelBuffer.h"

#include <optional>
#include <span>

namespace lumora {

// The digit font's point size: the setting, or screen height / 15 to the nearest integer when it is 0.
int DigitFontPoints(int fontSize, int screenHeight);

// Pixel height of a font of that many points at dpi pixels per inch, to the nearest integer.
int FontPixelHeight(int points, int dpi);

struct CellBox {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    bool operator==(const CellBox&) const = default;
};

// Every glyph is drawn centred in this box: twice the widest character by twice the line height.
CellBox MeasuringBox(int maxCharWidth, int lineHeight);

// Black text on white as GDI drew it: a pixel darker than mid-grey is glyph.
GlyphMask DarkPixels(std::span<const Pixel> pixels, int width, int height);

// The cell all glyphs share: the bounding box of every glyph pixel of the measuring box with all
// glyphs drawn on top of each other; nothing when the font drew no pixel.
std::optional<CellBox> SharedGlyphCell(const GlyphMask& measured);

// Where glyph index is drawn in the strip: the measuring box moved so that the shared cell lands
// at index * cell width, row 0.
CellBox StripTextBox(const CellBox& measuringBox, const CellBox& cell, int index);

} // namespace lumora

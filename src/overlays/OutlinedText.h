#pragma once
// The overlay text look: white glyphs with a black rim, as the caption, the call sign and the
// omake window draw their text. The shell rasterises the text to a mask; this paints it.

#include "clock/PixelBuffer.h"

namespace lumora {

// The overlays' clear colour where they are colour keyed (magenta).
constexpr Colour OverlayKey = 0xFF00FF;

constexpr Pixel OutlineBlack = 0xFF000000;
constexpr Pixel OutlineWhite = 0xFFFFFFFF;

// Width of the whole rim band, from the font's cell height: height / divisor, made even, at least 2.
// The rim on each side of a stroke is half of it.
int OutlineWidthFor(int fontHeight, int divisor);

// Paints mask at (left, top): black wherever the mask, moved by any (dx, dy) with
// 0 <= dx, dy <= 2 * rim, covers a pixel, then the mask itself white at (left + rim, top + rim).
// Every other pixel keeps its colour, so a typed line can grow on the image it already has.
void DrawOutlinedText(PixelBuffer& image, const GlyphMask& mask, int left, int top, int rim);

// The mask outlined on its own image, 2 * rim larger each way, background everywhere else.
PixelBuffer OutlinedTextImage(const GlyphMask& mask, int rim, Pixel background);

// The picture as a layered window shows it with a clear key colour at a constant opacity, in
// premultiplied per-pixel alpha: the key's pixels fully clear, every other one at opacity. Some
// window systems drop the colour key when a constant opacity comes with it; this shows the same
// everywhere.
PixelBuffer KeyedAtOpacity(const PixelBuffer& image, Colour key, uint8_t opacity);

} // namespace lumora

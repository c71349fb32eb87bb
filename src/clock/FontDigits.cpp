#include "clock/FontDigits.h"

#include <algorithm>
#include <cmath>

namespace lumora {

int DigitFontPoints(int fontSize, int screenHeight) {
    return fontSize != 0 ? fontSize : static_cast<int>(std::lround(screenHeight / 15.0));
}

int FontPixelHeight(int points, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(points) * dpi / 72.0));
}

CellBox MeasuringBox(int maxCharWidth, int lineHeight) {
    // At least 2 x 2, so that a font without metrics still gets a canvas.
    return {0, 0, std::max(2, 2 * maxCharWidth), std::max(2, 2 * lineHeight)};
}

GlyphMask DarkPixels(std::span<const Pixel> pixels, int width, int height) {
    GlyphMask mask(width, height);
    for (size_t i = 0; i < mask.Bits.size() && i < pixels.size(); ++i) {
        const Pixel p = pixels[i];
        mask.Bits[i] = ((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) < 3 * 128 ? 1 : 0;
    }
    return mask;
}

std::optional<CellBox> SharedGlyphCell(const GlyphMask& measured) {
    int left = measured.Width, top = measured.Height, right = -1, bottom = -1;
    for (int y = 0; y < measured.Height; ++y) {
        for (int x = 0; x < measured.Width; ++x) {
            if (measured.At(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return std::nullopt;
    }
    return CellBox{left, top, right - left + 1, bottom - top + 1};
}

CellBox StripTextBox(const CellBox& measuringBox, const CellBox& cell, int index) {
    return {measuringBox.Left - cell.Left + index * cell.Width, measuringBox.Top - cell.Top, measuringBox.Width,
            measuringBox.Height};
}

} // namespace lumora

#include "overlays/OutlinedText.h"

#include "clock/GlyphStrip.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace lumora {

int OutlineWidthFor(int fontHeight, int divisor) {
    int width = divisor > 0 ? fontHeight / divisor : 0;
    if (width % 2 != 0) {
        ++width;
    }
    return width <= 1 ? 2 : width;
}

void DrawOutlinedText(PixelBuffer& image, const GlyphMask& mask, int left, int top, int rim) {
    rim = std::max(rim, 0);
    const int band = 2 * rim;
    const int width = mask.Width + band;
    const int height = mask.Height + band;
    if (mask.Width <= 0 || mask.Height <= 0) {
        return;
    }
    // The square stamp is a dilation along x and then along y: each pass only remembers where it
    // last saw glyph, so the cost does not grow with the rim.
    constexpr int Never = std::numeric_limits<int>::min() / 2;
    std::vector<int> lastRow(static_cast<size_t>(width), Never);
    const int x0 = std::max(0, -left);
    const int x1 = std::min(width, image.Width - left);
    for (int y = 0; y < height; ++y) {
        if (y < mask.Height) {
            const uint8_t* bits = &mask.Bits[static_cast<size_t>(y) * static_cast<size_t>(mask.Width)];
            int lastLit = Never;
            for (int x = 0; x < width; ++x) {
                if (x < mask.Width && bits[x] != 0) {
                    lastLit = x;
                }
                if (x - lastLit <= band) {
                    lastRow[static_cast<size_t>(x)] = y;
                }
            }
        }
        const int iy = top + y;
        if (iy < 0 || iy >= image.Height || x0 >= x1) {
            continue;
        }
        const int my = y - rim;
        const uint8_t* white = my >= 0 && my < mask.Height
                                   ? &mask.Bits[static_cast<size_t>(my) * static_cast<size_t>(mask.Width)]
                                   : nullptr;
        Pixel* out = &image.At(left + x0, iy);
        for (int x = x0; x < x1; ++x, ++out) {
            const int mx = x - rim;
            if (white && mx >= 0 && mx < mask.Width && white[mx] != 0) {
                *out = OutlineWhite;
            } else if (y - lastRow[static_cast<size_t>(x)] <= band) {
                *out = OutlineBlack;
            }
        }
    }
}

PixelBuffer OutlinedTextImage(const GlyphMask& mask, int rim, Pixel background) {
    rim = std::max(rim, 0);
    PixelBuffer image(std::max(mask.Width, 0) + 2 * rim, std::max(mask.Height, 0) + 2 * rim, background);
    DrawOutlinedText(image, mask, 0, 0, rim);
    return image;
}

PixelBuffer KeyedAtOpacity(const PixelBuffer& image, Colour key, uint8_t opacity) {
    PixelBuffer result = image;
    const Pixel keyPixel = ToPixel(key);
    for (Pixel& pixel : result.Pixels) {
        pixel = pixel == keyPixel ? 0 : Premultiply((pixel & 0xFFFFFFu) | (uint32_t(opacity) << 24));
    }
    return result;
}

} // namespace lumora

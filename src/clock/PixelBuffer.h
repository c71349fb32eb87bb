#pragma once
// Images as the logic draws them: 32-bit pixels laid out like a top-down Windows DIB section,
// so the shell can hand the pixels to GDI as they are.

#include "settings/ValueCodecs.h"

#include <cstdint>
#include <vector>

namespace lumora {

// 0xAARRGGBB, which is B, G, R, A in memory as a 32-bit DIB holds it.
using Pixel = uint32_t;

constexpr Pixel ToPixel(Colour rgb, uint8_t alpha = 255) {
    return (uint32_t(alpha) << 24) | ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}
constexpr Colour ToColour(Pixel p) {
    return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
}
constexpr uint8_t AlphaOf(Pixel p) {
    return static_cast<uint8_t>(p >> 24);
}

struct PixelBuffer {
    int Width = 0;
    int Height = 0;
    std::vector<Pixel> Pixels; // row by row, top row first

    PixelBuffer() = default;
    PixelBuffer(int width, int height, Pixel fill = 0)
        : Width(width), Height(height), Pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill) {}

    Pixel& At(int x, int y) {
        return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
    }
    Pixel At(int x, int y) const {
        return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
    }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    bool Empty() const { return Width <= 0 || Height <= 0; }

    bool operator==(const PixelBuffer&) const = default;
};

// A two-colour image: true where a glyph is, false for background.
struct GlyphMask {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Bits; // one byte per pixel, row by row, top row first

    GlyphMask() = default;
    GlyphMask(int width, int height)
        : Width(width), Height(height), Bits(static_cast<size_t>(width) * static_cast<size_t>(height), 0) {}

    bool At(int x, int y) const {
        return Bits[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)] != 0;
    }
    void Set(int x, int y, bool glyph) {
        Bits[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)] = glyph ? 1 : 0;
    }

    bool operator==(const GlyphMask&) const = default;
};

} // namespace lumora

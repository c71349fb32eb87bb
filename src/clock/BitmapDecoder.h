#pragma once
// Reads Windows bitmaps: glyph strips, background pictures and logos from disk (.bmp files) and
// the built-in artwork from the resources (packed DIBs). Both come from outside and may be damaged,
// so anything we cannot read with certainty is refused rather than guessed at.

#include "clock/PixelBuffer.h"

#include <cstdint>
#include <optional>
#include <span>

namespace lumora {

// Images beyond these sizes are refused before any pixel memory is taken.
struct BitmapLimits {
    int MaxWidth = 16384;
    int MaxHeight = 16384;
};

// A whole .bmp file: the 14-byte "BM" file header, then the DIB.
std::optional<PixelBuffer> DecodeBitmapFile(std::span<const uint8_t> bytes, const BitmapLimits& limits = {});

// Bits per pixel of a whole .bmp file whose header can be read, else 0.
int BitmapFileBitCount(std::span<const uint8_t> bytes);

// A packed DIB as an RT_BITMAP resource holds it: info header, colour table, then the bits.
std::optional<PixelBuffer> DecodeDib(std::span<const uint8_t> bytes, const BitmapLimits& limits = {});

} // namespace lumora

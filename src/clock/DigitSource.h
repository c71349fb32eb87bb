#pragma once
// Where the twelve raw glyphs come from: the built-in strips, a font, or a glyph image file.

#include "clock/BitmapDecoder.h"
#include "clock/PixelBuffer.h"
#include "settings/Settings.h"

#include <optional>
#include <string>

namespace lumora {

struct RawDigits {
    GlyphMask Mask;      // true = glyph; 12 cells side by side
    PixelBuffer Picture; // the image itself, for a glyph file used untouched
    int CellWidth = 0;
    int CellHeight = 0;
    int PointSize = 0; // the size relative outline widths follow
    bool Italic = false;
    bool Untouched = false;
};

// Glyph image files larger than this are refused in favour of the built-in strip.
constexpr BitmapLimits GlyphFileLimits{1056, 192};

RawDigits LoadRawDigits(const DesignSettings& design, int screenHeight, int dpi);

// A bitmap file from disk, or nothing when it is missing, unreadable or not a bitmap.
std::optional<PixelBuffer> LoadBitmapFile(const std::wstring& path, const BitmapLimits& limits = {});
// A bitmap resource of the program's own, or nothing when it is missing or damaged.
std::optional<PixelBuffer> LoadBitmapResource(int id);

} // namespace lumora

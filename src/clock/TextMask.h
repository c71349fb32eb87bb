#pragma once
// Text rasterised by GDI into a two-colour mask: black text on a white 32-bit canvas, every dark
// pixel a glyph pixel. Fonts made with NONANTIALIASED_QUALITY give clean edges without touching
// the system's font smoothing.

#include "clock/PixelBuffer.h"
#include "shell/GdiObjects.h"

#include <memory>
#include <string>
#include <string_view>

namespace lumora {

class TextMaskCanvas {
public:
    // A white canvas; Valid() is false when the bitmap could not be made.
    TextMaskCanvas(int width, int height);
    TextMaskCanvas(const TextMaskCanvas&) = delete;
    TextMaskCanvas& operator=(const TextMaskCanvas&) = delete;

    bool Valid() const { return dib_.Bits() != nullptr; }
    int Width() const { return dib_.Width(); }
    int Height() const { return dib_.Height(); }

    void Clear();
    // Black text in rect with DrawTextW's flags.
    void Draw(HFONT font, std::wstring_view text, RECT rect, UINT flags);
    GlyphMask Mask() const;

private:
    DibSection dib_;
    MemoryDC dc_;
    std::unique_ptr<SelectedObject> selected_; // dib_ stays selected for the canvas' life
};

// Measures text in one font, on a DC kept for many measurements.
class TextMeasure {
public:
    explicit TextMeasure(HFONT font) : selected_(dc_.Get(), font) {}

    // The rectangle DrawTextW fills with text in box, with DT_CALCRECT added to flags.
    RECT Measure(std::wstring_view text, RECT box, UINT flags) const;

private:
    MemoryDC dc_;
    SelectedObject selected_;
};

// A font for two-colour text: cellHeight pixels, the system's default character set, no
// antialiasing. Null when GDI cannot make it.
UniqueFont CreateMaskFont(const std::wstring& faceName, int cellHeight);

// text drawn in rect (from the canvas' top-left) with DrawTextW's flags, as a width x height
// mask; empty when the canvas cannot be made.
GlyphMask RasteriseText(HFONT font, std::wstring_view text, int width, int height, RECT rect, UINT flags);

} // namespace lumora

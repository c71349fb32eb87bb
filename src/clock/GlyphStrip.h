#pragma once
// The twelve digit cells as the face draws them: the raw glyphs grown by the outlines and the
// drop shadow, coloured, and prepared for the layered or the colour-keyed window.

#include "clock/PixelBuffer.h"
#include "settings/DerivedSettings.h"
#include "settings/Settings.h"

namespace lumora {

constexpr int GlyphCount = 12; // "0" to "9", colon, seconds separator

// Design colours with system colours already resolved to RGB (00BBGGRR).
struct FaceColours {
    Colour Digit = 0;
    Colour Outer = 0;
    Colour Inner = 0;
    Colour Shadow = 0;
    Colour Fill = 0; // Color
    Colour Gradation1 = 0;
    Colour Gradation2 = 0;
    Colour Key = 0; // clock key colour
};

FaceColours ResolveFaceColours(const DesignSettings& design, const SystemColourTable& system, Colour clockKey);

struct GlyphStrip {
    PixelBuffer Strip;
    GlyphMask Mask; // colour-keyed window only: true where Strip has the key colour
    int CellWidth = 0;
    int CellHeight = 0;
    int Spacing = 0;
    int Inner = 0;
    int Outer = 0;
    int Shadow = 0;
    bool Untouched = false; // drawn by plain copy
};

// What the strip builder needs besides the design settings.
struct StripRequest {
    int PointSize = 0;   // the font size relative outline widths scale with
    bool Italic = false; // system font only: italic cells lean into the gap
    FaceColours Colours;
    bool Layered = false; // per-pixel alpha window rather than colour key and region
};

// Point size of a font whose pixel height is ch at dpi pixels per inch, to the nearest integer.
int PointSizeOfPixelHeight(int ch, int dpi);

// A frame or shadow width: 0 when off; relative widths grow by one step per 48 points.
int EffectiveFrameWidth(bool on, int size, bool relative, int pointSize);

// Space between cells; may be negative.
int EffectiveSpacing(int spacing, bool relative, int rawCellWidth, bool italic);

// Glyph image file silhouette: the bottom-left pixel's colour is background, everything else glyph.
// A monochrome strip is read as black glyphs instead.
GlyphMask SilhouetteOf(const PixelBuffer& image, bool monochrome = false);

// raw: 12 cells of cw x ch side by side, true = glyph.
GlyphStrip BuildGlyphStrip(const GlyphMask& raw, int cw, int ch, const DesignSettings& design,
                           const StripRequest& request);

// A glyph image file used as it is: no recolouring, outlines or shadow; cells cw x ch.
GlyphStrip BuildUntouchedStrip(const PixelBuffer& raw, int cw, int ch, const DesignSettings& design,
                               const StripRequest& request);

// channel x alpha / 255 to the nearest integer, alpha kept.
Pixel Premultiply(Pixel p);

} // namespace lumora

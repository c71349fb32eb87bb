#include "clock/GlyphStrip.h"

#include <algorithm>
#include <cmath>

namespace lumora {
namespace {

constexpr Pixel RgbMask = 0x00FFFFFF;

bool SameColour(Pixel a, Pixel b) {
    return ((a ^ b) & RgbMask) == 0;
}

// One decoration layer: the raw glyphs of every cell moved by (dx, dy) within their cell and
// grown right and down by 2 x radius. Equals stamping each cell at every offset of that square,
// but costs two sliding windows instead of (2r + 1)^2 stamps.
struct Layer {
    int Dx = 0;
    int Dy = 0;
    int Radius = 0;
    Colour Paint = 0;
};

std::vector<uint8_t> PlaceGlyphs(const GlyphMask& raw, int cw, int ch, int pitch, const Layer& layer, int width,
                                 int height) {
    std::vector<uint8_t> placed(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    const int rows = std::min(ch, raw.Height);
    for (int i = 0; i < GlyphCount; ++i) {
        const int x0 = i * pitch + layer.Dx;
        for (int y = 0; y < rows; ++y) {
            const int ty = y + layer.Dy;
            if (ty < 0 || ty >= height) {
                continue;
            }
            for (int x = 0; x < cw; ++x) {
                const int sx = i * cw + x;
                const int tx = x0 + x;
                if (sx < raw.Width && tx >= 0 && tx < width && raw.At(sx, y)) {
                    placed[static_cast<size_t>(ty) * static_cast<size_t>(width) + static_cast<size_t>(tx)] = 1;
                }
            }
        }
    }
    return placed;
}

// Grows every set pixel over the next `span` - 1 pixels to the right and then downwards.
void DilateTrailing(std::vector<uint8_t>& bits, int width, int height, int span) {
    if (span <= 1) {
        return;
    }
    std::vector<uint8_t> row(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        uint8_t* line = bits.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        std::copy(line, line + width, row.begin());
        int count = 0;
        for (int x = 0; x < width; ++x) {
            count += row[static_cast<size_t>(x)];
            if (x >= span) {
                count -= row[static_cast<size_t>(x - span)];
            }
            line[x] = count > 0 ? 1 : 0;
        }
    }
    // Columns keep a running count each, so the pass still walks memory row by row.
    std::vector<int> counts(static_cast<size_t>(width), 0);
    std::vector<uint8_t> previous(bits);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = previous.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        const uint8_t* leaving =
            y >= span ? previous.data() + static_cast<size_t>(y - span) * static_cast<size_t>(width) : nullptr;
        uint8_t* out = bits.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 0; x < width; ++x) {
            counts[static_cast<size_t>(x)] += in[x] - (leaving ? leaving[x] : 0);
            out[x] = counts[static_cast<size_t>(x)] > 0 ? 1 : 0;
        }
    }
}

void PaintLayer(PixelBuffer& strip, const GlyphMask& raw, int cw, int ch, int pitch, const Layer& layer) {
    std::vector<uint8_t> bits = PlaceGlyphs(raw, cw, ch, pitch, layer, strip.Width, strip.Height);
    DilateTrailing(bits, strip.Width, strip.Height, 2 * layer.Radius + 1);
    // GDI leaves the alpha byte 0 when it draws into a 32-bit bitmap; the preparation sets it.
    const Pixel colour = ToPixel(layer.Paint, 0);
    for (size_t i = 0; i < bits.size(); ++i) {
        if (bits[i]) {
            strip.Pixels[i] = colour;
        }
    }
}

void PrepareForDrawing(GlyphStrip& g, Colour key, bool layered) {
    const Pixel keyPixel = ToPixel(key, 0);
    if (layered) {
        for (Pixel& p : g.Strip.Pixels) {
            p = SameColour(p, keyPixel) ? 0 : Premultiply(p | 0xFF000000u);
        }
        g.Mask = {};
        return;
    }
    g.Mask = GlyphMask(g.Strip.Width, g.Strip.Height);
    for (size_t i = 0; i < g.Strip.Pixels.size(); ++i) {
        if (SameColour(g.Strip.Pixels[i], keyPixel)) {
            g.Mask.Bits[i] = 1;
            g.Strip.Pixels[i] = 0; // the OR after the mask's AND must leave the face as it is
        }
    }
}

void SetWidths(GlyphStrip& g, const DesignSettings& d, const StripRequest& request, int cw) {
    g.Spacing = EffectiveSpacing(d.DigitSpacing, d.DigitSpacingRelative, cw, request.Italic);
    g.Outer = EffectiveFrameWidth(d.OuterFrame, d.OuterFrameSize, d.OuterFrameRelative, request.PointSize);
    g.Inner = EffectiveFrameWidth(d.InnerFrame, d.InnerFrameSize, d.InnerFrameRelative, request.PointSize);
    g.Shadow = EffectiveFrameWidth(d.Shadow, d.ShadowSize, d.ShadowRelative, request.PointSize);
}

} // namespace

FaceColours ResolveFaceColours(const DesignSettings& d, const SystemColourTable& system, Colour clockKey) {
    FaceColours c;
    c.Digit = ResolveColour(d.DigitColor, system) & RgbMask;
    c.Outer = ResolveColour(d.OuterFrameColor, system) & RgbMask;
    c.Inner = ResolveColour(d.InnerFrameColor, system) & RgbMask;
    c.Shadow = ResolveColour(d.ShadowColor, system) & RgbMask;
    c.Fill = ResolveColour(d.Color, system) & RgbMask;
    c.Gradation1 = ResolveColour(d.GradationColor1, system) & RgbMask;
    c.Gradation2 = ResolveColour(d.GradationColor2, system) & RgbMask;
    c.Key = clockKey & RgbMask;
    return c;
}

int PointSizeOfPixelHeight(int ch, int dpi) {
    if (dpi <= 0) {
        dpi = 96;
    }
    return static_cast<int>(std::lround(static_cast<double>(ch) * 72.0 / static_cast<double>(dpi)));
}

int EffectiveFrameWidth(bool on, int size, bool relative, int pointSize) {
    if (!on) {
        return 0;
    }
    if (!relative) {
        return size;
    }
    const int k = pointSize / 48;
    return std::max(1, (k + 1) * size);
}

int EffectiveSpacing(int spacing, bool relative, int rawCellWidth, bool italic) {
    if (relative) {
        spacing *= rawCellWidth / 10 + 1;
    }
    if (italic) {
        spacing -= rawCellWidth / 4;
    }
    return spacing;
}

GlyphMask SilhouetteOf(const PixelBuffer& image, bool monochrome) {
    GlyphMask mask(std::max(image.Width, 0), std::max(image.Height, 0));
    if (image.Empty()) {
        return mask;
    }
    const Pixel background = monochrome ? 0xFFFFFF : image.At(0, image.Height - 1);
    for (size_t i = 0; i < image.Pixels.size(); ++i) {
        const bool glyph = monochrome ? (image.Pixels[i] & RgbMask) == 0 : !SameColour(image.Pixels[i], background);
        mask.Bits[i] = glyph ? 1 : 0;
    }
    return mask;
}

GlyphStrip BuildGlyphStrip(const GlyphMask& raw, int cw, int ch, const DesignSettings& d, const StripRequest& request) {
    GlyphStrip g;
    cw = std::max(cw, 0);
    ch = std::max(ch, 0);
    SetWidths(g, d, request, cw);
    const int r = g.Inner + g.Outer;
    const int s = g.Shadow;
    const int pitch = cw + 2 * r + s;
    g.Strip =
        PixelBuffer(GlyphCount * cw + 2 * GlyphCount * (r + s), ch + 2 * (r + s), ToPixel(request.Colours.Key, 0));
    g.CellWidth = pitch;
    g.CellHeight = ch + 2 * r + 2 * s;

    const FaceColours& c = request.Colours;
    if (d.Shadow) {
        PaintLayer(g.Strip, raw, cw, ch, pitch, {s, 2 * s, r, c.Shadow});
    }
    if (d.OuterFrame) {
        PaintLayer(g.Strip, raw, cw, ch, pitch, {0, s, r, c.Outer});
    }
    if (d.InnerFrame) {
        PaintLayer(g.Strip, raw, cw, ch, pitch, {g.Outer, g.Outer + s, g.Inner, c.Inner});
    }
    PaintLayer(g.Strip, raw, cw, ch, pitch, {r, r + s, 0, c.Digit});

    PrepareForDrawing(g, c.Key, request.Layered);
    return g;
}

GlyphStrip BuildUntouchedStrip(const PixelBuffer& raw, int cw, int ch, const DesignSettings& d,
                               const StripRequest& request) {
    GlyphStrip g;
    cw = std::max(cw, 0);
    ch = std::max(ch, 0);
    SetWidths(g, d, request, cw);
    g.Untouched = true;
    g.CellWidth = cw;
    g.CellHeight = ch;
    g.Strip = PixelBuffer(std::max(raw.Width, 0), std::max(raw.Height, 0), ToPixel(request.Colours.Key, 0));
    // Columns past the twelfth cell are not part of any glyph.
    const int width = std::min(GlyphCount * cw, raw.Width);
    const int height = std::min(ch, raw.Height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            g.Strip.At(x, y) = raw.At(x, y);
        }
    }
    PrepareForDrawing(g, request.Colours.Key, request.Layered);
    return g;
}

Pixel Premultiply(Pixel p) {
    const uint32_t a = AlphaOf(p);
    auto scale = [a](uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (scale((p >> 16) & 0xFF) << 16) | (scale((p >> 8) & 0xFF) << 8) | scale(p & 0xFF);
}

} // namespace lumora

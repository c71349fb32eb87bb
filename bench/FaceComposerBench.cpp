// Building the glyph strip for the largest built-in cells with every decoration at its widest,
// and one ordinary pass of an eight-cell clock in the default design on a layered window.

#include "clock/FaceComposer.h"

#include <benchmark/benchmark.h>

using namespace lumora;

namespace {

// Thick rings stand in for digits: plenty of edge for the outlines to grow.
GlyphMask RingGlyphs(int cw, int ch) {
    GlyphMask raw(12 * cw, ch);
    for (int i = 0; i < 12; ++i) {
        for (int y = 0; y < ch; ++y) {
            for (int x = 0; x < cw; ++x) {
                const double dx = (x - cw / 2.0) / (cw / 2.0), dy = (y - ch / 2.0) / (ch / 2.0);
                const double r = dx * dx + dy * dy;
                raw.Set(i * cw + x, y, r < 0.8 && r > 0.3);
            }
        }
    }
    return raw;
}

StripRequest Request(int pointSize) {
    StripRequest r;
    r.PointSize = pointSize;
    r.Colours = {0xFFFFFF, 0x000000, 0x0000FF, 0x808080, 0, 0, 0, 0xFF00FF};
    r.Layered = true;
    return r;
}

void BuildLargestStrip(benchmark::State& state) {
    const GlyphMask raw = RingGlyphs(36, 64);
    DesignSettings d;
    d.OuterFrame = d.InnerFrame = d.Shadow = true;
    d.OuterFrameSize = d.InnerFrameSize = d.ShadowSize = 5;
    for (auto _ : state) {
        GlyphStrip g = BuildGlyphStrip(raw, 36, 64, d, Request(48));
        benchmark::DoNotOptimize(g.Strip.Pixels.data());
    }
}
BENCHMARK(BuildLargestStrip)->Unit(benchmark::kMicrosecond);

void DrawDefaultFacePass(benchmark::State& state) {
    const DesignSettings d;
    const GlyphStrip g = BuildGlyphStrip(RingGlyphs(18, 32), 18, 32, d, Request(24));
    const FaceExtent size = FaceSize(8, g, d.DigitMargin);
    const FaceColours colours = Request(24).Colours;
    const PixelBuffer background =
        BuildBackground(size.Width, size.Height, d, colours, nullptr, true, CanvasBrush(d, true, 32, colours.Key));
    const int glyphs[8] = {1, 2, 10, 3, 4, 11, 5, 6}; // "12:34;56"
    PixelBuffer image;
    for (auto _ : state) {
        CopyBackground(background, image, d, true, 32);
        for (int k = 1; k <= 8; ++k) {
            DrawCell(image, g, glyphs[k - 1], CellRect(k, g, d.DigitMargin), {0, 0, g.CellWidth, g.CellHeight}, 255,
                     CellMode::AlphaBlend);
        }
        benchmark::DoNotOptimize(image.Pixels.data());
    }
    state.SetLabel(std::to_string(size.Width) + " x " + std::to_string(size.Height));
}
BENCHMARK(DrawDefaultFacePass)->Unit(benchmark::kMicrosecond);

} // namespace

// Outlining a caption as wide as the caption window on a 1920 x 1080 display: three rows of
// text in the 54-pixel font, with the rim that font gets. The caption window does more per
// picture: it turns GDI's canvas into a mask first, and a typed line adds one character a tick.

#include "clock/FontDigits.h"
#include "overlays/OutlinedText.h"
#include "overlays/TelopLayout.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

using namespace lumora;

namespace {

// Rings in a grid stand in for characters: plenty of edge for the rim to follow.
GlyphMask CaptionMask(int width, int rows, int cell) {
    GlyphMask mask(width, rows * cell);
    for (int y = 0; y < mask.Height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double dx = (x % cell - cell / 2.0) / (cell / 2.0);
            const double dy = (y % cell - cell / 2.0) / (cell / 2.0);
            const double r = dx * dx + dy * dy;
            mask.Set(x, y, r < 0.7 && r > 0.4);
        }
    }
    return mask;
}

void OutlineFullWidthCaption(benchmark::State& state) {
    const TelopBox box = TelopBoxFor(1920, 1080);
    const GlyphMask mask = CaptionMask(box.Width, TelopRows, box.FontHeight);
    PixelBuffer image(box.Width, (box.FontHeight + box.OutlineWidth) * TelopRows);
    for (auto _ : state) {
        std::fill(image.Pixels.begin(), image.Pixels.end(), ToPixel(OverlayKey, 0));
        DrawOutlinedText(image, mask, 0, 0, box.OutlineWidth / 2);
        benchmark::DoNotOptimize(image.Pixels.data());
    }
}
BENCHMARK(OutlineFullWidthCaption)->Unit(benchmark::kMicrosecond);

// GDI's canvas as the caption window reads it: black text on white, 32 bits a pixel.
std::vector<Pixel> CanvasOf(const GlyphMask& mask) {
    std::vector<Pixel> canvas(mask.Bits.size());
    for (size_t i = 0; i < canvas.size(); ++i) {
        canvas[i] = mask.Bits[i] != 0 ? 0xFF000000u : 0xFFFFFFFFu;
    }
    return canvas;
}

// A line shown whole: a canvas as wide as a row and as high as the window, read into a mask,
// outlined on the cleared picture.
void ComposeWholeCaptionLine(benchmark::State& state) {
    const TelopBox box = TelopBoxFor(1920, 1080);
    const Rect window = TelopWindowRect(box, 1920, box.FontHeight);
    const GlyphMask text = CaptionMask(box.RowWidth(), TelopRows + 1, box.FontHeight);
    GlyphMask cut(text.Width, window.Height);
    std::copy_n(text.Bits.begin(), cut.Bits.size(), cut.Bits.begin());
    const std::vector<Pixel> canvas = CanvasOf(cut);
    PixelBuffer image(window.Width, window.Height);
    for (auto _ : state) {
        std::fill(image.Pixels.begin(), image.Pixels.end(), ToPixel(OverlayKey));
        DrawOutlinedText(image, DarkPixels(canvas, cut.Width, cut.Height), 0, 0, box.OutlineWidth / 2);
        benchmark::DoNotOptimize(image.Pixels.data());
    }
}
BENCHMARK(ComposeWholeCaptionLine)->Unit(benchmark::kMicrosecond);

// One more character of a typed line, drawn onto the picture the line already has.
void TypeOneCaptionCharacter(benchmark::State& state) {
    const TelopBox box = TelopBoxFor(1920, 1080);
    const Rect window = TelopWindowRect(box, 1920, box.FontHeight);
    const GlyphMask character = CaptionMask(box.FontHeight, 1, box.FontHeight);
    const std::vector<Pixel> canvas = CanvasOf(character);
    PixelBuffer image(window.Width, window.Height, ToPixel(OverlayKey));
    for (auto _ : state) {
        DrawOutlinedText(image, DarkPixels(canvas, character.Width, character.Height), window.Width / 2,
                         window.Height / TelopRows, box.OutlineWidth / 2);
        benchmark::DoNotOptimize(image.Pixels.data());
    }
}
BENCHMARK(TypeOneCaptionCharacter)->Unit(benchmark::kMicrosecond);

} // namespace

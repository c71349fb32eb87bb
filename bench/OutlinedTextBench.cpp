// Outlining a caption as wide as the caption window on a 1920 x 1080 display: three rows of
// text in the 54-pixel font, with the rim that font gets.

#include "overlays/OutlinedText.h"
#include "overlays/TelopLayout.h"

#include <benchmark/benchmark.h>

#include <algorithm>

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

} // namespace

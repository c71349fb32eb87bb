#include "clock/FaceComposer.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr Colour Key = 0xFF00FF;

TEST(FaceComposer, WindowSizeFromCellsSpacingAndMargins) {
    struct Case {
        int cells, cellWidth, cellHeight, spacing;
        std::array<int32_t, 4> margins;
        FaceExtent expected;
    };
    const Case cases[] = {
        {8, 28, 44, 10, {1, 2, 3, 4}, {8 * 38 + 1 + 3 - 10, 50}},
        {5, 20, 30, -50, {0, 0, 0, 0}, {1, 30}}, // cells overlapping past nothing
        {0, 20, 0, 10, {0, 0, 0, 0}, {1, 1}},
        {1, 20, 30, 10, {0, 0, 0, 0}, {20, 30}},
    };
    for (const auto& c : cases) {
        GlyphStrip g;
        g.CellWidth = c.cellWidth;
        g.CellHeight = c.cellHeight;
        g.Spacing = c.spacing;
        EXPECT_EQ(FaceSize(c.cells, g, c.margins), c.expected) << c.cells << " cells";
    }
    GlyphStrip g;
    g.CellWidth = 28;
    g.CellHeight = 44;
    g.Spacing = -3;
    EXPECT_EQ(CellRect(3, g, {5, 6, 0, 0}), (Rect{5 + 2 * 25, 6, 28, 44}));
}

TEST(FaceComposer, GradientRunsFromTheFirstColourToTheSecond) {
    PixelBuffer image(5, 2);
    FillGradient(image, {0, 0, 5, 2}, 0x000000, 0x0864FF, false);
    const Colour columns[] = {0x000000, 0x02193F, 0x04327F, 0x064BBF, 0x0864FF};
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(image.At(x, 0), ToPixel(columns[x], 0)) << x;
        EXPECT_EQ(image.At(x, 1), image.At(x, 0));
    }

    PixelBuffer rows(2, 3);
    FillGradient(rows, {0, 0, 2, 3}, 0x0000FF, 0xFF0000, true, 255);
    EXPECT_EQ(rows.At(1, 0), ToPixel(0x0000FF));
    EXPECT_EQ(rows.At(0, 1), ToPixel(0x7F007F));
    EXPECT_EQ(rows.At(0, 2), ToPixel(0xFF0000));

    PixelBuffer line(1, 3);
    FillGradient(line, {0, 0, 1, 3}, 0x0000FF, 0xFF0000, false);
    for (Pixel p : line.Pixels) {
        EXPECT_EQ(ToColour(p), 0xFF0000u); // a single line takes the end colour
    }

    PixelBuffer plain(3, 3, 0x12345678);
    FillGradient(plain, {1, 1, 5, 5}, 0x123456, 0x123456, true);
    EXPECT_EQ(plain.At(0, 0), 0x12345678u);
    EXPECT_EQ(ToColour(plain.At(2, 2)), 0x123456u);
}

PixelBuffer Numbered(int width, int height) {
    PixelBuffer p(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            p.At(x, y) = 0xAB000000u | static_cast<Pixel>(y * 16 + x + 1); // alpha is dropped
        }
    }
    return p;
}

DesignSettings PictureDesign(int style) {
    DesignSettings d;
    d.BackGroundType = 3;
    d.BackGroundStyle = style;
    return d;
}

TEST(FaceComposer, TiledPictureRepeatsFromTheTopLeft) {
    FaceColours colours;
    const PixelBuffer picture = Numbered(3, 2);
    const PixelBuffer bg = BuildBackground(7, 5, PictureDesign(1), colours, &picture, false, 0);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(bg.At(x, y), picture.At(x % 3, y % 2) & 0xFFFFFF) << x << "," << y;
        }
    }
}

TEST(FaceComposer, CentredPictureHalvesTowardZero) {
    FaceColours colours;
    colours.Fill = 0x0000FF;
    struct Case {
        int w, h, pw, ph, left, top;
    };
    const Case cases[] = {
        {7, 6, 2, 3, 2, 1},   // odd spare width
        {4, 3, 7, 6, -1, -1}, // -3 / 2 is -1, not -2
        {5, 5, 5, 5, 0, 0},
    };
    for (const auto& c : cases) {
        const PixelBuffer picture = Numbered(c.pw, c.ph);
        const PixelBuffer bg = BuildBackground(c.w, c.h, PictureDesign(0), colours, &picture, true, 0);
        for (int y = 0; y < c.h; ++y) {
            for (int x = 0; x < c.w; ++x) {
                const int px = x - c.left, py = y - c.top;
                const Pixel want = picture.Contains(px, py) ? (picture.At(px, py) | 0xFF000000u) : ToPixel(0x0000FF);
                ASSERT_EQ(bg.At(x, y), want) << c.w << "x" << c.h << " at " << x << "," << y;
            }
        }
    }
}

TEST(FaceComposer, StretchedPictureAveragesAndKeepsFlatColour) {
    FaceColours colours;
    PixelBuffer checker(4, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            checker.At(x, y) = (x + y) % 2 ? 0xFFFFFF : 0x000000;
        }
    }
    const PixelBuffer small = BuildBackground(2, 2, PictureDesign(2), colours, &checker, false, 0);
    for (Pixel p : small.Pixels) {
        EXPECT_EQ(p, 0x808080u);
    }
    const PixelBuffer flat(3, 2, 0x00336699);
    const PixelBuffer large = BuildBackground(11, 7, PictureDesign(2), colours, &flat, false, 0);
    for (Pixel p : large.Pixels) {
        EXPECT_EQ(p, 0x00336699u);
    }
}

TEST(FaceComposer, BackgroundKindsAndAlpha) {
    FaceColours colours;
    DesignSettings d;
    d.BackGroundType = 3; // picture missing: undrawn black
    EXPECT_EQ(BuildBackground(2, 1, d, colours, nullptr, true, 0).Pixels, (std::vector<Pixel>{0xFF000000, 0xFF000000}));
    EXPECT_EQ(BuildBackground(2, 1, d, colours, nullptr, false, 0).Pixels, (std::vector<Pixel>{0, 0}));

    d.BackGroundType = 0; // transparent on a layered window: black with alpha 0
    const Pixel brush = CanvasBrush(d, true, 32, Key);
    EXPECT_EQ(brush, 0u);
    EXPECT_EQ(BuildBackground(2, 1, d, colours, nullptr, true, brush).Pixels, (std::vector<Pixel>{0, 0}));

    d.BackGroundType = 1;
    EXPECT_EQ(BuildBackground(1, 1, d, colours, nullptr, true, CanvasBrush(d, true, 32, 0x123456)).Pixels,
              (std::vector<Pixel>{ToPixel(0x123456)}));
}

TEST(FaceComposer, BlendOverMatchesAlphaBlend) {
    struct Case {
        Pixel dst, src;
        int alpha;
        Pixel expected;
    };
    const Case cases[] = {
        {0x00000000, 0xFF102030, 255, 0xFF102030}, // opaque source replaces
        {0xFF405060, 0x00000000, 255, 0xFF405060}, // transparent source leaves
        {0x00000000, 0xFFFF8040, 128, 0x80804020}, // constant alpha over black
        {0xFFFFFFFF, 0x80800000, 255, 0xFFFF7F7F}, // premultiplied half red over white
        {0xFFFFFFFF, 0x80800000, 128, 0xFFFFBFBF}, {0xFF204060, 0xFFFFFFFF, 0, 0xFF204060},
        {0xFF204060, 0xFFFFFFFF, 300, 0xFFFFFFFF}, // clamped
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BlendOver(c.dst, c.src, c.alpha), c.expected) << std::hex << c.dst << " " << c.src << " " << c.alpha;
    }
}

TEST(FaceComposer, BackgroundOpacityOnlyWhereTheWindowBlends) {
    PixelBuffer bg(1, 1, 0xFFFF8040);
    DesignSettings d;
    d.BackGroundType = 1;
    d.BackGroundAlpha = 128;
    PixelBuffer image;
    CopyBackground(bg, image, d, true, 32);
    EXPECT_EQ(image.Pixels, (std::vector<Pixel>{0x80804020}));
    CopyBackground(bg, image, d, true, 8);
    EXPECT_EQ(image, bg);
    d.BackGroundType = 0;
    CopyBackground(bg, image, d, true, 32);
    EXPECT_EQ(image, bg);
}

GlyphStrip TwoByOneCells(bool layered) {
    // Cell g: left pixel glyph in colour g, right pixel key colour.
    GlyphStrip g;
    g.CellWidth = 2;
    g.CellHeight = 1;
    g.Strip = PixelBuffer(24, 1);
    g.Mask = GlyphMask(24, 1);
    for (int i = 0; i < 12; ++i) {
        g.Strip.At(2 * i, 0) = (layered ? 0xFF000000u : 0u) | static_cast<Pixel>(0x10 * (i + 1));
        g.Mask.Set(2 * i + 1, 0, true);
    }
    if (layered) {
        g.Mask = {};
    }
    return g;
}

TEST(FaceComposer, CellModesAndGlyphRange) {
    struct Case {
        bool layered;
        CellMode mode;
        int glyph;
        std::vector<Pixel> expected;
    };
    const Pixel face = 0xFF445566;
    const Case cases[] = {
        {true, CellMode::AlphaBlend, 2, {face, 0xFF000030, face, face}},
        {false, CellMode::MaskAndPaint, 11, {face, 0x000000C0, face, face}},
        {false, CellMode::Copy, 0, {face, 0x00000010, 0, face}},
        {true, CellMode::AlphaBlend, 12, {face, face, face, face}},
        {false, CellMode::MaskAndPaint, -1, {face, face, face, face}},
    };
    for (const auto& c : cases) {
        PixelBuffer image(4, 1, face);
        DrawCell(image, TwoByOneCells(c.layered), c.glyph, {1, 0, 2, 1}, {0, 0, 2, 1}, 255, c.mode);
        EXPECT_EQ(image.Pixels, c.expected) << static_cast<int>(c.mode) << " glyph " << c.glyph;
    }
    GlyphStrip untouched;
    untouched.Untouched = true;
    EXPECT_EQ(CellModeFor(untouched, true), CellMode::Copy);
    EXPECT_EQ(CellModeFor(GlyphStrip{}, true), CellMode::AlphaBlend);
    EXPECT_EQ(CellModeFor(GlyphStrip{}, false), CellMode::MaskAndPaint);
}

TEST(FaceComposer, StretchedCellsTakeTheNearestPixel) {
    const GlyphStrip g = TwoByOneCells(false);
    PixelBuffer wide(6, 2, 0x00FFFFFF);
    DrawCell(wide, g, 0, {1, 0, 4, 2}, {0, 0, 2, 1}, 255, CellMode::Copy);
    EXPECT_EQ(wide.Pixels, (std::vector<Pixel>{0xFFFFFF, 0x10, 0x10, 0, 0, 0xFFFFFF, //
                                               0xFFFFFF, 0x10, 0x10, 0, 0, 0xFFFFFF}));
    PixelBuffer squeezed(2, 1, 0x00FFFFFF);
    DrawCell(squeezed, g, 0, {0, 0, 1, 1}, {0, 0, 2, 1}, 255, CellMode::Copy);
    EXPECT_EQ(squeezed.Pixels, (std::vector<Pixel>{0, 0xFFFFFF})); // the centre falls on the right pixel
}

TEST(FaceComposer, RegionRunsSkipTheKeyColour) {
    const Pixel k = ToPixel(Key, 0);
    PixelBuffer image(5, 3, k);
    image.At(0, 0) = 1;
    image.At(1, 0) = 2;
    image.At(3, 0) = 3;
    image.At(4, 2) = 4;
    image.At(2, 2) = ToPixel(Key, 255); // alpha does not count
    EXPECT_EQ(RegionRuns(image, k), (std::vector<RegionRun>{{0, 0, 2}, {0, 3, 4}, {2, 4, 5}}));
    EXPECT_TRUE(RegionRuns(PixelBuffer(3, 3, k), k).empty());
    EXPECT_EQ(RegionRuns(PixelBuffer(2, 1, 7), k), (std::vector<RegionRun>{{0, 0, 2}}));
}

TEST(FaceComposer, TransparentFaceWithoutLayersLeavesOnlyTheGlyphsInTheRegion) {
    GlyphMask raw(12, 1);
    raw.Set(3, 0, true); // glyph "3" is one pixel
    DesignSettings d;
    d.OuterFrame = false;
    d.DigitSpacing = 1;
    StripRequest request;
    request.Colours.Digit = 0xFFFFFF;
    request.Colours.Key = Key;
    const GlyphStrip g = BuildGlyphStrip(raw, 1, 1, d, request);
    const FaceExtent size = FaceSize(2, g, d.DigitMargin);
    const PixelBuffer bg =
        BuildBackground(size.Width, size.Height, d, request.Colours, nullptr, false, CanvasBrush(d, false, 32, Key));
    PixelBuffer image;
    CopyBackground(bg, image, d, false, 32);
    for (int k = 1; k <= 2; ++k) {
        DrawCell(image, g, 3, CellRect(k, g, d.DigitMargin), {0, 0, g.CellWidth, g.CellHeight}, 255,
                 CellModeFor(g, false));
    }
    EXPECT_EQ(RegionRuns(image, ToPixel(Key, 0)), (std::vector<RegionRun>{{0, 0, 1}, {0, 2, 3}}));
}

} // namespace
} // namespace lumora

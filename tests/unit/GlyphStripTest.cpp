#include "clock/GlyphStrip.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace lumora {
namespace {

constexpr Colour Key = 0xFF00FF;
constexpr Colour DigitC = 0xFFFFFF;
constexpr Colour InnerC = 0x0000FF;
constexpr Colour OuterC = 0x00FF00;
constexpr Colour ShadowC = 0x808080;

StripRequest Request(bool layered, int pointSize = 24) {
    StripRequest r;
    r.PointSize = pointSize;
    r.Colours.Digit = DigitC;
    r.Colours.Inner = InnerC;
    r.Colours.Outer = OuterC;
    r.Colours.Shadow = ShadowC;
    r.Colours.Key = Key;
    r.Layered = layered;
    return r;
}

DesignSettings Frames(bool outer, int outerSize, bool inner, int innerSize, bool shadow, int shadowSize) {
    DesignSettings d;
    d.OuterFrame = outer;
    d.OuterFrameSize = outerSize;
    d.InnerFrame = inner;
    d.InnerFrameSize = innerSize;
    d.Shadow = shadow;
    d.ShadowSize = shadowSize;
    return d;
}

GlyphMask SameGlyphInEveryCell(int cw, int ch, const std::vector<std::pair<int, int>>& points) {
    GlyphMask raw(12 * cw, ch);
    for (int i = 0; i < 12; ++i) {
        for (auto [x, y] : points) {
            raw.Set(i * cw + x, y, true);
        }
    }
    return raw;
}

TEST(GlyphStrip, OutlinesAndShadowGrowTheCell) {
    const GlyphMask raw = SameGlyphInEveryCell(18, 32, {{5, 5}});
    const GlyphStrip g = BuildGlyphStrip(raw, 18, 32, Frames(true, 2, true, 2, true, 2), Request(true));
    EXPECT_EQ(g.CellWidth, 28);
    EXPECT_EQ(g.CellHeight, 44);
    EXPECT_EQ(g.Strip.Width, 12 * 18 + 24 * 6);
    EXPECT_EQ(g.Strip.Height, 32 + 12);
    EXPECT_EQ(g.Outer, 2);
    EXPECT_EQ(g.Inner, 2);
    EXPECT_EQ(g.Shadow, 2);
}

TEST(GlyphStrip, SpacingRules) {
    struct Case {
        int spacing;
        bool relative;
        int cw;
        bool italic;
        int expected;
    };
    const Case cases[] = {
        {10, true, 36, false, 40},  {10, false, 40, true, 0},  {10, true, 40, true, 40},
        {-5, true, 36, false, -20}, {10, false, 9, false, 10}, {10, true, 9, false, 10},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EffectiveSpacing(c.spacing, c.relative, c.cw, c.italic), c.expected)
            << c.spacing << " " << c.relative << " " << c.cw << " " << c.italic;
    }
}

TEST(GlyphStrip, RelativeWidthsStepEvery48Points) {
    struct Case {
        bool on;
        int size;
        bool relative;
        int pointSize;
        int expected;
    };
    const Case cases[] = {
        {false, 3, true, 100, 0}, {true, 3, false, 100, 3}, {true, 2, true, 47, 2}, {true, 2, true, 48, 4},
        {true, 2, true, 96, 6},   {true, 2, true, 200, 10}, {true, 0, true, 12, 1}, // never thinner than one pixel
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EffectiveFrameWidth(c.on, c.size, c.relative, c.pointSize), c.expected)
            << c.size << " at " << c.pointSize;
    }
    EXPECT_EQ(PointSizeOfPixelHeight(32, 96), 24);
    EXPECT_EQ(PointSizeOfPixelHeight(64, 96), 48);
    EXPECT_EQ(PointSizeOfPixelHeight(64, 120), 38);
    EXPECT_EQ(PointSizeOfPixelHeight(18, 96), 14);
}

char Letter(Pixel p) {
    switch (ToColour(p) & 0xFFFFFF) {
    case Key:
        return '.';
    case DigitC:
        return 'D';
    case InnerC:
        return 'I';
    case OuterC:
        return 'O';
    case ShadowC:
        return 'S';
    default:
        return '?';
    }
}

TEST(GlyphStrip, LayersStackGlyphOverInnerOverOuterOverShadow) {
    // One glyph pixel in the middle of a 3 x 3 cell; outer 1, inner 1, shadow 1.
    const GlyphMask raw = SameGlyphInEveryCell(3, 3, {{1, 1}});
    const GlyphStrip g = BuildGlyphStrip(raw, 3, 3, Frames(true, 1, true, 1, true, 1), Request(false));
    ASSERT_EQ(g.CellWidth, 8);
    ASSERT_EQ(g.CellHeight, 9);
    const std::string expected = "........"
                                 "........"
                                 ".OOOOO.."
                                 ".OIIIOS."
                                 ".OIDIOS."
                                 ".OIIIOS."
                                 ".OOOOOS."
                                 "..SSSSS."
                                 "........";
    for (int cell = 0; cell < 12; ++cell) {
        std::string actual;
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 8; ++x) {
                // The colour-keyed strip holds black where the key was; the mask remembers it.
                const int sx = cell * 8 + x;
                actual += g.Mask.At(sx, y) ? '.' : Letter(g.Strip.At(sx, y));
            }
        }
        EXPECT_EQ(actual, expected) << "cell " << cell;
    }
}

// The composition as the stamps describe it: every offset of every layer, AND hole then OR colour.
PixelBuffer NaiveStamps(const GlyphMask& raw, int cw, int ch, int outer, int inner, int shadow) {
    const int r = outer + inner;
    const int s = shadow;
    PixelBuffer out(12 * cw + 24 * (r + s), ch + 2 * (r + s), ToPixel(Key, 0));
    auto stamp = [&](int cell, int ox, int oy, Colour colour) {
        const int x0 = cell * (cw + 2 * r + s);
        for (int y = 0; y < ch; ++y) {
            for (int x = 0; x < cw; ++x) {
                if (raw.At(cell * cw + x, y)) {
                    out.At(x0 + ox + x, oy + y) = ToPixel(colour, 0);
                }
            }
        }
    };
    for (int cell = 0; cell < 12; ++cell) {
        if (shadow) {
            for (int y = 2 * s; y <= 2 * s + 2 * r; ++y) {
                for (int x = s; x <= s + 2 * r; ++x) {
                    stamp(cell, x, y, ShadowC);
                }
            }
        }
        if (outer) {
            for (int y = s; y <= s + 2 * r; ++y) {
                for (int x = 0; x <= 2 * r; ++x) {
                    stamp(cell, x, y, OuterC);
                }
            }
        }
        if (inner) {
            for (int y = outer + s; y <= outer + s + 2 * inner; ++y) {
                for (int x = outer; x <= outer + 2 * inner; ++x) {
                    stamp(cell, x, y, InnerC);
                }
            }
        }
        stamp(cell, r, r + s, DigitC);
    }
    return out;
}

TEST(GlyphStrip, SlidingDilationEqualsTheStamps) {
    std::mt19937 random(7);
    const int cw = 6, ch = 7;
    GlyphMask raw(12 * cw, ch);
    for (auto& bit : raw.Bits) {
        bit = random() % 4 == 0;
    }
    struct Case {
        int outer, inner, shadow;
    };
    const Case cases[] = {{0, 0, 0}, {1, 0, 0}, {0, 2, 0}, {0, 0, 3}, {2, 3, 1}, {5, 5, 5}, {1, 4, 2}};
    for (const auto& c : cases) {
        const DesignSettings d = Frames(c.outer > 0, c.outer, c.inner > 0, c.inner, c.shadow > 0, c.shadow);
        const GlyphStrip g = BuildGlyphStrip(raw, cw, ch, d, Request(true));
        const PixelBuffer naive = NaiveStamps(raw, cw, ch, c.outer, c.inner, c.shadow);
        ASSERT_EQ(g.Strip.Width, naive.Width);
        ASSERT_EQ(g.Strip.Height, naive.Height);
        int wrong = 0;
        for (size_t i = 0; i < naive.Pixels.size(); ++i) {
            const Pixel n = naive.Pixels[i];
            // Key colour becomes fully transparent, everything else opaque.
            const Pixel want = (ToColour(n) & 0xFFFFFF) == Key ? 0 : (n | 0xFF000000u);
            wrong += g.Strip.Pixels[i] != want;
        }
        EXPECT_EQ(wrong, 0) << c.outer << "/" << c.inner << "/" << c.shadow;
    }
}

TEST(GlyphStrip, PremultiplyRoundsToNearest) {
    const std::pair<Pixel, Pixel> cases[] = {
        {0xFF123456, 0xFF123456}, {0x00FFFFFF, 0x00000000}, {0x80FF0000, 0x80800000},
        {0x80010203, 0x80010102}, {0x01FFFFFF, 0x01010101}, {0x7F010101, 0x7F000000},
    };
    for (auto [in, out] : cases) {
        EXPECT_EQ(Premultiply(in), out) << std::hex << in;
    }
}

TEST(GlyphStrip, SilhouetteTakesTheBottomLeftColourAsBackground) {
    PixelBuffer image(3, 2, 0x00FF0000);
    image.At(1, 0) = 0x000000FF;
    image.At(2, 1) = 0xFFFF0000; // only the alpha differs: still background
    const GlyphMask mask = SilhouetteOf(image);
    EXPECT_EQ(mask.Bits, (std::vector<uint8_t>{0, 1, 0, 0, 0, 0}));

    PixelBuffer mono(2, 2, 0x00FFFFFF);
    mono.At(0, 1) = 0; // black bottom-left is still glyph in a monochrome strip
    EXPECT_EQ(SilhouetteOf(mono, true).Bits, (std::vector<uint8_t>{0, 0, 1, 0}));
}

TEST(GlyphStrip, UntouchedImageIsCopiedAsItIs) {
    PixelBuffer raw(12 * 2 + 1, 3, 0x00102030);
    raw.At(0, 0) = ToPixel(Key, 0);
    DesignSettings d = Frames(true, 2, true, 2, true, 2);
    d.DigitSpacingRelative = true;
    const GlyphStrip g = BuildUntouchedStrip(raw, 2, 3, d, Request(true));
    EXPECT_TRUE(g.Untouched);
    EXPECT_EQ(g.CellWidth, 2);
    EXPECT_EQ(g.CellHeight, 3);
    EXPECT_EQ(g.Spacing, 10);
    EXPECT_EQ(g.Strip.Width, 25);
    EXPECT_EQ(g.Strip.At(1, 0), 0xFF102030u);
    EXPECT_EQ(g.Strip.At(0, 0), 0u);  // the key colour in the picture is transparent too
    EXPECT_EQ(g.Strip.At(24, 1), 0u); // past the twelfth cell
}

} // namespace
} // namespace lumora

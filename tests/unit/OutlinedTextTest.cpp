#include "overlays/OutlinedText.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

constexpr Pixel Clear = ToPixel(OverlayKey, 0);

TEST(OutlinedText, OneLitPixelGetsAWhiteCentreInABlackRing) {
    GlyphMask dot(1, 1);
    dot.Set(0, 0, true);
    PixelBuffer image(6, 5, Clear);
    DrawOutlinedText(image, dot, 1, 1, 1);
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            const bool ring = x >= 1 && x <= 3 && y >= 1 && y <= 3;
            const Pixel expected = x == 2 && y == 2 ? OutlineWhite : ring ? OutlineBlack : Clear;
            EXPECT_EQ(image.At(x, y), expected) << x << "," << y;
        }
    }
}

// The stamps as written out: every offset of the band in black, then the glyph in white.
PixelBuffer Stamped(const GlyphMask& mask, int rim, int width, int height, int left, int top) {
    PixelBuffer image(width, height, Clear);
    auto paint = [&](int ox, int oy, Pixel colour) {
        for (int y = 0; y < mask.Height; ++y) {
            for (int x = 0; x < mask.Width; ++x) {
                if (mask.At(x, y) && image.Contains(ox + x, oy + y)) {
                    image.At(ox + x, oy + y) = colour;
                }
            }
        }
    };
    for (int dy = 0; dy <= 2 * rim; ++dy) {
        for (int dx = 0; dx <= 2 * rim; ++dx) {
            paint(left + dx, top + dy, OutlineBlack);
        }
    }
    paint(left + rim, top + rim, OutlineWhite);
    return image;
}

TEST(OutlinedText, MatchesStampingTheGlyphAtEveryOffset) {
    GlyphMask mask(13, 9);
    unsigned seed = 7;
    for (auto& bit : mask.Bits) {
        seed = seed * 1103515245u + 12345u;
        bit = (seed >> 16) % 4 == 0 ? 1 : 0;
    }
    struct Case {
        int rim, left, top;
    };
    const Case cases[] = {{0, 2, 2}, {1, 0, 0}, {2, 3, 1}, {3, -4, -2}, {2, 15, 9}};
    for (const auto& c : cases) {
        PixelBuffer image(20, 14, Clear);
        DrawOutlinedText(image, mask, c.left, c.top, c.rim);
        EXPECT_EQ(image, Stamped(mask, c.rim, 20, 14, c.left, c.top)) << "rim " << c.rim << " at " << c.left;
    }
}

TEST(OutlinedText, ImageIsTheMaskGrownByTheBand) {
    GlyphMask bar(4, 1);
    for (int x = 0; x < 4; ++x) {
        bar.Set(x, 0, true);
    }
    const PixelBuffer image = OutlinedTextImage(bar, 2, 0);
    ASSERT_EQ(image.Width, 8);
    ASSERT_EQ(image.Height, 5);
    EXPECT_EQ(image.At(0, 0), OutlineBlack);
    EXPECT_EQ(image.At(2, 2), OutlineWhite);
    EXPECT_EQ(image.At(5, 2), OutlineWhite);
    EXPECT_EQ(image.At(6, 2), OutlineBlack);
    EXPECT_EQ(OutlinedTextImage(bar, -3, 0), OutlinedTextImage(bar, 0, 0));
}

TEST(OutlinedText, OutlineWidthIsEvenAndAtLeastTwo) {
    struct Case {
        int fontHeight, divisor, expected;
    };
    const Case cases[] = {{54, 8, 6}, {60, 8, 8},  {38, 8, 4},    {8, 8, 2},
                          {0, 8, 2},  {54, 10, 6}, {100, 10, 10}, {40, 0, 2}};
    for (const auto& c : cases) {
        EXPECT_EQ(OutlineWidthFor(c.fontHeight, c.divisor), c.expected) << c.fontHeight << "/" << c.divisor;
    }
}

TEST(OutlinedText, KeyedAtOpacityClearsTheKeyAndPremultipliesTheRest) {
    PixelBuffer image(3, 1, ToPixel(OverlayKey));
    image.At(1, 0) = OutlineWhite;
    image.At(2, 0) = ToPixel(0x0080FF); // orange: R 255, G 128
    const PixelBuffer shown = KeyedAtOpacity(image, OverlayKey, 64);
    EXPECT_EQ(shown.At(0, 0), 0u);
    EXPECT_EQ(shown.At(1, 0), 0x40404040u);
    EXPECT_EQ(shown.At(2, 0), 0x40402000u);
}

} // namespace
} // namespace lumora

#include "clock/FontDigits.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumora {
namespace {

TEST(FontDigits, AutomaticSizeIsAFifteenthOfTheScreenHeight) {
    struct Case {
        int FontSize, ScreenHeight, Dpi, Points, PixelHeight;
    };
    for (const Case c : {
             Case{0, 768, 96, 51, 68},    // 51.2 points
             Case{0, 800, 96, 53, 71},    // 53.3 points, 70.7 pixels
             Case{0, 1080, 144, 72, 144}, // 150 % scaling
             Case{0, 1056, 96, 70, 93},   // 70.4 points, 93.3 pixels
             Case{24, 1080, 96, 24, 32},  // a set size ignores the screen
             Case{3, 768, 12, 3, 1},      // half a pixel rounds up
         }) {
        SCOPED_TRACE(testing::Message() << c.FontSize << " pt, " << c.ScreenHeight << " px, " << c.Dpi << " dpi");
        const int points = DigitFontPoints(c.FontSize, c.ScreenHeight);
        EXPECT_EQ(points, c.Points);
        EXPECT_EQ(FontPixelHeight(points, c.Dpi), c.PixelHeight);
    }
}

TEST(FontDigits, DarkerThanMidGreyIsGlyph) {
    // 0x00RRGGBB as the DIB holds it; the threshold is a channel sum of 384.
    const std::vector<Pixel> pixels{0x000000, 0xFFFFFF, 0x7F8080, 0x808080, 0xFF0000, 0x00FFFF};
    const GlyphMask mask = DarkPixels(pixels, 3, 2);
    EXPECT_EQ(mask.Bits, (std::vector<uint8_t>{1, 0, 1, 0, 1, 0}));
}

TEST(FontDigits, AllGlyphsShareTheBoundingBoxOfTheirPixels) {
    struct Case {
        const char* Name;
        std::vector<std::pair<int, int>> Points;
        std::optional<CellBox> Cell;
    };
    const std::vector<Case> cases{
        {"one pixel", {{4, 3}}, CellBox{4, 3, 1, 1}},
        {"a narrow one and a wide zero", {{7, 2}, {7, 9}, {5, 4}, {9, 5}}, CellBox{5, 2, 5, 8}},
        {"the whole box", {{0, 0}, {11, 9}}, CellBox{0, 0, 12, 10}},
        {"nothing drawn", {}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        GlyphMask measured(12, 10);
        for (auto [x, y] : c.Points) {
            measured.Set(x, y, true);
        }
        EXPECT_EQ(SharedGlyphCell(measured), c.Cell);
    }
}

TEST(FontDigits, EachGlyphIsDrawnSoThatTheSharedCellLandsInItsSlot) {
    // Measured in a 40 x 60 box (widest character 20, line height 30), the cell is 14 x 22 at 13, 19.
    const CellBox box = MeasuringBox(20, 30);
    EXPECT_EQ(box, (CellBox{0, 0, 40, 60}));
    const CellBox cell{13, 19, 14, 22};
    EXPECT_EQ(StripTextBox(box, cell, 0), (CellBox{-13, -19, 40, 60}));
    EXPECT_EQ(StripTextBox(box, cell, 11), (CellBox{141, -19, 40, 60}));
    EXPECT_EQ(MeasuringBox(0, 0), (CellBox{0, 0, 2, 2}));
}

} // namespace
} // namespace lumora

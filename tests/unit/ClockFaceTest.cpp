#include "app/TickPeriod.h"
#include "clock/ClockFace.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(TickPeriod, NeverFasterThanThirtyThreeMilliseconds) {
    EXPECT_EQ(ChooseTickPeriod(true, 1), 33);
    EXPECT_EQ(ChooseTickPeriod(true, 50), 50);
    EXPECT_EQ(ChooseTickPeriod(false, 50), 33);
}

// A strip whose cells are solid blocks, so every drawn cell is easy to find.
GlyphStrip SolidStrip(const DesignSettings& design, bool layered) {
    GlyphMask raw(4 * GlyphCount, 6);
    for (int x = 0; x < raw.Width; ++x) {
        for (int y = 1; y < 5; ++y) {
            raw.Set(x, y, x % 4 != 0);
        }
    }
    StripRequest request;
    request.Colours.Digit = 0xFFFFFF;
    request.Colours.Key = 0xFF00FF;
    request.Layered = layered;
    return BuildGlyphStrip(raw, 4, 6, design, request);
}

TEST(ClockFace, ReportsASizeChangeOnceAndDrawsOneCellPerGlyph) {
    DesignSettings design;
    design.OuterFrame = false;
    design.DigitSpacing = 2;
    ClockFace face;
    face.SetStrip(SolidStrip(design, true));
    FaceContext context;
    context.Design = &design;
    context.Colours.Key = 0xFF00FF;

    EXPECT_TRUE(face.Paint(L" 9:05", 5, false, context));
    EXPECT_EQ(face.Size().Width, 5 * (4 + 2) - 2);
    EXPECT_EQ(face.Size().Height, 6);
    EXPECT_FALSE(face.Paint(L" 9:06", 5, false, context));
    EXPECT_TRUE(face.Paint(L"10:00;00", 8, false, context));

    // Cells with a glyph have opaque white pixels in their middle; a blank cell stays clear.
    EXPECT_TRUE(face.Paint(L" 9", 2, false, context));
    const PixelBuffer& image = face.Image();
    EXPECT_EQ(AlphaOf(image.At(2, 3)), 0);
    EXPECT_EQ(image.At(6 + 2, 3), ToPixel(0xFFFFFF));
}

TEST(ClockFace, AFullRedrawRebuildsTheBackgroundWithoutResizing) {
    DesignSettings design;
    design.BackGroundType = 1;
    ClockFace face;
    face.SetStrip(SolidStrip(design, true));
    FaceContext context;
    context.Design = &design;
    context.Colours.Key = 0x0000FF;
    context.Colours.Fill = 0x0000FF;
    ASSERT_TRUE(face.Paint(L"1", 1, false, context));
    context.Colours.Fill = 0x00FF00;
    context.Colours.Key = 0x00FF00;
    EXPECT_FALSE(face.Paint(L"1", 1, true, context));
    EXPECT_EQ(ToColour(face.Image().At(0, 0)) & 0xFFFFFF, 0x00FF00u);
}

} // namespace
} // namespace lumora

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

// Columns of row 3 of the first cell that show the glyph.
std::vector<int> LitColumns(const PixelBuffer& image) {
    std::vector<int> lit;
    for (int x = 0; x < 4; ++x) {
        if (AlphaOf(image.At(x, 3)) != 0) {
            lit.push_back(x);
        }
    }
    return lit;
}

TEST(ClockFace, ChangedDigitsTurnAndKeepTheWindowUpdatingUntilTheyLand) {
    DesignSettings design;
    design.OuterFrame = false;
    ClockFace face;
    face.SetStrip(SolidStrip(design, true));
    FaceContext context;
    context.Design = &design;
    context.Colours.Key = 0xFF00FF;
    AnimationSettings animation;
    animation.Type = 1;
    animation.Speed = 0; // step 3 on a 4-pixel cell

    FacePass pass;
    pass.Animation = &animation;
    pass.WidthInCells = 1;
    pass.Text = L"1";
    pass.FullRedraw = true;
    EXPECT_EQ(face.Paint(pass, context), (FacePaint{true, true}));
    EXPECT_EQ(LitColumns(face.Image()), (std::vector<int>{1, 2, 3}));
    pass.FullRedraw = false;
    pass.PreviousText = L"1";
    EXPECT_EQ(face.Paint(pass, context), (FacePaint{false, false}));

    pass.Text = L"2";
    std::vector<std::vector<int>> frames;
    std::vector<bool> updates;
    for (int i = 0; i < 5; ++i) {
        updates.push_back(face.Paint(pass, context).NeedsUpdate);
        frames.push_back(LitColumns(face.Image()));
        pass.PreviousText = L"2";
    }
    // Whole, squeezed to one column, growing to two, whole again; then still.
    EXPECT_EQ(frames, (std::vector<std::vector<int>>{{1, 2, 3}, {1}, {1, 2}, {1, 2, 3}, {1, 2, 3}}));
    EXPECT_EQ(updates, (std::vector<bool>{true, true, true, true, false}));

    // A full redraw lands at once.
    pass.Text = L"3";
    pass.FullRedraw = true;
    EXPECT_TRUE(face.Paint(pass, context).NeedsUpdate);
    pass.PreviousText = L"3";
    pass.FullRedraw = false;
    EXPECT_FALSE(face.Paint(pass, context).NeedsUpdate);
}

} // namespace
} // namespace lumora

namespace lumora {
namespace {

TEST(ClockFace, TheHoleIsCutIntoTheShownPictureOnlyAndMovesCleanly) {
    DesignSettings design;
    design.BackGroundType = 1;
    design.OuterFrame = false;
    ClockFace face;
    face.SetStrip(SolidStrip(design, true));
    FaceContext context;
    context.Design = &design;
    context.Colours.Key = 0x0000FF;
    context.Colours.Fill = 0x0000FF;
    face.Paint(L"11", 2, true, context);
    const PixelBuffer clean = face.Image();

    face.CutHole({{0, 0, 4, 4}, HoleShape::Ellipse}, 0);
    EXPECT_EQ(face.Image().At(2, 2), 0u);                  // inside the circle
    EXPECT_EQ(face.Image().At(0, 0), clean.At(0, 0));      // its corner is outside
    face.CutHole({{6, 1, 2, 2}, HoleShape::Rectangle}, 0); // the old hole goes with the move
    EXPECT_EQ(face.Image().At(2, 2), clean.At(2, 2));
    EXPECT_EQ(face.Image().At(7, 2), 0u);
    face.ClearHole();
    EXPECT_EQ(face.Image(), clean);
}

TEST(ClockFace, AnUnchangedPassKeepsThePictureAndAChangedOneRepaints) {
    DesignSettings design;
    ClockFace face;
    face.SetStrip(SolidStrip(design, true));
    FaceContext context;
    context.Design = &design;
    context.Colours.Key = 0xFF00FF;
    AnimationSettings still;
    face.Paint({L" 1", L"", 2, true, &still}, context);
    const PixelBuffer one = face.Image();
    EXPECT_FALSE(face.Paint({L" 1", L" 1", 2, false, &still}, context).NeedsUpdate);
    EXPECT_EQ(face.Image(), one);
    EXPECT_TRUE(face.Paint({L"11", L" 1", 2, false, &still}, context).NeedsUpdate);
    EXPECT_NE(face.Image(), one);
}

} // namespace
} // namespace lumora
